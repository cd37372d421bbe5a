#pragma once
// String lists and streams in the manner of the component library the program's forms are
// written for.
#include "platform/core/Resources.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::rtl {

class TStream;

// A list of UTF-8 lines. Lookups by text (IndexOf, IndexOfName, Values) ignore ASCII case,
// as the library's lists do by default.
class TStringList {
public:
    TStringList() = default;

    int Count() const { return static_cast<int>(lines_.size()); }
    // Out-of-range indexes raise EStringListError "List index out of bounds (<index>)".
    const std::string& Strings(int index) const;
    void SetStrings(int index, const std::string& value);
    const std::string& operator[](int index) const { return Strings(index); }

    int Add(const std::string& line);
    void Insert(int index, const std::string& line); // index may equal Count
    void Delete(int index);
    void Clear() { lines_.clear(); }
    int IndexOf(std::string_view line) const; // -1 when absent

    // The lines, each followed by CR LF. Setting splits at CR, LF or CR LF; a final line
    // without a break counts, a final break adds no empty line.
    std::string Text() const;
    void SetText(std::string_view text);

    // name=value lines: the name is the text before the first "=".
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(std::string_view name) const;
    std::string Values(std::string_view name) const; // empty when absent
    // Replaces the first line of that name; an empty value deletes it.
    void SetValues(std::string_view name, const std::string& value);

    // Reads the stream from its position to its end as UTF-8 text (a UTF-8 mark is skipped).
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    void CheckIndex(int index, bool allowEnd = false) const;
    std::vector<std::string> lines_;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move as many bytes as they can and
// say how many; ReadBuffer and WriteBuffer insist on the whole count.
class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream() = default;

    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }

    // EReadError "Stream read error" / EWriteError "Stream write error" on a short transfer
    // (a file stream's read error names the file and the system's reason).
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from the source's position; count 0 copies the whole source from
    // its start. Returns the bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);

protected:
    // The message of ReadBuffer's EReadError.
    virtual std::string ReadErrorText() const { return "Stream read error"; }
};

// A stream over memory it does not own (resources) or, in TMemoryStream, its own buffer.
class TCustomMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return size_; }
    const void* Memory() const { return memory_; }
    void SaveToStream(TStream& stream);

protected:
    void SetPointer(const void* memory, int64_t size);
    const void* memory_ = nullptr;
    int64_t size_ = 0;
    int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    int64_t Write(const void* buffer, int64_t count) override;
    void SetSize(int64_t size) override;
    using TCustomMemoryStream::Memory;
    void* Memory() { return data_.data(); }
    void Clear();
    // Replaces the contents with the whole source stream; the position ends at 0.
    void LoadFromStream(TStream& source);

private:
    std::vector<unsigned char> data_;
};

// Open modes; the share flags are accepted for the callers' sake but not enforced, as
// Linux has no mandatory file sharing.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A file as a stream. fmCreate creates or empties the file and opens it for reading and
// writing; failures raise EFCreateError or EFOpenError naming the file and the reason.
// Any other mode opens only a regular file (or a link to one), without blocking on the
// open: a named pipe, a device or a folder is refused with EFOpenError.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    const std::string& FileName() const { return fileName_; }

protected:
    std::string ReadErrorText() const override;

private:
    std::string fileName_;
    int fd_ = -1;
    int readError_ = 0; // errno of the last failed read, 0 when the file simply ended
};

// An embedded resource, found by name and type without regard to case. A missing one
// raises EResNotFound "Resource <name> not found".
const core::ResourceEntry& FindResourceEntry(const std::string& name, const std::string& type);

// A read-only stream over an embedded resource (found as FindResourceEntry finds it).
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(const std::string& name, const std::string& type);
    int64_t Write(const void* buffer, int64_t count) override;
    void SetSize(int64_t size) override;
};

} // namespace platform::rtl
