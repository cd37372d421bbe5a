#include "device/Macros.h"

#include "platform/rtl/SysUtils.h"

namespace device {
namespace {

std::string Hex2(int value) {
    return platform::rtl::IntToHex(static_cast<uint32_t>(value), 2);
}

// The image address where the ten fire-macro bodies start; the fire-macro key points
// there.
constexpr uint16_t FireMacroBodiesAddress =
    image::FireMacroArea.Offset + image::FireMacroBodies.Offset;

// A decimal text that must give a value within [low, high] once converted.
int RangedValue(std::string_view text, int low, int high, const char* what) {
    const int value = platform::rtl::StrToInt(text);
    if (value < low || value > high)
        throw platform::rtl::EConvertError("'" + std::string(text) + "' is out of range for " +
                                           what);
    return value;
}

} // namespace

std::string ButtonFunctionText(const uint8_t* record) {
    std::string text;
    for (int i = 0; i < image::ButtonFunctionSize; ++i)
        text += Hex2(record[i]);
    return text;
}

std::string ButtonFunctionText(const TButtonFunction& function) {
    return ButtonFunctionText(function.data());
}

TButtonFunction ButtonFunctionFromText(std::string_view code) {
    TButtonFunction bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        const std::string_view pair = 2 * i < code.size() ? code.substr(2 * i, 2) : "";
        bytes[i] = static_cast<uint8_t>(platform::rtl::HexToInt(pair));
    }
    return bytes;
}

int ComboMaskOfItem(int item) {
    if (item < 0 || item > 8) return -1;
    return item == 0 ? 0 : 1 << (item - 1);
}

int ProfileColorCodeOfItem(int item) {
    if (item < 0 || item > 10) return -1;
    return item == 10 ? 0xF0 : item * 0x10;
}

std::string FireKeyCountByte(std::string_view repeatText, bool hold) {
    // The count must leave bit 7 to the hold flag.
    const int shots = RangedValue(repeatText, 1 - 0x10, 0x7F - 0x10 + 1, "a fire key's shots");
    return Hex2(0x10 + shots - 1 + (hold ? 0x80 : 0));
}

std::string FireKeyInterval(std::string_view delayText) {
    return platform::rtl::IntToHex(
        static_cast<uint32_t>(RangedValue(delayText, 0, 0xFFFF, "a fire key's interval")), 4);
}

std::string AimLevelByte(std::string_view levelText) {
    return Hex2(RangedValue(levelText, 1, 0x100, "an AIM level") - 1);
}

std::string KeyboardKeysCode(uint8_t modifiers, uint8_t firstKey, uint8_t secondKey) {
    return "02" + Hex2(modifiers) + Hex2(firstKey) + Hex2(secondKey);
}

std::string ConsumerKeyCode(uint16_t usage) {
    return "03" + platform::rtl::IntToHex(uint32_t{usage}, 4) + "00";
}

std::string FireMacroCode(bool leftSelected, int modeDigit, int variant, uint8_t mask) {
    int lastVariant = 0;
    if (modeDigit >= 0 && modeDigit <= 4)
        lastVariant = 1;
    else if (modeDigit == 5)
        lastVariant = 2;
    else if (modeDigit == 7)
        lastVariant = 3;
    if (variant < 1 || variant > lastVariant) return {};
    return "0B" + Hex2((leftSelected ? 0x10 : 0) + modeDigit) + Hex2(variant) + Hex2(mask);
}

std::string DeviceMacroCode(uint16_t startAddress) {
    return "10" + platform::rtl::IntToHex(uint32_t{startAddress}, 4) + "00";
}

std::string FireMacroKeyCode() {
    return "10" + platform::rtl::IntToHex(uint32_t{FireMacroBodiesAddress}, 4) + "FF";
}

void PackProfileSettings(const TProfileSettingChoice& choice, TButtonCodeState& state) {
    int* colours[3] = {&state.Profile1ColorCode, &state.Profile2ColorCode,
                       &state.Profile3ColorCode};
    for (int p = 0; p < 3; ++p) {
        const int code = choice.LedModeItem == SyncLedModeItem
                             ? SyncLedColorCode
                             : ProfileColorCodeOfItem(choice.ProfileColorItems[p]);
        if (code >= 0) *colours[p] = code;
    }

    auto bit = [](int item, int value, int& target) {
        if (item == 0 || item == 1) target = item == 1 ? value : 0;
    };
    bit(choice.RtzItem, 0x40, state.RtzBit);
    bit(choice.AxyItem, 0x20, state.AxyBit);
    bit(choice.CcItem, 0x10, state.CcBit);

    state.ProfileOffset = choice.ProfileOffset;

    std::string* masks[6] = {&state.MidComboMask, &state.BackComboMask,  &state.ForwardComboMask,
                             &state.CpiComboMask, &state.CpiUpComboMask, &state.CpiDownComboMask};
    for (size_t i = 0; i < choice.MaskItems.size(); ++i) {
        const int mask = ComboMaskOfItem(choice.MaskItems[i]);
        if (mask >= 0) *masks[i] = Hex2(mask);
    }
}

std::string ProfileSwitchCode(int p, const TButtonCodeState& state) {
    if (state.ComboKeyMenuFlag != 1) return "078" + std::to_string(p) + "0000";
    const int colours[3] = {state.Profile1ColorCode, state.Profile2ColorCode,
                            state.Profile3ColorCode};
    const int offset = state.ProfileOffset;
    const int colourByte = colours[p] + offset / 256;
    // The offset edit takes two digits from the keyboard; a longer text set in code must
    // not spill into the neighbouring bytes.
    if (offset < 0 || colourByte > 0xFF)
        throw platform::rtl::EConvertError(
            "'" + platform::rtl::IntToHex(static_cast<uint32_t>(offset), 1) +
            "' is out of range for a profile offset");
    return "07" + Hex2(0x80 + p + state.RtzBit + state.AxyBit + state.CcBit) + Hex2(colourByte) +
           Hex2(offset % 256);
}

std::string ChooseFunctionCode(int Id, const TButtonCodeState& state,
                               const TFunctionCodeParts& parts) {
    switch (Id) {
    case 0:
        return "00000000";
    // Mouse buttons; only middle, backward and forward combine with another input.
    case 900:
        return "01010000";
    case 901:
        return "01020000";
    case 902:
        return "010400" + state.MidComboMask;
    case 903:
        return "010800" + state.BackComboMask;
    case 904:
        return "011000" + state.ForwardComboMask;
    // Special keys.
    case 1000:
        return "05" + parts.AimLevelByte + "0000";
    case 1001:
        return "0E000000";
    case 1002:
        return "08000000";
    case 1003:
        return "08010000";
    case 1004:
        return "0C000000";
    case 1005:
        return parts.FireMacroKey;
    case 1006:
        return "0B8F0000";
    case 1007:
        return "00000000";
    // Media keys.
    case 1100: // play/pause
        return ConsumerKeyCode(0x00CD);
    case 1101: // stop
        return ConsumerKeyCode(0x00B7);
    case 1102: // previous track
        return ConsumerKeyCode(0x00B6);
    case 1103: // next track
        return ConsumerKeyCode(0x00B5);
    case 1104: // volume up
        return ConsumerKeyCode(0x00E9);
    case 1105: // volume down
        return ConsumerKeyCode(0x00EA);
    case 1106: // mute
        return ConsumerKeyCode(0x00E2);
    // Browser keys.
    case 1200: // home
        return ConsumerKeyCode(0x0223);
    case 1201: // search
        return ConsumerKeyCode(0x0221);
    case 1202: // back
        return ConsumerKeyCode(0x0224);
    case 1203: // forward
        return ConsumerKeyCode(0x0225);
    case 1204: // stop
        return ConsumerKeyCode(0x0226);
    case 1205: // refresh
        return ConsumerKeyCode(0x0227);
    case 1206: // bookmarks
        return ConsumerKeyCode(0x022A);
    // Application launch keys and the desktop.
    case 1300: // local machine browser
        return ConsumerKeyCode(0x0194);
    case 1301: // calculator
        return ConsumerKeyCode(0x0192);
    case 1302: // e-mail reader
        return ConsumerKeyCode(0x018A);
    case 1303: // Win + D
        return KeyboardKeysCode(ModifierWin, 0x07);
    // CPI keys.
    case 2000:
        return "090000" + state.CpiComboMask;
    case 2001:
        return "090100" + state.CpiUpComboMask;
    case 2002:
        return "090200" + state.CpiDownComboMask;
    // Fire keys.
    case 2100:
        return "06" + parts.FireKeys[0];
    case 2101:
        return "06" + parts.FireKeys[1];
    case 2102:
        return "06" + parts.FireKeys[2];
    // System keys.
    case 2200:
        return "04010000";
    case 2201:
        return "04020000";
    case 2202:
        return "04030000";
    // Profile keys.
    case 2300:
        return ProfileSwitchCode(0, state);
    case 2301:
        return ProfileSwitchCode(1, state);
    case 2302:
        return ProfileSwitchCode(2, state);
    case 2303:
        return "07000000";
    // Adjust-XY keys.
    case 2400:
        return "0A000000";
    case 2401:
        return "0A010000";
    default:
        return {};
    }
}

} // namespace device
