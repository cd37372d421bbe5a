#pragma once
// The program's icon in the desktop's notification area.
#include "platform/vcl/Component.h"

#include <memory>

class QIcon;
class QSystemTrayIcon;

namespace controls::skin {

// A picture for the notification area. Copies share the picture.
class TIcon {
public:
    TIcon();
    explicit TIcon(const QIcon& icon);
    bool Empty() const;
    const QIcon& Picture() const;

private:
    std::shared_ptr<const QIcon> icon_;
};

// The application's own window icon.
TIcon ApplicationIcon();

// Shows its icon while IconVisible (true from creation) and an icon is set; no hint,
// menu or events. Freeing it takes the icon out of the notification area. Where the
// desktop has no notification area (a headless session), it shows nothing.
class TTrayIcon : public platform::vcl::TComponent {
public:
    explicit TTrayIcon(platform::vcl::TComponent* owner);
    ~TTrayIcon() override;

    const TIcon& Icon() const { return icon_; }
    // Keeps a copy of the icon and shows it.
    void SetIcon(const TIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool on);
    // Whether the icon is in the notification area now.
    bool Showing() const;

    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;

private:
    void Update();

    TIcon icon_;
    bool iconVisible_ = true;
    std::unique_ptr<QSystemTrayIcon> tray_;
};

} // namespace controls::skin
