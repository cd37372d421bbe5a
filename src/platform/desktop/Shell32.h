#pragma once
// Opening a document or a link with the desktop's handler for it.
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>

namespace platform::desktop {

using HINSTANCE = void*;

constexpr int SW_SHOWNORMAL = 1;

// Opens `file` (a link such as "https://..." or a file name) with the desktop's default
// handler. Only the open verb exists: `operation` must be null or "open"; parameters and
// the folder are not used by any caller and are ignored. The result is greater than 32 on
// success, as the system's is; callers that ignore it lose nothing.
HINSTANCE ShellExecuteA(win::HWND window, win::LPCSTR operation, win::LPCSTR file,
                        win::LPCSTR parameters, win::LPCSTR directory, int showCommand);

namespace testing {
// Routes ShellExecuteA to `open` (which returns whether it opened) instead of the desktop,
// so tests see what would be opened; an empty function restores the desktop.
void SetShellOpenHandler(std::function<bool(const std::string& file)> open);
} // namespace testing

namespace detail {
// The desktop's handler (backend).
bool DesktopOpen(const std::string& file);
} // namespace detail

} // namespace platform::desktop
