#include "platform/rtl/FileRead.h"

#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform::rtl {
namespace {

// Reads up to `count` bytes, through interruptions; -1 with errno on a read error.
ssize_t ReadUpTo(int fd, uint8_t* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, buffer + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

int OpenRegularFile(const std::string& fileName, int flags, int64_t& size, std::string& reason,
                    bool& missing) {
    missing = false;
    const int fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT;
        reason = SystemReason(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        reason = S_ISDIR(info.st_mode) ? SystemReason(EISDIR)
                 : info.st_mode != 0   ? std::string("Not a regular file")
                                       : SystemReason(error);
        ::close(fd);
        return -1;
    }
    // Reads of a regular file wait for the disk as they always do.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = info.st_size;
    return fd;
}

TFileStart ReadFileStart(const std::string& fileName, size_t limit, size_t minimum) {
    TFileStart result;
    bool missing = false;
    const int fd = OpenRegularFile(fileName, O_RDONLY, result.Size, result.Reason, missing);
    if (fd < 0) {
        result.Status = missing ? TFileReadStatus::Missing : TFileReadStatus::Failed;
        return result;
    }
    const uint64_t size = static_cast<uint64_t>(result.Size);
    if (size >= minimum) {
        result.Bytes.resize(static_cast<size_t>(std::min<uint64_t>(size, limit)));
        const ssize_t got = ReadUpTo(fd, result.Bytes.data(), result.Bytes.size());
        if (got < 0) {
            result.Reason = SystemReason(errno);
            result.Bytes.clear();
            ::close(fd);
            return result;
        }
        // A file that shrank since it was measured gives what it still holds.
        result.Bytes.resize(static_cast<size_t>(got));
    }
    ::close(fd);
    result.Status = TFileReadStatus::Read;
    return result;
}

} // namespace platform::rtl
