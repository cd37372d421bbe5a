#pragma once
// Objects behind this layer's handles, shared by the kernel, HID and setup calls.
#include "platform/win/HidBus.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::win::detail {

// One opened interface. Transfers hold a reference, so closing the handle while another
// thread transfers on it releases the interface only when that transfer is over.
struct FileObject {
    win::InterfaceInfo info;
    bool readWrite = false;
    std::shared_ptr<win::HidConnection> connection;
};

// Null (with ERROR_INVALID_HANDLE set) when the handle is not an open file handle.
std::shared_ptr<FileObject> LookupFile(HANDLE handle);

// The interfaces of the latest listing, so that opening by path does not list the bus
// again for every interface.
void RememberInterfaces(const std::shared_ptr<win::HidBus>& bus,
                        const std::vector<win::InterfaceInfo>& interfaces);
bool FindInterface(const std::shared_ptr<win::HidBus>& bus, const std::string& path,
                   win::InterfaceInfo& info);

// Exports of the two system libraries, name to entry point.
using ExportList = std::vector<std::pair<const char*, FARPROC>>;
const ExportList& HidDllExports();
const ExportList& SetupApiDllExports();

inline DWORD ToWinError(win::HidError error) {
    return static_cast<DWORD>(error);
}

// The published HID device interface class GUID.
inline constexpr GUID kHidInterfaceGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

} // namespace platform::win::detail
