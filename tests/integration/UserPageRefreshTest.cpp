// The user pages of the whole-form refresh on section bytes at the edges of their ranges.
#include "FormRefreshTestSupport.h"

namespace devtest {
namespace {

class UserPageRefreshTest : public FormRefreshTest {};

TEST_F(UserPageRefreshTest, LevelCountEnablesTheLevelsInUse) {
    form->VendorCopy[43] = 2;
    Refresh();
    EXPECT_EQ(form->CPILevelCount, 3);
    EXPECT_EQ(form->CPILastLevelIndex, 2);
    for (int n = 1; n <= 8; ++n) {
        const std::string level = std::to_string(n);
        const bool inUse = n <= 3;
        EXPECT_EQ(FontColor("lbl_DPI" + level),
                  inUse ? form->DpiSelectedRGB.Color() : form->DpiUnselectedRGB.Color())
            << n;
        for (int k : {1, 12})
            EXPECT_EQ(Enabled("Img_DPI" + level + "_" + std::to_string(k)), inUse) << n;
        EXPECT_EQ(Enabled("Img_DPI" + level), inUse) << n;
        EXPECT_EQ(Enabled("lbl_DPI" + level + "Col"), inUse) << n;
    }
    // A count byte beyond eight levels keeps the count.
    form->VendorCopy[43] = 9;
    Refresh();
    EXPECT_EQ(form->CPILevelCount, 3);
}

TEST_F(UserPageRefreshTest, LevelBarsAsBarsAndAsSliders) {
    struct Case {
        bool slider;
        int nibble;
        std::vector<int> lit;
    };
    const Case cases[] = {{false, 5, {1, 2, 3, 4, 5, 6}},
                          {true, 5, {6}},
                          {false, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                          {true, 0, {1}}};
    for (const Case& c : cases) {
        form->DpiLedStatus = c.slider;
        SetLevelNibble(3, c.nibble);
        Refresh();
        for (int k = 1; k <= 12; ++k) {
            const bool lit = std::find(c.lit.begin(), c.lit.end(), k) != c.lit.end();
            EXPECT_EQ(Picture("Img_DPI3_" + std::to_string(k)), lit ? "Bar2_E" : "Bar2_D")
                << "slider " << c.slider << " nibble " << c.nibble << " cell " << k;
        }
        EXPECT_EQ(form->CPILevelValueIndex[2], c.nibble);
    }
}

TEST_F(UserPageRefreshTest, UnusedLevelKeepsItsBarAndCaption) {
    SetLevelNibble(2, 5);
    Refresh();
    const std::string caption = Text("lbl_DPI2Value");
    ASSERT_EQ(caption, "1200");
    Mark("Img_DPI2_1");
    SetLevelNibble(2, 15);
    Refresh();
    EXPECT_EQ(Text("lbl_DPI2Value"), caption);
    EXPECT_EQ(Picture("Img_DPI2_1"), "WebS_01");
    EXPECT_EQ(form->CPILevelValueIndex[1], 5);
    EXPECT_EQ(Item("cb_CPI2"), -1);
    // 12..14 name no CPI value: the caption empties.
    SetLevelNibble(2, 13);
    Refresh();
    EXPECT_EQ(Text("lbl_DPI2Value"), "");
}

TEST_F(UserPageRefreshTest, BreathingSpeedFromTheStepTime) {
    const std::pair<uint8_t, int> cases[] = {{0, 1}, {5, 1}, {6, 2}, {45, 9}, {46, 10}, {255, 10}};
    form->DpiLedStatus = false;
    for (const auto& [stepTime, level] : cases) {
        form->VendorCopy[56] = stepTime;
        Refresh();
        EXPECT_EQ(form->BreathStepLevel, level) << int(stepTime);
        EXPECT_EQ(Picture("Img_Fall" + std::to_string(level)), "Bar1_E");
        if (level < 10) {
            EXPECT_EQ(Picture("Img_Fall" + std::to_string(level + 1)), "Bar1_D");
        }
    }
}

TEST_F(UserPageRefreshTest, ReportRateMarksOneOfFour) {
    for (int bits = 0; bits < 4; ++bits) {
        form->VendorCopy[4] = static_cast<uint8_t>(bits << 4);
        Refresh();
        EXPECT_EQ(form->ReportRateHz, 125 << bits);
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(Picture("Img_Rep" + std::to_string(k)), k == bits + 1 ? "RdS_E" : "RdS_D");
        EXPECT_TRUE(Checked("rb_Rep" + std::to_string(bits + 1)));
    }
}

TEST_F(UserPageRefreshTest, SmartModeZeroLeavesTheFourthMarkAndStopsTheBreathing) {
    Mark("Img_LED4");
    form->UserCopy[1] = 0x80;
    Refresh();
    EXPECT_TRUE(Checked("rb_LED1"));
    EXPECT_EQ(Picture("Img_LED1"), "RdS_E");
    for (const char* mark : {"Img_LED2", "Img_LED3", "Img_LED5", "Img_LED6"})
        EXPECT_EQ(Picture(mark), "RdS_D") << mark;
    EXPECT_EQ(Picture("Img_LED4"), "WebS_01");
    for (int k = 1; k <= 10; ++k)
        EXPECT_FALSE(Enabled("Img_Fall" + std::to_string(k))) << k;
    // Smart mode 5 is the sixth radio.
    form->UserCopy[1] = 0x85;
    Refresh();
    EXPECT_TRUE(Checked("rb_LED6"));
    EXPECT_TRUE(Enabled("Img_Fall1"));
}

TEST_F(UserPageRefreshTest, SyncModeWithoutRadioSetsOnlyTheType) {
    form->UserCopy[1] = 0x02; // RGB mode 2
    Refresh();
    ASSERT_TRUE(Checked("rb_LED3"));
    form->UserCopy[1] = 0x40; // sync mode 0: no breathing
    Refresh();
    ASSERT_FALSE(Enabled("Img_Fall1"));
    Mark("Img_LED1");
    form->UserCopy[1] = 0x43;
    Refresh();
    EXPECT_EQ(form->LedType, "Sync");
    EXPECT_TRUE(Checked("rb_LED1"));
    EXPECT_EQ(Picture("Img_LED1"), "WebS_01");
    EXPECT_FALSE(Enabled("Img_Fall1")) << "the breathing cells keep their state";
}

TEST_F(UserPageRefreshTest, SyncHidesTheSwatchesAndRgbShowsThemWithTheCopyColours) {
    const char* swatches[] = {"cs_DPI1Col", "Img_DPI8Col", "lbl_DPI4Col",
                              "cs_Col10",   "Img_Col1",    "lbl_Col5"};
    form->UserCopy[1] = 0x40;
    Refresh();
    for (const char* c : swatches)
        EXPECT_FALSE(Shown(c)) << c;
    form->UserCopy[1] = 0x00;
    form->VendorCopy[87] = 0x12;
    form->VendorCopy[88] = 0x34;
    form->VendorCopy[89] = 0x56;
    form->VendorCopy[84] = 0xAB; // colour 10 R
    Refresh();
    for (const char* c : swatches)
        EXPECT_TRUE(Shown(c)) << c;
    EXPECT_EQ(Brush("cs_DPI1Col"), 0x563412u);
    EXPECT_EQ(Brush("cs_Col10") & 0xFF, 0xABu);
}

TEST_F(UserPageRefreshTest, CurrentLevelBeyondTheEighthMarksNone) {
    form->UserCopy[2] = 3;
    Refresh();
    ASSERT_TRUE(Checked("rb_DPI4"));
    form->UserCopy[2] = 9;
    Refresh();
    EXPECT_TRUE(Checked("rb_DPI4"));
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(Picture("Img_DPI" + std::to_string(n)), "CbS_D") << n;
    EXPECT_EQ(form->CurrentCPILevel, 9);
}

TEST_F(UserPageRefreshTest, ProfileBeyondTheThirdLeavesThePagesButDrawsTheFireKeys) {
    form->UserCopy[0] = 0x02;
    Refresh();
    ASSERT_EQ(Picture("Img_Fixed_3"), "SetS_03");
    form->Named<platform::vcl::TImage>("Img_Fire1Continue").ClearPicture();
    form->MidComboMask = "FF";
    form->UserCopy[0] = 0x03;
    Refresh();
    EXPECT_EQ(Picture("Img_Fixed_3"), "SetS_03");
    EXPECT_TRUE(Checked("rb_3"));
    EXPECT_EQ(form->MidComboMask, "00");
    EXPECT_FALSE(Picture("Img_Fire1Continue").empty());
}

TEST_F(UserPageRefreshTest, ProfileTwoMenusFollowTheGunDisplay) {
    form->UserCopy[0] = 0x01;
    form->ComboKey8Enabled = true;
    form->GunDisplayEnabled = true;
    Refresh();
    EXPECT_EQ(form->Pnl_Main->Height(), 194);
    EXPECT_EQ(form->Pnl_Special->Height(), 314);
    EXPECT_TRUE(Shown("IB_ComboKey8"));
    EXPECT_TRUE(Shown("Img_ComboKey8"));
    form->GunDisplayEnabled = false;
    Refresh();
    EXPECT_EQ(form->Pnl_Main->Height(), 170);
    EXPECT_EQ(form->Pnl_Special->Height(), 242);
    EXPECT_FALSE(Shown("IB_ComboKey8"));
    // Profile 1 offers profile 2 at the top of the switch menu.
    form->UserCopy[0] = 0x00;
    Refresh();
    EXPECT_FALSE(Shown("Key_Profile1"));
    EXPECT_TRUE(Shown("Key_Profile2"));
    EXPECT_EQ(form->Named<platform::vcl::TControl>("Key_Profile2").Top(), 1);
    EXPECT_EQ(Picture("Img_Main_4"), "SetS_03");
    EXPECT_EQ(Picture("Img_Switch_4"), "SetS_01");
}

TEST_F(UserPageRefreshTest, KeyPageBackgroundFollowsTheLanguage) {
    form->UserCopy[0] = 0x00;
    for (int language = 1; language <= 3; ++language) {
        form->LanguageNumber = language;
        Refresh();
        EXPECT_EQ(Picture("Img_P1"), "L" + std::to_string(language) + "_Back1");
    }
}

} // namespace
} // namespace devtest
