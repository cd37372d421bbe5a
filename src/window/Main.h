#pragma once
// The main window. Its controls come from the form design FORM1 (resources/form/);
// methods are defined in the folders of the subsystems that own them.
//
// Adding a control: one block in the design, and - when code uses the control by its
// field - one line in VTRM_FORM1_FIELDS. Adding a handler: one line in
// VTRM_FORM1_HANDLERS (which declares the method and binds it by name), the method's
// definition in its subsystem's .cpp, and the handler name in the design.
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <vector>

// Each subsystem lists its own part of the main window in its own header: the controls
// it uses by field, the handlers the design binds by name, its other methods and its
// state. This header joins them into one class.
#include "window/device/Form1Device.h"
#include "window/engineering/Form1Engineering.h"
#include "window/macros/Form1Macros.h"
#include "window/settings/Form1Settings.h"
#include "window/shell/Form1Shell.h"

// Fields filled from the design: X(class, name).
#define VTRM_FORM1_FIELDS(X)                                                                       \
    VTRM_FORM1_FIELDS_SHELL(X)                                                                     \
    VTRM_FORM1_FIELDS_DEVICE(X)                                                                    \
    VTRM_FORM1_FIELDS_SETTINGS(X)                                                                  \
    VTRM_FORM1_FIELDS_MACROS(X)                                                                    \
    VTRM_FORM1_FIELDS_ENGINEERING(X)

// Handlers the design binds by name: X(kind, name), kind one of Notify, Mouse,
// MouseMove, KeyPress, KeyReceive, CloseQuery, Close (the signatures below).
#define VTRM_FORM1_HANDLERS(X)                                                                     \
    VTRM_FORM1_HANDLERS_SHELL(X)                                                                   \
    VTRM_FORM1_HANDLERS_DEVICE(X)                                                                  \
    VTRM_FORM1_HANDLERS_SETTINGS(X)                                                                \
    VTRM_FORM1_HANDLERS_MACROS(X)                                                                  \
    VTRM_FORM1_HANDLERS_ENGINEERING(X)

#define VTRM_FORM1_SIGNATURE_Notify(name) void name(platform::vcl::TObject* Sender)
#define VTRM_FORM1_SIGNATURE_Mouse(name)                                                           \
    void name(platform::vcl::TObject* Sender, platform::vcl::TMouseButton Button,                  \
              platform::vcl::TShiftState Shift, int X, int Y)
#define VTRM_FORM1_SIGNATURE_MouseMove(name)                                                       \
    void name(platform::vcl::TObject* Sender, platform::vcl::TShiftState Shift, int X, int Y)
#define VTRM_FORM1_SIGNATURE_KeyPress(name) void name(platform::vcl::TObject* Sender, char16_t& Key)
#define VTRM_FORM1_SIGNATURE_KeyReceive(name)                                                      \
    void name(platform::vcl::TObject* Sender, uint16_t Key,                                        \
              device::TKeyboardHookState ButtonState, int32_t ButtonRepeatCount)
#define VTRM_FORM1_SIGNATURE_CloseQuery(name)                                                      \
    void name(platform::vcl::TObject* Sender, bool& CanClose)
#define VTRM_FORM1_SIGNATURE_Close(name)                                                           \
    void name(platform::vcl::TObject* Sender, platform::vcl::TCloseAction& Action)

namespace platform::vcl {
struct TFormBinding;
}

namespace window {

class TForm1 : public platform::vcl::TForm,
               public shell::Form1ShellState,
               public device::Form1DeviceState,
               public settings::Form1SettingsState,
               public macros::Form1MacrosState,
               public engineering::Form1EngineeringState {
public:
    // Builds the window from its design; throws when the design does not fit the class.
    explicit TForm1(platform::vcl::TComponent* owner);
    // Stops the polling thread serving this window while the window is still whole.
    ~TForm1() override;

#define VTRM_FORM1_FIELD(type, name) type* name = nullptr;
    VTRM_FORM1_FIELDS(VTRM_FORM1_FIELD)
#undef VTRM_FORM1_FIELD

#define VTRM_FORM1_HANDLER(kind, name) VTRM_FORM1_SIGNATURE_##kind(name);
    VTRM_FORM1_HANDLERS(VTRM_FORM1_HANDLER)
#undef VTRM_FORM1_HANDLER

    // Methods that no design binds, each subsystem's in its own list.
    VTRM_FORM1_METHODS_SHELL
    VTRM_FORM1_METHODS_DEVICE
    VTRM_FORM1_METHODS_SETTINGS
    VTRM_FORM1_METHODS_MACROS
    VTRM_FORM1_METHODS_ENGINEERING

private:
    platform::vcl::TFormBinding Binding();
};

// The main window, once the program block has created it.
extern TForm1* Form1;

} // namespace window
