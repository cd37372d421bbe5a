// Animated pictures decoded ahead of their load: the loads show and raise exactly what
// they do without, whatever the decoding thread has got to when they ask.
#include "GifBuilder.h"
#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "support/GifAnimatorControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using gif_test::BuildGif;
using gif_test::Solid;

// Pictures that differ in size, frame count and colours, so a load shown the wrong one
// is told apart.
std::vector<unsigned char> Picture(int width, int frames, GifByteType shade) {
    const std::vector<GifColorType> palette = {{shade, 0, 0}, {0, shade, 0}, {0, 0, shade}};
    std::vector<gif_test::Frame> list;
    for (int i = 0; i < frames; ++i)
        list.push_back(Solid(0, 0, width, 3, static_cast<uint8_t>(i % 3)));
    return BuildGif(width, 3, palette, list);
}

struct Outcome {
    std::vector<std::string> events;
    std::vector<QImage> frames;
};

TEST(GifPicturesAhead, LoadsShowAndRaiseWhatTheyDoWithout) {
    static const std::vector<unsigned char> first = Picture(4, 3, 200);
    static const std::vector<unsigned char> second = Picture(6, 2, 90);
    static const std::vector<unsigned char> broken(first.begin(), first.begin() + 8);
    platform::core::RegisterResource("AHEAD_FIRST", "RC_DATA", first.data(), first.size());
    platform::core::RegisterResource("AHEAD_SECOND", "RC_DATA", second.data(), second.size());
    platform::core::RegisterResource("AHEAD_BROKEN", "RC_DATA", broken.data(), broken.size());
    // The same picture twice and in another case, a missing and a broken one, and a
    // control that keeps its picture when the next load fails.
    const std::vector<std::string> loads = {"ahead_second", "AHEAD_FIRST", "AHEAD_MISSING",
                                            "AHEAD_BROKEN", "Ahead_First", "AHEAD_SECOND"};
    auto loadAll = [&] {
        Outcome outcome;
        support::TGifAnimatorControl control(nullptr);
        for (const std::string& name : loads) {
            try {
                control.LoadFromResourceName(name);
                outcome.events.push_back(name + " shows " + control.PictureName() + " " +
                                         std::to_string(control.Animator()->FrameCount()));
            } catch (const platform::rtl::Exception& e) {
                outcome.events.push_back(name + " raises " + e.what());
            }
            for (int i = 0; i < control.Animator()->FrameCount(); ++i) {
                control.SetFrameIndex(i);
                outcome.frames.push_back(control.Animator()->CurrentFrame());
            }
        }
        return outcome;
    };
    const Outcome normal = loadAll();
    ASSERT_EQ(normal.frames.size(), 2u + 3u + 3u + 3u + 3u + 2u);

    const std::vector<std::vector<std::string>> lists = {
        {"AHEAD_SECOND", "AHEAD_BROKEN", "AHEAD_MISSING", "AHEAD_FIRST", "AHEAD_UNUSED"},
        {"ahead_first", "ahead_second", "ahead_broken"},
        {"AHEAD_FIRST", "AHEAD_FIRST"},
    };
    for (int round = 0; round < 24; ++round) {
        const std::vector<std::string>& list = lists[static_cast<size_t>(round) % lists.size()];
        Outcome fast;
        {
            support::TGifPicturesAhead ahead(list);
            if (round % 4 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(30));
            fast = loadAll();
            const std::vector<std::string> never = ahead.NeverAsked();
            EXPECT_EQ(never.size(), list == lists[0] ? 1u : 0u) << "round " << round;
        }
        EXPECT_EQ(fast.events, normal.events) << "round " << round;
        ASSERT_EQ(fast.frames.size(), normal.frames.size()) << "round " << round;
        for (size_t i = 0; i < fast.frames.size(); ++i)
            EXPECT_TRUE(fast.frames[i] == normal.frames[i]) << "round " << round << " frame " << i;
    }
}

} // namespace
