#pragma once
// What the tests against the simulated mouse check of the profile writes: the reports the
// host sent and the checksum a profile section must carry, computed here on its own.
#include "simulator/SimBus.h"

#include <array>
#include <cstdint>
#include <vector>

namespace devtest {

using Report = std::array<uint8_t, 8>;

// The reports the host sent (command and data writes), in order.
inline std::vector<Report> HostReports(const simulator::SimBus& bus) {
    std::vector<Report> sent;
    for (const simulator::TranscriptEntry& e : bus.Transcript())
        if (e.kind == simulator::TransferKind::SetFeature) sent.push_back(e.bytes);
    return sent;
}

// (Sum of the bytes before the checksum byte) XOR 5A.
inline uint8_t SectionStamp(const std::vector<uint8_t>& section) {
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < section.size(); ++i)
        sum += section[i];
    return static_cast<uint8_t>((sum & 0xFF) ^ 0x5A);
}

} // namespace devtest
