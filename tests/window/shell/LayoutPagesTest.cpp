// The settings pages of the layout pass: DPI step bars, speed rows, the macro and fire
// pages, and the fields the pages' handlers read later.
#include "LayoutTestSupport.h"
#include "ShellTestSupport.h"

#include "platform/rtl/SysUtils.h"
#include "window/shell/LayoutText.h"

#include <gtest/gtest.h>

using namespace platform::rtl;
using namespace platform::vcl;
using layout_test::ShippedLayout;
using layout_test::Without;
using layout_test::WithValues;
using shell_test::ResourceOverride;
using shell_test::StartedForm;

namespace {

void ApplyFirst(window::TForm1& form, const std::string& text) {
    ResourceOverride layout("ORG1", text);
    form.LanguageNumber = 1;
    form.ApplySkin();
}

TControl& Bar(window::TForm1& form, const std::string& level, int i) {
    return form.Named<TControl>("Img_" + level + "_" + std::to_string(i));
}

TEST(LayoutPagesTest, DpiStepBarsStackUpwardOrRunToTheRight) {
    auto form = StartedForm();
    ASSERT_EQ(Bar(*form, "DPI1", 1).Height(), 18);
    ASSERT_EQ(Bar(*form, "DPI1", 1).Width(), 20);
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"DPI_Orientation", "0"},
                                                    {"DPI1_Steps_X", "100"},
                                                    {"DPI1_Steps_Y", "300"},
                                                    {"DPI1_Steps_D", "2"}}));
    EXPECT_EQ(form->DpiStepOrientation, 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Bar(*form, "DPI1", i).Top(), 300 - (i - 1) * 20) << i;
        EXPECT_EQ(Bar(*form, "DPI1", i).Left(), 100) << i;
    }
    EXPECT_EQ(Bar(*form, "DPI1", 12).Top(), 80);

    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"DPI_Orientation", "1"},
                                                    {"DPI1_Steps_X", "100"},
                                                    {"DPI1_Steps_Y", "300"},
                                                    {"DPI1_Steps_D", "2"},
                                                    {"AIMDPI_Steps_X", "40"},
                                                    {"AIMDPI_Steps_D", "0"}}));
    EXPECT_EQ(Bar(*form, "DPI1", 1).Left(), 100);
    EXPECT_EQ(Bar(*form, "DPI1", 2).Left(), 122);
    EXPECT_EQ(Bar(*form, "DPI1", 3).Left(), 144);
    EXPECT_EQ(Bar(*form, "DPI1", 3).Top(), 300);
    EXPECT_EQ(Bar(*form, "AIMDPI", 12).Left(), 40 + 11 * 20);
}

TEST(LayoutPagesTest, OtherOrientationKeepsTheBarsButStillNeedsTheirKeys) {
    auto form = StartedForm();
    const int left = Bar(*form, "DPI5", 7).Left();
    const int top = Bar(*form, "DPI5", 7).Top();
    const std::string text = WithValues(
        ShippedLayout(1), {{"DPI_Orientation", "2"}, {"DPI5_Steps_X", "3"}, {"DPI5_Steps_Y", "3"}});
    ApplyFirst(*form, text);
    EXPECT_EQ(form->DpiStepOrientation, 2);
    EXPECT_EQ(Bar(*form, "DPI5", 7).Left(), left);
    EXPECT_EQ(Bar(*form, "DPI5", 7).Top(), top);
    EXPECT_THROW(ApplyFirst(*form, Without(text, {"DPI5_Steps_D"})), EConvertError);
}

TEST(LayoutPagesTest, SpeedCellsUseTheFirstCellsWidthWithoutAGap) {
    auto form = StartedForm();
    ASSERT_EQ(form->Named<TControl>("Img_Spd1").Width(), 26);
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Spd_X", "50"}, {"Spd_Y", "90"}}));
    EXPECT_EQ(form->Named<TControl>("Img_Spd11").Left(), 310);
    EXPECT_EQ(form->Named<TControl>("Img_Spd11").Top(), 90);
    EXPECT_EQ(form->Named<TControl>("Img_Spd2").Left(), 76);
}

TEST(LayoutPagesTest, LevelAndFireKeyControlsAroundTheirPictures) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"FK2Continue_X", "600"},
                                                    {"FK2Continue_Y", "410"},
                                                    {"DPI3_Check_X", "20"},
                                                    {"DPI3_Value_Y", "230"},
                                                    {"StepTime_X", "400"},
                                                    {"StepTime_D", "5"},
                                                    {"LEDMode4_X", "150"},
                                                    {"LEDMode4_Y", "260"}}));
    auto& hold = form->Named<TControl>("Img_Fire2Continue");
    auto& holdLabel = form->Named<TControl>("lbl_Fire2Continue");
    EXPECT_EQ(hold.Left(), 600);
    EXPECT_EQ(holdLabel.Left(), 598);
    EXPECT_EQ(holdLabel.Top(), 410);
    EXPECT_EQ(holdLabel.Width(), hold.Width() + 4);
    EXPECT_EQ(holdLabel.Height(), hold.Height() + 4);
    EXPECT_EQ(form->Named<TControl>("Img_DPI3").Left(), 20);
    EXPECT_EQ(form->Named<TControl>("lbl_DPI3Value").Top(), 230);
    const int fallWidth = form->Named<TControl>("Img_Fall1").Width();
    EXPECT_EQ(form->Named<TControl>("Img_Fall10").Left(), 400 + 9 * (fallWidth + 5));
    EXPECT_EQ(form->Named<TControl>("lbl_LED4").Left(), 146);
    EXPECT_EQ(form->Named<TControl>("lbl_LED4").Top(), 258);
}

TEST(LayoutPagesTest, PerformanceColoursAndSizes) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Size_D", "10"},
                                                    {"Color_D_Selected_R", "9"},
                                                    {"Color_D_notSelected_G", "7"},
                                                    {"Color_D_Border_B", "1"}}));
    EXPECT_EQ(form->Named<TControl>("lbl_AIMDPI").Font().Size(), 11);
    EXPECT_EQ(form->Named<TControl>("lbl_AIMDPIValue").Font().Size(), 10);
    EXPECT_EQ(form->Named<TControl>("lbl_DPI8Value").Font().Size(), 10);
    EXPECT_EQ(form->DpiSelectedRGB.R, 9);
    EXPECT_EQ(form->Named<TControl>("lbl_AIMDPI").Font().Color(), form->DpiSelectedRGB.Color());
    EXPECT_EQ(form->DpiUnselectedRGB.G, 7);
    EXPECT_EQ(form->Named<TControl>("Edt_DelayTime3").Font().Color(),
              form->DpiUnselectedRGB.Color());
    EXPECT_EQ(form->Named<controls::skin::TSkinEdit>("Edt_Repeat2").BorderColor() >> 16, 1u);
}

TEST(LayoutPagesTest, MacroPageListsDelayRowsAndInsertPanel) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"MseMacroName_X", "300"},
                                                    {"MseMacroName_Y", "130"},
                                                    {"MseMacroName_H", "250"},
                                                    {"MseMacroName_W", "160"},
                                                    {"MacroNameHeight", "21"},
                                                    {"RecDelay_X", "14"},
                                                    {"RecDelay_Y", "30"},
                                                    {"RecDelay_H", "33"},
                                                    {"Insert_X", "600"},
                                                    {"Insert_Y", "150"},
                                                    {"InsertAxisEdit_X", "120"},
                                                    {"InsertAxisEdit_Y", "140"},
                                                    {"InsertBtnOK_X", "710"},
                                                    {"Color_F_Back_R", "5"}}));
    auto& list = form->Named<TControl>("LB_MacroName");
    EXPECT_EQ(list.Left(), 300);
    EXPECT_EQ(list.Top(), 130);
    EXPECT_EQ(list.Height(), 250);
    EXPECT_EQ(list.Width(), 160);
    EXPECT_EQ(form->MacroNameItemHeight, 21);
    EXPECT_EQ(form->Named<TControl>("LED_RecDelay").Top(), 30);
    EXPECT_EQ(form->Named<TControl>("LED_DelayTime").Top(), 63);
    EXPECT_EQ(form->Named<TControl>("LED_NoDelay").Top(), 96);
    EXPECT_EQ(form->Named<TControl>("LED_NoDelay").Left(), 14);
    EXPECT_EQ(form->Named<TControl>("Gb_Insert").Left(), 600);
    EXPECT_EQ(form->Named<TControl>("Img_InsertBase").Left(), 610);
    EXPECT_EQ(form->Named<TControl>("Img_InsertBase").Top(), 160);
    // The Y value and the repeat count share their place.
    EXPECT_EQ(form->Named<TControl>("edt_XAxisValue").Left(), 40);
    EXPECT_EQ(form->Named<TControl>("edt_YAxisValue").Left(), 120);
    EXPECT_EQ(form->Named<TControl>("edt_Repeat").Left(), 120);
    EXPECT_EQ(form->Named<TControl>("edt_Repeat").Top(), 140);
    EXPECT_EQ(form->Named<TControl>("Img_OK").Left(), 710);
    EXPECT_EQ(form->MacroButtonBackRGB.R, 5);
    EXPECT_EQ(form->Named<TControl>("edt_YAxisValue").Color() & 0xFF, 5u);
}

TEST(LayoutPagesTest, StartUpGivesTheMacroNameListsTheLayoutsItemHeight) {
    auto form = StartedForm();
    const int height = window::shell::ReadLayoutInteger(window::shell::LoadLayoutText("org1"),
                                                        "org1", "MacroNameHeight");
    for (const char* list :
         {"LB_PCMacroName", "LB_MacroName", "LB_macro", "LB_FireMacroName", "LB_FireMacro"})
        EXPECT_EQ(form->Named<TListBox>(list).ItemHeight(), height) << list;
}

TEST(LayoutPagesTest, FireButtonsTakeTheMacroTextColourWhateverTheFirePageSays) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Color_F_R", "1"},
                                                    {"Color_F_G", "2"},
                                                    {"Color_F_B", "3"},
                                                    {"Color_J_Font_R", "200"},
                                                    {"Color_J_Back_R", "100"},
                                                    {"Color_J_Border_R", "50"},
                                                    {"Size_J", "8"}}));
    for (const char* name : {"Btn_FireConfirm", "Btn_FireExit"}) {
        EXPECT_EQ(form->Named<TControl>(name).Font().Color(), 0x030201u) << name;
        EXPECT_EQ(form->Named<TControl>(name).Font().Size(), 10) << name;
    }
    EXPECT_EQ(form->Named<TControl>("Edt_FireY2Offset").Font().Color() & 0xFF, 200u);
    EXPECT_EQ(form->Named<TControl>("Edt_FireY2Offset").Color() & 0xFF, 100u);
    EXPECT_EQ(form->Named<controls::skin::TSkinEdit>("edt_FireRepeat").BorderColor() & 0xFF, 50u);
    EXPECT_EQ(form->Named<TControl>("Edt_FireTime1").Font().Size(), 8);
}

TEST(LayoutPagesTest, FireEditsFollowTheirKeysAndButtonsCarryTheirLabels) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"FireX2_Offset_X", "401"},
                                                    {"FireX2_Offset_Y", "321"},
                                                    {"FireTime3_X", "230"},
                                                    {"Fire6_X", "180"},
                                                    {"Fire6_Y", "125"},
                                                    {"IsHasLK_X", "470"}}));
    EXPECT_EQ(form->Named<TControl>("Edt_FireX2Offset").Left(), 401);
    EXPECT_EQ(form->Named<TControl>("Edt_FireX2Offset").Top(), 321);
    EXPECT_EQ(form->Named<TControl>("Edt_FireTime3").Left(), 230);
    auto& image = form->Named<TControl>("Img_Fire6");
    auto& label = form->Named<TControl>("Btn_Fire6");
    EXPECT_EQ(image.Left(), 180);
    EXPECT_EQ(label.Left(), 180);
    EXPECT_EQ(label.Top(), 125);
    EXPECT_EQ(label.Width(), image.Width());
    EXPECT_EQ(form->Named<TControl>("Img_FireSelLeft").Left(), 470);
}

TEST(LayoutPagesTest, FarAwayPlaceTakesAControlOutOfSight) {
    auto form = StartedForm();
    ApplyFirst(*form,
               WithValues(ShippedLayout(1), {{"DPI7_Check_X", "2530"}, {"Btn_WebLink_Y", "8342"}}));
    EXPECT_GE(form->Named<TControl>("Img_DPI7").Left(), form->PageWidth);
    EXPECT_GE(form->Named<TControl>("Btn_WebLink").Top(), form->PageHeight);
}

TEST(LayoutPagesTest, MissingPageKeyStopsThereAfterTheFrontOfTheWindowIsSet) {
    auto form = StartedForm();
    const int updateLeft = form->Img_P5->Left();
    try {
        ApplyFirst(*form,
                   Without(WithValues(ShippedLayout(1),
                                      {{"P1_X", "7"}, {"P5_X", "9"}, {"FireConfirm_X", "3"}}),
                           {"FireCnt2_Y"}));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(form->Img_P1->Left(), 7);
    EXPECT_EQ(form->Img_P5->Left(), 9) << "the update page comes before the fire page";
    EXPECT_NE(updateLeft, 9);
    EXPECT_NE(form->Named<TControl>("Img_FireConfirm").Left(), 3) << "after the missing key";
}

} // namespace
