#include "window/shell/SingleInstance.h"

#include "platform/desktop/User32.h"

namespace shell {

bool RestoreRunningInstance(const std::string& title) {
    platform::win::HWND first = platform::win::FindWindowA(nullptr, title.c_str());
    if (!first) return false;
    platform::win::ShowWindow(first, platform::win::SW_RESTORE);
    platform::win::SetForegroundWindow(first);
    return true;
}

bool ClaimSingleInstance(const std::string& title) {
    if (RestoreRunningInstance(title)) return false;
    if (platform::win::ClaimWindowTitle(title)) return true;
    // Another start claimed the title between the look and the claim: it is building its
    // window now and takes the request when the window is there.
    RestoreRunningInstance(title);
    return false;
}

void AnnounceMainWindow(const std::string& title, platform::win::HWND window) {
    platform::win::BindWindowTitle(title, window);
}

} // namespace shell
