// The skin pictures the window loads: every one is embedded, decodes at the size the
// window is laid out for, its states can be told apart, and the see-through key colour
// stands only where the window is meant to be see-through.
#include "common/Screenshot.h"
#include "platform/core/Resources.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string name;
    int width;
    int height;
    std::string family = {}; // the pictures of one button or switch in its states
};

// The pictures and sizes the window is built around.
std::vector<Expected> ExpectedPictures() {
    std::vector<Expected> all;
    for (const char* language : {"L1", "L2", "L3"}) {
        const std::string l = language;
        all.push_back({l + "_BackGround", 1030, 662});
        all.push_back({l + "_Back1", 600, 400});
        all.push_back({l + "_Back2", 800, 374});
        all.push_back({l + "_Back3", 801, 375});
        all.push_back({l + "_Back4", 800, 374});
        all.push_back({l + "_Back5", 720, 650});
    }
    const std::pair<const char*, std::pair<int, int>> threeState[] = {
        {"BtnS", {116, 28}}, {"ExitS", {18, 18}}, {"MiniS", {18, 18}},   {"SetS", {120, 28}},
        {"KeyS", {160, 28}}, {"WebS", {150, 86}}, {"MacroS", {110, 27}}, {"MacroBtnS", {44, 27}},
    };
    for (const auto& [family, size] : threeState)
        for (const char* state : {"_01", "_02", "_03"})
            all.push_back({std::string(family) + state, size.first, size.second, family});
    const std::pair<const char*, std::pair<int, int>> twoState[] = {
        {"CbS", {16, 16}}, {"RdS", {15, 15}}, {"Bar1", {26, 18}}, {"Bar2", {20, 18}}};
    for (const auto& [family, size] : twoState)
        for (const char* state : {"_D", "_E"})
            all.push_back({std::string(family) + state, size.first, size.second, family});
    for (int k = 1; k <= 7; ++k)
        for (const char* state : {"_01", "_02"})
            all.push_back({"Gun" + std::to_string(k) + state, 120, 56, "Gun" + std::to_string(k)});
    for (int k = 1; k <= 5; ++k)
        all.push_back({"GunMode" + std::to_string(k), 42, 42});
    all.push_back({"Col_F", 32, 40});
    all.push_back({"Update", 540, 102});
    for (const char* base : {"InsertDelayBase", "InsertKeyBase", "InsertXYBase"})
        all.push_back({base, 207, 162});
    all.push_back({"Msg", 1000, 660});
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        all.push_back({"AppIcon_" + std::to_string(size), size, size});
    return all;
}

const platform::core::ResourceEntry* Find(const std::string& name) {
    return platform::core::FindResource(name, "RC_DATA");
}

QImage Decode(const std::string& name) {
    const platform::core::ResourceEntry* entry = Find(name);
    if (!entry) return {};
    return QImage::fromData(entry->data, static_cast<int>(entry->size), "PNG")
        .convertToFormat(QImage::Format_ARGB32);
}

bool IsMaroon(QRgb pixel) {
    return qRed(pixel) == 128 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

int CountMaroon(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += IsMaroon(image.pixel(x, y));
    return count;
}

bool IsWindowBackground(const std::string& name) {
    return name.size() > 3 && name.substr(2) == "_BackGround";
}

TEST(SkinArt, EveryPictureIsAnEightBitPngOfItsSize) {
    for (const Expected& expected : ExpectedPictures()) {
        SCOPED_TRACE(expected.name);
        const platform::core::ResourceEntry* entry = Find(expected.name);
        ASSERT_NE(entry, nullptr);
        ASSERT_GT(entry->size, 26u);
        // IHDR: bit depth 8, colour type 6 (RGBA), as the program's decoder is set up for.
        EXPECT_EQ(entry->data[24], 8);
        EXPECT_EQ(entry->data[25], 6);
        const QImage image = Decode(expected.name);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), expected.width);
        EXPECT_EQ(image.height(), expected.height);
    }
}

TEST(SkinArt, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ(platform::core::FindResource("l1_background", "rc_data"), Find("L1_BackGround"));
    EXPECT_EQ(platform::core::FindResource("MACROBTNS_03", "RC_DATA"), Find("MacroBtnS_03"));
}

TEST(SkinArt, StatesOfEachFamilyDiffer) {
    std::map<std::string, std::vector<std::string>> families;
    for (const Expected& expected : ExpectedPictures())
        if (!expected.family.empty()) families[expected.family].push_back(expected.name);
    ASSERT_EQ(families.size(), 8u + 4u + 7u);
    for (const auto& [family, members] : families) {
        SCOPED_TRACE(family);
        ASSERT_GE(members.size(), 2u);
        for (size_t i = 0; i < members.size(); ++i)
            for (size_t j = i + 1; j < members.size(); ++j)
                EXPECT_NE(Decode(members[i]), Decode(members[j]))
                    << members[i] << " looks like " << members[j];
    }
}

TEST(SkinArt, FirePresetsAndModesAreDistinctPictures) {
    for (int a = 1; a <= 7; ++a)
        for (int b = a + 1; b <= 7; ++b)
            EXPECT_NE(Decode("Gun" + std::to_string(a) + "_01"),
                      Decode("Gun" + std::to_string(b) + "_01"))
                << a << " vs " << b;
    for (int a = 1; a <= 5; ++a)
        for (int b = a + 1; b <= 5; ++b)
            EXPECT_NE(Decode("GunMode" + std::to_string(a)), Decode("GunMode" + std::to_string(b)))
                << a << " vs " << b;
}

TEST(SkinArt, KeyColourOnlyInWindowBackgrounds) {
    for (const Expected& expected : ExpectedPictures()) {
        SCOPED_TRACE(expected.name);
        const int maroon = CountMaroon(Decode(expected.name));
        if (IsWindowBackground(expected.name))
            EXPECT_GT(maroon, 0) << "the window would have no see-through part";
        else
            EXPECT_EQ(maroon, 0);
    }
}

TEST(SkinArt, WindowBackgroundIsSeeThroughAtTheCornersOnly) {
    for (const char* name : {"L1_BackGround", "L2_BackGround", "L3_BackGround"}) {
        SCOPED_TRACE(name);
        const QImage image = Decode(name);
        ASSERT_FALSE(image.isNull());
        const int w = image.width(), h = image.height();
        for (QPoint corner :
             {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_TRUE(IsMaroon(image.pixel(corner))) << corner.x() << "," << corner.y();
        // The edges' midpoints, the header and the content area belong to the window.
        for (QPoint inside : {QPoint(w / 2, 0), QPoint(0, h / 2), QPoint(w - 1, h / 2),
                              QPoint(w / 2, h - 1), QPoint(w / 2, 20), QPoint(w / 2, h / 2)})
            EXPECT_FALSE(IsMaroon(image.pixel(inside))) << inside.x() << "," << inside.y();
        // A shaped window is solid: no half-transparent pixels for the colour key to miss.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (qAlpha(image.pixel(x, y)) != 255) FAIL() << "translucent at " << x << "," << y;
    }
}

TEST(SkinArt, OtherLanguagesHaveWholeBackgrounds) {
    for (const char* page : {"_BackGround", "_Back1", "_Back2", "_Back3", "_Back4", "_Back5"}) {
        const QImage first = Decode(std::string("L1") + page);
        for (const char* language : {"L2", "L3"}) {
            SCOPED_TRACE(std::string(language) + page);
            const QImage other = Decode(std::string(language) + page);
            EXPECT_EQ(other.size(), first.size());
        }
    }
}

TEST(SkinArt, ColourFrameShowsTheSwatchThroughItsCentre) {
    const QImage frame = Decode("Col_F");
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(qAlpha(frame.pixel(frame.width() / 2, frame.height() / 2 - 4)), 0);
    EXPECT_EQ(qAlpha(frame.pixel(6, 6)), 0);
    EXPECT_EQ(qAlpha(frame.pixel(0, frame.height() / 2)), 255);
    EXPECT_EQ(qAlpha(frame.pixel(frame.width() / 2, frame.height() - 2)), 255);
}

// Every picture on one sheet for a person to look at: the small ones enlarged in a grid,
// the large ones below at their own size.
TEST(SkinArt, ContactSheet) {
    constexpr int columns = 4, cellWidth = 260, cellHeight = 170, gap = 8;
    std::vector<QImage> small, large;
    for (const Expected& expected : ExpectedPictures()) {
        if (expected.name[0] == 'L' && expected.name[1] != '1') continue;
        const QImage image = Decode(expected.name);
        ASSERT_FALSE(image.isNull()) << expected.name;
        (image.width() > cellWidth ? large : small).push_back(image);
    }
    const int smallRows = (static_cast<int>(small.size()) + columns - 1) / columns;
    int height = smallRows * (cellHeight + gap) + gap;
    for (const QImage& image : large)
        height += image.height() + gap;
    QImage sheet(columns * (cellWidth + gap) + gap, height, QImage::Format_ARGB32);
    sheet.fill(QColor(0x60, 0x66, 0x70));
    QPainter painter(&sheet);
    for (size_t i = 0; i < small.size(); ++i) {
        const QImage& image = small[i];
        const int scale =
            std::clamp(std::min(cellWidth / image.width(), cellHeight / image.height()), 1, 4);
        const QSize shown = image.size() * scale;
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        const QPoint cell(gap + column * (cellWidth + gap), gap + row * (cellHeight + gap));
        painter.drawImage(
            QRect(cell + QPoint((cellWidth - shown.width()) / 2, (cellHeight - shown.height()) / 2),
                  shown),
            image);
    }
    int y = gap + smallRows * (cellHeight + gap);
    for (const QImage& image : large) {
        painter.drawImage(gap, y, image);
        y += image.height() + gap;
    }
    painter.end();
    QLabel view;
    view.setPixmap(QPixmap::fromImage(sheet));
    view.resize(sheet.size());
    EXPECT_FALSE(
        testing_support::SaveScreenshot(&view, QStringLiteral("skin-contact-sheet")).isEmpty());
}

} // namespace
