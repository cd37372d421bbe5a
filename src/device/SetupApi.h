#pragma once
// Unit SetupApi: the system's device setup library, loaded at run time and shared by a
// count of users, and its entry points. The four the program calls are typed; the
// neutral names are bound to the ANSI forms.
#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>

namespace device {

namespace win = platform::win;

using TSetupDiGetClassDevsA = win::HDEVINFO (*)(const win::GUID*, win::LPCSTR, win::HWND,
                                                win::DWORD);
using TSetupDiEnumDeviceInterfaces = win::BOOL (*)(win::HDEVINFO, win::SP_DEVINFO_DATA*,
                                                   const win::GUID*, win::DWORD,
                                                   win::SP_DEVICE_INTERFACE_DATA*);
using TSetupDiGetDeviceInterfaceDetailA = win::BOOL (*)(win::HDEVINFO,
                                                        win::SP_DEVICE_INTERFACE_DATA*,
                                                        win::SP_DEVICE_INTERFACE_DETAIL_DATA_A*,
                                                        win::DWORD, win::DWORD*,
                                                        win::SP_DEVINFO_DATA*);
using TSetupDiDestroyDeviceInfoList = win::BOOL (*)(win::HDEVINFO);

extern win::HMODULE SetupApiModule;

extern TSetupDiGetClassDevsA SetupDiGetClassDevsA;
extern TSetupDiGetClassDevsA SetupDiGetClassDevs;
extern TSetupDiEnumDeviceInterfaces SetupDiEnumDeviceInterfaces;
extern TSetupDiGetDeviceInterfaceDetailA SetupDiGetDeviceInterfaceDetailA;
extern TSetupDiGetDeviceInterfaceDetailA SetupDiGetDeviceInterfaceDetail;
extern TSetupDiDestroyDeviceInfoList SetupDiDestroyDeviceInfoList;

// Every other documented entry point, by the library's export order: resolved for the
// program's users of the library; null while not loaded or not exported.
win::FARPROC SetupApiEntryPoint(size_t index);

bool LoadSetupApiLibrary();
void UnloadSetupApiLibrary();
int32_t SetupApiUserCount();

} // namespace device
