// Forms, the application object and the exception box.
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"
#include "platform/vcl/StdCtrls.h"

#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace vcl;

namespace {

// A frameless 200 x 100 maroon form whose maroon pixels are see-through.
void MakeKeyedForm(TForm& form) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 200, 100);
    form.SetColor(clMaroon);
    form.SetTransparentColorValue(clMaroon);
    form.SetTransparentColor(true);
}

TEST(FormTest, ColourKeyMakesKeyedPixelsSeeThrough) {
    TForm form(nullptr);
    MakeKeyedForm(form);
    auto* shape = new TShape(&form);
    shape->SetParent(&form);
    shape->SetPenWidth(0);
    shape->SetBrushColor(clWhite);
    shape->SetBounds(0, 0, 100, 100);
    form.Show();
    form.UpdateShape();

    const QRegion mask = form.Widget()->mask();
    EXPECT_TRUE(mask.contains(QPoint(50, 50))) << "the white area is part of the window";
    EXPECT_FALSE(mask.contains(QPoint(150, 50))) << "maroon is see-through";

    // Uncovering the background changes the shape once events have run.
    shape->SetVisible(false);
    ASSERT_TRUE(
        gui_test::PumpUntil([&] { return !form.Widget()->mask().contains(QPoint(50, 50)); }));
    form.SetTransparentColor(false);
    EXPECT_TRUE(form.Widget()->mask().isEmpty());
}

// Changes made while a control, or the panel it lies on, is hidden show nowhere; the
// shape takes them in once it shows again.
TEST(FormTest, ShapeTakesInWhatChangedWhileHidden) {
    TForm form(nullptr);
    MakeKeyedForm(form);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clMaroon);
    panel->SetBounds(0, 0, 200, 100);
    auto* shape = new TShape(&form);
    shape->SetParent(panel);
    shape->SetPenWidth(0);
    shape->SetBrushColor(clWhite);
    shape->SetBounds(0, 0, 50, 50);
    form.Show();
    form.UpdateShape();
    ASSERT_TRUE(form.Widget()->mask().contains(QPoint(25, 25)));

    struct Case {
        const char* what;
        TControl* hidden;
        int left; // where the white area moves while hidden
    } cases[] = {{"the panel hidden", panel, 100}, {"the area itself hidden", shape, 10}};
    for (const Case& c : cases) {
        const int before = shape->Left();
        c.hidden->SetVisible(false);
        ASSERT_TRUE(gui_test::PumpUntil([&] {
            return !form.Widget()->mask().contains(QPoint(before + 25, 25));
        })) << c.what;
        shape->SetLeft(c.left);
        c.hidden->SetVisible(true);
        EXPECT_TRUE(gui_test::PumpUntil([&] {
            const QRegion mask = form.Widget()->mask();
            return mask.contains(QPoint(c.left + 25, 25)) &&
                   !mask.contains(QPoint(before + 25, 25));
        })) << c.what;
    }
}

TEST(FormTest, ShowingAShownFormAgainChangesNothing) {
    TForm form(nullptr);
    MakeKeyedForm(form);
    int shows = 0;
    form.OnShow = [&](TObject*) { ++shows; };
    form.Show();
    QApplication::processEvents();
    ASSERT_EQ(shows, 1);
    // A marker in place of the shape shows whether the shape is worked out again.
    const QRegion marker(0, 0, 1, 1);
    form.Widget()->setMask(marker);
    for (int i = 0; i < 3; ++i) {
        form.Show();
        QApplication::processEvents();
    }
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(form.Widget()->mask(), marker);
    // Coming into view again is a show: OnShow runs and the shape is the window's own.
    form.Hide();
    form.Show();
    QApplication::processEvents();
    EXPECT_EQ(shows, 2);
    EXPECT_NE(form.Widget()->mask(), marker);
}

TEST(FormTest, FrameCaptionAndScreenCentre) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetFormStyle(fsStayOnTop);
    form.SetCaption("Window title");
    form.SetClientWidth(300);
    form.SetClientHeight(200);
    form.SetPosition(poScreenCenter);
    form.Show();
    const Qt::WindowFlags flags = form.Widget()->windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.Caption(), "Window title");
    EXPECT_EQ(form.Widget()->windowTitle(), "Window title");
    EXPECT_EQ(form.Left(), (Screen()->Width() - 300) / 2);
    EXPECT_EQ(form.Top(), (Screen()->Height() - 200) / 2);
    EXPECT_TRUE(form.Visible());
    form.Hide();
    EXPECT_FALSE(form.Widget()->isVisible());
}

TEST(FormTest, CloseAsksOnCloseQueryAndHonoursTheAnswer) {
    TForm form(nullptr);
    form.Show();
    bool allow = false;
    int queries = 0, closes = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form.Close();
    EXPECT_TRUE(form.Widget()->isVisible());
    EXPECT_EQ(closes, 0);

    // The system's close command takes the same road.
    allow = true;
    form.Widget()->close();
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form.Widget()->isVisible());
}

TEST(ApplicationTest, TitleHintAndProcessMessages) {
    TApplication* app = Application();
    app->SetTitle("Gaming Mouse");
    EXPECT_EQ(app->Title(), "Gaming Mouse");

    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    app->ProcessMessages();
    EXPECT_TRUE(ran);

    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetHint("Exit|Closes the program");
    std::vector<std::string> hints;
    app->OnHint = [&](TObject* sender) {
        EXPECT_EQ(sender, app);
        hints.push_back(app->Hint());
    };
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label->Widget(), &enter);
    QApplication::sendEvent(label->Widget(), &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label->Widget(), &leave);
    EXPECT_EQ(hints, (std::vector<std::string>{"Closes the program", ""}));
    app->OnHint = nullptr;
}

TEST(ApplicationTest, PostedMessagesReachTheMessageHook) {
    TApplication* app = Application();
    std::vector<uint32_t> seen;
    app->OnMessage = [&](TMsg& msg, bool& handled) {
        seen.push_back(msg.message);
        handled = msg.message == 0xFF;
    };
    TMsg input;
    input.message = 0xFF;
    EXPECT_TRUE(app->DispatchAppMessage(input));
    input.message = 0x10;
    app->PostAppMessage(input);
    EXPECT_EQ(seen.size(), 1u);
    app->ProcessMessages();
    EXPECT_EQ(seen, (std::vector<uint32_t>{0xFF, 0x10}));
    app->OnMessage = nullptr;
}

TEST(ApplicationTest, ExceptionEscapingAHandlerShowsTheExceptionBoxAndStops) {
    Application()->SetTitle("Gaming Mouse");
    TForm form(nullptr);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 50, 20);
    label->OnClick = [](TObject*) { throw Exception("Resource Base1_1 not found"); };
    form.Show();

    QString text, title;
    gui_test::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        box->accept();
    });
    QTest::mouseClick(label->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(text, "Resource Base1_1 not found");
    EXPECT_EQ(title, "Gaming Mouse");
}

TEST(ApplicationTest, OnCreateExceptionShowsTheBoxAndReportsFailure) {
    struct Failing : TForm {
        explicit Failing(TComponent* owner) : TForm(owner) {
            OnCreate = [](TObject*) {
                throw std::runtime_error("'x' is not a valid integer value");
            };
        }
    };
    QString text;
    gui_test::WhenModal([&](QWidget* modal) {
        text = static_cast<QMessageBox*>(modal)->text();
        static_cast<QMessageBox*>(modal)->accept();
    });
    Failing form(nullptr);
    EXPECT_FALSE(form.DoCreate());
    EXPECT_EQ(text, "'x' is not a valid integer value");
}

} // namespace
