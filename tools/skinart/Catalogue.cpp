#include "Catalogue.h"

#include "Families.h"

#include <functional>

namespace skinart {

namespace {

using StateDrawer = std::function<QImage(QSize, ButtonState)>;
using SwitchDrawer = std::function<QImage(QSize, bool)>;

struct ThreeStateFamily {
    const char* name;
    QSize size;
    StateDrawer draw;
};

struct TwoStateFamily {
    const char* name;
    QSize size;
    SwitchDrawer draw;
};

constexpr int LanguageCount = 3;
constexpr int FirePresetCount = 7;
constexpr int FireModeCount = 5;
// The sizes the desktop asks for most: menus and the notification area at 16 to 32,
// launchers and task switchers at 48 to 256.
constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

void Add(std::vector<Picture>& pictures, const QString& name, const QImage& image) {
    pictures.push_back({name, image.convertToFormat(QImage::Format_ARGB32), QImage()});
}

// Each language is a whole skin; all three share the same art.
void AddLanguageBackgrounds(std::vector<Picture>& pictures) {
    const WindowBackground window = DrawWindowBackground(QSize(1030, 662));
    const QImage pages[] = {
        DrawKeyPage(QSize(600, 400)),      DrawPerformancePage(QSize(800, 374)),
        DrawLightingPage(QSize(801, 375)), DrawMacroPage(QSize(800, 374)),
        DrawFirePage(QSize(720, 650)),
    };
    for (int language = 1; language <= LanguageCount; ++language) {
        const QString prefix = QStringLiteral("L%1_").arg(language);
        pictures.push_back({prefix + QStringLiteral("BackGround"),
                            window.image.convertToFormat(QImage::Format_ARGB32), window.body});
        for (int page = 1; page <= 5; ++page)
            Add(pictures, prefix + QStringLiteral("Back%1").arg(page), pages[page - 1]);
    }
}

void AddThreeStateFamilies(std::vector<Picture>& pictures) {
    const ThreeStateFamily families[] = {
        {"BtnS", {116, 28}, DrawActionButton},   {"ExitS", {18, 18}, DrawCloseButton},
        {"MiniS", {18, 18}, DrawMinimiseButton}, {"SetS", {120, 28}, DrawNavButton},
        {"KeyS", {160, 28}, DrawKeyButton},      {"WebS", {150, 86}, DrawWebButton},
        {"MacroS", {110, 27}, DrawActionButton}, {"MacroBtnS", {44, 27}, DrawActionButton},
    };
    const std::pair<const char*, ButtonState> states[] = {
        {"_01", ButtonState::Normal}, {"_02", ButtonState::Hover}, {"_03", ButtonState::Pressed}};
    for (const ThreeStateFamily& family : families)
        for (const auto& [suffix, state] : states)
            Add(pictures, QLatin1String(family.name) + QLatin1String(suffix),
                family.draw(family.size, state));
}

void AddTwoStateFamilies(std::vector<Picture>& pictures) {
    const TwoStateFamily families[] = {
        {"CbS", {16, 16}, DrawCheckBox},
        {"RdS", {15, 15}, DrawRadioCell},
        {"Bar1", {26, 18}, DrawStepBar},
        {"Bar2", {20, 18}, DrawStepBar},
    };
    for (const TwoStateFamily& family : families) {
        Add(pictures, QLatin1String(family.name) + QStringLiteral("_D"),
            family.draw(family.size, false));
        Add(pictures, QLatin1String(family.name) + QStringLiteral("_E"),
            family.draw(family.size, true));
    }
}

void AddFirePictures(std::vector<Picture>& pictures) {
    for (int preset = 1; preset <= FirePresetCount; ++preset) {
        const QString name = QStringLiteral("Gun%1").arg(preset);
        Add(pictures, name + QStringLiteral("_01"), DrawFirePreset({120, 56}, preset, false));
        Add(pictures, name + QStringLiteral("_02"), DrawFirePreset({120, 56}, preset, true));
    }
    for (int mode = 1; mode <= FireModeCount; ++mode)
        Add(pictures, QStringLiteral("GunMode%1").arg(mode), DrawFireMode({42, 42}, mode));
}

void AddSinglePictures(std::vector<Picture>& pictures) {
    Add(pictures, QStringLiteral("Col_F"), DrawColourFrame({32, 40}));
    Add(pictures, QStringLiteral("Update"), DrawUpdatePanel({540, 102}));
    Add(pictures, QStringLiteral("InsertDelayBase"), DrawInsertBase({207, 162}, InsertKind::Delay));
    Add(pictures, QStringLiteral("InsertKeyBase"), DrawInsertBase({207, 162}, InsertKind::Key));
    Add(pictures, QStringLiteral("InsertXYBase"), DrawInsertBase({207, 162}, InsertKind::Move));
    Add(pictures, QStringLiteral("Msg"), DrawMessageBackground({1000, 660}));
}

void AddProgramIcons(std::vector<Picture>& pictures) {
    for (int size : ProgramIconSizes)
        Add(pictures, QStringLiteral("AppIcon_%1").arg(size), DrawProgramIcon(size));
}

} // namespace

std::vector<Picture> DrawSkin() {
    std::vector<Picture> pictures;
    AddLanguageBackgrounds(pictures);
    AddThreeStateFamilies(pictures);
    AddTwoStateFamilies(pictures);
    AddFirePictures(pictures);
    AddSinglePictures(pictures);
    AddProgramIcons(pictures);
    return pictures;
}

} // namespace skinart
