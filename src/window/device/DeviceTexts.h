#pragma once
// The message texts the device handling shows, by their language-table keys, in the
// language the main window currently shows.
#include <string>
#include <string_view>

namespace window::device {

// The text of a key ("Str100") as the main window keeps it for the current language; a key
// the table lacks, or one the window does not keep, gives an empty text.
std::string DeviceText(std::string_view key);

} // namespace window::device
