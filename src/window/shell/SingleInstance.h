#pragma once
// The single-instance rule: the main window's title is the key. A second start finds the
// first window by its title, restores and activates it, and ends without a window.
#include <string>

namespace shell {

// The main window's title, never changed at run time.
inline constexpr const char* MainWindowTitle = "VTRM408x Gaming Mouse v1.0";

// When a window titled exactly `title` exists (of this or another process): restores it,
// brings it to the front and answers true.
bool RestoreRunningInstance(const std::string& title);

} // namespace shell
