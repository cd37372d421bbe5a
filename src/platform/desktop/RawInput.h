#pragma once
// Raw input of keyboards, as the system's raw-input calls give it: a program registers for
// keyboards once, and every key press and release of every keyboard - also while another
// program has the focus - then arrives as a WM_INPUT message posted to the program's
// message loop. The message's lParam is an input handle that GetRawInputData reads while
// the message is being handled; afterwards the handle is invalid.
//
// On Linux the keys come from the X server's raw key events (XInput2) where the program
// runs on an X display; each X key code is mapped to the virtual key the system would
// give for that key. Other displays (Wayland, offscreen) have no global key source:
// registration works, but only injected input arrives (RawKeyboardCaptureAvailable says
// which). The X server sends no auto-repeat as raw events, so a held key is one press.
#include "platform/win/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

namespace platform::desktop {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using HRAWINPUT = void*;

constexpr win::UINT WM_INPUT = 0x00FF;
constexpr win::UINT WM_KEYDOWN = 0x0100;
constexpr win::UINT WM_KEYUP = 0x0101;
constexpr win::UINT WM_SYSKEYDOWN = 0x0104;
constexpr win::UINT WM_SYSKEYUP = 0x0105;

// wParam of WM_INPUT: the program was in front, or in the background.
constexpr WPARAM RIM_INPUT = 0;
constexpr WPARAM RIM_INPUTSINK = 1;

constexpr win::DWORD RIM_TYPEMOUSE = 0;
constexpr win::DWORD RIM_TYPEKEYBOARD = 1;
constexpr win::DWORD RIM_TYPEHID = 2;

constexpr win::UINT RID_INPUT = 0x10000003;
constexpr win::UINT RID_HEADER = 0x10000005;

constexpr win::DWORD RIDEV_REMOVE = 0x00000001;
constexpr win::DWORD RIDEV_INPUTSINK = 0x00000100;

// RAWKEYBOARD.Flags
constexpr win::USHORT RI_KEY_MAKE = 0;
constexpr win::USHORT RI_KEY_BREAK = 1;
constexpr win::USHORT RI_KEY_E0 = 2;
constexpr win::USHORT RI_KEY_E1 = 4;

constexpr win::USHORT HID_USAGE_PAGE_GENERIC = 0x01;
constexpr win::USHORT HID_USAGE_GENERIC_KEYBOARD = 0x06;

struct RAWINPUTDEVICE {
    win::USHORT usUsagePage;
    win::USHORT usUsage;
    win::DWORD dwFlags;
    win::HWND hwndTarget; // copied into the hwnd of each WM_INPUT message
};

struct RAWINPUTHEADER {
    win::DWORD dwType;
    win::DWORD dwSize; // of the whole input, header included
    win::HANDLE hDevice;
    WPARAM wParam;
};

struct RAWMOUSE {
    win::USHORT usFlags;
    win::USHORT usButtonFlags;
    win::USHORT usButtonData;
    win::ULONG ulRawButtons;
    win::LONG lLastX;
    win::LONG lLastY;
    win::ULONG ulExtraInformation;
};

struct RAWKEYBOARD {
    win::USHORT MakeCode; // scan code (set 1), without its E0/E1 prefix
    win::USHORT Flags;    // RI_KEY_*
    win::USHORT Reserved;
    win::USHORT VKey;
    win::UINT Message; // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP
    win::ULONG ExtraInformation;
};

struct RAWHID {
    win::DWORD dwSizeHid;
    win::DWORD dwCount;
    win::BYTE bRawData[1];
};

struct RAWINPUT {
    RAWINPUTHEADER header;
    union {
        RAWMOUSE mouse;
        RAWKEYBOARD keyboard;
        RAWHID hid;
    } data;
};

// A message the system posts to the program's message loop.
struct MSG {
    win::HWND hwnd;
    win::UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Registers (or with RIDEV_REMOVE ends) raw input of the listed device kinds. size must be
// sizeof(RAWINPUTDEVICE). Only keyboards (page 1, usage 6) produce input here; other
// kinds are accepted and stay silent.
win::BOOL RegisterRawInputDevices(const RAWINPUTDEVICE* devices, win::UINT count, win::UINT size);

// RID_HEADER copies the header, RID_INPUT the whole input; *size says how much room data
// has. With data null, *size receives the room needed and the result is 0. Otherwise the
// result is the number of bytes copied, or (UINT)-1 with the last error set:
// ERROR_INVALID_HANDLE for a handle that is not being handled now, ERROR_INSUFFICIENT_BUFFER
// when the room is too small, ERROR_INVALID_PARAMETER for a wrong headerSize or command.
win::UINT GetRawInputData(HRAWINPUT input, win::UINT command, void* data, win::UINT* size,
                          win::UINT headerSize);

// The message text of an error code the raw-input calls report.
std::string RawInputErrorText(win::DWORD error);

// Where the posted messages go: the program's message loop installs its dispatcher, which
// runs on the GUI thread once the event loop gets to each message. Without one, input is
// dropped.
using TThreadMessageHandler = std::function<void(const MSG& msg)>;
void SetThreadMessageHandler(TThreadMessageHandler handler);

// Whether the keys of the system's keyboards can reach the program on this display. Asks
// the display the first time a keyboard is registered; false before that.
bool RawKeyboardCaptureAvailable();

namespace testing {
// Delivers a key event as the system would: to the registered program as a posted
// WM_INPUT message. Ignored while no keyboard is registered.
void InjectKeyboardInput(win::USHORT virtualKey, win::UINT message, win::USHORT makeCode = 0,
                         win::USHORT flags = 0);
// Delivers an input of any kind, header.dwSize bytes long from `input`.
void InjectRawInput(const RAWINPUT& input);
// The devices registered now.
std::vector<RAWINPUTDEVICE> RegisteredRawInputDevices();
// Ends every registration and forgets pending input.
void ResetRawInput();
// The virtual key and make code (with RI_KEY_E0/E1 in flags) the X key capture gives for a
// Linux input key code, without a keyboard mapping; VKey FF (no virtual key) for a key without one.
RAWKEYBOARD KeyboardDataForLinuxKey(int linuxKeyCode, bool pressed);
} // namespace testing

} // namespace platform::desktop
