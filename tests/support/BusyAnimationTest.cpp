#include "common/Screenshot.h"
#include "platform/core/Resources.h"
#include "support/GifAnimator.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QRgb kSeeThrough = qRgb(0, 0, 0);

const platform::core::ResourceEntry& BusyGif() {
    const platform::core::ResourceEntry* entry = platform::core::FindResource("BUSYGIF", "RC_DATA");
    if (!entry) throw std::runtime_error("BUSYGIF is not embedded");
    return *entry;
}

// Black pixels that cannot be reached from the picture's border through other black
// pixels: holes in the drawn shape, which the busy window would show as see-through.
int EnclosedBlackPixels(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<char> reached(static_cast<size_t>(w * h), 0);
    std::vector<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        const size_t at = static_cast<size_t>(y * w + x);
        if (reached[at] || image.pixel(x, y) != kSeeThrough) return;
        reached[at] = 1;
        todo.push_back({x, y});
    };
    for (int x = 0; x < w; ++x)
        visit(x, 0), visit(x, h - 1);
    for (int y = 0; y < h; ++y)
        visit(0, y), visit(w - 1, y);
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        visit(p.x() + 1, p.y()), visit(p.x() - 1, p.y()), visit(p.x(), p.y() + 1),
            visit(p.x(), p.y() - 1);
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (image.pixel(x, y) == kSeeThrough && !reached[static_cast<size_t>(y * w + x)])
                ++enclosed;
    return enclosed;
}

TEST(BusyAnimation, TwelveFramesOf200x192EachShownFor50Ms) {
    const auto& gif = BusyGif();
    ASSERT_GE(gif.size, 13u);
    EXPECT_EQ(gif.data[10] & 0x87, 0x87) << "global palette of 256 colours";

    support::TGifPicture picture;
    std::string error;
    ASSERT_TRUE(support::DecodeGif(gif.data, gif.size, picture, error)) << error;
    EXPECT_FALSE(picture.Damaged);
    EXPECT_EQ(picture.Size, QSize(200, 192));
    ASSERT_EQ(picture.Frames.size(), 12u);
    for (const auto& f : picture.Frames)
        EXPECT_EQ(f.DelayMs, 50);
}

TEST(BusyAnimation, DrawnOnPureBlackWithNoSeeThroughHolesAndEveryFrameDiffers) {
    const auto& gif = BusyGif();
    support::TGifPicture picture;
    std::string error;
    ASSERT_TRUE(support::DecodeGif(gif.data, gif.size, picture, error)) << error;
    ASSERT_EQ(picture.Frames.size(), 12u);

    QImage sheet(200 * 4, 192 * 3, QImage::Format_ARGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    for (size_t i = 0; i < picture.Frames.size(); ++i) {
        const QImage& f = picture.Frames[i].Image;
        painter.drawImage(static_cast<int>(i % 4) * 200, static_cast<int>(i / 4) * 192, f);
        for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 191), QPoint(199, 191)})
            EXPECT_EQ(f.pixel(corner), kSeeThrough) << "frame " << i;
        int drawn = 0;
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x) {
                ASSERT_EQ(qAlpha(f.pixel(x, y)), 255) << "frame " << i;
                if (f.pixel(x, y) != kSeeThrough) ++drawn;
            }
        EXPECT_GT(drawn, 2000) << "frame " << i;
        EXPECT_EQ(EnclosedBlackPixels(f), 0) << "frame " << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(f, picture.Frames[j].Image) << "frames " << j << " and " << i;
    }
    painter.end();
    QLabel label;
    label.setPixmap(QPixmap::fromImage(sheet));
    label.resize(sheet.size());
    testing_support::SaveScreenshot(&label, "busy_animation_frames");
}

} // namespace
