#pragma once
// The locale of the calling thread as a Windows locale id (LCID). On Linux a thread has no
// locale of its own: the id comes from the message locale of the environment, in the
// order the C library consults it (LC_ALL, then LC_MESSAGES, then LANG).
#include "platform/win/WinTypes.h"

#include <string_view>

namespace platform::win {

using LCID = DWORD;

constexpr LCID LOCALE_EN_US = 1033;
constexpr LCID LOCALE_ZH_TW = 1028;
constexpr LCID LOCALE_ZH_CN = 2052;

LCID GetThreadLocale();

// The id of a POSIX locale name such as "zh_CN.UTF-8" or "de_DE@euro" (code set and
// modifier are ignored; case does not matter). A language without a known region takes its
// main region; "C", "POSIX", an empty name and unknown languages give LOCALE_EN_US, the
// id of the language the program falls back to.
LCID LocaleIdFromName(std::string_view name);

} // namespace platform::win
