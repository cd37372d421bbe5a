#pragma once
// The entry points of the system's HID library ("HID.dll") that the program calls. The
// program reaches them only through GetProcAddress on the loaded module; they are
// declared here for the module table and for tests.
#include "platform/win/WinTypes.h"

namespace platform::win {

void HidD_GetHidGuid(GUID* hidGuid);
BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes);
BOOLEAN HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData);
BOOLEAN HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData);
NTSTATUS HidP_GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities);
// buffer[0] is the report id; length is the whole report with the id byte.
BOOLEAN HidD_SetFeature(HANDLE device, void* reportBuffer, ULONG reportBufferLength);
BOOLEAN HidD_GetFeature(HANDLE device, void* reportBuffer, ULONG reportBufferLength);

constexpr NTSTATUS HIDP_STATUS_NOT_IMPLEMENTED = static_cast<NTSTATUS>(0xC0110020u);

} // namespace platform::win
