#pragma once
// Display names of button functions: the text a key label or key button shows for the
// eight-digit code of its record (see Macros.h for the record). Most names are texts of
// the current language's table; keyboard codes are spelled out from modifier words and
// key names; fire-script and device-macro codes take the script's or the macro's name.
//
// Naming is not free of effects: a fire-key code sets the hold box of the fire key it
// matches (unless FireHoldSyncGuard is set), and a profile-switch code puts the colour
// combo of its profile on the colour it carries. Refreshing the key captions is how the
// engineering page's hold boxes and profile colours follow the stored codes.
//
// Main thread only: the routines read and set controls of the main window.
#include <string>
#include <string_view>
#include <vector>

namespace window {
class TForm1;
}

namespace window::device {

// The words that are not taken from the language tables.
inline constexpr std::string_view ModifierWords[4] = {"Ctrl", "Shift", "Alt", "Win"};
inline constexpr std::string_view KeySeparator = "+";
inline constexpr std::string_view FireScriptWord = "Fire Macro";

// The name of a code in the current language, empty when no rule names it. Characters
// read as numbers (the class in the second stage, the count byte and interval of a fire
// key, the profile byte and colour of a profile switch, the bytes of a keyboard code,
// the address of a macro key) that are no hexadecimal digits raise platform::rtl::EConvertError.
std::string CodeToFunctionName(window::TForm1& form, std::string_view code);
// The names of several codes, in order, as CodeToFunctionName gives them one by one; the
// language table is read once for all of them.
std::vector<std::string> CodesToFunctionNames(window::TForm1& form,
                                              const std::vector<std::string>& codes);

// The second stage of CodeToFunctionName for the codes its own table does not name:
// keyboard keys (class 02), fire macros (0B) and device macros (10). Leaves Name as it
// was for any other class, and for a fire macro or device macro it cannot name.
void ComboOrMacroCodeToName(window::TForm1& form, std::string_view code, std::string& Name);

} // namespace window::device
