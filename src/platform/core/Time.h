#pragma once
// One process-wide time scale for every wait of the program. The product runs at 1;
// tests set a smaller scale so that waits of seconds pass in milliseconds.
#include <chrono>
#include <cstdint>

namespace platform::core {

void SetTimeScale(double scale);
double TimeScale();
// A duration in milliseconds of program time, scaled to real time (at least 0).
uint32_t ScaledMs(uint32_t ms);
// Blocks the calling thread for ms milliseconds of program time.
void Sleep(uint32_t ms);

// A duration in milliseconds of program time, scaled to real time with microsecond
// precision (at least 0): short waits at small scales keep their length instead of
// rounding to nothing.
std::chrono::microseconds ScaledDuration(uint32_t ms);

// How a precise wait goes on from `now`: done once the deadline has come, yielding over
// the last `spinMargin` before it (the kernel's timer wakes late by tens of microseconds),
// and sleeping until `spinMargin` before it while it is further away.
enum class TWaitStep { Done, Yield, SleepUntil };
struct TWaitPlan {
    TWaitStep step;
    std::chrono::steady_clock::time_point wakeAt; // SleepUntil only
};
TWaitPlan PlanWait(std::chrono::steady_clock::time_point now,
                   std::chrono::steady_clock::time_point deadline,
                   std::chrono::microseconds spinMargin);

// Blocks the calling thread until `deadline` (real time), returning within a few
// microseconds after it rather than whenever the kernel's timer wakes it.
void SleepUntilPrecise(std::chrono::steady_clock::time_point deadline);

} // namespace platform::core
