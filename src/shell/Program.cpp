#include "shell/Program.h"

#include "shell/BusyWindow.h"
#include "shell/FormLoading.h"
#include "shell/Main.h"

#include <QApplication>

namespace shell {

int ProgramMain(int argc, char** argv) {
    QApplication app(argc, argv);
    vcl::TApplication* application = vcl::Application();
    application->SetTitle("Gaming Mouse");
    int exitCode = 1;
    // A window that failed to build or start has shown its exception box; the program
    // then ends instead of running a half-initialised window.
    if (application->CreateForm(Form1) && application->CreateForm(FormLoadingUI)) {
        InstallBusyWindow();
        Form1->Show();
        exitCode = application->Run();
    }
    UninstallBusyWindow();
    application->DestroyForms();
    FormLoadingUI = nullptr;
    Form1 = nullptr;
    return exitCode;
}

} // namespace shell
