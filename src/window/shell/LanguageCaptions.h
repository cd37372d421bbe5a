#pragma once
// The engineering page's captions in the locale's language (unit Lang holds the texts).
#include <array>
#include <string>

namespace window::shell {

// The LED mode names of the three LED types, from the caption table: entries 0-5 the RGB
// LED's modes, 6-8 the sync LED's, 9-13 the ZK LED's. The engineering page's LED routines
// show them.
inline constexpr int LedModeNameCount = 14;
extern std::array<std::string, LedModeNameCount> LedModeNames;

} // namespace window::shell
