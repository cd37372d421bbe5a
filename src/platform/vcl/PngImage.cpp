#include "platform/vcl/PngImage.h"

#include "platform/rtl/SysUtils.h"

#include <png.h>
#include <vector>

namespace vcl {
namespace {

// A damaged or hostile header can claim any size up to libpng's own limit of a million
// pixels a side; refuse what no skin picture needs before allocating it. The bound is Qt's
// default allocation limit for decoded pictures.
constexpr uint64_t kMaxDecodedBytes = 256u * 1024u * 1024u;

[[noreturn]] void Fail(const std::string& pictureName, const std::string& reason) {
    throw Exception("Cannot load PNG picture " + pictureName + ": " + reason);
}

} // namespace

void TPngImage::LoadFromMemory(const void* data, size_t size, const std::string& pictureName) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) Fail(pictureName, png.message);
    png.format = PNG_FORMAT_RGBA;
    const uint64_t bytes = uint64_t{4} * png.width * png.height;
    if (bytes > kMaxDecodedBytes) {
        png_image_free(&png);
        Fail(pictureName, Format("picture too large (%u x %u)", png.width, png.height));
    }
    QImage decoded(static_cast<int>(png.width), static_cast<int>(png.height),
                   QImage::Format_RGBA8888);
    if (decoded.isNull()) {
        png_image_free(&png);
        Fail(pictureName, "out of memory");
    }
    // Decode straight into the picture's rows; bytesPerLine is the row stride in bytes,
    // which for 8-bit channels is the stride in components libpng expects.
    if (!png_image_finish_read(&png, nullptr, decoded.bits(),
                               static_cast<png_int_32>(decoded.bytesPerLine()), nullptr))
        Fail(pictureName, png.message); // libpng has already released its state
    png_image_free(&png);
    image_ = std::move(decoded);
}

void TPngImage::LoadFromStream(TStream& stream) {
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    for (int64_t got; (got = stream.Read(chunk, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    LoadFromMemory(bytes.data(), bytes.size(), "from stream");
}

void TPngImage::LoadFromResourceName(const std::string& name) {
    TResourceStream stream(name, "RC_DATA");
    LoadFromMemory(stream.Memory(), static_cast<size_t>(stream.Size()), "\"" + name + "\"");
}

} // namespace vcl
