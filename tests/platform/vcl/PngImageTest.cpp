#include "platform/vcl/PngImage.h"
#include "platform/core/Resources.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <QBuffer>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

namespace {

using namespace platform::rtl;
using namespace platform::vcl;

// The pixels tests/data/vcl/make_pictures.py wrote into the embedded test picture.
struct Rgba {
    int r, g, b, a;
};
const Rgba kPicture[2][3] = {{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}},
                             {{128, 0, 0, 255}, {255, 255, 255, 0}, {10, 20, 30, 128}}};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const platform::rtl::Exception& e) {
        return e.what();
    }
    return "no error";
}

std::string ResourceBytes(const char* name) {
    TResourceStream s(name, "RC_DATA");
    return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

TEST(PngImage, DecodesAnEmbeddedPictureToStraightRgba) {
    TPngImage png;
    EXPECT_TRUE(png.Empty());
    png.LoadFromResourceName("VCLTEST_picture"); // resource names ignore case
    ASSERT_EQ(png.Width(), 3);
    ASSERT_EQ(png.Height(), 2);
    const QImage& img = png.ToQImage();
    EXPECT_EQ(img.format(), QImage::Format_RGBA8888);
    for (int y = 0; y < 2; ++y) {
        const uchar* row = img.constScanLine(y);
        for (int x = 0; x < 3; ++x) {
            const Rgba& want = kPicture[y][x];
            EXPECT_EQ(row[4 * x + 0], want.r) << x << "," << y;
            EXPECT_EQ(row[4 * x + 1], want.g) << x << "," << y;
            EXPECT_EQ(row[4 * x + 2], want.b) << x << "," << y;
            EXPECT_EQ(row[4 * x + 3], want.a) << x << "," << y; // not premultiplied
        }
    }
}

TEST(PngImage, BrokenPictureNamesItselfAndKeepsThePreviousPicture) {
    TPngImage png;
    png.LoadFromResourceName("VclTest_Picture");
    const std::string message = ErrorOf([&] { png.LoadFromResourceName("VclTest_Broken"); });
    const std::string prefix = "Cannot load PNG picture \"VclTest_Broken\": ";
    ASSERT_EQ(message.compare(0, prefix.size(), prefix), 0) << message;
    EXPECT_GT(message.size(), prefix.size()) << "libpng's reason is missing";
    EXPECT_EQ(png.Width(), 3);
    EXPECT_EQ(png.Height(), 2);
}

TEST(PngImage, DataThatIsNoPngCarriesLibpngsReason) {
    TPngImage png;
    const std::string text = "certainly not a picture";
    EXPECT_EQ(ErrorOf([&] { png.LoadFromMemory(text.data(), text.size(), "\"Bar1_D\""); }),
              "Cannot load PNG picture \"Bar1_D\": Not a PNG file");
    EXPECT_NE(ErrorOf([&] { png.LoadFromMemory(text.data(), 0, "\"Empty\""); }), "no error");
    EXPECT_TRUE(png.Empty());
}

TEST(PngImage, MissingResourceRaisesResNotFound) {
    TPngImage png;
    try {
        png.LoadFromResourceName("SetS_99");
        FAIL() << "loaded a missing picture";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource SetS_99 not found");
    }
}

TEST(PngImage, LoadsFromTheStreamPosition) {
    TMemoryStream s;
    s.WriteBuffer("junk", 4);
    const std::string bytes = ResourceBytes("VclTest_Picture");
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(4);
    TPngImage png;
    png.LoadFromStream(s);
    EXPECT_EQ(png.Width(), 3);
    s.SetPosition(0);
    EXPECT_NE(ErrorOf([&] { png.LoadFromStream(s); }).find("Not a PNG file"), std::string::npos);
}

TEST(PngImage, GreyAndPalettePicturesBecomeRgba) {
    QImage grey(4, 1, QImage::Format_Grayscale8);
    for (int x = 0; x < 4; ++x)
        grey.scanLine(0)[x] = static_cast<uchar>(x * 60);
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 100, 50), qRgb(1, 2, 3)});
    indexed.scanLine(0)[0] = 1;
    indexed.scanLine(0)[1] = 0;

    for (const QImage& source : {grey, indexed}) {
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, "PNG"));
        TPngImage png;
        png.LoadFromMemory(encoded.constData(), static_cast<size_t>(encoded.size()), "test");
        ASSERT_EQ(png.Width(), source.width());
        for (int x = 0; x < source.width(); ++x) {
            const QRgb want = source.pixel(x, 0);
            const uchar* got = png.ToQImage().constScanLine(0) + 4 * x;
            EXPECT_EQ(got[0], qRed(want));
            EXPECT_EQ(got[1], qGreen(want));
            EXPECT_EQ(got[2], qBlue(want));
            EXPECT_EQ(got[3], 255);
        }
    }
}

TEST(PngImage, RefusesHeadersClaimingHugeSizesBeforeAllocating) {
    std::string bytes = ResourceBytes("VclTest_Picture");
    // IHDR data starts at byte 16: width and height, big-endian; its CRC follows the 13
    // data bytes and covers the chunk type and data.
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (24 - 8 * i));
    };
    put32(16, 100000);
    put32(20, 100000);
    put32(29,
          static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17)));
    TPngImage png;
    const std::string message =
        ErrorOf([&] { png.LoadFromMemory(bytes.data(), bytes.size(), "\"Huge\""); });
    EXPECT_NE(message.find("too large (100000 x 100000)"), std::string::npos) << message;
    EXPECT_TRUE(png.Empty());
}

// A PNG of the given size, every pixel one colour.
std::string EncodedPicture(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return encoded.toStdString();
}

TEST(PngImage, AnEmbeddedPictureIsDecodedOnceAndSharedUntilRegisteredAnew) {
    const std::string small = EncodedPicture(3, 2, qRgb(1, 2, 3));
    const std::string large = EncodedPicture(5, 4, qRgb(4, 5, 6));
    auto put = [](const std::string& bytes) {
        platform::core::RegisterResource("PngCacheTest_Swap", "RC_DATA",
                                         reinterpret_cast<const unsigned char*>(bytes.data()),
                                         bytes.size());
    };
    put(small);
    TPngImage first, second;
    first.LoadFromResourceName("PngCacheTest_Swap");
    // Whatever the spelling of the name or the name the errors would give: one picture.
    second.LoadFromResourceName("PNGCACHETEST_SWAP", "from stream");
    ASSERT_EQ(second.Width(), 3);
    EXPECT_EQ(first.ToQImage().constBits(), second.ToQImage().constBits());

    struct Step {
        const std::string* bytes;
        int width;
    } steps[] = {{&large, 5}, {&small, 3}, {&small, 3}}; // the same bytes again count as new
    for (const Step& step : steps) {
        put(*step.bytes);
        TPngImage fresh;
        fresh.LoadFromResourceName("PngCacheTest_Swap");
        EXPECT_EQ(fresh.Width(), step.width);
        EXPECT_NE(fresh.ToQImage().constBits(), first.ToQImage().constBits());
    }
    EXPECT_EQ(first.Width(), 3); // what holds a picture keeps it
}

TEST(PngImage, ResourceErrorsStayTheSameOnEveryLoad) {
    struct Case {
        const char* name;
        const char* pictureName; // null: the one-argument load
        bool missing;            // EResNotFound with exactly `error`; else `error` and a reason
        std::string error;
    } cases[] = {
        {"VclTest_Broken", nullptr, false, "Cannot load PNG picture \"VclTest_Broken\": "},
        {"vcltest_broken", "from stream", false, "Cannot load PNG picture from stream: "},
        {"PngCacheTest_Missing", nullptr, true, "Resource PngCacheTest_Missing not found"},
        {"PngCacheTest_Missing", "from stream", true, "Resource PngCacheTest_Missing not found"},
    };
    for (const Case& c : cases) {
        TPngImage png;
        png.LoadFromResourceName("VclTest_Picture");
        std::string first;
        for (int attempt = 0; attempt < 2; ++attempt) {
            bool notFound = false;
            const std::string message = ErrorOf([&] {
                try {
                    if (c.pictureName)
                        png.LoadFromResourceName(c.name, c.pictureName);
                    else
                        png.LoadFromResourceName(c.name);
                } catch (const EResNotFound&) {
                    notFound = true;
                    throw;
                }
            });
            EXPECT_EQ(notFound, c.missing) << message;
            if (c.missing) {
                EXPECT_EQ(message, c.error);
            } else {
                EXPECT_EQ(message.compare(0, c.error.size(), c.error), 0) << message;
                EXPECT_GT(message.size(), c.error.size()) << "libpng's reason is missing";
            }
            if (attempt == 0) first = message;
            EXPECT_EQ(message, first) << c.name << ": the second load differs";
            EXPECT_EQ(png.Width(), 3) << c.name << ": the previous picture is gone";
        }
    }
}

} // namespace
