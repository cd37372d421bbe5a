#include "window/shell/BusyWindow.h"

#include "window/Main.h"
#include "window/shell/FormLoading.h"

namespace shell {

void TBusyWindow::Step() {
    bool due = true;
    if (TFormLoadingUI* busy = FormLoadingUI) {
        const bool wasUp = busy->Widget()->isVisible();
        const int left = busy->Left(), top = busy->Top();
        if (Form1) busy->CentreOn(*Form1);
        // Shown and brought to the front at every step, also while it shows: another
        // window may have come over it (or hidden it) since the last one. For a window
        // that shows already this is one stacking request to the window system: no
        // repaint and no new shape.
        busy->Show(); // also brings back a window hidden behind the form's back
        busy->BringToFront();
        due = !wasUp || busy->Left() != left || busy->Top() != top || MessagesDue();
    }
    if (due) HandleMessages();
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
    if (std::chrono::steady_clock::now() - handledAt_ >= kQuietMs) return true;
    const TFormLoadingUI* busy = FormLoadingUI;
    return busy && busy->WaitGif && busy->WaitGif->Animator()->NextFrameDueMs() == 0;
}

void TBusyWindow::HandleMessages() {
    vcl::Application()->ProcessMessages();
    handledAt_ = std::chrono::steady_clock::now();
}

namespace {
TBusyWindow g_busyWindow;
}

void InstallBusyWindow() {
    device::SetBusyWindow(&g_busyWindow);
}

void UninstallBusyWindow() {
    if (device::GetBusyWindow() == &g_busyWindow) device::SetBusyWindow(nullptr);
}

} // namespace shell
