// The busy window: its design, its place at creation and at every busy-window step,
// its animation and the input it holds off.
#include "FormLoadingFixture.h"
#include "common/EventCounter.h"
#include "common/Screenshot.h"
#include "device/Subroutines.h"
#include "platform/vcl/FormDesign.h"
#include "platform/vcl/StdCtrls.h"
#include "support/InputBlock.h"
#include "window/shell/Program.h"
#include "window/shell/SkinImages.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QBitmap>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;
using window::shell::TFormLoadingUI;

namespace {

// Handles events until the condition holds or two seconds have passed.
template <class F> bool PumpUntil(F condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 2000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

using FormLoadingTest = FormLoadingFixture;

TEST_F(FormLoadingTest, WindowAndAnimationAsDesigned) {
    Create(0, 0, 1030, 662);
    TFormLoadingUI& busy = Busy();
    EXPECT_EQ(busy.Name(), "FormLoadingUI");
    EXPECT_EQ(busy.Caption(), "FormLoadingUI");
    EXPECT_EQ(busy.ClientWidth(), 206);
    EXPECT_EQ(busy.ClientHeight(), 196);
    EXPECT_EQ(busy.BorderStyle(), bsNone);
    EXPECT_TRUE(busy.Widget()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(busy.FormStyle(), fsStayOnTop);
    EXPECT_TRUE(busy.Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(busy.Color(), clBlack);
    EXPECT_TRUE(busy.TransparentColor());
    EXPECT_EQ(busy.TransparentColorValue(), clBlack);
    EXPECT_TRUE(busy.AlphaBlend());
    EXPECT_EQ(busy.AlphaBlendValue(), 255);
    EXPECT_TRUE(busy.KeyPreview()) << "switched on in creation";
    EXPECT_FALSE(busy.Visible()) << "created hidden";
    EXPECT_FALSE(busy.Widget()->isVisible());
    EXPECT_FALSE(busy.InputBlocked());

    support::TGifAnimatorControl* gif = busy.WaitGif;
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->Name(), "WaitGif");
    EXPECT_EQ(gif->Parent(), &busy);
    EXPECT_EQ(gif->Left(), 0);
    EXPECT_EQ(gif->Top(), 0);
    EXPECT_EQ(gif->Width(), 200);
    EXPECT_EQ(gif->Height(), 192);
    EXPECT_TRUE(gif->Stretch());
    EXPECT_TRUE(gif->Animate());
    EXPECT_EQ(gif->PictureName(), "BUSYGIF");
    EXPECT_EQ(gif->Animator()->FrameCount(), 12);
    EXPECT_EQ(gif->Animator()->PictureSize(), QSize(200, 192));
    EXPECT_EQ(gif->FrameIndex(), 10) << "the design's frame until the animation runs";
}

// The start's list of animations decoded ahead names only what the busy window loads.
TEST_F(FormLoadingTest, StartupAnimationsAreAllLoadedByTheBusyWindow) {
    support::TGifPicturesAhead ahead(window::shell::StartupGifPictures());
    Create(0, 0, 1030, 662);
    EXPECT_EQ(ahead.NeverAsked(), std::vector<std::string>{});
    EXPECT_EQ(Busy().WaitGif->Animator()->FrameCount(), 12);
}

// The start's list of designs read ahead names only the windows a start builds, and each
// builds from the design read ahead as it would from its text.
TEST_F(FormLoadingTest, StartupDesignsAreAllBuiltByTheStart) {
    platform::vcl::TFormDesignsAhead ahead(window::shell::StartupFormDesigns());
    Create(0, 0, 1030, 662);
    EXPECT_EQ(ahead.NeverAsked(), std::vector<std::string>{});
    EXPECT_EQ(Main().ComponentCount(), 1283);
    EXPECT_EQ(Busy().WaitGif->PictureName(), "BUSYGIF");
}

TEST_F(FormLoadingTest, CreationPlacesItFortyPixelsBelowTheCentreOfForm1) {
    Create(100, 50, 1030, 662);
    EXPECT_EQ(Busy().Left(), 100 + (1030 - 206) / 2);
    EXPECT_EQ(Busy().Top(), 50 + (662 - 196) / 2 + 40);
}

TEST_F(FormLoadingTest, CreationHalvesTruncateTowardZero) {
    // A main window narrower and lower than the busy window: odd negative differences,
    // where flooring would give one pixel less.
    Create(300, 200, 101, 95);
    EXPECT_EQ(Busy().Left(), 300 - 52);
    EXPECT_EQ(Busy().Top(), 200 - 50 + 40);
}

TEST_F(FormLoadingTest, EveryStepCentresOnForm1WithoutTheOffset) {
    Create(100, 50, 1030, 662);
    device::BusyWindow* step = device::GetBusyWindow();
    ASSERT_NE(step, nullptr);

    step->Step();
    EXPECT_TRUE(Busy().Visible());
    EXPECT_TRUE(Busy().Widget()->isVisible());
    EXPECT_EQ(Busy().Left(), 100 + 412);
    EXPECT_EQ(Busy().Top(), 50 + 233);

    // Form1 moved between two steps of one transfer: the next step follows it.
    Main().SetBounds(-40, 7, 1030, 662);
    step->Step();
    EXPECT_EQ(Busy().Left(), -40 + 412);
    EXPECT_EQ(Busy().Top(), 7 + 233);

    // Grown to the engineering size: centred on the larger window.
    Main().SetBounds(-40, 7, 1256, 680);
    step->Step();
    EXPECT_EQ(Busy().Left(), -40 + (1256 - 206) / 2);
    EXPECT_EQ(Busy().Top(), 7 + (680 - 196) / 2);
    EXPECT_EQ(Busy().Width(), 206);
    EXPECT_EQ(Busy().Height(), 196);

    step->Hide();
    EXPECT_FALSE(Busy().Visible());
    EXPECT_FALSE(Busy().Widget()->isVisible());

    // Shown again after a move while hidden: placed before it shows.
    Main().SetBounds(10, 20, 1030, 662);
    step->Step();
    EXPECT_TRUE(Busy().Visible());
    EXPECT_EQ(Busy().Left(), 10 + 412);
    EXPECT_EQ(Busy().Top(), 20 + 233);
    EXPECT_FALSE(testing_support::SaveScreenshot(Busy().Widget(), "FormLoadingUI").isEmpty());
    step->Hide();
}

TEST_F(FormLoadingTest, EveryStepShowsTheWindowAndBringsItToTheFront) {
    Create(100, 50, 1030, 662);
    device::BusyWindow* step = device::GetBusyWindow();
    // The busy window's moves to the front of the windows.
    testing_support::EventCounter counter(Busy().Widget(), QEvent::ZOrderChange);
    Main().Show();
    for (int i = 1; i <= 3; ++i) {
        // The main window (or any other) came over the busy window since the last step.
        Main().BringToFront();
        const int before = counter.count;
        step->Step();
        EXPECT_TRUE(Busy().Widget()->isVisible()) << "step " << i;
        EXPECT_GT(counter.count, before) << "step " << i << " left it behind";
    }
    // Hidden behind the program's back (not through Hide): the next step shows it again.
    Busy().Widget()->hide();
    step->Step();
    EXPECT_TRUE(Busy().Widget()->isVisible());
    Busy().Widget()->removeEventFilter(&counter);
    step->Hide();
}

// Counts the requests to bring a window to the front that reach the window system: the
// offscreen platform, which cannot stack windows, answers each with a warning.
class RaiseRequests {
public:
    RaiseRequests() {
        count_ = 0;
        previous_ = qInstallMessageHandler(&Note);
    }
    ~RaiseRequests() { qInstallMessageHandler(previous_); }
    int count() const { return count_; }

private:
    static void Note(QtMsgType, const QMessageLogContext&, const QString& message) {
        if (message.contains(QLatin1String("support raise"))) ++count_;
    }
    static inline int count_ = 0;
    QtMessageHandler previous_;
};

// Every step asks the window system to bring the busy window to the front (windows of
// other programs may have come over it); Qt's notice to the window's widget about its
// new place comes whenever one of the program's windows may have moved since the last
// step: the program moved or showed one, or events were handled.
TEST_F(FormLoadingTest, EveryStepRaisesTheWindowAndNoticesWhenTheProgramsWindowsMoved) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "counts the offscreen platform's answers";
    Create(100, 50, 1030, 662);
    Busy().WaitGif->SetAnimate(false); // messages then wait kQuietMs between steps
    Main().Show();
    TForm other(nullptr);
    other.SetBounds(0, 0, 50, 50);
    device::BusyWindow* step = device::GetBusyWindow();
    testing_support::EventCounter notices(Busy().Widget(), QEvent::ZOrderChange);
    bool handled = false;
    QObject watch;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &watch,
                     [&] { handled = true; });
    const std::function<void()> nothing = [] {};
    struct Case {
        const char* between;
        std::function<void()> act;
        bool moves;
    } cases[] = {
        {"nothing", nothing, false},
        {"nothing", nothing, false},
        {"main window to the front", [&] { Main().BringToFront(); }, true},
        {"nothing", nothing, false},
        {"another window shown", [&] { other.Show(); }, true},
        {"nothing", nothing, false},
        {"main window to the back", [&] { Main().SendToBack(); }, true},
        {"events handled elsewhere", [] { QApplication::processEvents(); }, true},
        {"nothing", nothing, false},
        {"nothing", nothing, false},
    };
    RaiseRequests requests;
    step->Step(); // comes up
    int quietSteps = 0;
    for (const Case& c : cases) {
        // A step that handled messages leaves the next one nothing to be sure of.
        const bool expected = c.moves || handled;
        c.act();
        const int noticesBefore = notices.count, requestsBefore = requests.count();
        handled = false;
        step->Step();
        EXPECT_GE(requests.count() - requestsBefore, 1) << c.between;
        EXPECT_EQ(notices.count > noticesBefore, expected) << c.between;
        if (!expected) ++quietSteps;
    }
    EXPECT_GT(quietSteps, 0) << "every step handled messages: nothing was checked quiet";
    Busy().Widget()->removeEventFilter(&notices);
    Busy().WaitGif->SetAnimate(true);
    step->Hide();
}

TEST_F(FormLoadingTest, StepWithoutBusyWindowOrMainWindowStillHandlesMessages) {
    Create(0, 0, 1030, 662);
    device::BusyWindow* step = device::GetBusyWindow();
    bool ran = false;
    QTimer::singleShot(0, qApp, [&] { ran = true; });
    window::shell::FormLoadingUI = nullptr;
    step->Step();
    EXPECT_TRUE(ran) << "waiting messages are handled";
    EXPECT_FALSE(Busy().Visible());

    // Without Form1 the window shows where it stands.
    window::shell::FormLoadingUI = &Busy();
    const int left = Busy().Left(), top = Busy().Top();
    window::Form1 = nullptr;
    step->Step();
    EXPECT_TRUE(Busy().Visible());
    EXPECT_EQ(Busy().Left(), left);
    EXPECT_EQ(Busy().Top(), top);
    step->Hide();
}

TEST_F(FormLoadingTest, BlackIsSeeThrough) {
    Create(0, 0, 1030, 662);
    device::GetBusyWindow()->Step();
    Busy().UpdateShape();
    const QRegion shape = Busy().Widget()->mask();
    ASSERT_FALSE(shape.isEmpty());
    // The strip beside and below the 200 x 192 picture is window colour: see-through.
    for (QPoint p : {QPoint(203, 10), QPoint(10, 194), QPoint(205, 195)})
        EXPECT_FALSE(shape.contains(p)) << p.x() << "," << p.y();
    // Inside the picture, exactly the frame's non-black pixels are kept.
    const QImage frame =
        Busy().WaitGif->Animator()->CurrentFrame().convertToFormat(QImage::Format_ARGB32);
    int kept = 0, black = 0;
    for (int y = 0; y < 192; y += 3)
        for (int x = 0; x < 200; x += 3) {
            const QRgb c = frame.pixel(x, y);
            const bool seeThrough = qAlpha(c) == 0 || (c & 0xFFFFFF) == 0;
            EXPECT_EQ(shape.contains(QPoint(x, y)), !seeThrough) << x << "," << y;
            (seeThrough ? black : kept)++;
        }
    EXPECT_GT(kept, 0);
    EXPECT_GT(black, 0);
    device::GetBusyWindow()->Hide();
}

TEST_F(FormLoadingTest, ShapeFollowsEveryFrameAlsoWhenSaved) {
    Create(0, 0, 1030, 662);
    device::GetBusyWindow()->Step();
    support::TGifAnimatorControl* gif = Busy().WaitGif;
    gif->SetAnimate(false);
    QWidget* w = Busy().Widget();
    // The shape the window takes at a frame change must be the one worked out afresh
    // for that frame: the first round works them out, the second reuses them.
    const auto shownThenFresh = [&](int frame) {
        gif->SetFrameIndex(frame);
        QApplication::processEvents();
        const QRegion shown = w->mask();
        Busy().UpdateShape();
        return std::make_pair(shown, w->mask());
    };
    const int frames = gif->Animator()->FrameCount();
    ASSERT_GT(frames, 1);
    std::vector<QRegion> distinct;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < frames; ++i) {
            const auto [shown, fresh] = shownThenFresh(i);
            EXPECT_EQ(shown, fresh) << "round " << round << " frame " << i;
            if (std::find(distinct.begin(), distinct.end(), fresh) == distinct.end())
                distinct.push_back(fresh);
        }
    ASSERT_GT(distinct.size(), 1u) << "frames differ in shape";

    // Moving the picture changes every frame's shape: nothing saved before may come back,
    // nor after hiding and showing the window again.
    gif->SetLeft(4);
    for (int i = 0; i < frames; ++i) {
        const auto [shown, fresh] = shownThenFresh(i);
        EXPECT_EQ(shown, fresh) << "moved, frame " << i;
        EXPECT_TRUE(fresh.intersected(QRect(0, 0, 4, 196)).isEmpty())
            << "the strip left of the moved picture is see-through, frame " << i;
    }
    device::GetBusyWindow()->Hide();
    device::GetBusyWindow()->Step();
    const auto [shown, fresh] = shownThenFresh(0);
    EXPECT_EQ(shown, fresh) << "shown again";
    gif->SetAnimate(true);
    device::GetBusyWindow()->Hide();
}

TEST_F(FormLoadingTest, AnimationRunsWhileShownAndHoldsWhileHidden) {
    Create(0, 0, 1030, 662);
    support::TGifAnimator* gif = Busy().WaitGif->Animator();
    const int before = gif->FrameIndex();
    QApplication::processEvents();
    QTest::qWait(120);
    EXPECT_EQ(gif->FrameIndex(), before) << "no animation while the window is hidden";

    device::GetBusyWindow()->Step();
    const int shown = gif->FrameIndex();
    EXPECT_TRUE(PumpUntil([&] { return gif->FrameIndex() != shown; }));
    // It keeps cycling through every frame, not just one step.
    int seen = 0;
    int last = gif->FrameIndex();
    EXPECT_TRUE(PumpUntil([&] {
        if (gif->FrameIndex() != last) {
            last = gif->FrameIndex();
            ++seen;
        }
        return seen >= 12;
    }));
    device::GetBusyWindow()->Hide();
}

TEST_F(FormLoadingTest, FrameShapesOutliveHidingAndShowingButNotChangesMadeMeanwhile) {
    Create(0, 0, 1030, 662);
    device::BusyWindow* step = device::GetBusyWindow();
    support::TGifAnimatorControl* gif = Busy().WaitGif;
    gif->SetAnimate(false);
    QWidget* w = Busy().Widget();
    testing_support::EventCounter counter(gif->Animator(), QEvent::Paint);
    const int frames = gif->Animator()->FrameCount();
    // Each transfer shows the window and hides it again; the animation's frames come
    // round again in the next one.
    const auto transfer = [&](const char* what) {
        step->Step();
        for (int i = 0; i < frames; ++i) {
            const int paintsBefore = counter.count;
            gif->SetFrameIndex((gif->FrameIndex() + 1) % frames);
            QApplication::processEvents();
            const int paints = counter.count - paintsBefore;
            const QRegion shown = w->mask();
            Busy().UpdateShape();
            EXPECT_EQ(shown, w->mask()) << what << ", frame " << gif->FrameIndex();
            if (std::string(what) == "again") {
                EXPECT_EQ(paints, 1)
                    << "drawn once, its shape taken from before, frame " << gif->FrameIndex();
            }
        }
        step->Hide();
    };
    transfer("first");
    transfer("again");
    // The picture moved while the window was hidden: no shape from before may come back.
    gif->SetLeft(4);
    transfer("moved while hidden");
    EXPECT_TRUE(w->mask().intersected(QRect(0, 0, 4, 196)).isEmpty());
    gif->SetAnimate(true);
    gif->Animator()->removeEventFilter(&counter);
}

TEST_F(FormLoadingTest, StepsOfATransferKeepTheWindowAnimatedAndMessagesFlowing) {
    Create(0, 0, 1030, 662);
    Main().Show();
    device::BusyWindow* step = device::GetBusyWindow();
    support::TGifAnimator* gif = Busy().WaitGif->Animator();
    testing_support::EventCounter counter(gif, QEvent::Paint);

    bool ran = false;
    QTimer::singleShot(0, qApp, [&] { ran = true; });
    step->Step();
    EXPECT_TRUE(ran) << "the step that brings the window up handles what waits";

    // A transfer of 1 ms reports: a step before each. Now and then something is posted
    // (a repaint, a timer, input); every frame of the animation is shown when it is due.
    QElapsedTimer clock;
    clock.start();
    int frames = 0, last = gif->FrameIndex();
    int posted = 0, handled = 0;
    qint64 postedAt = -1, longestWait = 0;
    const int paintsBefore = counter.count;
    while (clock.elapsed() < 600) {
        if (postedAt < 0 && clock.elapsed() >= 100 * (posted + 1)) {
            postedAt = clock.elapsed();
            ++posted;
            QTimer::singleShot(0, qApp, [&] {
                ++handled;
                longestWait = std::max(longestWait, clock.elapsed() - postedAt);
                postedAt = -1;
            });
        }
        step->Step();
        if (gif->FrameIndex() != last) ++frames, last = gif->FrameIndex();
        QTest::qSleep(1);
    }
    step->Hide();
    EXPECT_GE(frames, 9) << "12 frames of 50 ms are due in 600 ms";
    EXPECT_GE(counter.count - paintsBefore, frames) << "every new frame is drawn";
    EXPECT_EQ(handled, posted);
    EXPECT_LE(longestWait, 2 * window::shell::TBusyWindow::kQuietMs.count() + 10);
    gif->removeEventFilter(&counter);
}

class BlockedInputTest : public FormLoadingFixture {
protected:
    void SetUp() override {
        Create(0, 0, 1030, 662);
        button_ = new TButton(&Main());
        button_->SetParent(Main().gbPage1);
        button_->SetBounds(20, 20, 80, 24);
        button_->OnClick = [this](TObject*) { ++clicks_; };
        edit_ = new TEdit(&Main());
        edit_->SetParent(Main().gbPage1);
        edit_->SetBounds(20, 60, 80, 24);
        Main().Show();
        QApplication::processEvents();
    }
    QWidget* ButtonWidget() { return button_->Widget(); }

    TButton* button_ = nullptr;
    TEdit* edit_ = nullptr;
    int clicks_ = 0;
};

TEST_F(BlockedInputTest, ClicksAndKeysToTheMainWindowAreDroppedWhileItShows) {
    QTest::mouseClick(ButtonWidget(), Qt::LeftButton);
    ASSERT_EQ(clicks_, 1) << "the test's click reaches the button";

    device::GetBusyWindow()->Step();
    EXPECT_TRUE(Busy().InputBlocked());
    QTest::mouseClick(ButtonWidget(), Qt::LeftButton);
    QTest::mouseDClick(ButtonWidget(), Qt::LeftButton);
    QTest::keyClicks(edit_->Widget(), "12");
    device::GetBusyWindow()->Step();
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(edit_->Text(), "");

    device::GetBusyWindow()->Hide();
    EXPECT_FALSE(Busy().InputBlocked());
    EXPECT_EQ(clicks_, 1) << "dropped, not held back for later";
    QTest::mouseClick(ButtonWidget(), Qt::LeftButton);
    QTest::keyClicks(edit_->Widget(), "7");
    EXPECT_EQ(clicks_, 2);
    EXPECT_EQ(edit_->Text(), "7");
}

TEST_F(BlockedInputTest, ClickPostedDuringATransferDoesNotRunInsideIt) {
    // The click waits in the queue while the transfer runs and would be handled by the
    // next step's message handling.
    device::GetBusyWindow()->Step();
    QMouseEvent* press = new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent* release = new QMouseEvent(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::postEvent(ButtonWidget(), press);
    QApplication::postEvent(ButtonWidget(), release);
    device::GetBusyWindow()->Step();
    device::GetBusyWindow()->Hide();
    EXPECT_EQ(clicks_, 0);
}

TEST_F(BlockedInputTest, HidingTheWindowDirectlyAlsoEndsTheBlock) {
    // Callers of the block routines hide the window themselves when their work is done.
    device::GetBusyWindow()->Step();
    Busy().Hide();
    EXPECT_FALSE(Busy().InputBlocked());
    QTest::mouseClick(ButtonWidget(), Qt::LeftButton);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(BlockedInputTest, OtherWindowsStillTakeInput) {
    // A message box shown while the busy window is still up must stay usable.
    TForm other(nullptr);
    TButton* ok = new TButton(&other);
    ok->SetParent(&other);
    ok->SetBounds(0, 0, 60, 20);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    other.Show();
    device::GetBusyWindow()->Step();
    QTest::mouseClick(ok->Widget(), Qt::LeftButton);
    EXPECT_EQ(okClicks, 1);
    device::GetBusyWindow()->Hide();
}

} // namespace
