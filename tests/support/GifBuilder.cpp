#include "GifBuilder.h"

#include "tools/busygif/GifSpew.h"

#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace gif_test {
namespace {

int Append(GifFileType* gif, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

// giflib wants maps of a power-of-two size.
ColorMapObject* MakeMap(std::vector<GifColorType> colours) {
    size_t size = 2;
    while (size < colours.size())
        size *= 2;
    colours.resize(size, GifColorType{0, 0, 0});
    return GifMakeMapObject(static_cast<int>(size), colours.data());
}

} // namespace

std::vector<unsigned char> BuildGif(int width, int height,
                                    const std::vector<GifColorType>& globalColours,
                                    const std::vector<Frame>& frames) {
    std::vector<unsigned char> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Append, &error);
    if (!gif) return {};
    gif->SWidth = width;
    gif->SHeight = height;
    gif->SColorResolution = 8;
    gif->SBackGroundColor = 0;
    gif->SColorMap = globalColours.empty() ? nullptr : MakeMap(globalColours);
    for (size_t i = 0; i < frames.size(); ++i) {
        const Frame& f = frames[i];
        SavedImage* image = GifMakeSavedImage(gif, nullptr);
        image->ImageDesc.Left = f.left;
        image->ImageDesc.Top = f.top;
        image->ImageDesc.Width = f.width;
        image->ImageDesc.Height = f.height;
        image->ImageDesc.Interlace = false;
        image->ImageDesc.ColorMap = f.localColours.empty() ? nullptr : MakeMap(f.localColours);
        image->RasterBits = static_cast<GifByteType*>(std::malloc(f.pixels.size()));
        std::memcpy(image->RasterBits, f.pixels.data(), f.pixels.size());
        if (f.controlBlock) {
            const GraphicsControlBlock gcb{f.disposal, false, f.delay, f.transparent};
            EGifGCBToSavedExtension(&gcb, gif, static_cast<int>(i));
        }
    }
    // giflib's encoder loses its copy of a frame's own colour map when the next frame
    // has none (it forgets the copy instead of freeing it). That is the encoder's fault,
    // not the decoder's under test, so the leak checker does not count it.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    const bool written = gif_write::SpewAndFree(gif);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
    if (!written) return {};
    return out;
}

Frame Solid(int left, int top, int width, int height, uint8_t index) {
    Frame f;
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    f.pixels.assign(static_cast<size_t>(width * height), index);
    return f;
}

} // namespace gif_test
