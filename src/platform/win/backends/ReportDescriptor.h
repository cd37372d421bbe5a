#pragma once
// Report byte lengths of a HID report descriptor, counted the way the Windows HID parser
// counts them: per top-level collection and report kind, the longest report over the
// report ids, in whole bytes, plus one byte for the id (also when the device numbers no
// reports); 0 for a kind the collection does not have.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::win {

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
};

struct ReportDescriptorLayout {
    std::vector<TopLevelCollection> collections;
    // True when the descriptor numbers its reports (a Report ID item): the kernel then
    // returns the id as the first byte of every input report.
    bool numberedReports = false;
};

// A truncated descriptor is read up to its last complete item; main items outside any
// collection are ignored.
ReportDescriptorLayout ParseReportDescriptor(const uint8_t* data, size_t size);

} // namespace platform::win
