#pragma once
// The single-instance rule: the main window's title is the key. A second start finds the
// first window by its title, restores and activates it, and ends without a window.
#include "platform/win/WinTypes.h"

#include <string>

namespace window::shell {

// The main window's title, never changed at run time.
inline constexpr const char* MainWindowTitle = "VTRM408x Gaming Mouse v1.0";

// When a window titled exactly `title` exists (of this or another program): restores it,
// brings it to the front and answers true.
bool RestoreRunningInstance(const std::string& title);

// The rule at program entry, before any window is built. True when this start is the one
// instance: no window has the title, and the title is now claimed for this process, so a
// start that follows finds this one even before its window shows. False when this start
// must end: a window with the title was restored and brought forward, or another start
// claimed the title first (it is asked to come forward once its window is there).
bool ClaimSingleInstance(const std::string& title);

// The main window the claimed title stands for; requests of later starts restore and
// raise it, those that came while it was being built included.
void AnnounceMainWindow(const std::string& title, platform::win::HWND window);

} // namespace window::shell
