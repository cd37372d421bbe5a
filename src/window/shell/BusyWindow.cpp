#include "window/shell/BusyWindow.h"

#include "window/shell/FormLoading.h"
#include "window/Main.h"

namespace shell {

void TBusyWindow::Step() {
    if (TFormLoadingUI* busy = FormLoadingUI) {
        if (Form1) busy->CentreOn(*Form1);
        // A whole-image transfer takes a step per report: showing and raising a window
        // that already shows on top would only cost time. Moving it is cheap and done
        // only when Form1 has moved or changed size.
        if (!busy->Visible()) {
            busy->Show();
            busy->BringToFront();
        }
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
