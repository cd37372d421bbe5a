// The settings that live in the profile keys rather than in settings bytes of their own:
// the fire keys, the AIM key, the LED-mode switch, the fire scripts and the combination
// masks. Each refresher finds the keys that carry its function and shows what they hold.
#include "window/settings/KeySearch.h"
#include "window/shell/LayoutApply.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

#include "window/device/DeviceTexts.h"
#include "platform/rtl/SysUtils.h"

namespace shell {
namespace {

int CurrentProfileOf(const device::TUserSection& user) {
    return user[0] & 0x0F;
}

int Interval(const std::string& code) {
    return settings::CodeByte(code, 2) * 256 + settings::CodeByte(code, 3);
}

} // namespace

void TForm1::TLRefreshFireKey(vcl::TObject* /*Sender*/) {
    for (const auto& profile : KeyCodeStrings)
        for (const std::string& code : profile) {
            const int n = settings::FireKeyOfCode(code, FireKeyShots, FireKeyInterval);
            if (n == 0) continue;
            const int count = settings::CodeByte(code, 1);
            Named<controls::TSkinCheckBox>(LayoutName("cb_Fire", n, "Continue"))
                .SetChecked(count & settings::FireHoldBit);
            Named<controls::TSkinComboBox>(LayoutName("cb_Fire", n, "Count"))
                .SetItemIndex(count & 0x0F);
            Named<vcl::TEdit>(LayoutName("edt_Fire", n, "Time"))
                .SetText(vcl::IntToStr(Interval(code)));
        }
}

void TForm1::TLRefreshAIMKey(vcl::TObject* /*Sender*/) {
    auto& aim = Named<controls::TSkinComboBox>("cb_AIM");
    auto take = [&](const std::string& code) {
        if (!settings::IsAimCode(code)) return;
        AimCpiIndex = settings::CodeByte(code, 1);
        aim.SetItemIndex(AimCpiIndex);
    };
    for (const auto& profile : KeyCodeStrings)
        for (const std::string& code : profile)
            take(code);
    const int chosen = cb_Profile->ItemIndex();
    if (chosen >= 0 && chosen < 3)
        for (const std::string& code : KeyCodeStrings[chosen])
            take(code);
}

void TForm1::TLRefreshLEDModeFun(vcl::TObject* /*Sender*/) {
    auto& choice = Named<controls::TSkinComboBox>("cb_ChangeLEDModeFun");
    choice.SetItemIndex(0);
    for (const auto& profile : KeyCodeStrings)
        for (const std::string& code : profile)
            if (settings::IsLedModeSwitchCode(code)) choice.SetItemIndex(1);
    vcl::TPngImage png;
    LoadSkinPng(Named<vcl::TImage>("Img_ComboKey1"), choice.ItemIndex() == 1 ? "CbS_E" : "CbS_D",
                png);
}

void TForm1::TLRefreshFireFun(vcl::TObject* /*Sender*/) {
    bool scripts = false;
    for (const auto& profile : KeyCodeStrings)
        for (const std::string& code : profile)
            if (settings::FireScriptOfCode(code, FireScriptsLoaded == 1, FireScriptCodes) != 0)
                scripts = true;
    Named<controls::TSkinComboBox>("cb_ChangeFireFun").SetItemIndex(scripts ? 1 : 0);
    Named<controls::TSkinCheckBox>("cb_IsGunFireMode").SetChecked(scripts);
}

void TForm1::RefreshFireKey(vcl::TObject* /*Sender*/) {
    if (!SharedPng) throw vcl::Exception("RefreshFireKey needs the refresh's picture decoder");
    const int profile = CurrentProfileOf(UserCopy);
    if (profile > 2) return;
    for (const std::string& code : KeyCodeStrings[profile]) {
        const int n = settings::FireKeyOfCode(code, FireKeyShots, FireKeyInterval);
        if (n == 0) continue;
        const int count = settings::CodeByte(code, 1);
        Named<vcl::TEdit>(LayoutName("Edt_Repeat", n)).SetText(vcl::IntToStr((count & 0x0F) + 1));
        Named<vcl::TEdit>(LayoutName("Edt_DelayTime", n)).SetText(vcl::IntToStr(Interval(code)));
        const bool hold = count & settings::FireHoldBit;
        Named<controls::TSkinCheckBox>(LayoutName("cb_Fire", n, "Continue")).SetChecked(hold);
        LoadSkinPng(Named<vcl::TImage>(LayoutName("Img_Fire", n, "Continue")),
                    hold ? "CbS_E" : "CbS_D", *SharedPng);
    }
}

void TForm1::RefreshAIMKey(vcl::TObject* /*Sender*/) {
    if (!SharedPng) throw vcl::Exception("RefreshAIMKey needs the refresh's picture decoder");
    const int profile = CurrentProfileOf(UserCopy);
    int level = -1;
    if (profile <= 2)
        for (const std::string& code : KeyCodeStrings[profile])
            if (settings::IsAimCode(code)) level = settings::CodeByte(code, 1);
    AimLevelText = level >= 0 ? vcl::IntToStr(level + 1) : "1";
    // The AIM key switches to a CPI level; the page shows that level's CPI value.
    const int shownLevel = std::max(level, 0);
    const int valueIndex = shownLevel < 8 ? CPILevelValueIndex[shownLevel] : 0;
    lbl_AIMDPIValue->SetCaption(
        valueIndex <= 11 ? device::DeviceText("Str" + std::to_string(300 + valueIndex)) : "");
    DrawCpiBar("Img_AIMDPI_", valueIndex, *SharedPng);
}

void TForm1::RefreshFireFun(vcl::TObject* /*Sender*/) {
    std::string* masks[settings::ComboFunctionCount] = {&MidComboMask,     &BackComboMask,
                                                        &ForwardComboMask, &CpiComboMask,
                                                        &CpiUpComboMask,   &CpiDownComboMask};
    controls::TSkinComboBox* combos[settings::ComboFunctionCount] = {
        cb_MidCom, cb_BackCom, cb_ForwardCom, cb_CPICom, cb_CPIICom, cb_CPIDCom};
    for (std::string* mask : masks)
        *mask = "00";
    for (const auto& profile : KeyCodeStrings)
        for (const std::string& code : profile) {
            const int function = settings::ComboFunctionOfCode(code);
            if (function < 0) continue;
            const int mask = settings::CodeByte(code, 3);
            if (mask != 0x08 && mask != 0x02) continue;
            *masks[function] = mask == 0x08 ? "08" : "02";
            combos[function]->SetItemIndex(mask == 0x08 ? 4 : 2);
        }
}

} // namespace shell
