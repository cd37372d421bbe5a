// The large pictures: the shaped window background, the page panels (the key page with
// its mouse), the update panel, the insert panels and the dialog background.
#include "Families.h"
#include "Palette.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

namespace skinart {

namespace {

// Window geometry: the header band holds the title and the navigation rows, the content
// well below it holds the page panels.
constexpr qreal WindowRadius = 14;
constexpr qreal HeaderHeight = 96;
constexpr qreal ContentMargin = 16;
constexpr qreal ContentTop = HeaderHeight + 14;
constexpr qreal PanelRadius = 10;

// A horizontal line of light, brightest in the middle and fading out at both ends.
void DrawLightLine(QPainter& painter, qreal left, qreal right, qreal y, int alpha) {
    QLinearGradient light(QPointF(left, y), QPointF(right, y));
    light.setColorAt(0, palette::AccentAlpha(0));
    light.setColorAt(0.5, palette::AccentAlpha(alpha));
    light.setColorAt(1, palette::AccentAlpha(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawRect(QRectF(left, y, right - left, 1));
    // Below the line, a soft elliptical glow that fades out in every direction.
    constexpr qreal depth = 14;
    QRadialGradient glow(QPointF(0, 0), 1.0);
    glow.setColorAt(0, palette::AccentAlpha(alpha / 5));
    glow.setColorAt(1, palette::AccentAlpha(0));
    QBrush glowBrush(glow);
    glowBrush.setTransform(
        QTransform::fromTranslate((left + right) / 2, y + 1).scale((right - left) * 0.35, depth));
    painter.setBrush(glowBrush);
    painter.drawRect(QRectF(left, y + 1, right - left, depth));
}

// Small right-angle marks in the four corners of a panel.
void DrawCornerBrackets(QPainter& painter, const QRectF& rect, qreal inset, qreal arm) {
    const QRectF r = rect.adjusted(inset, inset, -inset, -inset);
    QPen pen(palette::AccentAlpha(150), 1.5);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    const QPointF dirs[4] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
        const QPointF c = corners[i];
        painter.drawLine(c, c + QPointF(dirs[i].x() * arm, 0));
        painter.drawLine(c, c + QPointF(0, dirs[i].y() * arm));
    }
}

// A hexagon badge: the program's mark in the title corner.
void DrawMark(QPainter& painter, const QPointF& centre, qreal radius) {
    QPainterPath hexagon;
    for (int i = 0; i < 6; ++i) {
        const QPointF p = centre + QTransform().rotate(60 * i + 30).map(QPointF(radius, 0));
        if (i == 0)
            hexagon.moveTo(p);
        else
            hexagon.lineTo(p);
    }
    hexagon.closeSubpath();
    DrawGlowStroke(painter, hexagon, 1.6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::Accent);
    painter.drawEllipse(centre, radius * 0.28, radius * 0.28);
}

// A panel of a page: a raised card, faint dots, brackets in its corners.
QImage NewPagePanel(QSize size) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF whole = Bounds(image);
    DrawPanelCard(painter, whole, PanelRadius);
    DrawDotGrid(painter, whole.adjusted(8, 8, -8, -8), 24, White(10));
    DrawCornerBrackets(painter, whole, 8, 14);
    return image;
}

// A large, very faint sign in a panel's lower right corner that tells the pages apart.
QPen WatermarkPen(qreal width) {
    QPen pen(palette::AccentAlpha(34), width);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// The mouse of the key page, seen from above, built from its parts.
struct MouseShape {
    QPointF centre; // centre of the top edge's x and of the whole height's span
    qreal top, bottom;

    QTransform Mirror() const { return QTransform(-1, 0, 0, 1, 2 * centre.x(), 0); }

    QPainterPath Body() const {
        const qreal cx = centre.x();
        QPainterPath right;
        right.moveTo(cx, top);
        right.cubicTo(cx + 45, top, cx + 70, top + 20, cx + 72, top + 70);
        right.cubicTo(cx + 76, top + 130, cx + 92, top + 180, cx + 90, top + 235);
        right.cubicTo(cx + 88, bottom - 27, cx + 50, bottom, cx, bottom);
        QPainterPath body = right;
        body.connectPath(Mirror().map(right).toReversed());
        body.closeSubpath();
        return body;
    }

    // The two main buttons: the front of the body down to a curved parting line, split
    // in the middle and cut back around the wheel and the resolution button.
    std::pair<QPainterPath, QPainterPath> MainButtons() const {
        const qreal cx = centre.x();
        QPainterPath front;
        front.moveTo(cx - 120, top - 10);
        front.lineTo(cx + 120, top - 10);
        front.lineTo(cx + 120, top + 110);
        front.quadTo(cx, top + 160, cx - 120, top + 110);
        front.closeSubpath();
        QPainterPath well;
        well.addRoundedRect(QRectF(cx - 13, top + 28, 26, 96), 13, 13);
        const QPainterPath zone = Body().intersected(front).subtracted(well);
        QPainterPath leftHalf, rightHalf;
        leftHalf.addRect(QRectF(cx - 200, top - 20, 198, 400));
        rightHalf.addRect(QRectF(cx + 2, top - 20, 198, 400));
        return {zone.intersected(leftHalf), zone.intersected(rightHalf)};
    }

    QRectF Wheel() const { return QRectF(centre.x() - 9, top + 34, 18, 50); }
    QRectF ResolutionButton() const { return QRectF(centre.x() - 6, top + 94, 12, 22); }
    QRectF SideButton(int n) const { return QRectF(centre.x() - 94, top + 146 + n * 36, 12, 31); }
};

void FillPart(QPainter& painter, const QPainterPath& part, const QColor& top, const QColor& bottom,
              const QColor& outline) {
    const QRectF box = part.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter.setBrush(fill);
    painter.setPen(QPen(outline, 1.2));
    painter.drawPath(part);
}

void DrawMouse(QPainter& painter, const MouseShape& mouse) {
    using namespace palette;
    const qreal cx = mouse.centre.x();
    // Shadow on the desk.
    QRadialGradient shadow(QPointF(cx, mouse.bottom - 6), 110);
    shadow.setColorAt(0, Black(120));
    shadow.setColorAt(1, Black(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(cx, mouse.bottom - 6), 110, 22);

    const QPainterPath body = mouse.Body();
    FillPart(painter, body, QColor(0x3A, 0x3F, 0x48), QColor(0x1B, 0x1E, 0x23), LineLight);

    const auto [left, right] = mouse.MainButtons();
    for (const QPainterPath& button : {left, right})
        FillPart(painter, button, QColor(0x44, 0x4A, 0x54), QColor(0x26, 0x2A, 0x30), LineLight);

    // Sheen over the front of the shell.
    painter.save();
    painter.setClipPath(body);
    QRadialGradient sheen(QPointF(cx - 35, mouse.top + 80), 130);
    sheen.setColorAt(0, White(26));
    sheen.setColorAt(1, White(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawRect(body.boundingRect());
    painter.restore();

    // Wheel: a dark cylinder with ribs and an accent rim.
    const QRectF wheel = mouse.Wheel();
    QLinearGradient cylinder(wheel.topLeft(), wheel.topRight());
    cylinder.setColorAt(0, Deep);
    cylinder.setColorAt(0.5, Surface);
    cylinder.setColorAt(1, Deep);
    painter.setBrush(cylinder);
    painter.setPen(QPen(AccentAlpha(170), 1.2));
    painter.drawRoundedRect(wheel, 9, 9);
    painter.setPen(QPen(White(34), 1.0));
    for (qreal y = wheel.top() + 7; y < wheel.bottom() - 5; y += 5)
        painter.drawLine(QPointF(wheel.left() + 4, y), QPointF(wheel.right() - 4, y));

    // Resolution button with its two level lights.
    const QRectF dpi = mouse.ResolutionButton();
    painter.setBrush(Surface);
    painter.setPen(QPen(LineLight, 1.0));
    painter.drawRoundedRect(dpi, 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent);
    painter.drawEllipse(QPointF(cx, dpi.top() + 7), 1.6, 1.6);
    painter.drawEllipse(QPointF(cx, dpi.top() + 14), 1.6, 1.6);

    // Thumb buttons on the left flank.
    for (int n = 0; n < 2; ++n) {
        QPainterPath side;
        side.addRoundedRect(mouse.SideButton(n), 5, 5);
        FillPart(painter, side, QColor(0x4A, 0x50, 0x5A), QColor(0x2B, 0x2F, 0x36), LineLight);
    }

    // The light strip across the palm and the mark above it.
    QPainterPath strip;
    strip.moveTo(cx - 52, mouse.bottom - 46);
    strip.quadTo(cx, mouse.bottom - 18, cx + 52, mouse.bottom - 46);
    DrawGlowStroke(painter, strip, 2.0);
    QPainterPath chevron;
    chevron.moveTo(cx - 10, mouse.bottom - 78);
    chevron.lineTo(cx, mouse.bottom - 90);
    chevron.lineTo(cx + 10, mouse.bottom - 78);
    DrawGlowStroke(painter, chevron, 1.6);
}

} // namespace

WindowBackground DrawWindowBackground(QSize size) {
    using namespace palette;
    const QRectF whole(0, 0, size.width(), size.height());
    QPainterPath outline;
    outline.addRoundedRect(whole, WindowRadius, WindowRadius);

    // Where the window is solid; drawn without smoothing so every pixel is either
    // window or see-through and no edge pixel mixes the key colour into the art.
    QImage body(size, QImage::Format_Alpha8);
    body.fill(0);
    {
        QPainter mask(&body);
        mask.setPen(Qt::NoPen);
        mask.setBrush(Qt::black);
        mask.drawPath(outline);
    }

    QImage art(size, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&art);
        PrepareSmooth(painter);
        QLinearGradient fill(whole.topLeft(), whole.bottomLeft());
        fill.setColorAt(0, Base);
        fill.setColorAt(1, Deep);
        painter.fillRect(whole, fill);

        // Header band with a light line along its foot.
        const QRectF header(0, 0, size.width(), HeaderHeight);
        QLinearGradient band(header.topLeft(), header.bottomLeft());
        band.setColorAt(0, Surface);
        band.setColorAt(1, Raised);
        painter.fillRect(header, band);
        painter.save();
        painter.setClipRect(header);
        painter.setPen(QPen(White(7), 10));
        for (qreal x = size.width() * 0.62; x < size.width() + HeaderHeight; x += 22)
            painter.drawLine(QPointF(x, 0), QPointF(x - HeaderHeight, HeaderHeight));
        painter.restore();
        painter.fillRect(QRectF(0, HeaderHeight, size.width(), 1), Line);
        DrawLightLine(painter, 0, size.width(), HeaderHeight, 200);
        DrawMark(painter, QPointF(28, 24), 11);

        // The well the page panels sit in.
        const QRectF well(ContentMargin, ContentTop, size.width() - 2 * ContentMargin,
                          size.height() - ContentTop - ContentMargin);
        painter.setPen(QPen(Line, 1.0));
        painter.setBrush(Black(46));
        painter.drawRoundedRect(PixelInset(well), PanelRadius, PanelRadius);

        // Window edge: a thin border and a faint top highlight.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(LineLight, 1.0));
        painter.drawRoundedRect(PixelInset(whole), WindowRadius - 0.5, WindowRadius - 0.5);
        painter.setPen(QPen(White(22), 1.0));
        painter.drawLine(QPointF(WindowRadius, 1.5), QPointF(size.width() - WindowRadius, 1.5));
    }

    QImage image(size, QImage::Format_ARGB32);
    const QImage opaqueArt = art.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* solid = body.constScanLine(y);
        const QRgb* from = reinterpret_cast<const QRgb*>(opaqueArt.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            to[x] = solid[x] ? from[x] : Maroon.rgb();
    }
    return {image, body};
}

QImage DrawKeyPage(QSize size) {
    QImage image = NewPagePanel(size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    DrawAccentHalo(painter, centre, size.height() * 0.5, 46);
    // The mouse keeps to the middle third: the key captions stand to its left and right.
    const MouseShape mouse{centre, centre.y() - 160, centre.y() + 162};
    DrawMouse(painter, mouse);
    return image;
}

QImage DrawPerformancePage(QSize size) {
    QImage image = NewPagePanel(size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    // A speed gauge: an arc with ticks and a needle.
    const QPointF c(size.width() - 110, size.height() - 60);
    const qreal r = 80;
    const QRectF ring(c.x() - r, c.y() - r, 2 * r, 2 * r);
    painter.setPen(WatermarkPen(6));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, 0, 180 * 16);
    for (int tick = 0; tick <= 8; ++tick) {
        const QTransform turn = QTransform().rotate(-180.0 + tick * 22.5);
        painter.setPen(WatermarkPen(2));
        painter.drawLine(c + turn.map(QPointF(r - 16, 0)), c + turn.map(QPointF(r - 8, 0)));
    }
    painter.setPen(WatermarkPen(3));
    painter.drawLine(c, c + QTransform().rotate(-50).map(QPointF(r - 22, 0)));
    return image;
}

QImage DrawLightingPage(QSize size) {
    QImage image = NewPagePanel(size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    // A light with rays.
    const QPointF c(size.width() - 100, size.height() - 90);
    DrawAccentHalo(painter, c, 90, 30);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(WatermarkPen(3));
    painter.drawEllipse(c, 22, 22);
    for (int ray = 0; ray < 12; ++ray) {
        const QTransform turn = QTransform().rotate(ray * 30.0);
        painter.drawLine(c + turn.map(QPointF(34, 0)), c + turn.map(QPointF(ray % 2 ? 48 : 58, 0)));
    }
    return image;
}

QImage DrawMacroPage(QSize size) {
    QImage image = NewPagePanel(size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    // A recorded sequence: key presses of different lengths on a time line.
    const qreal baseY = size.height() - 50;
    const qreal left = size.width() - 260;
    painter.setPen(WatermarkPen(2));
    painter.drawLine(QPointF(left, baseY), QPointF(size.width() - 30, baseY));
    const qreal lengths[] = {26, 14, 40, 18, 30, 12};
    qreal x = left + 8;
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::AccentAlpha(34));
    for (int i = 0; i < 6; ++i) {
        painter.drawRoundedRect(QRectF(x, baseY - 14 - (i % 2) * 16, lengths[i], 10), 3, 3);
        x += lengths[i] + 10;
    }
    return image;
}

QImage DrawFirePage(QSize size) {
    QImage image = NewPagePanel(size);
    QPainter painter(&image);
    PrepareSmooth(painter);
    // A large sight in the lower right.
    const QPointF c(size.width() - 130, size.height() - 130);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(WatermarkPen(3));
    painter.drawEllipse(c, 90, 90);
    painter.drawEllipse(c, 46, 46);
    for (int arm = 0; arm < 4; ++arm) {
        const QTransform turn = QTransform().rotate(arm * 90.0);
        painter.drawLine(c + turn.map(QPointF(20, 0)), c + turn.map(QPointF(110, 0)));
    }
    return image;
}

QImage DrawUpdatePanel(QSize size) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF whole = Bounds(image);
    DrawPanelCard(painter, whole, PanelRadius);
    DrawCornerBrackets(painter, whole, 6, 10);
    // A chip with an upward arrow, faint, at the right.
    const QPointF c(size.width() - 60, size.height() / 2.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(WatermarkPen(2));
    painter.drawRoundedRect(QRectF(c.x() - 26, c.y() - 26, 52, 52), 6, 6);
    for (int pin = -1; pin <= 1; ++pin) {
        painter.drawLine(c + QPointF(pin * 14, -26), c + QPointF(pin * 14, -34));
        painter.drawLine(c + QPointF(pin * 14, 26), c + QPointF(pin * 14, 34));
    }
    painter.setPen(WatermarkPen(3));
    painter.drawLine(c + QPointF(0, 13), c + QPointF(0, -13));
    painter.drawLine(c + QPointF(-9, -4), c + QPointF(0, -13));
    painter.drawLine(c + QPointF(9, -4), c + QPointF(0, -13));
    return image;
}

QImage DrawInsertBase(QSize size, InsertKind kind) {
    QImage image = NewCanvas(size.width(), size.height());
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF whole = Bounds(image);
    DrawPanelCard(painter, whole, 8);
    // A header strip with the panel's sign at its right end.
    constexpr qreal stripHeight = 28;
    painter.setPen(Qt::NoPen);
    painter.setBrush(White(8));
    painter.drawRoundedRect(QRectF(1, 1, size.width() - 2, stripHeight), 7, 7);
    painter.fillRect(QRectF(1, stripHeight, size.width() - 2, 1), palette::Line);
    DrawLightLine(painter, 1, size.width() - 1, stripHeight, 160);
    const QPointF c(size.width() - 18, stripHeight / 2 + 1);
    QPen pen(palette::Accent, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (kind) {
    case InsertKind::Delay: // a clock
        painter.drawEllipse(c, 8, 8);
        painter.drawLine(c, c + QPointF(0, -5));
        painter.drawLine(c, c + QPointF(4, 2));
        break;
    case InsertKind::Key: // a key cap
        painter.drawRoundedRect(QRectF(c.x() - 8, c.y() - 8, 16, 16), 3, 3);
        painter.drawRoundedRect(QRectF(c.x() - 4.5, c.y() - 5.5, 9, 8), 2, 2);
        break;
    case InsertKind::Move: // arrows along X and Y
        painter.drawLine(c + QPointF(-8, 0), c + QPointF(8, 0));
        painter.drawLine(c + QPointF(0, -8), c + QPointF(0, 8));
        for (int arm = 0; arm < 4; ++arm) {
            const QTransform turn = QTransform().rotate(arm * 90.0);
            painter.drawLine(c + turn.map(QPointF(8, 0)), c + turn.map(QPointF(5, -3)));
            painter.drawLine(c + turn.map(QPointF(8, 0)), c + turn.map(QPointF(5, 3)));
        }
        break;
    }
    return image;
}

QImage DrawMessageBackground(QSize size) {
    using namespace palette;
    // Dialogs show only the top left part of this picture, so its marks sit there.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    PrepareSmooth(painter);
    const QRectF whole(0, 0, size.width(), size.height());
    QLinearGradient fill(whole.topLeft(), QPointF(0, 300));
    fill.setColorAt(0, Raised);
    fill.setColorAt(1, Base);
    painter.fillRect(whole, fill);
    constexpr qreal headerHeight = 36;
    QLinearGradient band(QPointF(0, 0), QPointF(0, headerHeight));
    band.setColorAt(0, Surface);
    band.setColorAt(1, Raised);
    painter.fillRect(QRectF(0, 0, size.width(), headerHeight), band);
    painter.fillRect(QRectF(0, headerHeight, size.width(), 1), Line);
    DrawLightLine(painter, 0, 520, headerHeight, 200);
    painter.setPen(QPen(LineLight, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(PixelInset(whole));
    return image;
}

} // namespace skinart
