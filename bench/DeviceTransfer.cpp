// Whole-image transfers against the simulated mouse, with the program's busy window
// stepping before every data report, as the main window's reads and writes run them.
//
//   bench_DeviceTransfer                     (offscreen unless QT_QPA_PLATFORM is set)
//   QT_QPA_PLATFORM=xcb DISPLAY=:N bench_DeviceTransfer     (on an X server, e.g. Xvfb :N)
//
// The main window is the program's own: built from its design with FormCreate run, so
// that the busy window stands over its skin as it does for the user. (Without FormCreate
// the window is all colour key but its captions, and on an X server every frame of the
// busy animation then lays bare the desktop behind a shape of thousands of pieces.)
//
// The "per_transfer" counter is the time of one feature transfer (294 per image). The
// ZeroLatency runs measure the program's own cost: the device answers at once, and
// SimulatorOnly measures what the simulated device itself takes for the same 294
// transfers, to be subtracted. The OneMs runs make every transfer take 1 ms on the device
// side (waited to the microsecond): the whole image then should take about 294 ms;
// SimulatorOnly/OneMs shows what the simulated device alone takes on this machine.
#include "BenchMain.h"
#include "device/Subroutines.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"
#include "window/Main.h"
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr uint16_t kVendor = 0x1209;
constexpr uint16_t kProduct = 0x08B9;
constexpr int kTransfers = 294;

struct Setup {
    std::shared_ptr<simulator::SimBus> bus;
    std::shared_ptr<simulator::SimMouse> mouse;
    std::unique_ptr<window::TForm1> main;
    std::unique_ptr<window::shell::TFormLoadingUI> busy;
};

Setup* g_setup = nullptr;

void Prepare() {
    auto* s = new Setup;
    s->bus = std::make_shared<simulator::SimBus>();
    s->bus->SetTranscriptLimit(0);
    simulator::SimMouseConfig config;
    config.vendorId = kVendor;
    config.productId = kProduct;
    s->mouse = s->bus->AddMouse(config);
    s->bus->AddKeyboard();
    platform::win::SetBus(s->bus);
    s->main = std::make_unique<window::TForm1>(nullptr);
    window::Form1 = s->main.get();
    if (!s->main->DoCreate()) std::abort();
    KeepDeviceTimerAway(*s->main->DevTimer);
    s->main->SetBounds(100, 100, 1030, 662);
    s->main->Show();
    // The main window comes up, draws and takes its shape before any run, as it has long
    // done when the user starts a transfer: the first steps would otherwise be charged
    // with it.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    s->busy = std::make_unique<window::shell::TFormLoadingUI>(nullptr);
    window::shell::FormLoadingUI = s->busy.get();
    s->busy->DoCreate();
    window::shell::InstallBusyWindow();
    if (!device::OpenDevice(kVendor, kProduct)) std::abort();
    g_setup = s;
}

void Finish() {
    window::shell::UninstallBusyWindow();
    device::ReleaseDeviceHandles();
    platform::win::SetBus(nullptr);
    window::shell::FormLoadingUI = nullptr;
    window::Form1 = nullptr;
    delete g_setup;
    g_setup = nullptr;
}

void Count(benchmark::State& state) {
    state.counters["per_transfer"] = benchmark::Counter(
        kTransfers, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Times the busy-window steps a transfer makes: the real time they add to a whole image
// ("busy_ms" a run), which on a loaded machine stands out more clearly than the
// difference of two whole-image times. The steps that handle messages ("busy_rounds" an
// image) are told apart from the quiet ones, whose mean time is "quiet_step_us".
class StepClock : public device::BusyWindow {
public:
    explicit StepClock(benchmark::State& state) : state_(state), inner_(device::GetBusyWindow()) {
        device::SetBusyWindow(this);
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         &watch_, [this] { handled_ = true; });
    }
    ~StepClock() override {
        device::SetBusyWindow(inner_);
        using Ms = std::chrono::duration<double, std::milli>;
        state_.counters["busy_ms"] =
            benchmark::Counter(Ms(quiet_ + rounds_).count(), benchmark::Counter::kAvgIterations);
        state_.counters["busy_rounds"] =
            benchmark::Counter(roundCount_, benchmark::Counter::kAvgIterations);
        state_.counters["quiet_step_us"] =
            quietCount_ ? 1000 * Ms(quiet_).count() / quietCount_ : 0.0;
    }
    void Step() override {
        handled_ = false;
        const auto start = std::chrono::steady_clock::now();
        inner_->Step();
        const auto spent = std::chrono::steady_clock::now() - start;
        if (handled_) {
            rounds_ += spent;
            ++roundCount_;
        } else {
            quiet_ += spent;
            ++quietCount_;
        }
    }
    void Hide() override { inner_->Hide(); }

private:
    benchmark::State& state_;
    device::BusyWindow* inner_;
    QObject watch_;
    bool handled_ = false;
    std::chrono::steady_clock::duration quiet_{}, rounds_{};
    long quietCount_ = 0, roundCount_ = 0;
};

void WholeImageRead(benchmark::State& state) {
    g_setup->mouse->SetTransferLatency(static_cast<uint32_t>(state.range(0)));
    // Second argument 0: the same read without any busy window, for comparison.
    if (state.range(1) == 0) device::SetBusyWindow(nullptr);
    std::vector<uint8_t> image(2048);
    {
        std::optional<StepClock> clock;
        if (state.range(1) != 0) clock.emplace(state);
        for (auto _ : state) {
            if (!device::ReadEepromBlockWithWait(0, 2048, image.data()))
                state.SkipWithError("read");
            benchmark::DoNotOptimize(image.data());
        }
    }
    if (state.range(1) == 0) window::shell::InstallBusyWindow();
    device::GetBusyWindow()->Hide();
    g_setup->mouse->SetTransferLatency(0);
    Count(state);
}

void WholeImageWrite(benchmark::State& state) {
    g_setup->mouse->SetTransferLatency(static_cast<uint32_t>(state.range(0)));
    std::vector<uint8_t> image(2048, 0x5A);
    {
        StepClock clock(state);
        for (auto _ : state) {
            if (!device::WriteEepromBlock(0, 2048, image.data())) state.SkipWithError("write");
        }
    }
    device::GetBusyWindow()->Hide();
    g_setup->mouse->SetTransferLatency(0);
    Count(state);
}

// The simulated device alone: the same 294 transfers made straight on its connection.
void SimulatorOnly(benchmark::State& state) {
    g_setup->mouse->SetTransferLatency(static_cast<uint32_t>(state.range(0)));
    platform::win::HidError error{};
    auto handle =
        g_setup->bus->Open(g_setup->mouse->Path(), platform::win::OpenAccess::Query, error);
    for (auto _ : state) {
        uint8_t command[8] = {0x40, 0x09, 0x00, 0x00, 0x08, 0x00, 0, 0};
        handle->SetFeature(command, 8, error);
        for (int i = 0; i < kTransfers - 1; ++i) {
            uint8_t reply[8] = {0x41};
            handle->GetFeature(reply, 8, error);
            benchmark::DoNotOptimize(reply);
        }
    }
    g_setup->mouse->SetTransferLatency(0);
    Count(state);
}

// One busy-window step on its own, the window already showing.
void BusyWindowStep(benchmark::State& state) {
    for (auto _ : state)
        device::GetBusyWindow()->Step();
    device::GetBusyWindow()->Hide();
}

// The busy window working out its shape afresh, as it does for a frame not seen before.
void BusyWindowShape(benchmark::State& state) {
    device::GetBusyWindow()->Step();
    for (auto _ : state)
        g_setup->busy->UpdateShape();
    device::GetBusyWindow()->Hide();
}

// What the showing busy window does at a frame change of its animation: draws the next
// frame and takes its shape (worked out once per frame, then reused).
void BusyWindowFrameChange(benchmark::State& state) {
    device::GetBusyWindow()->Step();
    support::TGifAnimatorControl* gif = g_setup->busy->WaitGif;
    gif->SetAnimate(false);
    const int frames = gif->Animator()->FrameCount();
    for (auto _ : state) {
        gif->SetFrameIndex((gif->FrameIndex() + 1) % frames);
        platform::vcl::Application()->ProcessMessages();
    }
    gif->SetAnimate(true);
    device::GetBusyWindow()->Hide();
}

// Building the busy window as the program block does at start, its animation decoded.
void BusyWindowCreate(benchmark::State& state) {
    for (auto _ : state) {
        window::shell::TFormLoadingUI window(nullptr);
        benchmark::DoNotOptimize(window.WaitGif->Animator()->FrameCount());
    }
}

} // namespace

BENCHMARK(BusyWindowCreate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BusyWindowFrameChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BusyWindowShape)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeImageRead)
    ->Name("WholeImageRead/ZeroLatency")
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WholeImageWrite)
    ->Name("WholeImageWrite/ZeroLatency")
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SimulatorOnly)->Name("SimulatorOnly/ZeroLatency")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BusyWindowStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(WholeImageRead)
    ->Name("WholeImageRead/OneMs")
    ->Args({1, 1})
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WholeImageRead)
    ->Name("WholeImageRead/OneMs/NoBusyWindow")
    ->Args({1, 0})
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WholeImageWrite)
    ->Name("WholeImageWrite/OneMs")
    ->Arg(1)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(SimulatorOnly)
    ->Name("SimulatorOnly/OneMs")
    ->Arg(1)
    ->Iterations(10)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, Prepare, Finish);
}
