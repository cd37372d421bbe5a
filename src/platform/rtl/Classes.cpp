#include "platform/rtl/Classes.h"

#include "platform/core/Resources.h"
#include "platform/rtl/FileRead.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace platform::rtl {

// ---- TStringList ------------------------------------------------------------------------

void TStringList::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw EStringListError(Format("List index out of bounds (%d)", index));
}

const std::string& TStringList::Strings(int index) const {
    CheckIndex(index);
    return lines_[static_cast<size_t>(index)];
}

void TStringList::SetStrings(int index, const std::string& value) {
    CheckIndex(index);
    lines_[static_cast<size_t>(index)] = value;
}

int TStringList::Add(const std::string& line) {
    lines_.push_back(line);
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& line) {
    CheckIndex(index, true);
    lines_.insert(lines_.begin() + index, line);
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    lines_.erase(lines_.begin() + index);
}

int TStringList::IndexOf(std::string_view line) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(lines_[static_cast<size_t>(i)], line)) return i;
    return -1;
}

std::string TStringList::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TStringList::SetText(std::string_view text) {
    lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

std::string TStringList::Names(int index) const {
    const std::string& line = Strings(index);
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
    const std::string& line = Strings(index);
    const size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStringList::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& line = lines_[static_cast<size_t>(i)];
        const size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStringList::Values(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStringList::SetValues(std::string_view name, const std::string& value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
    } else if (index < 0) {
        Add(std::string(name) + "=" + value);
    } else {
        lines_[static_cast<size_t>(index)] = std::string(name) + "=" + value;
    }
}

void TStringList::LoadFromStream(TStream& stream) {
    std::string bytes;
    char chunk[16384];
    for (int64_t got; (got = stream.Read(chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, static_cast<size_t>(got));
    std::string_view text(bytes);
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    SetText(text);
}

void TStringList::SaveToStream(TStream& stream) const {
    const std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

// ---- TStream ----------------------------------------------------------------------------

int64_t TStream::Size() {
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(ReadErrorText());
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<unsigned char> buffer(static_cast<size_t>(std::min<int64_t>(count, 65536)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// ---- memory streams ---------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(const void* memory, int64_t size) {
    memory_ = memory;
    size_ = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
    // A position beyond the end (or before the start) reads nothing, as in the library.
    if (count <= 0 || position_ < 0 || position_ >= size_) return 0;
    const int64_t n = std::min(count, size_ - position_);
    std::memcpy(buffer, static_cast<const unsigned char*>(memory_) + position_,
                static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning:
        position_ = offset;
        break;
    case soCurrent:
        position_ += offset;
        break;
    case soEnd:
        position_ = size_ + offset;
        break;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    stream.WriteBuffer(memory_, size_);
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0 || position_ < 0) return 0;
    const int64_t end = position_ + count;
    if (end > size_) SetSize(end); // a gap after a seek beyond the end reads as zeros
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    SetPointer(data_.data(), static_cast<int64_t>(data_.size()));
    if (position_ > size_) position_ = size_;
}

void TMemoryStream::Clear() {
    data_.clear();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const int64_t size = source.Size();
    SetSize(size);
    if (size > 0) source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

// ---- TFileStream ------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
    if ((mode & fmCreate) == fmCreate) {
        fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd_ < 0)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(),
                                       SystemReason(errno).c_str()));
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode & 0x3) {
    case fmOpenRead:
        flags |= O_RDONLY;
        break;
    case fmOpenWrite:
        flags |= O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
    default:
        throw EFOpenError(
            Format("Cannot open file \"%s\". %s", fileName.c_str(), SystemReason(EINVAL).c_str()));
    }
    int64_t size = 0;
    std::string reason;
    bool missing = false;
    fd_ = OpenRegularFile(fileName, flags, size, reason, missing);
    if (fd_ < 0)
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str()));
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    readError_ = 0;
    int64_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::read(fd_, static_cast<char*>(buffer) + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            readError_ = errno;
            return done > 0 ? done : -1;
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

std::string TFileStream::ReadErrorText() const {
    if (readError_ == 0) return TStream::ReadErrorText();
    return Format("Cannot read file \"%s\". %s", fileName_.c_str(),
                  SystemReason(readError_).c_str());
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done,
                                  static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done > 0 ? done : -1;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, offset, whence);
}

void TFileStream::SetSize(int64_t size) {
    if (::ftruncate(fd_, size) != 0)
        throw EStreamError(Format("Cannot set the size of file \"%s\". %s", fileName_.c_str(),
                                  SystemReason(errno).c_str()));
    if (Position() > size) SetPosition(size);
}

// ---- TResourceStream --------------------------------------------------------------------

const core::ResourceEntry& FindResourceEntry(const std::string& name, const std::string& type) {
    const core::ResourceEntry* entry = core::FindResource(name, type);
    if (!entry) throw EResNotFound(Format("Resource %s not found", name.c_str()));
    return *entry;
}

TResourceStream::TResourceStream(const std::string& name, const std::string& type) {
    const core::ResourceEntry& entry = FindResourceEntry(name, type);
    SetPointer(entry.data, static_cast<int64_t>(entry.size));
}

int64_t TResourceStream::Write(const void*, int64_t) {
    throw EStreamError("Can't write to a read-only memory stream");
}

void TResourceStream::SetSize(int64_t) {
    throw EStreamError("Can't write to a read-only memory stream");
}

} // namespace platform::rtl
