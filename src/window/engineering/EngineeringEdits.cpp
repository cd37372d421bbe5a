// The edits of the engineering page keep their values within what their bytes hold, and
// the colours show on the user pages' swatches as they are typed.
#include "window/Main.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

// Puts `text` into the edit only when it differs, so that the change it runs ends there.
void Correct(platform::vcl::TEdit& edit, const std::string& text) {
    if (edit.Text() != text) edit.SetText(text);
}

// The value of a decimal edit, -1 for an empty or non-numeric text.
int DecimalOf(const platform::vcl::TEdit& edit) {
    return edit.Text().empty() ? -1 : platform::rtl::StrToIntDef(edit.Text(), -1);
}

// "edt_Col3G" -> {"edt_Col", 3}; the number between the stem and the colour letter.
bool SplitColourName(const std::string& name, const std::string& stem, int& number) {
    if (name.rfind(stem, 0) != 0 || name.size() < stem.size() + 2) return false;
    number = platform::rtl::StrToIntDef(name.substr(stem.size(), name.size() - stem.size() - 1), 0);
    return number > 0;
}

} // namespace

void TForm1::edt_Avg_lb_lqChange(platform::vcl::TObject* Sender) {
    auto* edit = dynamic_cast<controls::skin::THexEdit*>(Sender);
    if (!edit) return;
    // A register holds one byte: anything larger is the largest byte.
    if (platform::rtl::StrToIntDef("$" + edit->Text(), 0) > 0xFF) Correct(*edit, "FF");
}

void TForm1::edt_Col1RChange(platform::vcl::TObject* Sender) {
    auto* edit = dynamic_cast<platform::vcl::TEdit*>(Sender);
    if (!edit) return;
    if (DecimalOf(*edit) > 255) Correct(*edit, "255");
    // The swatch of the colour follows its three edits.
    int n = 0;
    std::string shape;
    if (SplitColourName(edit->Name(), "edt_Col", n) && n <= 10)
        shape = shell::LayoutName("cs_Col", n);
    else if (SplitColourName(edit->Name(), "edt_CPI", n) && n <= 8)
        shape = shell::LayoutName("cs_DPI", n, "Col");
    else
        return;
    const std::string stem = edit->Name().substr(0, edit->Name().size() - 1);
    int rgb[3];
    const char* letters[] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c)
        rgb[c] = std::clamp(DecimalOf(Named<platform::vcl::TEdit>(stem + letters[c])), 0, 255);
    Named<platform::vcl::TShape>(shape).SetBrushColor(
        static_cast<platform::vcl::TColor>(rgb[0] + rgb[1] * 256 + rgb[2] * 65536));
}

void TForm1::edt_LowerChange(platform::vcl::TObject* Sender) {
    if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(Sender); edit && DecimalOf(*edit) > 65535)
        Correct(*edit, "65535");
}

void TForm1::edt_StepTimeChange(platform::vcl::TObject* Sender) {
    if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(Sender); edit && DecimalOf(*edit) > 255)
        Correct(*edit, "255");
}

namespace {

// A recoil offset is a signed byte. A lone "-" is a number being typed.
void ClampOffset(platform::vcl::TObject* Sender) {
    auto* edit = dynamic_cast<platform::vcl::TEdit*>(Sender);
    if (!edit || edit->Text() == "-") return;
    if (edit->Text().empty()) return Correct(*edit, "0");
    const int value = platform::rtl::StrToIntDef(edit->Text(), 0);
    Correct(*edit, platform::rtl::IntToStr(std::clamp(value, -128, 127)));
}

} // namespace

void TForm1::TLRefreshXOffset(platform::vcl::TObject* Sender) {
    ClampOffset(Sender);
}

void TForm1::TLRefreshYOffset(platform::vcl::TObject* Sender) {
    ClampOffset(Sender);
}

void TForm1::FireContinueClicked(int n) {
    HideAllMenu();
    // Quiet while the window itself sets the box: its hold follows a record or a mark.
    if (FireHoldSyncGuard || shell::UiLoadingFlag) return;
    platform::vcl::TPngImage png;
    shell::LoadSkinPng(
        Named<platform::vcl::TImage>(shell::LayoutName("Img_Fire", n, "Continue")),
        Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue")).Checked()
            ? "CbS_E"
            : "CbS_D",
        png);
    TLSettingFireKey();
}

void TForm1::cb_Fire1ContinueClick(platform::vcl::TObject*) {
    FireContinueClicked(1);
}
void TForm1::cb_Fire2ContinueClick(platform::vcl::TObject*) {
    FireContinueClicked(2);
}
void TForm1::cb_Fire3ContinueClick(platform::vcl::TObject*) {
    FireContinueClicked(3);
}

} // namespace window
