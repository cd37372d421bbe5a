// The desktop's pointer, double-click and wheel settings shown on the performance page.
// They are the system's, not the mouse's: nothing here is sent to the mouse.
#include "platform/desktop/Registry.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

#include <algorithm>
#include <optional>

namespace window {

namespace {

constexpr const char* MouseKey = "Control Panel\\Mouse";
constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr int BarCells = 10;

// A value that exists is converted; one that does not convert raises the conversion error.
std::optional<int> ReadInteger(const char* key, const char* name) {
    const std::optional<std::string> text = platform::desktop::ReadCurrentUserValue(key, name);
    if (!text) return std::nullopt;
    return platform::rtl::StrToInt(*text);
}

// Draws a cell bar at `level` (1..BarCells): as a slider only the chosen cell is lit, as a
// progress bar every cell up to it.
void DrawBar(TForm1& form, const std::string& prefix, int level, platform::vcl::TPngImage& lit,
             platform::vcl::TPngImage& dark) {
    for (int i = 1; i <= BarCells; ++i) {
        const bool on = form.DpiLedStatus ? i == level : i <= level;
        form.Named<platform::vcl::TImage>(prefix + std::to_string(i))
            .SetPicture(on ? lit.ToQImage() : dark.ToQImage(), on ? "Bar1_E" : "Bar1_D");
    }
}

} // namespace

void TForm1::RefreshMouseSystemParameterA(platform::vcl::TObject* /*Sender*/) {
    const std::optional<int> sensitivity = ReadInteger(MouseKey, "MouseSensitivity");
    const std::optional<int> speed = ReadInteger(MouseKey, "MouseSpeed");
    const std::optional<int> threshold1 = ReadInteger(MouseKey, "MouseThreshold1");
    const std::optional<int> threshold2 = ReadInteger(MouseKey, "MouseThreshold2");
    const std::optional<int> doubleClick = ReadInteger(MouseKey, "DoubleClickSpeed");

    platform::vcl::TPngImage lit, dark;
    lit.LoadFromResourceName("Bar1_E");
    dark.LoadFromResourceName("Bar1_D");
    // Pointer speed 1..20, two steps a cell.
    if (sensitivity)
        DrawBar(*this, "Img_Spd", std::clamp((*sensitivity + 1) / 2, 1, BarCells), lit, dark);
    // Enhanced precision: acceleration on with its thresholds set.
    if (speed && threshold1 && threshold2) {
        const bool precise = *speed != 0 && (*threshold1 != 0 || *threshold2 != 0);
        platform::vcl::TPngImage box;
        shell::LoadSkinPng(*Img_IsControl, shell::CheckMarkPicture(precise), box);
        const bool loading = shell::UiLoadingFlag;
        shell::UiLoadingFlag = 1;
        cb_IsControl->SetChecked(precise);
        shell::UiLoadingFlag = loading;
    }
    // Double-click time 200 ms (fastest, all cells) to 900 ms (slowest), 70 ms a cell.
    if (doubleClick)
        DrawBar(*this, "Img_DbSpd", std::clamp((900 - *doubleClick) / 70 + 1, 1, BarCells), lit,
                dark);
}

void TForm1::RefreshMouseSystemParameterB(platform::vcl::TObject* /*Sender*/) {
    const std::optional<int> lines = ReadInteger(DesktopKey, "WheelScrollLines");
    if (!lines) return;
    platform::vcl::TPngImage lit, dark;
    lit.LoadFromResourceName("Bar1_E");
    dark.LoadFromResourceName("Bar1_D");
    // -1 scrolls a whole screen: the bar shows full.
    const int level = *lines < 0 ? BarCells : std::clamp(*lines, 1, BarCells);
    DrawBar(*this, "Img_ScrSpd", level, lit, dark);
    controls::unicode::TWideLabel::SetCaption(
        lbl_ScrSpd, controls::unicode::AnsiToWide(std::to_string(*lines)));
}

} // namespace window
