#pragma once
// Test helpers: bytes written as "12 34 AB" text, and patterned sections whose bytes a
// routine must either replace or leave alone.
#include "device/DeviceImage.h"

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace image_test {

inline std::vector<uint8_t> Hex(std::string_view text) {
    std::vector<uint8_t> out;
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw std::invalid_argument("hex digit");
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
        i += 2;
    }
    return out;
}

// Writes the bytes of `text` into `bytes` at `at`.
template <typename Bytes> void Put(Bytes& bytes, size_t at, std::string_view text) {
    for (uint8_t b : Hex(text))
        bytes.at(at++) = b;
}

// A section whose every byte differs from its neighbours and from the defaults' values.
template <size_t N> device::TBytes<N> Patterned(uint8_t seed = 0x5C) {
    device::TBytes<N> bytes{};
    for (size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<uint8_t>(seed + 37 * i);
    return bytes;
}

template <size_t N>
std::vector<uint8_t> Slice(const device::TBytes<N>& bytes, size_t at, size_t n) {
    return std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + n);
}

} // namespace image_test
