// Counting the HID interfaces and opening the mouse among them.
#include "DeviceFixture.h"
#include "platform/win/Kernel.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace testing_support;
using platform::win::OpenAccess;
namespace win = platform::win;

const Bytes kInfoCommand = {0x40, 0x0D, 0, 0, 0, 0, 0, 0};
const Bytes kDataRequest = {0x41, 0, 0, 0, 0, 0, 0, 0};

class OpenDevice : public DeviceTest {};

TEST_F(OpenDevice, KeyboardsAndAMouseWithoutEightByteFeaturesAreCountedNotOpened) {
    bus->Add("sim://kbd1", 0x046D, 0xC31C, 2);
    bus->Add("sim://kbd2", 0x046D, 0xC31C, 0);
    bus->Add("sim://mouse-boot", kMouseVendor, kMouseProduct, 0, 4);
    bus->Add("sim://mouse-wide", kMouseVendor, kMouseProduct, 65);
    EXPECT_EQ(device::CountHidDevices(), 4);
    EXPECT_FALSE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_FALSE(IsValid(device::CommandHandle));
    EXPECT_FALSE(IsValid(device::DataHandle));
    EXPECT_FALSE(IsValid(device::ReadWriteHandle));
    EXPECT_EQ(device::DeviceVendorId, 0u);
    EXPECT_TRUE(bus->Transcript().empty());
    // Every query handle was closed again.
    EXPECT_EQ(bus->OpenConnections(), 0);
    EXPECT_EQ(win::testing::OpenFileHandleCount(), 0);
}

TEST_F(OpenDevice, BothIdsMustMatch) {
    bus->Add("sim://other-product", kMouseVendor, 0x1234, 8);
    bus->Add("sim://other-vendor", 0x1234, kMouseProduct, 8);
    EXPECT_FALSE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_EQ(bus->OpenConnections(), 0);
}

TEST_F(OpenDevice, SetsTheDeviceVariablesAndShakesHands) {
    bus->Add("sim://kbd", 0x046D, 0xC31C, 2);
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8, 8);
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_TRUE(IsValid(device::CommandHandle));
    EXPECT_EQ(device::CommandHandle.load(), device::DataHandle.load());
    EXPECT_TRUE(IsValid(device::ReadWriteHandle));
    EXPECT_NE(device::ReadWriteHandle.load(), device::CommandHandle.load());
    EXPECT_EQ(device::DeviceVendorId, kMouseVendor);
    EXPECT_EQ(device::DeviceProductId, kMouseProduct);
    EXPECT_EQ(device::FeatureReportLength, 8u);
    EXPECT_EQ(device::InputReportLength, 8u);
    EXPECT_EQ(All(), (std::vector<Bytes>{kInfoCommand, kDataRequest}));
    EXPECT_EQ(bus->Transcript()[0].kind, Transfer::Set);
    EXPECT_EQ(bus->Transcript()[1].kind, Transfer::Get);
    EXPECT_EQ(bus->OpenCount(OpenAccess::ReadWrite), 1);
    // The query handle and the read-write handle stay open, nothing else.
    EXPECT_EQ(bus->OpenConnections(), 2);
}

TEST_F(OpenDevice, FailedHandshakeReadLeavesOnlyTheCommandHandle) {
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    bus->FailWhen([](const Transfer& t) { return t.kind == Transfer::Get; });
    EXPECT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_TRUE(IsValid(device::CommandHandle));
    EXPECT_FALSE(IsValid(device::DataHandle));
    EXPECT_TRUE(IsValid(device::ReadWriteHandle));
}

TEST_F(OpenDevice, FailedHandshakeClosesTheQueryHandleButStillFindsTheMouse) {
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    bus->FailWhen([](const Transfer&) { return true; });
    EXPECT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_FALSE(IsValid(device::CommandHandle));
    EXPECT_FALSE(IsValid(device::DataHandle));
    EXPECT_EQ(device::DeviceVendorId, kMouseVendor);
    EXPECT_EQ(bus->OpenConnections(), 1); // the read-write handle only
    EXPECT_FALSE(device::SendCommand(0x0D, 0, 0, 0, 0));
}

TEST_F(OpenDevice, TheLaterOfTwoMatchingInterfacesStaysOpen) {
    bus->Add("sim://mouse-a", kMouseVendor, kMouseProduct, 8);
    bus->Add("sim://mouse-b", kMouseVendor, kMouseProduct, 8);
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    const auto handshakes = bus->Transcript();
    ASSERT_EQ(handshakes.size(), 4u);
    EXPECT_EQ(handshakes[0].path, "sim://mouse-a");
    EXPECT_EQ(handshakes[2].path, "sim://mouse-b");
    EXPECT_EQ(bus->OpenConnections(), 2); // mouse-a's two handles were closed
    EXPECT_EQ(win::testing::OpenFileHandleCount(), 2);

    bus->ClearTranscript();
    ASSERT_TRUE(device::SendCommand(0x0E, 0, 0, 0, 0));
    EXPECT_EQ(bus->Transcript().at(0).path, "sim://mouse-b");
}

TEST_F(OpenDevice, OpeningAgainReleasesTheDeviceOpenedBefore) {
    OpenMouse();
    const auto oldCommand = device::CommandHandle.load();
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    EXPECT_NE(device::CommandHandle.load(), oldCommand);
    EXPECT_EQ(bus->OpenConnections(), 2);
    EXPECT_FALSE(win::CloseHandle(oldCommand)); // already closed
}

// The device held before is let go before the new one is opened and greets the mouse:
// both of its handles are closed before the read-write handle is opened.
TEST_F(OpenDevice, TheEarlierHandlesCloseBeforeTheNewOnesOpen) {
    bus->Add("sim://mouse-a", kMouseVendor, kMouseProduct, 8);
    bus->Add("sim://mouse-b", kMouseVendor, kMouseProduct, 8);
    // What happens between the query open of a matching interface and the open of its
    // read-write handle, and what follows that open up to the next query open.
    const auto around = [](const std::vector<std::string>& events, const std::string& path) {
        const auto query = std::find(events.begin(), events.end(), "open " + path);
        const auto readWrite = std::find(query, events.end(), "open rw " + path);
        const auto next = std::find_if(readWrite, events.end(), [](const std::string& e) {
            return e.rfind("open sim", 0) == 0;
        });
        EXPECT_NE(readWrite, events.end()) << path;
        return std::make_pair(
            std::vector<std::string>(query == events.end() ? query : query + 1, readWrite),
            std::vector<std::string>(readWrite == events.end() ? readWrite : readWrite + 1, next));
    };
    const std::vector<std::string> handshake = {"set sim://mouse-b", "get sim://mouse-b"};
    // One walk: mouse-a is taken, then mouse-b replaces it.
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    auto [before, after] = around(bus->Events(), "sim://mouse-b");
    EXPECT_EQ(before, (std::vector<std::string>{"close sim://mouse-a", "close sim://mouse-a"}));
    EXPECT_EQ(after, handshake) << "nothing is closed after the handshake";

    // Opened again: mouse-a replaces the mouse-b of before, and mouse-b then mouse-a.
    bus->ClearEvents();
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    std::tie(before, after) = around(bus->Events(), "sim://mouse-a");
    EXPECT_EQ(before, (std::vector<std::string>{"close sim://mouse-b", "close sim://mouse-b"}));
    std::tie(before, after) = around(bus->Events(), "sim://mouse-b");
    EXPECT_EQ(before, (std::vector<std::string>{"close sim://mouse-a", "close sim://mouse-a"}));
    EXPECT_EQ(after, handshake);
    EXPECT_EQ(bus->OpenConnections(), 2);
}

TEST_F(OpenDevice, AFailingDetailCallSkipsOnlyThatInterface) {
    bus->Add("", kMouseVendor, kMouseProduct, 8); // gone before its path was asked for
    bus->Add("sim://kbd", 0x046D, 0xC31C, 2);
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    EXPECT_EQ(device::CountHidDevices(), 2);
    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    for (const Transfer& t : bus->Transcript())
        EXPECT_EQ(t.path, "sim://mouse");
}

TEST_F(OpenDevice, NoBusMeansNoInterfaces) {
    win::SetBus(nullptr);
    EXPECT_EQ(device::CountHidDevices(), 0);
    EXPECT_FALSE(device::OpenDevice(kMouseVendor, kMouseProduct));
}

TEST_F(OpenDevice, ReleaseSetsEverythingBackAndClosesTheSharedHandleOnce) {
    OpenMouse();
    const auto shared = device::CommandHandle.load();
    device::ReleaseDeviceHandles();
    EXPECT_FALSE(IsValid(device::CommandHandle));
    EXPECT_FALSE(IsValid(device::DataHandle));
    EXPECT_FALSE(IsValid(device::ReadWriteHandle));
    EXPECT_EQ(device::DeviceVendorId, 0u);
    EXPECT_EQ(device::DeviceProductId, 0u);
    EXPECT_EQ(device::FeatureReportLength, 0u);
    EXPECT_EQ(device::InputReportLength, 0u);
    EXPECT_EQ(bus->OpenConnections(), 0);
    EXPECT_FALSE(win::CloseHandle(shared));
    EXPECT_EQ(win::GetLastError(), win::ERROR_INVALID_HANDLE);
}

} // namespace
