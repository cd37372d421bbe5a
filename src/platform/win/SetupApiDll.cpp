#include "platform/win/SetupApiDll.h"

#include "platform/win/Kernel.h"
#include "platform/win/KernelObjects.h"
#include "platform/win/SetupApiExports.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace platform::win {
namespace {

// The HID device setup class.
constexpr GUID kHidClassGuid = {
    0x745A17A0, 0x74D3, 0x11D0, {0xB6, 0xFE, 0x00, 0xA0, 0xC9, 0x0F, 0x57, 0xDA}};

struct DeviceInfoList {
    GUID interfaceGuid{};
    std::vector<win::InterfaceInfo> interfaces;
};

struct ListTable {
    std::mutex mutex;
    std::unordered_map<HDEVINFO, std::shared_ptr<DeviceInfoList>> lists;
};

ListTable& Lists() {
    static ListTable table;
    return table;
}

std::shared_ptr<DeviceInfoList> LookupList(HDEVINFO handle) {
    ListTable& table = Lists();
    std::lock_guard lock(table.mutex);
    auto it = table.lists.find(handle);
    if (it != table.lists.end()) return it->second;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// The interface a record returned by SetupDiEnumDeviceInterfaces stands for (the
// record's Reserved field holds its index plus one).
const win::InterfaceInfo* InterfaceOf(const DeviceInfoList& list,
                                      const SP_DEVICE_INTERFACE_DATA* data) {
    if (!data || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return nullptr;
    if (data->Reserved == 0 || data->Reserved > list.interfaces.size()) return nullptr;
    return &list.interfaces[data->Reserved - 1];
}

BOOL NotImplementedSetup() {
    return Fail(ERROR_CALL_NOT_IMPLEMENTED);
}

} // namespace

HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, LPCSTR, HWND, DWORD flags) {
    if (!classGuid && !(flags & DIGCF_ALLCLASSES)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto list = std::make_shared<DeviceInfoList>();
    if (classGuid) list->interfaceGuid = *classGuid;
    const bool hidClass = (flags & DIGCF_ALLCLASSES) || *classGuid == detail::kHidInterfaceGuid;
    std::shared_ptr<win::HidBus> bus = win::Bus();
    if ((flags & DIGCF_DEVICEINTERFACE) && hidClass && bus) {
        list->interfaces = bus->Enumerate();
        detail::RememberInterfaces(bus, list->interfaces);
    }
    HDEVINFO handle = list.get();
    ListTable& table = Lists();
    std::lock_guard lock(table.mutex);
    table.lists.emplace(handle, std::move(list));
    return handle;
}

BOOL SetupDiEnumDeviceInterfaces(HDEVINFO deviceInfoSet, SP_DEVINFO_DATA* deviceInfoData,
                                 const GUID* interfaceClassGuid, DWORD memberIndex,
                                 SP_DEVICE_INTERFACE_DATA* deviceInterfaceData) {
    std::shared_ptr<DeviceInfoList> list = LookupList(deviceInfoSet);
    if (!list) return 0;
    if (deviceInfoData || !interfaceClassGuid || !deviceInterfaceData)
        return Fail(ERROR_INVALID_PARAMETER);
    if (deviceInterfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (!(*interfaceClassGuid == list->interfaceGuid) || memberIndex >= list->interfaces.size())
        return Fail(ERROR_NO_MORE_ITEMS);
    deviceInterfaceData->InterfaceClassGuid = *interfaceClassGuid;
    deviceInterfaceData->Flags = SPINT_ACTIVE;
    deviceInterfaceData->Reserved = memberIndex + 1;
    return 1;
}

BOOL SetupDiGetDeviceInterfaceDetailA(HDEVINFO deviceInfoSet,
                                      SP_DEVICE_INTERFACE_DATA* deviceInterfaceData,
                                      SP_DEVICE_INTERFACE_DETAIL_DATA_A* detailData,
                                      DWORD detailDataSize, DWORD* requiredSize,
                                      SP_DEVINFO_DATA* deviceInfoData) {
    std::shared_ptr<DeviceInfoList> list = LookupList(deviceInfoSet);
    if (!list) return 0;
    const win::InterfaceInfo* info = InterfaceOf(*list, deviceInterfaceData);
    if (!info) return Fail(ERROR_INVALID_PARAMETER);
    if (deviceInfoData && deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if ((detailData == nullptr) != (detailDataSize == 0)) return Fail(ERROR_INVALID_USER_BUFFER);
    if (detailData && detailData->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return Fail(ERROR_INVALID_USER_BUFFER);
    if (info->path.empty()) return Fail(ERROR_NO_SUCH_DEVICE);

    const DWORD needed = static_cast<DWORD>(kDetailPathOffset + info->path.size() + 1);
    if (requiredSize) *requiredSize = needed;
    if (deviceInfoData) {
        deviceInfoData->ClassGuid = kHidClassGuid;
        // The device instance: the node's, told apart from one made anew at the same path.
        deviceInfoData->DevInst = info->instance;
        deviceInfoData->Reserved = 0;
    }
    if (detailDataSize < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(reinterpret_cast<char*>(detailData) + kDetailPathOffset, info->path.c_str(),
                info->path.size() + 1);
    return 1;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet) {
    ListTable& table = Lists();
    std::lock_guard lock(table.mutex);
    if (!table.lists.erase(deviceInfoSet)) return Fail(ERROR_INVALID_HANDLE);
    return 1;
}

const detail::ExportList& detail::SetupApiDllExports() {
    static const ExportList exports = [] {
        const std::pair<const char*, FARPROC> real[] = {
            {"SetupDiGetClassDevsA", reinterpret_cast<FARPROC>(&SetupDiGetClassDevsA)},
            {"SetupDiEnumDeviceInterfaces",
             reinterpret_cast<FARPROC>(&SetupDiEnumDeviceInterfaces)},
            {"SetupDiGetDeviceInterfaceDetailA",
             reinterpret_cast<FARPROC>(&SetupDiGetDeviceInterfaceDetailA)},
            {"SetupDiDestroyDeviceInfoList",
             reinterpret_cast<FARPROC>(&SetupDiDestroyDeviceInfoList)},
        };
        ExportList list;
        for (const char* name : kSetupApiExportNames) {
            FARPROC proc = reinterpret_cast<FARPROC>(&NotImplementedSetup);
            for (const auto& [realName, realProc] : real)
                if (std::strcmp(realName, name) == 0) proc = realProc;
            list.emplace_back(name, proc);
        }
        return list;
    }();
    return exports;
}

} // namespace platform::win
