#pragma once
// The window calls the program makes of the system: finding a top-level window by its
// title (also one of another process), restoring and activating it, and the system
// commands of a borderless window (moving it with the mouse, minimising it).
// A window handle is the window's toolkit widget. Windows of other processes are found
// through the titles the windows publish (PublishWindowTitle): each published title
// listens on a local socket named after it, so a second process can reach it; and on
// X11 among the top-level windows of every program by their title.
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <string>

namespace platform::desktop {

constexpr win::UINT WM_SYSCOMMAND = 0x0112;
constexpr uintptr_t SC_MINIMIZE = 0xF020;
constexpr uintptr_t SC_MOVE = 0xF010;
constexpr uintptr_t SC_DRAGMOVE = SC_MOVE + 2; // move by the caption area: follow the mouse
constexpr int SW_RESTORE = 9;

// The window whose title is exactly windowName (any class; className is ignored), or
// null. A window of this process is found directly; one of another process through its
// published title, else on the X display by its title (any program's window).
win::HWND FindWindowA(const char* className, const char* windowName);
// SW_RESTORE: un-minimises and shows the window. Other commands are not used.
win::BOOL ShowWindow(win::HWND window, int command);
// Raises and activates the window.
win::BOOL SetForegroundWindow(win::HWND window);
// Releases the mouse capture of this process.
win::BOOL ReleaseCapture();
// WM_SYSCOMMAND with SC_DRAGMOVE (run now: the window follows the mouse until the button
// is released) or SC_MINIMIZE. Other messages are ignored (0).
intptr_t SendMessageA(win::HWND window, win::UINT message, uintptr_t wParam, intptr_t lParam);
// The same, queued: the command runs once the caller has returned to the event loop.
win::BOOL PostMessageA(win::HWND window, win::UINT message, uintptr_t wParam, intptr_t lParam);

// Claims the title for this process before its window exists: from now on other
// processes find it (FindWindowA), and their restore and raise requests wait for the
// window that BindWindowTitle names. False when another process holds the title already.
bool ClaimWindowTitle(const std::string& title);
// The window a claimed title stands for; requests that came before it are carried out now.
void BindWindowTitle(const std::string& title, win::HWND window);
// ClaimWindowTitle and BindWindowTitle at once.
bool PublishWindowTitle(win::HWND window, const std::string& title);

} // namespace platform::desktop
