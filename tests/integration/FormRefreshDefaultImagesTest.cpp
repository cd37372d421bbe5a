// The pages after reading each shipped default image from the mouse: every engineering
// field and every user-page control shows what the image holds.
#include "FormRefreshTestSupport.h"

#include "device/DefaultSetting.h"

#include <cstdio>

namespace devtest {
namespace {

class FormRefreshDefaultImagesTest : public FormRefreshTest,
                                     public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        FormRefreshTest::SetUp();
        AddMouse(DefaultImage(GetParam()));
        bus->ClearTranscript();
        Tick();
        ASSERT_TRUE(Present());
        ASSERT_EQ(window::shell::UiLoadingFlag, 0);
    }
};

TEST_P(FormRefreshDefaultImagesTest, EngineeringPageShowsTheVendorSection) {
    EXPECT_EQ(Text("edt_VID"), "1209");
    EXPECT_EQ(Text("edt_PID"), "08B9");
    EXPECT_EQ(Text("edt_USBDesc"), "VTRM408x Mouse");
    // Vendor bytes 4..8 = BF FF 3F 7F AF; the LED type later puts the package and the
    // keyboard type on the RGB items.
    const std::pair<const char*, int> options[] = {
        {"cb_ICType", 2},          {"cb_RepRate", 3},        {"cb_SensorEnhance", 1},
        {"cb_Package", 1},         {"cb_KbdType", 1},        {"cb_CPIIndication", 2},
        {"cb_CPISet", 0},          {"cb_CPILevel", 3},       {"cb_SensorRotation", 0},
        {"cb_CPIPrescaleSel", 0},  {"cb_FireKeyFreq", 3},    {"cb_FireKeyCount", 3},
        {"cb_LEDCtrl0", 0},        {"cb_LEDCtrl1", 1},       {"cb_LEDModeFuse", 3},
        {"cb_ComboKeyTime", 1},    {"cb_USBCDR", 1},         {"cb_SensorSleep", 1},
        {"cb_LEDPower", 1},        {"cb_EFTrelyNAK", 1},     {"cb_EFTrelug", 1},
        {"cb_KeepProfileInfo", 1}, {"cb_ProfileLEDFlash", 1}};
    for (const auto& [name, item] : options)
        EXPECT_EQ(Item(name), item) << name;
    EXPECT_EQ(form->ReportRateHz, 1000);
    EXPECT_EQ(form->ReportRateChanged, 0);

    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", device::SensorRegisterDefaults[0]);
    EXPECT_EQ(Text("edt_Avg_lb_lq"), hex);
    std::snprintf(hex, sizeof hex, "%02X", device::SensorRegisterDefaults.back());
    EXPECT_EQ(Text("edt_Misc_G8CorBit"), hex);
    EXPECT_EQ(Text("edt_LEDInit0"), "1C");
    EXPECT_EQ(Text("edt_LEDInit1"), "1A");

    EXPECT_EQ(Item("cb_CPISteps"), 3);
    const int levels[] = {5, 8, 9, 11, 8, 9, 10, 11};
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(Item("cb_CPI" + std::to_string(n)), levels[n - 1]) << n;
    EXPECT_EQ(form->Named<platform::vcl::TComboBox>("cb_CurrentCPI").Items().Count(), 4);
    EXPECT_TRUE(Enabled("cb_CPI4"));
    EXPECT_FALSE(Enabled("cb_CPI5"));

    EXPECT_EQ(Text("edt_Lower"), "256");
    EXPECT_EQ(Text("edt_Upper"), "32768");
    EXPECT_EQ(Text("edt_LowerTime"), "100");
    EXPECT_EQ(Text("edt_UpperTime"), "300");
    EXPECT_EQ(Text("edt_StepTime"), "10");
    EXPECT_EQ(Text("edt_Col1R"), "255");
    EXPECT_EQ(Text("edt_Col1G"), "0");
    EXPECT_EQ(Text("edt_Col7G"), "128");
    EXPECT_EQ(Text("edt_Col10B"), "255");
    EXPECT_EQ(Text("edt_CPI2G"), "128");
    EXPECT_EQ(Text("edt_CPI7R"), "128");
    EXPECT_EQ(Text("edt_CPI8B"), "255");
    // Package 1 has keys 10 to 12.
    EXPECT_TRUE(Shown("btn_Key110"));
    EXPECT_TRUE(Shown("lbl_Key312"));
}

TEST_P(FormRefreshDefaultImagesTest, EngineeringPageShowsTheUserSectionAndIdentity) {
    // User bytes F1 04 00 04: profile 2 with the specified colour, RGB mode 4.
    EXPECT_EQ(Item("cb_ProfileColor"), 10);
    EXPECT_EQ(Item("cb_Profile"), 1);
    EXPECT_EQ(Item("cb_LEDMode"), 0);
    EXPECT_EQ(form->LedType, "RGB");
    for (int k = 0; k < 6; ++k)
        EXPECT_TRUE(Checked("cb_Mode" + std::to_string(k))) << k;
    EXPECT_EQ(form->Named<platform::vcl::TComboBox>("cb_BreMode").Items().Count(), 6);
    EXPECT_EQ(Item("cb_BreMode"), 4);
    EXPECT_FALSE(Shown("cb_LEDNum"));
    EXPECT_EQ(Item("cb_CurrentCPI"), 0);
    EXPECT_EQ(Item("cb_BtnEFT"), 0);
    const bool recoil = GetParam() != 3;
    EXPECT_EQ(Text("edt_YOffset6"), recoil ? "-9" : "0");
    EXPECT_EQ(Text("edt_YOffset9"), recoil ? "3" : "0");
    EXPECT_EQ(Text("edt_XOffset1"), "0");

    EXPECT_EQ(Text("edt_VendorID"), "255");
    EXPECT_EQ(Text("edt_ProductID"), "255");
    EXPECT_EQ(Text("edt_VendorID_Rd"), "255");
    // Fire keys 3 shots / 60, 5 / 60, 8 / 60.
    EXPECT_EQ(Item("cb_Fire1Count"), 2);
    EXPECT_EQ(Item("cb_Fire2Count"), 4);
    EXPECT_EQ(Item("cb_Fire3Count"), 7);
    EXPECT_EQ(Text("edt_Fire2Time"), "60");
    EXPECT_EQ(form->FireKeyShots, (std::array<int, 3>{3, 5, 8}));
    EXPECT_EQ(form->FireKeyInterval, (std::array<int, 3>{60, 60, 60}));
    // 0692003C (fire key 1, held) is a key of profile 2 in image 1 and of profile 1 in
    // image 3; 0617003C (fire key 3, not held) of profile 3 in all. Image 2 has no fire
    // key 1, so its hold box keeps what the no-device start (image 1) showed.
    EXPECT_TRUE(Checked("cb_Fire1Continue"));
    EXPECT_FALSE(Checked("cb_Fire3Continue"));
    // Every image has the LED-mode switch on profile 3's key 10.
    EXPECT_EQ(Item("cb_ChangeLEDModeFun"), 1);
    EXPECT_EQ(Picture("Img_ComboKey1"), "CbS_E");
    EXPECT_EQ(form->AimCpiIndex, -1) << "no AIM key in the default images";
}

TEST_P(FormRefreshDefaultImagesTest, DpiPageShowsLevelsRateFireKeysAndAim) {
    EXPECT_EQ(form->CPILevelCount, 4);
    EXPECT_EQ(form->CPILastLevelIndex, 3);
    EXPECT_EQ(form->CPILevelValueIndex, (std::array<int, 8>{5, 8, 9, 11, 8, 9, 10, 11}));
    for (int n = 1; n <= 8; ++n) {
        const std::string level = std::to_string(n);
        const bool inUse = n <= 4;
        EXPECT_EQ(FontColor("lbl_DPI" + level),
                  inUse ? form->DpiSelectedRGB.Color() : form->DpiUnselectedRGB.Color());
        EXPECT_EQ(Enabled("Img_DPI" + level + "_12"), inUse) << n;
        EXPECT_EQ(Enabled("lbl_DPI" + level + "Col"), inUse) << n;
    }
    EXPECT_EQ(Text("lbl_DPI1Value"), "1200");
    EXPECT_EQ(Text("lbl_DPI4Value"), "6400");
    EXPECT_EQ(Text("lbl_DPI7Value"), "4800");
    // Level 1 is at CPI index 5: cell 6 lit, and cell 1 only as a bar.
    EXPECT_EQ(Picture("Img_DPI1_6"), "Bar2_E");
    EXPECT_EQ(Picture("Img_DPI1_7"), "Bar2_D");
    EXPECT_EQ(Picture("Img_DPI1_1"), form->DpiLedStatus ? "Bar2_D" : "Bar2_E");

    EXPECT_TRUE(Checked("rb_Rep4"));
    EXPECT_EQ(Picture("Img_Rep4"), "RdS_E");
    EXPECT_EQ(Picture("Img_Rep1"), "RdS_D");

    EXPECT_TRUE(Checked("rb_DPI1"));
    EXPECT_EQ(Picture("Img_DPI1"), "CbS_E");
    EXPECT_EQ(Picture("Img_DPI2"), "CbS_D");
    EXPECT_EQ(form->CurrentCPILevel, 0);

    EXPECT_EQ(Text("Edt_Repeat1"), "3");
    EXPECT_EQ(Text("Edt_Repeat3"), "8");
    EXPECT_EQ(Text("Edt_DelayTime2"), "60");
    EXPECT_EQ(Picture("Img_Fire1Continue"), "CbS_E");
    EXPECT_EQ(Picture("Img_Fire3Continue"), "CbS_D");

    // No AIM key: the bar and value of level 1.
    EXPECT_EQ(form->AimLevelText, "1");
    EXPECT_EQ(Text("lbl_AIMDPIValue"), "1200");
    EXPECT_EQ(Picture("Img_AIMDPI_6"), "Bar2_E");
}

TEST_P(FormRefreshDefaultImagesTest, LightingAndKeyPagesAndCombinationMasks) {
    EXPECT_EQ(form->BreathStepLevel, 2); // step time 10
    EXPECT_EQ(Picture("Img_Fall2"), "Bar1_E");
    EXPECT_EQ(Picture("Img_Fall3"), "Bar1_D");
    EXPECT_TRUE(Checked("rb_LED5"));
    EXPECT_EQ(Picture("Img_LED5"), "RdS_E");
    EXPECT_EQ(Picture("Img_LED1"), "RdS_D");
    EXPECT_TRUE(Enabled("Img_Fall1"));
    EXPECT_TRUE(Shown("cs_Col1"));
    EXPECT_EQ(Brush("cs_Col1"), 0x0000FFu);  // red
    EXPECT_EQ(Brush("cs_Col10"), 0xFF8000u); // 00 80 FF
    EXPECT_EQ(Brush("cs_DPI2Col"), 0x0080FFu);
    EXPECT_EQ(Brush("cs_DPI8Col"), 0xFF00FFu);

    // Profile 2 is current.
    for (int i = 1; i <= 5; ++i) {
        const std::string header = std::to_string(i);
        EXPECT_EQ(Picture("Img_Switch_" + header), "SetS_03");
        EXPECT_EQ(Picture("Img_Main_" + header), "SetS_01");
        EXPECT_EQ(Picture("Img_Engineer_" + header), "SetS_01");
    }
    EXPECT_EQ(Picture("Img_P1"), "L1_Back1");
    EXPECT_TRUE(Checked("rb_2"));
    EXPECT_TRUE(Shown("gbPage1"));
    EXPECT_FALSE(Shown("gbPage2"));
    EXPECT_TRUE(Shown("Key_Profile1"));
    EXPECT_FALSE(Shown("Key_Profile2"));

    // DPI loop with mask 08 on profile 1's key 8 (images 1, 2), backward with 02 on a key
    // of every image.
    const bool cpiMask = GetParam() != 3;
    EXPECT_EQ(form->CpiComboMask, cpiMask ? "08" : "00");
    EXPECT_EQ(form->BackComboMask, "02");
    EXPECT_EQ(form->MidComboMask, "00");
    EXPECT_EQ(Item("cb_BackCom"), 2);
    if (cpiMask) {
        EXPECT_EQ(Item("cb_CPICom"), 4);
    }
}

TEST_P(FormRefreshDefaultImagesTest, TheReadSendsNoWriteWhileTheFormIsFilled) {
    for (uint8_t command : CommandsSent())
        EXPECT_TRUE(command == 0x0D || command == 0x09) << "command " << int(command);
}

INSTANTIATE_TEST_SUITE_P(Images, FormRefreshDefaultImagesTest, ::testing::Values(1, 2, 3));

} // namespace
} // namespace devtest
