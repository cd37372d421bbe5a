#pragma once
// Unit Lang: the captions of the engineering page, one record per caption with its English
// and Simplified Chinese text. The column is chosen once at start-up from the locale; the
// language buttons of the user pages do not change it.
#include <array>
#include <cstdint>
#include <string>

namespace window::shell {

struct TTerm {
    uint8_t id;
    // English, (no language: always empty), Simplified Chinese; UTF-8.
    std::array<const char*, 3> caption;
};

inline constexpr int TermCount = 144;
inline constexpr uint8_t TermColumnEnglish = 0;
inline constexpr uint8_t TermColumnChinese = 2;

// Ids 0 to 143, each at the position equal to its id.
extern const std::array<TTerm, TermCount> Terms;

// The column GetTermCaption returns: 0 at start, then 0 or 2.
extern uint8_t TermColumn;

// Sets text to the caption of the record with that id in column TermColumn; an id that no
// record has leaves text as it was.
void GetTermCaption(uint8_t id, std::string& text);

} // namespace window::shell
