#pragma once
// The device handling part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
#include "controls/skin/SkinCtrls.h"
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "device/DeviceMacroArea.h"
#include "device/Macros.h"
#include "platform/vcl/PngImage.h"
#include "window/device/KeyboardHook.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_DEVICE(X)                                                                \
    X(platform::vcl::TTimer, DevTimer)                                                             \
    X(platform::vcl::TLabel, Disable_All_1)                                                        \
    X(platform::vcl::TLabel, Disable_All_2)                                                        \
    X(platform::vcl::TLabel, Disable_All_3)                                                        \
    X(platform::vcl::TLabel, Disable_All_4)                                                        \
    X(platform::vcl::TLabel, Disable_All_4_1)                                                      \
    X(platform::vcl::TLabel, Disable_All_5)                                                        \
    X(controls::skin::TSkinEdit, edt_PatCodeCk)                                                    \
    X(controls::skin::TSkinEdit, edt_VendorID_Rd)                                                  \
    X(controls::skin::TSkinEdit, edt_ProductID_Rd)                                                 \
    X(device::TKeyboardHook, KeyboardHook1)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_DEVICE(X)                                                              \
    X(Notify, DevTimerTimer)                                                                       \
    X(Notify, Btn_Confirm1_0Click)                                                                 \
    X(Notify, Btn_Confirm2_0Click)                                                                 \
    X(Notify, Btn_Confirm3_0Click)                                                                 \
    X(Notify, ButtonTypeAMouseEnter)                                                               \
    X(Notify, ButtonTypeAMouseLeave)                                                               \
    X(Notify, Btn_Save_0Click)                                                                     \
    X(Notify, Btn_Load_0Click)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_DEVICE                                                                  \
    /* Arrival, removal and the configuration read (MainDevice.cpp). */                            \
    /* The three below and Btn_Read: true when the mouse was read whole. */                        \
    bool OpenDeviceByTable(bool reportLoss = true,                                                 \
                           const std::function<bool(const std::string&)>& accept = nullptr);       \
    void DeviceLost();                                                                             \
    void EnterLossState();                                                                         \
    void DeviceStoppedAnswering(const std::string& told = {});                                     \
    bool ReFindDev(bool reportLoss = true,                                                         \
                   const std::function<bool(const std::string&)>& accept = nullptr);               \
    bool ReadDevInfo(const std::string& opened = {});                                              \
    bool Btn_Read();                                                                               \
    /* Whether an identity block's manufacturer and product ids are a mouse this program */        \
    /* serves: the default image's pair or the [org] reserve pair. */                              \
    bool IdentityServed(int manufacturer, int product) const;                                      \
    void DataBufToUI();                                                                            \
    void ShowCurrentProfilePage();                                                                 \
    /* No-device state, overlays and reset (NoDevice.cpp). */                                      \
    void ShowDisableOverlays();                                                                    \
    void HideDisableOverlays();                                                                    \
    void InitNoDevice();                                                                           \
    void RefreshErrorAP(platform::vcl::TObject* Sender = nullptr);                                 \
    void ResetDeviceAndReFind();                                                                   \
    void WriteImageAndReFind();                                                                    \
    void GiveBackWithoutDevice();                                                                  \
    /* The configuration image on the window (FormImage.cpp). */                                   \
    ::device::DefaultsContext DefaultsFromWindow();                                                \
    void SplitLiveImage(bool showPatchCodeCheck = false);                                          \
    void CheckVendorSection();                                                                     \
    void CheckUserSection();                                                                       \
    void CheckProfile1Section();                                                                   \
    void CheckProfile2Section();                                                                   \
    void CheckProfile3Section();                                                                   \
    void ReadAndRefreshDeviceMacros();                                                             \
    void RefreshFireMacroName();                                                                   \
    void ClearMacroEditor();                                                                       \
    /* The PC macro library and the macro names (FormMacros.cpp). */                               \
    void CheckPCMacro(platform::vcl::TObject* Sender = nullptr);                                   \
    void RefreshPCMacroName();                                                                     \
    void RefreshMacroAddr();                                                                       \
    /* Button-function codes from the window's settings (Macros.cpp). */                           \
    void PackFireProfileParams();                                                                  \
    /* Key captions of the profiles and the key-name cache (KeyCaptions.cpp). */                   \
    void RefreshProfileKeys(int profile);                                                          \
    void RefreshProfile1Keys(platform::vcl::TObject* Sender = nullptr);                            \
    void RefreshProfile2Keys(platform::vcl::TObject* Sender = nullptr);                            \
    void RefreshProfile3Keys(platform::vcl::TObject* Sender = nullptr);                            \
    void TLRefreshProfileKeys(int profile);                                                        \
    void TLRefreshProfile1Keys(platform::vcl::TObject* Sender = nullptr);                          \
    void TLRefreshProfile2Keys(platform::vcl::TObject* Sender = nullptr);                          \
    void TLRefreshProfile3Keys(platform::vcl::TObject* Sender = nullptr);                          \
    void RefreshComboKeyCaptions();                                                                \
    void RefreshKeyNameCache();                                                                    \
    /* The whole configuration on every page (FormRefresh.cpp, UserPageRefresh.cpp). */            \
    void RefreshUI(platform::vcl::TObject* Sender = nullptr);                                      \
    void RefreshEngineeringPage();                                                                 \
    void RefreshUserPages(platform::vcl::TPngImage& png);                                          \
    /* Default restores from the confirm labels (ProfileWrites.cpp). */                            \
    void DefaultParameterConfirm1(platform::vcl::TObject* Sender);                                 \
    void DefaultParameterConfirm2(platform::vcl::TObject* Sender);                                 \
    void DefaultParameterConfirm3(platform::vcl::TObject* Sender);                                 \
    /* A whole image applied to the form and written to the mouse (ConfigFiles.cpp). */            \
    void MemoToDataBuf_OnClick(platform::vcl::TObject* Sender);                                    \
    /* Whether a whole image may go to the mouse: it carries the marker of a configuration */      \
    /* and an identity pair the identity check serves. When not, says why and is false. */         \
    bool ImageWritable(const uint8_t* image);                                                      \
    /* The live status the polling thread follows (ThreadGetData.cpp). */                          \
    void RefreshCurrentDPIStatus(platform::vcl::TObject* Sender = nullptr);                        \
    void RefreshCurrentProfileStatus(platform::vcl::TObject* Sender = nullptr);                    \
    /* The level marks for level 0..7; any other level marks none. */                              \
    void ShowCurrentDPILevel(int level);                                                           \
    /* The first page for profile 0..2; any other value changes nothing. */                        \
    void ShowCurrentProfile(int profile);

namespace window::device {

// State the main window holds for this part: the working copies of the checksummed
// sections and of the identity block, what the device handling derives from them, and
// what the key-function menu builds button-function codes from.
struct Form1DeviceState : ::device::TConfigCopies, ::device::TButtonCodeState {
    // "I2C" once the mouse answered the information command as one with an I2C memory;
    // empty at start and after a loss.
    std::string DetectedInterface;
    // Display state the whole-form refresh keeps; a device loss clears it.
    std::string LedType;
    int ReportRateHz = 0;
    uint8_t ReportRateChanged = 0;
    // The profile key records as eight upper-case hex digits, [profile 0..2][key 0..11],
    // and the nine combination-key records of the vendor section.
    std::array<std::array<std::string, ::device::image::ProfileKeyCount>, 3> KeyCodeStrings;
    std::array<std::string, ::device::image::ComboRecordCount> ComboCodeStrings;
    // Display names of the 36 profile keys, profile by profile; filled just before each
    // search for the keys carrying a function (RefreshKeyNameCache, or from the engineering
    // page's buttons), stale between searches. The device-macro addresses are matched
    // against it.
    std::array<std::string, 3 * ::device::image::ProfileKeyCount> KeyNameCache;
    // The device macros of DeviceMacroAreaCopy: start address and length per slot.
    ::device::TDeviceMacroList DeviceMacros;
    // Display state the whole-form refresh leaves for the setting handlers.
    int CPILevelCount = 8; // levels in use, 1..8
    int CPILastLevelIndex = 7;
    std::array<int, 8> CPILevelValueIndex{}; // CPI value index 0..11 shown per level
    int BreathStepLevel = 1;                 // lit cell of the breathing speed bar, 1..10
    int CurrentCPILevel = 0;
    // Shots per press and interval of fire keys 1..3, as the identity block or the
    // performance page's fire-key edits last gave them; fire-key codes are named by them.
    std::array<int, 3> FireKeyShots{};
    std::array<int, 3> FireKeyInterval{};
    // The picture decoder the user-page refresh shares with the refreshers it calls; set
    // only while that refresh runs.
    platform::vcl::TPngImage* SharedPng = nullptr;
    // Changes reported by the mouse's own buttons and not yet read back; only the polling
    // thread sets and clears them.
    uint8_t DpiChangedFlag1 = 0;
    uint8_t DpiChangedFlag2 = 0;
    uint8_t DpiChangedFlag3 = 0;
    uint8_t ProfileChangedFlag = 0;
};

} // namespace window::device
