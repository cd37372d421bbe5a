#pragma once
// PNG pictures decoded with libpng into 32-bit RGBA.
#include "platform/rtl/Classes.h"

#include <QImage>
#include <cstddef>
#include <string>

namespace platform::vcl {

class TPngImage {
public:
    // Each load replaces the picture; a picture that fails to decode raises rtl::Exception
    // naming the picture and libpng's reason, and leaves the previous picture in place.
    void LoadFromMemory(const void* data, size_t size, const std::string& pictureName);
    // Reads from the stream's position to its end.
    void LoadFromStream(rtl::TStream& stream);
    // A resource of type "RC_DATA"; a missing one raises EResNotFound. Each embedded
    // picture is decoded once: every later load of the same resource shares that picture
    // (until the resource is registered anew). A picture that fails to decode is never
    // kept, so each load of it raises again.
    void LoadFromResourceName(const std::string& name);
    // The same, naming the picture as pictureName in a decoding error.
    void LoadFromResourceName(const std::string& name, const std::string& pictureName);
    // Lets go of the shared pictures (what holds one keeps it): the next load of each
    // resource decodes it again, as the first load after start does.
    static void ForgetSharedPictures();

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull(); }
    // Format_RGBA8888, straight (not premultiplied) alpha.
    const QImage& ToQImage() const { return image_; }

private:
    QImage image_;
};

} // namespace platform::vcl
