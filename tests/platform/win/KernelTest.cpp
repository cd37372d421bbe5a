// The Windows-style module, setup, HID and file calls over a stub bus.
#include "platform/win/Kernel.h"
#include "platform/win/HidBus.h"
#include "platform/win/HidDll.h"
#include "platform/win/SetupApiDll.h"
#include "platform/win/SetupApiExports.h"
#include "platform/win/backends/HidrawBus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

namespace win = platform::win;

// Interfaces as listed; SetFeature blocks while the bus is held, so a test can close a
// handle in the middle of a transfer.
class StubBus : public win::HidBus {
public:
    std::vector<win::InterfaceInfo> interfaces;
    std::mutex mutex;
    std::condition_variable changed;
    bool hold = false;
    int inTransfer = 0;
    std::atomic<int> live{0};

    std::vector<win::InterfaceInfo> Enumerate() override { return interfaces; }
    std::unique_ptr<win::HidConnection> Open(const std::string& path, win::OpenAccess,
                                             win::HidError& error) override {
        for (const auto& i : interfaces)
            if (i.path == path) return std::make_unique<Connection>(*this);
        error = win::HidError::FileNotFound;
        return nullptr;
    }

    struct Connection : win::HidConnection {
        explicit Connection(StubBus& b) : bus(b) { ++bus.live; }
        ~Connection() override { --bus.live; }
        bool SetFeature(const uint8_t* buf, size_t, win::HidError& error) override {
            std::unique_lock lock(bus.mutex);
            ++bus.inTransfer;
            bus.changed.notify_all();
            bus.changed.wait(lock, [&] { return !bus.hold; });
            --bus.inTransfer;
            if (buf[0] == 0xEE) {
                error = win::HidError::DeviceNotConnected;
                return false;
            }
            return true;
        }
        bool GetFeature(uint8_t* buf, size_t len, win::HidError&) override {
            for (size_t i = 1; i < len; ++i)
                buf[i] = static_cast<uint8_t>(i);
            return true;
        }
        int ReadInput(uint8_t*, size_t, win::HidError& error) override {
            std::unique_lock lock(bus.mutex);
            bus.changed.wait(lock, [&] { return interrupted; });
            error = win::HidError::OperationAborted;
            return -1;
        }
        void InterruptRead() override {
            std::lock_guard lock(bus.mutex);
            interrupted = true;
            bus.changed.notify_all();
        }
        StubBus& bus;
        bool interrupted = false;
    };
};

class Kernel : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_shared<StubBus>();
        win::InterfaceInfo mouse;
        mouse.path = "stub://mouse";
        mouse.vendorId = 0x04B4;
        mouse.productId = 0x08B9;
        mouse.versionNumber = 0x0102;
        mouse.usagePage = 0xFF00;
        mouse.usage = 1;
        mouse.featureReportByteLength = 8;
        mouse.inputReportByteLength = 8;
        bus->interfaces.push_back(mouse);
        win::InterfaceInfo gone;
        bus->interfaces.push_back(gone);
        win::SetBus(bus);
    }
    void TearDown() override { win::SetBus(nullptr); }

    win::HANDLE Open(const char* path, win::DWORD access) {
        return win::CreateFileA(path, access, 3, nullptr, win::OPEN_EXISTING, 0, nullptr);
    }

    std::shared_ptr<StubBus> bus;
};

TEST(Modules, NamesMatchWithoutCaseAndReferencesAreCounted) {
    const win::HMODULE a = win::LoadLibraryExA("hid.dll", nullptr, 0);
    const win::HMODULE b = win::LoadLibraryExA("HID", nullptr, 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(win::testing::ModuleLoadCount("Hid.Dll"), 2);
    EXPECT_EQ(win::LoadLibraryExA("kernel32.dll", nullptr, 0), nullptr);
    EXPECT_EQ(win::GetLastError(), win::ERROR_MOD_NOT_FOUND);

    EXPECT_NE(win::GetProcAddress(a, "HidD_GetFeature"), nullptr);
    EXPECT_EQ(win::GetProcAddress(a, "hidd_getfeature"), nullptr); // entry names keep case
    EXPECT_EQ(win::GetLastError(), win::ERROR_PROC_NOT_FOUND);
    EXPECT_TRUE(win::FreeLibrary(a));
    EXPECT_TRUE(win::FreeLibrary(b));
    EXPECT_FALSE(win::FreeLibrary(a));
    EXPECT_EQ(win::GetProcAddress(a, "HidD_GetFeature"), nullptr); // no longer loaded
}

TEST(Modules, EverySetupNameResolvesAndTheUncalledOnesFail) {
    const win::HMODULE setup = win::LoadLibraryExA("SETUPAPI.DLL", nullptr, 0);
    ASSERT_NE(setup, nullptr);
    for (const char* name : win::kSetupApiExportNames)
        EXPECT_NE(win::GetProcAddress(setup, name), nullptr) << name;
    EXPECT_EQ(win::GetProcAddress(setup, "SetupDiGetClassDevsA"),
              reinterpret_cast<win::FARPROC>(&win::SetupDiGetClassDevsA));
    auto stub =
        reinterpret_cast<win::BOOL (*)()>(win::GetProcAddress(setup, "SetupDiEnumDeviceInfo"));
    win::SetLastError(0);
    EXPECT_EQ(stub(), 0);
    EXPECT_EQ(win::GetLastError(), win::ERROR_CALL_NOT_IMPLEMENTED);
    win::FreeLibrary(setup);
}

TEST(Modules, TheSystemIsNt51AndTheErrorModeIsKept) {
    win::OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(win::GetVersionExA(&v));
    EXPECT_EQ(v.dwPlatformId, win::VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(v.dwMajorVersion, 5u);
    EXPECT_EQ(v.dwMinorVersion, 1u);
    const win::UINT old = win::SetErrorMode(win::SEM_NOOPENFILEERRORBOX);
    EXPECT_EQ(win::SetErrorMode(old), win::SEM_NOOPENFILEERRORBOX);
}

TEST(Errors, LastErrorBelongsToEachThread) {
    win::SetLastError(42);
    std::thread([] {
        EXPECT_EQ(win::GetLastError(), 0u);
        win::SetLastError(7);
    }).join();
    EXPECT_EQ(win::GetLastError(), 42u);
}

TEST_F(Kernel, SetupListsInterfacesWithTheSizeQueryAndRecordSizeChecks) {
    win::GUID guid;
    win::HidD_GetHidGuid(&guid);
    EXPECT_EQ(guid.Data1, 0x4D1E55B2u);
    const win::HDEVINFO list = win::SetupDiGetClassDevsA(&guid, nullptr, nullptr, 0x12);
    ASSERT_NE(list, win::INVALID_HANDLE_VALUE);

    win::SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = 28; // the 32-bit size does not fit this process
    EXPECT_FALSE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, 0, &data));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_USER_BUFFER);
    data.cbSize = sizeof data;
    ASSERT_TRUE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, 0, &data));

    win::SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    win::DWORD required = 0;
    EXPECT_FALSE(win::SetupDiGetDeviceInterfaceDetailA(list, &data, nullptr, 0, &required, &info));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(required, win::kDetailPathOffset + std::strlen("stub://mouse") + 1);

    std::vector<uint32_t> buffer(required / 4 + 2);
    auto* detail = reinterpret_cast<win::SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = 5; // the 32-bit ANSI size
    EXPECT_FALSE(
        win::SetupDiGetDeviceInterfaceDetailA(list, &data, detail, required, nullptr, &info));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_USER_BUFFER);
    detail->cbSize = sizeof(win::SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    EXPECT_FALSE(
        win::SetupDiGetDeviceInterfaceDetailA(list, &data, detail, required - 1, nullptr, &info));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INSUFFICIENT_BUFFER);
    ASSERT_TRUE(
        win::SetupDiGetDeviceInterfaceDetailA(list, &data, detail, required, nullptr, &info));
    EXPECT_STREQ(detail->DevicePath, "stub://mouse");

    // The second interface went away: its detail call fails, the third index ends the list.
    ASSERT_TRUE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, 1, &data));
    required = 0;
    EXPECT_FALSE(win::SetupDiGetDeviceInterfaceDetailA(list, &data, nullptr, 0, &required, &info));
    EXPECT_NE(win::GetLastError(), win::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_FALSE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, 2, &data));
    EXPECT_EQ(win::GetLastError(), win::ERROR_NO_MORE_ITEMS);

    EXPECT_TRUE(win::SetupDiDestroyDeviceInfoList(list));
    EXPECT_FALSE(win::SetupDiDestroyDeviceInfoList(list));
    EXPECT_FALSE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &guid, 0, &data));
}

TEST_F(Kernel, OtherClassesListNothing) {
    const win::GUID other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    const win::HDEVINFO list = win::SetupDiGetClassDevsA(&other, nullptr, nullptr, 0x12);
    win::SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_FALSE(win::SetupDiEnumDeviceInterfaces(list, nullptr, &other, 0, &data));
    win::SetupDiDestroyDeviceInfoList(list);
}

TEST_F(Kernel, QueryHandlesGiveAttributesCapsAndFeatureReports) {
    const win::HANDLE h = Open("stub://mouse", 0);
    ASSERT_NE(h, win::INVALID_HANDLE_VALUE);
    win::HIDD_ATTRIBUTES attributes{};
    ASSERT_TRUE(win::HidD_GetAttributes(h, &attributes));
    EXPECT_EQ(attributes.Size, sizeof attributes);
    EXPECT_EQ(attributes.VendorID, 0x04B4);
    EXPECT_EQ(attributes.ProductID, 0x08B9);
    EXPECT_EQ(attributes.VersionNumber, 0x0102);

    win::PHIDP_PREPARSED_DATA preparsed = nullptr;
    ASSERT_TRUE(win::HidD_GetPreparsedData(h, &preparsed));
    win::HIDP_CAPS caps;
    std::memset(&caps, 0xAB, sizeof caps);
    EXPECT_EQ(win::HidP_GetCaps(preparsed, &caps), win::HIDP_STATUS_SUCCESS);
    EXPECT_EQ(caps.UsagePage, 0xFF00);
    EXPECT_EQ(caps.Usage, 1);
    EXPECT_EQ(caps.FeatureReportByteLength, 8);
    EXPECT_EQ(caps.InputReportByteLength, 8);
    EXPECT_EQ(caps.OutputReportByteLength, 0);
    EXPECT_EQ(caps.Reserved[16], 0);
    EXPECT_TRUE(win::HidD_FreePreparsedData(preparsed));
    EXPECT_FALSE(win::HidD_FreePreparsedData(preparsed));
    EXPECT_EQ(win::HidP_GetCaps(preparsed, &caps), win::HIDP_STATUS_INVALID_PREPARSED_DATA);

    uint8_t report[8] = {0x41};
    EXPECT_TRUE(win::HidD_GetFeature(h, report, 8));
    EXPECT_EQ(report[7], 7);
    report[0] = 0xEE;
    EXPECT_FALSE(win::HidD_SetFeature(h, report, 8));
    EXPECT_EQ(win::GetLastError(), win::ERROR_DEVICE_NOT_CONNECTED);

    win::DWORD read = 0;
    EXPECT_FALSE(win::ReadFile(h, report, 8, &read, nullptr));
    EXPECT_EQ(win::GetLastError(), win::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(win::CloseHandle(h));
    EXPECT_FALSE(win::CloseHandle(h));
    EXPECT_FALSE(win::HidD_GetAttributes(h, &attributes));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_HANDLE);
    EXPECT_EQ(bus->live, 0);
}

TEST_F(Kernel, OpeningAnAbsentInterfaceFails) {
    EXPECT_EQ(Open("stub://keyboard", 0), win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(win::GetLastError(), win::ERROR_FILE_NOT_FOUND);
    win::SetBus(nullptr);
    EXPECT_EQ(Open("stub://mouse", 0), win::INVALID_HANDLE_VALUE);
}

TEST_F(Kernel, CancelWakesABlockedReadAndTheHandleStaysOpen) {
    const win::HANDLE h = Open("stub://mouse", win::GENERIC_READ | win::GENERIC_WRITE);
    ASSERT_NE(h, win::INVALID_HANDLE_VALUE);
    win::BOOL ok = 1;
    win::DWORD error = 0;
    std::thread reader([&] {
        uint8_t report[8];
        win::DWORD read = 0;
        ok = win::ReadFile(h, report, 8, &read, nullptr);
        error = win::GetLastError();
    });
    EXPECT_TRUE(win::CancelIoEx(h, nullptr));
    reader.join();
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, win::ERROR_OPERATION_ABORTED);
    EXPECT_EQ(bus->live, 1);
    EXPECT_TRUE(win::CloseHandle(h));
    EXPECT_EQ(bus->live, 0);
}

TEST_F(Kernel, ClosingDuringATransferReleasesTheInterfaceAfterIt) {
    const win::HANDLE h = Open("stub://mouse", 0);
    {
        std::lock_guard lock(bus->mutex);
        bus->hold = true;
    }
    win::BOOLEAN sent = 0;
    std::thread sender([&] {
        uint8_t report[8] = {0x40, 0x0D};
        sent = win::HidD_SetFeature(h, report, 8);
    });
    {
        std::unique_lock lock(bus->mutex);
        bus->changed.wait(lock, [&] { return bus->inTransfer == 1; });
    }
    EXPECT_TRUE(win::CloseHandle(h));
    EXPECT_EQ(bus->live, 1); // still in use by the transfer
    {
        std::lock_guard lock(bus->mutex);
        bus->hold = false;
        bus->changed.notify_all();
    }
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(bus->live, 0);
    EXPECT_EQ(win::testing::OpenFileHandleCount(), 0);
}

class BusChoice : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("VTRM408X_SIMULATE");
        win::SetSimulatedBusFactory(nullptr);
        win::SetBus(nullptr);
    }
};

TEST_F(BusChoice, TheVariableOrTheMouseOnHidrawDecides) {
    auto simulated = std::make_shared<StubBus>();
    auto isHidraw = [](const std::shared_ptr<win::HidBus>& b) {
        return dynamic_cast<win::HidrawBus*>(b.get()) != nullptr;
    };
    unsetenv("VTRM408X_SIMULATE");
    EXPECT_TRUE(isHidraw(win::InstallDefaultBus(0xFFFF, 0xFFFF))); // no simulator registered
    win::SetSimulatedBusFactory([&] { return simulated; });
    // No interface with these ids exists on any machine.
    EXPECT_EQ(win::InstallDefaultBus(0xFFFF, 0xFFFF), simulated);
    EXPECT_EQ(win::Bus(), simulated);
    setenv("VTRM408X_SIMULATE", "0", 1);
    EXPECT_TRUE(isHidraw(win::InstallDefaultBus(0xFFFF, 0xFFFF)));
    EXPECT_TRUE(isHidraw(win::Bus()));
    setenv("VTRM408X_SIMULATE", "1", 1);
    EXPECT_EQ(win::InstallDefaultBus(0xFFFF, 0xFFFF), simulated);
}

} // namespace
