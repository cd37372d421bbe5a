#pragma once
// Unit LanguageTexts: the current language's table applied to the main window - the font
// of its texts, the captions of buttons, labels and menu items, the items of the two
// insert lists - and the texts other handlers show later kept in LangTexts.
#include <string>
#include <string_view>
#include <vector>

// The keys whose texts the window keeps for later use: messages, button-function names,
// DPI values, recording captions, confirmation texts and fire preset names.
// clang-format off
#define VTRM_LANG_TEXT_KEYS(X)                                                                     \
    X(Str004) X(Str005) X(Str022)                                                                  \
    X(Str100) X(Str101) X(Str102) X(Str103) X(Str104) X(Str105) X(Str106) X(Str107) X(Str108)      \
    X(Str210) X(Str212) X(Str213) X(Str214)                                                        \
    X(Str221) X(Str222) X(Str223)                                                                  \
    X(Str231) X(Str232) X(Str233)                                                                  \
    X(Str251) X(Str252) X(Str253)                                                                  \
    X(Str260) X(Str277)                                                                            \
    X(Str300) X(Str301) X(Str302) X(Str303) X(Str304) X(Str305)                                    \
    X(Str306) X(Str307) X(Str308) X(Str309) X(Str310) X(Str311)                                    \
    X(Str400) X(Str401)                                                                            \
    X(Str420) X(Str421) X(Str430)                                                                  \
    X(Str600) X(Str601) X(Str602) X(Str603) X(Str604) X(Str605) X(Str606)
// clang-format on

namespace window {

class TForm1;

} // namespace window

namespace window::shell {

// The kept texts of the current language (UTF-8), one field per key; empty until the
// first language is applied, and empty for a key the table lacks.
struct TLangTexts {
#define VTRM_LANG_TEXT_FIELD(key) std::string key;
    VTRM_LANG_TEXT_KEYS(VTRM_LANG_TEXT_FIELD)
#undef VTRM_LANG_TEXT_FIELD

    // The field of a key ("Str100"), or nullptr when the window does not keep that key.
    const std::string* Find(std::string_view key) const;
    std::string* Find(std::string_view key);
};

// The controls the texts would have reached that the form design does not have.
struct LanguageTextsReport {
    std::vector<std::string> AbsentControls;
};

// Applies table `n` (1..3) to the window: LangFontName, TitleText, LangTexts, fonts,
// captions and list items. `fontControls` are the controls whose font size the layout
// section set; they take the language's font as well. A table that is not built in
// raises the resource error; an insert list with too few items raises its index error;
// in both cases what was set before stays set. A key missing from the table gives an
// empty text.
LanguageTextsReport ApplyLanguageTexts(TForm1& form, int n,
                                       const std::vector<std::string>& fontControls);

} // namespace window::shell
