#include "window/device/ButtonNames.h"

#include "device/KeyboardFunction.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"

#include "platform/rtl/SysUtils.h"

#include <utility>
#include <vector>

namespace window::device {
namespace {

// The texts of one language table, opened for one naming call.
class LanguageNames {
public:
    explicit LanguageNames(int language)
        : table_(shell::SharedLanguageTable(language)),
          section_(shell::LanguageSectionName(language)) {}
    // A key the table lacks reads as the empty text.
    std::string operator()(std::string_view key) const {
        return table_->ReadString(section_, key, "");
    }

private:
    std::shared_ptr<const platform::rtl::TMemIniFile> table_;
    std::string section_;
};

// Characters [first, first + count) of the code (0-based), or as many as it has: a code
// that is too short gives short fields, which fail to convert where they are read as
// numbers and never equal a full field where they are compared as text.
std::string_view Field(std::string_view code, size_t first, size_t count) {
    if (first >= code.size()) return {};
    return code.substr(first, count);
}

int HexField(std::string_view code, size_t first, size_t count) {
    return platform::rtl::HexToInt(Field(code, first, count));
}

// Whole codes with a name of their own. No class these codes belong to is named by a
// rule below as well, so the order of the two look-ups does not matter.
constexpr std::pair<std::string_view, std::string_view> NamedCodes[] = {
    {"00000000", "Str277"}, // key off
    {"01010000", "Str210"}, // left button, never with a mask
    {"01020000", "Str211"}, // right button
    {"0E000000", "Str261"}, // LED mode
    {"08000000", "Str262"}, // LED switch
    {"08010000", "Str263"}, // button-effect switch
    {"0C000000", "Str264"}, // report rate
    {"1006A0FF", "Str265"}, // fire-macro key
    {"1070A0FF", "Str265"}, // fire-macro key, older form
    {"04010000", "Str241"}, // power down
    {"04020000", "Str242"}, // sleep
    {"04030000", "Str243"}, // wake up
    {"0300CD00", "Str270"}, // play/pause
    {"0300B700", "Str271"}, // stop
    {"0300B600", "Str272"}, // previous track
    {"0300B500", "Str273"}, // next track
    {"0300E900", "Str274"}, // volume +
    {"0300EA00", "Str275"}, // volume -
    {"0300E200", "Str276"}, // mute
    {"03022300", "Str280"}, // browser home
    {"03022100", "Str281"}, // browser search
    {"03022400", "Str282"}, // browser back
    {"03022500", "Str283"}, // browser forward
    {"03022600", "Str284"}, // browser stop
    {"03022700", "Str285"}, // browser refresh
    {"03022A00", "Str286"}, // favourites
    {"03019400", "Str290"}, // my computer
    {"03019200", "Str291"}, // calculator
    {"03018A00", "Str292"}, // e-mail
    {"02080700", "Str293"}, // desktop (Win + D), named before the keyboard rule
    {"0A000000", "Str268"}, // adjust-XY function
    {"0A010000", "Str269"}, // adjust-XY switch
    {"0B8F0000", "Str266"}, // fire macro off
};

// Mouse buttons with a combination mask and CPI keys: byte 1 decides, byte 3 is the mask.
constexpr std::pair<std::string_view, std::string_view> MaskedButtons[] = {
    {"04", "Str212"}, // middle
    {"08", "Str213"}, // backward
    {"10", "Str214"}, // forward
};
constexpr std::pair<std::string_view, std::string_view> CpiKeys[] = {
    {"00", "Str221"}, // CPI loop
    {"01", "Str222"}, // CPI up
    {"02", "Str223"}, // CPI down
};

// The fire presets by the first six characters of a fire-macro code: the left-button
// digit and the combination mask make no difference to the name.
constexpr std::pair<std::string_view, std::string_view> FirePresets[] = {
    {"0B0001", "Str600"}, {"0B1001", "Str600"}, {"0B0101", "Str601"}, {"0B1101", "Str601"},
    {"0B0201", "Str602"}, {"0B1201", "Str602"}, {"0B0301", "Str603"}, {"0B1301", "Str603"},
    {"0B0401", "Str604"}, {"0B1401", "Str604"}, {"0B0501", "Str605"}, {"0B1501", "Str605"},
    {"0B0502", "Str605"}, {"0B1502", "Str605"}, {"0B0701", "Str606"}, {"0B1701", "Str606"},
    {"0B0702", "Str606"}, {"0B1702", "Str606"}, {"0B0703", "Str606"}, {"0B1703", "Str606"},
};

template <size_t N>
std::string_view KeyOf(const std::pair<std::string_view, std::string_view> (&table)[N],
                       std::string_view text) {
    for (const auto& [match, key] : table)
        if (match == text) return key;
    return {};
}

// A fire key (class 06) is known by its shot count and interval alone: the first of the
// three fire keys with both wins, and the hold bit only goes to its hold box.
std::string FireKeyName(window::TForm1& form, std::string_view code, const LanguageNames& text) {
    const int countByte = HexField(code, 2, 2);
    const int interval = HexField(code, 4, 4);
    const int shotsLessOne = countByte & 0x0F;
    for (int n = 0; n < 3; ++n) {
        if (shotsLessOne != form.FireKeyShots[n] - 1 || interval != form.FireKeyInterval[n])
            continue;
        // The program's own filling of the hold boxes must not be answered by them: their
        // click handling, which runs on a change, sees the guard up and writes nothing.
        if (form.FireHoldSyncGuard == 0) {
            const settings::FireHoldSyncScope guard(form);
            form.Named<controls::skin::TSkinCheckBox>("cb_Fire" + std::to_string(n + 1) +
                                                      "Continue")
                .SetChecked((countByte & 0x80) != 0);
        }
        return text("Str23" + std::to_string(n + 1));
    }
    return {};
}

// A switch to one profile (class 07, byte 1 not 00): bit 7 and the target in bits 1..0
// name it; the return-to-zero, adjust-XY and change-colour bits and the offset are not
// shown. Its colour nibble puts the profile's colour combo on that colour.
std::string ProfileSwitchName(window::TForm1& form, std::string_view code,
                              const LanguageNames& text) {
    const int target = HexField(code, 2, 2) & 0x87;
    if (target < 0x80 || target > 0x82) return {};
    const int profile = target - 0x80 + 1;
    const int colour = HexField(code, 4, 2) / 16;
    auto& combo =
        form.Named<controls::skin::TSkinComboBox>("cb_Profile" + std::to_string(profile) + "Color");
    if (colour <= 9)
        combo.SetItemIndex(colour);
    else if (colour == 0xF)
        combo.SetItemIndex(10); // the specified colour
    return text("Str25" + std::to_string(profile));
}

// Modifier words and key names joined by "+"; a key the tables do not name still adds
// its separator.
std::string KeyboardKeysName(std::string_view code, const LanguageNames& text) {
    const int modifiers = HexField(code, 2, 2);
    const int keys[2] = {HexField(code, 4, 2), HexField(code, 6, 2)};
    std::string name;
    auto append = [&name](std::string_view part) {
        if (!name.empty()) name += KeySeparator;
        name += part;
    };
    for (int bit = 0; bit < 4; ++bit)
        if (modifiers & (1 << bit)) append(ModifierWords[bit]);
    for (int key : keys)
        if (key != 0) append(::device::HidUsageToKeyName(key));
    return name.empty() ? text("Str205") : name;
}

// With the fire-script file, a fire-macro code is named after the script slot whose
// record begins with the same three bytes (the last such slot); without it, after the
// preset its mode and variant choose.
void FireMacroName(window::TForm1& form, std::string_view code, const LanguageNames& text,
                   std::string& name) {
    const std::string_view head = Field(code, 0, 6);
    if (form.FireScriptsLoaded == 1) {
        for (size_t i = 0; i < form.FireScriptCodes.size(); ++i)
            if (head == Field(form.FireScriptCodes[i], 0, 6))
                name = std::string(FireScriptWord) + std::to_string(i + 1);
        return;
    }
    const std::string_view key = KeyOf(FirePresets, head);
    if (!key.empty()) name = text(key);
}

// A device macro's key carries its start address; the name is that of the slot in use
// starting there (the last such slot), and only while the device has its I2C memory.
void DeviceMacroName(window::TForm1& form, std::string_view code, std::string& name) {
    const int address = HexField(code, 2, 4);
    if (form.DetectedInterface != "I2C") return;
    const platform::vcl::TItemList& names = form.LB_Name->Items();
    for (int slot = 0; slot < ::device::DeviceMacroSlots; ++slot) {
        if (form.DeviceMacros.StartAddress[slot] != address || form.DeviceMacros.Length[slot] == 0)
            continue;
        // The list is filled from the same tables; a slot without its item has no name.
        if (slot < names.Count()) name = names.Get(slot);
    }
}

void SecondStage(window::TForm1& form, std::string_view code, const LanguageNames& text,
                 std::string& name) {
    switch (HexField(code, 0, 2)) {
    case 0x02:
        name = KeyboardKeysName(code, text);
        break;
    case 0x0B:
        FireMacroName(form, code, text, name);
        break;
    case 0x10:
        DeviceMacroName(form, code, name);
        break;
    default:
        break;
    }
}

std::string NameOf(window::TForm1& form, std::string_view code, const LanguageNames& text) {
    if (const std::string_view key = KeyOf(NamedCodes, code); !key.empty()) return text(key);

    const std::string_view cls = Field(code, 0, 2);
    const std::string_view byte1 = Field(code, 2, 2);
    if (cls == "01") {
        const std::string_view key = KeyOf(MaskedButtons, byte1);
        if (!key.empty()) return text(key);
    } else if (cls == "05") {
        return text("Str260"); // AIM key, whatever its level
    } else if (cls == "09") {
        const std::string_view key = KeyOf(CpiKeys, byte1);
        if (!key.empty()) return text(key);
    } else if (cls == "06") {
        return FireKeyName(form, code, text);
    } else if (cls == "07") {
        if (byte1 == "00") return text("Str254"); // profile switch loop
        return ProfileSwitchName(form, code, text);
    }
    std::string name;
    SecondStage(form, code, text, name);
    return name;
}

} // namespace

std::string CodeToFunctionName(window::TForm1& form, std::string_view code) {
    return NameOf(form, code, LanguageNames(form.LanguageNumber));
}

std::vector<std::string> CodesToFunctionNames(window::TForm1& form,
                                              const std::vector<std::string>& codes) {
    const LanguageNames text(form.LanguageNumber);
    std::vector<std::string> names;
    names.reserve(codes.size());
    for (const std::string& code : codes)
        names.push_back(NameOf(form, code, text));
    return names;
}

void ComboOrMacroCodeToName(window::TForm1& form, std::string_view code, std::string& Name) {
    SecondStage(form, code, LanguageNames(form.LanguageNumber), Name);
}

} // namespace window::device
