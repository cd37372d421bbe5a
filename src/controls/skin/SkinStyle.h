#pragma once
// How the skinned controls are drawn: one style for the whole program that paints the
// controls marked as skinned (flat fill, a one-pixel border, the skin's text colour) and
// leaves every other widget to the platform's style. Each skinned widget holds its
// colours in its palette, so a colour change is a palette change and nothing is
// re-polished.
#include <QColor>

class QWidget;

namespace controls::skin::detail {

// What a skinned widget is drawn as.
enum class SkinKind { None, Button, Edit, Combo, List, Check, Tabs };

// Marks `widget` as drawn in the skin as `kind`, and puts the skin's style in place for
// the program the first time.
void MarkSkinned(QWidget* widget, SkinKind kind);

// The colours of a skinned widget, read by the style from its palette.
struct SkinColors {
    QColor back;   // the fill
    QColor text;   // captions and texts
    QColor border; // the one-pixel frame
};

// Gives `widget` (marked as `kind`) its colours: sets the palette only when one of them
// changes.
void SetSkinColors(QWidget* widget, SkinKind kind, const SkinColors& colors);

} // namespace controls::skin::detail
