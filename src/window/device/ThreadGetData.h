#pragma once
// Unit ThreadGetData: the polling thread that follows the DPI and profile buttons of the
// mouse itself. It waits for the mouse's input reports and, once the mouse signals the end
// of a change, reads the new DPI level or profile and brings the main window up to date.
//
// The thread reads the device on its own (each read is an exchange, so it never interleaves
// with the window's) and hands every control change to the window's thread; it never
// waits for the window while it holds the exchange lock.
#include "device/DeviceImage.h"
#include "platform/vcl/Threads.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace window {
class TForm1;
}

namespace window::device {

// Input report 42: byte 3 says what changed on the mouse.
inline constexpr uint8_t StatusReportId = 0x42;
inline constexpr uint8_t EventEndOfChange = 0;
inline constexpr uint8_t EventDpi1 = 1;
inline constexpr uint8_t EventDpi2 = 2;
inline constexpr uint8_t EventDpi3 = 4;
inline constexpr uint8_t EventProfile = 8;

// Image addresses of the user section the refreshes read back.
inline constexpr uint16_t CurrentProfileAddress =
    ::device::image::User.Offset + ::device::image::UserProfileAndColour; // profile in bits 3..0
inline constexpr uint16_t CurrentDpiLevelAddress =
    ::device::image::User.Offset + ::device::image::UserCpiLevel;

// The mouse is given this long (program time) after a change before it is asked for it.
inline constexpr uint32_t StatusSettleMs = 200;

class TPrimeThread : public platform::vcl::TThread {
public:
    // Created suspended; StartPrimeThread starts it.
    explicit TPrimeThread(window::TForm1& form);
    // Stops it: see Stop.
    ~TPrimeThread() override;

    // Asks the thread to end, wakes it from a blocked report read or an idle pause, and
    // waits for it. On the window's thread the wait keeps handling posted calls, so a
    // window update the thread is waiting for completes first.
    void Stop();
    window::TForm1& Form() const { return form_; }

protected:
    void Execute() override;

private:
    // A short wait between passes while no device is open or its reads fail; a stop ends
    // it at once.
    void IdlePause();

    window::TForm1& form_;
    // Holds a whole input report of any length the capabilities can give.
    std::vector<uint8_t> report_;
    std::atomic<bool> reading_{false};
    std::mutex idleMutex_;
    std::condition_variable idleWake_;
};

// Starts the one polling thread for the window, at below-normal priority. A thread already
// running (for another window) is stopped first.
void StartPrimeThread(window::TForm1& form);
// Stops and frees the polling thread; with a window given, only when it serves that window.
// Call before the device handles are released and before the window goes.
void StopPrimeThread(const window::TForm1* form = nullptr);
bool PrimeThreadRunning();
// The system's id of the running polling thread (its task id), 0 while none runs.
long PrimeThreadNativeId();

// Handles one input report as the polling thread does: byte 0 must be 42 and byte 3 at
// most 8. Events 1, 2, 4 and 8 set their change flag; an end-of-change report runs, for
// each flag set (the DPI flags first, then the profile), `pause` and then its refresh, and
// clears the flag. A refresh is left out, its flag kept, once `stopping` answers true.
void HandleStatusReport(window::TForm1& form, const uint8_t* report,
                        const std::function<void()>& pause, const std::function<bool()>& stopping);

namespace testing {
// True while the polling thread waits for the window's thread to run an update.
bool PrimeThreadWaitingForWindow();
} // namespace testing

} // namespace window::device
