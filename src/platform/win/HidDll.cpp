#include "platform/win/HidDll.h"

#include "platform/win/Kernel.h"
#include "platform/win/KernelObjects.h"

#include <cstring>
#include <mutex>
#include <set>

namespace platform::win {

// What a preparsed-data handle points at: the capabilities of one interface.
struct HIDP_PREPARSED_DATA {
    win::InterfaceInfo info;
};

namespace {

struct PreparsedTable {
    std::mutex mutex;
    std::set<PHIDP_PREPARSED_DATA> live;
};

PreparsedTable& Preparsed() {
    static PreparsedTable table;
    return table;
}

bool IsLive(PHIDP_PREPARSED_DATA data) {
    PreparsedTable& table = Preparsed();
    std::lock_guard lock(table.mutex);
    return table.live.count(data) != 0;
}

// Entry points of the library that the program resolves but never calls.
BOOLEAN NotImplementedHidD() {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

NTSTATUS NotImplementedHidP() {
    return HIDP_STATUS_NOT_IMPLEMENTED;
}

bool Transfer(HANDLE device, void* buffer, ULONG length, bool set) {
    std::shared_ptr<detail::FileObject> f = detail::LookupFile(device);
    if (!f) return false;
    if (!buffer || length == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    win::HidError error = win::HidError::None;
    // A report the device answered short (or long) carries bytes it never sent: the
    // transfer failed.
    const bool ok =
        set ? f->connection->SetFeature(static_cast<const uint8_t*>(buffer), length, error)
            : f->connection->GetFeatureReply(static_cast<uint8_t*>(buffer), length, error) ==
                  static_cast<int>(length);
    if (!ok)
        SetLastError(error == win::HidError::None ? ERROR_GEN_FAILURE : detail::ToWinError(error));
    return ok;
}

template <typename F> FARPROC Proc(F f) {
    return reinterpret_cast<FARPROC>(f);
}

} // namespace

void HidD_GetHidGuid(GUID* hidGuid) {
    if (hidGuid) *hidGuid = detail::kHidInterfaceGuid;
}

BOOLEAN HidD_GetAttributes(HANDLE device, HIDD_ATTRIBUTES* attributes) {
    std::shared_ptr<detail::FileObject> f = detail::LookupFile(device);
    if (!f) return 0;
    if (!attributes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    attributes->Size = sizeof(HIDD_ATTRIBUTES);
    attributes->VendorID = f->info.vendorId;
    attributes->ProductID = f->info.productId;
    attributes->VersionNumber = f->info.versionNumber;
    return 1;
}

BOOLEAN HidD_GetPreparsedData(HANDLE device, PHIDP_PREPARSED_DATA* preparsedData) {
    std::shared_ptr<detail::FileObject> f = detail::LookupFile(device);
    if (!f) return 0;
    if (!preparsedData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto* data = new HIDP_PREPARSED_DATA{f->info};
    PreparsedTable& table = Preparsed();
    std::lock_guard lock(table.mutex);
    table.live.insert(data);
    *preparsedData = data;
    return 1;
}

BOOLEAN HidD_FreePreparsedData(PHIDP_PREPARSED_DATA preparsedData) {
    {
        PreparsedTable& table = Preparsed();
        std::lock_guard lock(table.mutex);
        if (!table.live.erase(preparsedData)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    }
    delete preparsedData;
    return 1;
}

NTSTATUS HidP_GetCaps(PHIDP_PREPARSED_DATA preparsedData, HIDP_CAPS* capabilities) {
    if (!capabilities || !IsLive(preparsedData)) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    const win::InterfaceInfo& info = preparsedData->info;
    std::memset(capabilities, 0, sizeof(HIDP_CAPS));
    capabilities->Usage = info.usage;
    capabilities->UsagePage = info.usagePage;
    capabilities->InputReportByteLength = info.inputReportByteLength;
    capabilities->OutputReportByteLength = info.outputReportByteLength;
    capabilities->FeatureReportByteLength = info.featureReportByteLength;
    capabilities->NumberLinkCollectionNodes = 1;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN HidD_SetFeature(HANDLE device, void* reportBuffer, ULONG reportBufferLength) {
    return Transfer(device, reportBuffer, reportBufferLength, true) ? 1 : 0;
}

BOOLEAN HidD_GetFeature(HANDLE device, void* reportBuffer, ULONG reportBufferLength) {
    return Transfer(device, reportBuffer, reportBufferLength, false) ? 1 : 0;
}

const detail::ExportList& detail::HidDllExports() {
    static const ExportList exports = [] {
        ExportList list = {
            {"HidD_GetHidGuid", Proc(&HidD_GetHidGuid)},
            {"HidD_GetAttributes", Proc(&HidD_GetAttributes)},
            {"HidD_GetPreparsedData", Proc(&HidD_GetPreparsedData)},
            {"HidD_FreePreparsedData", Proc(&HidD_FreePreparsedData)},
            {"HidP_GetCaps", Proc(&HidP_GetCaps)},
            {"HidD_SetFeature", Proc(&HidD_SetFeature)},
            {"HidD_GetFeature", Proc(&HidD_GetFeature)},
        };
        for (const char* name :
             {"HidD_Hello", "HidD_GetConfiguration", "HidD_SetConfiguration", "HidD_FlushQueue",
              "HidD_GetNumInputBuffers", "HidD_SetNumInputBuffers", "HidD_GetManufacturerString",
              "HidD_GetProductString", "HidD_GetSerialNumberString", "HidD_GetPhysicalDescriptor",
              "HidD_GetIndexedString", "HidD_GetInputReport", "HidD_SetOutputReport",
              "HidD_GetMsGenreDescriptor", "HidP_MaxDataListLength", "HidP_MaxUsageListLength"})
            list.emplace_back(name, Proc(&NotImplementedHidD));
        for (const char* name : {"HidP_GetLinkCollectionNodes",
                                 "HidP_GetSpecificButtonCaps",
                                 "HidP_GetButtonCaps",
                                 "HidP_GetSpecificValueCaps",
                                 "HidP_GetValueCaps",
                                 "HidP_GetData",
                                 "HidP_SetData",
                                 "HidP_GetUsages",
                                 "HidP_GetUsagesEx",
                                 "HidP_SetUsages",
                                 "HidP_UnsetUsages",
                                 "HidP_GetUsageValue",
                                 "HidP_GetScaledUsageValue",
                                 "HidP_GetUsageValueArray",
                                 "HidP_SetUsageValue",
                                 "HidP_SetScaledUsageValue",
                                 "HidP_SetUsageValueArray",
                                 "HidP_UsageListDifference",
                                 "HidP_TranslateUsagesToI8042ScanCodes",
                                 "HidP_GetExtendedAttributes",
                                 "HidP_InitializeReportForID"})
            list.emplace_back(name, Proc(&NotImplementedHidP));
        return list;
    }();
    return exports;
}

} // namespace platform::win
