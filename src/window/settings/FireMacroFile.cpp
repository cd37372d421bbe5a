// The fire script file of the program folder: ten 4-byte records, the codes of the fire
// scripts the key menu offers.
#include "platform/rtl/SysUtils.h"
#include "window/settings/Form1Settings.h"
#include "window/Main.h"

#include <array>
#include <cstdio>
#include <fstream>

namespace settings {

namespace {
constexpr int FireScriptCount = 10;
constexpr int FireScriptRecordSize = 4;
} // namespace

void LoadFireMacroFile(shell::TForm1& form) {
    form.LB_ScriptName->Items().Clear();
    form.LB_Script->Items().Clear();
    const std::string path = form.ProgramFolder + "Fire Macro.bin";
    if (!vcl::FileExists(path)) {
        form.FireScriptsLoaded = 0;
        return;
    }
    form.FireScriptsLoaded = 1;
    // A short file leaves its missing records zero: they count as empty.
    std::array<unsigned char, FireScriptCount * FireScriptRecordSize> bytes{};
    std::ifstream file(path, std::ios::binary);
    if (!file) throw vcl::EFOpenError("Cannot open file \"" + path + "\"");
    file.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    for (int i = 0; i < FireScriptCount; ++i) {
        char code[9];
        std::snprintf(code, sizeof code, "%02X%02X%02X%02X", bytes[i * 4], bytes[i * 4 + 1],
                      bytes[i * 4 + 2], bytes[i * 4 + 3]);
        form.FireScriptCodes[i] = code;
        if (form.FireScriptCodes[i] != "00000000") {
            const std::string name = "Fire Macro" + std::to_string(i + 1);
            form.LB_ScriptName->Items().Add(name);
            form.LB_Script->Items().Add(name);
        }
    }
}

} // namespace settings
