#include "device/Hid.h"

#include "device/ModuleLoader.h"
#include "platform/win/Kernel.h"

#include <iterator>
#include <string_view>

namespace device {

win::HMODULE HidModule = nullptr;

std::atomic<THidD_GetHidGuid> HidD_GetHidGuid{nullptr};
std::atomic<THidD_GetAttributes> HidD_GetAttributes{nullptr};
std::atomic<THidD_GetPreparsedData> HidD_GetPreparsedData{nullptr};
std::atomic<THidD_FreePreparsedData> HidD_FreePreparsedData{nullptr};
std::atomic<THidP_GetCaps> HidP_GetCaps{nullptr};
std::atomic<THidD_SetFeature> HidD_SetFeature{nullptr};
std::atomic<THidD_GetFeature> HidD_GetFeature{nullptr};

namespace {

using R = HidRequirement;

HidEntryPoint g_entries[] = {
    {"HidD_Hello", R::Always, nullptr},
    {"HidD_GetHidGuid", R::Always, nullptr},
    {"HidD_GetPreparsedData", R::Always, nullptr},
    {"HidD_FreePreparsedData", R::Always, nullptr},
    {"HidD_GetConfiguration", R::Always, nullptr},
    {"HidD_SetConfiguration", R::Always, nullptr},
    {"HidD_FlushQueue", R::Always, nullptr},
    {"HidD_GetFeature", R::Always, nullptr},
    {"HidD_SetFeature", R::Always, nullptr},
    {"HidD_GetNumInputBuffers", R::Always, nullptr},
    {"HidD_SetNumInputBuffers", R::Always, nullptr},
    {"HidD_GetAttributes", R::Always, nullptr},
    {"HidD_GetManufacturerString", R::Always, nullptr},
    {"HidD_GetProductString", R::Always, nullptr},
    {"HidD_GetSerialNumberString", R::Always, nullptr},
    {"HidD_GetPhysicalDescriptor", R::Always, nullptr},
    {"HidD_GetIndexedString", R::Always, nullptr},
    {"HidD_GetInputReport", R::NT51, nullptr},
    {"HidD_SetOutputReport", R::NT51, nullptr},
    {"HidP_GetCaps", R::Always, nullptr},
    {"HidP_GetLinkCollectionNodes", R::Always, nullptr},
    {"HidP_GetSpecificButtonCaps", R::Always, nullptr},
    {"HidP_GetSpecificValueCaps", R::Always, nullptr},
    {"HidP_GetData", R::Always, nullptr},
    {"HidP_SetData", R::Always, nullptr},
    {"HidP_MaxDataListLength", R::Always, nullptr},
    {"HidP_GetUsages", R::Always, nullptr},
    {"HidP_GetUsagesEx", R::Always, nullptr},
    {"HidP_SetUsages", R::Always, nullptr},
    {"HidP_UnsetUsages", R::Always, nullptr},
    {"HidP_MaxUsageListLength", R::Always, nullptr},
    {"HidP_GetUsageValue", R::Always, nullptr},
    {"HidP_GetScaledUsageValue", R::Always, nullptr},
    {"HidP_GetUsageValueArray", R::Always, nullptr},
    {"HidP_SetUsageValue", R::Always, nullptr},
    {"HidP_SetScaledUsageValue", R::Always, nullptr},
    {"HidP_SetUsageValueArray", R::Always, nullptr},
    {"HidP_UsageListDifference", R::Always, nullptr},
    {"HidP_TranslateUsagesToI8042ScanCodes", R::Always, nullptr},
    {"HidP_GetExtendedAttributes", R::NT5, nullptr},
    {"HidP_InitializeReportForID", R::NT5, nullptr},
};

bool Requested(HidRequirement requirement, const win::OSVERSIONINFOA& version) {
    const bool nt = version.dwPlatformId == win::VER_PLATFORM_WIN32_NT;
    switch (requirement) {
    case R::Always:
        return true;
    case R::NT51:
        return nt && version.dwMajorVersion >= 5 && version.dwMinorVersion >= 1;
    case R::NT5:
        return nt && version.dwMajorVersion >= 5;
    }
    return false;
}

win::FARPROC Resolved(const char* name) {
    for (const HidEntryPoint& e : g_entries)
        if (std::string_view(e.name) == name) return e.address;
    return nullptr;
}

template <typename T> void Bind(std::atomic<T>& slot, const char* name) {
    slot.store(reinterpret_cast<T>(Resolved(name)));
}

void BindCalledEntryPoints() {
    Bind(HidD_GetHidGuid, "HidD_GetHidGuid");
    Bind(HidD_GetAttributes, "HidD_GetAttributes");
    Bind(HidD_GetPreparsedData, "HidD_GetPreparsedData");
    Bind(HidD_FreePreparsedData, "HidD_FreePreparsedData");
    Bind(HidP_GetCaps, "HidP_GetCaps");
    Bind(HidD_SetFeature, "HidD_SetFeature");
    Bind(HidD_GetFeature, "HidD_GetFeature");
}

} // namespace

const HidEntryPoint* HidEntryPoints(int& count) {
    count = static_cast<int>(std::size(g_entries));
    return g_entries;
}

bool LoadHidLibrary() {
    if (!LoadLibraryOnce(HidModule, "HID.dll")) return false;
    win::OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    win::GetVersionExA(&version);
    bool allFound = true;
    for (HidEntryPoint& e : g_entries)
        if (Requested(e.requirement, version))
            e.address = GetModuleProc(HidModule, e.name, allFound);
    BindCalledEntryPoints();
    if (!allFound) {
        UnloadHidLibrary();
        return false;
    }
    return true;
}

void UnloadHidLibrary() {
    FreeLibraryHandle(HidModule);
    for (HidEntryPoint& e : g_entries)
        e.address = nullptr;
    BindCalledEntryPoints();
}

bool IsHidLibraryLoaded() {
    return HidModule != nullptr;
}

} // namespace device
