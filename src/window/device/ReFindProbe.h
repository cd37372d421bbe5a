#pragma once
// The look for a mouse that stopped answering while it stayed on the bus. Every handshake
// with such a mouse may take the system's time-out, so it is made on a thread of its own,
// with handles and a report buffer of its own, and the window only reads its outcome: the
// window stays usable however long the mouse keeps silent, and re-finds and reads it on
// its own thread once the mouse answered a probe.
#include "platform/vcl/Component.h"

#include <atomic>
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

    // One device-timer tick of the look: true when a probe ended since the last tick and
    // the mouse answered it. Otherwise a probe is started when none runs and the pause
    // after the silent ones has passed: the pause grows from none to PauseTicksAtMost
    // ticks while the mouse keeps silent.
    bool Tick();
    // A probe is in progress.
    bool Running() const { return running_; }
    // Lets the probe in progress end after its transfer in progress and joins it; the
    // pauses start again from none. The window calls it before it opens a mouse itself.
    void Stop();

    static constexpr int PauseTicksAtMost = 7;

private:
    void Start();

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> answered_{false};
    int silentInRow_ = 0;
    int ticksToWait_ = 0;
};

// The window's probe, made at its first use; it goes with the window.
TReFindProbe& ReFindProbeOf(window::TForm1& form);
// Stops the window's probe, if it has one.
void StopReFindProbe(window::TForm1& form);

} // namespace window::device
