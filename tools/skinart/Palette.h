#pragma once
// The one palette of the skin: a graphite window with a single cyan accent. Every
// picture takes its colours from here, so the look changes in one place.
#include <QColor>

namespace skinart::palette {

// The colour key of the shaped window: only the see-through parts of the window
// backgrounds may use it, nothing else anywhere.
inline const QColor Maroon(128, 0, 0);

// Window and panel surfaces, darkest first.
inline const QColor Deep(0x17, 0x1A, 0x1E);
inline const QColor Base(0x1E, 0x21, 0x26);
inline const QColor Raised(0x25, 0x29, 0x2F);
inline const QColor Surface(0x2B, 0x2F, 0x36);
inline const QColor SurfaceHover(0x3A, 0x40, 0x4A);
inline const QColor SurfaceHoverLow(0x31, 0x36, 0x3E);

// Thin borders and quiet marks.
inline const QColor Line(0x3A, 0x40, 0x4A);
inline const QColor LineLight(0x62, 0x6A, 0x76);
inline const QColor Ink(0xC9, 0xD1, 0xD9);
inline const QColor InkDim(0x7D, 0x86, 0x92);

// The accent, in three strengths.
inline const QColor Accent(0x19, 0xB4, 0xC8);
inline const QColor AccentBright(0x5F, 0xDC, 0xEB);
inline const QColor AccentDeep(0x0C, 0x74, 0x82);

// The accent at a given opacity (0..255), for glows and faint marks.
inline QColor AccentAlpha(int alpha) {
    QColor c = Accent;
    c.setAlpha(alpha);
    return c;
}

} // namespace skinart::palette
