#include "window/shell/SingleInstance.h"

#include "platform/desktop/User32.h"

namespace window::shell {

bool RestoreRunningInstance(const std::string& title) {
    platform::win::HWND first = platform::desktop::FindWindowA(nullptr, title.c_str());
    if (!first) return false;
    platform::desktop::ShowWindow(first, platform::desktop::SW_RESTORE);
    platform::desktop::SetForegroundWindow(first);
    return true;
}

bool ClaimSingleInstance(const std::string& title) {
    if (RestoreRunningInstance(title)) return false;
    if (platform::desktop::ClaimWindowTitle(title)) return true;
    // Another start claimed the title between the look and the claim: it is building its
    // window now and takes the request when the window is there.
    RestoreRunningInstance(title);
    return false;
}

void AnnounceMainWindow(const std::string& title, platform::win::HWND window) {
    platform::desktop::BindWindowTitle(title, window);
}

} // namespace window::shell
