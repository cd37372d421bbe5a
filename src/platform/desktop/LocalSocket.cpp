#include "platform/desktop/LocalSocket.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace platform::desktop {

namespace {

// The address of a name in the abstract namespace: a zero byte, then the name, and the
// length ending with the name (no padding, which would be part of the name).
struct AbstractAddress {
    sockaddr_un addr{};
    socklen_t length = 0;
};

bool MakeAddress(const std::string& name, AbstractAddress& out) {
    if (name.empty() || name.size() + 1 > sizeof(out.addr.sun_path)) return false;
    out.addr.sun_family = AF_UNIX;
    out.addr.sun_path[0] = '\0';
    std::memcpy(out.addr.sun_path + 1, name.data(), name.size());
    out.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return true;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// A connected socket whose connect and writes give up after timeoutMs; -1 when nobody
// listens on the name.
int Connect(const std::string& name, int timeoutMs) {
    AbstractAddress address;
    if (!MakeAddress(name, address)) return -1;
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return -1;
    // A listener whose queue is full makes the connect wait, as long as sends may.
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    int rc;
    do {
        rc = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address.addr), address.length);
    } while (rc < 0 && errno == EINTR);
    return rc == 0 ? fd.release() : -1;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string Trimmed(const std::string& text) {
    constexpr const char* space = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

} // namespace

bool LocalNameListening(const std::string& name, int timeoutMs) {
    Fd fd(Connect(name, timeoutMs));
    return fd.get() >= 0;
}

bool SendLocalLine(const std::string& name, const std::string& line, int timeoutMs) {
    Fd fd(Connect(name, timeoutMs));
    return fd.get() >= 0 && WriteAll(fd.get(), line + "\n");
}

struct TLocalLineListener::Client {
    explicit Client(int descriptor) : fd(descriptor) {}
    Fd fd;
    std::unique_ptr<QSocketNotifier> notifier;
    std::string pending; // what came after the last whole line
};

TLocalLineListener::TLocalLineListener(QObject* parent) : QObject(parent) {}

TLocalLineListener::~TLocalLineListener() {
    clients_.clear();
    delete notifier_;
    if (fd_ >= 0) ::close(fd_);
}

bool TLocalLineListener::Listen(const std::string& name) {
    AbstractAddress address;
    if (fd_ >= 0 || !MakeAddress(name, address)) return false;
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd.get() < 0) return false;
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address.addr), address.length) != 0 ||
        ::listen(fd.get(), SOMAXCONN) != 0)
        return false;
    fd_ = fd.release();
    notifier_ = new QSocketNotifier(static_cast<qintptr>(fd_), QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, [this] { Accept(); });
    return true;
}

void TLocalLineListener::Accept() {
    for (;;) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return; // no more waiting, or out of descriptors: the rest wait for the next round
        }
        auto client = std::make_unique<Client>(fd);
        client->notifier =
            std::make_unique<QSocketNotifier>(static_cast<qintptr>(fd), QSocketNotifier::Read);
        QObject::connect(client->notifier.get(), &QSocketNotifier::activated, this,
                         [this, fd] { Read(fd); });
        clients_[fd] = std::move(client);
    }
}

void TLocalLineListener::Read(int fd) {
    auto found = clients_.find(fd);
    if (found == clients_.end()) return;
    Client& client = *found->second;
    char buffer[512];
    std::vector<std::string> lines;
    bool gone = false;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) {
            gone = true;
            break;
        }
        client.pending.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = client.pending.find('\n')) != std::string::npos &&
               end <= MaxLocalLineLength) {
            lines.push_back(Trimmed(client.pending.substr(0, end)));
            client.pending.erase(0, end + 1);
        }
        if (client.pending.size() > MaxLocalLineLength) {
            gone = true;
            break;
        }
    }
    if (gone) clients_.erase(fd);
    // The handler may end this listener (its window went): nothing of it is used after.
    QPointer<TLocalLineListener> alive(this);
    for (const std::string& line : lines) {
        if (!alive) return;
        if (OnLine) OnLine(line);
    }
}

} // namespace platform::desktop
