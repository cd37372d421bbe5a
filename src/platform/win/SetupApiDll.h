#pragma once
// The entry points of the system's device setup library that the program calls. The
// program reaches them only through GetProcAddress; declared here for the module table
// and for tests. Every other exported name fails with ERROR_CALL_NOT_IMPLEMENTED.
#include "platform/win/WinTypes.h"

namespace platform::win {

// The present interfaces of one class: flags must hold DIGCF_DEVICEINTERFACE.
HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR enumerator, HWND parent, DWORD flags);
BOOL SetupDiEnumDeviceInterfaces(HDEVINFO deviceInfoSet, SP_DEVINFO_DATA* deviceInfoData,
                                 const GUID* interfaceClassGuid, DWORD memberIndex,
                                 SP_DEVICE_INTERFACE_DATA* deviceInterfaceData);
// Without a buffer: fails with ERROR_INSUFFICIENT_BUFFER and sets the required size.
BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO deviceInfoSet,
                                      SP_DEVICE_INTERFACE_DATA* deviceInterfaceData,
                                      SP_DEVICE_INTERFACE_DETAIL_DATA_A* detailData,
                                      DWORD detailDataSize, DWORD* requiredSize,
                                      SP_DEVINFO_DATA* deviceInfoData);
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet);

} // namespace platform::win
