// The polling thread and the live status it refreshes: the DPI level marks and the profile
// page, read back from the mouse after its own buttons changed them.
#include "window/device/ThreadGetData.h"

#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "platform/win/Kernel.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace window::device {

namespace {

namespace win = platform::win;

// The largest input report the capabilities can describe (a 16-bit length).
constexpr size_t MaxInputReportLength = 0x10000;
// Program time between passes while no device is open or its reads keep failing.
constexpr uint32_t IdlePauseMs = 50;

std::unique_ptr<TPrimeThread> g_primeThread;
std::atomic<int> g_waitingForWindow{0};

// Runs f on the window's thread and waits for it; at once when already there.
void OnWindowThread(const std::function<void()>& f) {
    ++g_waitingForWindow;
    struct Done {
        ~Done() { --g_waitingForWindow; }
    } done;
    platform::vcl::TThread::Synchronize(f);
}

bool DeviceHasI2CMemory(window::TForm1& form) {
    bool i2c = false;
    OnWindowThread([&] { i2c = form.DetectedInterface == "I2C"; });
    return i2c;
}

// One byte of the image memory, read whole as a block is: a short or lost reply is asked
// again. False when it did not come; a mouse that stopped answering is left for the
// device timer to report.
bool ReadImageByte(uint16_t address, uint8_t& value) {
    return ::device::ReadEepromBlockWhole(address, 1, &value);
}

} // namespace

// ---- The thread ---------------------------------------------------------------------

TPrimeThread::TPrimeThread(window::TForm1& form)
    : platform::vcl::TThread(true), form_(form), report_(MaxInputReportLength) {}

TPrimeThread::~TPrimeThread() {
    Stop();
}

void TPrimeThread::Stop() {
    {
        std::lock_guard lock(idleMutex_);
        Terminate();
    }
    idleWake_.notify_all();
    // Wakes a read blocked on the report handle; the handle itself stays open for the
    // window to release. A cancel outlasts the read it wakes (later reads on the handle
    // fail too), so it is sent only when the thread reads or is about to: a thread that
    // marks itself reading after this point sees the stop before it reads.
    if (reading_) {
        const platform::win::HANDLE readHandle = ::device::ReadWriteHandle;
        if (readHandle != win::INVALID_HANDLE_VALUE) win::CancelIoEx(readHandle, nullptr);
    }
    WaitFor();
}

void TPrimeThread::IdlePause() {
    const auto real = std::chrono::duration<double, std::milli>(
        std::max(1.0, IdlePauseMs * platform::core::TimeScale()));
    std::unique_lock lock(idleMutex_);
    idleWake_.wait_for(lock, real, [this] { return Terminated(); });
}

void TPrimeThread::Execute() {
    const auto settle = [this] {
        const auto real =
            std::chrono::duration<double, std::milli>(StatusSettleMs * platform::core::TimeScale());
        std::unique_lock lock(idleMutex_);
        idleWake_.wait_for(lock, real, [this] { return Terminated(); });
    };
    const auto stopping = [this] { return Terminated(); };
    while (!Terminated()) {
        std::fill(report_.begin(), report_.end(), uint8_t{0});
        if (::device::ReadWriteHandle == win::INVALID_HANDLE_VALUE) {
            IdlePause();
            continue;
        }
        reading_ = true;
        if (Terminated()) {
            reading_ = false;
            break;
        }
        // Blocks until the mouse sends a report, or the read is woken or fails.
        const bool read = ::device::ReadInputReport(report_.data());
        reading_ = false;
        if (!read) {
            // A mouse that went away fails every read until the window notices the loss
            // and releases the handle; no need to spin meanwhile.
            IdlePause();
            continue;
        }
        HandleStatusReport(form_, report_.data(), settle, stopping);
    }
}

void HandleStatusReport(window::TForm1& form, const uint8_t* report,
                        const std::function<void()>& pause, const std::function<bool()>& stopping) {
    if (report[0] != StatusReportId || report[3] > EventProfile) return;
    switch (report[3]) {
    case EventDpi1:
        form.DpiChangedFlag1 = 1;
        return;
    case EventDpi2:
        form.DpiChangedFlag2 = 1;
        return;
    case EventDpi3:
        form.DpiChangedFlag3 = 1;
        return;
    case EventProfile:
        form.ProfileChangedFlag = 1;
        return;
    case EventEndOfChange:
        break;
    default:
        // Two or more event bits at once name no event.
        return;
    }
    // Each change gets its own pause and its own read, so that the mouse has settled on
    // the value it reports.
    for (uint8_t* flag : {&form.DpiChangedFlag1, &form.DpiChangedFlag2, &form.DpiChangedFlag3}) {
        if (!*flag) continue;
        pause();
        if (stopping()) return;
        form.RefreshCurrentDPIStatus(nullptr);
        *flag = 0;
    }
    if (form.ProfileChangedFlag) {
        pause();
        if (stopping()) return;
        form.RefreshCurrentProfileStatus(nullptr);
        form.ProfileChangedFlag = 0;
    }
}

void StartPrimeThread(window::TForm1& form) {
    StopPrimeThread();
    auto thread = std::make_unique<TPrimeThread>(form);
    thread->SetPriority(platform::vcl::tpLower);
    thread->Start();
    g_primeThread = std::move(thread);
}

void StopPrimeThread(const window::TForm1* form) {
    if (!g_primeThread) return;
    if (form && &g_primeThread->Form() != form) return;
    // Cleared first: whatever the window runs while the stop waits sees no thread.
    std::unique_ptr<TPrimeThread> thread = std::move(g_primeThread);
    thread->Stop();
}

bool PrimeThreadRunning() {
    return g_primeThread && !g_primeThread->Finished();
}

long PrimeThreadNativeId() {
    return PrimeThreadRunning() ? g_primeThread->NativeThreadId() : 0;
}

namespace testing {
bool PrimeThreadWaitingForWindow() {
    return g_waitingForWindow.load() > 0;
}
} // namespace testing

} // namespace window::device

// ---- The live status on the window ----------------------------------------------------

namespace window {

namespace {

const char* const MenuFamilies[] = {"Img_Main_",   "Img_Switch_", "Img_Fixed_",  "Img_Adv_",
                                    "Img_Breath_", "Img_Macro_",  "Img_Update_", "Img_Engineer_"};
const char* const ProfileFamilies[] = {"Img_Main_", "Img_Switch_", "Img_Fixed_"};

} // namespace

// Runs on the polling thread (or on the window's, when called there): the read takes the
// exchange lock by itself, the window is changed on the window's thread.
// A read that did not come is not shown: the marks and the profile keep what they showed.
void TForm1::RefreshCurrentDPIStatus(platform::vcl::TObject* /*Sender*/) {
    uint8_t level = 0;
    if (device::DeviceHasI2CMemory(*this) &&
        !device::ReadImageByte(device::CurrentDpiLevelAddress, level))
        return;
    device::OnWindowThread([&] { ShowCurrentDPILevel(level); });
}

void TForm1::RefreshCurrentProfileStatus(platform::vcl::TObject* /*Sender*/) {
    uint8_t byte = 0;
    if (device::DeviceHasI2CMemory(*this) &&
        !device::ReadImageByte(device::CurrentProfileAddress, byte))
        return;
    // The high four bits are the profile's colour.
    const int profile = byte & 0x0F;
    device::OnWindowThread([&] { ShowCurrentProfile(profile); });
}

void TForm1::ShowCurrentDPILevel(int level) {
    platform::vcl::TPngImage decoder;
    for (int n = 1; n <= 8; ++n)
        shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_DPI" + std::to_string(n)), "CbS_D",
                           decoder);
    if (level >= 0 && level <= 7) {
        Named<platform::vcl::TRadioButton>("rb_DPI" + std::to_string(level + 1)).SetChecked(true);
        shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_DPI" + std::to_string(level + 1)),
                           "CbS_E", decoder);
    }
    CurrentCPILevel = level;
}

void TForm1::ShowCurrentProfile(int profile) {
    if (profile < 0 || profile > 2) return;
    platform::vcl::TPngImage decoder;
    shell::LoadSkinPng(*Img_P1, "L" + std::to_string(LanguageNumber) + "_Back1", decoder);
    for (int i = 1; i <= 5; ++i)
        for (const char* family : MenuFamilies) {
            // The third profile leaves the engineering entry as it is.
            if (profile == 2 && std::string(family) == "Img_Engineer_") continue;
            shell::LoadSkinPng(Named<platform::vcl::TImage>(family + std::to_string(i)), "SetS_01",
                               decoder);
        }
    for (int i = 1; i <= 5; ++i)
        shell::LoadSkinPng(
            Named<platform::vcl::TImage>(ProfileFamilies[profile] + std::to_string(i)), "SetS_03",
            decoder);
    (profile == 0 ? rb_1 : profile == 1 ? rb_2 : rb_3)->SetChecked(true);
    cb_Profile->SetItemIndex(profile);
    ArrangeProfileMenus(profile);
    ShowOnlyPage(gbPage1);
    RefreshProfileKeys(profile + 1);
}

} // namespace window
