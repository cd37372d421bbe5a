// The window's own chrome: pop-up hiding, hover pictures of the header copies, the rolling
// text, the overlays and the message dialog.
#include "ShellTestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

using namespace platform::rtl;
using namespace platform::vcl;
using shell_test::StartedForm;

namespace {

const char* const PopUps[] = {
    "Pnl_Main",         "Pnl_MseKey",         "Pnl_Special", "Pnl_Media",    "Pnl_WWW",
    "Pnl_MyPC",         "Pnl_FireKey",        "Pnl_CPIKey",  "Pnl_ACPI",     "Pnl_Profile",
    "LB_Name",          "LB_Script",          "Pnl_PCMacro", "Pnl_DevMacro", "Pnl_DevContent",
    "Pnl_DevFireMacro", "Pnl_DevFireContent", "Pnl_AdjustXY"};

std::string Picture(window::TForm1& form, const std::string& name) {
    return form.Named<TImage>(name).PictureName();
}

controls::unicode::TWideLabel& Label(window::TForm1& form, const std::string& name) {
    return form.Named<controls::unicode::TWideLabel>(name);
}

TEST(ChromeTest, HideAllMenuHidesExactlyThePopUpSet) {
    auto form = StartedForm();
    std::map<std::string, bool> before;
    for (TComponent* c : form->Components())
        if (auto* control = dynamic_cast<TControl*>(c)) before[c->Name()] = control->Visible();
    for (const char* name : PopUps)
        form->Named<TControl>(name).SetVisible(true);
    form->HideAllMenu();
    for (const char* name : PopUps)
        EXPECT_FALSE(form->Named<TControl>(name).Visible()) << name;
    for (TComponent* c : form->Components())
        if (auto* control = dynamic_cast<TControl*>(c)) {
            EXPECT_EQ(control->Visible(), before[c->Name()]) << c->Name();
        }
    form->HideAllMenu(); // already hidden: stays hidden
    EXPECT_FALSE(form->Pnl_AdjustXY->Visible());
}

TEST(ChromeTest, ExitHoverLightsAllFiveCopiesMenuHoverOnlyItsOwn) {
    auto form = StartedForm();
    auto& exit2 = Label(*form, "Btn_Exit1_2");
    ASSERT_TRUE(exit2.OnMouseEnter);
    exit2.OnMouseEnter(&exit2);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Picture(*form, "Img_Exit1_" + std::to_string(k)), "ExitS_02") << k;
    exit2.OnMouseLeave(&exit2);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Picture(*form, "Img_Exit1_" + std::to_string(k)), "ExitS_01") << k;

    auto& adv3 = Label(*form, "Btn_Adv_3");
    adv3.OnMouseEnter(&adv3);
    EXPECT_EQ(Picture(*form, "Img_Adv_3"), "SetS_02");
    for (int k : {1, 2, 4, 5})
        EXPECT_EQ(Picture(*form, "Img_Adv_" + std::to_string(k)), "SetS_01") << k;
    adv3.OnMouseLeave(&adv3);
    EXPECT_EQ(Picture(*form, "Img_Adv_3"), "SetS_01");

    auto& mini4 = Label(*form, "Btn_Mini_4");
    mini4.OnMouseEnter(&mini4);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Picture(*form, "Img_Mini_" + std::to_string(k)), "MiniS_02") << k;
    mini4.OnMouseLeave(&mini4);
    EXPECT_EQ(Picture(*form, "Img_Mini_1"), "MiniS_01");
}

TEST(ChromeTest, LeavingAMenuButtonKeepsTheCurrentPagePressed) {
    auto form = StartedForm();
    form->rb_5->SetChecked(true);
    auto& breath = Label(*form, "Btn_Breath_2");
    breath.OnMouseEnter(&breath);
    breath.OnMouseLeave(&breath);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(Picture(*form, "Img_Breath_" + std::to_string(k)), "SetS_03") << k;

    // On the engineering page no entry shows pressed.
    form->ButtonTypeB_1IconInit(nullptr);
    form->rb_8->SetChecked(true);
    auto& main1 = Label(*form, "Btn_Main_1");
    main1.OnMouseEnter(&main1);
    main1.OnMouseLeave(&main1);
    for (const char* family : {"Img_Main_", "Img_Switch_", "Img_Adv_", "Img_Update_"})
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(Picture(*form, family + std::to_string(k)), "SetS_01") << family << k;
}

TEST(ChromeTest, IconInitPutsEveryMenuPictureToNormalAndLeavesTheNoDeviceState) {
    auto form = StartedForm();
    window::shell::NoDevicePageFlag = 1;
    form->ButtonTypeB_1IconInit(nullptr);
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    for (const char* family :
         {"Img_Main_", "Img_Switch_", "Img_Fixed_", "Img_Adv_", "Img_Breath_", "Img_Macro_",
          "Img_Update_", "Img_Engineer_", "Img_Save_", "Img_Load_"})
        for (int k = 1; k <= 5; ++k)
            EXPECT_EQ(Picture(*form, family + std::to_string(k)), "SetS_01") << family << k;
    EXPECT_EQ(Picture(*form, "Img_Lang1_1"), "SetS_03")
        << "language pictures are not menu pictures";
}

TEST(ChromeTest, RollingTextRunsOnlyFromAnEnabledMinimiseLabelAndIsUndoneOnLeave) {
    auto form = StartedForm();
    auto& mini = Label(*form, "Btn_Mini_1");
    controls::unicode::TWideLabel::SetCaption(&mini, u"Min");
    form->TextRollingEnabled = true;
    mini.OnMouseEnter(&mini);
    EXPECT_TRUE(form->LabelRun->Enabled());
    EXPECT_EQ(form->RollingLabelName, "Btn_Mini_1");
    form->LabelRunTimer(nullptr);
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&mini), u"in    M");
    form->LabelRunTimer(nullptr);
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&mini), u"n    Mi");
    mini.OnMouseLeave(&mini);
    EXPECT_FALSE(form->LabelRun->Enabled());
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&mini), u"Min");

    mini.SetEnabled(false);
    mini.OnMouseEnter(&mini);
    EXPECT_FALSE(form->LabelRun->Enabled()) << "a disabled label does not roll";
    mini.OnMouseLeave(&mini);
}

TEST(ChromeTest, RollingStepContinuesAtTwoAfterTwentyAndNeedsTheSetting) {
    auto form = StartedForm();
    auto& label = Label(*form, "Btn_Mini_2");
    form->RollingLabelName = label.Name();
    form->RollingText = u"AB";
    form->RollingStep = 0;
    form->TextRollingEnabled = false;
    form->LabelRunTimer(nullptr);
    EXPECT_EQ(form->RollingStep, 0);
    EXPECT_EQ(form->RollingText, u"AB");
    form->TextRollingEnabled = true;
    form->LabelRunTimer(nullptr); // step 1: blanks put between end and start
    EXPECT_EQ(form->RollingText.size(), 6u);
    form->RollingStep = 20;
    const std::u16string before = form->RollingText;
    form->LabelRunTimer(nullptr);
    EXPECT_EQ(form->RollingStep, 2);
    EXPECT_EQ(form->RollingText.size(), before.size()) << "no second set of blanks";
}

TEST(ChromeTest, MovingStraightToAnotherButtonRegistersTheSecond) {
    auto form = StartedForm();
    auto& first = Label(*form, "Btn_Macro_1");
    auto& second = Label(*form, "Btn_Update_1");
    const std::u16string firstCaption = controls::unicode::TWideLabel::GetCaption(&first);
    first.OnMouseEnter(&first);
    first.OnMouseLeave(&first);
    second.OnMouseEnter(&second);
    EXPECT_EQ(form->RollingLabelName, "Btn_Update_1");
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&first), firstCaption);
}

TEST(ChromeTest, OverlaySwitchesCoverPagesOneToFiveOnly) {
    auto form = StartedForm();
    form->DisableMainButtonControl(nullptr);
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(form->Named<TControl>("Disable_All_" + std::to_string(k)).Visible()) << k;
    EXPECT_FALSE(form->Named<TControl>("Disable_All_4_1").Visible());
    form->EnableMainButtonControl(nullptr);
    for (int k = 1; k <= 5; ++k)
        EXPECT_FALSE(form->Named<TControl>("Disable_All_" + std::to_string(k)).Visible()) << k;
}

TEST(ChromeTest, MessageDialogIsModalInTheLanguageFontWithOneOk) {
    auto form = StartedForm();
    form->LangFontName = "DejaVu Serif";
    Application()->SetTitle("Gaming Mouse");
    QString text = "unset", family, title;
    int buttons = -1;
    bool iconless = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text();
        family = box->font().family();
        title = box->windowTitle();
        buttons = static_cast<int>(box->buttons().size());
        iconless = box->icon() == QMessageBox::NoIcon;
        box->accept();
    });
    form->RefreshFormMessagDialog(u"");
    EXPECT_EQ(text, "");
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(iconless);
    EXPECT_EQ(title, "Gaming Mouse");
    EXPECT_EQ(family, "DejaVu Serif");
}

TEST(ChromeTest, ExitClosesTheWindowAndMinimiseIsPosted) {
    auto form = StartedForm();
    form->Show();
    auto& mini = Label(*form, "Btn_Mini_3");
    mini.Click();
    EXPECT_NE(form->WindowState(), wsMinimized) << "the command is posted, not run";
    QApplication::processEvents();
    EXPECT_EQ(form->WindowState(), wsMinimized);

    bool asked = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = true;
    };
    Label(*form, "Btn_Exit2_5").Click();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(form->Visible());
}

} // namespace
