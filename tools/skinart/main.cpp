// Writes the skin pictures as PNG files.
//   vtrm_skinart <output folder> <name>...
// The names are the pictures the build embeds; the program refuses to run when they and
// the pictures it draws are not the same set, so no picture is drawn but never embedded,
// nor embedded without being drawn.
#include "Catalogue.h"
#include "Palette.h"

#include <QDir>
#include <QImageWriter>
#include <QSet>
#include <QStringList>
#include <cstdio>

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
        QImageWriter writer(folder.filePath(picture.name + QStringLiteral(".png")), "png");
        if (!writer.write(picture.image))
            return Fail(
                QStringLiteral("cannot write %1: %2").arg(writer.fileName(), writer.errorString()));
    }
    return 0;
}
