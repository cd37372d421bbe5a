#pragma once
// The device handling part of the main window (class TForm1, shell/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_DEVICE(X) 

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_DEVICE(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_DEVICE

namespace device {
// State the main window holds for this part.
struct Form1DeviceState {};
} // namespace device
