#include "platform/core/Time.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <time.h>

namespace platform::core {
namespace {
std::atomic<double> g_scale{1.0};
// Timer wake-ups run late by up to ~100 us on a busy machine; yielding over this last
// stretch costs little and keeps the wait exact.
constexpr std::chrono::microseconds kSpinMargin{200};

// steady_clock is CLOCK_MONOTONIC: sleeping to an absolute time of that clock keeps a
// signal or a late start from stretching the wait.
void SleepUntilTimer(std::chrono::steady_clock::time_point wakeAt) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(wakeAt.time_since_epoch()).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
}
} // namespace

void SetTimeScale(double scale) {
    g_scale.store(scale > 0 ? scale : 0.0);
}

double TimeScale() {
    return g_scale.load();
}

uint32_t ScaledMs(uint32_t ms) {
    const long long scaled = std::llround(static_cast<double>(ms) * g_scale.load());
    return scaled < 0 ? 0u : static_cast<uint32_t>(scaled);
}

void Sleep(uint32_t ms) {
    const uint32_t real = ScaledMs(ms);
    if (real > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(real));
    else
        std::this_thread::yield();
}

std::chrono::microseconds ScaledDuration(uint32_t ms) {
    const long long scaled = std::llround(static_cast<double>(ms) * 1000.0 * g_scale.load());
    return std::chrono::microseconds(scaled < 0 ? 0 : scaled);
}

TWaitPlan PlanWait(std::chrono::steady_clock::time_point now,
                   std::chrono::steady_clock::time_point deadline,
                   std::chrono::microseconds spinMargin) {
    if (now >= deadline) return {TWaitStep::Done, {}};
    if (deadline - now <= spinMargin) return {TWaitStep::Yield, {}};
    return {TWaitStep::SleepUntil, deadline - spinMargin};
}

void SleepUntilPrecise(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const TWaitPlan plan = PlanWait(std::chrono::steady_clock::now(), deadline, kSpinMargin);
        if (plan.step == TWaitStep::Done) return;
        if (plan.step == TWaitStep::Yield)
            std::this_thread::yield();
        else
            SleepUntilTimer(plan.wakeAt);
    }
}

} // namespace platform::core
