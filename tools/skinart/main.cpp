// Writes the skin pictures as PNG files.
//   vtrm_skinart <output folder> <name>...
// The names are the pictures the build embeds; the program refuses to run when they and
// the pictures it draws are not the same set, so no picture is drawn but never embedded,
// nor embedded without being drawn.
//
// The files are written for the program's start-up, which decodes them: rows without
// filtering and the fastest zlib level. Unfiltered rows decode about three times faster
// than adaptively filtered ones and, for drawn art of flat colour runs, are not larger.
#include "Catalogue.h"
#include "Palette.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <csetjmp>
#include <cstdio>
#include <png.h>

namespace {

bool IsKeyColour(QRgb pixel) {
    return qRed(pixel) == skinart::palette::Maroon.red() &&
           qGreen(pixel) == skinart::palette::Maroon.green() &&
           qBlue(pixel) == skinart::palette::Maroon.blue();
}

// The key colour makes the window see-through, so it may stand only in the see-through
// parts of a window background. Returns the first offending pixel's description.
QString FindStrayKeyColour(const skinart::Picture& picture) {
    const QImage& image = picture.image;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const uchar* solid = picture.body.isNull() ? nullptr : picture.body.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const bool seeThrough = solid && solid[x] == 0;
            if (IsKeyColour(line[x]) != seeThrough)
                return QStringLiteral("%1 at (%2, %3) %4")
                    .arg(picture.name)
                    .arg(x)
                    .arg(y)
                    .arg(seeThrough ? QStringLiteral("should be see-through")
                                    : QStringLiteral("has the key colour"));
        }
    }
    return {};
}

int Fail(const QString& message) {
    std::fprintf(stderr, "vtrm_skinart: %s\n", qPrintable(message));
    return 1;
}

// Writes the picture as an 8-bit RGBA PNG; returns what went wrong, or a null text.
QString WritePng(const QString& path, const QImage& picture) {
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) return QStringLiteral("cannot open the file");
    // libpng says on stderr what failed before it returns here.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return QStringLiteral("out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return QStringLiteral("libpng failed");
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rgba.width()),
                 static_cast<png_uint_32>(rgba.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    for (int y = 0; y < rgba.height(); ++y)
        png_write_row(png, rgba.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 ? QString() : QStringLiteral("cannot write the file");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Fail(QStringLiteral("usage: vtrm_skinart <output folder> <name>..."));
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QSet<QString> wanted;
    for (int i = 2; i < argc; ++i)
        wanted.insert(QString::fromLocal8Bit(argv[i]));

    const std::vector<skinart::Picture> pictures = skinart::DrawSkin();
    QSet<QString> drawn;
    for (const skinart::Picture& picture : pictures)
        drawn.insert(picture.name);
    if (drawn != wanted) {
        QStringList missing = QStringList((wanted - drawn).values());
        QStringList extra = QStringList((drawn - wanted).values());
        missing.sort();
        extra.sort();
        return Fail(QStringLiteral("asked for but not drawn: [%1]; drawn but not asked for: [%2]")
                        .arg(missing.join(u' '), extra.join(u' ')));
    }

    if (!folder.mkpath(QStringLiteral(".")))
        return Fail(QStringLiteral("cannot create %1").arg(folder.path()));
    for (const skinart::Picture& picture : pictures) {
        const QString stray = FindStrayKeyColour(picture);
        if (!stray.isEmpty()) return Fail(stray);
        const QString path = folder.filePath(picture.name + QStringLiteral(".png"));
        const QString error = WritePng(path, picture.image);
        if (!error.isNull()) return Fail(QStringLiteral("cannot write %1: %2").arg(path, error));
    }
    return 0;
}
