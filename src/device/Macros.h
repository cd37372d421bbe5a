#pragma once
// Button functions: the 4-byte record every programmable input of the mouse holds (the
// twelve keys of each profile and the nine combination-key records), its text form of
// eight upper-case hexadecimal digits, and the codes the key-function menu produces.
//
// Byte 0 is the class, bytes 1..3 its parameters; values that span two parameter bytes
// (consumer usages, fire intervals, macro addresses) are stored high byte first.
#include "device/DeviceImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace device {

using TButtonFunction = std::array<uint8_t, image::ButtonFunctionSize>;

// The four bytes in stored order, two upper-case hex digits each ("0300E900").
std::string ButtonFunctionText(const uint8_t* record);
std::string ButtonFunctionText(const TButtonFunction& function);
// Reads the character pairs at 0, 2, 4 and 6 as hexadecimal bytes. A missing or
// malformed pair (the empty code among them) raises platform::rtl::EConvertError
// "'$..' is not a valid integer value", so no half-read code reaches a section copy.
TButtonFunction ButtonFunctionFromText(std::string_view code);

// The combination mask of item k of a mask combo ("0x00", "0x01" .. "0x80"): 00 for
// item 0, then bit k - 1; -1 for an item outside the nine.
int ComboMaskOfItem(int item);
// The colour code of a profile colour combo: items 0..9 the ten colours (00, 10 .. 90),
// item 10 the specified colour (F0); -1 for an item outside the eleven.
int ProfileColorCodeOfItem(int item);
// The colour code every profile gets while the sync LED type is chosen.
constexpr int SyncLedColorCode = 0xF0;
// Item of the LED-type combo that stands for the sync LED type.
constexpr int SyncLedModeItem = 1;

// Parts of a fire key code (class 06), from the performance page's texts. Each raises
// platform::rtl::EConvertError when its text is not a decimal integer or the value does not fit
// its byte(s): a longer text would shift the bytes that follow it in the code.
// Count byte: 10 + (shots - 1), plus 80 when the key keeps firing while held.
std::string FireKeyCountByte(std::string_view repeatText, bool hold);
// Delay between shots, four digits.
std::string FireKeyInterval(std::string_view delayText);
// The AIM key's level byte: the 1-based level text minus one, two digits.
std::string AimLevelByte(std::string_view levelText);

// Modifier bits of a keyboard code (class 02, byte 1).
constexpr uint8_t ModifierCtrl = 0x01;
constexpr uint8_t ModifierShift = 0x02;
constexpr uint8_t ModifierAlt = 0x04;
constexpr uint8_t ModifierWin = 0x08;
// Keyboard keys: modifiers, then up to two keys as keyboard usages or the mouse's
// media-key codes (00 = none).
std::string KeyboardKeysCode(uint8_t modifiers, uint8_t firstKey, uint8_t secondKey = 0);
// A consumer-page usage (class 03), high byte first.
std::string ConsumerKeyCode(uint16_t usage);

// A fire (gun) macro code of the fire page, class 0B: byte 1 is 10 when the left button
// is chosen plus the mode digit, byte 2 the variant, byte 3 the page's combination mask.
// Only the pairs the mouse knows are built (digits 0..4 with variant 1, 5 with 1..2,
// 7 with 1..3); any other gives the empty text.
std::string FireMacroCode(bool leftSelected, int modeDigit, int variant, uint8_t mask);
// A device macro's key code: class 10 with the macro's start address in the image.
std::string DeviceMacroCode(uint16_t startAddress);
// The fire-macro key: a macro key pointing at the fire-macro bodies, with FF in byte 3.
std::string FireMacroKeyCode();

// What the code builder keeps on the main window besides the controls it reads.
struct TButtonCodeState {
    // 1 while the key-function menu serves a combination-key record of the engineering
    // page, 0 while it serves a profile key.
    uint8_t ComboKeyMenuFlag = 0;
    // 1-based CPI level of the AIM key as decimal text; "1" until the AIM refresh sets
    // it, the level a profile without an AIM key shows.
    std::string AimLevelText = "1";
    // Profile-switch parameters, packed from the engineering page before every build.
    int Profile1ColorCode = 0;
    int Profile2ColorCode = 0;
    int Profile3ColorCode = 0;
    int RtzBit = 0;
    int AxyBit = 0;
    int CcBit = 0;
    int ProfileOffset = 0;
    // Combination masks as two hex digits, packed the same way.
    std::string MidComboMask;
    std::string BackComboMask;
    std::string ForwardComboMask;
    std::string CpiComboMask;
    std::string CpiUpComboMask;
    std::string CpiDownComboMask;
};

// The engineering page's choices the packing reads: combo item indices (-1 = none) and
// the offset edit's value.
struct TProfileSettingChoice {
    int LedModeItem = -1;
    std::array<int, 3> ProfileColorItems{-1, -1, -1};
    int RtzItem = -1;
    int AxyItem = -1;
    int CcItem = -1;
    int ProfileOffset = 0;
    // Mid, Back, Forward, CPI loop, CPI up, CPI down.
    std::array<int, 6> MaskItems{-1, -1, -1, -1, -1, -1};
};

// Packs the choices into the state. A combo without a selection, or with one outside
// its items, leaves its target as it was.
void PackProfileSettings(const TProfileSettingChoice& choice, TButtonCodeState& state);

// The texts a code is chosen from besides the packed state.
struct TFunctionCodeParts {
    std::array<std::string, 3> FireKeys; // count byte + interval of fire keys 1..3
    std::string AimLevelByte;
    std::string FireMacroKey; // empty without an I2C device
};

// Profile switch to profile p (0..2): with the menu serving a combination-key record,
// the packed bits, colour and offset; otherwise the plain switch.
std::string ProfileSwitchCode(int p, const TButtonCodeState& state);

// The code of menu id Id, or the empty text for an id without one.
std::string ChooseFunctionCode(int Id, const TButtonCodeState& state,
                               const TFunctionCodeParts& parts);

} // namespace device
