// The program's icon: a mouse seen from above, its wheel and palm strip lit in the
// accent, on a dark rounded tile. Drawn on a 256-unit grid and scaled, with the fine
// detail left out where the picture is too small to show it.
#include "Families.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skinart {

namespace {

constexpr qreal Grid = 256;

QPainterPath MouseBody() {
    QPainterPath right;
    right.moveTo(128, 40);
    right.cubicTo(160, 40, 184, 58, 186, 98);
    right.cubicTo(190, 140, 192, 178, 184, 200);
    right.cubicTo(174, 224, 150, 232, 128, 232);
    const QPainterPath left = QTransform(-1, 0, 0, 1, Grid, 0).map(right);
    QPainterPath body = right;
    body.connectPath(left.toReversed());
    body.closeSubpath();
    return body;
}

} // namespace

QImage DrawProgramIcon(int size) {
    using namespace palette;
    QImage image = NewCanvas(size, size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    painter.scale(size / Grid, size / Grid);
    const bool small = size < 32;

    // The tile.
    const QRectF tile(8, 8, 240, 240);
    QLinearGradient ground(tile.topLeft(), tile.bottomLeft());
    ground.setColorAt(0, Raised);
    ground.setColorAt(1, Deep);
    painter.setBrush(ground);
    painter.setPen(QPen(small ? Accent : LineLight, small ? 12.0 : 4.0));
    painter.drawRoundedRect(tile, 52, 52);
    if (!small) DrawAccentHalo(painter, QPointF(128, 120), 118, 70);

    // The mouse.
    const QPainterPath body = MouseBody();
    QLinearGradient shell(QPointF(70, 40), QPointF(186, 232));
    shell.setColorAt(0, QColor(0x50, 0x57, 0x62));
    shell.setColorAt(1, QColor(0x22, 0x26, 0x2C));
    painter.setBrush(shell);
    painter.setPen(QPen(small ? Ink : LineLight, small ? 10.0 : 4.0));
    painter.drawPath(body);

    // The parting line of the two buttons and the line between them.
    painter.setPen(QPen(small ? Ink : Line, small ? 10.0 : 5.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath parting;
    parting.moveTo(72, 118);
    parting.quadTo(128, 146, 184, 118);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(parting);
    if (!small) painter.drawLine(QPointF(128, 42), QPointF(128, 70));

    // The wheel.
    const QRectF wheel(116, 66, 24, 52);
    painter.setPen(Qt::NoPen);
    painter.setBrush(AccentBright);
    painter.drawRoundedRect(wheel, 12, 12);

    // The light strip across the palm.
    QPainterPath strip;
    strip.moveTo(92, 196);
    strip.quadTo(128, 214, 164, 196);
    if (small) {
        QPen pen(Accent, 14.0);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(strip);
    } else {
        DrawGlowStroke(painter, strip, 7.0);
    }
    return image;
}

} // namespace skinart
