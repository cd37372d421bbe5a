#pragma once
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/unicode/WideCtrls.h"

#include <cstdint>
// The macro part of the main window (class TForm1, window/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_MACROS(X)                                                                \
    X(controls::unicode::TWideListBox, LB_PCMacroName)                                             \
    X(controls::unicode::TWideListBox, LB_MacroName)                                               \
    X(controls::unicode::TWideListBox, LB_macro)                                                   \
    X(controls::unicode::TWideListBox, LB_FireMacroName)                                           \
    X(controls::unicode::TWideListBox, LB_FireMacro)                                               \
    X(platform::vcl::TMemo, mmo_macro)                                                             \
    X(platform::vcl::TMemo, mmo_wrscript)                                                          \
    X(controls::skin::TFrameGroupBox, Gb_Delay)                                                    \
    X(controls::skin::TFrameGroupBox, Gb_Insert)                                                   \
    X(platform::vcl::TImage, Img_InsertBase)                                                       \
    X(controls::skin::TSkinEdit, Edt_Delay)                                                        \
    X(controls::skin::TSkinEdit, Edt_InsertDelay)                                                  \
    X(controls::skin::TSkinEdit, edt_Repeat)                                                       \
    X(controls::skin::TSkinEdit, edt_XAxisValue)                                                   \
    X(controls::skin::TSkinEdit, edt_YAxisValue)                                                   \
    X(controls::unicode::TWideLabel, Btn_Start)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_MACROS(X)                                                              \
    X(Notify, Btn_StartClick)                                                                      \
    X(KeyReceive, KeyboardHook1Receive)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_MACROS

namespace window::macros {
// State the main window holds for this part.
struct Form1MacrosState {
    // 1 while the macro editor's insert panel is open; it then stands in for the delay panel.
    uint8_t MacroInsertMode = 0;
    // 1 while keys are being recorded; the keyboard capture reports them only then.
    uint8_t MacroRecording = 0;
    // The macro editor's recording and dialog flags: recording into the insert panel, what
    // the name dialog is asked for (a new macro, a new name, a fire macro's name) and the
    // macro list being chosen from. Every start clears them.
    uint8_t InsertRecordingFlag = 0;
    uint8_t NewMacroNameFlag = 0;
    uint8_t RenameMacroFlag = 0;
    uint8_t FireMacroNameFlag = 0;
    uint8_t MacroListFlag = 0;
};
} // namespace window::macros
