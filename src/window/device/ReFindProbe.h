#pragma once
// The look for a mouse that stopped answering while it stayed on the bus. Every transfer
// to such a mouse may take the system's time-out, so the look is made on a thread of its
// own, with handles and a report buffer of its own, and the window only reads its outcome:
// the window stays usable however long the mouse keeps silent or answers only in part. A
// probe proves the mouse as the re-find needs it (the handshake and its identity block read
// whole), and the window opens only an interface that has just passed one.
#include "device/Subroutines.h"
#include "platform/vcl/Component.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace window {
class TForm1;
}

namespace window::device {

class TReFindProbe : public platform::vcl::TComponent {
public:
    explicit TReFindProbe(platform::vcl::TComponent* owner);
    // Joins the probe in progress (it ends after its transfer in progress).
    ~TReFindProbe() override;

    // One device-timer tick of the look: the key of the interface a probe proved since the
    // last tick, or an empty key. Otherwise a probe of the interfaces `accept` takes is
    // started when none runs and the pause has passed. The pause grows from none to
    // PauseTicksAtMost ticks with every probe, proved or not, until a re-find succeeds.
    ::device::InterfaceKey Tick(std::function<bool(const ::device::InterfaceKey&)> accept);
    // A probe is in progress.
    bool Running() const { return running_; }
    // The mouse was re-found and read: the pauses start again from none.
    void Succeeded();
    // Lets the probe in progress end after its transfer in progress and joins it. Called
    // when the window goes.
    void Stop();

    static constexpr int PauseTicksAtMost = 7;

private:
    void Start(std::function<bool(const ::device::InterfaceKey&)> accept);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::mutex provenMutex_;
    ::device::InterfaceKey proven_;
    int probesInRow_ = 0;
    int ticksToWait_ = 0;
};

// The window's probe, made at its first use; it goes with the window.
TReFindProbe& ReFindProbeOf(window::TForm1& form);
// Tells the window's probe, if it has one, that the mouse was re-found.
void ReFindSucceeded(window::TForm1& form);

} // namespace window::device
