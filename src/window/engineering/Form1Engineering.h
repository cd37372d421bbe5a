#pragma once
#include "controls/skin/SkinCtrls.h"

#include <cstdint>
#include <vector>
// The engineering page part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_ENGINEERING(X)                                                           \
    X(controls::skin::TSkinComboBox, cb_Package)                                                   \
    X(controls::skin::TSkinComboBox, cb_LEDMode)                                                   \
    X(controls::skin::TSkinComboBox, cb_KbdType)                                                   \
    X(controls::skin::TSkinComboBox, cb_Profile)                                                   \
    X(controls::skin::TSkinComboBox, cb_ProfileColor)                                              \
    X(controls::skin::TSkinComboBox, cb_BtnEFT)                                                    \
    X(controls::skin::TSkinComboBox, cb_Profile1Color)                                             \
    X(controls::skin::TSkinComboBox, cb_Profile2Color)                                             \
    X(controls::skin::TSkinComboBox, cb_Profile3Color)                                             \
    X(controls::skin::TSkinComboBox, cb_RTZ)                                                       \
    X(controls::skin::TSkinComboBox, cb_AXY)                                                       \
    X(controls::skin::TSkinComboBox, cb_CC)                                                        \
    X(controls::skin::TSkinComboBox, cb_MidCom)                                                    \
    X(controls::skin::TSkinComboBox, cb_BackCom)                                                   \
    X(controls::skin::TSkinComboBox, cb_ForwardCom)                                                \
    X(controls::skin::TSkinComboBox, cb_CPICom)                                                    \
    X(controls::skin::TSkinComboBox, cb_CPIICom)                                                   \
    X(controls::skin::TSkinComboBox, cb_CPIDCom)                                                   \
    X(controls::skin::THexEdit, edt_OffSet)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_ENGINEERING(X)                                                         \
    X(Notify, edt_Avg_lb_lqChange)                                                                 \
    X(Notify, edt_Col1RChange)                                                                     \
    X(Notify, edt_LowerChange)                                                                     \
    X(Notify, edt_StepTimeChange)                                                                  \
    X(Notify, TLRefreshXOffset)                                                                    \
    X(Notify, TLRefreshYOffset)                                                                    \
    X(Notify, TLRefreshBreathMode)                                                                 \
    X(Notify, cb_Fire1ContinueClick)                                                               \
    X(Notify, cb_Fire2ContinueClick)                                                               \
    X(Notify, cb_Fire3ContinueClick)                                                               \
    X(Notify, TLDefaultParameter)                                                                  \
    X(Notify, Btn_LoadBINClick)                                                                    \
    X(Notify, Btn_ProgramClick)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_ENGINEERING                                                             \
    /* What the LED type shows on the engineering page (LedTypeRefresh.cpp). */                    \
    void TLRefreshBasicLEDKeyStatus(platform::vcl::TObject* Sender = nullptr);                     \
    void TLRefreshRGBLEDKeyStatus(platform::vcl::TObject* Sender = nullptr);                       \
    void TLRefreshLEDTypeMode(platform::vcl::TObject* Sender = nullptr);                           \
    void TLRefreshBreathParameter(platform::vcl::TObject* Sender = nullptr);                       \
    void FireContinueClicked(int n);                                                               \
    /* The engineering fire keys into the identity block and the keys (FireKeys.cpp). */           \
    void TLSettingFireKey(platform::vcl::TObject* Sender = nullptr);

namespace window::engineering {
// State the main window holds for this part.
struct Form1EngineeringState {
    // 1 once a firmware file has been chosen on the update page.
    uint8_t FirmwareFileLoaded = 0;
    // The bytes of that file, as read.
    std::vector<uint8_t> FirmwareFile;
};
} // namespace window::engineering
