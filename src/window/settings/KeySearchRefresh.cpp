// The settings that live in the profile keys rather than in settings bytes of their own:
// the fire keys, the AIM key, the LED-mode switch, the fire scripts and the combination
// masks. Each refresher finds the keys that carry its function and shows what they hold.
#include "window/Main.h"
#include "window/settings/KeySearch.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/SkinImages.h"

#include "platform/rtl/SysUtils.h"
#include "window/device/ButtonNames.h"
#include "window/device/DeviceTexts.h"

namespace window {
namespace {

int CurrentProfileOf(const ::device::TUserSection& user) {
    return user[0] & 0x0F;
}

int Interval(const std::string& code) {
    return settings::CodeByte(code, 2) * 256 + settings::CodeByte(code, 3);
}

constexpr int KeyCount = ::device::image::ProfileKeyCount;

} // namespace

void TForm1::TLRefreshFireKey(platform::vcl::TObject* /*Sender*/) {
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    for (int i = 0; i < 3 * KeyCount; ++i) {
        const int n = names.FireKeyOf(KeyNameCache[i]);
        if (n == 0) continue;
        const std::string& code = KeyCodeStrings[i / KeyCount][i % KeyCount];
        const int count = settings::CodeByte(code, 1);
        Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue"))
            .SetChecked(count & settings::FireHoldBit);
        Named<controls::skin::TSkinComboBox>(shell::LayoutName("cb_Fire", n, "Count"))
            .SetItemIndex(count & 0x0F);
        Named<platform::vcl::TEdit>(shell::LayoutName("edt_Fire", n, "Time"))
            .SetText(platform::rtl::IntToStr(Interval(code)));
    }
}

void TForm1::TLRefreshAIMKey(platform::vcl::TObject* /*Sender*/) {
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    auto& aim = Named<controls::skin::TSkinComboBox>("cb_AIM");
    auto take = [&](int p, int k) {
        if (!names.IsAim(KeyNameCache[p * KeyCount + k])) return;
        AimCpiIndex = settings::CodeByte(KeyCodeStrings[p][k], 1);
        aim.SetItemIndex(AimCpiIndex);
    };
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < KeyCount; ++k)
            take(p, k);
    const int chosen = cb_Profile->ItemIndex();
    if (chosen >= 0 && chosen < 3)
        for (int k = 0; k < KeyCount; ++k)
            take(chosen, k);
}

void TForm1::TLRefreshLEDModeFun(platform::vcl::TObject* /*Sender*/) {
    RefreshKeyNameCache();
    auto& choice = Named<controls::skin::TSkinComboBox>("cb_ChangeLEDModeFun");
    choice.SetItemIndex(0);
    const std::string ledMode = device::CodeToFunctionName(*this, "0E000000");
    for (const std::string& name : KeyNameCache)
        if (!name.empty() && name == ledMode) choice.SetItemIndex(1);
    platform::vcl::TPngImage png;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_ComboKey1"),
                       shell::CheckMarkPicture(choice.ItemIndex() == 1), png);
}

void TForm1::TLRefreshFireFun(platform::vcl::TObject* /*Sender*/) {
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    cb_ChangeFireFun->SetItemIndex(0);
    std::array<bool, settings::GamingModeSwitchCount> carried{};
    bool gunKeysSwitch = false;
    for (int i = 0; i < 3 * KeyCount; ++i) {
        const std::string& name = KeyNameCache[i];
        if (name.empty()) continue;
        const int mask = settings::CodeByte(KeyCodeStrings[i / KeyCount][i % KeyCount], 3);
        for (int s = 0; s < settings::GamingModeSwitchCount; ++s) {
            const settings::GamingModeSwitch& gamingSwitch = settings::GamingModeSwitches[s];
            if (mask != gamingSwitch.mask || name != names.gamingSwitches[s]) continue;
            carried[s] = true;
            cb_ChangeFireFun->SetItemIndex(s + 1);
        }
        // A gun key that carries a mask switches the gaming mode as well.
        if (settings::IsFireScriptName(name) && mask != 0) gunKeysSwitch = true;
    }
    cb_IsGunFireMode->SetChecked(gunKeysSwitch);
    platform::vcl::TPngImage png;
    for (int s = 0; s < settings::GamingModeSwitchCount; ++s)
        shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_ComboKey", s + 2)),
                           shell::CheckMarkPicture(carried[s]), png);
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_ComboKey8"),
                       shell::CheckMarkPicture(gunKeysSwitch), png);
}

void TForm1::RefreshFireKey(platform::vcl::TObject* /*Sender*/) {
    if (!SharedPng)
        throw platform::rtl::Exception("RefreshFireKey needs the refresh's picture decoder");
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    const int profile = CurrentProfileOf(UserCopy);
    if (profile > 2) return;
    for (int k = 0; k < KeyCount; ++k) {
        const int n = names.FireKeyOf(KeyNameCache[profile * KeyCount + k]);
        if (n == 0) continue;
        const int count = settings::CodeByte(KeyCodeStrings[profile][k], 1);
        Named<platform::vcl::TEdit>(shell::LayoutName("Edt_Repeat", n))
            .SetText(platform::rtl::IntToStr((count & 0x0F) + 1));
        Named<platform::vcl::TEdit>(shell::LayoutName("Edt_DelayTime", n))
            .SetText(platform::rtl::IntToStr(Interval(KeyCodeStrings[profile][k])));
        const bool hold = count & settings::FireHoldBit;
        Named<controls::skin::TSkinCheckBox>(shell::LayoutName("cb_Fire", n, "Continue"))
            .SetChecked(hold);
        shell::LoadSkinPng(
            Named<platform::vcl::TImage>(shell::LayoutName("Img_Fire", n, "Continue")),
            shell::CheckMarkPicture(hold), *SharedPng);
    }
}

void TForm1::RefreshAIMKey(platform::vcl::TObject* /*Sender*/) {
    if (!SharedPng)
        throw platform::rtl::Exception("RefreshAIMKey needs the refresh's picture decoder");
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    const int profile = CurrentProfileOf(UserCopy);
    int level = -1;
    if (profile <= 2)
        for (int k = 0; k < KeyCount; ++k)
            if (names.IsAim(KeyNameCache[profile * KeyCount + k]))
                level = settings::CodeByte(KeyCodeStrings[profile][k], 1);
    AimLevelText = level >= 0 ? platform::rtl::IntToStr(level + 1) : "1";
    // The AIM key switches to a CPI level; the page shows that level's CPI value.
    const int shownLevel = std::max(level, 0);
    const int valueIndex = shownLevel < 8 ? CPILevelValueIndex[shownLevel] : 0;
    lbl_AIMDPIValue->SetCaption(
        valueIndex <= 11 ? device::DeviceText("Str" + std::to_string(300 + valueIndex)) : "");
    DrawCpiBar("Img_AIMDPI_", valueIndex, *SharedPng);
}

void TForm1::RefreshFireFun(platform::vcl::TObject* /*Sender*/) {
    RefreshKeyNameCache();
    const settings::KeyFunctionNames names(*this);
    std::string* masks[settings::ComboFunctionCount] = {&MidComboMask,     &BackComboMask,
                                                        &ForwardComboMask, &CpiComboMask,
                                                        &CpiUpComboMask,   &CpiDownComboMask};
    controls::skin::TSkinComboBox* combos[settings::ComboFunctionCount] = {
        cb_MidCom, cb_BackCom, cb_ForwardCom, cb_CPICom, cb_CPIICom, cb_CPIDCom};
    for (std::string* mask : masks)
        *mask = "00";
    for (int i = 0; i < 3 * KeyCount; ++i) {
        const int function = names.ComboFunctionOf(KeyNameCache[i]);
        if (function < 0) continue;
        const int mask = settings::CodeByte(KeyCodeStrings[i / KeyCount][i % KeyCount], 3);
        if (mask != 0x08 && mask != 0x02) continue;
        *masks[function] = mask == 0x08 ? "08" : "02";
        combos[function]->SetItemIndex(mask == 0x08 ? 4 : 2);
    }
}

} // namespace window
