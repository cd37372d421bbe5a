// Macro names between the stored form, their hexadecimal form and text, on any bytes:
// a stored name survives the trip through its 32 digits; a text of characters of one
// UTF-16 unit each, without NUL, survives the trip through its hexadecimal form; reading any digits
// never goes past them, and the digits of any name read back to a name of the same digits.
#include "FuzzCheck.h"
#include "device/Conversion.h"
#include "device/DeviceMacroArea.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace device;

namespace {

// Well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF), with the number
// of UTF-16 code units it makes and whether every character is a single unit.
bool WellFormedUtf8(std::string_view s, size_t& units, bool& singleUnits) {
    units = 0;
    singleUnits = true;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t n = 0;
        uint32_t cp = 0;
        if (b < 0x80) {
            n = 1;
            cp = b;
        } else if (b >= 0xC2 && b < 0xE0) {
            n = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b < 0xF0) {
            n = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b < 0xF5) {
            n = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        units += cp >= 0x10000 ? 2 : 1;
        if (cp >= 0x10000) singleUnits = false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMacroName name{};
    std::memcpy(name.data(), data, std::min(size, name.size()));
    const std::string digits = MacroNameToHex(name);
    FUZZ_CHECK(digits.size() == 32);
    FUZZ_CHECK(HexToMacroName(digits) == name);
    FUZZ_CHECK(MacroNameToText(name).find('\0') == std::string::npos);

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TMacroName read = HexToMacroName(text);
    FUZZ_CHECK(HexToMacroName(MacroNameToHex(read)) == read);

    // Each unit is read back on its own, so only characters of one unit come back as
    // they were (each half of a surrogate pair reads as U+FFFD).
    size_t units = 0;
    bool singleUnits = true;
    const std::string hex = TextToHexUnicode(text);
    if (WellFormedUtf8(text, units, singleUnits) && text.find('\0') == std::string_view::npos) {
        if (units > 79) {
            FUZZ_CHECK(hex.empty());
        } else {
            FUZZ_CHECK(hex.size() == 4 * units);
            if (singleUnits) FUZZ_CHECK(HexUnicodeToText(hex) == text);
        }
    }
    (void)HexUnicodeToText(text);
    return 0;
}
