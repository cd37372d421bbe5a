#include "window/settings/KeySearch.h"

#include "platform/rtl/SysUtils.h"

namespace settings {

int CodeByte(const std::string& code, int i) {
    return vcl::StrToInt("$" + code.substr(std::min<size_t>(code.size(), 2 * i), 2));
}

namespace {

std::string ClassOf(const std::string& code) {
    return code.substr(0, 2);
}

} // namespace

int FireKeyOfCode(const std::string& code, const std::array<int, 3>& shots,
                  const std::array<int, 3>& intervals) {
    if (ClassOf(code) != "06") return 0;
    const int count = CodeByte(code, 1) & 0x0F;
    const int interval = CodeByte(code, 2) * 256 + CodeByte(code, 3);
    for (int n = 0; n < 3; ++n)
        if (count == shots[n] - 1 && interval == intervals[n]) return n + 1;
    return 0;
}

bool IsAimCode(const std::string& code) {
    return ClassOf(code) == "05";
}

bool IsLedModeSwitchCode(const std::string& code) {
    return code == "0E000000";
}

int ComboFunctionOfCode(const std::string& code) {
    if (code.size() < 4) return -1;
    const std::string button = code.substr(2, 2);
    if (ClassOf(code) == "01") {
        if (button == "04") return ComboMiddle;
        if (button == "08") return ComboBackward;
        if (button == "10") return ComboForward;
    } else if (ClassOf(code) == "09") {
        if (button == "00") return ComboDpiLoop;
        if (button == "01") return ComboDpiUp;
        if (button == "02") return ComboDpiDown;
    }
    return -1;
}

int FireScriptOfCode(const std::string& code, bool scriptsLoaded,
                     const std::array<std::string, 10>& scriptCodes) {
    if (!scriptsLoaded || ClassOf(code) != "0B") return 0;
    int slot = 0;
    for (int i = 0; i < 10; ++i)
        if (scriptCodes[i].substr(0, 6) == code.substr(0, 6)) slot = i + 1;
    return slot;
}

} // namespace settings
