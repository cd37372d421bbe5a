// The engineering page's steps of the whole-form refresh on section bytes at the edges of
// their ranges, and the refresh's silence towards the mouse.
#include "FormRefreshTestSupport.h"

#include "window/device/DeviceTexts.h"
#include "window/shell/LanguageCaptions.h"

#include <map>

namespace devtest {
namespace {

class FormRefreshEdgeTest : public FormRefreshTest {};

TEST_F(FormRefreshEdgeTest, IndicationBitsZeroAndOneBothShowTheFirstItem) {
    for (uint8_t bits : {0x00, 0x10}) {
        form->VendorCopy[5] = bits;
        Refresh();
        EXPECT_EQ(Item("cb_CPIIndication"), 0) << int(bits);
    }
    form->VendorCopy[5] = 0x30;
    Refresh();
    EXPECT_EQ(Item("cb_CPIIndication"), 2);
}

TEST_F(FormRefreshEdgeTest, InverseMappingsOfCpiSetAndPrescale) {
    const int cpiSet[] = {3, 2, 1, 0};
    const int prescale[] = {3, 1, 2, 0};
    for (int bits = 0; bits < 4; ++bits) {
        form->VendorCopy[5] = static_cast<uint8_t>(bits << 2);
        form->VendorCopy[6] = static_cast<uint8_t>(bits << 4);
        Refresh();
        EXPECT_EQ(Item("cb_CPISet"), cpiSet[bits]) << bits;
        EXPECT_EQ(Item("cb_CPIPrescaleSel"), prescale[bits]) << bits;
    }
}

TEST_F(FormRefreshEdgeTest, SmartLedTypeTakesCountAndModeFromTheSameByte) {
    form->UserCopy[1] = 0xC5;
    Refresh();
    EXPECT_EQ(Item("cb_LEDMode"), 2);
    EXPECT_EQ(form->LedType, "NT");
    EXPECT_TRUE(Shown("cb_LEDNum"));
    EXPECT_EQ(Item("cb_LEDNum"), 4);
    EXPECT_EQ(Item("cb_BreMode"), 4);
    EXPECT_EQ(Item("cb_Package"), 0) << "the LED type decides the package shown";
    // The smart type has no mode 3: its modes 4 and 5 take the last two of its names.
    EXPECT_EQ(form->Named<platform::vcl::TControl>("cb_Mode2").Caption(),
              window::shell::LedModeNames[11]);
    EXPECT_EQ(form->Named<platform::vcl::TControl>("cb_Mode4").Caption(),
              window::shell::LedModeNames[12]);
    EXPECT_EQ(form->Named<platform::vcl::TControl>("cb_Mode5").Caption(),
              window::shell::LedModeNames[13]);
    form->UserCopy[1] = 0x85;
    Refresh();
    EXPECT_EQ(Item("cb_LEDNum"), 0);
    EXPECT_EQ(Item("cb_BreMode"), 4);
    // The smart type has no mode 3: nothing is selected in the list the refresh has just
    // rebuilt.
    form->UserCopy[1] = 0x81;
    Refresh();
    ASSERT_EQ(Item("cb_BreMode"), 1);
    form->UserCopy[1] = 0x83;
    Refresh();
    EXPECT_EQ(Item("cb_BreMode"), -1);
}

TEST_F(FormRefreshEdgeTest, SyncTypeOffersThreeModesAndHidesTheColours) {
    form->UserCopy[1] = 0x42;
    form->VendorCopy[42] = 0x05; // modes 0 and 2 enabled
    Refresh();
    EXPECT_EQ(form->LedType, "Sync");
    // The sync type's names are entries 6 to 8 of the caption table's mode names.
    EXPECT_EQ(form->Named<platform::vcl::TComboBox>("cb_BreMode").Items().ToVector(),
              (std::vector<std::string>{window::shell::LedModeNames[6], "------",
                                        window::shell::LedModeNames[8]}));
    EXPECT_EQ(form->Named<platform::vcl::TControl>("cb_Mode1").Caption(),
              window::shell::LedModeNames[7]);
    EXPECT_EQ(Item("cb_BreMode"), 2);
    EXPECT_FALSE(Shown("cb_Mode3"));
    EXPECT_FALSE(Shown("gbLEDColor"));
    EXPECT_FALSE(Shown("cb_Profile1Color"));
    EXPECT_TRUE(Shown("lbl_LED1"));
    EXPECT_FALSE(Shown("lbl_LED2")) << "a disabled mode is not offered on the lighting page";
    EXPECT_FALSE(Shown("Img_LED4"));
}

TEST_F(FormRefreshEdgeTest, ButtonEffectFourAndFiveShowAsZeroAndOne) {
    const std::map<uint8_t, int> cases = {{0, 0}, {1, 1}, {2, -1}, {3, -1}, {4, 0}, {5, 1}};
    for (const auto& [value, item] : cases) {
        form->UserCopy[3] = value;
        Refresh();
        EXPECT_EQ(Item("cb_BtnEFT"), item) << int(value);
    }
}

TEST_F(FormRefreshEdgeTest, RecoilOffsetsAreSignedBytes) {
    const std::map<uint8_t, std::string> cases = {
        {0xF6, "-10"}, {0x7F, "127"}, {0x80, "-128"}, {0xFF, "-1"}};
    for (const auto& [value, text] : cases) {
        form->UserCopy[7] = value;
        form->UserCopy[26] = value;
        Refresh();
        EXPECT_EQ(Text("edt_XOffset1"), text);
        EXPECT_EQ(Text("edt_YOffset10"), text);
    }
}

TEST_F(FormRefreshEdgeTest, HexFieldsKeepTheirDigitCount) {
    form->VendorCopy[0] = 0x00;
    form->VendorCopy[1] = 0x0A;
    form->VendorCopy[9] = 5;
    Refresh();
    EXPECT_EQ(Text("edt_VID"), "000A");
    EXPECT_EQ(Text("edt_Avg_lb_lq"), "05");
    form->VendorCopy[9] = 0xAB;
    Refresh();
    EXPECT_EQ(Text("edt_Avg_lb_lq"), "AB");
}

TEST_F(FormRefreshEdgeTest, UnusedLevelNibbleSelectsNoCpiValue) {
    SetLevelNibble(1, 15);
    SetLevelNibble(6, 3);
    Refresh();
    EXPECT_EQ(Item("cb_CPI1"), -1);
    EXPECT_EQ(Item("cb_CPI6"), 3);
}

TEST_F(FormRefreshEdgeTest, ProductTextEndsAtTheFirstZeroByte) {
    const char text[] = "AB\0CD";
    std::copy(text, text + 6, form->VendorCopy.begin() + 111);
    Refresh();
    EXPECT_EQ(Text("edt_USBDesc"), "AB");
}

TEST_F(FormRefreshEdgeTest, ProductTextShowsEachByteAsOneCharacterOfTheAnsiCodePage) {
    // Sixteen bytes fill the field: no terminator then.
    const char text[] = "Souris \xE9l\xE8ve \x80\x99!";
    ASSERT_EQ(sizeof text - 1, 16u);
    std::copy(text, text + 16, form->VendorCopy.begin() + 111);
    Refresh();
    EXPECT_EQ(Text("edt_USBDesc"), "Souris \u00E9l\u00E8ve \u20AC\u2122!");
}

TEST_F(FormRefreshEdgeTest, ProfileColourTenToFourteenKeepsTheShownItem) {
    form->UserCopy[0] = 0x31;
    Refresh();
    ASSERT_EQ(Item("cb_ProfileColor"), 3);
    form->UserCopy[0] = 0xC1;
    Refresh();
    EXPECT_EQ(Item("cb_ProfileColor"), 3);
    form->UserCopy[0] = 0xF1;
    Refresh();
    EXPECT_EQ(Item("cb_ProfileColor"), 10);
}

TEST_F(FormRefreshEdgeTest, FireKeysComeFromTheIdentityAndTheKeysThatCarryThem) {
    // Fire key 2: 4 shots every 300; profile 1's key 5 carries it, held, with 4 shots.
    form->IdentityCopy[5] = 3;
    form->IdentityCopy[6] = 0x01;
    form->IdentityCopy[7] = 0x2C;
    form->KeyCodeStrings[0][4] = "0683012C";
    form->UserCopy[0] = 0x00;
    form->ComboCodeStrings.fill("00000000"); // no combination key set
    Refresh();
    EXPECT_EQ(form->FireKeyShots[1], 4);
    EXPECT_EQ(form->FireKeyInterval[1], 300);
    EXPECT_EQ(Item("cb_Fire2Count"), 3);
    EXPECT_EQ(Text("edt_Fire2Time"), "300");
    EXPECT_TRUE(Checked("cb_Fire2Continue"));
    EXPECT_EQ(Text("Edt_Repeat2"), "4");
    EXPECT_EQ(Text("Edt_DelayTime2"), "300");
    EXPECT_EQ(Picture("Img_Fire2Continue"), "CbS_E");
}

TEST_F(FormRefreshEdgeTest, AimKeyOfTheCurrentProfileSetsItsLevel) {
    form->UserCopy[0] = 0x02;
    form->KeyCodeStrings[2][6] = "05020000";
    Refresh();
    EXPECT_EQ(Item("cb_AIM"), 2);
    EXPECT_EQ(form->AimCpiIndex, 2);
    EXPECT_EQ(form->AimLevelText, "3");
    const int valueIndex = form->CPILevelValueIndex[2];
    EXPECT_EQ(Text("lbl_AIMDPIValue"),
              window::device::DeviceText("Str" + std::to_string(300 + valueIndex)));
}

// Texts, selections, pictures and visibility of every control.
std::map<std::string, std::string> Screen(platform::vcl::TComponent& form) {
    std::map<std::string, std::string> screen;
    for (platform::vcl::TComponent* c : form.Components()) {
        std::string state;
        if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(c)) state += edit->Text();
        if (auto* combo = dynamic_cast<platform::vcl::TComboBox*>(c))
            state += std::to_string(combo->ItemIndex());
        if (auto* image = dynamic_cast<platform::vcl::TImage*>(c)) state += image->PictureName();
        if (auto* control = dynamic_cast<platform::vcl::TControl*>(c))
            state += control->Caption() + (control->Visible() ? "+" : "-") +
                     (control->Enabled() ? "e" : "d");
        screen[c->Name()] = state;
    }
    return screen;
}

TEST_F(FormRefreshEdgeTest, RefreshingTwiceWritesNothingAndGivesTheSameScreen) {
    StartWithMouse();
    ASSERT_TRUE(Present());
    bus->ClearTranscript();
    Refresh();
    const auto first = Screen(*form);
    Refresh();
    EXPECT_EQ(Screen(*form), first);
    EXPECT_TRUE(bus->Transcript().empty()) << "the refresh sent a report";
}

} // namespace
} // namespace devtest
