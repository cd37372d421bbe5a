// The HID report descriptor parser on any bytes: a truncated descriptor reads as the
// descriptor up to its last complete item, reports count as numbered exactly when a
// Report ID item is there, and each top-level collection comes from a Collection item.
#include "FuzzCheck.h"
#include "platform/win/backends/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>

using platform::win::ParseReportDescriptor;
using platform::win::ReportDescriptorLayout;

namespace {

bool Same(const ReportDescriptorLayout& a, const ReportDescriptorLayout& b) {
    if (a.numberedReports != b.numberedReports) return false;
    if (a.collections.size() != b.collections.size()) return false;
    for (size_t i = 0; i < a.collections.size(); ++i) {
        const auto& x = a.collections[i];
        const auto& y = b.collections[i];
        if (x.usagePage != y.usagePage || x.usage != y.usage ||
            x.inputReportByteLength != y.inputReportByteLength ||
            x.outputReportByteLength != y.outputReportByteLength ||
            x.featureReportByteLength != y.featureReportByteLength)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReportDescriptorLayout whole = ParseReportDescriptor(data, size);

    // Where the last complete item ends, and what the complete items hold.
    size_t complete = 0;
    size_t collectionItems = 0;
    bool reportIdItem = false;
    for (size_t i = 0; i < size;) {
        const uint8_t prefix = data[i];
        const size_t length = prefix == 0xFE ? (i + 1 < size ? 2 + size_t{data[i + 1]} : size)
                                             : ((prefix & 3) == 3 ? 4 : (prefix & 3));
        if (i + 1 + length > size) break;
        if (prefix != 0xFE && (prefix & 0xFC) == 0xA0) ++collectionItems;
        if (prefix != 0xFE && (prefix & 0xFC) == 0x84) reportIdItem = true;
        i += 1 + length;
        complete = i;
    }
    FUZZ_CHECK(Same(whole, ParseReportDescriptor(data, complete)));
    FUZZ_CHECK(whole.numberedReports == reportIdItem);
    FUZZ_CHECK(whole.collections.size() <= collectionItems);
    return 0;
}
