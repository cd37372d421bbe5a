// Top-level windows on the toolkit: local sockets in the abstract namespace carry the
// restore and raise requests between processes (no socket file survives a crash).
#include "platform/desktop/User32.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <map>
#include <memory>

namespace platform::win {

namespace {

constexpr int ConnectTimeoutMs = 1000;

QString ServerName(const std::string& title) {
    // Socket names may not hold every character a title can; the name only has to be the
    // same in both processes.
    return QStringLiteral("vtrm408x-window-") +
           QString::fromLatin1(QByteArray::fromStdString(title).toHex());
}

// A window of another process, reached through its published title.
struct RemoteWindow {
    QString serverName;
};

std::map<QString, std::unique_ptr<RemoteWindow>>& RemoteWindows() {
    static std::map<QString, std::unique_ptr<RemoteWindow>> windows;
    return windows;
}

bool IsRemote(HWND window) {
    for (const auto& [name, remote] : RemoteWindows())
        if (remote.get() == window) return true;
    return false;
}

bool SendRequest(const RemoteWindow& remote, const char* request) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(remote.serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs)) return false;
    socket.write(request);
    socket.write("\n");
    const bool sent = socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void Restore(QWidget* w) {
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
}

void Activate(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace

HWND FindWindowA(const char* /*className*/, const char* windowName) {
    if (!windowName) return nullptr;
    const QString title = QString::fromUtf8(windowName);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isWindow() && w->windowTitle() == title) return w;
    const QString name = ServerName(windowName);
    QLocalSocket probe;
    probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    probe.connectToServer(name);
    if (!probe.waitForConnected(ConnectTimeoutMs)) return nullptr;
    probe.disconnectFromServer();
    auto& slot = RemoteWindows()[name];
    if (!slot) slot = std::make_unique<RemoteWindow>(RemoteWindow{name});
    return slot.get();
}

BOOL ShowWindow(HWND window, int command) {
    if (!window || command != SW_RESTORE) return 0;
    if (IsRemote(window)) return SendRequest(*static_cast<RemoteWindow*>(window), "restore");
    Restore(static_cast<QWidget*>(window));
    return 1;
}

BOOL SetForegroundWindow(HWND window) {
    if (!window) return 0;
    if (IsRemote(window)) return SendRequest(*static_cast<RemoteWindow*>(window), "raise");
    Activate(static_cast<QWidget*>(window));
    return 1;
}

BOOL ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    return 1;
}

namespace {

intptr_t RunSysCommand(QWidget* w, uintptr_t command) {
    if (command == SC_MINIMIZE) {
        w->showMinimized();
        return 0;
    }
    if (command == SC_DRAGMOVE) {
        // The window system moves the window; without one (offscreen) nothing moves.
        if (QWindow* handle = w->windowHandle()) handle->startSystemMove();
        return 0;
    }
    return 0;
}

} // namespace

intptr_t SendMessageA(HWND window, UINT message, uintptr_t wParam, intptr_t /*lParam*/) {
    if (!window || IsRemote(window) || message != WM_SYSCOMMAND) return 0;
    return RunSysCommand(static_cast<QWidget*>(window), wParam);
}

BOOL PostMessageA(HWND window, UINT message, uintptr_t wParam, intptr_t /*lParam*/) {
    if (!window || IsRemote(window) || message != WM_SYSCOMMAND) return 0;
    QPointer<QWidget> target(static_cast<QWidget*>(window));
    QMetaObject::invokeMethod(
        target.data(),
        [target, wParam] {
            if (target) RunSysCommand(target.data(), wParam);
        },
        Qt::QueuedConnection);
    return 1;
}

bool PublishWindowTitle(HWND window, const std::string& title) {
    auto* widget = static_cast<QWidget*>(window);
    auto* server = new QLocalServer(widget);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(ServerName(title))) {
        delete server;
        return false;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, widget] {
        while (QLocalSocket* client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, widget] {
                while (client->canReadLine()) {
                    const QByteArray request = client->readLine().trimmed();
                    if (request == "restore")
                        Restore(widget);
                    else if (request == "raise")
                        Activate(widget);
                }
            });
        }
    });
    return true;
}

} // namespace platform::win
