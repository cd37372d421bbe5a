#pragma once
// The language tables: one built-in table per user-interface language, resources "LANG1" ..
// "LANG3" of type "RC_DATA", each UTF-16LE text (normally with its FF FE mark) whose
// items are the section header "[langN]" and quoted "key=value" entries: "FontName",
// "Title" and the texts "Str001" .. "Str707". A table is parsed once for each registration
// of its resource and shared from then on, so a table read always reflects the resource
// as it stands.
#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"

#include <memory>
#include <string>
#include <string_view>

namespace window::shell {

inline constexpr int LanguageCount = 3;

// "lang1" .. "lang3": the resource name of table n and the name of its one section.
std::string LanguageSectionName(int n);

// Splits a table's text into its items: characters with codes 1 to 32 separate items; an
// item that begins with a double quote runs to the next lone double quote (a doubled one
// stands for one quote) and loses its quotes; any other item ends before the next
// character with a code of 32 or less. So an unquoted entry with blanks falls apart. The
// text ends at its first NUL, as a table's text does.
platform::rtl::TStringList SplitLanguageItems(std::string_view text);

// Table n as an INI object; a table that is not built in raises EResNotFound. Read its
// texts with ReadString(LanguageSectionName(n), key, "").
platform::rtl::TMemIniFile LoadLanguageTable(int n);
// The same table, shared instead of copied.
std::shared_ptr<const platform::rtl::TMemIniFile> SharedLanguageTable(int n);

// The text of one key of table n; a key the table lacks reads as an empty text.
std::string LanguageText(int n, std::string_view key);

// The key ("Str" and a number without leading zeros) whose text in any table equals
// `text` exactly: all three tables are searched, keys Str0 .. Str800 in rising order, and
// the last match wins (so table 3 over table 2 over table 1, and a higher number within a
// table). Empty when no key matches. An empty text matches every missing key and so
// gives "Str800".
std::string FindLangKeyByText(std::string_view text);

} // namespace window::shell
