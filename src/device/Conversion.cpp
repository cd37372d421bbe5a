#include "device/Conversion.h"

#include "platform/rtl/SysUtils.h"

#include <optional>

namespace device {
namespace {

// Room of the conversion buffer: 80 units, one of them kept for the terminating zero.
constexpr size_t MaxTextUnits = 79;

constexpr char HexDigits[] = "0123456789ABCDEF";

std::optional<int> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return std::nullopt;
}

// The value of the hexadecimal digits, or nothing when one of them is no digit.
std::optional<uint32_t> HexValue(std::string_view digits) {
    uint32_t value = 0;
    for (char c : digits) {
        const std::optional<int> d = HexDigitValue(c);
        if (!d) return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(*d);
    }
    return value;
}

void AppendHexByte(std::string& out, uint8_t byte) {
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0x0F];
}

// Windows-1252 bytes 80..9F; the others are the code points of the same value.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::string AnsiBytesToText(std::string_view bytes) {
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        wide.push_back(b >= 0x80 && b <= 0x9F ? Cp1252High[b - 0x80] : char16_t{b});
    }
    return platform::rtl::Utf16ToUtf8(wide);
}

std::string TextToHexUnicode(std::string_view text) {
    const std::u16string units = platform::rtl::Utf8ToUtf16(text);
    if (units.size() > MaxTextUnits) return {};
    std::string hex;
    for (char16_t unit : units) {
        if (unit == 0) break;
        AppendHexByte(hex, static_cast<uint8_t>(unit >> 8));
        AppendHexByte(hex, static_cast<uint8_t>(unit & 0xFF));
    }
    return hex;
}

std::string HexUnicodeToText(std::string_view hex) {
    std::string text;
    for (size_t n = hex.size(); n >= 4; n -= 4) {
        const std::optional<uint32_t> unit = HexValue(hex.substr(n - 4, 4));
        if (!unit) continue;
        // One unit at a time, as the name is read: half of a surrogate pair shows as U+FFFD.
        text.insert(0, platform::rtl::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(*unit))));
    }
    return text;
}

std::string MacroNameToHex(const TMacroName& name) {
    std::string hex;
    for (uint8_t byte : name)
        AppendHexByte(hex, byte);
    return hex;
}

TMacroName HexToMacroName(std::string_view hex) {
    TMacroName name{};
    for (size_t i = 0; i < name.size() && 2 * i + 2 <= hex.size(); ++i)
        name[i] = static_cast<uint8_t>(HexValue(hex.substr(2 * i, 2)).value_or(0));
    return name;
}

TMacroName TextToMacroName(std::string_view text) {
    return HexToMacroName(TextToHexUnicode(text));
}

} // namespace device
