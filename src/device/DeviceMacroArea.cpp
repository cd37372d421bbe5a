#include "device/DeviceMacroArea.h"

#include "device/Conversion.h"

#include <algorithm>

namespace device {
namespace {

bool SlotIsEmpty(uint8_t first, uint8_t second) {
    return (first == 0x00 && second == 0x00) || first == 0xFF || second == 0xFF;
}

} // namespace

size_t DeviceMacroBodyEnd(const TDeviceMacroArea& area, size_t offset) {
    if (offset >= area.size()) return 0;
    auto end = std::find(area.begin() + offset, area.end(), uint8_t{0});
    if (end == area.end()) return 0;
    return static_cast<size_t>(end - area.begin()) + 1;
}

TDeviceMacroList ParseDeviceMacroArea(const TDeviceMacroArea& area) {
    TDeviceMacroList list;
    size_t offset = 0;
    for (int slot = 0; slot < DeviceMacroSlots; ++slot) {
        if (offset + image::MacroNameSize > area.size()) break;
        if (SlotIsEmpty(area[offset], area[offset + 1])) break;
        const size_t body = offset + image::MacroNameSize;
        const size_t end = DeviceMacroBodyEnd(area, body);
        if (end == 0) break;
        list.StartAddress[slot] = static_cast<uint16_t>(image::DeviceMacroArea.Offset + body);
        list.Length[slot] = static_cast<uint16_t>(end - body);
        TMacroName name;
        std::copy_n(area.begin() + offset, name.size(), name.begin());
        list.Names.push_back(name);
        offset = end;
    }
    return list;
}

std::string MacroNameToText(const TMacroName& name) {
    const std::string text = HexUnicodeToText(MacroNameToHex(name));
    // The zero fill decodes to NUL characters; the lists show the name up to the first.
    return text.substr(0, text.find('\0'));
}

bool FireMacroNameInUse(const TMacroName& name) {
    return !((name[0] == 0xFF && name[1] == 0xFF) || (name[0] == 0x00 && name[1] == 0x00));
}

std::vector<std::string>
FireMacroNameList(const std::array<TMacroName, image::FireMacroCount>& names) {
    std::vector<std::string> list;
    for (const TMacroName& name : names)
        if (FireMacroNameInUse(name)) list.push_back(MacroNameToText(name));
    return list;
}

} // namespace device
