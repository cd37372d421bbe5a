#include "device/ModuleLoader.h"

#include "platform/win/Kernel.h"

namespace device {

namespace win = platform::win;

bool LoadLibraryOnce(HMODULE& module, const char* libraryName) {
    if (module == nullptr) {
        const win::UINT previous = win::SetErrorMode(win::SEM_NOOPENFILEERRORBOX);
        module = win::LoadLibraryExA(libraryName, nullptr, 0);
        win::SetErrorMode(previous);
    }
    return module != nullptr;
}

void FreeLibraryHandle(HMODULE& module) {
    if (module != nullptr) {
        win::FreeLibrary(module);
        module = nullptr;
    }
}

FARPROC GetModuleProc(HMODULE module, const char* name, bool& allFound) {
    FARPROC proc = module ? win::GetProcAddress(module, name) : nullptr;
    if (!proc) allFound = false;
    return proc;
}

} // namespace device
