#include "window/device/FunctionCodes.h"

#include "window/Main.h"

namespace window::device {

std::string FunctionIdToCode(window::TForm1& form, int Id) {
    // Fire keys and the AIM level are converted for every id, before the packing, so a
    // bad text stops the call with the packed settings untouched.
    ::device::TFunctionCodeParts parts;
    for (int n = 1; n <= 3; ++n) {
        const std::string number = std::to_string(n);
        const std::string repeat =
            form.Named<controls::skin::TSkinEdit>("Edt_Repeat" + number).Text();
        const std::string delay =
            form.Named<controls::skin::TSkinEdit>("Edt_DelayTime" + number).Text();
        const bool hold =
            form.Named<controls::skin::TSkinCheckBox>("cb_Fire" + number + "Continue").Checked();
        parts.FireKeys[n - 1] =
            ::device::FireKeyCountByte(repeat, hold) + ::device::FireKeyInterval(delay);
    }
    parts.AimLevelByte = ::device::AimLevelByte(form.AimLevelText);

    form.PackFireProfileParams();

    // The fire-macro bodies are only reachable on a device with the I2C memory.
    if (form.DetectedInterface == "I2C") parts.FireMacroKey = ::device::FireMacroKeyCode();
    return ::device::ChooseFunctionCode(Id, form, parts);
}

} // namespace window::device

namespace window {

void TForm1::PackFireProfileParams() {
    ::device::TProfileSettingChoice choice;
    choice.LedModeItem = cb_LEDMode->ItemIndex();
    choice.ProfileColorItems = {cb_Profile1Color->ItemIndex(), cb_Profile2Color->ItemIndex(),
                                cb_Profile3Color->ItemIndex()};
    choice.RtzItem = cb_RTZ->ItemIndex();
    choice.AxyItem = cb_AXY->ItemIndex();
    choice.CcItem = cb_CC->ItemIndex();
    choice.ProfileOffset = edt_OffSet->Value();
    choice.MaskItems = {cb_MidCom->ItemIndex(), cb_BackCom->ItemIndex(), cb_ForwardCom->ItemIndex(),
                        cb_CPICom->ItemIndex(), cb_CPIICom->ItemIndex(), cb_CPIDCom->ItemIndex()};
    ::device::PackProfileSettings(choice, *this);
}

} // namespace window
