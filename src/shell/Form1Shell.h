#pragma once
// The window shell part of the main window (class TForm1, shell/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_SHELL(X) \
    X(vcl::TGroupBox, gbPage1)                                                                     \
    X(vcl::TGroupBox, gbPage2)                                                                     \
    X(vcl::TGroupBox, gbPage3)                                                                     \
    X(vcl::TGroupBox, gbPage4)                                                                     \
    X(vcl::TGroupBox, gbPage5)                                                                     \
    X(vcl::TGroupBox, gbPage6)                                                                     \
    X(vcl::TGroupBox, gbPage7)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_SHELL(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_SHELL

namespace shell {
// State the main window holds for this part.
struct Form1ShellState {};
} // namespace shell
