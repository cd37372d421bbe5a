// The code builder's parts without a window: fire-key and AIM bytes from their texts,
// the packing of the engineering page's choices, the profile switch and the choice of a
// code by menu id.
#include "device/Macros.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

using device::TButtonCodeState;
using device::TFunctionCodeParts;
using device::TProfileSettingChoice;

bool IsCode(const std::string& text) {
    if (text.size() != 8) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'A' || c > 'F')) return false;
    return true;
}

TEST(ButtonCodeFireKey, CountByteIsShotsAboveTenWithTheHoldBit) {
    for (int shots = 2; shots <= 15; ++shots) {
        const std::string text = std::to_string(shots);
        EXPECT_EQ(device::FireKeyCountByte(text, false),
                  platform::rtl::IntToHex(0x10 + shots - 1, 2));
        EXPECT_EQ(device::FireKeyCountByte(text, true),
                  platform::rtl::IntToHex(0x90 + shots - 1, 2));
    }
    EXPECT_EQ(device::FireKeyCountByte("2", false), "11");
    EXPECT_EQ(device::FireKeyCountByte("15", true), "9E");
    EXPECT_EQ(device::FireKeyCountByte("1", false), "10") << "a repeat edit while typing";
    EXPECT_EQ(device::FireKeyCountByte("16", false), "1F") << "count index 15 of the mouse";
}

TEST(ButtonCodeFireKey, IntervalIsTheDelayAsFourDigits) {
    EXPECT_EQ(device::FireKeyInterval("60"), "003C");
    EXPECT_EQ(device::FireKeyInterval("1"), "0001");
    EXPECT_EQ(device::FireKeyInterval("4094"), "0FFE");
    EXPECT_EQ(device::FireKeyInterval("65535"), "FFFF");
}

TEST(ButtonCodeFireKey, TextsThatAreNoNumberOrDoNotFitRaise) {
    EXPECT_THROW(device::FireKeyCountByte("", false), platform::rtl::EConvertError);
    EXPECT_THROW(device::FireKeyCountByte("3a", false), platform::rtl::EConvertError);
    EXPECT_THROW(device::FireKeyInterval(""), platform::rtl::EConvertError);
    // Values whose bytes would run into the neighbouring bytes of the code.
    EXPECT_THROW(device::FireKeyCountByte("113", false), platform::rtl::EConvertError)
        << "a count that would set the hold bit";
    EXPECT_THROW(device::FireKeyCountByte("-16", false), platform::rtl::EConvertError);
    EXPECT_THROW(device::FireKeyInterval("65536"), platform::rtl::EConvertError);
    EXPECT_THROW(device::FireKeyInterval("-1"), platform::rtl::EConvertError);
    try {
        device::FireKeyInterval("1x");
        ADD_FAILURE() << "no error";
    } catch (const platform::rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'1x' is not a valid integer value");
    }
}

TEST(ButtonCodeAim, LevelByteIsTheOneBasedLevelMinusOne) {
    EXPECT_EQ(device::AimLevelByte("1"), "00");
    EXPECT_EQ(device::AimLevelByte("8"), "07");
    EXPECT_EQ(device::AimLevelByte("256"), "FF");
    EXPECT_THROW(device::AimLevelByte(""), platform::rtl::EConvertError);
    EXPECT_THROW(device::AimLevelByte("0"), platform::rtl::EConvertError);
    EXPECT_THROW(device::AimLevelByte("257"), platform::rtl::EConvertError);
}

TEST(ButtonCodePacking, ColoursFromTheirCombosUnlessTheSyncTypeForcesF0) {
    TButtonCodeState state;
    TProfileSettingChoice choice;
    choice.LedModeItem = 0;
    choice.ProfileColorItems = {3, 10, 0};
    device::PackProfileSettings(choice, state);
    EXPECT_EQ(state.Profile1ColorCode, 0x30);
    EXPECT_EQ(state.Profile2ColorCode, 0xF0);
    EXPECT_EQ(state.Profile3ColorCode, 0x00);

    choice.LedModeItem = 1;
    choice.ProfileColorItems = {-1, -1, -1};
    device::PackProfileSettings(choice, state);
    EXPECT_EQ(state.Profile1ColorCode, 0xF0);
    EXPECT_EQ(state.Profile2ColorCode, 0xF0);
    EXPECT_EQ(state.Profile3ColorCode, 0xF0);

    // The smart type and a type combo without selection both read the colour combos.
    choice.ProfileColorItems = {1, 2, 9};
    for (int ledItem : {2, -1}) {
        choice.LedModeItem = ledItem;
        device::PackProfileSettings(choice, state);
        EXPECT_EQ(state.Profile1ColorCode, 0x10);
        EXPECT_EQ(state.Profile2ColorCode, 0x20);
        EXPECT_EQ(state.Profile3ColorCode, 0x90);
    }
}

TEST(ButtonCodePacking, BitsOffsetAndMasks) {
    TButtonCodeState state;
    TProfileSettingChoice choice;
    choice.RtzItem = 1;
    choice.AxyItem = 1;
    choice.CcItem = 1;
    choice.ProfileOffset = 0x2B;
    choice.MaskItems = {3, 4, 5, 1, 8, 0};
    device::PackProfileSettings(choice, state);
    EXPECT_EQ(state.RtzBit, 0x40);
    EXPECT_EQ(state.AxyBit, 0x20);
    EXPECT_EQ(state.CcBit, 0x10);
    EXPECT_EQ(state.ProfileOffset, 0x2B);
    EXPECT_EQ(state.MidComboMask, "04");
    EXPECT_EQ(state.BackComboMask, "08");
    EXPECT_EQ(state.ForwardComboMask, "10");
    EXPECT_EQ(state.CpiComboMask, "01");
    EXPECT_EQ(state.CpiUpComboMask, "80");
    EXPECT_EQ(state.CpiDownComboMask, "00");

    choice.RtzItem = 0;
    choice.AxyItem = 0;
    choice.CcItem = 0;
    device::PackProfileSettings(choice, state);
    EXPECT_EQ(state.RtzBit + state.AxyBit + state.CcBit, 0);
}

TEST(ButtonCodePacking, AComboWithoutAKnownItemLeavesItsTargetButTheOffsetAlwaysFollows) {
    TButtonCodeState state;
    state.Profile1ColorCode = 0x50;
    state.RtzBit = 0x40;
    state.CcBit = 0x10;
    state.ProfileOffset = 0x33;
    state.MidComboMask = "02";
    state.CpiDownComboMask = "08";
    TProfileSettingChoice choice; // nothing selected anywhere
    choice.ProfileColorItems = {11, -1, -1};
    choice.RtzItem = 2;
    choice.MaskItems = {9, -1, -1, -1, -1, -1};
    choice.ProfileOffset = 0;
    device::PackProfileSettings(choice, state);
    EXPECT_EQ(state.Profile1ColorCode, 0x50);
    EXPECT_EQ(state.RtzBit, 0x40);
    EXPECT_EQ(state.CcBit, 0x10);
    EXPECT_EQ(state.MidComboMask, "02");
    EXPECT_EQ(state.CpiDownComboMask, "08");
    EXPECT_EQ(state.ProfileOffset, 0);
}

TEST(ButtonCodeProfileSwitch, PackedOnlyForACombinationKeyRecord) {
    TButtonCodeState state;
    state.Profile1ColorCode = 0x10;
    state.Profile2ColorCode = 0x30;
    state.Profile3ColorCode = 0xF0;
    state.RtzBit = 0x40;
    state.AxyBit = 0x20;
    state.ProfileOffset = 0x20;
    state.ComboKeyMenuFlag = 1;
    EXPECT_EQ(device::ProfileSwitchCode(0, state), "07E01020");
    EXPECT_EQ(device::ProfileSwitchCode(1, state), "07E13020");
    EXPECT_EQ(device::ProfileSwitchCode(2, state), "07E2F020");
    for (uint8_t flag : {0, 2}) {
        state.ComboKeyMenuFlag = flag;
        EXPECT_EQ(device::ProfileSwitchCode(0, state), "07800000");
        EXPECT_EQ(device::ProfileSwitchCode(1, state), "07810000");
        EXPECT_EQ(device::ProfileSwitchCode(2, state), "07820000");
    }
}

TEST(ButtonCodeProfileSwitch, OffsetsFromOneHundredHexCarryIntoTheColourByte) {
    TButtonCodeState state;
    state.ComboKeyMenuFlag = 1;
    state.Profile1ColorCode = 0x30;
    state.ProfileOffset = 0x1FF;
    state.CcBit = 0x10;
    EXPECT_EQ(device::ProfileSwitchCode(0, state), "079031FF");
    state.ProfileOffset = 0xFF;
    EXPECT_EQ(device::ProfileSwitchCode(0, state), "079030FF");
    // The colour byte would need a ninth bit: refused rather than shifted into the code.
    state.Profile1ColorCode = 0xF0;
    state.ProfileOffset = 0x1000;
    EXPECT_THROW(device::ProfileSwitchCode(0, state), platform::rtl::EConvertError);
    state.ProfileOffset = -1;
    EXPECT_THROW(device::ProfileSwitchCode(0, state), platform::rtl::EConvertError);
}

class ButtonCodeChoice : public ::testing::Test {
protected:
    void SetUp() override {
        state.MidComboMask = "01";
        state.BackComboMask = "02";
        state.ForwardComboMask = "04";
        state.CpiComboMask = "08";
        state.CpiUpComboMask = "10";
        state.CpiDownComboMask = "20";
        parts.FireKeys = {"11000A", "92003C", "1E0FFE"};
        parts.AimLevelByte = "03";
        parts.FireMacroKey = device::FireMacroKeyCode();
    }
    TButtonCodeState state;
    TFunctionCodeParts parts;
};

TEST_F(ButtonCodeChoice, KeyOffForIdZeroAndTheKeyOffEntry) {
    EXPECT_EQ(device::ChooseFunctionCode(0, state, parts), "00000000");
    EXPECT_EQ(device::ChooseFunctionCode(1007, state, parts), "00000000");
}

TEST_F(ButtonCodeChoice, IdsWithoutACodeGiveTheEmptyText) {
    for (int id : {899,  905,  999,  1008, 1099, 1107, 1207, 1304, 1999, 2003,
                   2103, 2203, 2304, 2402, 2999, 3000, 3001, -1,   1,    100000})
        EXPECT_EQ(device::ChooseFunctionCode(id, state, parts), "") << id;
}

TEST_F(ButtonCodeChoice, EveryCodeIsEightHexDigitsOfAKnownClass) {
    int codes = 0;
    for (int id = 0; id <= 3001; ++id) {
        const std::string code = device::ChooseFunctionCode(id, state, parts);
        if (code.empty()) continue;
        ++codes;
        ASSERT_TRUE(IsCode(code)) << id << ": " << code;
        const int cls = device::ButtonFunctionFromText(code)[0];
        EXPECT_TRUE(cls <= 0x0C || cls == 0x0E || cls == 0x10) << id << ": " << code;
    }
    EXPECT_EQ(codes, 47) << "the 46 menu entries and id 0";
}

} // namespace
