#include "platform/vcl/PngImage.h"

#include "platform/rtl/SysUtils.h"

#include <mutex>
#include <png.h>
#include <unordered_map>
#include <vector>

namespace platform::vcl {
namespace {

// A damaged or hostile header can claim any size up to libpng's own limit of a million
// pixels a side; refuse what no skin picture needs before allocating it. The bound is Qt's
// default allocation limit for decoded pictures.
constexpr uint64_t kMaxDecodedBytes = 256u * 1024u * 1024u;

[[noreturn]] void Fail(const std::string& pictureName, const std::string& reason) {
    throw rtl::Exception("Cannot load PNG picture " + pictureName + ": " + reason);
}

// The decoded embedded pictures, by upper-cased resource name. An entry remembers which
// registration of the resource it was decoded from, so a resource registered anew is
// decoded anew.
struct DecodedPicture {
    unsigned long long serial = 0;
    QImage image;
};

struct PictureCache {
    std::mutex lock;
    std::unordered_map<std::string, DecodedPicture> pictures;
};

PictureCache& ThePictureCache() {
    static PictureCache cache;
    return cache;
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
        Fail(pictureName, rtl::Format("picture too large (%u x %u)", png.width, png.height));
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

void TPngImage::LoadFromStream(rtl::TStream& stream) {
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    for (int64_t got; (got = stream.Read(chunk, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    LoadFromMemory(bytes.data(), bytes.size(), "from stream");
}

void TPngImage::LoadFromResourceName(const std::string& name) {
    LoadFromResourceName(name, "\"" + name + "\"");
}

void TPngImage::LoadFromResourceName(const std::string& name, const std::string& pictureName) {
    const core::ResourceEntry& entry = rtl::FindResourceEntry(name, "RC_DATA");
    const unsigned long long serial = entry.serial;
    const unsigned char* data = entry.data;
    const size_t size = entry.size;
    const std::string key = rtl::UpperCase(name);
    PictureCache& cache = ThePictureCache();
    {
        std::lock_guard guard(cache.lock);
        auto found = cache.pictures.find(key);
        if (found != cache.pictures.end() && found->second.serial == serial) {
            image_ = found->second.image;
            return;
        }
    }
    LoadFromMemory(data, size, pictureName);
    std::lock_guard guard(cache.lock);
    cache.pictures[key] = DecodedPicture{serial, image_};
}

void TPngImage::ForgetSharedPictures() {
    PictureCache& cache = ThePictureCache();
    std::lock_guard guard(cache.lock);
    cache.pictures.clear();
}

} // namespace platform::vcl
