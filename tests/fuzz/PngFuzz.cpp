// The PNG loader on any bytes: a picture that fails to decode raises platform::rtl::Exception and
// leaves the previous picture in place; a decoded one is straight RGBA with a size, and
// written out again as PNG it decodes to the same pixels.
#include "FuzzCheck.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/PngImage.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<unsigned char> Encode(const QImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width());
    png.height = static_cast<png_uint_32>(image.height());
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    const auto stride = static_cast<png_int_32>(image.bytesPerLine());
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.constBits(), stride, nullptr))
        return {};
    std::vector<unsigned char> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.constBits(), stride,
                                   nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

// A 2 x 1 picture, red and half-transparent green, loaded before each input.
const QImage& Previous() {
    static const QImage previous = [] {
        QImage image(2, 1, QImage::Format_RGBA8888);
        image.setPixel(0, 0, qRgba(255, 0, 0, 255));
        image.setPixel(1, 0, qRgba(0, 255, 0, 128));
        return image;
    }();
    return previous;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<unsigned char> previousPng = Encode(Previous());
    platform::vcl::TPngImage picture;
    picture.LoadFromMemory(previousPng.data(), previousPng.size(), "previous");
    FUZZ_CHECK(picture.ToQImage() == Previous());
    try {
        picture.LoadFromMemory(data, size, "fuzz");
    } catch (const platform::rtl::Exception&) {
        FUZZ_CHECK(picture.ToQImage() == Previous());
        return 0;
    }
    const QImage& decoded = picture.ToQImage();
    FUZZ_CHECK(!picture.Empty() && picture.Width() > 0 && picture.Height() > 0);
    FUZZ_CHECK(decoded.format() == QImage::Format_RGBA8888);
    const std::vector<unsigned char> again = Encode(decoded);
    FUZZ_CHECK(!again.empty());
    platform::vcl::TPngImage reread;
    reread.LoadFromMemory(again.data(), again.size(), "again");
    FUZZ_CHECK(reread.ToQImage() == decoded);
    return 0;
}
