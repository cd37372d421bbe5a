// Draws the busy animation: a ring of twelve dots in the accent colour, the brightest
// one going round clockwise with a fading tail behind it, 12 frames of 50 ms each.
// The busy window lets every pure black pixel through, so the background is exactly
// black and nothing drawn ever is: dot edges are smoothed towards a dark blue-grey
// instead of towards black. Usage: vtrm_busygif output.gif
#include "GifSpew.h"

#include <gif_lib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 192;
constexpr int kFrames = 12;
constexpr int kDelayHundredths = 5;
constexpr double kCentreX = 100.0;
constexpr double kCentreY = 96.0;
constexpr double kRingRadius = 58.0;
constexpr double kHeadDotRadius = 12.0;
constexpr double kTailShrink = 0.45; // dot radius lost per step behind the head
constexpr int kSubSamples = 4;       // per axis, for smooth edges
constexpr int kCoverageLevels = kSubSamples * kSubSamples;

struct Rgb {
    double r, g, b;
};
constexpr Rgb kAccent{64, 196, 255};
constexpr Rgb kTailEnd{26, 58, 82};
constexpr Rgb kEdge{22, 26, 34};

Rgb Mix(Rgb from, Rgb to, double t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t};
}

GifColorType ToGif(Rgb c) {
    return {static_cast<GifByteType>(std::lround(c.r)), static_cast<GifByteType>(std::lround(c.g)),
            static_cast<GifByteType>(std::lround(c.b))};
}

// Palette: 0 is the see-through black; then for each of the twelve brightness steps
// (0 = end of the tail, 11 = head) one colour per coverage level of an edge pixel.
int PaletteIndex(int step, int coverage) {
    return 1 + step * kCoverageLevels + (coverage - 1);
}

ColorMapObject* MakePalette() {
    GifColorType colours[256];
    for (auto& c : colours)
        c = ToGif(kEdge);
    colours[0] = {0, 0, 0};
    for (int step = 0; step < kFrames; ++step) {
        // A curved fade keeps the head bright and lets the tail die away quickly.
        const Rgb dot = Mix(kTailEnd, kAccent, std::pow(step / double(kFrames - 1), 1.8));
        for (int cov = 1; cov <= kCoverageLevels; ++cov)
            colours[PaletteIndex(step, cov)] =
                ToGif(Mix(kEdge, dot, cov / double(kCoverageLevels)));
    }
    return GifMakeMapObject(256, colours);
}

void DrawFrame(int frame, GifByteType* pixels) {
    std::memset(pixels, 0, kWidth * kHeight);
    for (int dot = 0; dot < kFrames; ++dot) {
        const int behind = (frame - dot + kFrames) % kFrames; // 0 = head
        const int step = kFrames - 1 - behind;
        const double angle = (-90.0 + dot * 30.0) * M_PI / 180.0;
        const double cx = kCentreX + kRingRadius * std::cos(angle);
        const double cy = kCentreY + kRingRadius * std::sin(angle);
        const double radius = kHeadDotRadius - kTailShrink * behind;
        const int x0 = static_cast<int>(std::floor(cx - radius)),
                  x1 = static_cast<int>(std::ceil(cx + radius));
        const int y0 = static_cast<int>(std::floor(cy - radius)),
                  y1 = static_cast<int>(std::ceil(cy + radius));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                int coverage = 0;
                for (int sy = 0; sy < kSubSamples; ++sy)
                    for (int sx = 0; sx < kSubSamples; ++sx) {
                        const double px = x + (sx + 0.5) / kSubSamples - cx;
                        const double py = y + (sy + 0.5) / kSubSamples - cy;
                        if (px * px + py * py <= radius * radius) ++coverage;
                    }
                if (coverage > 0) pixels[y * kWidth + x] = PaletteIndex(step, coverage);
            }
        }
    }
}

bool AddBlock(SavedImage* image, int function, int length, const void* bytes) {
    return GifAddExtensionBlock(&image->ExtensionBlockCount, &image->ExtensionBlocks, function,
                                length,
                                static_cast<unsigned char*>(const_cast<void*>(bytes))) == GIF_OK;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.gif\n", argv[0]);
        return 2;
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileName(argv[1], false, &error);
    if (!gif) {
        std::fprintf(stderr, "cannot create %s: %s\n", argv[1], GifErrorString(error));
        return 1;
    }
    gif->SWidth = kWidth;
    gif->SHeight = kHeight;
    gif->SColorResolution = 8;
    gif->SBackGroundColor = 0;
    gif->SColorMap = MakePalette();

    bool ok = gif->SColorMap != nullptr;
    for (int frame = 0; ok && frame < kFrames; ++frame) {
        SavedImage* image = GifMakeSavedImage(gif, nullptr);
        if (!image) {
            ok = false;
            break;
        }
        image->ImageDesc = {0, 0, kWidth, kHeight, false, nullptr};
        image->RasterBits = static_cast<GifByteType*>(std::malloc(kWidth * kHeight));
        if (!image->RasterBits) {
            ok = false;
            break;
        }
        DrawFrame(frame, image->RasterBits);
        if (frame == 0) {
            // Loop for ever.
            const unsigned char loop[3] = {1, 0, 0};
            ok = AddBlock(image, APPLICATION_EXT_FUNC_CODE, 11, "NETSCAPE2.0") &&
                 AddBlock(image, CONTINUE_EXT_FUNC_CODE, 3, loop);
        }
        const GraphicsControlBlock gcb{DISPOSE_DO_NOT, false, kDelayHundredths,
                                       NO_TRANSPARENT_COLOR};
        ok = ok && EGifGCBToSavedExtension(&gcb, gif, frame) == GIF_OK;
    }
    if (!ok) {
        std::fprintf(stderr, "out of memory drawing %s\n", argv[1]);
        return 1;
    }
    if (!gif_write::SpewAndFree(gif)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
