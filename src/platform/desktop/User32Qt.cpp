// Top-level windows on the toolkit: local sockets in the abstract namespace carry the
// restore and raise requests between processes (no socket file survives a crash); other
// programs' windows are reached on the X display.
#include "platform/desktop/User32.h"

#include "platform/desktop/LocalSocket.h"
#include "platform/desktop/TopLevelX11.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <map>
#include <memory>
#include <vector>

namespace platform::desktop {

namespace {

constexpr int ConnectTimeoutMs = 1000;

std::string ServerName(const std::string& title) {
    // Socket names may not hold every character a title can; the name only has to be the
    // same in both processes.
    return "vtrm408x-window-" + QByteArray::fromStdString(title).toHex().toStdString();
}

// A window of another process, reached through its published title.
struct RemoteWindow {
    std::string serverName;
};

std::map<std::string, std::unique_ptr<RemoteWindow>>& RemoteWindows() {
    static std::map<std::string, std::unique_ptr<RemoteWindow>> windows;
    return windows;
}

bool IsRemote(win::HWND window) {
    for (const auto& [name, remote] : RemoteWindows())
        if (remote.get() == window) return true;
    return false;
}

// A top-level window of any program on the X display.
struct X11Window {
    uint32_t id;
};

std::map<uint32_t, std::unique_ptr<X11Window>>& X11Windows() {
    static std::map<uint32_t, std::unique_ptr<X11Window>> windows;
    return windows;
}

const X11Window* AsX11(win::HWND window) {
    for (const auto& [id, x11] : X11Windows())
        if (x11.get() == window) return x11.get();
    return nullptr;
}

// A title this process claimed: the window it stands for once there is one, and the
// requests that came before it.
struct Claim {
    QPointer<TLocalLineListener> server;
    QPointer<QWidget> window;
    bool bound = false;
    std::vector<std::string> pending;
};

std::map<std::string, Claim>& Claims() {
    static std::map<std::string, Claim> claims;
    return claims;
}

bool SendRequest(const RemoteWindow& remote, const char* request) {
    return SendLocalLine(remote.serverName, request, ConnectTimeoutMs);
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

win::HWND FindWindowA(const char* /*className*/, const char* windowName) {
    if (!windowName) return nullptr;
    const QString title = QString::fromUtf8(windowName);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isWindow() && w->windowTitle() == title) return w;
    const std::string name = ServerName(windowName);
    if (LocalNameListening(name, ConnectTimeoutMs)) {
        auto& slot = RemoteWindows()[name];
        if (!slot) slot = std::make_unique<RemoteWindow>(RemoteWindow{name});
        return slot.get();
    }
    if (const uint32_t id = x11::FindTopLevelWindow(windowName)) {
        auto& slot = X11Windows()[id];
        if (!slot) slot = std::make_unique<X11Window>(X11Window{id});
        return slot.get();
    }
    return nullptr;
}

win::BOOL ShowWindow(win::HWND window, int command) {
    if (!window || command != SW_RESTORE) return 0;
    if (IsRemote(window)) return SendRequest(*static_cast<RemoteWindow*>(window), "restore");
    if (const X11Window* x11 = AsX11(window)) return x11::Restore(x11->id);
    Restore(static_cast<QWidget*>(window));
    return 1;
}

win::BOOL SetForegroundWindow(win::HWND window) {
    if (!window) return 0;
    if (IsRemote(window)) return SendRequest(*static_cast<RemoteWindow*>(window), "raise");
    if (const X11Window* x11 = AsX11(window)) return x11::Activate(x11->id);
    Activate(static_cast<QWidget*>(window));
    return 1;
}

win::BOOL ReleaseCapture() {
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

intptr_t SendMessageA(win::HWND window, win::UINT message, uintptr_t wParam, intptr_t /*lParam*/) {
    if (!window || IsRemote(window) || AsX11(window) || message != WM_SYSCOMMAND) return 0;
    return RunSysCommand(static_cast<QWidget*>(window), wParam);
}

win::BOOL PostMessageA(win::HWND window, win::UINT message, uintptr_t wParam, intptr_t /*lParam*/) {
    if (!window || IsRemote(window) || AsX11(window) || message != WM_SYSCOMMAND) return 0;
    QPointer<QWidget> target(static_cast<QWidget*>(window));
    QMetaObject::invokeMethod(
        target.data(),
        [target, wParam] {
            if (target) RunSysCommand(target.data(), wParam);
        },
        Qt::QueuedConnection);
    return 1;
}

namespace {

void Carry(const std::string& request, QWidget* window) {
    if (request == "restore")
        Restore(window);
    else if (request == "raise")
        Activate(window);
}

void Handle(const std::string& title, const std::string& request) {
    auto found = Claims().find(title);
    if (found == Claims().end()) return;
    Claim& claim = found->second;
    if (!claim.bound) {
        claim.pending.push_back(request);
        return;
    }
    if (claim.window) Carry(request, claim.window);
}

} // namespace

bool ClaimWindowTitle(const std::string& title) {
    if (Claims().count(title)) return false;
    // Owned by the application, so the server goes before the toolkit does.
    auto* server = new TLocalLineListener(QCoreApplication::instance());
    if (!server->Listen(ServerName(title))) {
        delete server;
        return false;
    }
    Claims()[title].server = server;
    server->OnLine = [title](const std::string& request) { Handle(title, request); };
    return true;
}

void BindWindowTitle(const std::string& title, win::HWND window) {
    auto found = Claims().find(title);
    if (found == Claims().end()) return;
    Claim& claim = found->second;
    claim.window = static_cast<QWidget*>(window);
    claim.bound = true;
    // The title is free again once its window is gone.
    QObject::connect(claim.window, &QObject::destroyed, [title] {
        auto gone = Claims().find(title);
        if (gone == Claims().end()) return;
        delete gone->second.server.data();
        Claims().erase(gone);
    });
    std::vector<std::string> pending;
    pending.swap(claim.pending);
    for (const std::string& request : pending)
        if (claim.window) Carry(request, claim.window);
}

bool PublishWindowTitle(win::HWND window, const std::string& title) {
    if (!ClaimWindowTitle(title)) return false;
    BindWindowTitle(title, window);
    return true;
}

} // namespace platform::desktop
