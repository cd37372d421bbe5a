// The hidraw bus's sysfs entries on any contents: the input up to its first 00 byte is
// the node's uevent file, the rest its report descriptor. Listing the node never fails
// unsafely; a listed node has the ids of its uevent's HID_ID line, one interface per
// top-level collection of its descriptor (at least one), each path on the node.
#include "FuzzCheck.h"
#include "platform/win/backends/HidrawBus.h"
#include "platform/win/backends/ReportDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Made once and never destroyed, so the clean-up at exit can still name it.
const fs::path& Root() {
    static const fs::path* root = [] {
        auto* dir = new fs::path(fs::temp_directory_path() /
                                 ("vtrm-fuzz-sysfs-" + std::to_string(getpid())));
        fs::create_directories(*dir / "hidraw0" / "device");
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(Root(), ignored);
        });
        return dir;
    }();
    return *root;
}

void Write(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The ids of the first HID_ID line, read independently of the bus.
bool HidIdLine(std::string_view uevent, unsigned& vendor, unsigned& product) {
    size_t pos = 0;
    while (pos < uevent.size()) {
        size_t end = uevent.find('\n', pos);
        if (end == std::string_view::npos) end = uevent.size();
        const std::string line(uevent.substr(pos, end - pos));
        pos = end + 1;
        if (line.rfind("HID_ID=", 0) != 0) continue;
        unsigned bus = 0;
        return std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &vendor, &product) == 3;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    const std::string_view uevent = input.substr(0, nul);
    const std::string_view descriptor =
        nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
    const fs::path device = Root() / "hidraw0" / "device";
    Write(device / "uevent", uevent);
    Write(device / "report_descriptor", descriptor);

    platform::win::HidrawBus bus(Root().string(), "/dev");
    const auto listed = bus.Enumerate();
    unsigned vendor = 0, product = 0;
    if (!HidIdLine(uevent, vendor, product)) {
        FUZZ_CHECK(listed.empty());
        return 0;
    }
    const auto layout = platform::win::ParseReportDescriptor(
        reinterpret_cast<const uint8_t*>(descriptor.data()), descriptor.size());
    FUZZ_CHECK(listed.size() == std::max<size_t>(1, layout.collections.size()));
    for (size_t i = 0; i < listed.size(); ++i) {
        FUZZ_CHECK(listed[i].vendorId == static_cast<uint16_t>(vendor));
        FUZZ_CHECK(listed[i].productId == static_cast<uint16_t>(product));
        FUZZ_CHECK(platform::win::HidrawBus::NodeOf(listed[i].path) == "/dev/hidraw0");
        FUZZ_CHECK((i == 0) == (listed[i].path == "/dev/hidraw0"));
        if (!layout.collections.empty())
            FUZZ_CHECK(listed[i].featureReportByteLength ==
                       layout.collections[i].featureReportByteLength);
    }
    return 0;
}
