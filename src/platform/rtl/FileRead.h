#pragma once
// Opening the files the program reads. A file is opened without blocking, so a named pipe
// or a device chosen by mistake cannot hold the window's thread, and only a regular file
// (or a link to one) is taken; its size is known before any of its bytes are read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::rtl {

// Opens `fileName` with the open flags `flags` (O_RDONLY, O_RDWR, ...) when it is a regular
// file. Returns the descriptor, blocking as usual from then on, and the file's size; or -1
// with the system's reason ("No such file or directory", "Is a directory", "Not a regular
// file") and `missing` set when there is no such file.
int OpenRegularFile(const std::string& fileName, int flags, int64_t& size, std::string& reason,
                    bool& missing);

enum class TFileReadStatus {
    Read,    // the file was opened and its first bytes read
    Missing, // there is no such file
    Failed,  // it is not a regular file, or it cannot be opened or read: see Reason
};

struct TFileStart {
    TFileReadStatus Status = TFileReadStatus::Failed;
    std::string Reason; // the system's words, when Failed
    int64_t Size = 0;   // the file's size, when it could be opened
    // Its first bytes, at most `limit`; none below `minimum`. Fewer than the size when the
    // file shrank after it was measured: callers judge the bytes they got.
    std::vector<uint8_t> Bytes;
};

// Reads the first `limit` bytes of a regular file (fewer when it is shorter). A file
// shorter than `minimum` bytes is opened and measured but not read.
TFileStart ReadFileStart(const std::string& fileName, size_t limit, size_t minimum = 0);

} // namespace platform::rtl
