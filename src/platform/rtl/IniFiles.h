#pragma once
// An INI reader held in memory, read the way the library's in-memory INI object reads:
// lines split at CR, LF or CR LF and trimmed; empty lines and lines starting with ";" are
// comments; "[name]" opens a section; "key = value" is an entry with key and value trimmed.
// Sections and keys compare without regard to ASCII case, and of two equal keys (or two
// sections of the same name) the first is found. A line without "=" is kept but can never
// be found, and lines before the first section are ignored. Values are taken as given:
// quotes are not removed.
#include "platform/rtl/Classes.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::rtl {

class TMemIniFile {
public:
    TMemIniFile() = default;
    explicit TMemIniFile(const TStringList& lines) { SetStrings(lines); }
    static TMemIniFile FromText(std::string_view text);

    // Replaces the whole contents with these lines.
    void SetStrings(const TStringList& lines);

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // A missing key or a value that is not an integer (StrToInt's rules) reads the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // The keys of one section in their order; an unknown section gives an empty list.
    void ReadSection(std::string_view section, TStringList& keys) const;
    void ReadSections(TStringList& sections) const;

private:
    struct Entry {
        bool hasKey = false; // false for lines without "="
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // Upper-cased key to the first entry with that key: the language tables hold
        // some eight hundred keys each and are searched key by key.
        std::unordered_map<std::string, size_t> firstEntry;
    };
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::vector<Section> sections_;
};

} // namespace platform::rtl
