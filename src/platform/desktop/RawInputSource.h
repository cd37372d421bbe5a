#pragma once
// Between the raw-input calls and the toolkit: the event loop that carries posted
// messages, and the display's source of system-wide key events.
#include "platform/desktop/RawInput.h"

#include <functional>

namespace platform::desktop::detail {

// Runs task on the GUI thread once the event loop gets to it (from any thread).
void PostToMessageLoop(std::function<void()> task);

// Starts feeding the system's key events to DeliverKeyboardInput, once; false when this
// display has no system-wide key source.
bool StartKeyboardSource();

// Whether the program is in front (decides RIM_INPUT or RIM_INPUTSINK).
bool ProgramInForeground();

// The key data the source gives for a Linux input key code, before the keyboard mapping
// is consulted and before held modifiers change the message.
RAWKEYBOARD LinuxKeyData(int linuxKeyCode, bool pressed);

// Called by the source for each key event.
void DeliverKeyboardInput(const RAWKEYBOARD& keyboard);

} // namespace platform::desktop::detail
