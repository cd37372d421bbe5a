// The device macro area on any 512 bytes (00 where the input ends): the listed macros
// are packed from the area's start, each name followed by its body, every body inside
// the area and ending at its first 00; the list stops only where the rules say.
#include "FuzzCheck.h"
#include "device/DeviceMacroArea.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace device;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TDeviceMacroArea area{};
    std::memcpy(area.data(), data, std::min(size, area.size()));
    const TDeviceMacroList list = ParseDeviceMacroArea(area);

    const size_t listed = list.Names.size();
    FUZZ_CHECK(listed <= DeviceMacroSlots);
    size_t offset = 0; // of the next macro's name, inside the area
    for (size_t slot = 0; slot < DeviceMacroSlots; ++slot) {
        if (slot >= listed) {
            FUZZ_CHECK(list.StartAddress[slot] == 0 && list.Length[slot] == 0);
            continue;
        }
        const size_t body = offset + image::MacroNameSize;
        FUZZ_CHECK(list.StartAddress[slot] == image::DeviceMacroArea.Offset + body);
        FUZZ_CHECK(list.Length[slot] >= 1);
        const size_t end = body + list.Length[slot];
        FUZZ_CHECK(end <= area.size());
        FUZZ_CHECK(area[end - 1] == 0);
        FUZZ_CHECK(std::find(area.begin() + body, area.begin() + end - 1, 0) ==
                   area.begin() + end - 1);
        FUZZ_CHECK(
            std::equal(list.Names[slot].begin(), list.Names[slot].end(), area.begin() + offset));
        FUZZ_CHECK(DeviceMacroBodyEnd(area, body) == end);
        FUZZ_CHECK(!(area[offset] == 0 && area[offset + 1] == 0) && area[offset] != 0xFF &&
                   area[offset + 1] != 0xFF);
        FUZZ_CHECK(MacroNameToText(list.Names[slot]).find('\0') == std::string::npos);
        offset = end;
    }
    // Why the list ended: fifteen macros, no room for a name, an empty slot, or a body
    // without its closing 00 inside the area.
    if (listed < DeviceMacroSlots && offset + image::MacroNameSize <= area.size()) {
        const bool empty = (area[offset] == 0 && area[offset + 1] == 0) || area[offset] == 0xFF ||
                           area[offset + 1] == 0xFF;
        FUZZ_CHECK(empty || DeviceMacroBodyEnd(area, offset + image::MacroNameSize) == 0);
    }
    return 0;
}
