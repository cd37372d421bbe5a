#include "window/device/ReFindProbe.h"

#include "window/Main.h"

#include <algorithm>
#include <utility>
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

::device::InterfaceKey
TReFindProbe::Tick(std::function<bool(const ::device::InterfaceKey&)> accept) {
    if (running_) return {};
    if (thread_.joinable()) {
        thread_.join();
        // 0, 1, 3, 7, 7, ... ticks between the end of a probe and the next one, until the
        // mouse is shown: a mouse that passes a probe and then fails the window's read is
        // not looked at more often than a silent one.
        ++probesInRow_;
        ticksToWait_ = std::min((1 << std::min(probesInRow_ - 1, 8)) - 1, PauseTicksAtMost);
        std::lock_guard lock(provenMutex_);
        if (!proven_.empty()) return std::exchange(proven_, {});
    }
    if (ticksToWait_ > 0) {
        --ticksToWait_;
        return {};
    }
    Start(std::move(accept));
    return {};
}

void TReFindProbe::Start(std::function<bool(const ::device::InterfaceKey&)> accept) {
    // The id table belongs to the window's thread; the probe takes a copy.
    std::vector<::device::DeviceIdEntry> ids;
    for (const ::device::DeviceIdEntry& entry : ::device::DeviceIdTable)
        if (entry.vendorId != 0 && entry.productId != 0) ids.push_back(entry);
    stop_ = false;
    running_ = true;
    thread_ = std::thread([this, ids = std::move(ids), accept = std::move(accept)] {
        ::device::InterfaceKey proven;
        for (const ::device::DeviceIdEntry& entry : ids)
            if (proven.empty() && !stop_)
                proven = ::device::ProbeDevice(entry.vendorId, entry.productId, stop_, accept);
        {
            std::lock_guard lock(provenMutex_);
            proven_ = std::move(proven);
        }
        running_ = false;
    });
}

void TReFindProbe::Succeeded() {
    probesInRow_ = 0;
    ticksToWait_ = 0;
}

void TReFindProbe::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    running_ = false;
    std::lock_guard lock(provenMutex_);
    proven_.clear();
}

TReFindProbe& ReFindProbeOf(window::TForm1& form) {
    if (TReFindProbe* probe = FindProbe(form)) return *probe;
    auto* probe = new TReFindProbe(&form); // owned, and so deleted, by the window
    probe->SetName(kProbeName);
    return *probe;
}

void ReFindSucceeded(window::TForm1& form) {
    if (TReFindProbe* probe = FindProbe(form)) probe->Succeeded();
}

} // namespace window::device
