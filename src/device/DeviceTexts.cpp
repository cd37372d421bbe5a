#include "device/DeviceTexts.h"

#include <map>

namespace device {
namespace {

std::map<std::string, std::string, std::less<>>& Texts() {
    static std::map<std::string, std::string, std::less<>> texts = {
        {"Str100", "Waiting to reconnect device"},
        {"Str101", ""},
        {"Str102", "VTRM408xData.bin file type error"},
        {"Str107", "The mouse manufacturer or product id error"},
    };
    return texts;
}

} // namespace

std::string DeviceText(std::string_view key) {
    auto& texts = Texts();
    auto it = texts.find(key);
    return it == texts.end() ? std::string() : it->second;
}

void SetDeviceText(std::string_view key, const std::string& text) {
    Texts()[std::string(key)] = text;
}

} // namespace device
