// What the LED type shows on the engineering page: keys 10 to 12 of the RGB package, the
// mode check boxes of the type, the colour groups and the breathing modes offered.
#include "device/DeviceImage.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"
#include "window/shell/LanguageCaptions.h"
#include "window/shell/LayoutApply.h"

#include <algorithm>
#include <vector>

namespace window {
namespace {

// The modes of each LED type, by mode number (the smart type has no mode 3).
const std::vector<int>& ModesOfType(int type) {
    static const std::vector<int> rgb{0, 1, 2, 3, 4, 5};
    static const std::vector<int> sync{0, 1, 2};
    static const std::vector<int> smart{0, 1, 2, 4, 5};
    static const std::vector<int> none;
    switch (type) {
    case 0:
        return rgb;
    case 1:
        return sync;
    case 2:
        return smart;
    default:
        return none;
    }
}

// The name of a mode of an LED type in the caption table's language: the names of each
// type stand one after the other in LedModeNames, in the order of the type's modes.
std::string ModeName(int type, int mode) {
    static const int firstOfType[] = {0, 6, 9};
    const std::vector<int>& modes = ModesOfType(type);
    const auto position = std::find(modes.begin(), modes.end(), mode) - modes.begin();
    return shell::LedModeNames[static_cast<size_t>(firstOfType[type] + position)];
}

} // namespace

void TForm1::TLRefreshRGBLEDKeyStatus(platform::vcl::TObject* /*Sender*/) {
    for (int p = 1; p <= 3; ++p)
        for (int k = 10; k <= 12; ++k) {
            Named<platform::vcl::TControl>(shell::LayoutName("btn_Key", p * 100 + k))
                .SetVisible(true);
            Named<platform::vcl::TControl>(shell::LayoutName("lbl_Key", p * 100 + k))
                .SetVisible(true);
        }
}

void TForm1::TLRefreshBasicLEDKeyStatus(platform::vcl::TObject* /*Sender*/) {
    for (int p = 1; p <= 3; ++p)
        for (int k = 10; k <= 12; ++k) {
            Named<platform::vcl::TControl>(shell::LayoutName("btn_Key", p * 100 + k))
                .SetVisible(false);
            Named<platform::vcl::TControl>(shell::LayoutName("lbl_Key", p * 100 + k))
                .SetVisible(false);
        }
}

void TForm1::TLRefreshLEDTypeMode(platform::vcl::TObject* /*Sender*/) {
    const int type = cb_LEDMode->ItemIndex();
    if (type < 0 || type > 2) return;
    static const char* types[] = {"RGB", "Sync", "NT"};
    LedType = types[type];
    const bool rgb = type == 0;
    cb_Package->SetItemIndex(rgb ? 1 : 0);
    cb_KbdType->SetItemIndex(rgb ? 1 : 0);
    const std::vector<int>& modes = ModesOfType(type);
    for (int k = 0; k < 6; ++k) {
        auto& box = Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Mode", k));
        const bool offered = std::find(modes.begin(), modes.end(), k) != modes.end();
        box.SetVisible(offered);
        if (offered) box.SetCaption(ModeName(type, k));
    }
    const bool colours = type != 1;
    for (const char* group : {"gbLEDColor", "gbCPIColor"})
        Named<platform::vcl::TControl>(group).SetVisible(colours);
    for (int p = 1; p <= 3; ++p) {
        Named<platform::vcl::TControl>(shell::LayoutName("cb_Profile", p, "Color"))
            .SetVisible(colours);
        Named<platform::vcl::TControl>(shell::LayoutName("lbl_Profile", p, "Color"))
            .SetVisible(colours);
    }
    const bool ledCount = type == 2;
    Named<platform::vcl::TControl>("lbl_LEDNum").SetVisible(ledCount);
    Named<platform::vcl::TControl>("cb_LEDNum").SetVisible(ledCount);
}

void TForm1::TLRefreshBreathParameter(platform::vcl::TObject* /*Sender*/) {
    auto& breathMode = Named<controls::skin::TSkinComboBox>("cb_BreMode");
    breathMode.Items().Clear();
    const int type = cb_LEDMode->ItemIndex();
    const std::vector<int>& modes = ModesOfType(type);
    for (int k = 0; k < 6; ++k) {
        const bool offered = std::find(modes.begin(), modes.end(), k) != modes.end();
        const bool enabled =
            offered &&
            Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Mode", k)).Checked();
        if (offered) breathMode.Items().Add(enabled ? ModeName(type, k) : "------");
        // The lighting page offers a mode only when the type has it and it is enabled.
        if (!modes.empty()) {
            Named<platform::vcl::TControl>(shell::LayoutName("lbl_LED", k + 1)).SetVisible(enabled);
            Named<platform::vcl::TControl>(shell::LayoutName("Img_LED", k + 1)).SetVisible(enabled);
        }
    }
}

void TForm1::TLRefreshBreathMode(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    // The breathing-mode list keeps the mode it showed: rebuilding it only renames the
    // items of the modes switched on or off, and the mouse's own mode is still that one.
    auto& breathMode = Named<controls::skin::TSkinComboBox>("cb_BreMode");
    const int shown = breathMode.ItemIndex();
    TLRefreshBreathParameter();
    if (shown < breathMode.Items().Count()) breathMode.SetItemIndex(shown);
    // While the form is being filled the boxes follow the vendor copy one by one; the copy
    // is what they show, so nothing goes back to it or to the mouse.
    if (shell::UiLoadingFlag) return;
    // Bits 5-0 are the six boxes; bits 7-6 are none of theirs and keep their value.
    const int at = ::device::image::VendorBreathModes;
    uint8_t modes = VendorCopy[at] & 0xC0;
    for (int k = 0; k < 6; ++k)
        if (Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Mode", k)).Checked())
            modes = static_cast<uint8_t>(modes | 1 << k);
    device::WriteVendorSetting(*this, at, modes);
}

} // namespace window
