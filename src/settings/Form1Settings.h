#pragma once
// The settings pages part of the main window (class TForm1, shell/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_SETTINGS(X) 

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_SETTINGS(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_SETTINGS

namespace settings {
// State the main window holds for this part.
struct Form1SettingsState {};
} // namespace settings
