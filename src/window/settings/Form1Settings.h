#pragma once
#include "controls/skin/SkinCtrls.h"
#include "controls/unicode/WideCtrls.h"

#include <array>
#include <cstdint>
#include <string>
// The settings pages part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_SETTINGS(X)                                                              \
    X(controls::skin::TSkinEdit, Edt_Repeat1)                                                      \
    X(controls::skin::TSkinEdit, Edt_Repeat2)                                                      \
    X(controls::skin::TSkinEdit, Edt_Repeat3)                                                      \
    X(controls::skin::TSkinEdit, Edt_DelayTime1)                                                   \
    X(controls::skin::TSkinEdit, Edt_DelayTime2)                                                   \
    X(controls::skin::TSkinEdit, Edt_DelayTime3)                                                   \
    X(controls::skin::TSkinCheckBox, cb_IsControl)                                                 \
    X(platform::vcl::TImage, Img_IsControl)                                                        \
    X(controls::unicode::TWideLabel, lbl_ScrSpd)                                                   \
    X(controls::unicode::TWideLabel, lbl_AIMDPIValue)                                              \
    X(controls::skin::TSkinCheckBox, cb_FireSelLeft)                                               \
    X(platform::vcl::TListBox, LB_ScriptName)                                                      \
    X(controls::skin::TSkinEdit, Edt_FireCnt1)                                                     \
    X(controls::skin::TSkinEdit, Edt_FireTime1)                                                    \
    X(controls::skin::TSkinEdit, Edt_FireX1)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireX1Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireY1)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireY1Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireCnt2)                                                     \
    X(controls::skin::TSkinEdit, Edt_FireTime2)                                                    \
    X(controls::skin::TSkinEdit, Edt_FireX2)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireX2Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireY2)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireY2Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireCnt3)                                                     \
    X(controls::skin::TSkinEdit, Edt_FireTime3)                                                    \
    X(controls::skin::TSkinEdit, Edt_FireX3)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireX3Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireY3)                                                       \
    X(controls::skin::TSkinEdit, Edt_FireY3Offset)                                                 \
    X(controls::skin::TSkinEdit, Edt_FireDelay)                                                    \
    X(controls::skin::TSkinEdit, edt_FireRepeat)                                                   \
    X(controls::skin::TSkinEdit, edt_FireXAxisValue)                                               \
    X(controls::skin::TSkinEdit, edt_FireYAxisValue)                                               \
    X(controls::skin::TSkinEdit, Edt_InsertFireDelay)                                              \
    X(platform::vcl::TRadioButton, rb_DPI1)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI2)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI3)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI4)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI5)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI6)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI7)                                                        \
    X(platform::vcl::TRadioButton, rb_DPI8)                                                        \
    X(platform::vcl::TRadioButton, rb_Rep1)                                                        \
    X(platform::vcl::TRadioButton, rb_Rep2)                                                        \
    X(platform::vcl::TRadioButton, rb_Rep3)                                                        \
    X(platform::vcl::TRadioButton, rb_Rep4)                                                        \
    X(platform::vcl::TRadioButton, rb_LED1)                                                        \
    X(platform::vcl::TRadioButton, rb_LED2)                                                        \
    X(platform::vcl::TRadioButton, rb_LED3)                                                        \
    X(platform::vcl::TRadioButton, rb_LED4)                                                        \
    X(platform::vcl::TRadioButton, rb_LED5)                                                        \
    X(platform::vcl::TRadioButton, rb_LED6)                                                        \
    X(platform::vcl::TRadioButton, rb_Fire1)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire2)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire3)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire4)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire5)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire6)                                                       \
    X(platform::vcl::TRadioButton, rb_Fire7)                                                       \
    X(controls::skin::TSkinCheckBox, cb_IsGunFireMode)                                             \
    X(controls::skin::TSkinComboBox, cb_ChangeFireFun)                                             \
    X(controls::skin::TSkinCheckBox, cb_Fire1Continue)                                             \
    X(controls::skin::TSkinCheckBox, cb_Fire2Continue)                                             \
    X(controls::skin::TSkinCheckBox, cb_Fire3Continue)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_SETTINGS(X)                                                            \
    X(Notify, cb_CPIStepsChange)                                                                   \
    X(Notify, Edt_Repeat1Change)                                                                   \
    X(Notify, Edt_Repeat2Change)                                                                   \
    X(Notify, Edt_Repeat3Change)                                                                   \
    X(Notify, Edt_DelayTime1Change)                                                                \
    X(Notify, Edt_DelayTime2Change)                                                                \
    X(Notify, Edt_DelayTime3Change)                                                                \
    X(Notify, Edt_RepeatExit)                                                                      \
    X(KeyPress, Edt_FireKeyKeyPress)                                                               \
    X(Notify, CurrentDPI_OnClick)                                                                  \
    X(Notify, ShowPnlMain_OnClick)                                                                 \
    X(Notify, TLShowPnlMain_OnClick)                                                               \
    X(Notify, ShowKeySubMenu_OnClick)                                                              \
    X(Notify, KeyStatusOnClick)                                                                    \
    X(Notify, Key_FireMacroClick)                                                                  \
    X(Notify, Btn_FireModeClick)                                                                   \
    X(Notify, Btn_FireConfirmClick)                                                                \
    X(Notify, Btn_FireExitClick)                                                                   \
    X(Notify, lbl_FireSelLeftClick)                                                                \
    X(Notify, cb_FireSelLeftClick)                                                                 \
    X(Notify, lbl_Fire1ContinueClick)                                                              \
    X(Notify, lbl_Fire2ContinueClick)                                                              \
    X(Notify, lbl_Fire3ContinueClick)                                                              \
    X(Notify, IB_ComboKey8Click)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_SETTINGS                                                                \
    void RefreshMouseSystemParameterA(platform::vcl::TObject* Sender);                             \
    void RefreshMouseSystemParameterB(platform::vcl::TObject* Sender);                             \
    /* Searches of the profile keys by function (KeySearchRefresh.cpp). */                         \
    void TLRefreshFireKey(platform::vcl::TObject* Sender = nullptr);                               \
    void TLRefreshAIMKey(platform::vcl::TObject* Sender = nullptr);                                \
    void TLRefreshLEDModeFun(platform::vcl::TObject* Sender = nullptr);                            \
    void TLRefreshFireFun(platform::vcl::TObject* Sender = nullptr);                               \
    void RefreshFireKey(platform::vcl::TObject* Sender = nullptr);                                 \
    void RefreshAIMKey(platform::vcl::TObject* Sender = nullptr);                                  \
    void RefreshFireFun(platform::vcl::TObject* Sender = nullptr);                                 \
    /* The fire keys of the performance page (FireKeyEdits.cpp). */                                \
    void SettingFireKey(platform::vcl::TObject* Sender = nullptr);                                 \
    void FireRepeatChanged(controls::skin::TSkinEdit& edit);                                       \
    void FireDelayChanged(controls::skin::TSkinEdit& edit);                                        \
    /* A CPI-level bar of the performance page (CPISteps.cpp). */                                  \
    void DrawCpiBar(const std::string& prefix, int valueIndex, platform::vcl::TPngImage& png);     \
    /* The live user section into UserCopy; false (the copy kept) when it did not come. */         \
    bool RefreshProfileParameter(platform::vcl::TObject* Sender = nullptr);                        \
    /* Opens the key-function menu for key `number` of profile 0..2, or for combination-key  */    \
    /* record `number` with profile -1 (KeyMenu.cpp). */                                           \
    void OpenKeyMenu(platform::vcl::TControl& key, int profile, int number);                       \
    /* Puts a function's code into the key the menu was last opened for, shown with */             \
    /* `caption`; written to the mouse unless the form is being filled (KeyMenu.cpp). */           \
    void StoreKeyFunction(const std::string& code, const std::string& caption);                    \
    /* Key k (0..11) of profile p (0..2) takes `code`, in its copy and its code text. */           \
    void SetProfileKeyCode(int p, int k, const std::string& code);                                 \
    /* The fire page (FirePage.cpp). */                                                            \
    void LeaveFirePage();                                                                          \
    /* The combination mask the gun keys carry (FireKeyEdits.cpp). */                              \
    int GunKeyComboMask();                                                                         \
    /* Every key named after fire key 1..3 takes that key's shots, interval and hold. */           \
    void RewriteFireKeys();                                                                        \
    /* Fire key n (1..3): its shots and interval in the identity copy and in the names. */         \
    void SetFireKey(int n, int shots, int interval);                                               \
    /* The gun keys take the mask of combination switch 8 and are written. */                      \
    void RefreshComboKey8();                                                                       \
    void FireHoldLabelClicked(int n);

namespace window {
class TForm1;
}

namespace window::settings {
// Reads "Fire Macro.bin" of the program folder into the fire script lists.
void LoadFireMacroFile(window::TForm1& form);

// State the main window holds for this part.
struct Form1SettingsState {
    // The fire script file of the program folder.
    uint8_t FireScriptsLoaded = 0;
    std::array<std::string, 10> FireScriptCodes; // eight upper-case hexadecimal digits each
    // 1 while the program itself changes the fire-hold check boxes.
    uint8_t FireHoldSyncGuard = 0;
    // The CPI level the AIM key of the engineering page switches to, -1 before any.
    int AimCpiIndex = -1;
    // The key the key-function menu was last opened for: its label or button, its profile
    // (0..2, or -1 for a combination-key record) and its number (key 1..12 or record 1..9).
    platform::vcl::TControl* KeyMenuTarget = nullptr;
    int KeyMenuProfile = 0;
    int KeyMenuNumber = 0;
    // The page the fire page was opened from and returns to.
    platform::vcl::TGroupBox* PageBeforeFirePage = nullptr;
};
// FireHoldSyncGuard is 1 while the scope lasts, whether it ends normally or by an
// exception: the program itself is changing the fire-hold check boxes.
class FireHoldSyncScope {
public:
    explicit FireHoldSyncScope(Form1SettingsState& state) : state_(state) {
        state_.FireHoldSyncGuard = 1;
    }
    ~FireHoldSyncScope() { state_.FireHoldSyncGuard = 0; }
    FireHoldSyncScope(const FireHoldSyncScope&) = delete;
    FireHoldSyncScope& operator=(const FireHoldSyncScope&) = delete;

private:
    Form1SettingsState& state_;
};

} // namespace window::settings
