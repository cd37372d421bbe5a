#include "window/shell/LanguageTables.h"

#include "platform/rtl/SysUtils.h"

namespace shell {

std::string LanguageSectionName(int n) {
    return "lang" + std::to_string(n);
}

vcl::TStringList SplitLanguageItems(std::string_view text) {
    constexpr char Quote = '"';
    // UTF-8 continuation and lead bytes are all above 127, so a scan by bytes never cuts a
    // character in two.
    auto isSeparator = [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 1 && code <= 32;
    };
    // The text ends at its first NUL, as a table's text does; a NUL is neither a separator
    // nor part of an item, so a scan past it would stand still.
    text = text.substr(0, text.find('\0'));
    vcl::TStringList items;
    size_t p = 0;
    const size_t end = text.size();
    while (p < end && isSeparator(text[p]))
        ++p;
    while (p < end) {
        std::string item;
        if (text[p] == Quote) {
            ++p;
            while (p < end) {
                if (text[p] == Quote) {
                    if (p + 1 < end && text[p + 1] == Quote) {
                        item += Quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const size_t start = p;
            while (p<end&& static_cast<unsigned char>(text[p])> 32)
                ++p;
            item.assign(text.substr(start, p - start));
        }
        items.Add(item);
        while (p < end && isSeparator(text[p]))
            ++p;
    }
    return items;
}

vcl::TMemIniFile LoadLanguageTable(int n) {
    vcl::TResourceStream resource(LanguageSectionName(n), "RC_DATA");
    const std::string_view bytes(static_cast<const char*>(resource.Memory()),
                                 static_cast<size_t>(resource.Size()));
    // Without the FF FE mark the text is taken from the first byte; it ends at a NUL.
    return vcl::TMemIniFile(SplitLanguageItems(vcl::Utf16LeBytesToUtf8(bytes)));
}

std::string LanguageText(int n, std::string_view key) {
    return LoadLanguageTable(n).ReadString(LanguageSectionName(n), key, "");
}

std::string FindLangKeyByText(std::string_view text) {
    std::string result;
    for (int n = 1; n <= LanguageCount; ++n) {
        const vcl::TMemIniFile table = LoadLanguageTable(n);
        const std::string section = LanguageSectionName(n);
        for (int i = 0; i <= 800; ++i) {
            const std::string key = "Str" + std::to_string(i);
            if (table.ReadString(section, key, "") == text) result = key;
        }
    }
    return result;
}

} // namespace shell
