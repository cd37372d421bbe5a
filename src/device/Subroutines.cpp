// Device variables, enumeration of the HID interfaces, counting and opening the mouse.
#include "device/Subroutines.h"

#include "device/Hid.h"
#include "device/SetupApi.h"
#include "platform/win/Kernel.h"

#include <cstring>
#include <vector>

namespace device {

namespace win = platform::win;

std::atomic<HANDLE> CommandHandle{win::INVALID_HANDLE_VALUE};
std::atomic<HANDLE> DataHandle{win::INVALID_HANDLE_VALUE};
std::atomic<HANDLE> ReadWriteHandle{win::INVALID_HANDLE_VALUE};
uint32_t DeviceVendorId = 0;
uint32_t DeviceProductId = 0;
std::atomic<uint32_t> FeatureReportLength{0};
std::atomic<uint32_t> InputReportLength{0};
DeviceIdEntry DeviceIdTable[2];

namespace {

constexpr win::DWORD kShareReadWrite = win::FILE_SHARE_READ | win::FILE_SHARE_WRITE;
constexpr win::GUID kFixedHidGuid = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

win::GUID HidClassGuid() {
    win::GUID guid = kFixedHidGuid;
    THidD_GetHidGuid getGuid = HidD_GetHidGuid;
    if (IsHidLibraryLoaded() && getGuid) getGuid(&guid);
    return guid;
}

// Calls visit(path) for every present HID interface whose device path could be
// obtained. False when the interface list itself could not be obtained.
template <typename Visit> bool ForEachInterfacePath(Visit&& visit) {
    win::GUID guid = HidClassGuid();
    const win::HDEVINFO list = SetupDiGetClassDevsA(
        &guid, nullptr, nullptr, win::DIGCF_PRESENT | win::DIGCF_DEVICEINTERFACE);
    if (list == win::INVALID_HANDLE_VALUE) return false;
    for (win::DWORD index = 0;; ++index) {
        win::SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (!SetupDiEnumDeviceInterfaces(list, nullptr, &guid, index, &interfaceData)) break;

        win::SP_DEVINFO_DATA deviceInfo{};
        deviceInfo.cbSize = sizeof deviceInfo;
        win::DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailA(list, &interfaceData, nullptr, 0, &required, &deviceInfo);
        if (required == 0 || win::GetLastError() != win::ERROR_INSUFFICIENT_BUFFER) continue;

        // Words, so the detail record is aligned as the library expects.
        std::vector<uint32_t> buffer((required + 3) / 4 + 1, 0);
        auto* detail = reinterpret_cast<win::SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof(win::SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (!SetupDiGetDeviceInterfaceDetailA(list, &interfaceData, detail, required, nullptr,
                                              &deviceInfo))
            continue;
        visit(static_cast<const char*>(detail->DevicePath));
    }
    SetupDiDestroyDeviceInfoList(list);
    return true;
}

// Calls take(query, path, attributes, caps) for every interface with these ids and 8-byte
// feature reports, with a query handle of its own. take returns true when it took the
// handle over; otherwise the handle is closed here.
template <typename Take>
void ForEachMatchingInterface(uint32_t vendorId, uint32_t productId, Take&& take) {
    const THidD_GetAttributes getAttributes = HidD_GetAttributes;
    const THidD_GetPreparsedData getPreparsed = HidD_GetPreparsedData;
    const THidD_FreePreparsedData freePreparsed = HidD_FreePreparsedData;
    const THidP_GetCaps getCaps = HidP_GetCaps;
    ForEachInterfacePath([&](const char* path) {
        const HANDLE query =
            win::CreateFileA(path, 0, kShareReadWrite, nullptr, win::OPEN_EXISTING, 0, nullptr);
        if (query == win::INVALID_HANDLE_VALUE) return;
        win::HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        const bool haveAttributes = getAttributes(query, &attributes) != 0;
        win::HIDP_CAPS caps;
        std::memset(&caps, 0, sizeof caps);
        win::PHIDP_PREPARSED_DATA preparsed = nullptr;
        const bool havePreparsed = getPreparsed(query, &preparsed) != 0;
        if (havePreparsed) getCaps(preparsed, &caps);

        const bool matches = haveAttributes && caps.FeatureReportByteLength == 8 &&
                             attributes.VendorID == vendorId && attributes.ProductID == productId;
        if (!(matches && take(query, path, attributes, caps))) win::CloseHandle(query);
        if (havePreparsed) freePreparsed(preparsed);
    });
}

// Makes the query handle of a matching interface the device: the handles held before
// are released, the read-write handle opened, and the handshake made; the query handle
// is kept for what of it went. Runs as one exchange so that no other thread's exchange
// sees the new handles half set. False when this thread is inside another exchange's
// message pumping: the device it uses is left alone.
bool TakeDevice(HANDLE query, const char* path, const win::HIDD_ATTRIBUTES& attributes,
                const win::HIDP_CAPS& caps) {
    ExchangeGuard exchange;
    if (!exchange.ok()) return false;
    ReleaseDeviceHandles();
    ReadWriteHandle = win::CreateFileA(path, win::GENERIC_READ | win::GENERIC_WRITE,
                                       kShareReadWrite, nullptr, win::OPEN_EXISTING, 0, nullptr);
    DeviceVendorId = attributes.VendorID;
    DeviceProductId = attributes.ProductID;
    FeatureReportLength = caps.FeatureReportByteLength;
    InputReportLength = caps.InputReportByteLength;

    const THandshake handshake =
        Handshake(query, caps.FeatureReportByteLength, ReportBuffer, BlockAttempts);
    if (handshake.commandSent) CommandHandle = query;
    if (handshake.replyRead) DataHandle = query;
    if (!handshake.commandSent && !handshake.replyRead) win::CloseHandle(query);
    return true;
}

} // namespace

int32_t CountHidDevices() {
    if (!LoadSetupApiLibrary()) return 0;
    LoadHidLibrary();
    int32_t count = 0;
    ForEachInterfacePath([&](const char* path) {
        const HANDLE h =
            win::CreateFileA(path, 0, kShareReadWrite, nullptr, win::OPEN_EXISTING, 0, nullptr);
        if (h != win::INVALID_HANDLE_VALUE) {
            ++count;
            win::CloseHandle(h);
        }
    });
    return count;
}

bool OpenDevice(uint32_t vendorId, uint32_t productId) {
    if (!LoadSetupApiLibrary()) return false;
    if (!LoadHidLibrary()) return false;
    bool found = false;
    ForEachMatchingInterface(
        vendorId, productId,
        [&](HANDLE query, const char* path, const auto& attributes, const auto& caps) {
            const bool taken = TakeDevice(query, path, attributes, caps);
            found = found || taken;
            return taken;
        });
    return found;
}

bool DeviceListed(uint32_t vendorId, uint32_t productId) {
    if (!LoadSetupApiLibrary() || !LoadHidLibrary()) return false;
    bool listed = false;
    ForEachMatchingInterface(vendorId, productId,
                             [&](HANDLE, const char*, const auto&, const auto&) {
                                 listed = true;
                                 return false;
                             });
    return listed;
}

THandshake Handshake(HANDLE handle, uint32_t length, uint8_t* report, int attempts) {
    const THidD_SetFeature setFeature = HidD_SetFeature;
    const THidD_GetFeature getFeature = HidD_GetFeature;
    THandshake result;
    if (handle == win::INVALID_HANDLE_VALUE || !setFeature || !getFeature) return result;
    bool failedBefore = false;
    for (int attempt = 0; attempt < attempts && !result.answered; ++attempt) {
        const uint8_t info[8] = {0x40, 0x0D, 0, 0, 0, 0, 0, 0};
        std::memcpy(report, info, sizeof info);
        if (!setFeature(handle, report, length)) {
            if (failedBefore) break;
            failedBefore = true;
            continue;
        }
        result.commandSent = true;
        const uint8_t read[8] = {0x41, 0, 0, 0, 0, 0, 0, 0};
        std::memcpy(report, read, sizeof read);
        result.answered = getFeature(handle, report, length) != 0;
        result.replyRead = result.replyRead || result.answered;
        failedBefore = failedBefore || !result.answered;
    }
    return result;
}

bool ProbeDevice(uint32_t vendorId, uint32_t productId, const std::atomic<bool>& stop) {
    bool answered = false;
    ForEachMatchingInterface(
        vendorId, productId, [&](HANDLE query, const char*, const auto&, const auto& caps) {
            if (answered || stop) return false;
            uint8_t report[8];
            answered = Handshake(query, caps.FeatureReportByteLength, report, 1).answered;
            return false;
        });
    return answered;
}

} // namespace device
