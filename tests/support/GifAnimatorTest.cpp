#include "support/GifAnimator.h"
#include "GifBuilder.h"
#include "platform/core/Resources.h"
#include "platform/core/Time.h"

#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

namespace {

using gif_test::BuildGif;
using gif_test::Frame;
using gif_test::Solid;

// Four frames of 2 x 2, each of its own colour, 50 ms each.
const QRgb kColours[] = {qRgb(10, 0, 0), qRgb(0, 20, 0), qRgb(0, 0, 30), qRgb(40, 40, 40)};

std::vector<unsigned char> FourColours() {
    std::vector<GifColorType> palette;
    for (QRgb c : kColours)
        palette.push_back({static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                           static_cast<GifByteType>(qBlue(c))});
    std::vector<Frame> frames;
    for (uint8_t i = 0; i < 4; ++i) {
        frames.push_back(Solid(0, 0, 2, 2, i));
        frames.back().delay = 5;
    }
    return BuildGif(2, 2, palette, frames);
}

class GifAnimatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::core::SetTimeScale(0.02);
        data_ = FourColours();
        ASSERT_TRUE(animator_.LoadFromMemory(data_.data(), data_.size()));
    }
    void TearDown() override { platform::core::SetTimeScale(1.0); }

    // Collects the frame indexes shown while events are handled for `ms`.
    std::set<int> WatchFrames(int ms) {
        std::set<int> seen{animator_.FrameIndex()};
        // The condition never holds: this only handles events for the whole time.
        (void)QTest::qWaitFor(
            [&] {
                seen.insert(animator_.FrameIndex());
                return false;
            },
            ms);
        return seen;
    }

    std::vector<unsigned char> data_;
    support::TGifAnimator animator_;
};

TEST_F(GifAnimatorTest, ReportsFramesAndDelays) {
    EXPECT_EQ(animator_.FrameCount(), 4);
    EXPECT_EQ(animator_.PictureSize(), QSize(2, 2));
    EXPECT_EQ(animator_.FrameDelay(3), 50);
    EXPECT_EQ(animator_.FrameDelay(4), 0);
    EXPECT_EQ(animator_.FrameDelay(-1), 0);
    EXPECT_EQ(animator_.CurrentFrame().pixel(0, 0), qRgb(10, 0, 0));
}

TEST_F(GifAnimatorTest, AnimateRunsThroughEveryFrameAndStops) {
    animator_.show();
    animator_.SetAnimate(true);
    EXPECT_TRUE(animator_.Animate());
    EXPECT_EQ(WatchFrames(1500).size(), 4u);

    animator_.SetAnimate(false);
    const int stoppedAt = animator_.FrameIndex();
    EXPECT_EQ(WatchFrames(100), std::set<int>{stoppedAt});
    EXPECT_EQ(animator_.CurrentFrame().pixel(0, 0), kColours[stoppedAt]);
}

TEST_F(GifAnimatorTest, HiddenAnimationWaitsAndResumesWhenShown) {
    animator_.SetAnimate(true);
    EXPECT_EQ(WatchFrames(100), std::set<int>{0});
    animator_.show();
    EXPECT_GT(WatchFrames(1500).size(), 1u);
    animator_.hide();
    const int hiddenAt = animator_.FrameIndex();
    EXPECT_EQ(WatchFrames(100), std::set<int>{hiddenAt});
}

// The moment the animation gives for its next frame is when handling events first shows
// that frame: not later (the frame would already show a little before it) and not
// earlier (handling events then would find nothing new).
TEST_F(GifAnimatorTest, NextFrameDueIsWhenHandlingEventsFirstShowsTheNextFrame) {
    using Clock = std::chrono::steady_clock;
    using namespace std::chrono_literals;
    const auto never = Clock::time_point::max();
    platform::core::SetTimeScale(1.0);
    EXPECT_EQ(animator_.NextFrameDue(), never) << "not animating";
    animator_.SetAnimate(true);
    EXPECT_EQ(animator_.NextFrameDue(), never) << "hidden";
    animator_.show();
    int checkedBefore = 0;
    for (int i = 0; i < 5; ++i) {
        const int frame = animator_.FrameIndex();
        const auto due = animator_.NextFrameDue();
        ASSERT_NE(due, never);
        EXPECT_LE(due - Clock::now(), 50ms) << "frame " << i;
        std::this_thread::sleep_until(due - 8ms);
        QCoreApplication::processEvents();
        // A late wake-up on a busy machine says nothing about the moment.
        if (Clock::now() < due) {
            EXPECT_EQ(animator_.FrameIndex(), frame) << "before it was due, frame " << i;
            ++checkedBefore;
        }
        std::this_thread::sleep_until(due);
        QCoreApplication::processEvents();
        EXPECT_EQ(animator_.FrameIndex(), (frame + 1) % 4) << "when due, frame " << i;
        EXPECT_GT(animator_.NextFrameDue(), due);
    }
    EXPECT_GT(checkedBefore, 0);
    animator_.SetAnimate(false);
    EXPECT_EQ(animator_.NextFrameDue(), never) << "stopped";
    animator_.SetAnimate(true);
    animator_.hide();
    EXPECT_EQ(animator_.NextFrameDue(), never) << "hidden again";
}

TEST_F(GifAnimatorTest, FrameIndexSelectsTheFrameShownAndIgnoresOutOfRange) {
    animator_.SetFrameIndex(2);
    EXPECT_EQ(animator_.FrameIndex(), 2);
    EXPECT_EQ(animator_.CurrentFrame().pixel(1, 1), qRgb(0, 0, 30));
    animator_.SetFrameIndex(4);
    animator_.SetFrameIndex(-1);
    EXPECT_EQ(animator_.FrameIndex(), 2);

    // Loading a picture with fewer frames starts again at its first one.
    const auto single = BuildGif(1, 1, {{1, 2, 3}, {0, 0, 0}}, {Solid(0, 0, 1, 1, 0)});
    ASSERT_TRUE(animator_.LoadFromMemory(single.data(), single.size()));
    EXPECT_EQ(animator_.FrameIndex(), 0);
}

TEST(GifAnimator, FrameIndexSetBeforeThePictureIsKept) {
    const auto data = FourColours();
    support::TGifAnimator animator;
    EXPECT_TRUE(animator.CurrentFrame().isNull());
    animator.SetFrameIndex(3);
    ASSERT_TRUE(animator.LoadFromMemory(data.data(), data.size()));
    EXPECT_EQ(animator.FrameIndex(), 3);
    EXPECT_EQ(animator.CurrentFrame().pixel(0, 0), qRgb(40, 40, 40));
}

TEST_F(GifAnimatorTest, FailedLoadKeepsThePictureShown) {
    const unsigned char junk[] = "GIF89a but not really";
    EXPECT_FALSE(animator_.LoadFromMemory(junk, sizeof junk));
    EXPECT_FALSE(animator_.LastError().empty());
    EXPECT_EQ(animator_.FrameCount(), 4);
    animator_.Clear();
    EXPECT_EQ(animator_.FrameCount(), 0);
    EXPECT_TRUE(animator_.CurrentFrame().isNull());
}

TEST_F(GifAnimatorTest, StretchScalesTheFrameToTheControl) {
    QWidget window;
    window.setStyleSheet("background: white");
    window.resize(40, 40);
    animator_.setParent(&window);
    animator_.setGeometry(5, 6, 20, 10);
    animator_.SetFrameIndex(1);
    window.show();

    QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 6), qRgb(0, 20, 0));
    EXPECT_EQ(shot.pixel(6, 7), qRgb(0, 20, 0));
    EXPECT_NE(shot.pixel(24, 15), qRgb(0, 20, 0)); // unstretched picture is 2 x 2

    animator_.SetStretch(true);
    shot = window.grab().toImage();
    EXPECT_EQ(shot.pixel(24, 15), qRgb(0, 20, 0));
    EXPECT_NE(shot.pixel(25, 15), qRgb(0, 20, 0));
    EXPECT_NE(shot.pixel(24, 16), qRgb(0, 20, 0));
    animator_.setParent(nullptr);
}

// What lies behind the control shows through a frame's see-through pixels and around an
// unstretched frame smaller than the control, and nowhere else; every frame change and
// stretch change shows the new look.
TEST(GifAnimator, DrawsEachFrameOverWhatLiesBehindIt) {
    // Frame 0 covers the picture; frame 1 (disposed to the background first) leaves its
    // top left pixel see-through.
    std::vector<GifColorType> palette = {{200, 0, 0}, {0, 0, 200}, {0, 0, 0}, {0, 0, 0}};
    Frame first = Solid(0, 0, 2, 2, 0);
    first.disposal = DISPOSE_BACKGROUND;
    Frame second = Solid(0, 0, 2, 2, 1);
    second.pixels[0] = 2;
    second.transparent = 2;
    const std::vector<unsigned char> data = BuildGif(2, 2, palette, {first, second});
    support::TGifAnimator animator;
    ASSERT_TRUE(animator.LoadFromMemory(data.data(), data.size()));
    QWidget window;
    window.setStyleSheet("background: white");
    window.resize(10, 10);
    animator.setParent(&window);
    animator.setGeometry(0, 0, 4, 4);
    window.show();

    const QRgb red = qRgb(200, 0, 0), blue = qRgb(0, 0, 200), white = qRgb(255, 255, 255);
    // The colours at (0, 0), (1, 1), (3, 3) (in the control, outside the unstretched
    // picture) and (6, 6) (beside the control).
    struct Case {
        int frame;
        bool stretch;
        QRgb at[4];
    } cases[] = {
        {0, false, {red, red, white, white}},   {1, false, {white, blue, white, white}},
        {1, true, {white, white, blue, white}}, {0, true, {red, red, red, white}},
        {1, true, {white, white, blue, white}}, {0, false, {red, red, white, white}},
    };
    const QPoint points[4] = {{0, 0}, {1, 1}, {3, 3}, {6, 6}};
    for (const Case& c : cases) {
        animator.SetStretch(c.stretch);
        animator.SetFrameIndex(c.frame);
        const QImage shot = window.grab().toImage();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shot.pixel(points[i]), c.at[i])
                << "frame " << c.frame << (c.stretch ? " stretched" : "") << " at " << i;
    }
    animator.setParent(nullptr);
}

} // namespace

std::vector<unsigned char> BusyAnimation() {
    const platform::core::ResourceEntry* entry = platform::core::FindResource("BUSYGIF", "RC_DATA");
    if (!entry) return {};
    return {entry->data, entry->data + entry->size};
}

// The animator holds a frame of up to 256 colours in 8 bits; every frame shows exactly
// the pixels the decoder composed, whichever way it is held.
TEST(GifAnimator, FramesKeepTheirPixelsHeldInEightBitsUpTo256Colours) {
    std::vector<GifColorType> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back({static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                           static_cast<GifByteType>(i * 7)});
    Frame all = Solid(0, 0, 16, 16, 0);
    for (int i = 0; i < 256; ++i)
        all.pixels[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    struct Case {
        const char* name;
        std::vector<unsigned char> gif;
        bool eightBits;
    };
    const Case cases[] = {
        {"four colours, one per frame", FourColours(), true},
        {"256 colours filling the picture", BuildGif(16, 16, palette, {all}), true},
        // The column the frame leaves unpainted is transparent: a 257th colour.
        {"256 colours and transparency", BuildGif(17, 16, palette, {all}), false},
        {"the busy animation", BusyAnimation(), true},
    };
    for (const Case& c : cases) {
        support::TGifPicture decoded;
        std::string error;
        ASSERT_TRUE(support::DecodeGif(c.gif.data(), c.gif.size(), decoded, error)) << c.name;
        support::TGifAnimator animator;
        ASSERT_TRUE(animator.LoadFromMemory(c.gif.data(), c.gif.size())) << c.name;
        ASSERT_EQ(animator.FrameCount(), static_cast<int>(decoded.Frames.size())) << c.name;
        for (int f = 0; f < animator.FrameCount(); ++f) {
            animator.SetFrameIndex(f);
            const QImage held = animator.CurrentFrame();
            const QImage& expected = decoded.Frames[static_cast<size_t>(f)].Image;
            EXPECT_EQ(held.format() == QImage::Format_Indexed8, c.eightBits) << c.name;
            ASSERT_EQ(held.size(), expected.size()) << c.name;
            int differing = 0;
            for (int y = 0; y < held.height(); ++y)
                for (int x = 0; x < held.width(); ++x)
                    differing += held.pixel(x, y) != expected.pixel(x, y);
            EXPECT_EQ(differing, 0) << c.name << ", frame " << f;
        }
    }
}
