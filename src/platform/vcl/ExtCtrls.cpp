#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/PngImage.h"

#include "platform/core/Time.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace platform::vcl {

std::function<void(TImage&, const std::string&)> TImage::PictureLoader;

struct TImage::View : QWidget {
    void paintEvent(QPaintEvent*) override {
        if (shown.isNull()) return;
        QPainter p(this);
        if (stretch) {
            p.drawImage(rect(), shown);
        } else if (center) {
            p.drawImage(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                        shown);
        } else {
            p.drawImage(QPoint(0, 0), shown);
        }
    }
    QImage shown;
    bool stretch = false;
    bool center = false;
};

TImage::TImage(TComponent* owner)
    : TControl(owner, new View), picture_(std::make_unique<QImage>()) {}

TImage::~TImage() = default;

TImage::View* TImage::ViewWidget() const {
    return static_cast<View*>(WidgetAsIs());
}

const QImage& TImage::Picture() const {
    return *picture_;
}

void TImage::SetPicture(const QImage& picture, const std::string& resourceName) {
    // The very picture it holds (decoded pictures are shared) leaves the screen as it is,
    // and the form's shape with it.
    if (!picture.isNull() && picture.cacheKey() == picture_->cacheKey() &&
        resourceName == pictureName_) {
        AdjustSize();
        return;
    }
    *picture_ = picture;
    pictureName_ = resourceName;
    SetTransparent(transparent_);
    AdjustSize();
    ShapeChanged();
}

void TImage::ClearPicture() {
    SetPicture(QImage(), std::string());
}

void TImage::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void TImage::AdjustSize() {
    if (autoSize_ && !picture_->isNull())
        SetBounds(Left(), Top(), picture_->width(), picture_->height());
}

void TImage::SetStretch(bool on) {
    stretch_ = on;
    ViewWidget()->stretch = on;
    ViewWidget()->update();
    ShapeChanged();
}

void TImage::SetCenter(bool on) {
    center_ = on;
    ViewWidget()->center = on;
    ViewWidget()->update();
    ShapeChanged();
}

void TImage::SetTransparent(bool on) {
    transparent_ = on;
    View* view = ViewWidget();
    if (on && !picture_->isNull() && !picture_->hasAlphaChannel()) {
        // A picture without alpha is see-through in the colour of its bottom-left pixel.
        QImage keyed = picture_->convertToFormat(QImage::Format_ARGB32);
        const QRgb key = keyed.pixel(0, keyed.height() - 1);
        for (int y = 0; y < keyed.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if (line[x] == key) line[x] = 0;
        }
        view->shown = keyed;
    } else {
        view->shown = *picture_;
    }
    view->update();
    ShapeChanged();
}

bool TImage::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "AutoSize")
        SetAutoSize(value.AsBool());
    else if (name == "Stretch")
        SetStretch(value.AsBool());
    else if (name == "Center")
        SetCenter(value.AsBool());
    else if (name == "Transparent")
        SetTransparent(value.AsBool());
    else if (name == "Picture") {
        if (PictureLoader) {
            PictureLoader(*this, value.AsString());
        } else {
            TPngImage png;
            png.LoadFromResourceName(value.AsString());
            SetPicture(png.ToQImage(), value.AsString());
        }
    } else
        return TControl::SetDesignProperty(name, value);
    return true;
}

// ---- TPanel ----

struct TPanel::View : QFrame {
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        if (caption.isEmpty()) return;
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(contentsRect(), alignment | Qt::AlignVCenter, caption);
    }
    QString caption;
    int alignment = Qt::AlignHCenter;
};

TPanel::TPanel(TComponent* owner) : TWinControl(owner, new View) {
    SetColor(clBtnFace);
    SetBevelOuter(bvRaised);
}

void TPanel::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    auto* view = static_cast<View*>(WidgetAsIs());
    view->caption = QString::fromStdString(caption);
    view->update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    auto* view = static_cast<View*>(WidgetAsIs());
    if (bevel == bvLowered || bevel == bvRaised) {
        view->setFrameStyle(QFrame::Panel | (bevel == bvLowered ? QFrame::Sunken : QFrame::Raised));
        view->setLineWidth(1);
    } else {
        view->setFrameStyle(QFrame::NoFrame);
    }
}

void TPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    auto* view = static_cast<View*>(WidgetAsIs());
    view->alignment = HorizontalAlignment(alignment);
    view->update();
}

bool TPanel::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    static const std::pair<const char*, TPanelBevel> bevels[] = {
        {"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}};
    if (name == "BevelOuter")
        SetBevelOuter(DesignEnum(value, bevels));
    else if (name == "Alignment")
        SetAlignment(DesignAlignment(value));
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

// ---- TShape ----

struct TShape::View : QWidget {
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, owner->shape_ >= stRoundRect);
        p.setBrush(ToQColor(owner->brushColor_));
        QPen pen(ToQColor(owner->penColor_));
        pen.setWidth(owner->penWidth_);
        if (owner->penWidth_ <= 0) pen = Qt::NoPen;
        p.setPen(pen);
        const int inset = std::max(0, owner->penWidth_) / 2;
        QRect r = rect().adjusted(inset, inset, -inset - 1, -inset - 1);
        const bool square = owner->shape_ == stSquare || owner->shape_ == stRoundSquare ||
                            owner->shape_ == stCircle;
        if (square) {
            const int side = std::min(r.width(), r.height());
            r = QRect(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
        }
        switch (owner->shape_) {
        case stEllipse:
        case stCircle:
            p.drawEllipse(r);
            break;
        case stRoundRect:
        case stRoundSquare: {
            const qreal radius = std::min(r.width(), r.height()) / 4.0;
            p.drawRoundedRect(r, radius, radius);
            break;
        }
        default:
            p.drawRect(r);
            break;
        }
    }
    TShape* owner = nullptr;
};

TShape::TShape(TComponent* owner) : TControl(owner, new View) {
    static_cast<View*>(WidgetAsIs())->owner = this;
}

void TShape::SetShape(TShapeType shape) {
    shape_ = shape;
    Invalidate();
}

void TShape::SetBrushColor(TColor color) {
    brushColor_ = color;
    Invalidate();
    ShapeChanged();
}

void TShape::SetPenColor(TColor color) {
    penColor_ = color;
    Invalidate();
}

void TShape::SetPenWidth(int width) {
    penWidth_ = width;
    Invalidate();
}

bool TShape::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    static const std::pair<const char*, TShapeType> shapes[] = {
        {"stRectangle", stRectangle},     {"stSquare", stSquare},   {"stRoundRect", stRoundRect},
        {"stRoundSquare", stRoundSquare}, {"stEllipse", stEllipse}, {"stCircle", stCircle}};
    if (name == "Shape")
        SetShape(DesignEnum(value, shapes));
    else if (name == "Brush.Color")
        SetBrushColor(DesignColor(value));
    else if (name == "Pen.Color")
        SetPenColor(DesignColor(value));
    else if (name == "Pen.Width")
        SetPenWidth(value.AsInt());
    else
        return TControl::SetDesignProperty(name, value);
    return true;
}

// ---- TTimer ----

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
        if (OnTimer && !IsDestroying()) GuardedCall([this] { OnTimer(this); });
    });
    Update();
}

TTimer::~TTimer() {
    timer_->stop();
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Update();
}

void TTimer::SetInterval(uint32_t ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::Update() {
    if (!enabled_ || interval_ == 0) {
        timer_->stop();
        return;
    }
    const uint32_t real = std::max<uint32_t>(1, core::ScaledMs(interval_));
    timer_->start(static_cast<int>(std::min<uint32_t>(real, INT32_MAX)));
}

bool TTimer::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Enabled")
        SetEnabled(value.AsBool());
    else if (name == "Interval") {
        if (value.AsInt() < 0) throw rtl::Exception("the interval cannot be negative");
        SetInterval(static_cast<uint32_t>(value.AsInt()));
    } else
        return TComponent::SetDesignProperty(name, value);
    return true;
}

bool TTimer::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnTimer") return BindDesignHandler(handler, OnTimer);
    return TComponent::SetDesignEvent(name, handler);
}

} // namespace platform::vcl
