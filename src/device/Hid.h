#pragma once
// Unit Hid: the system's HID library, loaded at run time, and its entry points. The ones
// the program calls are typed (and atomic: the polling thread transfers through them
// while the main thread may resolve them again); the rest are only resolved.
#include "platform/win/WinTypes.h"

#include <atomic>

namespace device {

namespace win = platform::win;

using THidD_GetHidGuid = void (*)(win::GUID*);
using THidD_GetAttributes = win::BOOLEAN (*)(win::HANDLE, win::HIDD_ATTRIBUTES*);
using THidD_GetPreparsedData = win::BOOLEAN (*)(win::HANDLE, win::PHIDP_PREPARSED_DATA*);
using THidD_FreePreparsedData = win::BOOLEAN (*)(win::PHIDP_PREPARSED_DATA);
using THidP_GetCaps = win::NTSTATUS (*)(win::PHIDP_PREPARSED_DATA, win::HIDP_CAPS*);
using THidD_SetFeature = win::BOOLEAN (*)(win::HANDLE, void*, win::ULONG);
using THidD_GetFeature = win::BOOLEAN (*)(win::HANDLE, void*, win::ULONG);

extern win::HMODULE HidModule;

extern std::atomic<THidD_GetHidGuid> HidD_GetHidGuid;
extern std::atomic<THidD_GetAttributes> HidD_GetAttributes;
extern std::atomic<THidD_GetPreparsedData> HidD_GetPreparsedData;
extern std::atomic<THidD_FreePreparsedData> HidD_FreePreparsedData;
extern std::atomic<THidP_GetCaps> HidP_GetCaps;
extern std::atomic<THidD_SetFeature> HidD_SetFeature;
extern std::atomic<THidD_GetFeature> HidD_GetFeature;

// Every entry point the loader knows, in the order it resolves them. Some exist only
// from a given system version on and are requested only there.
enum class HidRequirement { Always, NT51, NT5 };
struct HidEntryPoint {
    const char* name;
    HidRequirement requirement;
    win::FARPROC address; // null while not resolved
};
const HidEntryPoint* HidEntryPoints(int& count);

bool LoadHidLibrary();
void UnloadHidLibrary();
bool IsHidLibraryLoaded();

} // namespace device
