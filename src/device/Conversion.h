#pragma once
// Unit Conversion: macro names between the stored form and text. A stored name
// (TMacroName) is eight UTF-16 code units, big-endian, zero filled; the macro pages handle
// it through a hexadecimal form of four upper-case digits per code unit, which is also
// two digits per stored byte in byte order. Text is the program's text (UTF-8).
#include "device/DeviceImage.h"

#include <string>
#include <string_view>

namespace device {

// The hexadecimal form of a text: four digits per UTF-16 code unit, up to the first NUL
// character. A text of more than 79 code units gives an empty form.
std::string TextToHexUnicode(std::string_view text);
// The text of a hexadecimal form, read from its end in groups of four digits (either
// case): a group that is no hexadecimal number is skipped, a leading rest of one to
// three characters is ignored. Each group is one code unit; one that is no character on
// its own (half of a surrogate pair) becomes U+FFFD, and 0000 becomes a NUL character.
std::string HexUnicodeToText(std::string_view hex);

// 8-bit text of the mouse's memory (the USB product text) in the program's text: one
// character per byte in the ANSI code page, Windows-1252. The five bytes that code page
// leaves unassigned (81, 8D, 8F, 90, 9D) become the control characters of the same value,
// as the system's conversion gives them.
std::string AnsiBytesToText(std::string_view bytes);

// The 32 digits of a stored name, two per byte.
std::string MacroNameToHex(const TMacroName& name);
// A stored name from its digits, two at a time; bytes without digits are 00, and so is a
// pair that is no hexadecimal number.
TMacroName HexToMacroName(std::string_view hex);
// The stored form of a text: its first eight code units, zero filled.
TMacroName TextToMacroName(std::string_view text);

} // namespace device
