// The fire script file of the program folder: ten 4-byte records, the codes of the fire
// scripts the key menu offers.
#include "platform/rtl/FileRead.h"
#include "platform/rtl/SysUtils.h"
#include "window/Main.h"
#include "window/settings/Form1Settings.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace window::settings {

namespace {
constexpr int FireScriptCount = 10;
constexpr int FireScriptRecordSize = 4;
} // namespace

void LoadFireMacroFile(window::TForm1& form) {
    form.LB_ScriptName->Items().Clear();
    form.LB_Script->Items().Clear();
    form.FireScriptsLoaded = 0;
    const std::string path = form.ProgramFolder + "Fire Macro.bin";
    const platform::rtl::TFileStart file =
        platform::rtl::ReadFileStart(path, FireScriptCount * FireScriptRecordSize);
    if (file.Status == platform::rtl::TFileReadStatus::Missing) return;
    // A file that is there but cannot be used is left as it is: the program runs without
    // fire scripts, as without the file, and says why.
    if (file.Status != platform::rtl::TFileReadStatus::Read) {
        form.RefreshFormMessagDialog(
            platform::rtl::Utf8ToUtf16("The fire script file " + path + " cannot be read (" +
                                       file.Reason + "). The fire scripts are not used."));
        return;
    }
    form.FireScriptsLoaded = 1;
    // A short file leaves its missing records zero: they count as empty.
    std::array<unsigned char, FireScriptCount * FireScriptRecordSize> bytes{};
    std::copy(file.Bytes.begin(), file.Bytes.end(), bytes.begin());
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

} // namespace window::settings
