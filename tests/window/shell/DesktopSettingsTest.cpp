// The desktop's pointer settings on the performance page, and the fire script file.
#include "ShellTestSupport.h"

#include "platform/rtl/SysUtils.h"
#include "platform/desktop/Registry.h"
#include "window/settings/Form1Settings.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace platform::rtl;
using namespace platform::vcl;
using platform::desktop::testing::ClearCurrentUserOverrides;
using platform::desktop::testing::OverrideCurrentUserValue;
using shell_test::StartedForm;

namespace {

constexpr const char* Mouse = "Control Panel\\Mouse";
constexpr const char* Desktop = "Control Panel\\Desktop";

std::string Cells(window::TForm1& form, const std::string& prefix) {
    std::string out;
    for (int i = 1; i <= 10; ++i) {
        const std::string& name = form.Named<TImage>(prefix + std::to_string(i)).PictureName();
        out += name == "Bar1_E" ? 'E' : name == "Bar1_D" ? 'D' : '-';
    }
    return out;
}

class DesktopSettingsTest : public ::testing::Test {
protected:
    void TearDown() override { ClearCurrentUserOverrides(); }
};

TEST_F(DesktopSettingsTest, RegistryServesTheDesktopOrTheUsualDefaults) {
    EXPECT_TRUE(platform::desktop::ReadCurrentUserValue(Mouse, "DoubleClickSpeed"));
    EXPECT_TRUE(
        platform::desktop::ReadCurrentUserValue("control panel\\desktop", "wheelscrolllines"));
    EXPECT_EQ(platform::desktop::ReadCurrentUserValue(Mouse, "MouseSensitivity"), "10");
    EXPECT_FALSE(platform::desktop::ReadCurrentUserValue(Mouse, "NoSuchValue"));
    OverrideCurrentUserValue(Mouse, "MouseSensitivity", std::nullopt);
    EXPECT_FALSE(platform::desktop::ReadCurrentUserValue(Mouse, "MouseSensitivity"));
}

TEST_F(DesktopSettingsTest, PointerAndDoubleClickBarsAsSliderOrProgressBar) {
    auto form = StartedForm();
    OverrideCurrentUserValue(Mouse, "MouseSensitivity", "20");
    OverrideCurrentUserValue(Mouse, "MouseSpeed", "0");
    OverrideCurrentUserValue(Mouse, "MouseThreshold1", "0");
    OverrideCurrentUserValue(Mouse, "MouseThreshold2", "0");
    OverrideCurrentUserValue(Mouse, "DoubleClickSpeed", "500");
    form->DpiLedStatus = true;
    form->RefreshMouseSystemParameterA(nullptr);
    EXPECT_EQ(Cells(*form, "Img_Spd"), "DDDDDDDDDE");
    EXPECT_EQ(Cells(*form, "Img_DbSpd"), "DDDDDEDDDD");
    EXPECT_FALSE(form->cb_IsControl->Checked());
    EXPECT_EQ(form->Img_IsControl->PictureName(), "CbS_D");

    form->DpiLedStatus = false;
    OverrideCurrentUserValue(Mouse, "MouseSensitivity", "5");
    OverrideCurrentUserValue(Mouse, "MouseSpeed", "1");
    OverrideCurrentUserValue(Mouse, "MouseThreshold1", "6");
    OverrideCurrentUserValue(Mouse, "MouseThreshold2", "10");
    OverrideCurrentUserValue(Mouse, "DoubleClickSpeed", "200");
    form->RefreshMouseSystemParameterA(nullptr);
    EXPECT_EQ(Cells(*form, "Img_Spd"), "EEEDDDDDDD");
    EXPECT_EQ(Cells(*form, "Img_DbSpd"), "EEEEEEEEEE");
    EXPECT_TRUE(form->cb_IsControl->Checked());
    EXPECT_EQ(form->Img_IsControl->PictureName(), "CbS_E");
}

TEST_F(DesktopSettingsTest, MissingValuesLeaveTheirBarsAndBadOnesRaise) {
    auto form = StartedForm();
    const std::string before = Cells(*form, "Img_DbSpd");
    OverrideCurrentUserValue(Mouse, "DoubleClickSpeed", std::nullopt);
    form->RefreshMouseSystemParameterA(nullptr);
    EXPECT_EQ(Cells(*form, "Img_DbSpd"), before);
    OverrideCurrentUserValue(Mouse, "DoubleClickSpeed", "fast");
    EXPECT_THROW(form->RefreshMouseSystemParameterA(nullptr), EConvertError);
}

TEST_F(DesktopSettingsTest, WheelLinesAsBarAndCaption) {
    auto form = StartedForm();
    form->DpiLedStatus = true;
    OverrideCurrentUserValue(Desktop, "WheelScrollLines", "3");
    form->RefreshMouseSystemParameterB(nullptr);
    EXPECT_EQ(Cells(*form, "Img_ScrSpd"), "DDEDDDDDDD");
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(form->lbl_ScrSpd), u"3");
    OverrideCurrentUserValue(Desktop, "WheelScrollLines", "-1");
    form->RefreshMouseSystemParameterB(nullptr);
    EXPECT_EQ(Cells(*form, "Img_ScrSpd"), "DDDDDDDDDE") << "a whole screen: the last cell";
}

TEST(FireMacroFileTest, RecordsThatAreNotZeroBecomeListEntries) {
    auto form = StartedForm();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    form->ProgramFolder = dir.path().toStdString() + "/";
    form->LB_Script->Items().Add("stale");
    window::settings::LoadFireMacroFile(*form);
    EXPECT_EQ(form->FireScriptsLoaded, 0);
    EXPECT_EQ(form->LB_Script->Items().Count(), 0);

    unsigned char bytes[40] = {};
    bytes[0] = 0x0b;
    bytes[3] = 0xa1;
    bytes[36] = 0xff;
    std::ofstream(form->ProgramFolder + "Fire Macro.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    window::settings::LoadFireMacroFile(*form);
    EXPECT_EQ(form->FireScriptsLoaded, 1);
    EXPECT_EQ(form->FireScriptCodes[0], "0B0000A1");
    EXPECT_EQ(form->FireScriptCodes[1], "00000000");
    EXPECT_EQ(form->FireScriptCodes[9], "FF000000");
    ASSERT_EQ(form->LB_ScriptName->Items().Count(), 2);
    EXPECT_EQ(form->LB_ScriptName->Items()[0], "Fire Macro1");
    EXPECT_EQ(form->LB_ScriptName->Items()[1], "Fire Macro10");
    EXPECT_EQ(form->LB_Script->Items().Count(), 2);
}

} // namespace
