// The GIF decoder on any bytes: it either fails with a reason and no picture, or gives at
// least one frame, every frame of the picture's size, within the decoder's pixel budget.
#include "FuzzCheck.h"
#include "support/GifAnimator.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    support::TGifPicture picture;
    std::string error;
    if (!support::DecodeGif(data, size, picture, error)) {
        FUZZ_CHECK(!error.empty());
        FUZZ_CHECK(picture.Frames.empty() && picture.Size.isEmpty());
        return 0;
    }
    FUZZ_CHECK(error.empty());
    FUZZ_CHECK(!picture.Frames.empty() && !picture.Size.isEmpty());
    const long long pixels = static_cast<long long>(picture.Size.width()) * picture.Size.height();
    FUZZ_CHECK(pixels * static_cast<long long>(picture.Frames.size()) <= 64LL * 1024 * 1024);
    for (const support::TGifFrame& frame : picture.Frames) {
        FUZZ_CHECK(frame.Image.size() == picture.Size);
        FUZZ_CHECK(frame.Image.format() == QImage::Format_ARGB32);
        FUZZ_CHECK(frame.DelayMs >= 20 && frame.DelayMs <= 655350);
    }
    return 0;
}
