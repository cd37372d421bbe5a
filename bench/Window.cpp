// The costly roads of the main window, against the simulated mouse with the program's own
// busy window, as the program runs them.
//
//   bench_Window                             (offscreen unless QT_QPA_PLATFORM is set)
//
// StartupToFirstPaint: the window built from its design, FormCreate, shown, and events
// handled until the window has had its first paint event; its pictures decoded afresh.
// WholeFormRefresh: RefreshUI after a read of the first default image, UiLoadingFlag held
// as the read holds it; the WithPaint run also handles the repaints it causes.
// LanguageSwitch: the second language's button, then the first's (two switches a round).
// WholeImageRead: Btn_Read, the fill the device timer ends in once the mouse is open;
// MainWindowShape: the main window's shape worked out afresh from what it shows.
// FirstShape: a new main window shown and its first shape worked out, as at start.
// ArrivalRead: the timer's arrival road after its settle wait (open by the id table,
// information and identity checks, the read). OneMs makes every device transfer take 1 ms.
#include "BenchMain.h"
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"
#include "window/Main.h"
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"
#include "window/shell/SkinImages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

// Counts the paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) : widget_(w) { w->installEventFilter(this); }
    ~PaintCounter() override { widget_->removeEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint) ++paints;
        return false;
    }

private:
    QWidget* widget_;
};

struct Setup {
    std::shared_ptr<simulator::SimBus> bus;
    std::shared_ptr<simulator::SimMouse> mouse;
    std::unique_ptr<window::TForm1> main;
    std::unique_ptr<window::shell::TFormLoadingUI> busy;
};

Setup* g_setup = nullptr;

std::unique_ptr<window::TForm1> CreateMainWindow() {
    auto form = std::make_unique<window::TForm1>(nullptr);
    window::Form1 = form.get();
    if (!form->DoCreate()) std::abort();
    return form;
}

void Prepare() {
    auto* s = new Setup;
    s->bus = std::make_shared<simulator::SimBus>();
    s->bus->SetTranscriptLimit(0);
    device::LoadDefaultImageHeader();
    const device::TImageHeader& h = device::DefaultImageHeader;
    simulator::SimMouseConfig config;
    config.vendorId = static_cast<uint16_t>(h[0] << 8 | h[1]);
    config.productId = static_cast<uint16_t>(h[2] << 8 | h[3]);
    config.image = device::OpenResourceBytes(device::DefaultImageResources[0]);
    s->mouse = s->bus->AddMouse(config);
    s->bus->AddKeyboard();
    platform::win::SetBus(s->bus);
    s->busy = std::make_unique<window::shell::TFormLoadingUI>(nullptr);
    window::shell::FormLoadingUI = s->busy.get();
    s->busy->DoCreate();
    g_setup = s;
}

// The window the other runs share: built, shown, the mouse opened and read once.
window::TForm1& MainWindow() {
    if (!g_setup->main) {
        g_setup->main = CreateMainWindow();
        window::shell::InstallBusyWindow();
        g_setup->main->Show();
        KeepDeviceTimerAway(*g_setup->main->DevTimer);
        platform::vcl::Application()->ProcessMessages();
        g_setup->main->ReFindDev();
        if (g_setup->main->DetectedInterface != "I2C") std::abort();
    }
    return *g_setup->main;
}

void Finish() {
    window::shell::UninstallBusyWindow();
    g_setup->main.reset();
    device::ReleaseDeviceHandles();
    platform::win::SetBus(nullptr);
    window::shell::FormLoadingUI = nullptr;
    window::Form1 = nullptr;
    delete g_setup;
    g_setup = nullptr;
}

void StartupToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        // The start's pictures decode ahead from its first moment, as in the program.
        auto pictures = std::make_unique<window::shell::TSkinPicturesAhead>(
            window::shell::StartupSkinPictures());
        std::unique_ptr<window::TForm1> form = CreateMainWindow();
        {
            PaintCounter counter(form->Widget());
            form->Show();
            QElapsedTimer t;
            t.start();
            while (counter.paints == 0 && t.elapsed() < 10000)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (counter.paints == 0) state.SkipWithError("no paint");
        }
        state.PauseTiming();
        pictures.reset();
        window::Form1 = nullptr;
        form.reset();
        // Every start decodes its pictures afresh, as a start of the program does.
        platform::vcl::TPngImage::ForgetSharedPictures();
        device::ReleaseDeviceHandles();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void WholeFormRefresh(benchmark::State& state) {
    window::TForm1& form = MainWindow();
    const bool paint = state.range(0) != 0;
    QApplication::processEvents();
    for (auto _ : state) {
        window::shell::UiLoadingFlag = 1;
        form.RefreshUI();
        window::shell::UiLoadingFlag = 0;
        if (paint) QApplication::processEvents();
    }
}

void LanguageSwitch(benchmark::State& state) {
    window::TForm1& form = MainWindow();
    const bool paint = state.range(0) != 0;
    QApplication::processEvents();
    for (auto _ : state) {
        form.Btn_Lang2_0Click(nullptr);
        if (paint) QApplication::processEvents();
        form.Btn_Lang1_0Click(nullptr);
        if (paint) QApplication::processEvents();
    }
}

void WholeImageRead(benchmark::State& state) {
    window::TForm1& form = MainWindow();
    g_setup->mouse->SetTransferLatency(static_cast<uint32_t>(state.range(0)));
    for (auto _ : state) {
        form.Btn_Read();
        if (form.DetectedInterface != "I2C") state.SkipWithError("mouse lost");
    }
    g_setup->mouse->SetTransferLatency(0);
}

void MainWindowShape(benchmark::State& state) {
    window::TForm1& form = MainWindow();
    QApplication::processEvents();
    for (auto _ : state)
        form.UpdateShape();
}

void FirstShape(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<window::TForm1> form = CreateMainWindow();
        state.ResumeTiming();
        form->Show();
        form->UpdateShape();
        state.PauseTiming();
        window::Form1 = nullptr;
        form.reset();
        device::ReleaseDeviceHandles();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void ArrivalRead(benchmark::State& state) {
    window::TForm1& form = MainWindow();
    g_setup->mouse->SetTransferLatency(static_cast<uint32_t>(state.range(0)));
    for (auto _ : state) {
        form.ReFindDev();
        if (form.DetectedInterface != "I2C") state.SkipWithError("mouse not found");
    }
    g_setup->mouse->SetTransferLatency(0);
}

} // namespace

BENCHMARK(StartupToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();
// Fresh main windows, before the shared one exists, as the start-up's.
BENCHMARK(FirstShape)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeFormRefresh)->Name("WholeFormRefresh")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeFormRefresh)
    ->Name("WholeFormRefresh/WithPaint")
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LanguageSwitch)->Name("LanguageSwitch")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(LanguageSwitch)
    ->Name("LanguageSwitch/WithPaint")
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(MainWindowShape)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeImageRead)
    ->Name("WholeImageRead/ZeroLatency")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(WholeImageRead)
    ->Name("WholeImageRead/OneMs")
    ->Arg(1)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ArrivalRead)
    ->Name("ArrivalRead/ZeroLatency")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, Prepare, Finish);
}
