// The main window as its design builds it.
#include "common/Screenshot.h"
#include "platform/vcl/FormDesign.h"
#include "window/Main.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

TEST(MainFormTest, FrameFromTheDesign) {
    auto form = std::make_unique<window::TForm1>(nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Caption(), "VTRM408x Gaming Mouse v1.0");
    EXPECT_EQ(form->ClientWidth(), 1252);
    EXPECT_EQ(form->ClientHeight(), 684);
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_TRUE(form->Widget()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->Color(), clMaroon);
    EXPECT_TRUE(form->TransparentColor());
    EXPECT_EQ(form->TransparentColorValue(), clMaroon);
    EXPECT_EQ(form->Position(), poScreenCenter);
    EXPECT_TRUE(form->ShowHint());

    TGroupBox* pages[] = {form->gbPage1, form->gbPage2, form->gbPage3, form->gbPage4,
                          form->gbPage5, form->gbPage6, form->gbPage7};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_NE(pages[i], nullptr);
        EXPECT_EQ(pages[i]->Name(), "gbPage" + std::to_string(i + 1));
        EXPECT_EQ(pages[i]->Parent(), form.get());
        EXPECT_EQ(pages[i]->Left(), 0);
        EXPECT_EQ(pages[i]->Top(), 0);
        EXPECT_EQ(pages[i]->Caption(), "");
        EXPECT_EQ(pages[i]->Visible(), i == 0) << "one page shows at a time";
    }

    form->Show();
    EXPECT_EQ(form->Left(), (Screen()->Width() - 1252) / 2);
    EXPECT_EQ(form->Top(), (Screen()->Height() - 684) / 2);
    form->UpdateShape();
    EXPECT_FALSE(form->Widget()->mask().contains(QPoint(500, 300)))
        << "an empty page is all colour key";
    EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), "Form1").isEmpty());
}

TEST(MainFormTest, DesignOfTheMainWindowFitsAnotherInstance) {
    // Two windows from one design: names are per window, so both build.
    window::TForm1 first(nullptr);
    window::TForm1 second(nullptr);
    EXPECT_NE(first.gbPage3, second.gbPage3);
    EXPECT_EQ(first.FindComponent("GBPAGE3"), first.gbPage3);
}

} // namespace
