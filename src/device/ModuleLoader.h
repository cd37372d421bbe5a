#pragma once
// Unit ModuleLoader: loading a system library once by name and resolving its entry points.
#include "platform/win/WinTypes.h"

namespace device {

using platform::win::FARPROC;
using platform::win::HMODULE;

// Loads only when module holds 0, without any system error box for a missing library.
// True when module holds a handle afterwards.
bool LoadLibraryOnce(HMODULE& module, const char* libraryName);
// Frees the library when module is non-zero, then sets it to 0.
void FreeLibraryHandle(HMODULE& module);
// Null when module is 0 or does not export the name; a null result clears allFound,
// which no later success sets again.
FARPROC GetModuleProc(HMODULE module, const char* name, bool& allFound);

} // namespace device
