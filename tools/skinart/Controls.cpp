// The small pictures: buttons of every family, check boxes, radio cells, step bars, the
// fire presets and modes, the colour-swatch frame.
#include "Families.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace skinart {

namespace {

constexpr qreal ActionRadius = 4;
constexpr qreal IconRadius = 4;
constexpr qreal KeyRadius = 4;
constexpr qreal WebRadius = 8;
constexpr qreal FireRadius = 6;

QPen GlyphPen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QLinearGradient AccentFill(const QRectF& rect) {
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, palette::AccentBright);
    fill.setColorAt(1, palette::Accent);
    return fill;
}

// A globe of meridians and parallels, the sign of a web link.
void DrawGlobe(QPainter& painter, const QPointF& centre, qreal radius, const QColor& colour) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(GlyphPen(colour, 1.5));
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.45, radius);
    painter.drawLine(QPointF(centre.x(), centre.y() - radius),
                     QPointF(centre.x(), centre.y() + radius));
    for (qreal f : {-0.5, 0.0, 0.5}) {
        const qreal y = centre.y() + f * radius;
        const qreal half = radius * std::sqrt(1 - f * f);
        painter.drawLine(QPointF(centre.x() - half, y), QPointF(centre.x() + half, y));
    }
}

// One shot of a fire preset: a bullet with a rounded nose, standing upright.
QPainterPath BulletPath(const QPointF& base, qreal width, qreal height) {
    const qreal half = width / 2;
    QPainterPath bullet;
    bullet.moveTo(base.x() - half, base.y());
    bullet.lineTo(base.x() - half, base.y() - height + width);
    bullet.cubicTo(base.x() - half, base.y() - height + half * 0.4, base.x() - half * 0.3,
                   base.y() - height, base.x(), base.y() - height);
    bullet.cubicTo(base.x() + half * 0.3, base.y() - height, base.x() + half,
                   base.y() - height + half * 0.4, base.x() + half, base.y() - height + width);
    bullet.lineTo(base.x() + half, base.y());
    bullet.closeSubpath();
    return bullet;
}

void DrawCrosshair(QPainter& painter, const QPointF& centre, qreal radius, const QColor& colour) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(GlyphPen(colour, 1.5));
    painter.drawEllipse(centre, radius, radius);
    const qreal in = radius * 0.55, out = radius * 1.35;
    painter.drawLine(centre + QPointF(0, -out), centre + QPointF(0, -in));
    painter.drawLine(centre + QPointF(0, out), centre + QPointF(0, in));
    painter.drawLine(centre + QPointF(-out, 0), centre + QPointF(-in, 0));
    painter.drawLine(centre + QPointF(out, 0), centre + QPointF(in, 0));
}

void DrawAccentDots(QPainter& painter, std::initializer_list<QPointF> dots, qreal radius) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::Accent);
    for (const QPointF& dot : dots)
        painter.drawEllipse(dot, radius, radius);
}

// An arrow running round a circle: the mode that repeats while the key is held.
void DrawRepeatArrow(QPainter& painter, const QPointF& centre, qreal radius) {
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(ring, 120);
    arc.arcTo(ring, 120, 290);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(GlyphPen(palette::Accent, 2.0));
    painter.drawPath(arc);
    const QPointF tip = arc.currentPosition();
    QPainterPath head;
    head.moveTo(tip + QPointF(-4.5, -1.5));
    head.lineTo(tip + QPointF(2.5, -3.5));
    head.lineTo(tip + QPointF(0.5, 3.5));
    head.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::Accent);
    painter.drawPath(head);
}

// A lightning bolt: the fastest, continuous fire.
void DrawBolt(QPainter& painter, const QPointF& centre) {
    QPainterPath bolt;
    bolt.moveTo(centre + QPointF(2, -11));
    bolt.lineTo(centre + QPointF(-6, 1.5));
    bolt.lineTo(centre + QPointF(-0.5, 1.5));
    bolt.lineTo(centre + QPointF(-2, 11));
    bolt.lineTo(centre + QPointF(6, -1.5));
    bolt.lineTo(centre + QPointF(0.5, -1.5));
    bolt.closeSubpath();
    painter.setPen(GlyphPen(palette::AccentBright, 1.0));
    painter.setBrush(palette::Accent);
    painter.drawPath(bolt);
}

} // namespace

QImage DrawActionButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    DrawButtonFace(painter, Bounds(image), ActionRadius, state);
    return image;
}

QImage DrawNavButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const qreal radius = size.height() / 2.0;
    if (state != ButtonState::Pressed) {
        DrawButtonFace(painter, Bounds(image), radius, state);
        return image;
    }
    DrawCurrentPageFace(painter, Bounds(image), radius);
    return image;
}

QImage DrawKeyButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    DrawButtonFace(painter, Bounds(image), KeyRadius, state);
    // A short bar at the left edge ties the caption to the mouse key it names.
    const qreal barHeight = size.height() * 0.5;
    const QRectF bar(5, (size.height() - barHeight) / 2, 3, barHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(state == ButtonState::Normal ? palette::InkDim : GlyphColour(state));
    painter.drawRoundedRect(bar, 1.5, 1.5);
    return image;
}

QImage DrawWebButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF whole = Bounds(image);
    DrawButtonFace(painter, whole, WebRadius, state);
    // A large, faint globe at the right, under whatever caption the label shows.
    painter.setClipRect(PixelInset(whole, 1.5));
    QColor globe = GlyphColour(state);
    globe.setAlpha(state == ButtonState::Pressed ? 110 : 70);
    const qreal radius = size.height() * 0.36;
    DrawGlobe(painter, QPointF(size.width() - radius - 10, size.height() / 2.0), radius, globe);
    return image;
}

QImage DrawCloseButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    DrawButtonFace(painter, Bounds(image), IconRadius, state);
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const qreal arm = size.width() * 0.19;
    painter.setPen(GlyphPen(GlyphColour(state), 1.6));
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
    return image;
}

QImage DrawMinimiseButton(QSize size, ButtonState state) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    DrawButtonFace(painter, Bounds(image), IconRadius, state);
    const qreal arm = size.width() * 0.22;
    const qreal y = size.height() * 0.64;
    painter.setPen(GlyphPen(GlyphColour(state), 1.6));
    painter.drawLine(QPointF(size.width() / 2.0 - arm, y), QPointF(size.width() / 2.0 + arm, y));
    return image;
}

QImage DrawCheckBox(QSize size, bool on) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF box = PixelInset(Bounds(image));
    if (!on) {
        painter.setPen(QPen(palette::LineLight, 1.0));
        painter.setBrush(palette::Deep);
        painter.drawRoundedRect(box, 3, 3);
        return image;
    }
    painter.setPen(QPen(palette::AccentBright, 1.0));
    painter.setBrush(AccentFill(box));
    painter.drawRoundedRect(box, 3, 3);
    const qreal w = size.width(), h = size.height();
    QPainterPath tick;
    tick.moveTo(w * 0.25, h * 0.53);
    tick.lineTo(w * 0.43, h * 0.71);
    tick.lineTo(w * 0.76, h * 0.31);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(GlyphPen(palette::Deep, 2.0));
    painter.drawPath(tick);
    return image;
}

QImage DrawRadioCell(QSize size, bool on) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF ring = PixelInset(Bounds(image));
    painter.setPen(QPen(on ? palette::Accent : palette::LineLight, 1.0));
    painter.setBrush(palette::Deep);
    painter.drawEllipse(ring);
    if (on) {
        const QRectF dot = PixelInset(ring, ring.width() * 0.25);
        painter.setPen(Qt::NoPen);
        painter.setBrush(AccentFill(dot));
        painter.drawEllipse(dot);
    }
    return image;
}

QImage DrawStepBar(QSize size, bool on) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    // Side margins leave a gap between neighbouring bars of a row.
    const QRectF bar = QRectF(2, 0, size.width() - 4, size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (on) {
        painter.setPen(QPen(palette::AccentBright, 1.0));
        painter.setBrush(AccentFill(bar));
    } else {
        painter.setPen(QPen(palette::Line, 1.0));
        painter.setBrush(palette::Deep);
    }
    painter.drawRoundedRect(bar, 2, 2);
    return image;
}

QImage DrawFirePreset(QSize size, int preset, bool selected) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    DrawButtonFace(painter, Bounds(image), FireRadius,
                   selected ? ButtonState::Pressed : ButtonState::Normal);
    // `preset` shots side by side; from two shots on they fan out a little, as a burst does.
    constexpr qreal bulletWidth = 7, bulletHeight = 22, pitch = 13;
    const qreal first = size.width() / 2.0 - (preset - 1) * pitch / 2;
    const qreal baseY = size.height() / 2.0 + bulletHeight / 2;
    const QColor colour = selected ? palette::Deep : palette::Ink;
    for (int shot = 0; shot < preset; ++shot) {
        const qreal spread = preset > 1 ? ((shot % 2) ? 3.0 : -3.0) : 0.0;
        QPainterPath bullet =
            BulletPath(QPointF(first + shot * pitch, baseY + spread), bulletWidth, bulletHeight);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPath(bullet);
    }
    return image;
}

QImage DrawFireMode(QSize size, int mode) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF badge = PixelInset(Bounds(image));
    painter.setPen(QPen(palette::LineLight, 1.0));
    painter.setBrush(palette::Surface);
    painter.drawEllipse(badge);
    const QPointF c = badge.center();
    switch (mode) {
    case 1: // single shot
        DrawCrosshair(painter, c, 9, palette::Ink);
        DrawAccentDots(painter, {c}, 2.5);
        break;
    case 2: // double
        DrawCrosshair(painter, c, 9, palette::Ink);
        DrawAccentDots(painter, {c + QPointF(0, -3.5), c + QPointF(0, 3.5)}, 2.2);
        break;
    case 3: // triple burst
        DrawCrosshair(painter, c, 9, palette::Ink);
        DrawAccentDots(painter, {c + QPointF(0, -4), c + QPointF(-3.6, 2.5), c + QPointF(3.6, 2.5)},
                       2.0);
        break;
    case 4: // repeats while held
        DrawRepeatArrow(painter, c, 10);
        break;
    default: // continuous
        DrawBolt(painter, c);
        break;
    }
    return image;
}

QImage DrawColourFrame(QSize size) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF outer = PixelInset(Bounds(image));
    // The window the swatch shows through, with a wider foot for the drop-down caret.
    const QRectF window(4, 4, size.width() - 8, size.height() - 14);
    QPainterPath frame;
    frame.addRoundedRect(outer, 4, 4);
    QPainterPath hole;
    hole.addRoundedRect(window, 2, 2);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0, palette::SurfaceHover);
    fill.setColorAt(1, palette::Raised);
    painter.setPen(QPen(palette::LineLight, 1.0));
    painter.setBrush(fill);
    painter.drawPath(frame.subtracted(hole));
    painter.setPen(QPen(palette::Deep, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(PixelInset(window, -0.5), 2.5, 2.5);
    const qreal caretY = size.height() - 6.5;
    QPainterPath caret;
    caret.moveTo(size.width() / 2.0 - 3.5, caretY - 1.5);
    caret.lineTo(size.width() / 2.0 + 3.5, caretY - 1.5);
    caret.lineTo(size.width() / 2.0, caretY + 2);
    caret.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::Accent);
    painter.drawPath(caret);
    return image;
}

} // namespace skinart
