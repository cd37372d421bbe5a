#include "platform/win/Locale.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string>

namespace platform::win {

namespace {

struct LocaleId {
    std::string_view name; // language_REGION, or the language alone for its main region
    LCID id;
};

// The languages a desktop is likely to run in. Chinese is told apart by region, since
// only the mainland's simplified script selects the program's Chinese captions.
constexpr std::array<LocaleId, 38> LocaleIds = {{
    {"zh_CN", 2052}, {"zh_SG", 4100}, {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_MO", 5124},
    {"zh", 2052},    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105},
    {"en_NZ", 5129}, {"en_IE", 6153}, {"en", 1033},    {"de_DE", 1031}, {"de_AT", 3079},
    {"de_CH", 2055}, {"de", 1031},    {"fr_FR", 1036}, {"fr_CA", 3084}, {"fr_BE", 2060},
    {"fr_CH", 4108}, {"fr", 1036},    {"es_ES", 3082}, {"es_MX", 2058}, {"es", 3082},
    {"it", 1040},    {"pt_BR", 1046}, {"pt_PT", 2070}, {"pt", 2070},    {"ru", 1049},
    {"ja", 1041},    {"ko", 1042},    {"nl", 1043},    {"pl", 1045},    {"sv", 1053},
    {"tr", 1055},    {"cs", 1029},    {"uk", 1058},
}};

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

LCID Find(std::string_view name) {
    for (const LocaleId& entry : LocaleIds)
        if (SameName(entry.name, name)) return entry.id;
    return 0;
}

} // namespace

LCID LocaleIdFromName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    if (LCID id = Find(name)) return id;
    const std::string_view language = name.substr(0, name.find_first_of("_-"));
    if (LCID id = Find(language)) return id;
    return LOCALE_EN_US;
}

LCID GetThreadLocale() {
    // An empty variable counts as unset, as the C library treats it.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LocaleIdFromName(value);
    }
    return LOCALE_EN_US;
}

} // namespace platform::win
