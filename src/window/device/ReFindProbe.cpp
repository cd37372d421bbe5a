#include "window/device/ReFindProbe.h"

#include "device/Subroutines.h"
#include "window/Main.h"

#include <algorithm>
#include <vector>

namespace window::device {

namespace {

constexpr char kProbeName[] = "ReFindProbe";

TReFindProbe* FindProbe(const window::TForm1& form) {
    return dynamic_cast<TReFindProbe*>(form.FindComponent(kProbeName));
}

} // namespace

TReFindProbe::TReFindProbe(platform::vcl::TComponent* owner) : TComponent(owner) {}

TReFindProbe::~TReFindProbe() {
    Stop();
}

bool TReFindProbe::Tick() {
    if (running_) return false;
    if (thread_.joinable()) {
        thread_.join();
        if (answered_) {
            silentInRow_ = 0;
            ticksToWait_ = 0;
            return true;
        }
        // 0, 1, 3, 7, 7, ... ticks between the end of a silent probe and the next one.
        ++silentInRow_;
        ticksToWait_ = std::min((1 << std::min(silentInRow_ - 1, 8)) - 1, PauseTicksAtMost);
    }
    if (ticksToWait_ > 0) {
        --ticksToWait_;
        return false;
    }
    Start();
    return false;
}

void TReFindProbe::Start() {
    // The id table belongs to the window's thread; the probe takes a copy.
    std::vector<::device::DeviceIdEntry> ids;
    for (const ::device::DeviceIdEntry& entry : ::device::DeviceIdTable)
        if (entry.vendorId != 0 && entry.productId != 0) ids.push_back(entry);
    stop_ = false;
    answered_ = false;
    running_ = true;
    thread_ = std::thread([this, ids = std::move(ids)] {
        bool answered = false;
        for (const ::device::DeviceIdEntry& entry : ids)
            if (!answered && !stop_)
                answered = ::device::ProbeDevice(entry.vendorId, entry.productId, stop_);
        answered_ = answered;
        running_ = false;
    });
}

void TReFindProbe::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    running_ = false;
    answered_ = false;
    silentInRow_ = 0;
    ticksToWait_ = 0;
}

TReFindProbe& ReFindProbeOf(window::TForm1& form) {
    if (TReFindProbe* probe = FindProbe(form)) return *probe;
    auto* probe = new TReFindProbe(&form); // owned, and so deleted, by the window
    probe->SetName(kProbeName);
    return *probe;
}

void StopReFindProbe(window::TForm1& form) {
    if (TReFindProbe* probe = FindProbe(form)) probe->Stop();
}

} // namespace window::device
