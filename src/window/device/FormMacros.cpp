// The macro names the device handling keeps on the main window: the PC macro library and
// its list, and the device-macro codes of the profile keys.
#include "device/Macros.h"
#include "device/PCMacroLibrary.h"
#include "window/Main.h"

#include "platform/rtl/SysUtils.h"

namespace window {
namespace {

// What the user is told when the library file could not be used. The file is never
// overwritten then, so the user's own macros stay on disk.
std::string LibraryProblemText(const ::device::PCMacroLibraryResult& result) {
    using ::device::PCMacroLibraryStatus;
    switch (result.Status) {
    case PCMacroLibraryStatus::WrongSize:
        return "The macro library file " + result.Path + " is " + std::to_string(result.FileSize) +
               " bytes long instead of " + std::to_string(::device::image::PCMacroLibrarySize) +
               ". It was left unchanged; the built-in macros are used.";
    case PCMacroLibraryStatus::Unreadable:
        return "The macro library file " + result.Path + " cannot be read (" + result.Reason +
               "). It was left unchanged; the built-in macros are used.";
    case PCMacroLibraryStatus::NotCreated:
        return "The macro library file " + result.Path + " cannot be created (" + result.Reason +
               "). The built-in macros are used.";
    default:
        return {};
    }
}

} // namespace

void TForm1::CheckPCMacro(platform::vcl::TObject*) {
    const ::device::PCMacroLibraryResult result = ::device::CheckPCMacroLibrary(
        ::device::PCMacroLibraryPath(MacroLibraryFolder, ProgramFolder));
    if (!result.Ok())
        RefreshFormMessagDialog(platform::rtl::Utf8ToUtf16(LibraryProblemText(result)));
}

void TForm1::RefreshPCMacroName() {
    platform::vcl::TItemList& names = LB_PCMacroName->Items();
    names.Clear();
    // A record without a name (00 00 or FF FF in front) is a free place of the library.
    for (const ::device::TMacroName& name : ::device::PCMacroNameTable)
        if (::device::FireMacroNameInUse(name)) names.Add(::device::MacroNameToText(name));
    Named<platform::vcl::TControl>("Btn_NewMacro")
        .SetEnabled(names.Count() < ::device::image::PCMacroCount);
}

void TForm1::RefreshMacroAddr() {
    ::device::TProfileSection* copies[3] = {&Profile1Copy, &Profile2Copy, &Profile3Copy};
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < ::device::image::ProfileKeyCount; ++k) {
            const std::string& keyName = KeyNameCache[p * ::device::image::ProfileKeyCount + k];
            if (keyName.empty()) continue;
            for (size_t slot = 0; slot < DeviceMacros.Names.size(); ++slot) {
                if (::device::MacroNameToText(DeviceMacros.Names[slot]) != keyName) continue;
                const std::string code = ::device::DeviceMacroCode(DeviceMacros.StartAddress[slot]);
                KeyCodeStrings[p][k] = code;
                const ::device::TButtonFunction bytes = ::device::ButtonFunctionFromText(code);
                std::copy(bytes.begin(), bytes.end(),
                          copies[p]->begin() + ::device::image::ButtonFunctionSize * k);
                break;
            }
        }
    }
}

} // namespace window
