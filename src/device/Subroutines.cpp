// Device variables, enumeration of the HID interfaces, counting and opening the mouse.
#include "device/Subroutines.h"

#include "device/DeviceImage.h"
#include "device/Hid.h"
#include "device/SetupApi.h"
#include "platform/win/Kernel.h"

#include <algorithm>
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

// Calls visit(path, instance) for every present HID interface whose device path could be
// obtained; instance tells the interface's node apart from one made anew under the same
// path. False when the interface list itself could not be obtained.
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
        visit(static_cast<const char*>(detail->DevicePath), deviceInfo.DevInst);
    }
    SetupDiDestroyDeviceInfoList(list);
    return true;
}

// The handshake made for the job in progress on this thread, through `report`: at most as
// many attempts as the job can still afford (each failed one costs it a failed transfer),
// and its failed transfers counted against the job.
THandshake HandshakeInJob(HANDLE handle, uint32_t length, uint8_t* report) {
    const int attempts =
        std::max(0, std::min(BlockAttempts, FailedTransfersPerJob - JobFailedTransfers()));
    const THandshake handshake = Handshake(handle, length, report, attempts);
    CountFailedTransfers(handshake.failedTransfers);
    return handshake;
}

InterfaceKey KeyOf(const char* path, win::DWORD instance) {
    return std::string(path) + "@" + std::to_string(instance);
}

// Calls take(query, path, attributes, caps, key) for every interface with these ids and
// 8-byte feature reports, with a query handle of its own. take returns true when it took
// the handle over; otherwise the handle is closed here.
template <typename Take>
void ForEachMatchingInterface(uint32_t vendorId, uint32_t productId, Take&& take) {
    const THidD_GetAttributes getAttributes = HidD_GetAttributes;
    const THidD_GetPreparsedData getPreparsed = HidD_GetPreparsedData;
    const THidD_FreePreparsedData freePreparsed = HidD_FreePreparsedData;
    const THidP_GetCaps getCaps = HidP_GetCaps;
    ForEachInterfacePath([&](const char* path, win::DWORD instance) {
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
        if (!(matches && take(query, path, attributes, caps, KeyOf(path, instance))))
            win::CloseHandle(query);
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

    const THandshake handshake = HandshakeInJob(query, caps.FeatureReportByteLength, ReportBuffer);
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
    ForEachInterfacePath([&](const char* path, win::DWORD) {
        const HANDLE h =
            win::CreateFileA(path, 0, kShareReadWrite, nullptr, win::OPEN_EXISTING, 0, nullptr);
        if (h != win::INVALID_HANDLE_VALUE) {
            ++count;
            win::CloseHandle(h);
        }
    });
    return count;
}

std::vector<InterfaceKey> MatchingInterfaces(uint32_t vendorId, uint32_t productId) {
    std::vector<InterfaceKey> keys;
    if (!LoadSetupApiLibrary() || !LoadHidLibrary()) return keys;
    ForEachMatchingInterface(
        vendorId, productId,
        [&](HANDLE, const char*, const auto&, const auto&, const InterfaceKey& key) {
            keys.push_back(key);
            return false;
        });
    return keys;
}

bool OpenDevice(uint32_t vendorId, uint32_t productId,
                const std::function<bool(const InterfaceKey&)>& accept) {
    if (!LoadSetupApiLibrary()) return false;
    if (!LoadHidLibrary()) return false;
    bool found = false;
    ForEachMatchingInterface(vendorId, productId,
                             [&](HANDLE query, const char* path, const auto& attributes,
                                 const auto& caps, const InterfaceKey& key) {
                                 if (accept && !accept(key)) return false;
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
                             [&](HANDLE, const char*, const auto&, const auto&, const auto&) {
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
            ++result.failedTransfers;
            if (failedBefore) break;
            failedBefore = true;
            continue;
        }
        result.commandSent = true;
        const uint8_t read[8] = {0x41, 0, 0, 0, 0, 0, 0, 0};
        std::memcpy(report, read, sizeof read);
        result.answered = getFeature(handle, report, length) != 0;
        result.replyRead = result.replyRead || result.answered;
        result.failedTransfers += result.answered ? 0 : 1;
        failedBefore = failedBefore || !result.answered;
    }
    return result;
}

namespace {

// The identity block read on `handle` alone, as the block read does it: the command, then
// one data report per seven bytes, every one of which must come.
bool ReadIdentityOn(HANDLE handle, uint32_t length, uint8_t* report,
                    const std::atomic<bool>& stop) {
    const THidD_SetFeature setFeature = HidD_SetFeature;
    const THidD_GetFeature getFeature = HidD_GetFeature;
    const uint16_t address = image::Identity.Offset;
    const uint16_t size = image::Identity.Length;
    const uint8_t command[8] = {0x40,
                                0x09,
                                static_cast<uint8_t>(address >> 8),
                                static_cast<uint8_t>(address),
                                static_cast<uint8_t>(size >> 8),
                                static_cast<uint8_t>(size),
                                0,
                                0};
    std::memcpy(report, command, sizeof command);
    if (stop || !setFeature(handle, report, length)) return false;
    // Every report the command announced is asked for, as the mouse expects.
    bool whole = true;
    for (uint32_t offset = 0; offset < size; offset += 7) {
        const uint8_t read[8] = {0x41, 0, 0, 0, 0, 0, 0, 0};
        std::memcpy(report, read, sizeof read);
        whole = getFeature(handle, report, length) != 0 && whole;
    }
    return whole;
}

} // namespace

InterfaceKey ProbeDevice(uint32_t vendorId, uint32_t productId, const std::atomic<bool>& stop,
                         const std::function<bool(const InterfaceKey&)>& accept) {
    InterfaceKey proven;
    ForEachMatchingInterface(
        vendorId, productId,
        [&](HANDLE query, const char*, const auto&, const auto& caps, const InterfaceKey& key) {
            if (!proven.empty() || stop || (accept && !accept(key))) return false;
            uint8_t report[8];
            const uint32_t length = caps.FeatureReportByteLength;
            if (Handshake(query, length, report, 1).answered &&
                ReadIdentityOn(query, length, report, stop))
                proven = key;
            return false;
        });
    return proven;
}

bool AskInformation(uint8_t (&reply)[7]) {
    ExchangeGuard exchange;
    // Without a data handle (the open's handshake got no answer) the command would wait for
    // a read that cannot be made.
    if (!exchange.ok() || DataHandle == win::INVALID_HANDLE_VALUE) return false;
    const THandshake handshake = HandshakeInJob(CommandHandle, FeatureReportLength, ReportBuffer);
    if (handshake.answered) std::memcpy(reply, ReportBuffer + 1, sizeof reply);
    return handshake.answered;
}

} // namespace device
