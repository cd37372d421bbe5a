#pragma once
// The few message texts the device handling shows, by their language-table keys. Until
// the language tables are loaded these are the texts of the first table; the language
// switch replaces them through SetDeviceText.
#include <string>
#include <string_view>

namespace device {

// The text of a key ("Str100"); an unknown key gives an empty text.
std::string DeviceText(std::string_view key);
void SetDeviceText(std::string_view key, const std::string& text);

} // namespace device
