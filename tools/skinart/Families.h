#pragma once
// One drawing function per picture family of the skin. Each returns a finished picture
// of exactly the size the window expects for that family.
#include "Draw.h"

#include <QImage>
#include <QSize>

namespace skinart {

// Buttons with three pictures (normal, hover, pressed/current).
QImage DrawActionButton(QSize size, ButtonState state); // confirm/exit, macro buttons
QImage DrawNavButton(QSize size, ButtonState state);    // page, profile, language buttons
QImage DrawKeyButton(QSize size, ButtonState state);    // the twelve key captions
QImage DrawWebButton(QSize size, ButtonState state);    // the support link
QImage DrawCloseButton(QSize size, ButtonState state);
QImage DrawMinimiseButton(QSize size, ButtonState state);

// Pictures with two states: off (hollow) and on (filled with the accent).
QImage DrawCheckBox(QSize size, bool on);
QImage DrawRadioCell(QSize size, bool on);
QImage DrawStepBar(QSize size, bool on);

// Fire presets 1..7 (bursts of that many shots) and fire modes 1..5.
QImage DrawFirePreset(QSize size, int preset, bool selected);
QImage DrawFireMode(QSize size, int mode);

// The frame laid over a colour swatch; its centre is see-through.
QImage DrawColourFrame(QSize size);

// Page and window pictures.
struct WindowBackground {
    QImage image;
    QImage body; // Alpha8: 255 where the window is solid, 0 where it is see-through
};
WindowBackground DrawWindowBackground(QSize size);
QImage DrawKeyPage(QSize size);
QImage DrawPerformancePage(QSize size);
QImage DrawLightingPage(QSize size);
QImage DrawMacroPage(QSize size);
QImage DrawFirePage(QSize size);
QImage DrawUpdatePanel(QSize size);
enum class InsertKind { Delay, Key, Move };
QImage DrawInsertBase(QSize size, InsertKind kind);
QImage DrawMessageBackground(QSize size);

// The program's icon, square, `size` pixels wide (the window, the notification area and
// the desktop's menus show it).
QImage DrawProgramIcon(int size);

} // namespace skinart
