#pragma once
// Builds GIF files in memory with giflib's encoder, so decoder tests can state exactly
// which frames, colour maps and control blocks a picture holds.
#include <gif_lib.h>

#include <cstdint>
#include <vector>

namespace gif_test {

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> pixels;            // width * height colour indexes
    std::vector<GifColorType> localColours; // empty: the global map applies
    bool controlBlock = true;
    int delay = 0; // hundredths of a second
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparent = NO_TRANSPARENT_COLOR;
};

// Returns the GIF's bytes; empty when giflib refused to write it.
std::vector<unsigned char> BuildGif(int width, int height,
                                    const std::vector<GifColorType>& globalColours,
                                    const std::vector<Frame>& frames);

// A frame of one colour index.
Frame Solid(int left, int top, int width, int height, uint8_t index);

} // namespace gif_test
