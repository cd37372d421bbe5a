// The in-memory INI reader on any text. Keys are found without regard to ASCII case,
// ValueExists agrees with ReadString, and writing out every section's entries as
// "[section]" and "key=value" lines reads back to the same values.
#include "FuzzCheck.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

using platform::rtl::TMemIniFile;
using platform::rtl::TStringList;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TMemIniFile ini = TMemIniFile::FromText(text);
    const std::string absent("\x01"
                             "absent"
                             "\x01");

    TStringList sections;
    ini.ReadSections(sections);
    std::string written;
    std::set<std::string> seen;
    for (const std::string& section : sections.Lines()) {
        FUZZ_CHECK(ini.SectionExists(section));
        if (!seen.insert(platform::rtl::UpperCase(section)).second)
            continue; // the first one is found
        written += "[" + section + "]\n";
        TStringList keys;
        ini.ReadSection(section, keys);
        for (const std::string& key : keys.Lines()) {
            const std::string value = ini.ReadString(section, key, absent);
            FUZZ_CHECK(value != absent);
            FUZZ_CHECK(ini.ValueExists(section, key));
            FUZZ_CHECK(ini.ReadString(platform::rtl::LowerCase(section),
                                      platform::rtl::UpperCase(key), absent) == value);
            written += key + "=" + value + "\n";
        }
    }
    const TMemIniFile again = TMemIniFile::FromText(written);
    for (const std::string& section : sections.Lines()) {
        TStringList keys;
        ini.ReadSection(section, keys);
        for (const std::string& key : keys.Lines())
            FUZZ_CHECK(again.ReadString(section, key, absent) ==
                       ini.ReadString(section, key, absent));
    }
    return 0;
}
