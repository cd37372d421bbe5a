#pragma once
// Top-level windows of every program on the X display (the DISPLAY of the environment),
// found by their title, and restored, raised and activated: the single-instance rule
// counts a window of any program. Works on a connection of its own, so it also answers
// while the toolkit itself runs without a display (offscreen).
#include <cstdint>
#include <string>

namespace platform::desktop::x11 {

// The top-level window whose title (_NET_WM_NAME, else WM_NAME) is exactly `title`, or 0
// (also when there is no X display). The window manager's client list is searched when
// there is one, else the root window's children.
uint32_t FindTopLevelWindow(const std::string& title);

// Maps the window again if it was minimised (iconic: unmapped). False when the display
// cannot be reached.
bool Restore(uint32_t window);
// Puts the window above its siblings and gives it the input focus; with a window
// manager, asks it to activate the window. False when the display cannot be reached.
bool Activate(uint32_t window);

} // namespace platform::desktop::x11
