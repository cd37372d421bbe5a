// The language buttons: what a switch sets, the pressed pictures and captions they keep on
// hover and leave, the web button, and the device messages following the language.
#include "ShellTestSupport.h"

#include "window/device/DeviceTexts.h"
#include "platform/desktop/Shell32.h"
#include "window/shell/LanguageTables.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;
using controls::unicode::TWideLabel;
using shell_test::StartedForm;

namespace {

std::string Num(const char* prefix, int n, int copy) {
    return prefix + std::to_string(n) + "_" + std::to_string(copy);
}

// The picture on each language's five button images, as resource names.
std::vector<std::string> LanguagePictures(window::TForm1& form, int n) {
    std::vector<std::string> pictures;
    for (int i = 1; i <= 5; ++i)
        pictures.push_back(form.Named<TImage>(Num("Img_Lang", n, i)).PictureName());
    return pictures;
}

const std::vector<std::string> Pressed(5, "SetS_03");
const std::vector<std::string> Normal(5, "SetS_01");

TWideLabel& LangLabel(window::TForm1& form, int n, int copy) {
    return form.Named<TWideLabel>(Num("Btn_Lang", n, copy));
}

TEST(LanguageSwitchTest, StartEndsInLanguageOneWithItsButtonsPressedAndTheOverlaysGone) {
    auto form = StartedForm();
    EXPECT_EQ(form->LanguageNumber, 1);
    EXPECT_TRUE(form->rb_Lang1->Checked());
    EXPECT_FALSE(form->rb_Lang2->Checked());
    EXPECT_FALSE(form->rb_Lang3->Checked());
    EXPECT_EQ(LanguagePictures(*form, 1), Pressed);
    EXPECT_EQ(LanguagePictures(*form, 2), Normal);
    EXPECT_EQ(LanguagePictures(*form, 3), Normal);
    EXPECT_FALSE(form->Disable_All_1->Visible());
    EXPECT_EQ(form->Language1Caption, TWideLabel::GetCaption(&LangLabel(*form, 1, 1)));
    EXPECT_EQ(form->RollingText, form->Language1Caption);
    EXPECT_EQ(form->RollingStep, 0);
}

TEST(LanguageSwitchTest, EachButtonSetsItsLanguageRadioPicturesAndRememberedCaption) {
    auto form = StartedForm();
    for (int n : {2, 3, 1, 3}) {
        // Any of the five copies switches; the design binds them all.
        LangLabel(*form, n, n + 1).Click();
        EXPECT_EQ(form->LanguageNumber, n);
        EXPECT_EQ(form->rb_Lang1->Checked(), n == 1);
        EXPECT_EQ(form->rb_Lang2->Checked(), n == 2);
        EXPECT_EQ(form->rb_Lang3->Checked(), n == 3);
        for (int other = 1; other <= 3; ++other)
            EXPECT_EQ(LanguagePictures(*form, other), other == n ? Pressed : Normal)
                << "after " << n << ", language " << other;
        const std::u16string caption = TWideLabel::GetCaption(&LangLabel(*form, n, 1));
        const std::u16string& remembered = n == 1   ? form->Language1Caption
                                           : n == 2 ? form->Language2Caption
                                                    : form->Language3Caption;
        EXPECT_EQ(remembered, caption);
        EXPECT_EQ(form->RollingLabelCaption, caption);
        EXPECT_EQ(form->RollingStep, 0);
        EXPECT_FALSE(form->Disable_All_1->Visible());
    }
}

TEST(LanguageSwitchTest, SwitchClosesTheDelayPanelKeepsTheInsertChoiceAndSetsTheTitle) {
    auto form = StartedForm();
    auto& insert = form->Named<TComboBox>("CB_Insert");
    insert.SetItemIndex(5);
    form->Gb_Delay->SetVisible(true);
    form->RollingStep = 7;
    form->TitleText = "Title of the language before";
    const std::string title = Application()->Title();
    form->Btn_Lang3_0Click(nullptr);
    EXPECT_EQ(insert.ItemIndex(), 5);
    EXPECT_FALSE(form->Gb_Delay->Visible());
    EXPECT_EQ(form->RollingStep, 0);
    // The title is the one the switch's own table gives.
    EXPECT_EQ(Application()->Title(), window::shell::LanguageText(3, "Title"));
    EXPECT_EQ(Application()->Title(), "Gaming Mouse");
    Application()->SetTitle(title);
}

TEST(LanguageSwitchTest, OnlyTheFirstLanguagePumpsPendingMessagesAndOnlyOnAShownWindow) {
    auto form = StartedForm();
    int delivered = 0;
    auto post = [&] { QTimer::singleShot(0, [&] { ++delivered; }); };
    post();
    form->Btn_Lang1_0Click(nullptr); // not shown yet: as during start-up
    EXPECT_EQ(delivered, 0);
    form->Show();
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(delivered, 0);
    form->Btn_Lang1_0Click(nullptr);
    EXPECT_EQ(delivered, 1);
}

TEST(LanguageSwitchTest, HoverWhileTheOverlaysCoverThePagesChangesNothingButAClickSwitches) {
    auto form = StartedForm();
    form->ShowDisableOverlays();
    form->RollingLabelName = "before";
    form->ButtonTypeDMouseEnter(&LangLabel(*form, 2, 4));
    EXPECT_EQ(form->Named<TImage>("Img_Lang2_4").PictureName(), "SetS_01");
    EXPECT_EQ(form->RollingLabelName, "before");
    form->LabelRun->SetEnabled(true);
    form->ButtonTypeDMouseLeave(&LangLabel(*form, 2, 4));
    EXPECT_TRUE(form->LabelRun->Enabled());

    LangLabel(*form, 2, 4).Click();
    EXPECT_EQ(form->LanguageNumber, 2);
    // The switch takes the overlays away itself.
    EXPECT_FALSE(form->Disable_All_1->Visible());
}

TEST(LanguageSwitchTest, HoverShowsTheHoverPictureAndStartsTheRollingText) {
    auto form = StartedForm();
    TWideLabel& label = LangLabel(*form, 3, 2);
    label.OnMouseEnter(&label);
    EXPECT_EQ(form->Named<TImage>("Img_Lang3_2").PictureName(), "SetS_02");
    EXPECT_EQ(form->RollingLabelName, "Btn_Lang3_2");
    EXPECT_EQ(form->RollingLabelCaption, TWideLabel::GetCaption(&label));
    EXPECT_EQ(form->RollingText, form->RollingLabelCaption);
    // Only the hovered copy changes.
    EXPECT_EQ(form->Named<TImage>("Img_Lang3_1").PictureName(), "SetS_01");
}

TEST(LanguageSwitchTest, LeavingAnyButtonRestoresTheCurrentLanguagesPicturesAndCaptions) {
    auto form = StartedForm();
    form->Btn_Lang2_0Click(nullptr);
    ASSERT_FALSE(form->Language2Caption.empty());
    // A rolled caption on one copy and a hover picture on another language's button.
    TWideLabel::SetCaption(&LangLabel(*form, 2, 4), u"rolled text");
    TWideLabel& other = LangLabel(*form, 3, 2);
    other.OnMouseEnter(&other);
    form->LabelRun->SetEnabled(true);
    other.OnMouseLeave(&other);
    EXPECT_FALSE(form->LabelRun->Enabled());
    EXPECT_EQ(form->Named<TImage>("Img_Lang3_2").PictureName(), "SetS_01");
    EXPECT_EQ(LanguagePictures(*form, 2), Pressed);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(TWideLabel::GetCaption(&LangLabel(*form, 2, i)), form->Language2Caption) << i;

    // Leaving the current language's own button shows it pressed again.
    TWideLabel& own = LangLabel(*form, 2, 1);
    own.OnMouseEnter(&own);
    EXPECT_EQ(form->Named<TImage>("Img_Lang2_1").PictureName(), "SetS_02");
    own.OnMouseLeave(&own);
    EXPECT_EQ(LanguagePictures(*form, 2), Pressed);
}

TEST(LanguageSwitchTest, LeavingWithNoLanguageCheckedOnlyResetsTheButton) {
    auto form = StartedForm();
    form->rb_Lang1->SetChecked(false);
    ASSERT_FALSE(form->rb_Lang1->Checked() || form->rb_Lang2->Checked() ||
                 form->rb_Lang3->Checked());
    TWideLabel::SetCaption(&LangLabel(*form, 1, 3), u"rolled");
    form->ButtonTypeDMouseLeave(&LangLabel(*form, 1, 3));
    EXPECT_EQ(form->Named<TImage>("Img_Lang1_3").PictureName(), "SetS_01");
    EXPECT_EQ(form->Named<TImage>("Img_Lang1_1").PictureName(), "SetS_03");
    EXPECT_EQ(TWideLabel::GetCaption(&LangLabel(*form, 1, 3)), u"rolled");
}

// ---- Web button -----------------------------------------------------------------------

class WebButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::desktop::testing::SetShellOpenHandler([this](const std::string& file) {
            opened.push_back(file);
            return true;
        });
    }
    void TearDown() override { platform::desktop::testing::SetShellOpenHandler(nullptr); }

    std::vector<std::string> WebPictures(window::TForm1& form) {
        std::vector<std::string> pictures;
        for (int i = 1; i <= 5; ++i)
            pictures.push_back(form.Named<TImage>("Img_Web_" + std::to_string(i)).PictureName());
        return pictures;
    }

    std::vector<std::string> opened;
};

TEST_F(WebButtonTest, HoverAndLeaveChangeAllFivePicturesEvenUnderTheOverlays) {
    auto form = StartedForm();
    form->ShowDisableOverlays();
    auto& web = form->Named<TWideLabel>("Btn_Web_2");
    web.OnMouseEnter(&web);
    EXPECT_EQ(WebPictures(*form), std::vector<std::string>(5, "WebS_03"));
    web.OnMouseLeave(&web);
    EXPECT_EQ(WebPictures(*form), std::vector<std::string>(5, "WebS_01"));
}

TEST_F(WebButtonTest, ClickOpensTheLinkOnlyWhenEnabled) {
    auto form = StartedForm();
    form->WebLink = "https://example.org/support";
    form->WebLinkEnabled = false;
    auto& web = form->Named<TWideLabel>("Btn_Web_4");
    web.Click();
    EXPECT_EQ(WebPictures(*form), std::vector<std::string>(5, "WebS_02"));
    EXPECT_TRUE(opened.empty());

    form->WebLinkEnabled = true;
    web.Click();
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/support"});
}

TEST_F(WebButtonTest, AFailedOpenIsIgnored) {
    platform::desktop::testing::SetShellOpenHandler([](const std::string&) { return false; });
    auto form = StartedForm();
    form->WebLinkEnabled = true;
    form->WebLink = "not a link";
    EXPECT_NO_THROW(form->Btn_Web_0Click(nullptr));
    EXPECT_EQ(WebPictures(*form), std::vector<std::string>(5, "WebS_02"));
}

TEST(ShellExecuteTest, OpensOnlyWithTheOpenVerbAndAFile) {
    std::vector<std::string> opened;
    platform::desktop::testing::SetShellOpenHandler([&](const std::string& file) {
        opened.push_back(file);
        return true;
    });
    using platform::desktop::ShellExecuteA;
    auto code = [](platform::desktop::HINSTANCE h) { return reinterpret_cast<intptr_t>(h); };
    EXPECT_GT(code(ShellExecuteA(nullptr, nullptr, "https://a.example", nullptr, nullptr, 1)), 32);
    EXPECT_GT(code(ShellExecuteA(nullptr, "open", "https://b.example", nullptr, nullptr, 1)), 32);
    EXPECT_LE(code(ShellExecuteA(nullptr, "print", "https://c.example", nullptr, nullptr, 1)), 32);
    EXPECT_LE(code(ShellExecuteA(nullptr, nullptr, "", nullptr, nullptr, 1)), 32);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://a.example", "https://b.example"}));
    platform::desktop::testing::SetShellOpenHandler(nullptr);
}

// ---- Device messages ------------------------------------------------------------------

TEST(LanguageSwitchTest, DeviceMessagesFollowTheCurrentLanguage) {
    ASSERT_EQ(window::Form1, nullptr);
    // Before the window exists: the start language.
    EXPECT_EQ(window::device::DeviceText("Str100"), "Waiting to reconnect device");
    auto form = StartedForm();
    window::Form1 = form.get();
    form->Btn_Lang3_0Click(nullptr);
    EXPECT_EQ(window::device::DeviceText("Str100"), "No Device Found");
    EXPECT_EQ(window::device::DeviceText("Str101"),
              "Please check your device is attached to USB port");
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(window::device::DeviceText("Str107"), window::shell::LanguageText(2, "Str107"));
    EXPECT_EQ(window::device::DeviceText("Str107"), "滑鼠廠商編碼或產品編碼錯誤");
    form->Btn_Lang1_0Click(nullptr);
    EXPECT_EQ(window::device::DeviceText("Str101"), "");
    EXPECT_EQ(window::device::DeviceText("Str999"), "");
    window::Form1 = nullptr;
}

} // namespace
