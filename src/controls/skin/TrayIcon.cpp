#include "controls/skin/TrayIcon.h"

#include <QGuiApplication>
#include <QIcon>
#include <QSystemTrayIcon>

namespace controls::skin {

TIcon::TIcon() : icon_(std::make_shared<const QIcon>()) {}

TIcon::TIcon(const QIcon& icon) : icon_(std::make_shared<const QIcon>(icon)) {}

bool TIcon::Empty() const {
    return icon_->isNull();
}

const QIcon& TIcon::Picture() const {
    return *icon_;
}

TIcon ApplicationIcon() {
    return TIcon(QGuiApplication::windowIcon());
}

TTrayIcon::TTrayIcon(platform::vcl::TComponent* owner) : platform::vcl::TComponent(owner) {
    Update();
}

TTrayIcon::~TTrayIcon() {
    if (tray_) tray_->hide();
}

void TTrayIcon::SetIcon(const TIcon& icon) {
    icon_ = icon;
    Update();
}

void TTrayIcon::SetIconVisible(bool on) {
    iconVisible_ = on;
    Update();
}

bool TTrayIcon::Showing() const {
    return tray_ && tray_->isVisible();
}

void TTrayIcon::Update() {
    // Qt complains on stderr when asked to show an empty icon or to show one without a
    // notification area; neither is an error of ours, so neither is asked.
    const bool show = iconVisible_ && !icon_.Empty() && QSystemTrayIcon::isSystemTrayAvailable();
    if (!show) {
        if (tray_) tray_->hide();
        return;
    }
    if (!tray_) tray_ = std::make_unique<QSystemTrayIcon>();
    tray_->setIcon(icon_.Picture());
    tray_->show();
}

bool TTrayIcon::SetDesignProperty(const std::string& name,
                                  const platform::vcl::TDesignValue& value) {
    if (name == "IconVisible" || name == "Visible") {
        SetIconVisible(value.AsBool());
        return true;
    }
    return platform::vcl::TComponent::SetDesignProperty(name, value);
}

} // namespace controls::skin
