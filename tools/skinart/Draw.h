#pragma once
// Drawing pieces shared by the skin pictures: canvases, button faces, panel cards and
// accent glows, so every family draws with the same hand.
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace skinart {

// The three pictures of a button family: normal, under the mouse, pressed (or current).
enum class ButtonState { Normal, Hover, Pressed };

// A fully transparent canvas of the given size.
QImage NewCanvas(int width, int height);

// The rectangle a picture covers.
inline QRectF Bounds(const QImage& image) {
    return QRectF(0, 0, image.width(), image.height());
}

// White and black at a given opacity (0..255), for sheens and shadows.
inline QColor White(int alpha) {
    return QColor(255, 255, 255, alpha);
}
inline QColor Black(int alpha) {
    return QColor(0, 0, 0, alpha);
}

// Anti-aliased painting on a canvas.
void PrepareSmooth(QPainter& painter);

// A 1-pixel line that falls on whole pixels when drawn along a rectangle inset by 0.5.
QRectF PixelInset(const QRectF& rect, qreal inset = 0.5);

// The rounded face of a button in one of its three states.
void DrawButtonFace(QPainter& painter, const QRectF& rect, qreal radius, ButtonState state);
// The pressed face of a page button, which marks the current page: a deep teal face in a
// bright ring, dark enough for white and for cyan captions to read on it.
void DrawCurrentPageFace(QPainter& painter, const QRectF& rect, qreal radius);

// The colour of an icon drawn on a button face of the given state.
QColor GlyphColour(ButtonState state);

// A raised panel: soft vertical gradient, thin border, a faint highlight along the top.
void DrawPanelCard(QPainter& painter, const QRectF& rect, qreal radius);

// The accent stroked along a path with a soft glow around it.
void DrawGlowStroke(QPainter& painter, const QPainterPath& path, qreal width);

// A faint accent light spreading from a point (behind the mouse, behind icons).
void DrawAccentHalo(QPainter& painter, const QPointF& centre, qreal radius, int alpha);

// Faint dots on a regular grid inside a rectangle, the quiet texture of the pages.
void DrawDotGrid(QPainter& painter, const QRectF& rect, qreal step, const QColor& colour);

} // namespace skinart
