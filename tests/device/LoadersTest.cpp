// Run-time loading of the HID and setup libraries.
#include "DeviceFixture.h"
#include "device/Hid.h"
#include "device/ModuleLoader.h"
#include "device/SetupApi.h"
#include "platform/win/Kernel.h"
#include "platform/win/SetupApiExports.h"

namespace {

using namespace testing_support;
namespace win = platform::win;

void UnloadSetupApiCompletely() {
    while (device::SetupApiUserCount() > 0)
        device::UnloadSetupApiLibrary();
}

TEST(ModuleLoader, LoadsOnceRestoresErrorModeAndFreesToZero) {
    win::HMODULE module = nullptr;
    const int before = win::testing::ModuleLoadCount("hid.dll");
    win::SetErrorMode(0x0001);
    ASSERT_TRUE(device::LoadLibraryOnce(module, "hid.DLL"));
    const win::HMODULE first = module;
    EXPECT_TRUE(device::LoadLibraryOnce(module, "HID.dll"));
    EXPECT_EQ(module, first);
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), before + 1);
    EXPECT_EQ(win::SetErrorMode(0), 0x0001u);

    device::FreeLibraryHandle(module);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), before);
    device::FreeLibraryHandle(module); // no-op on 0
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), before);

    win::HMODULE missing = nullptr;
    EXPECT_FALSE(device::LoadLibraryOnce(missing, "NoSuchLibrary.dll"));
    EXPECT_EQ(missing, nullptr);
}

TEST(ModuleLoader, AllFoundFlagStaysClearedAfterAMiss) {
    win::HMODULE module = nullptr;
    ASSERT_TRUE(device::LoadLibraryOnce(module, "HID.dll"));
    bool allFound = true;
    EXPECT_NE(device::GetModuleProc(module, "HidD_GetFeature", allFound), nullptr);
    EXPECT_TRUE(allFound);
    EXPECT_EQ(device::GetModuleProc(module, "HidD_NoSuchEntry", allFound), nullptr);
    EXPECT_FALSE(allFound);
    EXPECT_NE(device::GetModuleProc(module, "HidD_SetFeature", allFound), nullptr);
    EXPECT_FALSE(allFound);
    bool unloaded = true;
    EXPECT_EQ(device::GetModuleProc(nullptr, "HidD_SetFeature", unloaded), nullptr);
    EXPECT_FALSE(unloaded);
    device::FreeLibraryHandle(module);
}

TEST(HidLoader, ResolvesEveryRequestedEntryPoint) {
    device::UnloadHidLibrary();
    ASSERT_TRUE(device::LoadHidLibrary());
    EXPECT_TRUE(device::IsHidLibraryLoaded());
    int count = 0;
    const device::HidEntryPoint* entries = device::HidEntryPoints(count);
    ASSERT_EQ(count, 41);
    // The system reports NT 5.1, so the version-dependent names are requested too.
    for (int i = 0; i < count; ++i)
        EXPECT_NE(entries[i].address, nullptr) << entries[i].name;
    EXPECT_NE(device::HidD_SetFeature.load(), nullptr);
    EXPECT_NE(device::HidP_GetCaps.load(), nullptr);
    // Loading again keeps the one module reference.
    EXPECT_TRUE(device::LoadHidLibrary());
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), 1);
}

TEST(HidLoader, AMissingEntryPointUnloadsTheLibrary) {
    device::UnloadHidLibrary();
    win::testing::HideExport("hid.dll", "HidP_InitializeReportForID");
    EXPECT_FALSE(device::LoadHidLibrary());
    EXPECT_FALSE(device::IsHidLibraryLoaded());
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), 0);
    EXPECT_EQ(device::HidD_GetFeature.load(), nullptr);
    int count = 0;
    const device::HidEntryPoint* entries = device::HidEntryPoints(count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(entries[i].address, nullptr) << entries[i].name;
    win::testing::RestoreExports();
    EXPECT_TRUE(device::LoadHidLibrary());
}

TEST(SetupApiLoader, CountsUsersAndLoadsOnce) {
    UnloadSetupApiCompletely();
    EXPECT_EQ(win::testing::ModuleLoadCount("setupapi.dll"), 0);
    EXPECT_EQ(device::SetupDiGetClassDevs, nullptr);
    ASSERT_TRUE(device::LoadSetupApiLibrary());
    ASSERT_TRUE(device::LoadSetupApiLibrary());
    EXPECT_EQ(device::SetupApiUserCount(), 2);
    EXPECT_EQ(win::testing::ModuleLoadCount("setupapi.dll"), 1);
    // The neutral names are the ANSI forms; every documented name resolves.
    EXPECT_EQ(device::SetupDiGetClassDevs, device::SetupDiGetClassDevsA);
    EXPECT_EQ(device::SetupDiGetDeviceInterfaceDetail, device::SetupDiGetDeviceInterfaceDetailA);
    for (size_t i = 0; i < win::kSetupApiExportCount; ++i)
        EXPECT_NE(device::SetupApiEntryPoint(i), nullptr) << win::kSetupApiExportNames[i];

    device::UnloadSetupApiLibrary();
    EXPECT_NE(device::SetupApiModule, nullptr); // one user left
    device::UnloadSetupApiLibrary();
    EXPECT_EQ(device::SetupApiModule, nullptr);
    EXPECT_EQ(device::SetupDiEnumDeviceInterfaces, nullptr);
    EXPECT_EQ(device::SetupApiEntryPoint(0), nullptr);
    EXPECT_EQ(win::testing::ModuleLoadCount("setupapi.dll"), 0);
}

TEST(SetupApiLoader, OnlyACalledEntryPointMakesTheLoadFail) {
    UnloadSetupApiCompletely();
    win::testing::HideExport("setupapi.dll", "SetupDiDrawMiniIcon");
    EXPECT_TRUE(device::LoadSetupApiLibrary());
    UnloadSetupApiCompletely();

    win::testing::HideExport("setupapi.dll", "SetupDiEnumDeviceInterfaces");
    EXPECT_FALSE(device::LoadSetupApiLibrary());
    EXPECT_EQ(device::SetupApiUserCount(), 0);
    EXPECT_EQ(win::testing::ModuleLoadCount("setupapi.dll"), 0);
    win::testing::RestoreExports();
    // The failed load took its user back, so the next one loads again.
    EXPECT_TRUE(device::LoadSetupApiLibrary());
    EXPECT_EQ(device::SetupApiUserCount(), 1);
}

class CountingLoads : public DeviceTest {};

TEST_F(CountingLoads, RepeatedCountsLoadEachLibraryOnceAndCountUsers) {
    UnloadSetupApiCompletely();
    device::UnloadHidLibrary();
    bus->Add("sim://kbd", 0x1111, 0x2222, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(device::CountHidDevices(), 1);
    EXPECT_EQ(device::SetupApiUserCount(), 3);
    EXPECT_EQ(win::testing::ModuleLoadCount("setupapi.dll"), 1);
    EXPECT_EQ(win::testing::ModuleLoadCount("hid.dll"), 1);
}

TEST_F(CountingLoads, WithoutTheHidLibraryCountingWorksAndOpeningFails) {
    device::UnloadHidLibrary();
    win::testing::HideExport("hid.dll", "HidD_Hello");
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    bus->Add("sim://kbd", 0x1111, 0x2222, 0);
    EXPECT_EQ(device::CountHidDevices(), 2);
    EXPECT_FALSE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_FALSE(IsValid(device::CommandHandle));
    EXPECT_TRUE(bus->Transcript().empty());
    win::testing::RestoreExports();
}

} // namespace
