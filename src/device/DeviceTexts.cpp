#include "device/DeviceTexts.h"

#include <array>
#include <utility>

namespace device {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> Texts = {{
    {"Str100", "Waiting to reconnect device"},
    {"Str101", ""},
    {"Str102", "VTRM408xData.bin file type error"},
    {"Str107", "The mouse manufacturer or product id error"},
}};

} // namespace

std::string DeviceText(std::string_view key) {
    for (const auto& [k, text] : Texts)
        if (k == key) return std::string(text);
    return {};
}

} // namespace device
