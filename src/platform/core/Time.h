#pragma once
// One process-wide time scale for every wait of the program. The product runs at 1;
// tests set a smaller scale so that waits of seconds pass in milliseconds.
#include <cstdint>

namespace platform {

void SetTimeScale(double scale);
double TimeScale();
// A duration in milliseconds of program time, scaled to real time (at least 0).
uint32_t ScaledMs(uint32_t ms);
// Blocks the calling thread for ms milliseconds of program time.
void Sleep(uint32_t ms);

} // namespace platform
