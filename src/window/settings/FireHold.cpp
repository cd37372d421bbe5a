// The hold marks of the performance page's fire keys and the gun-key switch of the key
// page. While one of them changes its check box, the window's own changes stay quiet:
// naming the fire keys' records would otherwise set the hold boxes back from the records
// not yet rewritten.
#include "window/Main.h"
#include "window/device/DeviceTexts.h"
#include "window/device/ProfileWrites.h"
#include "window/settings/KeySearch.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

#include "device/Macros.h"
#include "platform/rtl/SysUtils.h"

namespace window {
void TForm1::FireHoldLabelClicked(int n) {
    settings::FireHoldSyncScope guard(*this);
    HideAllMenu();
    auto& hold = Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue"));
    hold.SetChecked(!hold.Checked());
    platform::vcl::TPngImage png;
    shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_Fire", n, "Continue")),
                       shell::CheckMarkPicture(hold.Checked()), png);
    // The keys carrying the fire key take the new hold with its shots and interval.
    if (!shell::UiLoadingFlag) SettingFireKey();
}

void TForm1::lbl_Fire1ContinueClick(platform::vcl::TObject*) {
    FireHoldLabelClicked(1);
}
void TForm1::lbl_Fire2ContinueClick(platform::vcl::TObject*) {
    FireHoldLabelClicked(2);
}
void TForm1::lbl_Fire3ContinueClick(platform::vcl::TObject*) {
    FireHoldLabelClicked(3);
}

int TForm1::GunKeyComboMask() {
    // With switch 8 on, the gun keys switch the gaming mode the way the chosen switch does.
    if (!cb_IsGunFireMode->Checked()) return 0;
    return settings::GamingModeSwitchMask(cb_ChangeFireFun->ItemIndex());
}

void TForm1::IB_ComboKey8Click(platform::vcl::TObject* /*Sender*/) {
    settings::FireHoldSyncScope guard(*this);
    HideAllMenu();
    RefreshKeyNameCache();
    cb_IsGunFireMode->SetChecked(!cb_IsGunFireMode->Checked());
    platform::vcl::TPngImage png;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_ComboKey8"),
                       shell::CheckMarkPicture(cb_IsGunFireMode->Checked()), png);
    RefreshComboKey8();
}

void TForm1::RefreshComboKey8() {
    const std::string mask = platform::rtl::IntToHex(static_cast<uint32_t>(GunKeyComboMask()), 2);
    for (int i = 0; i < static_cast<int>(KeyNameCache.size()); ++i) {
        if (!settings::IsFireScriptName(KeyNameCache[i])) continue;
        const int p = i / ::device::image::ProfileKeyCount;
        const int k = i % ::device::image::ProfileKeyCount;
        SetProfileKeyCode(p, k, KeyCodeStrings[p][k].substr(0, 6) + mask);
    }
    if (!shell::UiLoadingFlag) device::WriteProfileSections(*this);
}

} // namespace window
