#include "window/settings/KeySearch.h"

#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"

namespace settings {

std::string FunctionName(const shell::TForm1& form, std::string_view key) {
    return shell::LanguageText(form.LanguageNumber, key);
}

int CodeByte(const std::string& code, int i) {
    return vcl::StrToInt("$" + code.substr(std::min<size_t>(code.size(), 2 * i), 2));
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

} // namespace settings
