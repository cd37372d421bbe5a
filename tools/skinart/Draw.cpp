#include "Draw.h"

#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace skinart {

namespace {

void FillRounded(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& brush,
                 const QPen& pen) {
    painter.setBrush(brush);
    painter.setPen(pen);
    painter.drawRoundedRect(rect, radius, radius);
}

QLinearGradient Vertical(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// A short highlight along the top edge, inside the rounded corners.
void DrawTopSheen(QPainter& painter, const QRectF& rect, qreal radius, int alpha) {
    painter.setPen(QPen(White(alpha), 1.0));
    const qreal y = rect.top() + 1.0;
    painter.drawLine(QPointF(rect.left() + radius, y), QPointF(rect.right() - radius, y));
}

} // namespace

QImage NewCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void PrepareSmooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
}

QRectF PixelInset(const QRectF& rect, qreal inset) {
    return rect.adjusted(inset, inset, -inset, -inset);
}

void DrawButtonFace(QPainter& painter, const QRectF& rect, qreal radius, ButtonState state) {
    using namespace palette;
    const QRectF face = PixelInset(rect);
    switch (state) {
    case ButtonState::Normal:
        FillRounded(painter, face, radius, Vertical(face, Surface, Raised), QPen(LineLight, 1.0));
        DrawTopSheen(painter, face, radius, 16);
        break;
    case ButtonState::Hover:
        FillRounded(painter, face, radius, Vertical(face, SurfaceHover, SurfaceHoverLow),
                    QPen(Accent, 1.0));
        // A second, fainter ring inside the outline reads as a glow at small sizes.
        if (face.width() > 6 && face.height() > 6)
            FillRounded(painter, PixelInset(face, 1.0), qMax<qreal>(radius - 1, 0), Qt::NoBrush,
                        QPen(AccentAlpha(80), 1.0));
        DrawTopSheen(painter, face, radius, 22);
        break;
    case ButtonState::Pressed:
        FillRounded(painter, face, radius, Vertical(face, Accent, AccentDeep),
                    QPen(AccentBright, 1.0));
        DrawTopSheen(painter, face, radius, 48);
        break;
    }
}

void DrawCurrentPageFace(QPainter& painter, const QRectF& rect, qreal radius) {
    using namespace palette;
    const QRectF face = PixelInset(rect);
    FillRounded(painter, face, radius,
                Vertical(face, QColor(0x0E, 0x4A, 0x54), QColor(0x08, 0x2E, 0x35)),
                QPen(AccentBright, 1.0));
    FillRounded(painter, PixelInset(face, 1.0), qMax<qreal>(radius - 1, 0), Qt::NoBrush,
                QPen(AccentAlpha(110), 1.0));
    DrawTopSheen(painter, face, radius, 20);
}

QColor GlyphColour(ButtonState state) {
    switch (state) {
    case ButtonState::Normal:
        return palette::Ink;
    case ButtonState::Hover:
        return palette::AccentBright;
    case ButtonState::Pressed:
        return palette::Deep;
    }
    return palette::Ink;
}

void DrawPanelCard(QPainter& painter, const QRectF& rect, qreal radius) {
    const QRectF card = PixelInset(rect);
    FillRounded(painter, card, radius, Vertical(card, palette::Raised, palette::Base),
                QPen(palette::Line, 1.0));
    DrawTopSheen(painter, card, radius, 14);
}

void DrawGlowStroke(QPainter& painter, const QPainterPath& path, qreal width) {
    painter.setBrush(Qt::NoBrush);
    for (int ring = 3; ring >= 1; --ring) {
        QPen glow(palette::AccentAlpha(26), width + ring * 3.0);
        glow.setCapStyle(Qt::RoundCap);
        painter.setPen(glow);
        painter.drawPath(path);
    }
    QPen core(palette::Accent, width);
    core.setCapStyle(Qt::RoundCap);
    painter.setPen(core);
    painter.drawPath(path);
}

void DrawAccentHalo(QPainter& painter, const QPointF& centre, qreal radius, int alpha) {
    QRadialGradient halo(centre, radius);
    halo.setColorAt(0, palette::AccentAlpha(alpha));
    halo.setColorAt(1, palette::AccentAlpha(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(centre, radius, radius);
}

void DrawDotGrid(QPainter& painter, const QRectF& rect, qreal step, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (qreal y = rect.top() + step / 2; y < rect.bottom(); y += step)
        for (qreal x = rect.left() + step / 2; x < rect.right(); x += step)
            painter.drawEllipse(QPointF(x, y), 0.8, 0.8);
}

} // namespace skinart
