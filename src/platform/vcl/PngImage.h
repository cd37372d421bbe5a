#pragma once
// PNG pictures decoded with libpng into 32-bit RGBA.
#include "platform/rtl/Classes.h"

#include <QImage>
#include <cstddef>
#include <string>

namespace vcl {

class TPngImage {
public:
    // Each load replaces the picture; a picture that fails to decode raises vcl::Exception
    // naming the picture and libpng's reason, and leaves the previous picture in place.
    void LoadFromMemory(const void* data, size_t size, const std::string& pictureName);
    // Reads from the stream's position to its end.
    void LoadFromStream(TStream& stream);
    // A resource of type "RC_DATA"; a missing one raises EResNotFound.
    void LoadFromResourceName(const std::string& name);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull(); }
    // Format_RGBA8888, straight (not premultiplied) alpha.
    const QImage& ToQImage() const { return image_; }

private:
    QImage image_;
};

} // namespace vcl
