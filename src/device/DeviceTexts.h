#pragma once
// The message texts the device handling shows, by their language-table keys, in the
// language the main window currently shows.
#include <string>
#include <string_view>

namespace device {

// The text of a key ("Str100") in the current language's table; a key the table lacks
// gives an empty text.
std::string DeviceText(std::string_view key);

} // namespace device
