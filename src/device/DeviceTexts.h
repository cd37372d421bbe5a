#pragma once
// The few message texts the device handling shows, by their language-table keys. They are
// the texts of the first language table; the language tables take their place once the
// program reads them.
#include <string>
#include <string_view>

namespace device {

// The text of a key ("Str100"); an unknown key gives an empty text.
std::string DeviceText(std::string_view key);

} // namespace device
