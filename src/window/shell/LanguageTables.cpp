#include "window/shell/LanguageTables.h"

#include "platform/rtl/SysUtils.h"

#include <map>
#include <mutex>
#include <unordered_map>

namespace window::shell {
namespace {

constexpr int HighestSearchedKey = 800;

std::string SearchedKey(int i) {
    return "Str" + std::to_string(i);
}

// A parsed table and, once asked for, the number of the last searched key that reads as
// each text, for the registration of the resource they were made from.
struct ParsedTable {
    unsigned long long serial = 0;
    std::shared_ptr<const platform::rtl::TMemIniFile> table;
    std::shared_ptr<const std::unordered_map<std::string, int>> lastKeyOfText;
};

struct ParsedTables {
    std::mutex lock;
    std::map<int, ParsedTable> byNumber;
};

ParsedTables& TheParsedTables() {
    static ParsedTables tables;
    return tables;
}

platform::rtl::TMemIniFile ParseLanguageTable(const platform::core::ResourceEntry& resource) {
    const std::string_view bytes(reinterpret_cast<const char*>(resource.data), resource.size);
    // Without the FF FE mark the text is taken from the first byte; it ends at a NUL.
    return platform::rtl::TMemIniFile(SplitLanguageItems(platform::rtl::Utf16LeBytesToUtf8(bytes)));
}

// The table's slot, parsed afresh when its resource has been registered anew.
ParsedTable Parsed(int n) {
    const platform::core::ResourceEntry& resource =
        platform::rtl::FindResourceEntry(LanguageSectionName(n), "RC_DATA");
    ParsedTables& tables = TheParsedTables();
    {
        std::lock_guard guard(tables.lock);
        auto found = tables.byNumber.find(n);
        if (found != tables.byNumber.end() && found->second.serial == resource.serial)
            return found->second;
    }
    ParsedTable parsed{
        resource.serial,
        std::make_shared<const platform::rtl::TMemIniFile>(ParseLanguageTable(resource)), nullptr};
    std::lock_guard guard(tables.lock);
    return tables.byNumber[n] = parsed;
}

// Text to the number of the last key of Str0 .. Str800 that reads as it in table n.
std::shared_ptr<const std::unordered_map<std::string, int>> LastKeyOfText(int n) {
    ParsedTable parsed = Parsed(n);
    if (parsed.lastKeyOfText) return parsed.lastKeyOfText;
    auto index = std::make_shared<std::unordered_map<std::string, int>>();
    const std::string section = LanguageSectionName(n);
    for (int i = 0; i <= HighestSearchedKey; ++i)
        (*index)[parsed.table->ReadString(section, SearchedKey(i), "")] = i;
    ParsedTables& tables = TheParsedTables();
    std::lock_guard guard(tables.lock);
    auto found = tables.byNumber.find(n);
    if (found != tables.byNumber.end() && found->second.serial == parsed.serial)
        found->second.lastKeyOfText = index;
    return index;
}

} // namespace

std::string LanguageSectionName(int n) {
    return "lang" + std::to_string(n);
}

platform::rtl::TStringList SplitLanguageItems(std::string_view text) {
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
    platform::rtl::TStringList items;
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

platform::rtl::TMemIniFile LoadLanguageTable(int n) {
    return *SharedLanguageTable(n);
}

std::shared_ptr<const platform::rtl::TMemIniFile> SharedLanguageTable(int n) {
    return Parsed(n).table;
}

std::string LanguageText(int n, std::string_view key) {
    return SharedLanguageTable(n)->ReadString(LanguageSectionName(n), key, "");
}

std::string FindLangKeyByText(std::string_view text) {
    // Every table is opened, first to last (a missing one raises), and the last match over
    // them in order wins: the highest table with a match, and in it the highest key.
    std::shared_ptr<const std::unordered_map<std::string, int>> indexes[LanguageCount];
    for (int n = 1; n <= LanguageCount; ++n)
        indexes[n - 1] = LastKeyOfText(n);
    const std::string wanted(text);
    for (int n = LanguageCount; n >= 1; --n) {
        const auto found = indexes[n - 1]->find(wanted);
        if (found != indexes[n - 1]->end()) return SearchedKey(found->second);
    }
    return {};
}

} // namespace window::shell
