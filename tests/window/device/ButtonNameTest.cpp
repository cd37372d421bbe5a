// Display names of button functions on the main window: every class of code, the fire-key
// and profile-switch matches with their effects on the engineering page, keyboard keys,
// fire macros, device macros, the language of the names and codes that cannot be read.
#include "window/device/ButtonNames.h"
#include "device/Macros.h"
#include "window/device/FunctionCodes.h"
#include "window/shell/LanguageTables.h"
#include "window/Main.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ButtonNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<window::TForm1>(nullptr);
        form->LanguageNumber = 1;
        // Fire key 1: 5 shots, 100 ms; fire key 2: 3 shots, 60 ms; fire key 3: 8 shots, 60 ms.
        form->FireKeyShots = {5, 3, 8};
        form->FireKeyInterval = {100, 60, 60};
        form->FireScriptsLoaded = 0;
    }
    std::string Name(std::string_view code) {
        return window::device::CodeToFunctionName(*form, code);
    }
    controls::skin::TSkinCheckBox& Hold(int n) {
        return form->Named<controls::skin::TSkinCheckBox>("cb_Fire" + std::to_string(n) +
                                                          "Continue");
    }
    controls::skin::TSkinComboBox& Colour(int p) {
        return form->Named<controls::skin::TSkinComboBox>("cb_Profile" + std::to_string(p) +
                                                          "Color");
    }
    // Device macro slot: start address, length, name in the list.
    void SetMacroSlot(int slot, uint16_t start, uint16_t length, const std::string& name) {
        form->DeviceMacros.StartAddress[slot] = start;
        form->DeviceMacros.Length[slot] = length;
        platform::vcl::TItemList& names = form->LB_Name->Items();
        while (names.Count() <= slot)
            names.Add("");
        names.Put(slot, name);
    }

    std::unique_ptr<window::TForm1> form;
};

struct NamedCode {
    const char* code;
    const char* name; // in the English table
};

// Every code the key-function menu builds, and the variants a rule accepts.
const NamedCode kEnglishNames[] = {
    {"00000000", "Key Off"},
    {"01010000", "Left Key"},
    {"01020000", "Right Key"},
    {"01040000", "Middle Key"},
    {"01040080", "Middle Key"},
    {"01080000", "Backward"},
    {"01080002", "Backward"},
    {"01100000", "Forward"},
    {"011000FF", "Forward"},
    {"05000000", "AIM Key"},
    {"05070000", "AIM Key"},
    {"05FF1234", "AIM Key"},
    {"0E000000", "LED Mode"},
    {"08000000", "LED Switch"},
    {"08010000", "Button Effect Switch"},
    {"0C000000", "Report Rate"},
    {"1006A0FF", "Fire Macro Key"},
    {"1070A0FF", "Fire Macro Key"},
    {"09000000", "DPI Loop"},
    {"09000008", "DPI Loop"},
    {"09010040", "DPI Up"},
    {"09020080", "DPI Down"},
    {"04010000", "Power Down"},
    {"04020000", "Sleep"},
    {"04030000", "Wake Up"},
    {"07000000", "KB Switch Loop"},
    {"07001234", "KB Switch Loop"},
    {"0300CD00", "Play/Pause"},
    {"0300B700", "Stop"},
    {"0300B600", "Previous Track"},
    {"0300B500", "Next Track"},
    {"0300E900", "Volume +"},
    {"0300EA00", "Volume -"},
    {"0300E200", "Mute"},
    {"03022300", "Home"},
    {"03022100", "Search"},
    {"03022400", "Back"},
    {"03022500", "Forward"},
    {"03022600", "Stop"},
    {"03022700", "Refresh"},
    {"03022A00", "Favorites"},
    {"03019400", "My Computer"},
    {"03019200", "Calculator"},
    {"03018A00", "E-Mail"},
    {"02080700", "Desktop"},
    {"0A000000", "Adjust XY Fn"},
    {"0A010000", "Adjust XY Switch"},
    {"0B8F0000", "Fire Macro Off"},
};

TEST_F(ButtonNameTest, EveryMenuCodeHasItsEnglishName) {
    for (const NamedCode& c : kEnglishNames)
        EXPECT_EQ(Name(c.code), c.name) << c.code;
}

TEST_F(ButtonNameTest, EveryCodeOfTheKeyMenuIsNamed) {
    // The menu's own codes, built as the menu builds them, each with a name.
    form->DetectedInterface = "I2C";
    for (int id :
         {0,    900,  901,  902,  903,  904,  1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1100,
          1101, 1102, 1103, 1104, 1105, 1106, 1200, 1201, 1202, 1203, 1204, 1205, 1206, 1300, 1301,
          1302, 1303, 2000, 2001, 2002, 2200, 2201, 2202, 2300, 2301, 2302, 2303, 2400, 2401}) {
        const std::string code = window::device::FunctionIdToCode(*form, id);
        EXPECT_FALSE(Name(code).empty()) << id << " " << code;
    }
}

TEST_F(ButtonNameTest, CodesNoRuleNamesGiveTheEmptyText) {
    for (const char* code :
         {"01010001", // left button with a mask reaches the second stage
          "01200000", "00000001", "04000000", "04040000", "08020000",   "09030000",
          "0A020000", "0C000001", "0E000001", "0300E300", "03022300FF", "0D000000",
          "0F000000", "11000000", "FF000000", "07B30000", "07830000",   "0B060100",
          "0B8E0000", "10020000", "1006A0FE", "0300e900"}) // upper-case only
        EXPECT_EQ(Name(code), "") << code;
}

// ---- Fire keys ---------------------------------------------------------------------

TEST_F(ButtonNameTest, AFireKeyIsKnownByCountAndIntervalAndSetsItsHoldBox) {
    EXPECT_EQ(Name("0692003C"), "Fire Key2");
    EXPECT_TRUE(Hold(2).Checked());
    EXPECT_EQ(Name("0612003C"), "Fire Key2");
    EXPECT_FALSE(Hold(2).Checked());
    EXPECT_FALSE(Hold(1).Checked());
    EXPECT_FALSE(Hold(3).Checked());

    EXPECT_EQ(Name("06940064"), "Fire Key1"); // 5 shots, 100
    EXPECT_TRUE(Hold(1).Checked());
    EXPECT_EQ(Name("0617003C"), "Fire Key3"); // 8 shots, 60
    // Only the low nibble of the count byte counts.
    EXPECT_EQ(Name("0602003C"), "Fire Key2");
}

TEST_F(ButtonNameTest, AFireKeyThatMatchesNoneHasNoNameAndTouchesNoBox) {
    Hold(2).SetChecked(true);
    EXPECT_EQ(Name("0692003D"), ""); // no fire key of interval 61
    EXPECT_EQ(Name("0613003C"), ""); // 4 shots: none
    EXPECT_EQ(Name("06120000"), "");
    EXPECT_TRUE(Hold(2).Checked());
}

TEST_F(ButtonNameTest, EqualFireKeysGiveTheFirst) {
    form->FireKeyShots = {3, 3, 8};
    form->FireKeyInterval = {60, 60, 60};
    EXPECT_EQ(Name("0692003C"), "Fire Key1");
    EXPECT_EQ(Name("0612003C"), "Fire Key1");
}

TEST_F(ButtonNameTest, TheGuardKeepsTheHoldBoxesButNotTheName) {
    Hold(2).SetChecked(false);
    form->FireHoldSyncGuard = 1;
    EXPECT_EQ(Name("0692003C"), "Fire Key2");
    EXPECT_FALSE(Hold(2).Checked());
    form->FireHoldSyncGuard = 0;
    EXPECT_EQ(Name("0692003C"), "Fire Key2");
    EXPECT_TRUE(Hold(2).Checked());
}

TEST_F(ButtonNameTest, ChangingAHoldBoxRunsItsClickHandling) {
    int clicks = 0;
    Hold(3).OnClick = [&clicks](platform::vcl::TObject*) { ++clicks; };
    Name("0697003C"); // hold set: changes the box
    Name("0697003C"); // no change: no click
    Name("0617003C");
    EXPECT_EQ(clicks, 2);
}

// ---- Profile switches --------------------------------------------------------------

TEST_F(ButtonNameTest, AProfileSwitchNamesItsProfileAndPutsItsColourOnTheCombo) {
    Colour(2).SetItemIndex(0);
    EXPECT_EQ(Name("07C13020"), "Game Mode");
    EXPECT_EQ(Colour(2).ItemIndex(), 3);

    EXPECT_EQ(Name("07800000"), "Office Mode");
    EXPECT_EQ(Colour(1).ItemIndex(), 0);
    EXPECT_EQ(Name("07F2F000"), "Third Mode"); // RTZ, adjust-XY and colour bits ignored
    EXPECT_EQ(Colour(3).ItemIndex(), 10);      // the specified colour
    EXPECT_EQ(Name("078A9000"), "Third Mode"); // bit 3 ignored
    EXPECT_EQ(Colour(3).ItemIndex(), 9);
}

TEST_F(ButtonNameTest, ColoursAToELeaveTheComboAndOtherProfilesGiveNothing) {
    Colour(2).SetItemIndex(5);
    EXPECT_EQ(Name("0781A000"), "Game Mode");
    EXPECT_EQ(Name("0781E3FF"), "Game Mode");
    EXPECT_EQ(Colour(2).ItemIndex(), 5);

    Colour(1).SetItemIndex(4);
    EXPECT_EQ(Name("07B30000"), ""); // target 3
    EXPECT_EQ(Name("07030000"), ""); // bit 7 clear
    EXPECT_EQ(Colour(1).ItemIndex(), 4);
}

// ---- Keyboard keys -----------------------------------------------------------------

TEST_F(ButtonNameTest, KeyboardCodesJoinModifiersAndKeyNames) {
    EXPECT_EQ(Name("02030400"), "Ctrl+Shift+A");
    EXPECT_EQ(Name("020F0405"), "Ctrl+Shift+Alt+Win+A+B");
    EXPECT_EQ(Name("02001E04"), "1+A");
    EXPECT_EQ(Name("02080800"), "Win+E");
    EXPECT_EQ(Name("020000E3"), "Win");
    EXPECT_EQ(Name("020400C0"), "Alt+Media_Next_Track");
    EXPECT_EQ(Name("02000058"), "Separator (numeric pad)");
    EXPECT_EQ(Name("02000000"), "User-defined");
    EXPECT_EQ(Name("02F00000"), "User-defined"); // bits 4..7 are not shown
    EXPECT_EQ(Name("02F10000"), "Ctrl");
}

TEST_F(ButtonNameTest, AKeyWithoutANameStillAddsItsSeparator) {
    EXPECT_EQ(Name("02013200"), "Ctrl+");
    EXPECT_EQ(Name("02013204"), "Ctrl++A");
    EXPECT_EQ(Name("0200CF04"), "A"); // nothing before it: no separator
    EXPECT_EQ(Name("0200CF00"), "User-defined");
}

// ---- Fire macros -------------------------------------------------------------------

TEST_F(ButtonNameTest, WithoutTheScriptFileFireMacrosAreNamedByTheirPreset) {
    const NamedCode presets[] = {
        {"0B000100", "AKM Fire"},
        {"0B100155", "AKM Fire"},
        {"0B010100", "M16A4 Fire"},
        {"0B110100", "M16A4 Fire"},
        {"0B020100", "M416 Fire"},
        {"0B120100", "M416 Fire"},
        {"0B030100", "UMP9 Fire"},
        {"0B130100", "UMP9 Fire"},
        {"0B040100", "SCAR-L Fire"},
        {"0B140100", "SCAR-L Fire"},
        {"0B050100", "5.56mm Fire"},
        {"0B150200", "5.56mm Fire"},
        {"0B050200", "5.56mm Fire"},
        {"0B150100", "5.56mm Fire"},
        {"0B070100", "7.62mm Fire"},
        {"0B170200", "7.62mm Fire"},
        {"0B070300", "7.62mm Fire"},
        {"0B170308", "7.62mm Fire"},
        {"0B060100", ""},
        {"0B000200", ""},
        {"0B050300", ""},
        {"0B070400", ""},
        {"0B200100", ""},
    };
    for (const NamedCode& c : presets)
        EXPECT_EQ(Name(c.code), c.name) << c.code;
}

TEST_F(ButtonNameTest, WithTheScriptFileFireMacrosAreNamedByTheirSlot) {
    form->FireScriptsLoaded = 1;
    form->FireScriptCodes = {"0B000110", "00000000", "0B150201", "0B000120", "00000000",
                             "00000000", "00000000", "00000000", "00000000", "0B170300"};
    // The first three bytes decide; with several matching slots the last one names it.
    EXPECT_EQ(Name("0B0001FF"), "Fire Macro4");
    EXPECT_EQ(Name("0B150200"), "Fire Macro3");
    EXPECT_EQ(Name("0B170308"), "Fire Macro10");
    // The presets are not consulted.
    EXPECT_EQ(Name("0B050100"), "");
    EXPECT_EQ(Name("0B8F0000"), "Fire Macro Off");
}

// ---- Device macros -----------------------------------------------------------------

TEST_F(ButtonNameTest, ADeviceMacroKeyTakesTheMacrosNameOnlyWithI2C) {
    SetMacroSlot(0, 0x0200, 20, "Alpha");
    SetMacroSlot(1, 0x0214, 9, "Beta");
    EXPECT_EQ(Name("10020000"), "");
    form->DetectedInterface = "I2C";
    EXPECT_EQ(Name("10020000"), "Alpha");
    EXPECT_EQ(Name("10021400"), "Beta");
    EXPECT_EQ(Name("10021412"), "Beta"); // byte 3 takes no part
    EXPECT_EQ(Name("10030000"), "");
    // The fire-macro key needs no device.
    form->DetectedInterface = "";
    EXPECT_EQ(Name("1006A0FF"), "Fire Macro Key");
}

TEST_F(ButtonNameTest, EmptySlotsDoNotNameAndTheLastMatchingSlotWins) {
    form->DetectedInterface = "I2C";
    SetMacroSlot(0, 0x0300, 0, "Empty");
    EXPECT_EQ(Name("10030000"), "");
    SetMacroSlot(1, 0x0300, 5, "First");
    SetMacroSlot(2, 0x0300, 5, "Second");
    EXPECT_EQ(Name("10030000"), "Second");
}

TEST_F(ButtonNameTest, TheSecondStageLeavesANameItCannotGiveAsItWas) {
    std::string name = "kept";
    window::device::ComboOrMacroCodeToName(*form, "0B060100", name);
    EXPECT_EQ(name, "kept");
    window::device::ComboOrMacroCodeToName(*form, "01010001", name);
    EXPECT_EQ(name, "kept");
    window::device::ComboOrMacroCodeToName(*form, "02000400", name);
    EXPECT_EQ(name, "A");
}

// ---- Language ----------------------------------------------------------------------

TEST_F(ButtonNameTest, NamesFollowTheCurrentLanguage) {
    for (int n : {2, 3, 1}) {
        form->LanguageNumber = n;
        for (const auto& [code, key] : {std::pair{"01010000", "Str210"},
                                        {"0692003C", "Str232"},
                                        {"07C13020", "Str252"},
                                        {"02000000", "Str205"},
                                        {"0B170300", "Str606"},
                                        {"1006A0FF", "Str265"}}) {
            const std::string expected = window::shell::LanguageText(n, key);
            ASSERT_FALSE(expected.empty()) << n << " " << key;
            EXPECT_EQ(Name(code), expected) << n << " " << code;
        }
    }
    // The tables differ where the test relies on it.
    EXPECT_NE(window::shell::LanguageText(2, "Str210"), "Left Key");
    EXPECT_NE(window::shell::LanguageText(3, "Str606"), "7.62mm Fire");
}

TEST_F(ButtonNameTest, ModifierWordsAndScriptNamesAreTheSameInEveryLanguage) {
    form->FireScriptsLoaded = 1;
    form->FireScriptCodes[1] = "0B000100";
    for (int n : {1, 2, 3}) {
        form->LanguageNumber = n;
        EXPECT_EQ(Name("020F0400"), "Ctrl+Shift+Alt+Win+A") << n;
        EXPECT_EQ(Name("0B000100"), "Fire Macro2") << n;
    }
}

// ---- Codes that cannot be read -----------------------------------------------------

TEST_F(ButtonNameTest, NumbersThatAreNoHexadecimalDigitsRaiseTheConversionError) {
    for (const char* code : {"0G000000", "", "06ZZ003C", "0692ZZZZ", "0792ZZ00", "07ZZ0000",
                             "02GG0000", "0201GG00", "020104GG", "10GG0000", "10"})
        EXPECT_THROW(Name(code), platform::rtl::EConvertError) << code;
}

TEST_F(ButtonNameTest, CharactersThatAreOnlyComparedNeverRaise) {
    for (const char* code :
         {"0300ZZ00", "0101ZZZZ", "05ZZZZZZ", "09ZZ0000", "04ZZ0000", "0B1701ZZ", "07B3ZZZZ"})
        EXPECT_NO_THROW(Name(code)) << code;
}

} // namespace
