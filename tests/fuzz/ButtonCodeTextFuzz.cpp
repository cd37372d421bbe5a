// The readers of button-function texts on any text. A code whose four character pairs
// are hexadecimal digits reads as the bytes they spell (eight digits print back as the
// same digits in upper case); anything else raises the conversion error; any four bytes
// survive printing and reading. The fire-key and AIM texts give their fixed number of digits of the
// text's integer, or the conversion error.
#include "FuzzCheck.h"
#include "device/Macros.h"
#include "platform/rtl/SysUtils.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

using namespace device;

namespace {

bool HexDigits(std::string_view s) {
    for (char c : s)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// The text's integer plus offset as `digits` upper-case hex digits; empty when the text
// is no integer or the sum lies outside 0..max.
std::string Expected(std::string_view text, int offset, long long max, int digits) {
    int value = 0;
    if (!platform::rtl::TryStrToInt(text, value)) return {};
    const long long v = static_cast<long long>(value) + offset;
    if (v < 0 || v > max) return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*llX", digits, v);
    return buffer;
}

template <class F>
void CheckNumberText(F read, std::string_view text, int offset, long long max, int digits) {
    const std::string expected = Expected(text, offset, max, digits);
    try {
        const std::string got = read(text);
        FUZZ_CHECK(got == expected);
    } catch (const platform::rtl::EConvertError&) {
        FUZZ_CHECK(expected.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 4) {
        TButtonFunction bytes;
        std::memcpy(bytes.data(), data, 4);
        FUZZ_CHECK(ButtonFunctionFromText(ButtonFunctionText(bytes)) == bytes);
    }
    // Each pair is what stands at 0, 2, 4 and 6 (a last pair may be one character); a
    // pair that is empty or holds anything but hexadecimal digits raises.
    const std::string_view code(reinterpret_cast<const char*>(data), size);
    bool wellFormed = true;
    TButtonFunction expected{};
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string_view pair = 2 * i < code.size() ? code.substr(2 * i, 2) : "";
        if (pair.empty() || !HexDigits(pair)) {
            wellFormed = false;
            break;
        }
        expected[i] = static_cast<uint8_t>(std::stoi(std::string(pair), nullptr, 16));
    }
    try {
        const TButtonFunction read = ButtonFunctionFromText(code);
        FUZZ_CHECK(wellFormed);
        FUZZ_CHECK(read == expected);
        if (code.size() >= 8)
            FUZZ_CHECK(ButtonFunctionText(read) == platform::rtl::UpperCase(code.substr(0, 8)));
    } catch (const platform::rtl::EConvertError&) {
        FUZZ_CHECK(!wellFormed);
    }
    CheckNumberText([](std::string_view t) { return FireKeyInterval(t); }, code, 0, 0xFFFF, 4);
    CheckNumberText([](std::string_view t) { return AimLevelByte(t); }, code, -1, 0xFF, 2);
    // Shots 1 upwards from 10; bit 7 stays free for the hold flag.
    CheckNumberText([](std::string_view t) { return FireKeyCountByte(t, false); }, code, 0x0F, 0x7F,
                    2);
    const std::string held = Expected(code, 0x0F, 0x7F, 2);
    std::string heldByte;
    bool raised = false;
    try {
        heldByte = FireKeyCountByte(code, true);
    } catch (const platform::rtl::EConvertError&) {
        raised = true;
    }
    FUZZ_CHECK(raised == held.empty());
    if (!raised)
        FUZZ_CHECK(platform::rtl::HexToInt(heldByte) == platform::rtl::HexToInt(held) + 0x80);
    return 0;
}
