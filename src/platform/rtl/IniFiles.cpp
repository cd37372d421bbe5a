#include "platform/rtl/IniFiles.h"

#include "platform/rtl/SysUtils.h"

namespace platform::rtl {

TMemIniFile TMemIniFile::FromText(std::string_view text) {
    TStringList lines;
    lines.SetText(text);
    return TMemIniFile(lines);
}

void TMemIniFile::SetStrings(const TStringList& lines) {
    sections_.clear();
    Section* current = nullptr;
    for (const std::string& raw : lines.Lines()) {
        const std::string line = Trim(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = &sections_.emplace_back();
            current->name = Trim(std::string_view(line).substr(1, line.size() - 2));
            continue;
        }
        if (!current) continue;
        Entry entry;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            entry.value = line;
        } else {
            entry.hasKey = true;
            entry.key = Trim(std::string_view(line).substr(0, eq));
            entry.value = Trim(std::string_view(line).substr(eq + 1));
        }
        if (entry.hasKey)
            current->firstEntry.emplace(UpperCase(entry.key), current->entries.size());
        current->entries.push_back(std::move(entry));
    }
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const {
    for (const Section& s : sections_)
        if (SameText(s.name, name)) return &s;
    return nullptr;
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(std::string_view section,
                                                 std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    const auto found = s->firstEntry.find(UpperCase(key));
    return found == s->firstEntry.end() ? nullptr : &s->entries[found->second];
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    const std::string& defaultValue) const {
    const Entry* e = FindEntry(section, key);
    return e ? e->value : defaultValue;
}

int TMemIniFile::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
    const Entry* e = FindEntry(section, key);
    return e ? StrToIntDef(e->value, defaultValue) : defaultValue;
}

bool TMemIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindEntry(section, key) != nullptr;
}

void TMemIniFile::ReadSection(std::string_view section, TStringList& keys) const {
    keys.Clear();
    if (const Section* s = FindSection(section))
        for (const Entry& e : s->entries)
            if (e.hasKey) keys.Add(e.key);
}

void TMemIniFile::ReadSections(TStringList& sections) const {
    sections.Clear();
    for (const Section& s : sections_)
        sections.Add(s.name);
}

} // namespace platform::rtl
