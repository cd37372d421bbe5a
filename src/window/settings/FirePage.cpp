// The fire page: reached only from the fire macro entry of the key-function menu. It
// builds a fire (gun) macro code from the chosen gun mode, the left-button choice and the
// combination mask of the gun keys, and puts the code into the key the menu was opened
// for, the way the menu's own choices are stored.
#include "device/Macros.h"
#include "window/Main.h"
#include "window/device/ButtonNames.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

#include <cstdlib>
#include <string>

namespace window {
namespace {

constexpr int GunModeCount = 7;

// The mode digit of each gun mode; the sixth and seventh have variants chosen by the
// layout settings, the others one variant.
constexpr int ModeDigits[GunModeCount] = {0, 1, 2, 3, 4, 5, 7};

int ChosenGunMode(TForm1& form) {
    for (int n = 1; n <= GunModeCount; ++n)
        if (form.Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_Fire", n)).Checked())
            return n;
    return 0;
}

} // namespace

void TForm1::Key_FireMacroClick(platform::vcl::TObject* /*Sender*/) {
    // The page the menu was opened on is where the fire page returns to.
    PageBeforeFirePage = gbPage1;
    for (platform::vcl::TGroupBox* page : {gbPage1, gbPage2, gbPage3, gbPage4, gbPage5, gbPage7})
        if (page->Visible()) PageBeforeFirePage = page;
    HideAllMenu();
    ShowOnlyPage(gbPage6);
    SizeNormalPages();
}

void TForm1::Btn_FireModeClick(platform::vcl::TObject* Sender) {
    HideAllMenu();
    const auto* button = dynamic_cast<const platform::vcl::TControl*>(Sender);
    if (!button) return;
    // Btn_Fire1 .. Btn_Fire7.
    const int chosen = std::atoi(button->Name().c_str() + 8);
    if (chosen < 1 || chosen > GunModeCount) return;
    Named<platform::vcl::TRadioButton>(shell::LayoutName("rb_Fire", chosen)).SetChecked(true);
    platform::vcl::TPngImage png;
    for (int n = 1; n <= GunModeCount; ++n)
        shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_Fire", n)),
                           shell::LayoutName("Gun", n, n == chosen ? "_02" : "_01"), png);
}

void TForm1::Btn_FireConfirmClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    const int mode = ChosenGunMode(*this);
    if (mode == 0 || !KeyMenuTarget) return LeaveFirePage();
    const int variant = mode == 6 ? Gun6Number : mode == 7 ? Gun7Number : 1;
    const std::string code =
        ::device::FireMacroCode(cb_FireSelLeft->Checked(), ModeDigits[mode - 1], variant,
                                static_cast<uint8_t>(GunKeyComboMask()));
    // A variant the mouse does not know gives no code; the key keeps its function.
    if (!code.empty()) StoreKeyFunction(code, device::CodeToFunctionName(*this, code));
    LeaveFirePage();
}

// The label over the box's picture takes the clicks on the square; the box's caption takes
// its own. Either way the box changes and its picture follows, so Confirm reads what the
// page shows.
void TForm1::lbl_FireSelLeftClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    cb_FireSelLeft->SetChecked(!cb_FireSelLeft->Checked());
}

void TForm1::cb_FireSelLeftClick(platform::vcl::TObject* /*Sender*/) {
    platform::vcl::TPngImage png;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_FireSelLeft"),
                       shell::CheckMarkPicture(cb_FireSelLeft->Checked()), png);
}

void TForm1::Btn_FireExitClick(platform::vcl::TObject* /*Sender*/) {
    HideAllMenu();
    LeaveFirePage();
}

void TForm1::LeaveFirePage() {
    platform::vcl::TGroupBox* page = PageBeforeFirePage ? PageBeforeFirePage : gbPage1;
    ShowOnlyPage(page);
    if (page == gbPage7)
        SizeEngineerPage();
    else
        SizeNormalPages();
}

} // namespace window
