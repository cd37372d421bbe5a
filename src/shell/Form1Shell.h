#pragma once
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/skin/TrayIcon.h"
#include "controls/unicode/WideCtrls.h"
// The window shell part of the main window (class TForm1, shell/Main.h): the controls it uses
// by field, the handlers the form design binds, its other methods and its state.
// Controls used by field: X(class, name).
#define VTRM_FORM1_FIELDS_SHELL(X)                                                                 \
    X(vcl::TGroupBox, gbPage1)                                                                     \
    X(vcl::TGroupBox, gbPage2)                                                                     \
    X(vcl::TGroupBox, gbPage3)                                                                     \
    X(vcl::TGroupBox, gbPage4)                                                                     \
    X(vcl::TGroupBox, gbPage5)                                                                     \
    X(vcl::TGroupBox, gbPage6)                                                                     \
    X(vcl::TGroupBox, gbPage7)                                                                     \
    X(vcl::TImage, Img_P1)                                                                         \
    X(vcl::TImage, Img_P2)                                                                         \
    X(vcl::TImage, Img_P3)                                                                         \
    X(vcl::TImage, Img_P4)                                                                         \
    X(vcl::TImage, Img_P5)                                                                         \
    X(vcl::TImage, Img_P6)                                                                         \
    X(vcl::TImage, Img_Logo4)                                                                      \
    X(controls::TSkinPageControl, Pg_Parameter)                                                    \
    X(controls::TSkinTabSheet, ts_Gun)                                                             \
    X(controls::TSkinTabSheet, ts_Engineer)                                                        \
    X(controls::TSkinTabSheet, ts_Operator)                                                        \
    X(controls::TWideLabel, lbl_Content)                                                           \
    X(controls::TFramePanel, Pnl_Main)                                                             \
    X(controls::TFramePanel, Pnl_MseKey)                                                           \
    X(controls::TFramePanel, Pnl_Special)                                                          \
    X(controls::TFramePanel, Pnl_Media)                                                            \
    X(controls::TFramePanel, Pnl_WWW)                                                              \
    X(controls::TFramePanel, Pnl_MyPC)                                                             \
    X(controls::TFramePanel, Pnl_FireKey)                                                          \
    X(controls::TFramePanel, Pnl_CPIKey)                                                           \
    X(controls::TFramePanel, Pnl_ACPI)                                                             \
    X(controls::TFramePanel, Pnl_Profile)                                                          \
    X(controls::TSkinListBox, LB_Name)                                                             \
    X(controls::TSkinListBox, LB_Script)                                                           \
    X(controls::TFramePanel, Pnl_PCMacro)                                                          \
    X(controls::TFramePanel, Pnl_DevMacro)                                                         \
    X(controls::TFramePanel, Pnl_DevContent)                                                       \
    X(controls::TFramePanel, Pnl_DevFireMacro)                                                     \
    X(controls::TFramePanel, Pnl_DevFireContent)                                                   \
    X(controls::TFramePanel, Pnl_AdjustXY)                                                         \
    X(vcl::TRadioButton, rb_1)                                                                     \
    X(vcl::TRadioButton, rb_2)                                                                     \
    X(vcl::TRadioButton, rb_3)                                                                     \
    X(vcl::TRadioButton, rb_4)                                                                     \
    X(vcl::TRadioButton, rb_5)                                                                     \
    X(vcl::TRadioButton, rb_6)                                                                     \
    X(vcl::TRadioButton, rb_7)                                                                     \
    X(vcl::TRadioButton, rb_8)                                                                     \
    X(vcl::TRadioButton, rb_Lang1)                                                                 \
    X(vcl::TRadioButton, rb_Lang2)                                                                 \
    X(vcl::TRadioButton, rb_Lang3)                                                                 \
    X(vcl::TTimer, LabelRun)                                                                       \
    X(controls::TTrayIcon, TrayIcon1)                                                              \
    X(vcl::TOpenDialog, OpenDialog1)                                                               \
    X(vcl::TSaveDialog, SaveDialog1)

// Handlers bound by the form design: X(kind, name).
#define VTRM_FORM1_HANDLERS_SHELL(X)

// Other methods of TForm1 (declarations inside the class).
#define VTRM_FORM1_METHODS_SHELL

namespace shell {
// State the main window holds for this part.
struct Form1ShellState {};
} // namespace shell
