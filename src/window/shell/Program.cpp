#include "window/shell/Program.h"

#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "platform/core/WorkAhead.h"
#include "platform/desktop/User32.h"
#include "platform/vcl/FormDesign.h"
#include "simulator/Install.h"
#include "simulator/SimBus.h"
#include "support/GifAnimatorControl.h"
#include "window/Main.h"
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"
#include "window/shell/LanguageTables.h"
#include "window/shell/LayoutText.h"
#include "window/shell/SingleInstance.h"
#include "window/shell/SkinImages.h"

#include <QApplication>
#include <QFontDatabase>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace window::shell {

std::shared_ptr<platform::win::HidBus> InstallDeviceBus() {
    simulator::InstallAsDefaultBus(platform::win::SetSimulatedBusFactory);
    uint16_t vendorId = 0, productId = 0;
    try {
        ::device::LoadDefaultImageHeader();
        const auto& h = ::device::DefaultImageHeader;
        vendorId = static_cast<uint16_t>(h[0] << 8 | h[1]);
        productId = static_cast<uint16_t>(h[2] << 8 | h[3]);
    } catch (const std::exception&) {
        // The main window's start-up reads the header again and shows what is wrong; no
        // mouse can be looked for without its ids, so the simulated one stands in.
    }
    auto bus = platform::win::InstallDefaultBus(vendorId, productId);
    if (!std::getenv("VTRM408X_SIMULATE") && dynamic_cast<simulator::SimBus*>(bus.get()))
        std::fprintf(stderr,
                     "No mouse %04X:%04X found: using the simulated mouse "
                     "(VTRM408X_SIMULATE=0 waits for the real one).\n",
                     vendorId, productId);
    return bus;
}

std::vector<std::string> StartupFormDesigns() {
    return {"FORM1", "FORMLOADINGUI"};
}

void PrepareApplication() {
    platform::vcl::Application()->SetTitle("Gaming Mouse");
    // Every window of the program and the notification area show the program's icon.
    QApplication::setWindowIcon(ProgramIcon());
}

namespace {

// Qt aborts with a terse plugin message when no display can be reached; say instead how
// to run the program without a screen.
bool DisplayAvailable(int argc, char** argv) {
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "-platform") return true;
    return false;
}

} // namespace

int ProgramMain(int argc, char** argv) {
    if (!DisplayAvailable(argc, argv)) {
        std::fprintf(stderr,
                     "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "To run without a screen, start it under a virtual one:\n"
                     "  xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    // The skin pictures and the busy animation decode on threads of their own while the
    // application and the windows' designs are built.
    auto skinPictures = std::make_unique<TSkinPicturesAhead>(StartupSkinPictures());
    auto gifPictures = std::make_unique<support::TGifPicturesAhead>(StartupGifPictures());
    // The two windows' designs are read on a thread of their own as well.
    auto designs = std::make_unique<platform::vcl::TFormDesignsAhead>(StartupFormDesigns());
    QApplication app(argc, argv);
    // The system's font list is read on a thread of its own while the windows are built:
    // the first control with text then finds it ready. Font database calls are thread-safe.
    auto fonts = std::make_unique<platform::core::TWorkAhead>(
        std::vector<std::string>{"font list"},
        [](const std::string&) { QFontDatabase::families(); }, "fonts");
    // So are the texts the window's start-up reads, the language tables with their indexes
    // by text and the layout texts: they are kept once read, under a lock.
    auto texts = std::make_unique<platform::core::TWorkAhead>(
        std::vector<std::string>{"start-up texts"},
        [](const std::string&) {
            FindLangKeyByText("");
            SharedLayoutText("org");
            SharedLayoutText("org1");
        },
        "texts");
    // A second start brings the first window forward and ends silently. The claim comes
    // first of all, so that a start close behind this one finds it while the window is
    // still being built.
    if (!ClaimSingleInstance(MainWindowTitle)) return 0;
    platform::vcl::TApplication* application = platform::vcl::Application();
    PrepareApplication();
    InstallDeviceBus();
    int exitCode = 1;
    // A window that failed to build or start has shown its exception box; the program
    // then ends instead of running a half-initialised window.
    if (application->CreateForm(Form1) && application->CreateForm(FormLoadingUI)) {
        // The windows have loaded every picture of the start; later loads go straight on.
        skinPictures.reset();
        gifPictures.reset();
        fonts.reset();
        AnnounceMainWindow(MainWindowTitle, Form1->Handle());
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

} // namespace window::shell
