#include "platform/core/Time.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

namespace platform {
namespace {
std::atomic<double> g_scale{1.0};
}

void SetTimeScale(double scale) { g_scale.store(scale > 0 ? scale : 0.0); }

double TimeScale() { return g_scale.load(); }

uint32_t ScaledMs(uint32_t ms) {
    const long long scaled = std::llround(static_cast<double>(ms) * g_scale.load());
    return scaled < 0 ? 0u : static_cast<uint32_t>(scaled);
}

void Sleep(uint32_t ms) {
    const uint32_t real = ScaledMs(ms);
    if (real > 0) std::this_thread::sleep_for(std::chrono::milliseconds(real));
    else std::this_thread::yield();
}

} // namespace platform
