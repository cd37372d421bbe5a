// Forms, the application object and the exception box.
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"
#include "platform/vcl/StdCtrls.h"

#include <QBitmap>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>

using namespace platform::rtl;
using namespace platform::vcl;

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

// The shape as a mask bitmap of the key-coloured pixels gives it: one pixel at a time.
QRegion RegionFromKeyBitmap(const QImage& image, QRgb key) {
    return QRegion(QBitmap::fromImage(image.createMaskFromColor(key, Qt::MaskInColor)));
}

// The form's shape from a render onto a clear canvas the form's size.
QRegion ShapeFromFreshRender(TForm& form) {
    QWidget* w = form.Widget();
    QImage canvas(w->size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    w->render(&canvas, QPoint(), QRegion(),
              QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    return RegionFromKeyBitmap(canvas, ToQColor(form.TransparentColorValue()).rgb());
}

TEST(RegionOutsideColorTest, EqualsTheRegionOfAPixelByPixelMask) {
    const QRgb key = qRgb(128, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    auto image = [&](int w, int h, const std::function<QRgb(int, int)>& pixel) {
        QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, pixel(x, y));
        return img;
    };
    auto noise = [&](int w, int h, unsigned seed, int keyInTen) {
        std::mt19937 rng(seed);
        return image(w, h, [&](int, int) { return int(rng() % 10) < keyInTen ? key : white; });
    };
    struct Case {
        const char* what;
        QImage img;
    } cases[] = {
        {"no key pixel", image(5, 3, [&](int, int) { return white; })},
        {"all key", image(7, 4, [&](int, int) { return key; })},
        {"one key pixel", image(1, 1, [&](int, int) { return key; })},
        {"one other pixel", image(1, 1, [&](int, int) { return white; })},
        {"key down the left and right edges",
         image(9, 6, [&](int x, int) { return x == 0 || x == 8 ? key : white; })},
        {"key along the top and bottom rows",
         image(9, 6, [&](int, int y) { return y == 0 || y == 5 ? key : white; })},
        {"a key hole in the middle",
         image(11, 9,
               [&](int x, int y) { return x > 3 && x < 7 && y > 2 && y < 6 ? key : white; })},
        {"one row of alternating pixels",
         image(17, 1, [&](int x, int) { return x % 2 ? key : white; })},
        {"one column of runs", image(1, 13, [&](int, int y) { return y % 4 == 1 ? key : white; })},
        {"equal rows, then wider, then equal again",
         image(12, 10,
               [&](int x, int y) {
                   return x < (y < 4 ? 3 : y < 7 ? 6 : 3) ? key : white;
               })},
        {"equal rows parted by a row all key",
         image(8, 7, [&](int x, int y) { return y == 3 || x == 2 ? key : white; })},
        {"a shape with rounded corners",
         [&] {
             QImage img(101, 67, QImage::Format_ARGB32_Premultiplied);
             img.fill(key);
             QPainter p(&img);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             p.drawRoundedRect(QRect(0, 0, 101, 67), 15, 15);
             return img;
         }()},
        {"colours next to the key, and clear pixels",
         image(6, 4,
               [&](int x, int y) {
                   const QRgb near[] = {qRgb(128, 0, 1),     qRgb(129, 0, 0),
                                        qRgba(0, 0, 0, 0),   key,
                                        qRgba(128, 0, 0, 0), key};
                   return (x + y) % 2 ? near[x] : key;
               })},
        {"sparse noise", noise(37, 23, 1, 2)},
        {"even noise", noise(41, 29, 2, 5)},
        {"dense noise", noise(33, 31, 3, 8)},
        {"a picture without alpha",
         image(19, 11, [&](int x, int y) { return (x * y) % 3 ? key : white; })
             .convertToFormat(QImage::Format_RGB888)},
    };
    for (const Case& c : cases) {
        const QRegion expected = RegionFromKeyBitmap(c.img, key);
        const QRegion got = RegionOutsideColor(c.img, key);
        EXPECT_EQ(got, expected) << c.what;
        // QRegion's == compares the rectangles one by one; so does a mask handed on.
        EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin(), expected.end())) << c.what;
    }
}

// The shape comes out as a pixel-by-pixel mask of a fresh render gives it, whatever the
// shape worked out before it left on the canvas it keeps.
// A borderless area of one colour on the parent, owned by the form.
TShape* AddArea(TForm& form, TWinControl* parent, TColor colour, int left, int top, int width,
                int height) {
    auto* s = new TShape(&form);
    s->SetParent(parent);
    s->SetPenWidth(0);
    s->SetBrushColor(colour);
    s->SetBounds(left, top, width, height);
    return s;
}

TEST(FormTest, ShapeEqualsTheMaskOfWhatTheWindowShows) {
    struct Case {
        const char* what;
        QSize size;
        TColor formColour;
        std::function<void(TForm&)> build;
    } cases[] = {
        {"no children, all key", {200, 100}, clMaroon, [](TForm&) {}},
        {"no children, no key", {120, 80}, clWhite, [](TForm&) {}},
        {"an area in the middle",
         {200, 100},
         clMaroon,
         [](TForm& f) { AddArea(f, &f, clWhite, 60, 30, 70, 40); }},
        {"areas at the edges, one reaching past them",
         {151, 77},
         clMaroon,
         [](TForm& f) {
             AddArea(f, &f, clNavy, 0, 0, 20, 10);
             AddArea(f, &f, clNavy, 140, 60, 30, 40);
             AddArea(f, &f, clNavy, 0, 70, 151, 7);
         }},
        {"a key-coloured child over a form of another colour",
         {99, 61},
         clWhite,
         [](TForm& f) { AddArea(f, &f, clMaroon, 10, 5, 50, 40); }},
        {"hidden children count for nothing",
         {200, 100},
         clMaroon,
         [](TForm& f) {
             auto* panel = new TPanel(&f);
             panel->SetParent(&f);
             panel->SetBounds(0, 0, 100, 100);
             panel->SetVisible(false);
             AddArea(f, &f, clWhite, 120, 10, 50, 50)->SetVisible(false);
         }},
        {"a child on a key-coloured panel, with an outline",
         {133, 91},
         clMaroon,
         [](TForm& f) {
             auto* panel = new TPanel(&f);
             panel->SetParent(&f);
             panel->SetBevelOuter(bvNone);
             panel->SetColor(clMaroon);
             panel->SetBounds(7, 9, 100, 70);
             TShape* s = AddArea(f, panel, clWhite, 15, 10, 61, 43);
             s->SetShape(stEllipse);
             s->SetPenWidth(2);
             s->SetPenColor(clYellow);
         }},
        {"a window that draws no background of its own",
         {80, 50},
         clMaroon,
         [](TForm& f) {
             f.Widget()->setAttribute(Qt::WA_NoSystemBackground);
             AddArea(f, &f, clMaroon, 0, 0, 40, 50);
         }},
    };
    for (const Case& c : cases) {
        TForm form(nullptr);
        MakeKeyedForm(form);
        form.SetBounds(0, 0, c.size.width(), c.size.height());
        // A first shape of the window all in the key colour leaves a canvas all key.
        form.Show();
        form.UpdateShape();
        ASSERT_TRUE(form.Widget()->mask().isEmpty()) << c.what;

        form.SetColor(c.formColour);
        c.build(form);
        QApplication::processEvents();
        form.UpdateShape();
        EXPECT_EQ(form.Widget()->mask(), ShapeFromFreshRender(form)) << c.what;
    }
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
