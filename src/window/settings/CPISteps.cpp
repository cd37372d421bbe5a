// The number of CPI levels of the engineering page and the CPI bars of the DPI page.
#include "device/DeviceImage.h"
#include "window/Main.h"
#include "window/device/ProfileWrites.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

namespace window {

namespace {
constexpr int BarCells = 12;
} // namespace

void TForm1::DrawCpiBar(const std::string& prefix, int valueIndex, platform::vcl::TPngImage& png) {
    // As a slider only the value's cell is lit; as a bar every cell up to it. An index
    // past the last cell lights none as a slider and all as a bar.
    for (int k = 1; k <= BarCells; ++k) {
        const bool lit = DpiLedStatus ? k == valueIndex + 1 : k <= valueIndex + 1;
        shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName(prefix, k)),
                           lit ? "Bar2_E" : "Bar2_D", png);
    }
}

void TForm1::cb_CPIStepsChange(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    platform::vcl::TPngImage png;
    for (int n = 1; n <= 8; ++n)
        shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_DPI", n)), "CbS_D",
                           png);
    const int last = Named<controls::skin::TSkinComboBox>("cb_CPISteps").ItemIndex();
    if (last < 0 || last > 7) return;
    Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_DPI", last + 1)).SetChecked(true);
    shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_DPI", last + 1)),
                       "CbS_E", png);

    auto& current = Named<controls::skin::TSkinComboBox>("cb_CurrentCPI");
    current.Items().Clear();
    for (int n = 1; n <= last + 1; ++n)
        current.Items().Add(shell::LayoutName("CPI", n));
    current.SetItemIndex(last);

    // The engineering settings of each level: its CPI value and its colour.
    for (int n = 2; n <= 8; ++n) {
        const bool inUse = n <= last + 1;
        Named<platform::vcl::TControl>(shell::LayoutName("cb_CPI", n)).SetEnabled(inUse);
        for (const char* c : {"R", "G", "B"})
            Named<platform::vcl::TControl>(shell::LayoutName("edt_CPI", n, c)).SetEnabled(inUse);
    }
    if (shell::UiLoadingFlag) return;
    device::WriteVendorSetting(*this, ::device::image::VendorCpiLevelCount,
                               static_cast<uint8_t>(last));
}

} // namespace window
