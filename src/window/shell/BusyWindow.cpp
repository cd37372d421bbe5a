#include "window/shell/BusyWindow.h"

#include "window/Main.h"
#include "window/shell/FormLoading.h"

namespace shell {

void TBusyWindow::Step() {
    if (TFormLoadingUI* busy = FormLoadingUI) {
        if (Form1) busy->CentreOn(*Form1);
        // Shown and brought to the front at every step, also while it shows: another
        // window may have come over it (or hidden it) since the last one. For a window
        // that shows already this is one stacking request to the window system: no
        // repaint and no new shape.
        busy->Show(); // also brings back a window hidden behind the form's back
        busy->BringToFront();
    }
    vcl::Application()->ProcessMessages();
}

void TBusyWindow::Hide() {
    if (TFormLoadingUI* busy = FormLoadingUI) {
        // Input that arrived during the transfer is still waiting: handle it while the
        // window shows, so that it is dropped like the input before it.
        if (busy->Visible()) vcl::Application()->ProcessMessages();
        busy->Hide();
    }
    vcl::Application()->ProcessMessages();
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
