// Key captions of the profiles on the user page and the engineering page, the nine
// combination-key buttons, the key-name cache, the no-device start and the device-macro
// keys found again by their cached names after the macros have moved.
#include "device/DefaultSetting.h"
#include "window/device/KeyCaptions.h"
#include "device/Macros.h"
#include "device/PCMacroLibrary.h"
#include "window/shell/LanguageTables.h"
#include "window/Main.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using device::image::ProfileKeyCount;

// 36 keys, 36 distinct names: the letters A..Z, then the digits 1..9 and 0.
const std::string kKeyNames = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";

class KeyCaptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<window::TForm1>(nullptr);
        form->LanguageNumber = 1;
        // Key k of profile p holds the keyboard key of usage 04 + 12 p + k: its name is
        // character 12 p + k of kKeyNames.
        for (int p = 0; p < 3; ++p)
            for (int k = 0; k < ProfileKeyCount; ++k)
                form->KeyCodeStrings[p][k] =
                    device::KeyboardKeysCode(0, static_cast<uint8_t>(0x04 + 12 * p + k));
    }
    static std::string Expected(int p, int k) { // 0-based
        return std::string(1, kKeyNames[12 * p + k]);
    }
    std::string LabelCaption(int k) { // 1-based
        return form->Named<controls::unicode::TWideLabel>("Key" + std::to_string(k)).Caption();
    }
    std::string ButtonCaption(const std::string& name) {
        return form->Named<controls::skin::TSkinButton>(name).Caption();
    }

    std::unique_ptr<window::TForm1> form;
};

TEST_F(KeyCaptionTest, ButtonNamesCarryProfileAndTwoDigitKey) {
    EXPECT_EQ(window::device::ProfileKeyButtonName(1, 1), "btn_Key101");
    EXPECT_EQ(window::device::ProfileKeyButtonName(2, 10), "btn_Key210");
    EXPECT_EQ(window::device::ProfileKeyButtonName(3, 12), "btn_Key312");
    EXPECT_EQ(window::device::ComboKeyButtonName(9), "btn_ComboKey009");
}

TEST_F(KeyCaptionTest, EachProfileRewritesTheSameTwelveLabels) {
    void (window::TForm1::*refresh[3])(platform::vcl::TObject*) = {
        &window::TForm1::RefreshProfile1Keys, &window::TForm1::RefreshProfile2Keys,
        &window::TForm1::RefreshProfile3Keys};
    for (int p : {0, 1, 2, 0}) {
        (form.get()->*refresh[p])(nullptr);
        for (int k = 0; k < ProfileKeyCount; ++k)
            EXPECT_EQ(LabelCaption(k + 1), Expected(p, k)) << p << "," << k;
    }
}

TEST_F(KeyCaptionTest, TheEngineeringButtonsShowEachProfileOnItsOwnRow) {
    form->TLRefreshProfile2Keys();
    for (int k = 0; k < ProfileKeyCount; ++k) {
        EXPECT_EQ(ButtonCaption(window::device::ProfileKeyButtonName(2, k + 1)), Expected(1, k));
        EXPECT_EQ(ButtonCaption(window::device::ProfileKeyButtonName(1, k + 1)), "");
        EXPECT_EQ(ButtonCaption(window::device::ProfileKeyButtonName(3, k + 1)), "");
    }
    form->TLRefreshProfile1Keys();
    form->TLRefreshProfile3Keys();
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < ProfileKeyCount; ++k)
            EXPECT_EQ(ButtonCaption(window::device::ProfileKeyButtonName(p + 1, k + 1)),
                      Expected(p, k));
    // The user page is not the engineering page.
    EXPECT_NE(LabelCaption(1), Expected(0, 0));
}

TEST_F(KeyCaptionTest, AnAllZeroRecordShowsKeyOff) {
    form->KeyCodeStrings[0][4] = "00000000";
    form->KeyCodeStrings[2][11] = "00000000";
    form->RefreshProfile1Keys();
    form->TLRefreshProfile3Keys();
    EXPECT_EQ(LabelCaption(5), "Key Off");
    EXPECT_EQ(ButtonCaption("btn_Key312"), "Key Off");
    EXPECT_EQ(LabelCaption(4), Expected(0, 3));
}

TEST_F(KeyCaptionTest, CaptionsFollowTheLanguage) {
    form->KeyCodeStrings[0][0] = "01010000";
    form->KeyCodeStrings[0][1] = "02030400";
    form->LanguageNumber = 2;
    form->RefreshProfile1Keys();
    form->TLRefreshProfile1Keys();
    const std::string left = window::shell::LanguageText(2, "Str210");
    ASSERT_NE(left, "Left Key");
    EXPECT_EQ(LabelCaption(1), left);
    EXPECT_EQ(ButtonCaption("btn_Key101"), left);
    EXPECT_EQ(LabelCaption(2), "Ctrl+Shift+A");
    form->LanguageNumber = 1;
    form->RefreshProfile1Keys();
    EXPECT_EQ(LabelCaption(1), "Left Key");
}

TEST_F(KeyCaptionTest, TheComboKeyButtonsShowTheCombinationRecords) {
    const char* codes[] = {"00000000", "07D1F020", "08010000", "09010004", "01040002",
                           "0300E200", "0B8F0000", "0A010000", "02040500"};
    const char* names[] = {"Key Off",        "Game Mode",        "Button Effect Switch",
                           "DPI Up",         "Middle Key",       "Mute",
                           "Fire Macro Off", "Adjust XY Switch", "Alt+B"};
    for (int n = 0; n < device::image::ComboRecordCount; ++n)
        form->ComboCodeStrings[n] = codes[n];
    form->cb_Profile2Color->SetItemIndex(0);
    form->RefreshComboKeyCaptions();
    for (int n = 0; n < device::image::ComboRecordCount; ++n)
        EXPECT_EQ(ButtonCaption(window::device::ComboKeyButtonName(n + 1)), names[n]) << n;
    // The switch's colour went to the engineering page with it.
    EXPECT_EQ(form->cb_Profile2Color->ItemIndex(), 10);
}

// ---- The key-name cache ------------------------------------------------------------

TEST_F(KeyCaptionTest, TheCacheHoldsTheNamesProfileByProfileKeyByKey) {
    form->RefreshKeyNameCache();
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(form->KeyNameCache[i], std::string(1, kKeyNames[i])) << i;
}

TEST_F(KeyCaptionTest, TheCacheIsStaleUntilItIsRebuilt) {
    form->RefreshKeyNameCache();
    form->KeyCodeStrings[1][0] = "05000000";
    EXPECT_EQ(form->KeyNameCache[12], "M");
    form->RefreshKeyNameCache();
    EXPECT_EQ(form->KeyNameCache[12], "AIM Key");
}

TEST_F(KeyCaptionTest, TheCacheFromTheButtonsIsWhatTheEngineeringPageShows) {
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= ProfileKeyCount; ++k)
            form->Named<controls::skin::TSkinButton>(window::device::ProfileKeyButtonName(p, k))
                .SetCaption("caption " + std::to_string(p) + "/" + std::to_string(k));
    window::device::CacheKeyNamesFromButtons(*form);
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= ProfileKeyCount; ++k)
            EXPECT_EQ(form->KeyNameCache[12 * (p - 1) + (k - 1)],
                      "caption " + std::to_string(p) + "/" + std::to_string(k));

    // After the page's refresh the two caches agree.
    form->TLRefreshProfile1Keys();
    form->TLRefreshProfile2Keys();
    form->TLRefreshProfile3Keys();
    window::device::CacheKeyNamesFromButtons(*form);
    const auto fromButtons = form->KeyNameCache;
    form->RefreshKeyNameCache();
    EXPECT_EQ(form->KeyNameCache, fromButtons);
}

// ---- The window's image ------------------------------------------------------------

class KeyCaptionImageTest : public KeyCaptionTest {
protected:
    void SetUp() override {
        KeyCaptionTest::SetUp();
        device::MemoryType = "I2C";
        device::LoadDefaultImages();
    }
    // Lays the named macros into the device macro area of the live image, each with a
    // body of `bodyLength` bytes (its closing 00 included).
    static void LayMacros(const std::vector<std::string>& names, size_t bodyLength) {
        const size_t area = device::image::DeviceMacroArea.Offset;
        std::fill_n(device::LiveImage.begin() + area, device::image::DeviceMacroArea.Length, 0);
        size_t at = area;
        for (const std::string& name : names) {
            const device::TMacroName stored = device::AsciiMacroName(name);
            std::copy(stored.begin(), stored.end(), device::LiveImage.begin() + at);
            at += stored.size();
            std::fill_n(device::LiveImage.begin() + at, bodyLength - 1, 0x01);
            at += bodyLength; // the last byte stays 00
        }
    }
};

TEST_F(KeyCaptionImageTest, TheNoDeviceStartShowsProfile1OfTheFirstDefaultImage) {
    form->RefreshErrorAP();
    const char* names[] = {"Left Key",   "Previous Track", "Home",       "Right Key",
                           "Next Track", "Volume -",       "Play/Pause", "DPI Loop",
                           "Key Off",    "Key Off",        "Key Off",    "Key Off"};
    for (int k = 0; k < ProfileKeyCount; ++k)
        EXPECT_EQ(LabelCaption(k + 1), names[k]) << k;
    // The no-device state refreshes the whole form, the engineering key buttons included.
    EXPECT_EQ(ButtonCaption("btn_Key101"), "Left Key");
}

TEST_F(KeyCaptionImageTest, DeviceMacroKeysFollowTheirMacrosByTheCachedNames) {
    form->DetectedInterface = "I2C";
    device::LiveImage = device::DefaultImage1;
    LayMacros({"Alpha", "Beta"}, 4);
    form->SplitLiveImage();
    form->DataBufToUI();
    // Beta starts at 496 + 16 + 4 + 16 = 532 = 0214; profile 2 key 6 runs it.
    form->KeyCodeStrings[1][5] = device::DeviceMacroCode(0x0214);
    form->RefreshKeyNameCache();
    EXPECT_EQ(form->KeyNameCache[12 + 5], "Beta");

    // Alpha grows: Beta moves to 496 + 16 + 10 + 16 = 538 = 021A.
    LayMacros({"Alpha", "Beta"}, 10);
    form->SplitLiveImage();
    form->RefreshMacroAddr();
    EXPECT_EQ(form->KeyCodeStrings[1][5], "10021A00");
    EXPECT_EQ(form->Profile2Copy[20], 0x10);
    EXPECT_EQ(form->Profile2Copy[21], 0x02);
    EXPECT_EQ(form->Profile2Copy[22], 0x1A);
    EXPECT_EQ(form->Profile2Copy[23], 0x00);
    // The other keys kept their codes.
    EXPECT_EQ(form->KeyCodeStrings[1][4], "01100000");
    form->RefreshKeyNameCache();
    EXPECT_EQ(form->KeyNameCache[12 + 5], "Beta");
}

} // namespace
