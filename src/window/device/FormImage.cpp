// The configuration image on the main window: the defaults context the window gives the
// default routines, the five section checks over the window's copies, and the split of
// the live image with the window as its host.
#include "window/Main.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

// The window's side of the split: the device macro list, the patch-code checksum of a
// read from the mouse, the fire macro names.
class WindowSplitHost : public ::device::SplitHost {
public:
    WindowSplitHost(TForm1& form, bool showPatchCodeCheck)
        : form_(form), showPatchCodeCheck_(showPatchCodeCheck) {}
    void ReadAndRefreshDeviceMacros() override { form_.ReadAndRefreshDeviceMacros(); }
    void PatchHeaderCopied() override {
        if (!showPatchCodeCheck_) return;
        const uint32_t checksum =
            uint32_t{::device::PatchHeaderCopy[::device::image::PatchChecksumHigh]} * 256 +
            ::device::PatchHeaderCopy[::device::image::PatchChecksumLow];
        form_.edt_PatCodeCk->SetText(platform::rtl::IntToHex(checksum, 4));
    }
    void RefreshFireMacroName() override { form_.RefreshFireMacroName(); }

private:
    TForm1& form_;
    bool showPatchCodeCheck_;
};

} // namespace

::device::DefaultsContext TForm1::DefaultsFromWindow() {
    ::device::DefaultsContext context;
    context.LedType = LedType;
    context.DetectedInterface = DetectedInterface;
    context.PackageItemIndex = cb_Package->ItemIndex();
    return context;
}

void TForm1::SplitLiveImage(bool showPatchCodeCheck) {
    WindowSplitHost host(*this, showPatchCodeCheck);
    ::device::SplitLiveImage(*this, DefaultsFromWindow(), host);
}

void TForm1::CheckVendorSection() {
    ::device::CheckVendorSection(VendorCopy, DefaultsFromWindow());
}

void TForm1::CheckUserSection() {
    ::device::CheckUserSection(UserCopy, DefaultsFromWindow());
}

void TForm1::CheckProfile1Section() {
    ::device::CheckProfile1Section(Profile1Copy, DefaultsFromWindow());
}

void TForm1::CheckProfile2Section() {
    ::device::CheckProfile2Section(Profile2Copy, DefaultsFromWindow());
}

void TForm1::CheckProfile3Section() {
    ::device::CheckProfile3Section(Profile3Copy, DefaultsFromWindow());
}

void TForm1::ReadAndRefreshDeviceMacros() {
    DeviceMacros = ::device::ParseDeviceMacroArea(::device::DeviceMacroAreaCopy);
    platform::vcl::TItemList& names = LB_Name->Items();
    names.Clear();
    for (const ::device::TMacroName& name : DeviceMacros.Names)
        names.Add(::device::MacroNameToText(name));
}

void TForm1::RefreshFireMacroName() {
    LB_FireMacroName->Items().Assign(::device::FireMacroNameList(::device::FireMacroNames));
}

void TForm1::ClearMacroEditor() {
    LB_MacroName->Items().Clear();
    LB_macro->Items().Clear();
    mmo_macro->Clear();
    mmo_wrscript->Clear();
}

} // namespace window
