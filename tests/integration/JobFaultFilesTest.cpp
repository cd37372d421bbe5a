// Configuration loads and the messages of the longer jobs against the simulated mouse: a
// load never writes an image whose identity the mouse's identity check would refuse
// after its reset, and no message shown during a job is covered by the busy window.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"
#include "HostReports.h"

#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"
#include "window/shell/LanguageTables.h"

#include <QTemporaryDir>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <random>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr size_t Marker = 495;
const std::string kLossText = "Waiting to reconnect device\r\r";

class JobFaultFiles : public FormDeviceTest {
protected:
    void TearDown() override {
        form->ReserveManufacturerId = 0;
        form->ReserveProductId = 0;
        FormDeviceTest::TearDown();
    }
    // Writes `bytes` to a file of the folder and loads it from the page's Load Profile.
    void Load(const std::string& name, const Bytes& bytes) {
        const fs::path file = fs::path(dir.path().toStdString()) / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        files.answer = file.string();
        form->Named<platform::vcl::TControl>("Btn_Load_6").Click();
    }

    QTemporaryDir dir;
    FileDialogAnswerer files;
};

// A marked image is loaded only with an identity pair the mouse would still be served
// with after its reset: the default image's pair or the reserve pair. Any other is
// refused with the identity message before a byte goes to the mouse.
TEST_F(JobFaultFiles, ALoadRefusesAnImageOfAMouseTheProgramDoesNotServe) {
    auto mouse = StartWithMouse();
    form->ReserveManufacturerId = 12;
    form->ReserveProductId = 34;
    // The default image's pair: image bytes 484 (maker) and 485 (product).
    const uint8_t ourMaker = DefaultImage(1)[484];
    const uint8_t ourProduct = DefaultImage(1)[485];
    std::mt19937 random(485);
    Bytes markedNoise(2048);
    for (uint8_t& b : markedNoise)
        b = static_cast<uint8_t>(random());
    markedNoise[Marker] = 0xE0;
    ASSERT_NE(markedNoise[484], ourMaker);
    ASSERT_NE(markedNoise[484], 12);

    const std::string identityText = window::shell::LanguageText(1, "Str107");
    ASSERT_FALSE(identityText.empty());
    struct Case {
        const char* name;
        Bytes image;
        bool loaded;
    };
    const std::vector<Case> cases = {
        {"random bytes with the marker", markedNoise, false},
        {"foreign identity", WithIdentity(DefaultImage(2), 0x12, 0x34), false},
        {"maker wrong", WithIdentity(DefaultImage(2), 0x12, ourProduct), false},
        {"product wrong", WithIdentity(DefaultImage(2), ourMaker, 0x34), false},
        {"reserve maker, other product", WithIdentity(DefaultImage(2), 12, 35), false},
        {"default pair", DefaultImage(3), true},
        {"reserve pair", WithIdentity(DefaultImage(2), 12, 34), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes before = mouse->Image();
        const unsigned resets = mouse->ResetCount();
        modal->texts.clear();
        bus->ClearTranscript();
        Load(std::string(c.name) + ".bin", c.image);
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        if (c.loaded) {
            EXPECT_TRUE(modal->texts.empty()) << modal->texts.front();
            EXPECT_EQ(mouse->Image(), c.image);
            EXPECT_EQ(mouse->ResetCount(), resets + 1);
            continue;
        }
        EXPECT_EQ(modal->texts, std::vector<std::string>{identityText});
        EXPECT_TRUE(HostReports(*bus).empty());
        EXPECT_EQ(mouse->Image(), before);
        EXPECT_EQ(mouse->ResetCount(), resets);
    }
}

// The window against the simulated mouse with the program's own busy window, as the
// program block installs it.
class JobFaultBusyWindow : public JobFaultFiles {
protected:
    void SetUp() override {
        JobFaultFiles::SetUp();
        window::Form1 = form.get();
        loading = std::make_unique<window::shell::TFormLoadingUI>(nullptr);
        window::shell::FormLoadingUI = loading.get();
        ASSERT_TRUE(loading->DoCreate());
        window::shell::InstallBusyWindow();
    }
    void TearDown() override {
        window::shell::UninstallBusyWindow();
        loading.reset();
        window::shell::FormLoadingUI = nullptr;
        window::Form1 = nullptr;
        JobFaultFiles::TearDown();
    }
    std::unique_ptr<window::shell::TFormLoadingUI> loading;
};

// Each message a job shows while its busy window is up stands alone: the busy window,
// above every window, is gone while the message is open and drops no input.
TEST_F(JobFaultBusyWindow, NoMessageOfAJobIsCoveredByTheBusyWindow) {
    auto mouse = StartWithMouse();
    const std::string identityText = window::shell::LanguageText(1, "Str107");
    struct Case {
        const char* name;
        std::function<void()> job;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"loss in the middle of a whole-image read",
         [&] {
             mouse->UnplugAfterTransfers(100);
             form->Btn_Read();
         },
         kLossText},
        {"loss in the middle of a load's write",
         [&] {
             mouse->UnplugAfterTransfers(100);
             Load("write.bin", DefaultImage(2));
         },
         kLossText},
        {"no mouse back after a load's reset",
         [&] {
             mouse->SetResetReturn(std::nullopt);
             Load("reset.bin", DefaultImage(3));
         },
         kLossText},
        // Another mouse of a maker the program does not serve takes its place.
        {"identity refused after a load's reset",
         [&] {
             AddMouse(WithIdentity(DefaultImage(2), 0x12, 0x34));
             mouse->SetResetReturn(std::nullopt);
             Load("swap.bin", DefaultImage(2));
         },
         identityText},
    };
    int shows = 0;
    struct ShowCounter : QObject {
        int& count;
        explicit ShowCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Show;
            return false;
        }
    } counter(shows);
    loading->Widget()->installEventFilter(&counter);
    std::vector<bool> busyUnderMessage;
    modal->whileOpen = [&](size_t) {
        busyUnderMessage.push_back(loading->Widget()->isVisible() || loading->InputBlocked());
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!mouse->IsPlugged()) {
            mouse->SetResetReturn(200);
            mouse->Plug();
            Tick();
        }
        ASSERT_TRUE(Present());
        modal->texts.clear();
        busyUnderMessage.clear();
        shows = 0;
        c.job();
        EXPECT_EQ(modal->texts, std::vector<std::string>{c.message});
        EXPECT_EQ(busyUnderMessage, std::vector<bool>{false});
        EXPECT_GT(shows, 0) << "the job showed no busy window";
        EXPECT_FALSE(loading->Widget()->isVisible());
    }
}

} // namespace
} // namespace devtest
