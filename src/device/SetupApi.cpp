#include "device/SetupApi.h"

#include "device/ModuleLoader.h"
#include "platform/win/SetupApiExports.h"

namespace device {

win::HMODULE SetupApiModule = nullptr;

TSetupDiGetClassDevsA SetupDiGetClassDevsA = nullptr;
TSetupDiGetClassDevsA SetupDiGetClassDevs = nullptr;
TSetupDiEnumDeviceInterfaces SetupDiEnumDeviceInterfaces = nullptr;
TSetupDiGetDeviceInterfaceDetailA SetupDiGetDeviceInterfaceDetailA = nullptr;
TSetupDiGetDeviceInterfaceDetailA SetupDiGetDeviceInterfaceDetail = nullptr;
TSetupDiDestroyDeviceInfoList SetupDiDestroyDeviceInfoList = nullptr;

namespace {

int32_t g_users = 0;
win::FARPROC g_entryPoints[win::kSetupApiExportCount] = {};

template <typename T> T Typed(HMODULE module, const char* name, bool& allFound) {
    return reinterpret_cast<T>(GetModuleProc(module, name, allFound));
}

void ClearEntryPoints() {
    SetupDiGetClassDevsA = SetupDiGetClassDevs = nullptr;
    SetupDiEnumDeviceInterfaces = nullptr;
    SetupDiGetDeviceInterfaceDetailA = SetupDiGetDeviceInterfaceDetail = nullptr;
    SetupDiDestroyDeviceInfoList = nullptr;
    for (win::FARPROC& p : g_entryPoints)
        p = nullptr;
}

} // namespace

win::FARPROC SetupApiEntryPoint(size_t index) {
    return index < win::kSetupApiExportCount ? g_entryPoints[index] : nullptr;
}

bool LoadSetupApiLibrary() {
    ++g_users;
    if (g_users > 1) return true;
    if (!LoadLibraryOnce(SetupApiModule, "SetupApi.dll")) {
        --g_users; // so that a later call tries again
        return false;
    }
    // Only the entry points the program calls decide whether the library is usable; the
    // others are resolved where the library has them.
    bool allFound = true;
    SetupDiGetClassDevsA =
        Typed<TSetupDiGetClassDevsA>(SetupApiModule, "SetupDiGetClassDevsA", allFound);
    SetupDiGetClassDevs = SetupDiGetClassDevsA;
    SetupDiEnumDeviceInterfaces = Typed<TSetupDiEnumDeviceInterfaces>(
        SetupApiModule, "SetupDiEnumDeviceInterfaces", allFound);
    SetupDiGetDeviceInterfaceDetailA = Typed<TSetupDiGetDeviceInterfaceDetailA>(
        SetupApiModule, "SetupDiGetDeviceInterfaceDetailA", allFound);
    SetupDiGetDeviceInterfaceDetail = SetupDiGetDeviceInterfaceDetailA;
    SetupDiDestroyDeviceInfoList = Typed<TSetupDiDestroyDeviceInfoList>(
        SetupApiModule, "SetupDiDestroyDeviceInfoList", allFound);
    bool optionalFound = true;
    for (size_t i = 0; i < win::kSetupApiExportCount; ++i)
        g_entryPoints[i] =
            GetModuleProc(SetupApiModule, win::kSetupApiExportNames[i], optionalFound);
    if (!allFound) {
        UnloadSetupApiLibrary();
        return false;
    }
    return true;
}

void UnloadSetupApiLibrary() {
    --g_users;
    if (g_users < 1) {
        FreeLibraryHandle(SetupApiModule);
        ClearEntryPoints();
    }
}

int32_t SetupApiUserCount() {
    return g_users;
}

} // namespace device
