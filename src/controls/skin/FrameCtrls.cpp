#include "controls/skin/FrameCtrls.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace controls::skin {

TFramePanel::TFramePanel(platform::vcl::TComponent* owner) : platform::vcl::TPanel(owner) {
    // The frame replaces the panel's bevel.
    SetBevelOuter(platform::vcl::bvNone);
    SetColor(clSkinPanel);
    FontChanged();
}

void TFramePanel::FontChanged() {
    platform::vcl::TPanel::FontChanged();
    detail::ApplySkinPalette(*this);
}

void TFramePanel::SetBorderColor(TColor color) {
    if (color == borderColor_) return;
    borderColor_ = color;
    Invalidate();
}

bool TFramePanel::HandleEvent(QEvent* event) {
    if (event->type() != QEvent::Paint || painting_)
        return platform::vcl::TPanel::HandleEvent(event);
    // The panel paints its face and caption first, then the frame goes over its edge.
    // QWidget::event is reached through QObject, where it is public; the call passes
    // the event filters, so it does not come back here.
    QWidget* w = WidgetAsIs();
    painting_ = true;
    static_cast<QObject*>(w)->event(event);
    painting_ = false;
    QPainter p(w);
    p.setPen(platform::vcl::ToQColor(borderColor_));
    p.drawRect(w->rect().adjusted(0, 0, -1, -1));
    return true;
}

bool TFramePanel::SetDesignProperty(const std::string& name,
                                    const platform::vcl::TDesignValue& value) {
    if (name == "BorderColor") {
        SetBorderColor(platform::vcl::DesignColor(value));
        return true;
    }
    return platform::vcl::TPanel::SetDesignProperty(name, value);
}

} // namespace controls::skin
