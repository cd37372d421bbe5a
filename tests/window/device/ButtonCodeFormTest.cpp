// Button-function codes built from the main window: the menu labels of the design, the
// fire-key edits and hold boxes, the AIM level, the device's interface and the
// engineering page's profile settings and combination masks.
#include "device/Macros.h"
#include "window/Main.h"
#include "window/device/FunctionCodes.h"

#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {

class ButtonCodeFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<window::TForm1>(nullptr);
        form->DetectedInterface = "I2C";
        // As while a whole configuration is shown: handlers of the controls set here
        // send nothing to a device.
        savedLoading = window::shell::UiLoadingFlag;
        window::shell::UiLoadingFlag = 1;
    }
    void TearDown() override {
        form.reset();
        window::shell::UiLoadingFlag = savedLoading;
    }
    std::string Code(int id) { return window::device::FunctionIdToCode(*form, id); }
    void SetText(const std::string& name, const std::string& text) {
        form->Named<controls::skin::TSkinEdit>(name).SetText(text);
    }
    void SetHold(int fireKey, bool hold) {
        form->Named<controls::skin::TSkinCheckBox>("cb_Fire" + std::to_string(fireKey) + "Continue")
            .SetChecked(hold);
    }

    // A combination-key record's profile switch with LED mode 0, profile colour 3 and
    // return-to-zero on: the engineering settings its code carries.
    void ChooseCombinationProfileSwitch() {
        form->ComboKeyMenuFlag = 1;
        form->cb_LEDMode->SetItemIndex(0);
        form->cb_Profile2Color->SetItemIndex(3);
        form->cb_RTZ->SetItemIndex(1);
        form->cb_AXY->SetItemIndex(0);
        form->cb_CC->SetItemIndex(0);
    }

    std::unique_ptr<window::TForm1> form;
    uint8_t savedLoading = 0;
};

// The menu labels in design order with their panels and the codes the design's own
// settings give (fire keys 2 shots and 1 ms, AIM level 1, no masks, a profile key).
struct MenuEntry {
    const char* label;
    const char* panel;
    const char* code;
};
const MenuEntry kMenu[] = {
    {"Key_Left", "Pnl_MseKey", "01010000"},
    {"Key_Right", "Pnl_MseKey", "01020000"},
    {"Key_Middle", "Pnl_MseKey", "01040000"},
    {"Key_B4", "Pnl_MseKey", "01080000"},
    {"Key_B5", "Pnl_MseKey", "01100000"},
    {"Key_AIM", "Pnl_Special", "05000000"},
    {"Key_LEDMode", "Pnl_Special", "0E000000"},
    {"Key_LEDSwitch", "Pnl_Special", "08000000"},
    {"Key_BtnEFT", "Pnl_Special", "08010000"},
    {"Key_ReportRate", "Pnl_Special", "0C000000"},
    {"Key_FireMacroKey", "Pnl_Special", "1006A0FF"},
    {"Key_FireMacroOff", "Pnl_Special", "0B8F0000"},
    {"Key_KeyOff", "Pnl_Special", "00000000"},
    {"Key_PlayPause", "Pnl_Media", "0300CD00"},
    {"Key_Stop", "Pnl_Media", "0300B700"},
    {"Key_PreviousTrack", "Pnl_Media", "0300B600"},
    {"Key_NextTrack", "Pnl_Media", "0300B500"},
    {"Key_VolumePlus", "Pnl_Media", "0300E900"},
    {"Key_VolumeMinus", "Pnl_Media", "0300EA00"},
    {"Key_Mute", "Pnl_Media", "0300E200"},
    {"Key_WWWHome", "Pnl_WWW", "03022300"},
    {"Key_WWWSearch", "Pnl_WWW", "03022100"},
    {"Key_WWWBack", "Pnl_WWW", "03022400"},
    {"Key_WWWForward", "Pnl_WWW", "03022500"},
    {"Key_WWWStop", "Pnl_WWW", "03022600"},
    {"Key_WWWRefresh", "Pnl_WWW", "03022700"},
    {"Key_WWWFavorites", "Pnl_WWW", "03022A00"},
    {"Key_Computer", "Pnl_MyPC", "03019400"},
    {"Key_Calculator", "Pnl_MyPC", "03019200"},
    {"Key_EMail", "Pnl_MyPC", "03018A00"},
    {"Key_Desktop", "Pnl_MyPC", "02080700"},
    {"Key_CPI", "Pnl_CPIKey", "09000000"},
    {"Key_CPII", "Pnl_CPIKey", "09010000"},
    {"Key_CPID", "Pnl_CPIKey", "09020000"},
    {"Key_Fire1", "Pnl_FireKey", "06110001"},
    {"Key_Fire2", "Pnl_FireKey", "06110001"},
    {"Key_Fire3", "Pnl_FireKey", "06110001"},
    {"Key_PowerDown", "Pnl_ACPI", "04010000"},
    {"Key_Sleep", "Pnl_ACPI", "04020000"},
    {"Key_WakeUp", "Pnl_ACPI", "04030000"},
    {"Key_Profile1", "Pnl_Profile", "07800000"},
    {"Key_Profile2", "Pnl_Profile", "07810000"},
    {"Key_Profile3", "Pnl_Profile", "07820000"},
    {"Key_Profile", "Pnl_Profile", "07000000"},
    {"Key_AdjustXYFn", "Pnl_AdjustXY", "0A000000"},
    {"Key_AdjustXYSwitch", "Pnl_AdjustXY", "0A010000"},
};

TEST_F(ButtonCodeFormTest, EveryMenuLabelsTagGivesItsCode) {
    static_assert(std::size(kMenu) == 46);
    for (const MenuEntry& entry : kMenu) {
        auto& label = form->Named<platform::vcl::TControl>(entry.label);
        ASSERT_NE(label.Parent(), nullptr) << entry.label;
        EXPECT_EQ(label.Parent()->Name(), entry.panel) << entry.label;
        const std::string code = Code(label.Tag());
        EXPECT_EQ(code, entry.code) << entry.label << " (Tag " << label.Tag() << ")";
        EXPECT_NO_THROW(device::ButtonFunctionFromText(code)) << entry.label;
    }
}

TEST_F(ButtonCodeFormTest, EveryLabelBetweenTheFirstAndLastEntryIsAMenuEntryWithItsOwnTag) {
    const auto& all = form->Components();
    const auto first = std::find(all.begin(), all.end(), form->FindComponent("Key_Left"));
    const auto last = std::find(all.begin(), all.end(), form->FindComponent("Key_AdjustXYSwitch"));
    ASSERT_NE(first, all.end());
    ASSERT_NE(last, all.end());
    // The special menu's entries that open a further menu carry no function.
    const std::set<std::string> openers = {"Key_CPIKey", "Key_Fire", "Key_ACPIKey",
                                           "Key_ProfileKey", "Key_AdjustXY"};
    std::set<int> tags;
    for (auto it = first; it <= last; ++it) {
        const auto* control = dynamic_cast<const platform::vcl::TControl*>(*it);
        if (!control || control->Name().rfind("Key_", 0) != 0) continue;
        if (openers.count(control->Name())) continue;
        EXPECT_FALSE(Code(control->Tag()).empty()) << control->Name();
        EXPECT_TRUE(tags.insert(control->Tag()).second) << control->Name() << " repeats a Tag";
    }
    EXPECT_EQ(tags.size(), 46u);
}

TEST_F(ButtonCodeFormTest, KeyOffAndIdsWithoutACode) {
    EXPECT_EQ(Code(0), "00000000");
    EXPECT_EQ(Code(1007), "00000000");
    for (int id : {899, 905, 1008, 3001})
        EXPECT_EQ(Code(id), "") << id;
}

TEST_F(ButtonCodeFormTest, FireKeyFromItsRepeatDelayAndHoldControls) {
    SetText("Edt_Repeat2", "3");
    SetText("Edt_DelayTime2", "60");
    SetHold(2, true);
    EXPECT_EQ(Code(2101), "0692003C");
    SetHold(2, false);
    EXPECT_EQ(Code(2101), "0612003C");

    // Each fire key reads its own controls.
    SetText("Edt_Repeat1", "15");
    SetText("Edt_DelayTime1", "4094");
    SetText("Edt_Repeat3", "5");
    SetText("Edt_DelayTime3", "300");
    SetHold(3, true);
    EXPECT_EQ(Code(2100), "061E0FFE");
    EXPECT_EQ(Code(2101), "0612003C");
    EXPECT_EQ(Code(2102), "0694012C");
}

TEST_F(ButtonCodeFormTest, AimKeyFromTheAimLevelText) {
    form->AimLevelText = "1";
    EXPECT_EQ(Code(1000), "05000000");
    form->AimLevelText = "8";
    EXPECT_EQ(Code(1000), "05070000");
}

TEST_F(ButtonCodeFormTest, CombinationMasksEachFromTheirOwnCombo) {
    form->cb_MidCom->SetItemIndex(3);
    EXPECT_EQ(Code(902), "01040004");
    form->cb_MidCom->SetItemIndex(0);
    EXPECT_EQ(Code(902), "01040000");

    form->cb_BackCom->SetItemIndex(4);
    form->cb_ForwardCom->SetItemIndex(2);
    form->cb_CPICom->SetItemIndex(1);
    form->cb_CPIICom->SetItemIndex(5);
    form->cb_CPIDCom->SetItemIndex(8);
    EXPECT_EQ(Code(903), "01080008");
    EXPECT_EQ(Code(904), "01100002");
    EXPECT_EQ(Code(2000), "09000001");
    EXPECT_EQ(Code(2001), "09010010") << "CPI + takes cb_CPIICom";
    EXPECT_EQ(Code(2002), "09020080") << "CPI - takes cb_CPIDCom";
    // Left and right never combine.
    EXPECT_EQ(Code(900), "01010000");
    EXPECT_EQ(Code(901), "01020000");
}

// The offset is one byte: the edit keeps at most two hexadecimal digits, so no text of
// it can stop the key menu with a conversion error.
TEST_F(ButtonCodeFormTest, TheOffsetEditKeepsTwoDigitsAndTheKeyMenuWorksWhateverIsPutIn) {
    ChooseCombinationProfileSwitch();
    EXPECT_EQ(form->edt_OffSet->MaxLength(), 2);
    form->edt_OffSet->SetText("123456789");
    EXPECT_EQ(form->edt_OffSet->Text(), "12");
    EXPECT_EQ(Code(2301), "07C13012");
    for (const MenuEntry& entry : kMenu) {
        SCOPED_TRACE(entry.label);
        EXPECT_NO_THROW(Code(form->Named<platform::vcl::TControl>(entry.label).Tag()));
    }
}

TEST_F(ButtonCodeFormTest, ProfileSwitchOfACombinationKeyRecordCarriesTheEngineeringSettings) {
    ChooseCombinationProfileSwitch();
    form->edt_OffSet->SetText("20");
    EXPECT_EQ(Code(2301), "07C13020");
    form->cb_LEDMode->SetItemIndex(1);
    EXPECT_EQ(Code(2301), "07C1F020") << "the sync LED type";

    form->ComboKeyMenuFlag = 0;
    EXPECT_EQ(Code(2301), "07810000");
    form->cb_LEDMode->SetItemIndex(0);
    EXPECT_EQ(Code(2301), "07810000");
}

TEST_F(ButtonCodeFormTest, ProfileSwitchBitsColoursAndOffsetOfEachProfile) {
    form->ComboKeyMenuFlag = 1;
    form->cb_LEDMode->SetItemIndex(2);
    form->cb_Profile1Color->SetItemIndex(10);
    form->cb_Profile3Color->SetItemIndex(9);
    form->cb_RTZ->SetItemIndex(0);
    form->cb_AXY->SetItemIndex(1);
    form->cb_CC->SetItemIndex(1);
    form->edt_OffSet->SetText("7f");
    EXPECT_EQ(Code(2300), "07B0F07F") << "the specified colour";
    EXPECT_EQ(Code(2302), "07B2907F");
    EXPECT_EQ(Code(2303), "07000000") << "the profile loop takes nothing";
    form->edt_OffSet->SetText("");
    EXPECT_EQ(Code(2300), "07B0F000") << "an empty offset reads as 0";
}

TEST_F(ButtonCodeFormTest, FireMacroKeyOnlyWithAnI2CDevice) {
    EXPECT_EQ(Code(1005), "1006A0FF");
    form->DetectedInterface = "";
    EXPECT_EQ(Code(1005), "");
    form->DetectedInterface = "SPI";
    EXPECT_EQ(Code(1005), "");
}

TEST_F(ButtonCodeFormTest, TheEmptyCodeFailsTheByteConversion) {
    form->DetectedInterface = "";
    try {
        device::ButtonFunctionFromText(Code(1005));
        ADD_FAILURE() << "the empty code converted";
    } catch (const platform::rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'$' is not a valid integer value");
    }
}

TEST_F(ButtonCodeFormTest, EveryCallPacksTheSettingsWhateverTheId) {
    form->cb_MidCom->SetItemIndex(7);
    form->cb_Profile2Color->SetItemIndex(4);
    form->edt_OffSet->SetText("2A");
    EXPECT_EQ(Code(3001), "");
    EXPECT_EQ(form->MidComboMask, "40");
    EXPECT_EQ(form->Profile2ColorCode, 0x40);
    EXPECT_EQ(form->ProfileOffset, 0x2A);

    // A combo without a selection keeps what the last call packed.
    form->cb_MidCom->SetItemIndex(-1);
    EXPECT_EQ(Code(902), "01040040");
}

TEST_F(ButtonCodeFormTest, ABadFireKeyOrAimTextFailsBeforeAnythingIsPacked) {
    form->cb_MidCom->SetItemIndex(3);
    const std::string before = form->MidComboMask;
    ASSERT_NE(before, "04");

    SetText("Edt_Repeat3", "abc");
    try {
        Code(902);
        ADD_FAILURE() << "no error";
    } catch (const platform::rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(form->MidComboMask, before);

    SetText("Edt_Repeat3", "2");
    SetText("Edt_DelayTime1", "");
    EXPECT_THROW(Code(0), platform::rtl::EConvertError) << "for every id alike";
    EXPECT_EQ(form->MidComboMask, before);

    SetText("Edt_DelayTime1", "1");
    form->AimLevelText = "";
    EXPECT_THROW(Code(900), platform::rtl::EConvertError);
    EXPECT_EQ(form->MidComboMask, before);

    form->AimLevelText = "1";
    EXPECT_EQ(Code(902), "01040004");
}

} // namespace
