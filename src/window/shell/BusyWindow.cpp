#include "window/shell/BusyWindow.h"

#include "window/Main.h"
#include "window/shell/FormLoading.h"

#include "platform/vcl/Dialogs.h"

namespace window::shell {

void TBusyWindow::Step() {
    bool due = true;
    if (TFormLoadingUI* busy = FormLoadingUI) {
        const bool wasUp = busy->Widget()->isVisible();
        const bool moved = Form1 && busy->CentreOn(*Form1);
        // Shown and brought to the front at every step, also while it shows: another
        // window may have come over it (or hidden it) since the last one. For a window
        // that shows already this is one stacking request to the window system: no
        // repaint and no new shape.
        busy->Show(); // also brings back a window hidden behind the form's back
        BringToFront(*busy, wasUp);
        due = !wasUp || moved || MessagesDue();
    }
    if (due) HandleMessages();
}

void TBusyWindow::BringToFront(TFormLoadingUI& busy, bool wasUp) {
    // The window system hears of it at every step: windows of other programs come and go
    // as they like. The program's own windows change places only through its calls
    // (counted) or while events are handled; when neither happened since the last step,
    // the busy window stands in front of them as it did, and Qt's notice to its widget
    // about a new place would say nothing new.
    WatchEventHandling();
    if (!wasUp || handledSinceFront_ ||
        platform::vcl::TForm::WindowOrderChanges() != windowOrderAtFront_)
        busy.BringToFront();
    else
        busy.RaiseOnScreen();
    handledSinceFront_ = false;
    windowOrderAtFront_ = platform::vcl::TForm::WindowOrderChanges();
}

void TBusyWindow::WatchEventHandling() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == watched_) return;
    // Every round of event handling wakes the dispatcher, nested ones included.
    watched_ = dispatcher;
    handledSinceFront_ = true;
    if (dispatcher)
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake,
                         [this] { handledSinceFront_ = true; });
}

void TBusyWindow::Hide() {
    if (TFormLoadingUI* busy = FormLoadingUI) {
        // Input that arrived during the transfer is still waiting: handle it while the
        // window shows, so that it is dropped like the input before it.
        if (busy->Visible()) HandleMessages();
        busy->Hide();
    }
    HandleMessages();
}

bool TBusyWindow::MessagesDue() const {
    const auto now = std::chrono::steady_clock::now();
    const TFormLoadingUI* busy = FormLoadingUI;
    const auto frameDue = busy && busy->WaitGif ? busy->WaitGif->Animator()->NextFrameDue()
                                                : std::chrono::steady_clock::time_point::max();
    if (now >= frameDue) return true;
    if (now - handledAt_ < kQuietMs) return false;
    // A quiet round that would come just before the next frame is left to the frame's.
    return frameDue - now > kFrameWaitMs;
}

void TBusyWindow::HandleMessages() {
    platform::vcl::Application()->ProcessMessages();
    handledAt_ = std::chrono::steady_clock::now();
}

namespace {
TBusyWindow g_busyWindow;

// A message shown during a transfer, or at its end, comes first: the busy window stands
// above every window and would cover part of it. Hidden, it drops no input either; the
// transfer's next step shows it again.
void StepAsideForMessage() {
    if (TFormLoadingUI* busy = FormLoadingUI) busy->Hide();
}
} // namespace

void InstallBusyWindow() {
    ::device::SetBusyWindow(&g_busyWindow);
    platform::vcl::SetBeforeMessageDialog(StepAsideForMessage);
}

void UninstallBusyWindow() {
    if (::device::GetBusyWindow() == &g_busyWindow) ::device::SetBusyWindow(nullptr);
    platform::vcl::SetBeforeMessageDialog(nullptr);
}

} // namespace window::shell
