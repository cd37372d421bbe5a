// The language-table loader on any built-in table bytes. Loading ends (a NUL or any other
// byte cannot stall the item split), every text of the table reads the same through the
// loader and through LanguageText, and the split items survive a round trip: written
// back as quoted items (quotes doubled) they split into the same items.
#include "FuzzCheck.h"
#include "platform/core/Resources.h"
#include "window/shell/LanguageTables.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string table;
    table.assign(reinterpret_cast<const char*>(data), size);
    platform::core::RegisterResource(
        "lang1", "RC_DATA", reinterpret_cast<const unsigned char*>(table.data()), table.size());
    const platform::rtl::TMemIniFile ini = window::shell::LoadLanguageTable(1);
    for (const char* key : {"FontName", "Title", "Str001", "Str408"})
        FUZZ_CHECK(ini.ReadString("lang1", key, "") == window::shell::LanguageText(1, key));

    // The splitter on the raw bytes, as text of its own.
    const std::string_view text(table);
    const platform::rtl::TStringList items = window::shell::SplitLanguageItems(text);
    std::string quoted;
    for (const std::string& item : items.Lines()) {
        FUZZ_CHECK(item.find('\0') == std::string::npos);
        quoted += "\r\n\"";
        for (char c : item) {
            if (c == '"') quoted += '"';
            quoted += c;
        }
        quoted += '"';
    }
    FUZZ_CHECK(window::shell::SplitLanguageItems(quoted).Lines() == items.Lines());
    return 0;
}
