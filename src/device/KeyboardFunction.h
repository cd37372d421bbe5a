#pragma once
// Unit KeyboardFunction: the program's key vocabulary. Keys are named in three numbering
// spaces - the system's virtual keys (what keyboard capture and the key dialogs receive),
// the compact key code TKeyboardHookKey (what is kept and shown by name) and the HID
// keyboard usages the mouse stores, extended by the mouse's own media-key codes C0..D1.
// The conversions are pure table look-ups, safe from any thread.
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace device {

// The compact key code, ordinal 0..144.
enum TKeyboardHookKey : uint8_t {
    kh_None,
    kh_Demo,
    kh_255,
    kh_Back,
    kh_Tab,
    kh_Clear,
    kh_Return,
    kh_Shift,
    kh_Control,
    kh_Alt,
    kh_Pause,
    kh_Capital,
    kh_Escape,
    kh_Space,
    kh_Prior,
    kh_Next,
    kh_End,
    kh_Home,
    kh_Left,
    kh_Up,
    kh_Right,
    kh_Down,
    kh_Select,
    kh_Snapshot,
    kh_Insert,
    kh_Delete,
    kh_Help,
    kh_LWIN,
    kh_RWIN,
    kh_APPS,
    kh_Numpad0,
    kh_Numpad1,
    kh_Numpad2,
    kh_Numpad3,
    kh_Numpad4,
    kh_Numpad5,
    kh_Numpad6,
    kh_Numpad7,
    kh_Numpad8,
    kh_Numpad9,
    kh_Multiply,
    kh_Add,
    kh_Separator,
    kh_Subtract,
    kh_Decimal,
    kh_Divide,
    kh_F1,
    kh_F2,
    kh_F3,
    kh_F4,
    kh_F5,
    kh_F6,
    kh_F7,
    kh_F8,
    kh_F9,
    kh_F10,
    kh_F11,
    kh_F12,
    kh_F13,
    kh_F14,
    kh_F15,
    kh_F16,
    kh_F17,
    kh_F18,
    kh_F19,
    kh_F20,
    kh_F21,
    kh_F22,
    kh_F23,
    kh_F24,
    kh_Numlock,
    kh_Scroll,
    kh_LShift,
    kh_RShift,
    kh_LControl,
    kh_RControl,
    kh_LAlt,
    kh_RAlt,
    kh_A,
    kh_B,
    kh_C,
    kh_D,
    kh_E,
    kh_F,
    kh_G,
    kh_H,
    kh_I,
    kh_J,
    kh_K,
    kh_L,
    kh_M,
    kh_N,
    kh_O,
    kh_P,
    kh_Q,
    kh_R,
    kh_S,
    kh_T,
    kh_U,
    kh_V,
    kh_W,
    kh_X,
    kh_Y,
    kh_Z,
    kh_0,
    kh_1,
    kh_2,
    kh_3,
    kh_4,
    kh_5,
    kh_6,
    kh_7,
    kh_8,
    kh_9,
    kh_OEM_1,
    kh_OEM_2,
    kh_OEM_3,
    kh_OEM_4,
    kh_OEM_5,
    kh_OEM_6,
    kh_OEM_7,
    kh_OEM_8,
    kh_OEM_Plus,
    kh_OEM_Comma,
    kh_OEM_Minus,
    kh_OEM_Period,
    kh_Browser_Back,
    kh_Browser_Forward,
    kh_Browser_Refresh,
    kh_Browser_Stop,
    kh_Browser_Search,
    kh_Browser_Favorites,
    kh_Browser_Home,
    kh_Volume_Mute,
    kh_Volume_Down,
    kh_Volume_Up,
    kh_Media_Next_Track,
    kh_Media_Prev_Track,
    kh_Media_Stop,
    kh_Media_Play_Pause,
    kh_Launch_Mail,
    kh_Launch_Media_Select,
    kh_Launch_App1,
    kh_Launch_App2,
    kh_Return_KP,
};

constexpr int KeyboardHookKeyCount = kh_Return_KP + 1;
static_assert(KeyboardHookKeyCount == 145);

// A set of key codes (the modifiers of a combination) and the other keys of a combination
// in the order they were pressed.
using TKeyboardHookShiftState = std::bitset<KeyboardHookKeyCount>;
using TKeyCombination = std::vector<TKeyboardHookKey>;

// The key code of a virtual key; kh_None for every key the table does not know, and for
// values below 08 or above FF. The generic modifiers 10..12 give kh_Shift, kh_Control
// and kh_Alt, the side-specific ones A0..A5 kh_LShift .. kh_RAlt.
TKeyboardHookKey VirtualKeyToKeyCode(int virtualKey);
// The display name of a key code; empty text for 144 (kh_Return_KP) and above.
std::string KeyCodeToName(uint8_t keyCode);
// The usage the mouse stores for a key code: a HID keyboard usage, or for the media keys
// the mouse's own code C0..D1; 0 for keys the mouse cannot send.
int KeyCodeToHidUsage(uint8_t keyCode);
// The display name of a stored usage; empty text for a usage no key produces. Where two
// key codes share a usage the side-specific name is shown, and both Windows keys are
// "Win".
std::string HidUsageToKeyName(int usage);

} // namespace device
