// Finding and opening the mouse among the simulated interfaces.
#include "SimDeviceFixture.h"

namespace integration {
namespace {

using SimOpenDevice = SimDeviceTest;

TEST_F(SimOpenDevice, OpensTheMouseAndShakesHandsWithTheInformationCommand) {
    EXPECT_EQ(device::CountHidDevices(), 2);
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    EXPECT_EQ(device::DeviceVendorId, kVendor);
    EXPECT_EQ(device::DeviceProductId, kProduct);
    EXPECT_EQ(device::FeatureReportLength, 8u);
    EXPECT_EQ(device::InputReportLength, 8u);
    EXPECT_EQ(device::CommandHandle.load(), device::DataHandle.load());
    EXPECT_NE(device::ReadWriteHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_NE(device::ReadWriteHandle.load(), device::CommandHandle.load());
    EXPECT_EQ(All(), (std::vector<Report>{R({0x40, 0x0D}), R({0x41, 0x3F, 0x3A, 0xC0})}));
}

TEST_F(SimOpenDevice, KeyboardsAndAMouseWithoutEightByteFeaturesAreCountedNotOpened) {
    mouse->Unplug();
    simulator::SimMouseConfig other = MouseConfig();
    other.featureReportLength = 9;
    bus->AddMouse(other);
    simulator::SimKeyboardConfig k;
    k.featureReportLength = 5;
    bus->AddKeyboard(k);
    EXPECT_EQ(device::CountHidDevices(), 3);
    EXPECT_FALSE(device::OpenDevice(kVendor, kProduct));
    EXPECT_EQ(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::DataHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::ReadWriteHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(bus->Transcript().size(), 0u) << "nothing is sent to an interface not taken";
}

TEST_F(SimOpenDevice, TheLaterOfTwoMatchingInterfacesStaysOpen) {
    auto second = bus->AddMouse(MouseConfig(PatternImage(9)));
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    bus->ClearTranscript();
    uint8_t dest[7];
    ASSERT_TRUE(device::ReadEepromBlock(0, 7, dest));
    for (const simulator::TranscriptEntry& e : bus->Transcript())
        EXPECT_EQ(e.interfaceId, second->Id());
    const Bytes image = second->Image();
    EXPECT_EQ(Bytes(dest, dest + 7), Bytes(image.begin(), image.begin() + 7));
}

// The handshake's send that fails is not followed by its read: failing once it is made
// again and the mouse is open; failing twice, the mouse is not answering and no handle
// is kept.
TEST_F(SimOpenDevice, TheHandshakeSendFailingOnceIsMadeAgainAndTwiceKeepsNoHandle) {
    mouse->FailNextSetFeature(1);
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    EXPECT_NE(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_NE(device::DataHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_TRUE(device::WriteConfigBytes(1, 2, 0, 0, 1));

    mouse->FailNextSetFeature(2);
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    EXPECT_EQ(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::DataHandle, platform::win::INVALID_HANDLE_VALUE);
    EXPECT_FALSE(device::WriteConfigBytes(1, 2, 0, 0, 1)) << "no command can be sent";
}

TEST_F(SimOpenDevice, RepeatedCountingLoadsTheLibrariesOnce) {
    const int32_t users = device::SetupApiUserCount();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(device::CountHidDevices(), 2);
    EXPECT_EQ(device::SetupApiUserCount(), users + 10);
    EXPECT_TRUE(device::IsHidLibraryLoaded());
}

TEST_F(SimOpenDevice, AnUnpluggedMouseIsNeitherCountedNorOpened) {
    mouse->Unplug();
    EXPECT_EQ(device::CountHidDevices(), 1);
    EXPECT_FALSE(device::OpenDevice(kVendor, kProduct));
    mouse->Plug();
    EXPECT_EQ(device::CountHidDevices(), 2);
    EXPECT_TRUE(device::OpenDevice(kVendor, kProduct));
}

} // namespace
} // namespace integration
