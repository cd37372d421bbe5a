#pragma once
// Things that are not a regular file, put where the program expects one: each kind with
// the reason the program must give when it is refused. Header only, for the suites with
// and without Qt alike.
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace testfiles {

enum class Kind { NamedPipe, LinkToPipe, Folder, LinkToFolder, Device, LinkLoop, Socket, NoAccess };

struct KindCase {
    Kind kind;
    const char* name;
    const char* reason; // what the refusal must say
};

// The kinds a test can make here. Permission bits do not bind the superuser, so the
// unreadable-by-permission kind is left out for root; the link loop cannot be opened by
// anyone.
inline std::vector<KindCase> SpecialKinds() {
    std::vector<KindCase> kinds = {
        {Kind::NamedPipe, "named pipe", "Not a regular file"},
        {Kind::LinkToPipe, "link to a named pipe", "Not a regular file"},
        {Kind::Folder, "folder", "Is a directory"},
        {Kind::LinkToFolder, "link to a folder", "Is a directory"},
        {Kind::Device, "link to a device", "Not a regular file"},
        {Kind::LinkLoop, "link to itself", "Too many levels of symbolic links"},
        {Kind::Socket, "socket", "No such device or address"},
    };
    if (::geteuid() != 0)
        kinds.push_back({Kind::NoAccess, "no read permission", "Permission denied"});
    return kinds;
}

// Makes `path` a thing of `kind`, and removes it again. A pipe is held open for reading
// and writing with bytes in it, so that a program that opened and read it anyway would
// take them (and the test fail) rather than hang.
class SpecialFile {
public:
    SpecialFile(Kind kind, std::filesystem::path path) : path_(std::move(path)) {
        namespace fs = std::filesystem;
        const fs::path aside = path_.string() + ".target";
        switch (kind) {
        case Kind::NamedPipe:
            MakePipe(path_);
            break;
        case Kind::LinkToPipe:
            MakePipe(aside);
            fs::create_symlink(aside, path_);
            break;
        case Kind::Folder:
            fs::create_directory(path_);
            break;
        case Kind::LinkToFolder:
            fs::create_directory(aside);
            fs::create_directory_symlink(aside, path_);
            break;
        case Kind::Device:
            fs::create_symlink("/dev/zero", path_);
            break;
        case Kind::LinkLoop:
            fs::create_symlink(path_.filename(), path_);
            break;
        case Kind::Socket: {
            socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            path_.string().copy(address.sun_path, sizeof address.sun_path - 1);
            ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
            break;
        }
        case Kind::NoAccess:
            ::close(::open(path_.c_str(), O_CREAT | O_WRONLY, 0000));
            break;
        }
        std::error_code ec;
        made_ = std::filesystem::symlink_status(path_, ec).type();
    }
    ~SpecialFile() {
        if (pipe_ >= 0) ::close(pipe_);
        if (socket_ >= 0) ::close(socket_);
        std::error_code ec;
        std::filesystem::remove(path_, ec);
        std::filesystem::remove_all(path_.string() + ".target", ec);
    }
    SpecialFile(const SpecialFile&) = delete;
    SpecialFile& operator=(const SpecialFile&) = delete;
    // Still what it was made: nothing removed or replaced it.
    bool StillThere() const {
        std::error_code ec;
        return std::filesystem::symlink_status(path_, ec).type() == made_ && !ec &&
               (made_ != std::filesystem::file_type::regular ||
                std::filesystem::file_size(path_, ec) == 0);
    }

private:
    void MakePipe(const std::filesystem::path& at) {
        ::mkfifo(at.c_str(), 0600);
        pipe_ = ::open(at.c_str(), O_RDWR | O_NONBLOCK);
        static const char bytes[64] = {};
        [[maybe_unused]] const ssize_t n = ::write(pipe_, bytes, sizeof bytes);
    }

    std::filesystem::path path_;
    int pipe_ = -1;
    int socket_ = -1;
    std::filesystem::file_type made_ = std::filesystem::file_type::none;
};

} // namespace testfiles
