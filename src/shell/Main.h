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

// Fields filled from the design: X(class, name).
#define VTRM_FORM1_FIELDS(X)                                                                       \
    X(vcl::TGroupBox, gbPage1)                                                                     \
    X(vcl::TGroupBox, gbPage2)                                                                     \
    X(vcl::TGroupBox, gbPage3)                                                                     \
    X(vcl::TGroupBox, gbPage4)                                                                     \
    X(vcl::TGroupBox, gbPage5)                                                                     \
    X(vcl::TGroupBox, gbPage6)                                                                     \
    X(vcl::TGroupBox, gbPage7)

// Handlers the design binds by name: X(kind, name), kind one of Notify, Mouse,
// MouseMove, KeyPress, CloseQuery, Close (the signatures below).
#define VTRM_FORM1_HANDLERS(X)

#define VTRM_FORM1_SIGNATURE_Notify(name) void name(vcl::TObject* Sender)
#define VTRM_FORM1_SIGNATURE_Mouse(name)                                                           \
    void name(vcl::TObject* Sender, vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y)
#define VTRM_FORM1_SIGNATURE_MouseMove(name)                                                       \
    void name(vcl::TObject* Sender, vcl::TShiftState Shift, int X, int Y)
#define VTRM_FORM1_SIGNATURE_KeyPress(name) void name(vcl::TObject* Sender, char16_t& Key)
#define VTRM_FORM1_SIGNATURE_CloseQuery(name) void name(vcl::TObject* Sender, bool& CanClose)
#define VTRM_FORM1_SIGNATURE_Close(name) void name(vcl::TObject* Sender, vcl::TCloseAction& Action)

namespace vcl {
struct TFormBinding;
}

namespace shell {

class TForm1 : public vcl::TForm {
public:
    // Builds the window from its design; throws when the design does not fit the class.
    explicit TForm1(vcl::TComponent* owner);

#define VTRM_FORM1_FIELD(type, name) type* name = nullptr;
    VTRM_FORM1_FIELDS(VTRM_FORM1_FIELD)
#undef VTRM_FORM1_FIELD

#define VTRM_FORM1_HANDLER(kind, name) VTRM_FORM1_SIGNATURE_##kind(name);
    VTRM_FORM1_HANDLERS(VTRM_FORM1_HANDLER)
#undef VTRM_FORM1_HANDLER

private:
    vcl::TFormBinding Binding();
};

// The main window, once the program block has created it.
extern TForm1* Form1;

} // namespace shell
