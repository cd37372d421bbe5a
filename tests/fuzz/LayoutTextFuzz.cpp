// The layout-text loader on any resource bytes: it reads the resource (after a UTF-8
// byte-order mark, if any) as an INI text, so it finds what the INI reader finds in that
// text, and a layout integer is either the value's integer or the conversion error.
#include "FuzzCheck.h"
#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/LayoutText.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string text;
    text.assign(reinterpret_cast<const char*>(data), size);
    platform::core::RegisterResource(
        "ORG", "RC_DATA", reinterpret_cast<const unsigned char*>(text.data()), text.size());
    const platform::rtl::TMemIniFile ini = window::shell::LoadLayoutText("org");
    std::string_view body(text);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    const platform::rtl::TMemIniFile direct = platform::rtl::TMemIniFile::FromText(body);

    platform::rtl::TStringList sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections.Lines()) {
        platform::rtl::TStringList keys;
        ini.ReadSection(section, keys);
        for (const std::string& key : keys.Lines()) {
            const std::string value = ini.ReadString(section, key, "");
            FUZZ_CHECK(direct.ReadString(section, key, "\x01") == value);
            int expected = 0;
            const bool number = platform::rtl::TryStrToInt(value, expected);
            try {
                FUZZ_CHECK(window::shell::ReadLayoutInteger(ini, section, key) == expected);
                FUZZ_CHECK(number);
            } catch (const platform::rtl::EConvertError&) {
                FUZZ_CHECK(!number);
            }
        }
    }
    return 0;
}
