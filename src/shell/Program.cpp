#include "shell/Program.h"

#include "platform/win/User32.h"
#include "shell/Main.h"
#include "shell/SingleInstance.h"

#include <QApplication>

namespace shell {

int ProgramMain(int argc, char** argv) {
    QApplication app(argc, argv);
    // A second start brings the first window forward and ends silently.
    if (RestoreRunningInstance(MainWindowTitle)) return 0;
    vcl::TApplication* application = vcl::Application();
    application->SetTitle("Gaming Mouse");
    int exitCode = 1;
    // A window that failed to build or start has shown its exception box; the program
    // then ends instead of running a half-initialised window.
    if (application->CreateForm(Form1)) {
        platform::win::PublishWindowTitle(Form1->Handle(), Form1->Caption());
        Form1->Show();
        exitCode = application->Run();
    }
    application->DestroyForms();
    Form1 = nullptr;
    return exitCode;
}

} // namespace shell
