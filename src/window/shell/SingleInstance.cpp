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

} // namespace shell
