#pragma once
// The functions the settings pages look for among the 36 profile keys, told from a key's
// code text the same way the key's display name tells them: a fire key by its shots and
// interval, the AIM key by its class, the combinable buttons by class and button, and a
// fire script by the first three bytes of its record.
#include <array>
#include <string>

namespace settings {

// Byte i (0..3) of an eight-digit code; a malformed pair raises vcl::EConvertError.
int CodeByte(const std::string& code, int i);

// The fire key (1..3) whose shots and interval the code carries, the first that fits;
// 0 when the code is not a fire key code or no fire key fits. The hold bit takes no part.
int FireKeyOfCode(const std::string& code, const std::array<int, 3>& shots,
                  const std::array<int, 3>& intervals);
constexpr int FireHoldBit = 0x80;

bool IsAimCode(const std::string& code);
bool IsLedModeSwitchCode(const std::string& code);

// The buttons a combination mask can be put on, in the order of the mask texts.
enum ComboFunction {
    ComboMiddle,
    ComboBackward,
    ComboForward,
    ComboDpiLoop,
    ComboDpiUp,
    ComboDpiDown,
    ComboFunctionCount
};
// The combinable button the code is, -1 for none.
int ComboFunctionOfCode(const std::string& code);

// The fire script slot (1..10) whose record begins like the code, the last that does;
// 0 when the scripts are not loaded or none matches.
int FireScriptOfCode(const std::string& code, bool scriptsLoaded,
                     const std::array<std::string, 10>& scriptCodes);

} // namespace settings
