#include "platform/rtl/FileSave.h"

#include "platform/rtl/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace platform::rtl {

namespace {

std::string Message(const std::string& fileName, int error) {
    return Format("Cannot save file \"%s\". %s", fileName.c_str(), SystemReason(error).c_str());
}

std::string FolderOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

std::string NameOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

// The permission bits a new file gets from open(..., 0666): the process's umask read
// without changing it (umask() would, for every thread).
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    return 0644;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Puts the finished temporary file in place of the target. KeepExisting fails with
// EEXIST when a target is there, also one made meanwhile by someone else.
bool Place(const std::string& temporary, const std::string& fileName, TSaveMode mode) {
    if (mode == TSaveMode::Replace) return ::rename(temporary.c_str(), fileName.c_str()) == 0;
    if (::link(temporary.c_str(), fileName.c_str()) != 0) return false;
    ::unlink(temporary.c_str());
    return true;
}

// The rename itself is only lasting once the folder is synced.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

namespace {

// Which step failed, for the exception's kind; 0 on success.
enum class Failure { None, Create, Write };

Failure Save(const std::string& fileName, const void* data, size_t size, TSaveMode mode,
             int& error) {
    const std::string folder = FolderOf(fileName);
    struct stat target {};
    const bool exists = ::stat(fileName.c_str(), &target) == 0;
    if (exists && (mode == TSaveMode::KeepExisting || !S_ISREG(target.st_mode))) {
        // Only a plain file is replaced: never a folder, a device or a link's target kind.
        error = mode == TSaveMode::KeepExisting ? EEXIST
                : S_ISDIR(target.st_mode)       ? EISDIR
                                                : EINVAL;
        return Failure::Create;
    }

    std::string temporary = folder + "/." + NameOf(fileName) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return Failure::Create;
    }
    // A replaced file keeps its permissions; a new one gets those open() would give it.
    const mode_t permissions = exists ? (target.st_mode & 07777) : NewFileMode();
    bool ok = ::fchmod(fd, permissions) == 0 && WriteAll(fd, data, size) && ::fsync(fd) == 0;
    error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return Failure::Write;
    }
    if (!Place(temporary, fileName, mode)) {
        error = errno;
        ::unlink(temporary.c_str());
        return Failure::Create;
    }
    SyncFolder(folder);
    return Failure::None;
}

} // namespace

bool TrySaveFile(const std::string& fileName, const void* data, size_t size, TSaveMode mode,
                 std::string& reason) {
    int error = 0;
    if (Save(fileName, data, size, mode, error) == Failure::None) return true;
    reason = SystemReason(error);
    return false;
}

void SaveFile(const std::string& fileName, const void* data, size_t size, TSaveMode mode) {
    int error = 0;
    switch (Save(fileName, data, size, mode, error)) {
    case Failure::None:
        return;
    case Failure::Create:
        throw EFCreateError(Message(fileName, error));
    case Failure::Write:
        throw EWriteError(Message(fileName, error));
    }
}

} // namespace platform::rtl
