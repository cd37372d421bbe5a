#include "support/InputBlock.h"

#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace support {

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

} // namespace

// Watches the busy window's show and hide; while it is shown, sits in front of every
// event of the application and drops user input to the blocked window.
struct TInputBlock::Filter : QObject {
    Filter(QWidget* busy, std::function<platform::vcl::TForm*()> blockedForm)
        : busyWidget(busy), blocked(std::move(blockedForm)) {
        busyWidget->setAttribute(Qt::WA_ShowWithoutActivating);
        busyWidget->installEventFilter(this);
        if (busyWidget->isVisible()) Start();
    }
    ~Filter() override { Stop(); }

    void Start() {
        platform::vcl::TForm* form = blocked ? blocked() : nullptr;
        blockedWidget = form ? form->Widget() : nullptr;
        if (!active) qApp->installEventFilter(this);
        active = true;
    }
    void Stop() {
        if (active && qApp) qApp->removeEventFilter(this);
        active = false;
        blockedWidget = nullptr;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == busyWidget) {
            if (event->type() == QEvent::Show)
                Start();
            else if (event->type() == QEvent::Hide)
                Stop();
            return false;
        }
        if (!active || !blockedWidget || !IsUserInput(event->type()) || !watched->isWidgetType())
            return false;
        return static_cast<QWidget*>(watched)->window() == blockedWidget;
    }

    QPointer<QWidget> busyWidget;
    std::function<platform::vcl::TForm*()> blocked;
    QPointer<QWidget> blockedWidget;
    bool active = false;
};

TInputBlock::TInputBlock(platform::vcl::TForm& busyWindow,
                         std::function<platform::vcl::TForm*()> blocked)
    : filter_(std::make_unique<Filter>(busyWindow.Widget(), std::move(blocked))) {}

TInputBlock::~TInputBlock() = default;

bool TInputBlock::Active() const {
    return filter_->active;
}

} // namespace support
