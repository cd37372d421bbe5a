// The handlers the refresh sets off: they keep values within their bytes when the user
// types, and keep still while the form is being filled.
#include "FormRefreshTestSupport.h"

#include <QApplication>
#include <QTest>

namespace devtest {
namespace {

class FormRefreshHandlersTest : public FormRefreshTest {
protected:
    void Type(const std::string& edit, const std::string& text) {
        form->Named<platform::vcl::TEdit>(edit).SetText(text);
    }
};

TEST_F(FormRefreshHandlersTest, EngineeringEditsClampToTheirBytes) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"edt_Avg_lb_lq", "100", "FF"},      {"edt_LEDInit1", "FE", "FE"},
        {"edt_Col3G", "300", "255"},         {"edt_CPI8B", "256", "255"},
        {"edt_Col1R", "255", "255"},         {"edt_Lower", "70000", "65535"},
        {"edt_UpperTime", "65535", "65535"}, {"edt_StepTime", "999", "255"},
        {"edt_XOffset1", "200", "127"},      {"edt_YOffset10", "-300", "-128"},
        {"edt_XOffset2", "-", "-"},          {"edt_YOffset3", "", "0"}};
    for (const auto& [edit, typed, shown] : cases) {
        Type(edit, typed);
        EXPECT_EQ(Text(edit), shown) << edit << " " << typed;
    }
}

TEST_F(FormRefreshHandlersTest, ColourEditsRepaintTheirSwatch) {
    Type("edt_Col2R", "1");
    Type("edt_Col2G", "2");
    Type("edt_Col2B", "3");
    EXPECT_EQ(Brush("cs_Col2"), 0x030201u);
    Type("edt_CPI5G", "999");
    EXPECT_EQ((Brush("cs_DPI5Col") >> 8) & 0xFF, 255u);
}

TEST_F(FormRefreshHandlersTest, FireKeyEditsClampAndUpdateTheFireKeys) {
    Type("Edt_Repeat1", "");
    EXPECT_EQ(Text("Edt_Repeat1"), "2");
    Type("Edt_Repeat2", "20");
    EXPECT_EQ(Text("Edt_Repeat2"), "15");
    Type("Edt_DelayTime1", "0");
    EXPECT_EQ(Text("Edt_DelayTime1"), "1");
    Type("Edt_DelayTime3", "5000");
    EXPECT_EQ(Text("Edt_DelayTime3"), "4094");
    EXPECT_EQ(form->FireKeyShots[1], 15);
    EXPECT_EQ(form->FireKeyInterval[2], 4094);
    EXPECT_EQ(form->IdentityCopy[2 + 3], 14);
    EXPECT_EQ(form->IdentityCopy[2 + 6 + 1], 0x0F);
    EXPECT_EQ(form->IdentityCopy[2 + 6 + 2], 0xFE);

    Type("Edt_Repeat3", "1");
    form->Edt_Repeat3->OnExit(form->Edt_Repeat3);
    EXPECT_EQ(Text("Edt_Repeat3"), "2") << "one shot becomes two on leaving";

    char16_t key = u'a';
    form->Edt_Repeat1->OnKeyPress(form->Edt_Repeat1, key);
    EXPECT_EQ(key, 0);
    key = u'7';
    form->Edt_Repeat1->OnKeyPress(form->Edt_Repeat1, key);
    EXPECT_EQ(key, u'7');
}

TEST_F(FormRefreshHandlersTest, AFireKeyTypedOnThePerformancePageReachesTheMouse) {
    auto mouse = StartWithMouse();
    ASSERT_EQ(form->DetectedInterface, "I2C");
    Type("Edt_Repeat2", "6");
    Type("Edt_DelayTime2", "300");
    // Fire key 2 lives in identity bytes 5..7 (image 489..491): count index, interval.
    const std::vector<uint8_t> image = mouse->Image();
    EXPECT_EQ(image[489], 5);
    EXPECT_EQ(image[490], 0x01);
    EXPECT_EQ(image[491], 0x2C);
}

// The user's keys on the performance page: the fire-key edits take only digits, yet Tab
// and Shift+Tab move along the window's tab order, so what follows goes to the next edit.
TEST_F(FormRefreshHandlersTest, TabMovesBetweenTheFireKeyEditsAsTheUserTypes) {
    auto mouse = StartWithMouse();
    form->Show();
    form->Btn_Adv_0Click(nullptr);
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    const auto press = [](Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = {}) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, text, mods);
    };
    form->Edt_Repeat1->SetFocus();
    press(Qt::Key_A, "\x01", Qt::ControlModifier);
    press(Qt::Key_8, "8");
    press(Qt::Key_Tab, "\t");
    press(Qt::Key_9, "9");
    EXPECT_EQ(Text("Edt_Repeat1"), "8");
    EXPECT_EQ(Text("Edt_DelayTime1"), "9");
    EXPECT_TRUE(form->Edt_DelayTime1->Focused());
    press(Qt::Key_Backtab, "\t", Qt::ShiftModifier);
    press(Qt::Key_4, "4");
    EXPECT_EQ(Text("Edt_Repeat1"), "4");
    EXPECT_EQ(Text("Edt_DelayTime1"), "9");
    // Fire key 1 lives in identity bytes 2..4 (image 486..488): count index, interval.
    const std::vector<uint8_t> image = mouse->Image();
    EXPECT_EQ(image[486], 3);
    EXPECT_EQ(image[487], 0x00);
    EXPECT_EQ(image[488], 0x09);
}

TEST_F(FormRefreshHandlersTest, WhileFillingTheHandlersKeepStill) {
    window::shell::UiLoadingFlag = 1;
    const auto identity = form->IdentityCopy;
    Type("Edt_Repeat1", "");
    Type("Edt_DelayTime1", "9999");
    EXPECT_EQ(Text("Edt_Repeat1"), "");
    EXPECT_EQ(Text("Edt_DelayTime1"), "9999");
    EXPECT_EQ(form->IdentityCopy, identity);
    Mark("Img_Fire1Continue");
    auto& hold = form->Named<platform::vcl::TCheckBox>("cb_Fire1Continue");
    hold.SetChecked(!hold.Checked());
    EXPECT_EQ(Picture("Img_Fire1Continue"), "WebS_01");
    window::shell::UiLoadingFlag = 0;
    hold.SetChecked(!hold.Checked());
    EXPECT_EQ(Picture("Img_Fire1Continue"), hold.Checked() ? "CbS_E" : "CbS_D");
}

TEST_F(FormRefreshHandlersTest, LevelCountIsWrittenOnlyWhenNotFilling) {
    StartWithMouse();
    ASSERT_TRUE(Present());
    auto& steps = form->Named<platform::vcl::TComboBox>("cb_CPISteps");
    steps.SetItemIndex(5);
    bus->ClearTranscript();
    window::shell::UiLoadingFlag = 1;
    form->cb_CPIStepsChange(nullptr);
    window::shell::UiLoadingFlag = 0;
    EXPECT_TRUE(CommandsSent().empty());
    EXPECT_EQ(form->Named<platform::vcl::TComboBox>("cb_CurrentCPI").Items().ToVector(),
              (std::vector<std::string>{"CPI1", "CPI2", "CPI3", "CPI4", "CPI5", "CPI6"}));
    EXPECT_EQ(Item("cb_CurrentCPI"), 5);
    EXPECT_TRUE(Checked("rb_DPI6"));
    EXPECT_EQ(Picture("Img_DPI6"), "CbS_E");
    EXPECT_FALSE(Enabled("cb_CPI7"));
    form->cb_CPIStepsChange(nullptr);
    EXPECT_EQ(CommandsSent(), (std::vector<uint8_t>{0x05}));
}

} // namespace
} // namespace devtest
