#pragma once
// The code a key-function menu entry stands for, taken from the main window's current
// settings (see device/Macros.h for the codes themselves).
#include "device/Macros.h"

#include <string>

namespace window {
class TForm1;
}

namespace window::device {

// The code of menu id Id from the window's current settings: the fire-key edits and hold
// boxes, the AIM level, the device's interface and the engineering page's profile
// settings and combination masks (packed into the window first, whatever the id).
// A fire-key or AIM text that is not a decimal integer raises before anything is packed.
std::string FunctionIdToCode(window::TForm1& form, int Id);

} // namespace window::device
