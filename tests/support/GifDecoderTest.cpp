#include "GifBuilder.h"
#include "LargestAllocation.h"
#include "support/GifAnimator.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using gif_test::BuildGif;
using gif_test::Frame;
using gif_test::Solid;

const GifColorType kBlack{0, 0, 0}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255},
    kWhite{255, 255, 255};
const std::vector<GifColorType> kPalette{kBlack, kRed, kGreen, kBlue};

QRgb Opaque(GifColorType c) {
    return qRgb(c.Red, c.Green, c.Blue);
}

support::TGifPicture Decode(const std::vector<unsigned char>& data, bool expectOk = true) {
    support::TGifPicture picture;
    std::string error;
    const bool ok = support::DecodeGif(data.data(), data.size(), picture, error);
    EXPECT_EQ(ok, expectOk) << error;
    EXPECT_EQ(error.empty(), ok);
    return picture;
}

// Rewrites a GIF written with a 4-colour global map to keep only its first `entries`
// colours (0: no global map at all), which giflib's encoder would never write.
void ShrinkGlobalMap(std::vector<unsigned char>& gif, int entries) {
    ASSERT_TRUE(entries == 0 || entries == 2);
    ASSERT_EQ(gif[10] & 0x87, 0x81);
    gif.erase(gif.begin() + 13 + 3 * entries, gif.begin() + 13 + 12);
    gif[10] &= entries == 0 ? ~0x87 : ~0x07;
}

// Three frames on a 6 x 4 screen, used by the damaged-data tests.
std::vector<unsigned char> ThreeFrames() {
    Frame a = Solid(0, 0, 6, 4, 1);
    Frame b = Solid(1, 1, 3, 2, 2);
    Frame c = Solid(3, 0, 3, 4, 3);
    for (size_t i = 0; i < c.pixels.size(); ++i)
        c.pixels[i] = static_cast<uint8_t>(i % 4);
    a.delay = 4;
    b.delay = 6;
    c.delay = 8;
    return BuildGif(6, 4, kPalette, {a, b, c});
}

TEST(GifDecoder, ComposesFramesWithGlobalAndLocalColourMapsAndDelays) {
    Frame first = Solid(0, 0, 4, 3, 1);
    first.pixels[5] = 2; // (1, 1)
    first.delay = 7;
    Frame second = Solid(2, 1, 2, 2, 1); // index 1 of its own map is white
    second.localColours = {kBlack, kWhite};
    second.delay = 2;
    Frame third = Solid(0, 2, 1, 1, 3);
    third.controlBlock = false;
    const auto picture = Decode(BuildGif(4, 3, kPalette, {first, second, third}));

    ASSERT_EQ(picture.Frames.size(), 3u);
    EXPECT_EQ(picture.Size, QSize(4, 3));
    EXPECT_FALSE(picture.Damaged);
    EXPECT_EQ(picture.Frames[0].DelayMs, 70);
    EXPECT_EQ(picture.Frames[1].DelayMs, 20);
    EXPECT_EQ(picture.Frames[2].DelayMs, 100); // no control block: delay 0

    const QImage& f0 = picture.Frames[0].Image;
    EXPECT_EQ(f0.format(), QImage::Format_ARGB32);
    EXPECT_EQ(f0.pixel(0, 0), Opaque(kRed));
    EXPECT_EQ(f0.pixel(1, 1), Opaque(kGreen));

    const QImage& f1 = picture.Frames[1].Image;
    EXPECT_EQ(f1.pixel(2, 1), Opaque(kWhite));
    EXPECT_EQ(f1.pixel(3, 2), Opaque(kWhite));
    EXPECT_EQ(f1.pixel(1, 1), Opaque(kGreen)); // earlier frame stays (no disposal)
    EXPECT_EQ(f1.pixel(0, 2), Opaque(kRed));

    const QImage& f2 = picture.Frames[2].Image;
    EXPECT_EQ(f2.pixel(0, 2), Opaque(kBlue)); // back on the global map
    EXPECT_EQ(f2.pixel(3, 2), Opaque(kWhite));
}

TEST(GifDecoder, ZeroAndOneHundredthDelaysShowForOneHundredMs) {
    EXPECT_EQ(support::GifDelayMs(0), 100);
    EXPECT_EQ(support::GifDelayMs(1), 100);
    EXPECT_EQ(support::GifDelayMs(2), 20);
    EXPECT_EQ(support::GifDelayMs(5), 50);
}

TEST(GifDecoder, TransparentIndexKeepsWhatLiesBelow) {
    Frame first = Solid(0, 0, 3, 1, 1);
    first.pixels = {1, 0, 1};
    first.transparent = 0;
    Frame second = Solid(0, 0, 3, 1, 2);
    second.pixels = {3, 2, 3};
    second.transparent = 3;
    const auto picture = Decode(BuildGif(3, 2, kPalette, {first, second}));
    ASSERT_EQ(picture.Frames.size(), 2u);
    const QImage& f0 = picture.Frames[0].Image;
    EXPECT_EQ(qAlpha(f0.pixel(1, 0)), 0); // transparent over the empty screen
    EXPECT_EQ(qAlpha(f0.pixel(1, 1)), 0); // never painted
    EXPECT_EQ(f0.pixel(0, 0), Opaque(kRed));
    const QImage& f1 = picture.Frames[1].Image;
    EXPECT_EQ(f1.pixel(0, 0), Opaque(kRed));
    EXPECT_EQ(f1.pixel(1, 0), Opaque(kGreen));
    EXPECT_EQ(f1.pixel(2, 0), Opaque(kRed));
}

TEST(GifDecoder, DisposalToBackgroundClearsOnlyTheFrameArea) {
    Frame base = Solid(0, 0, 4, 4, 1);
    Frame spot = Solid(1, 1, 2, 2, 2);
    spot.disposal = DISPOSE_BACKGROUND;
    Frame next = Solid(3, 3, 1, 1, 3);
    const auto picture = Decode(BuildGif(4, 4, kPalette, {base, spot, next}));
    ASSERT_EQ(picture.Frames.size(), 3u);
    EXPECT_EQ(picture.Frames[1].Image.pixel(1, 1), Opaque(kGreen));
    const QImage& f2 = picture.Frames[2].Image;
    EXPECT_EQ(qAlpha(f2.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(f2.pixel(2, 2)), 0);
    EXPECT_EQ(f2.pixel(0, 0), Opaque(kRed));
    EXPECT_EQ(f2.pixel(3, 1), Opaque(kRed));
    EXPECT_EQ(f2.pixel(3, 3), Opaque(kBlue));
}

TEST(GifDecoder, DisposalToPreviousRestoresTheCanvasBeforeTheFrame) {
    Frame base = Solid(0, 0, 4, 4, 1);
    base.disposal = DISPOSE_DO_NOT;
    Frame popup = Solid(0, 0, 2, 2, 2);
    popup.disposal = DISPOSE_PREVIOUS;
    Frame next = Solid(3, 3, 1, 1, 3);
    const auto picture = Decode(BuildGif(4, 4, kPalette, {base, popup, next}));
    ASSERT_EQ(picture.Frames.size(), 3u);
    EXPECT_EQ(picture.Frames[1].Image.pixel(0, 0), Opaque(kGreen));
    const QImage& f2 = picture.Frames[2].Image;
    EXPECT_EQ(f2.pixel(0, 0), Opaque(kRed));
    EXPECT_EQ(f2.pixel(1, 1), Opaque(kRed));
    EXPECT_EQ(f2.pixel(3, 3), Opaque(kBlue));
}

TEST(GifDecoder, FramesBeyondTheScreenAreClippedAndUnknownIndexesSeeThrough) {
    Frame wide = Solid(2, 1, 4, 3, 1); // reaches two columns and one row past the screen
    wide.pixels[0] = 3;
    auto data = BuildGif(4, 3, kPalette, {wide});
    ShrinkGlobalMap(data, 2); // index 3 now lies beyond the map
    const auto picture = Decode(data);
    ASSERT_EQ(picture.Frames.size(), 1u);
    const QImage& f = picture.Frames[0].Image;
    EXPECT_EQ(f.size(), QSize(4, 3));
    EXPECT_EQ(qAlpha(f.pixel(2, 1)), 0);
    EXPECT_EQ(f.pixel(3, 1), Opaque(kRed));
    EXPECT_EQ(f.pixel(3, 2), Opaque(kRed));
    EXPECT_EQ(qAlpha(f.pixel(1, 2)), 0);
}

TEST(GifDecoder, FrameWithoutAnyColourMapEndsThePicture) {
    Frame own = Solid(0, 0, 2, 2, 1);
    own.localColours = {kBlack, kGreen};
    const Frame bare = Solid(0, 0, 2, 2, 1);
    auto data = BuildGif(2, 2, kPalette, {own, bare});
    ShrinkGlobalMap(data, 0);
    const auto picture = Decode(data);
    ASSERT_EQ(picture.Frames.size(), 1u);
    EXPECT_TRUE(picture.Damaged);
    EXPECT_EQ(picture.Frames[0].Image.pixel(1, 1), Opaque(kGreen));

    auto bareOnly = BuildGif(2, 2, kPalette, {bare});
    ShrinkGlobalMap(bareOnly, 0);
    Decode(bareOnly, false);
}

// Every prefix of a good file: decoding never fails unsafely, keeps only frames that were
// wholly in the data, and those frames are exactly the frames of the whole file.
TEST(GifDecoder, TruncatedDataKeepsTheCompleteFramesBeforeTheCut) {
    const auto whole = ThreeFrames();
    const auto full = Decode(whole);
    ASSERT_EQ(full.Frames.size(), 3u);
    size_t lastCount = 0;
    for (size_t len = 0; len < whole.size(); ++len) {
        const std::vector<unsigned char> cut(whole.begin(), whole.begin() + len);
        support::TGifPicture picture;
        std::string error;
        const bool ok = support::DecodeGif(cut.data(), cut.size(), picture, error);
        ASSERT_EQ(ok, !picture.Frames.empty()) << len;
        if (!ok) {
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(lastCount, 0u) << "a longer prefix lost its frames at " << len;
            continue;
        }
        EXPECT_TRUE(picture.Damaged) << len;
        EXPECT_GE(picture.Frames.size(), lastCount) << len;
        lastCount = picture.Frames.size();
        for (size_t i = 0; i < picture.Frames.size(); ++i) {
            EXPECT_EQ(picture.Frames[i].Image, full.Frames[i].Image) << len << " frame " << i;
            EXPECT_EQ(picture.Frames[i].DelayMs, full.Frames[i].DelayMs);
        }
    }
    // Only the trailer missing: all three frames are whole.
    EXPECT_EQ(lastCount, 3u);
}

TEST(GifDecoder, TruncatedInsideTheLastFrameDropsIt) {
    const auto whole = ThreeFrames();
    const std::vector<unsigned char> cut(whole.begin(), whole.end() - 4);
    const auto picture = Decode(cut);
    EXPECT_EQ(picture.Frames.size(), 2u);
    EXPECT_TRUE(picture.Damaged);
}

TEST(GifDecoder, ImageWithEmptySizeEndsThePictureSafely) {
    auto data = ThreeFrames();
    // The second frame's descriptor: separator, left 1, top 1, width 3, height 2.
    const unsigned char descriptor[] = {0x2C, 1, 0, 1, 0, 3, 0, 2, 0};
    auto at = std::search(data.begin(), data.end(), std::begin(descriptor), std::end(descriptor));
    ASSERT_NE(at, data.end());
    at[7] = 0; // height 0
    const auto picture = Decode(data);
    EXPECT_EQ(picture.Frames.size(), 1u);
    EXPECT_TRUE(picture.Damaged);
}

TEST(GifDecoder, GarbageIsRejectedWithAReason) {
    std::mt19937 random(408);
    std::vector<std::vector<unsigned char>> inputs = {
        {}, {'G', 'I', 'F'}, {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B}};
    std::vector<unsigned char> noise(4096);
    for (auto& b : noise)
        b = static_cast<unsigned char>(random());
    inputs.push_back(noise);
    auto header = ThreeFrames();
    header.resize(30); // a good header followed by noise
    header.insert(header.end(), noise.begin(), noise.begin() + 500);
    inputs.push_back(header);
    for (const auto& in : inputs) {
        support::TGifPicture picture;
        std::string error;
        EXPECT_FALSE(support::DecodeGif(in.data(), in.size(), picture, error)) << in.size();
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(picture.Frames.empty());
        EXPECT_TRUE(picture.Size.isEmpty());
    }
    support::TGifPicture picture;
    std::string error;
    EXPECT_FALSE(support::DecodeGif(nullptr, 10, picture, error));
}

// Files of a few bytes that claim a huge picture: a screen of 65535 x 14687 pixels (a
// canvas of 3.85 GB), and a small screen whose first image claims 65535 x 1088 pixels
// (more than a whole picture may have). The decoder turns them down without ever asking
// for memory of the size they claim.
TEST(GifDecoder, HugeSizesInTheHeadersAreRefusedBeforeAnyMemoryIsTaken) {
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"screen",
         {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0x5F, 0x39, 0, 0, 0},
         "the picture is too large"},
        {"image",
         {'G',  'I',  'F',  '8',  '9', 'a', 16,  0,    16,   0, 0x80, 0,
          0,    0,    0,    0,    255, 255, 255, 0x2C, 0,    0, 0,    0,
          0xFF, 0xFF, 0x40, 0x04, 0,   2,   2,   0x4C, 0x01, 0, 0x3B},
         nullptr},
    };
    for (const auto& c : cases) {
        support::TGifPicture picture;
        std::string error;
        alloc_test::LargestAllocation largest;
        EXPECT_FALSE(support::DecodeGif(c.bytes.data(), c.bytes.size(), picture, error)) << c.what;
        EXPECT_LT(largest.Bytes(), 1u << 20) << c.what;
        if (c.error) {
            EXPECT_EQ(error, c.error) << c.what;
        }
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_TRUE(picture.Frames.empty()) << c.what;
    }
}

// Random damage inside a good file: whatever the decoder makes of it, it stays within
// the logical screen and never runs past the data (the sanitizer build watches this).
TEST(GifDecoder, CorruptedBytesNeverBreakTheDecoder) {
    const auto whole = ThreeFrames();
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        auto data = whole;
        for (int k = 0; k < 3; ++k)
            data[random() % data.size()] = static_cast<unsigned char>(random());
        support::TGifPicture picture;
        std::string error;
        if (support::DecodeGif(data.data(), data.size(), picture, error)) {
            ASSERT_FALSE(picture.Frames.empty());
            for (const auto& f : picture.Frames)
                EXPECT_EQ(f.Image.size(), picture.Size);
        }
    }
}

} // namespace
