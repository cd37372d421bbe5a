#include "platform/win/backends/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <map>

namespace platform::win {
namespace {

enum Tag : uint8_t {
    kInput = 0x80,
    kOutput = 0x90,
    kCollection = 0xA0,
    kFeature = 0xB0,
    kEndCollection = 0xC0,
    kUsagePage = 0x04,
    kReportSize = 0x74,
    kReportId = 0x84,
    kReportCount = 0x94,
    kPush = 0xA4,
    kPop = 0xB4,
    kUsage = 0x08,
    kLongItem = 0xFE,
};

constexpr uint64_t kMaxBits = uint64_t{1} << 40;

struct GlobalState {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

// Bits per report id, one map per kind (input, output, feature).
struct CollectionBits {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::array<std::map<uint32_t, uint64_t>, 3> bits;
};

uint16_t ByteLength(const std::map<uint32_t, uint64_t>& reports) {
    uint64_t longest = 0;
    for (const auto& [id, bits] : reports)
        longest = std::max(longest, (bits + 7) / 8 + 1);
    return static_cast<uint16_t>(std::min<uint64_t>(longest, 0xFFFF));
}

} // namespace

ReportDescriptorLayout ParseReportDescriptor(const uint8_t* data, size_t size) {
    ReportDescriptorLayout layout;
    std::vector<CollectionBits> collections;
    std::vector<GlobalState> stack;
    GlobalState global;
    uint32_t usage = 0;     // first usage of the current main item (local)
    uint32_t usagePage = 0; // page given with an extended usage
    bool haveUsage = false;
    int depth = 0;

    size_t i = 0;
    while (i < size) {
        const uint8_t prefix = data[i];
        if (prefix == kLongItem) {
            if (i + 1 >= size) break;
            i += 3 + static_cast<size_t>(data[i + 1]);
            continue;
        }
        const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + 1 + length > size) break;
        uint32_t value = 0;
        for (size_t k = 0; k < length; ++k)
            value |= static_cast<uint32_t>(data[i + 1 + k]) << (8 * k);
        i += 1 + length;

        switch (prefix & 0xFC) {
        case kUsagePage:
            global.usagePage = value;
            break;
        case kReportSize:
            global.reportSize = value;
            break;
        case kReportCount:
            global.reportCount = value;
            break;
        case kReportId:
            global.reportId = value;
            layout.numberedReports = true;
            break;
        case kPush:
            stack.push_back(global);
            break;
        case kPop:
            if (!stack.empty()) {
                global = stack.back();
                stack.pop_back();
            }
            break;
        case kUsage:
            if (!haveUsage) {
                usage = value & 0xFFFF;
                usagePage = length == 4 ? value >> 16 : global.usagePage;
                haveUsage = true;
            }
            break;
        case kCollection:
            if (depth == 0) {
                CollectionBits c;
                c.usagePage = static_cast<uint16_t>(haveUsage ? usagePage : global.usagePage);
                c.usage = static_cast<uint16_t>(haveUsage ? usage : 0);
                collections.push_back(c);
            }
            ++depth;
            haveUsage = false;
            break;
        case kEndCollection:
            if (depth > 0) --depth;
            haveUsage = false;
            break;
        case kInput:
        case kOutput:
        case kFeature: {
            if (depth > 0 && !collections.empty()) {
                const int kind = (prefix & 0xFC) == kInput ? 0 : (prefix & 0xFC) == kOutput ? 1 : 2;
                // Saturates, so absurd sizes in a broken descriptor cannot wrap around.
                uint64_t& bits = collections.back().bits[kind][global.reportId];
                bits = std::min(
                    bits + static_cast<uint64_t>(global.reportSize) * global.reportCount, kMaxBits);
            }
            haveUsage = false;
            break;
        }
        default:
            break;
        }
    }

    for (const CollectionBits& c : collections) {
        TopLevelCollection t;
        t.usagePage = c.usagePage;
        t.usage = c.usage;
        t.inputReportByteLength = ByteLength(c.bits[0]);
        t.outputReportByteLength = ByteLength(c.bits[1]);
        t.featureReportByteLength = ByteLength(c.bits[2]);
        layout.collections.push_back(t);
    }
    return layout;
}

} // namespace platform::win
