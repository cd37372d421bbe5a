#include "device/KeyboardFunction.h"

#include <array>
#include <string_view>

namespace device {
namespace {

constexpr int NoKey = -1; // a key code no virtual key produces

struct KeyRow {
    TKeyboardHookKey key;
    std::string_view name;
    int virtualKey;
    int usage; // HID keyboard usage or the mouse's media-key code; 0 = not storable
};

// One row per key code, in code order.
constexpr std::array<KeyRow, KeyboardHookKeyCount> KeyTable{{
    {kh_None, "None", NoKey, 0x00},
    {kh_Demo, "Demo", NoKey, 0x00},
    {kh_255, "255", 0xFF, 0x00},
    {kh_Back, "Backspace", 0x08, 0x2A},
    {kh_Tab, "Tab", 0x09, 0x2B},
    {kh_Clear, "Clear", 0x0C, 0x9C},
    {kh_Return, "Enter", 0x0D, 0x28},
    {kh_Shift, "Shift", 0x10, 0xE1},
    {kh_Control, "Ctrl", 0x11, 0xE0},
    {kh_Alt, "Alt", 0x12, 0xE2},
    {kh_Pause, "Pause", 0x13, 0x48},
    {kh_Capital, "Caps Lock", 0x14, 0x39},
    {kh_Escape, "Esc", 0x1B, 0x29},
    {kh_Space, "Space bar", 0x20, 0x2C},
    {kh_Prior, "Page Up", 0x21, 0x4B},
    {kh_Next, "Page Down", 0x22, 0x4E},
    {kh_End, "End", 0x23, 0x4D},
    {kh_Home, "Home", 0x24, 0x4A},
    {kh_Left, "Left Arrow", 0x25, 0x50},
    {kh_Up, "Up Arrow", 0x26, 0x52},
    {kh_Right, "Right Arrow", 0x27, 0x4F},
    {kh_Down, "Down Arrow", 0x28, 0x51},
    {kh_Select, "Select", 0x29, 0x77},
    {kh_Snapshot, "Print Screen", 0x2C, 0x46},
    {kh_Insert, "Insert", 0x2D, 0x49},
    {kh_Delete, "Delete", 0x2E, 0x4C},
    {kh_Help, "Help", 0x2F, 0x75},
    {kh_LWIN, "Left Windows", 0x5B, 0xE3},
    {kh_RWIN, "Right Windows", 0x5C, 0xE7},
    {kh_APPS, "Applications", 0x5D, 0x65},
    {kh_Numpad0, "0 (numeric pad)", 0x60, 0x62},
    {kh_Numpad1, "1 (numeric pad)", 0x61, 0x59},
    {kh_Numpad2, "2 (numeric pad)", 0x62, 0x5A},
    {kh_Numpad3, "3 (numeric pad)", 0x63, 0x5B},
    {kh_Numpad4, "4 (numeric pad)", 0x64, 0x5C},
    {kh_Numpad5, "5 (numeric pad)", 0x65, 0x5D},
    {kh_Numpad6, "6 (numeric pad)", 0x66, 0x5E},
    {kh_Numpad7, "7 (numeric pad)", 0x67, 0x5F},
    {kh_Numpad8, "8 (numeric pad)", 0x68, 0x60},
    {kh_Numpad9, "9 (numeric pad)", 0x69, 0x61},
    {kh_Multiply, "Multiply (numeric pad)", 0x6A, 0x55},
    {kh_Add, "Add (numeric pad)", 0x6B, 0x57},
    {kh_Separator, "Separator (numeric pad)", 0x6C, 0x58},
    {kh_Subtract, "Subtract (numeric pad)", 0x6D, 0x56},
    {kh_Decimal, "Decimal (numeric pad)", 0x6E, 0x63},
    {kh_Divide, "Divide (numeric pad)", 0x6F, 0x54},
    {kh_F1, "F1", 0x70, 0x3A},
    {kh_F2, "F2", 0x71, 0x3B},
    {kh_F3, "F3", 0x72, 0x3C},
    {kh_F4, "F4", 0x73, 0x3D},
    {kh_F5, "F5", 0x74, 0x3E},
    {kh_F6, "F6", 0x75, 0x3F},
    {kh_F7, "F7", 0x76, 0x40},
    {kh_F8, "F8", 0x77, 0x41},
    {kh_F9, "F9", 0x78, 0x42},
    {kh_F10, "F10", 0x79, 0x43},
    {kh_F11, "F11", 0x7A, 0x44},
    {kh_F12, "F12", 0x7B, 0x45},
    {kh_F13, "F13", 0x7C, 0x68},
    {kh_F14, "F14", 0x7D, 0x69},
    {kh_F15, "F15", 0x7E, 0x6A},
    {kh_F16, "F16", 0x7F, 0x6B},
    {kh_F17, "F17", 0x80, 0x6C},
    {kh_F18, "F18", 0x81, 0x6D},
    {kh_F19, "F19", 0x82, 0x6E},
    {kh_F20, "F20", 0x83, 0x6F},
    {kh_F21, "F21", 0x84, 0x70},
    {kh_F22, "F22", 0x85, 0x71},
    {kh_F23, "F23", 0x86, 0x72},
    {kh_F24, "F24", 0x87, 0x73},
    {kh_Numlock, "Num Lock", 0x90, 0x53},
    {kh_Scroll, "Scroll Lock", 0x91, 0x47},
    {kh_LShift, "Left Shift", 0xA0, 0xE1},
    {kh_RShift, "Right Shift", 0xA1, 0xE5},
    {kh_LControl, "Left Ctrl", 0xA2, 0xE0},
    {kh_RControl, "Right Ctrl", 0xA3, 0xE4},
    {kh_LAlt, "Left Alt", 0xA4, 0xE2},
    {kh_RAlt, "Right Alt", 0xA5, 0xE6},
    {kh_A, "A", 0x41, 0x04},
    {kh_B, "B", 0x42, 0x05},
    {kh_C, "C", 0x43, 0x06},
    {kh_D, "D", 0x44, 0x07},
    {kh_E, "E", 0x45, 0x08},
    {kh_F, "F", 0x46, 0x09},
    {kh_G, "G", 0x47, 0x0A},
    {kh_H, "H", 0x48, 0x0B},
    {kh_I, "I", 0x49, 0x0C},
    {kh_J, "J", 0x4A, 0x0D},
    {kh_K, "K", 0x4B, 0x0E},
    {kh_L, "L", 0x4C, 0x0F},
    {kh_M, "M", 0x4D, 0x10},
    {kh_N, "N", 0x4E, 0x11},
    {kh_O, "O", 0x4F, 0x12},
    {kh_P, "P", 0x50, 0x13},
    {kh_Q, "Q", 0x51, 0x14},
    {kh_R, "R", 0x52, 0x15},
    {kh_S, "S", 0x53, 0x16},
    {kh_T, "T", 0x54, 0x17},
    {kh_U, "U", 0x55, 0x18},
    {kh_V, "V", 0x56, 0x19},
    {kh_W, "W", 0x57, 0x1A},
    {kh_X, "X", 0x58, 0x1B},
    {kh_Y, "Y", 0x59, 0x1C},
    {kh_Z, "Z", 0x5A, 0x1D},
    {kh_0, "0", 0x30, 0x27},
    {kh_1, "1", 0x31, 0x1E},
    {kh_2, "2", 0x32, 0x1F},
    {kh_3, "3", 0x33, 0x20},
    {kh_4, "4", 0x34, 0x21},
    {kh_5, "5", 0x35, 0x22},
    {kh_6, "6", 0x36, 0x23},
    {kh_7, "7", 0x37, 0x24},
    {kh_8, "8", 0x38, 0x25},
    {kh_9, "9", 0x39, 0x26},
    {kh_OEM_1, "OEM_1", 0xBA, 0x33},
    {kh_OEM_2, "OEM_2", 0xBF, 0x38},
    {kh_OEM_3, "OEM_3", 0xC0, 0x35},
    {kh_OEM_4, "OEM_4", 0xDB, 0x2F},
    {kh_OEM_5, "OEM_5", 0xDC, 0x31},
    {kh_OEM_6, "OEM_6", 0xDD, 0x30},
    {kh_OEM_7, "OEM_7", 0xDE, 0x34},
    {kh_OEM_8, "OEM_8", 0xDF, 0x00},
    {kh_OEM_Plus, "OEM_Plus", 0xBB, 0x2E},
    {kh_OEM_Comma, "OEM_Comma", 0xBC, 0x36},
    {kh_OEM_Minus, "OEM_Minus", 0xBD, 0x2D},
    {kh_OEM_Period, "OEM_Period", 0xBE, 0x37},
    {kh_Browser_Back, "Browser_Back", 0xA6, 0xCA},
    {kh_Browser_Forward, "Browser_Forward", 0xA7, 0xCB},
    {kh_Browser_Refresh, "Browser_Refresh", 0xA8, 0xCD},
    {kh_Browser_Stop, "Browser_Stop", 0xA9, 0xCC},
    {kh_Browser_Search, "Browser_Search", 0xAA, 0xC8},
    {kh_Browser_Favorites, "Browser_Favorites", 0xAB, 0xCE},
    {kh_Browser_Home, "Browser_Home", 0xAC, 0xC9},
    {kh_Volume_Mute, "Volume_Mute", 0xAD, 0xC4},
    {kh_Volume_Down, "Volume_Down", 0xAE, 0xC6},
    {kh_Volume_Up, "Volume_Up", 0xAF, 0xC5},
    {kh_Media_Next_Track, "Media_Next_Track", 0xB0, 0xC0},
    {kh_Media_Prev_Track, "Media_Prev_Track", 0xB1, 0xC1},
    {kh_Media_Stop, "Media_Stop", 0xB2, 0xC2},
    {kh_Media_Play_Pause, "Media_Play_Pause", 0xB3, 0xC3},
    {kh_Launch_Mail, "Launch_Mail", 0xB4, 0xC7},
    {kh_Launch_Media_Select, "Launch_Media_Select", 0xB5, 0xD1},
    {kh_Launch_App1, "Launch_App1", 0xB6, 0x00},
    {kh_Launch_App2, "Launch_App2", 0xB7, 0x00},
    {kh_Return_KP, "", NoKey, 0x00},
}};

constexpr bool RowsInCodeOrder() {
    for (size_t i = 0; i < KeyTable.size(); ++i)
        if (KeyTable[i].key != i) return false;
    return true;
}
static_assert(RowsInCodeOrder());

constexpr std::array<TKeyboardHookKey, 256> VirtualKeyTable = [] {
    std::array<TKeyboardHookKey, 256> table{};
    for (const KeyRow& row : KeyTable)
        if (row.virtualKey != NoKey) table[row.virtualKey] = row.key;
    return table;
}();

constexpr int HighestUsage = 0xE7;

// By usage, the key code whose name is shown. Codes are walked in order and a later code
// replaces an earlier one of the same usage, so the side-specific modifiers (72..77) win
// over the generic ones (7..9).
constexpr std::array<int, HighestUsage + 1> UsageTable = [] {
    std::array<int, HighestUsage + 1> table{};
    for (auto& code : table)
        code = NoKey;
    for (const KeyRow& row : KeyTable)
        if (row.usage != 0) table[row.usage] = row.key;
    return table;
}();

} // namespace

TKeyboardHookKey VirtualKeyToKeyCode(int virtualKey) {
    if (virtualKey < 0x08 || virtualKey > 0xFF) return kh_None;
    return VirtualKeyTable[virtualKey];
}

std::string KeyCodeToName(uint8_t keyCode) {
    if (keyCode >= KeyTable.size()) return {};
    return std::string(KeyTable[keyCode].name);
}

int KeyCodeToHidUsage(uint8_t keyCode) {
    if (keyCode >= KeyTable.size()) return 0;
    return KeyTable[keyCode].usage;
}

std::string HidUsageToKeyName(int usage) {
    if (usage <= 0 || usage > HighestUsage) return {};
    // The mouse sends one usage for either Windows key.
    if (usage == 0xE3 || usage == 0xE7) return "Win";
    const int code = UsageTable[usage];
    return code == NoKey ? std::string() : KeyCodeToName(static_cast<uint8_t>(code));
}

} // namespace device
