#pragma once
// Reading the macro areas of the image: the device macro area (up to fifteen macros
// packed back to back, each a name followed by its body) and the names of the fire
// macros. The areas come from the mouse and may hold anything; the readers never look
// past the 512 bytes they are given.
#include "device/DeviceImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace device {

constexpr int DeviceMacroSlots = 15;

// The device-macro tables: per slot the image address of the macro's body and the body's
// length in bytes (its closing 00 included; 0 = empty slot), and the names of the
// slots in use, slot i at index i.
struct TDeviceMacroList {
    std::array<uint16_t, DeviceMacroSlots> StartAddress{};
    std::array<uint16_t, DeviceMacroSlots> Length{};
    std::vector<TMacroName> Names;
};

// Parses a device macro area. The list ends at the first empty slot (first two bytes
// 00 00, or either of them FF), after fifteen slots, or at a macro that does not end
// inside the area (its name or its closing 00 would lie beyond byte 511); such a
// macro is not listed.
TDeviceMacroList ParseDeviceMacroArea(const TDeviceMacroArea& area);

// Where a macro body that starts at `offset` of the area ends: the offset just past its
// closing 00, or 0 when the area ends first.
size_t DeviceMacroBodyEnd(const TDeviceMacroArea& area, size_t offset);

// The text the lists show for a stored name: its code units up to the first 0000 unit,
// as UTF-8.
std::string MacroNameToText(const TMacroName& name);

// Whether a fire-macro slot holds a name: not when its first two bytes are FF FF or 00 00.
bool FireMacroNameInUse(const TMacroName& name);
// The texts of the fire-macro list, in slot order, skipping the slots without a name.
std::vector<std::string>
FireMacroNameList(const std::array<TMacroName, image::FireMacroCount>& names);

} // namespace device
