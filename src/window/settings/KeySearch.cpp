#include "window/settings/KeySearch.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"

namespace window::settings {

KeyFunctionNames::KeyFunctionNames(const window::TForm1& form) {
    // One reading of the table for all the names.
    const platform::rtl::TMemIniFile table = shell::LoadLanguageTable(form.LanguageNumber);
    const std::string section = shell::LanguageSectionName(form.LanguageNumber);
    auto text = [&](const std::string& key) { return table.ReadString(section, key, ""); };
    for (int n = 1; n <= 3; ++n)
        fireKeys[n - 1] = text("Str23" + std::to_string(n));
    aim = text("Str260");
    static const char* const comboKeys[ComboFunctionCount] = {"Str212", "Str213", "Str214",
                                                              "Str221", "Str222", "Str223"};
    for (int f = 0; f < ComboFunctionCount; ++f)
        combos[f] = text(comboKeys[f]);
    for (int s = 0; s < GamingModeSwitchCount; ++s)
        gamingSwitches[s] = text(GamingModeSwitches[s].nameKey);
}

int KeyFunctionNames::FireKeyOf(const std::string& name) const {
    for (int n = 1; n <= 3; ++n)
        if (!name.empty() && name == fireKeys[n - 1]) return n;
    return 0;
}

int KeyFunctionNames::ComboFunctionOf(const std::string& name) const {
    for (int f = 0; f < ComboFunctionCount; ++f)
        if (!name.empty() && name == combos[f]) return f;
    return -1;
}

int CodeByte(const std::string& code, int i) {
    return platform::rtl::StrToInt("$" + code.substr(std::min<size_t>(code.size(), 2 * i), 2));
}

int GamingModeSwitchMask(int item) {
    return item >= 1 && item <= GamingModeSwitchCount ? GamingModeSwitches[item - 1].mask : 0;
}

bool IsFireScriptName(const std::string& name) {
    static const std::string word = "Fire Macro";
    if (name.rfind(word, 0) != 0) return false;
    const std::string number = name.substr(word.size());
    return number.size() >= 1 && number.size() <= 2 &&
           number.find_first_not_of("0123456789") == std::string::npos && number[0] != '0' &&
           std::stoi(number) <= 10;
}

} // namespace window::settings
