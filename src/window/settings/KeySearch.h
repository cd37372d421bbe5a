#pragma once
// What the settings pages look for among the 36 profile keys. The keys are found by their
// display names (the key-name cache); what a found key holds is read from its code text.
#include <array>
#include <string>
#include <string_view>

namespace window {
class TForm1;
}

namespace window::settings {

// Byte i (0..3) of an eight-digit code; a malformed pair raises platform::rtl::EConvertError.
int CodeByte(const std::string& code, int i);

// Bit 7 of a fire key's count byte: the key keeps firing while held.
constexpr int FireHoldBit = 0x80;

// The buttons a combination mask can be put on, in the order of the mask texts.
enum ComboFunction {
    ComboMiddle,
    ComboBackward,
    ComboForward,
    ComboDpiLoop,
    ComboDpiUp,
    ComboDpiDown,
    ComboFunctionCount
};

// The switches between the mouse's office and gaming modes that a key can carry: items
// 1..6 of cb_ChangeFireFun and the marks Img_ComboKey2..Img_ComboKey7, in this order. A
// key carries one when its name is the function's (a language key) and its record's
// combination mask is the switch's: held for three seconds, or pressed with the right
// button.
struct GamingModeSwitch {
    const char* nameKey;
    int mask;
};
constexpr int HeldMask = 0x08;
constexpr int WithRightButtonMask = 0x02;
constexpr int GamingModeSwitchCount = 6;
constexpr GamingModeSwitch GamingModeSwitches[GamingModeSwitchCount] = {
    {"Str212", HeldMask},            // middle button
    {"Str221", HeldMask},            // DPI loop
    {"Str222", HeldMask},            // DPI up
    {"Str223", HeldMask},            // DPI down
    {"Str213", WithRightButtonMask}, // backward button
    {"Str214", WithRightButtonMask}, // forward button
};
// The mask of switch item 1..6 of cb_ChangeFireFun; 0 for item 0 ("No") or no item.
int GamingModeSwitchMask(int item);

// The names of the functions the searches look for, in the window's current language:
// what a key's name is compared with.
struct KeyFunctionNames {
    explicit KeyFunctionNames(const window::TForm1& form);
    // The fire key (1..3) a key name stands for, 0 for none.
    int FireKeyOf(const std::string& name) const;
    bool IsAim(const std::string& name) const { return !name.empty() && name == aim; }
    // The combinable button (ComboFunction) a key name stands for, -1 for none.
    int ComboFunctionOf(const std::string& name) const;

    std::array<std::string, 3> fireKeys;
    std::string aim;
    std::array<std::string, ComboFunctionCount> combos;
    std::array<std::string, GamingModeSwitchCount> gamingSwitches;
};

// Whether a key name is a fire script's: "Fire Macro1" .. "Fire Macro10".
bool IsFireScriptName(const std::string& name);

} // namespace window::settings
