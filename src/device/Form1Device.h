#pragma once
#include "controls/skin/SkinCtrls.h"
// The device handling part of the main window (class TForm1, shell/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_DEVICE(X)                                                                \
    X(vcl::TTimer, DevTimer)                                                                       \
    X(vcl::TLabel, Disable_All_1)                                                                  \
    X(vcl::TLabel, Disable_All_2)                                                                  \
    X(vcl::TLabel, Disable_All_3)                                                                  \
    X(vcl::TLabel, Disable_All_4)                                                                  \
    X(vcl::TLabel, Disable_All_4_1)                                                                \
    X(vcl::TLabel, Disable_All_5)                                                                  \
    X(controls::TSkinEdit, edt_PatCodeCk)                                                          \
    X(controls::TSkinEdit, edt_VendorID_Rd)                                                        \
    X(controls::TSkinEdit, edt_ProductID_Rd)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_DEVICE(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_DEVICE

namespace device {
// State the main window holds for this part.
struct Form1DeviceState {};
} // namespace device
