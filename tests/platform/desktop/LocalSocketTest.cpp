// Local line sockets: what a listener makes of clients that behave and of clients that do
// not, and names that are taken.
#include "platform/desktop/LocalSocket.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

namespace desktop = platform::desktop;

std::string UniqueName(const char* what) {
    return std::string("vtrm408x-test-") + what + "-" +
           std::to_string(QCoreApplication::applicationPid());
}

// A client written against the socket interface directly: the name in the abstract
// namespace, no padding after it.
struct RawSocket {
    RawSocket() : fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~RawSocket() { Close(); }
    socklen_t Address(const std::string& name, sockaddr_un& addr) {
        addr = {};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path + 1, name.data(), name.size());
        return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    }
    bool Connect(const std::string& name) {
        sockaddr_un addr;
        const socklen_t length = Address(name, addr);
        return ::connect(fd, reinterpret_cast<sockaddr*>(&addr), length) == 0;
    }
    bool Bind(const std::string& name) {
        sockaddr_un addr;
        const socklen_t length = Address(name, addr);
        return ::bind(fd, reinterpret_cast<sockaddr*>(&addr), length) == 0;
    }
    void Send(const std::string& data) {
        ASSERT_EQ(::send(fd, data.data(), data.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(data.size()));
    }
    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fd;
};

template <typename Done> bool PumpUntil(Done done, int ms = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

TEST(LocalSocketTest, ClientsThatBehaveAndClientsThatDoNot) {
    const std::string longLine(desktop::MaxLocalLineLength + 1, 'x');
    struct Case {
        const char* what;
        std::vector<std::string> chunks; // sent one after another, events handled between
        bool closes;                     // the client goes after its last chunk
        std::vector<std::string> lines;  // what the listener hands on, in order
        bool keptOpen;                   // the listener still holds the client at the end
    };
    const std::vector<Case> cases = {
        {"one request", {"restore\n"}, true, {"restore"}, false},
        {"two in one write", {"restore\nraise\n"}, true, {"restore", "raise"}, false},
        {"split across writes", {"res", "tore", "\n"}, true, {"restore"}, false},
        {"white space around", {"  raise \r\n"}, true, {"raise"}, false},
        {"unfinished line at the end", {"restore\nrai"}, true, {"restore"}, false},
        {"connects and says nothing", {}, false, {}, true},
        {"an unfinished line, still there", {"rest"}, false, {}, true},
        {"over-long line", {longLine + "\n"}, false, {}, false},
        {"over-long line without its end", {longLine}, false, {}, false},
        {"lines before an over-long one", {"raise\n" + longLine}, false, {"raise"}, false},
        {"the longest line there may be",
         {std::string(desktop::MaxLocalLineLength, 'y') + "\n"},
         true,
         {std::string(desktop::MaxLocalLineLength, 'y')},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = UniqueName("lines");
        desktop::TLocalLineListener listener;
        std::vector<std::string> got;
        listener.OnLine = [&](const std::string& line) { got.push_back(line); };
        ASSERT_TRUE(listener.Listen(name));

        RawSocket client;
        ASSERT_TRUE(client.Connect(name));
        ASSERT_TRUE(PumpUntil([&] { return listener.ClientCount() == 1; }));
        for (const std::string& chunk : c.chunks) {
            client.Send(chunk);
            Pump(20);
        }
        if (c.closes) client.Close();
        Pump(50);
        EXPECT_EQ(got, c.lines);
        EXPECT_EQ(listener.ClientCount(), c.keptOpen ? 1u : 0u);

        // Whatever that client did, the next one is heard.
        got.clear();
        ASSERT_TRUE(desktop::SendLocalLine(name, "raise", 1000));
        EXPECT_TRUE(PumpUntil([&] { return got == std::vector<std::string>{"raise"}; }));
    }
}

TEST(LocalSocketTest, ANameIsHeldByOneSocketAndFreedWithIt) {
    const std::string name = UniqueName("held");
    EXPECT_FALSE(desktop::LocalNameListening(name, 200));
    EXPECT_FALSE(desktop::SendLocalLine(name, "raise", 200)) << "nobody listens";
    {
        desktop::TLocalLineListener first;
        ASSERT_TRUE(first.Listen(name));
        EXPECT_TRUE(desktop::LocalNameListening(name, 200));
        desktop::TLocalLineListener second;
        EXPECT_FALSE(second.Listen(name)) << "the name is taken";
        EXPECT_FALSE(first.Listen(name)) << "a listener listens once";
    }
    EXPECT_FALSE(desktop::LocalNameListening(name, 200)) << "the name went with its listener";
    desktop::TLocalLineListener again;
    EXPECT_TRUE(again.Listen(name));

    // A socket bound to a name without listening takes the name, but nobody reaches it.
    const std::string boundOnly = UniqueName("bound");
    RawSocket squatter;
    ASSERT_TRUE(squatter.Bind(boundOnly));
    EXPECT_FALSE(desktop::LocalNameListening(boundOnly, 200));
    desktop::TLocalLineListener late;
    EXPECT_FALSE(late.Listen(boundOnly));

    // A name too long for an address is refused, not cut short to another name.
    desktop::TLocalLineListener odd;
    EXPECT_FALSE(odd.Listen(std::string(sizeof(sockaddr_un::sun_path), 'n')));
}

} // namespace
