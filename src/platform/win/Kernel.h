#pragma once
// The kernel's module and file calls the device code makes, on Linux. Modules are an
// in-process table ("HID.dll", "SetupApi.dll") whose entry points are this layer's own
// HID and setup functions; files are the interfaces of the HID bus (platform/win/HidBus.h).
// Handles are opaque pointers to this layer's objects; a closed handle is refused by
// every call.
#include "platform/win/WinTypes.h"

namespace platform::win {

// ---- Modules ------------------------------------------------------------------------
// Names match without regard to case; a name without extension gets ".dll". Each load
// counts one reference that FreeLibrary gives back.
HMODULE LoadLibraryExA(LPCSTR fileName, HANDLE file, DWORD flags);
BOOL FreeLibrary(HMODULE module);
// Null when the module is not loaded or does not export the name (ERROR_PROC_NOT_FOUND).
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
// Returns the previous mode. Loading never shows anything here; the mode is kept so the
// loaders can set and restore it as they do on the system.
UINT SetErrorMode(UINT mode);
// Reports Windows NT 5.1, the oldest system on which every HID entry point exists.
BOOL GetVersionExA(OSVERSIONINFOA* info);

// ---- Errors (per thread) ------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD error);

// ---- Files on HID interfaces --------------------------------------------------------
// desiredAccess 0 opens a query handle (attributes, capabilities, feature reports) on any
// present interface; GENERIC_READ or GENERIC_WRITE opens the interface for input-report
// reads as well. Only OPEN_EXISTING is supported.
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Blocks until one input report arrives (report id first), the device goes, the handle is
// closed or CancelIoEx is called on it. overlapped must be null.
BOOL ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, void* overlapped);
// Wakes a ReadFile blocked on the handle (it fails with ERROR_OPERATION_ABORTED); later
// reads on the handle fail at once. The handle stays open.
BOOL CancelIoEx(HANDLE file, void* overlapped);
// Safe while another thread transfers on the same handle: that transfer finishes (or a
// blocked read wakes) before the interface is released.
BOOL CloseHandle(HANDLE object);

namespace testing {
// How often the module is loaded right now (0 when not loaded).
int ModuleLoadCount(LPCSTR fileName);
// Makes GetProcAddress miss one name of a module, as an older system library would.
void HideExport(LPCSTR fileName, LPCSTR procName);
void RestoreExports();
// Number of open file handles of this layer.
int OpenFileHandleCount();
} // namespace testing

} // namespace platform::win
