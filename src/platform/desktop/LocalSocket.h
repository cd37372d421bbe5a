#pragma once
// Local stream sockets in the abstract namespace (Linux): a name, not a file, so nothing
// is left behind when a process ends, however it ends. A listener hands each line its
// clients send to a handler on the event loop; a sender connects, writes one line and
// closes.
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform::desktop {

// Lines longer than this are no request: a client that sends one is dropped.
constexpr size_t MaxLocalLineLength = 256;

// Whether a listener has the name now (a connection to it is accepted).
bool LocalNameListening(const std::string& name, int timeoutMs);

// Connects to the name, writes `line` and a line break and closes. False when nobody
// listens or the line cannot be written within the time.
bool SendLocalLine(const std::string& name, const std::string& line, int timeoutMs);

// Listens on a name while it lives. Each line a client sends, without its line break and
// the white space around it, goes to OnLine, on the thread the listener lives on; a line
// left unfinished when the client goes is dropped.
class TLocalLineListener : public QObject {
public:
    explicit TLocalLineListener(QObject* parent = nullptr);
    ~TLocalLineListener() override;

    // False when the name is taken (by a listener or any socket bound to it) or the
    // system refuses a socket.
    bool Listen(const std::string& name);
    // Clients connected now.
    size_t ClientCount() const { return clients_.size(); }

    std::function<void(const std::string& line)> OnLine;

private:
    struct Client;
    void Accept();
    void Read(int fd);

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::map<int, std::unique_ptr<Client>> clients_;
};

} // namespace platform::desktop
