// Button functions in their text form, and the codes built from their parts: keyboard
// and consumer keys, device macros, the fire-macro key and the fire page's gun macros.
#include "device/Macros.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

namespace {

using device::ButtonFunctionFromText;
using device::ButtonFunctionText;
using device::TButtonFunction;

// The message of the conversion error the call raises, or "" when it raises none.
template <class F> std::string ConversionError(F call) {
    try {
        call();
    } catch (const platform::rtl::EConvertError& e) {
        return e.Message();
    }
    return "";
}

TEST(ButtonCodeText, BytesInStoredOrderAsUpperCaseHexPairs) {
    EXPECT_EQ(ButtonFunctionText(TButtonFunction{0x03, 0x00, 0xE9, 0x00}), "0300E900");
    EXPECT_EQ(ButtonFunctionText(TButtonFunction{0x10, 0x06, 0xA0, 0xFF}), "1006A0FF");
    const uint8_t record[6] = {0x0A, 0x01, 0x00, 0x00, 0xEE, 0xEE};
    EXPECT_EQ(ButtonFunctionText(record), "0A010000") << "only four bytes are read";
}

TEST(ButtonCodeText, EveryByteValueSurvivesTheTextInEveryPosition) {
    for (int position = 0; position < 4; ++position) {
        for (int value = 0; value < 256; ++value) {
            TButtonFunction function{0x5A, 0xA5, 0x3C, 0xC3};
            function[position] = static_cast<uint8_t>(value);
            const std::string text = ButtonFunctionText(function);
            ASSERT_EQ(text.size(), 8u);
            ASSERT_EQ(ButtonFunctionFromText(text), function) << text;
        }
    }
}

TEST(ButtonCodeText, ParsingReadsPairsAndIgnoresWhatFollowsTheFourth) {
    EXPECT_EQ(ButtonFunctionFromText("0300e900"), (TButtonFunction{0x03, 0x00, 0xE9, 0x00}));
    EXPECT_EQ(ButtonFunctionFromText("07C13020XX"), (TButtonFunction{0x07, 0xC1, 0x30, 0x20}));
}

TEST(ButtonCodeText, AnEmptyOrBrokenCodeFailsWithTheIntegerConversionError) {
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText(""); }),
              "'$' is not a valid integer value");
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText("0300E9"); }),
              "'$' is not a valid integer value")
        << "a missing fourth byte";
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText("0300E"); }),
              "'$' is not a valid integer value")
        << "a single digit is still a byte; the fourth is missing";
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText("0300E9 0"); }),
              "'$ 0' is not a valid integer value");
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText("03G0E900"); }),
              "'$G0' is not a valid integer value");
    EXPECT_EQ(ConversionError([] { ButtonFunctionFromText("03-1E900"); }),
              "'$-1' is not a valid integer value");
}

TEST(ButtonCodeText, KeyboardCodesCarryModifierBitsThenTwoKeys) {
    EXPECT_EQ(device::KeyboardKeysCode(device::ModifierWin, 0x07), "02080700");
    EXPECT_EQ(device::KeyboardKeysCode(device::ModifierCtrl | device::ModifierShift |
                                           device::ModifierAlt | device::ModifierWin,
                                       0x04, 0xC0),
              "020F04C0");
    EXPECT_EQ(device::KeyboardKeysCode(device::ModifierCtrl, 0, 0), "02010000");
    EXPECT_EQ(device::KeyboardKeysCode(device::ModifierShift | device::ModifierAlt, 0x2C),
              "02062C00");
}

TEST(ButtonCodeText, ConsumerCodesCarryTheUsageHighByteFirst) {
    EXPECT_EQ(device::ConsumerKeyCode(0x00E9), "0300E900");
    EXPECT_EQ(device::ConsumerKeyCode(0x022A), "03022A00");
    EXPECT_EQ(device::ConsumerKeyCode(0xFFFF), "03FFFF00");
}

TEST(ButtonCodeText, DeviceMacroCodesCarryTheStartAddressHighByteFirst) {
    EXPECT_EQ(device::DeviceMacroCode(0x01F0), "1001F000");
    EXPECT_EQ(device::DeviceMacroCode(0x03FF), "1003FF00");
    EXPECT_EQ(device::DeviceMacroCode(0), "10000000");
}

TEST(ButtonCodeText, TheFireMacroKeyPointsAtTheFireMacroBodies) {
    EXPECT_EQ(device::FireMacroKeyCode(), "1006A0FF");
    const TButtonFunction key = ButtonFunctionFromText(device::FireMacroKeyCode());
    EXPECT_EQ(key[1] * 256 + key[2], 1696);
}

TEST(ButtonCodeText, FireMacroCodesOnlyForTheModesAndVariantsTheMouseKnows) {
    EXPECT_EQ(device::FireMacroCode(false, 0, 1, 0x00), "0B000100");
    EXPECT_EQ(device::FireMacroCode(true, 4, 1, 0x08), "0B140108");
    EXPECT_EQ(device::FireMacroCode(false, 5, 2, 0x02), "0B050202");
    EXPECT_EQ(device::FireMacroCode(true, 7, 3, 0x80), "0B170380");
    EXPECT_EQ(device::FireMacroCode(true, 7, 1, 0x00), "0B170100");

    EXPECT_EQ(device::FireMacroCode(false, 6, 1, 0), "") << "digit 6 is not used";
    EXPECT_EQ(device::FireMacroCode(false, 4, 2, 0), "");
    EXPECT_EQ(device::FireMacroCode(false, 5, 3, 0), "");
    EXPECT_EQ(device::FireMacroCode(false, 7, 4, 0), "");
    EXPECT_EQ(device::FireMacroCode(false, 0, 0, 0), "");
    EXPECT_EQ(device::FireMacroCode(false, 8, 1, 0), "");
    EXPECT_EQ(device::FireMacroCode(false, -1, 1, 0), "");
    EXPECT_NE(device::FireMacroCode(false, 0, 1, 0), "0B8F0000")
        << "no fire page code may read as the fire macro off key";
}

TEST(ButtonCodeText, MaskComboItemsGiveNoBitThenOneBitEach) {
    const int expected[9] = {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    for (int item = 0; item < 9; ++item)
        EXPECT_EQ(device::ComboMaskOfItem(item), expected[item]) << item;
    EXPECT_EQ(device::ComboMaskOfItem(-1), -1);
    EXPECT_EQ(device::ComboMaskOfItem(9), -1);
}

TEST(ButtonCodeText, ProfileColourItemsGiveTheHighNibbleOrTheSpecifiedColour) {
    for (int item = 0; item < 10; ++item)
        EXPECT_EQ(device::ProfileColorCodeOfItem(item), item * 16) << item;
    EXPECT_EQ(device::ProfileColorCodeOfItem(10), 0xF0);
    EXPECT_EQ(device::ProfileColorCodeOfItem(-1), -1);
    EXPECT_EQ(device::ProfileColorCodeOfItem(11), -1);
}

} // namespace
