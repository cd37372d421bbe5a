#pragma once
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/unicode/WideCtrls.h"

#include <cstdint>
// The macro part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_MACROS(X)                                                                \
    X(controls::TWideListBox, LB_PCMacroName)                                                      \
    X(controls::TWideListBox, LB_MacroName)                                                        \
    X(controls::TWideListBox, LB_macro)                                                            \
    X(controls::TWideListBox, LB_FireMacroName)                                                    \
    X(controls::TWideListBox, LB_FireMacro)                                                        \
    X(vcl::TMemo, mmo_macro)                                                                       \
    X(vcl::TMemo, mmo_wrscript)                                                                    \
    X(controls::TFrameGroupBox, Gb_Delay)                                                          \
    X(controls::TFrameGroupBox, Gb_Insert)                                                         \
    X(vcl::TImage, Img_InsertBase)                                                                 \
    X(controls::TSkinEdit, Edt_Delay)                                                              \
    X(controls::TSkinEdit, Edt_InsertDelay)                                                        \
    X(controls::TSkinEdit, edt_Repeat)                                                             \
    X(controls::TSkinEdit, edt_XAxisValue)                                                         \
    X(controls::TSkinEdit, edt_YAxisValue)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_MACROS(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_MACROS

namespace macros {
// State the main window holds for this part.
struct Form1MacrosState {
    // 1 while the macro editor's insert panel is open; it then stands in for the delay panel.
    uint8_t MacroInsertMode = 0;
};
} // namespace macros
