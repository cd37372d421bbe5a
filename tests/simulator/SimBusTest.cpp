// The virtual bus: interfaces coming and going, reset, input reports, fault injection.
#include "SimHost.h"
#include "platform/core/Time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace simtest;
using platform::win::HidError;
using platform::win::OpenAccess;
using simulator::SimBus;
using simulator::SimMouse;

std::vector<std::string> Paths(SimBus& bus) {
    std::vector<std::string> paths;
    for (const auto& info : bus.Enumerate())
        paths.push_back(info.path);
    return paths;
}

// Runs the tests at a small time scale and restores it.
class ScaledTime : public ::testing::Test {
protected:
    void SetUp() override { platform::core::SetTimeScale(0.01); }
    void TearDown() override { platform::core::SetTimeScale(1.0); }
};

TEST(SimBusInterfaces, EnumerateListsPresentInterfacesInTheOrderAdded) {
    SimBus bus;
    auto keyboard = bus.AddKeyboard();
    simulator::SimKeyboardConfig twoByte;
    twoByte.featureReportLength = 2;
    auto keyboard2 = bus.AddKeyboard(twoByte);
    auto mouse = bus.AddMouse(MouseConfig());
    auto second = bus.AddMouse(MouseConfig());

    const auto infos = bus.Enumerate();
    ASSERT_EQ(infos.size(), 4u);
    EXPECT_EQ(infos[0].featureReportByteLength, 0);
    EXPECT_EQ(infos[1].featureReportByteLength, 2);
    EXPECT_EQ(infos[2].path, mouse->Path());
    EXPECT_EQ(infos[3].path, second->Path());
    EXPECT_NE(infos[2].path, infos[3].path);
    for (int i : {2, 3}) {
        EXPECT_EQ(infos[i].vendorId, kVendor);
        EXPECT_EQ(infos[i].productId, kProduct);
        EXPECT_EQ(infos[i].featureReportByteLength, 8);
        EXPECT_EQ(infos[i].inputReportByteLength, 8);
    }

    keyboard2->Unplug();
    EXPECT_EQ(Paths(bus),
              (std::vector<std::string>{keyboard->Path(), mouse->Path(), second->Path()}));
    keyboard2->Plug();
    EXPECT_EQ(bus.Enumerate().size(), 4u);
}

TEST(SimBusInterfaces, OpenFindsOnlyPresentInterfaces) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    HidError error = HidError::None;
    EXPECT_EQ(bus.Open("sim://nothing", OpenAccess::Query, error), nullptr);
    EXPECT_EQ(error, HidError::FileNotFound);

    mouse->Unplug();
    EXPECT_EQ(bus.Open(mouse->Path(), OpenAccess::Query, error), nullptr);
    EXPECT_EQ(error, HidError::FileNotFound);
    mouse->Plug();
    EXPECT_NE(bus.Open(mouse->Path(), OpenAccess::ReadWrite, error), nullptr);
}

TEST(SimBusInterfaces, HandlesOpenedBeforeAnUnplugStayDead) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host old(bus, mouse->Path());
    mouse->Unplug();
    EXPECT_FALSE(old.Command(0x0D));
    EXPECT_EQ(old.error, HidError::DeviceNotConnected);
    mouse->Plug();
    EXPECT_FALSE(old.Read());
    EXPECT_EQ(old.error, HidError::DeviceNotConnected);
    Host fresh(bus, mouse->Path());
    EXPECT_TRUE(fresh.Command(0x0D));
    EXPECT_TRUE(fresh.Read());
    EXPECT_TRUE(bus.Violations().empty());
}

TEST(SimBusInterfaces, KeyboardTakesOnlyItsOwnFeatureLength) {
    SimBus bus;
    simulator::SimKeyboardConfig config;
    config.featureReportLength = 2;
    auto keyboard = bus.AddKeyboard(config);
    Host host(bus, keyboard->Path());
    uint8_t two[2] = {0x01, 0x00};
    EXPECT_TRUE(host.handle->SetFeature(two, 2, host.error));
    EXPECT_TRUE(bus.Violations().empty());
    EXPECT_FALSE(host.Command(0x0D));
    EXPECT_EQ(host.error, HidError::GenFailure);
    const auto violations = bus.Violations();
    ASSERT_EQ(violations.size(), 1u);
    EXPECT_EQ(violations[0].kind, simulator::ViolationKind::WrongReportLength);
}

class SimMouseReset : public ScaledTime {};

TEST_F(SimMouseReset, MouseLeavesTheBusAndReturnsAfterItsTime) {
    SimBus bus;
    simulator::SimMouseConfig config = MouseConfig();
    config.resetReturnMs = 2000; // 20 ms real time
    auto mouse = bus.AddMouse(config);
    auto keyboard = bus.AddKeyboard();
    Host host(bus, mouse->Path());
    Host reader(bus, mouse->Path(), OpenAccess::ReadWrite);

    auto blocked = std::async(std::launch::async, [&] { return reader.ReadInputOrGiveUp(); });
    ASSERT_TRUE(host.Command(0x0E));
    EXPECT_EQ(Paths(bus), std::vector<std::string>{keyboard->Path()});
    EXPECT_FALSE(host.Command(0x0D));
    EXPECT_EQ(host.error, HidError::DeviceNotConnected);
    const auto woken = blocked.get();
    EXPECT_EQ(woken.n, -1);
    EXPECT_EQ(woken.error, HidError::DeviceNotConnected);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!mouse->IsPlugged() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(Paths(bus), (std::vector<std::string>{mouse->Path(), keyboard->Path()}));
    EXPECT_FALSE(host.Command(0x0D)) << "the old handle belongs to the mouse before reset";
    Host fresh(bus, mouse->Path());
    EXPECT_TRUE(fresh.Command(0x0D));
    EXPECT_TRUE(fresh.Read());
    EXPECT_TRUE(bus.Violations().empty());
}

TEST_F(SimMouseReset, MouseThatNeverReturnsStaysOffTheBus) {
    SimBus bus;
    simulator::SimMouseConfig config = MouseConfig();
    config.resetReturnMs.reset();
    auto mouse = bus.AddMouse(config);
    Host host(bus, mouse->Path());
    ASSERT_TRUE(host.Command(0x0E));
    platform::core::Sleep(5000);
    EXPECT_TRUE(bus.Enumerate().empty());
    mouse->Plug();
    EXPECT_EQ(bus.Enumerate().size(), 1u);
}

TEST_F(SimMouseReset, LeavingTheBusDropsTheOpenExchange) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    mouse->SetResetReturn(0);
    Host host(bus, mouse->Path());
    ASSERT_TRUE(host.Command(0x09, 0, 0, 0, 14));
    mouse->Unplug();
    mouse->Plug();
    Host fresh(bus, mouse->Path());
    EXPECT_TRUE(fresh.Command(0x0D)) << "the exchange of the unplugged mouse is gone";
    EXPECT_TRUE(fresh.Read());
    EXPECT_TRUE(bus.Violations().empty());
}

// ---- input reports

class SimMouseButtons : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<uint8_t> image = PatternImage();
        image[SimMouse::kCpiLevelCountByte] = 2; // three levels
        image[SimMouse::kCpiLevelByte] = 1;
        image[SimMouse::kProfileByte] = 0xF1;
        mouse = bus.AddMouse(MouseConfig(image));
        reader = Host(bus, mouse->Path(), OpenAccess::ReadWrite);
    }
    Report Next() {
        const Host::InputResult r = reader.ReadInputOrGiveUp();
        EXPECT_EQ(r.n, 8) << "no input report came";
        return r.report;
    }
    static bool ChecksumHolds(const uint8_t* bytes) {
        unsigned sum = 0;
        for (int i = 164; i < 191; ++i)
            sum += bytes[i];
        return bytes[191] == ((sum & 0xFF) ^ 0x5A);
    }

    SimBus bus;
    std::shared_ptr<SimMouse> mouse;
    Host reader;
};

TEST_F(SimMouseButtons, DpiButtonCyclesThroughTheLevelsInUse) {
    for (uint8_t expected : {2, 0, 1, 2}) {
        ASSERT_TRUE(mouse->PressDpiButton());
        EXPECT_EQ(Next(), (Report{0x42, 0, 0, 1, 0, 0, 0, 0}));
        EXPECT_EQ(Next(), (Report{0x42, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(mouse->Image()[166], expected);
        EXPECT_EQ(mouse->LiveBytes()[166], expected);
        EXPECT_TRUE(ChecksumHolds(mouse->Image().data()));
        EXPECT_TRUE(ChecksumHolds(mouse->LiveBytes().data()));
    }
    Host host(bus, mouse->Path());
    EXPECT_EQ(host.ReadImage(166, 1), std::vector<uint8_t>{2});
}

TEST_F(SimMouseButtons, ProfileButtonCyclesTheLowNibbleOnly) {
    for (uint8_t expected : {0xF2, 0xF0, 0xF1}) {
        ASSERT_TRUE(mouse->PressProfileButton());
        EXPECT_EQ(Next(), (Report{0x42, 0, 0, 8, 0, 0, 0, 0}));
        EXPECT_EQ(Next(), (Report{0x42, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(mouse->Image()[164], expected);
        EXPECT_TRUE(ChecksumHolds(mouse->Image().data()));
    }
}

TEST_F(SimMouseButtons, BlockedReadWakesForAPressAnInterruptAndAnUnplug) {
    auto pressed = std::async(std::launch::async, [&] { return Next(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    mouse->PressDpiButton();
    EXPECT_EQ(pressed.get()[3], 1);
    EXPECT_EQ(Next()[3], 0);

    auto interrupted = std::async(std::launch::async, [&] { return reader.ReadInputOrGiveUp(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    reader.handle->InterruptRead();
    const auto aborted = interrupted.get();
    EXPECT_EQ(aborted.n, -1);
    EXPECT_EQ(aborted.error, HidError::OperationAborted);
    mouse->PressDpiButton();
    uint8_t buf[8];
    HidError error = HidError::None;
    EXPECT_EQ(reader.handle->ReadInput(buf, 8, error), -1) << "reads after an interrupt fail";

    Host other(bus, mouse->Path(), OpenAccess::ReadWrite);
    auto unplugged = std::async(std::launch::async, [&] { return other.ReadInputOrGiveUp(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    mouse->Unplug();
    const auto gone = unplugged.get();
    EXPECT_EQ(gone.n, -1);
    EXPECT_EQ(gone.error, HidError::DeviceNotConnected);
    EXPECT_FALSE(mouse->PressDpiButton());
}

TEST_F(SimMouseButtons, OnlyReadWriteHandlesGetInputReports) {
    Host query(bus, mouse->Path());
    mouse->PressProfileButton();
    uint8_t buf[8];
    HidError error = HidError::None;
    EXPECT_EQ(query.handle->ReadInput(buf, 8, error), -1);
    EXPECT_EQ(error, HidError::AccessDenied);
    EXPECT_EQ(Next()[3], 8);
}

// ---- fault injection

TEST(SimMouseFaults, LostCommandChangesNothingAndItsDataReportsAreNoViolation) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host host(bus, mouse->Path());

    mouse->FailNextSetFeature(1);
    EXPECT_FALSE(host.Command(0x05, 0, 10, 0x99, 0, 0, 1));
    EXPECT_EQ(host.error, HidError::GenFailure);
    EXPECT_EQ(mouse->Image(), PatternImage());

    mouse->FailNextSetFeature(1);
    EXPECT_FALSE(host.Command(0x0D)); // the open handshake reads on regardless
    EXPECT_EQ(host.Read(), (Report{0x41, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

    mouse->FailNextSetFeature(1);
    EXPECT_FALSE(host.Command(0x09, 0, 0, 0, 14)); // a block routine gives up at once
    EXPECT_EQ(host.ReadImage(0, 7), Slice(PatternImage(), 0, 7));
    EXPECT_TRUE(bus.Violations().empty());
}

TEST(SimMouseFaults, LostDataReportsKeepTheExchangeInStep) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host host(bus, mouse->Path());
    const auto image = PatternImage();

    ASSERT_TRUE(host.Command(0x09, 0, 0, 0, 21));
    ASSERT_TRUE(host.Read());
    mouse->FailNextGetFeature(1);
    Report untouched{0x41};
    EXPECT_FALSE(host.handle->GetFeature(untouched.data(), 8, host.error));
    EXPECT_EQ(untouched, (Report{0x41}));
    const auto third = host.Read();
    ASSERT_TRUE(third);
    EXPECT_EQ((*third)[1], image[14]);

    std::vector<uint8_t> source(21, 0x5E);
    ASSERT_TRUE(host.Command(0x07, 0, 200, 0, 21));
    host.WriteChunks(Slice(source, 0, 7));
    mouse->FailNextSetFeature(1);
    host.WriteChunks(Slice(source, 7, 7));
    host.WriteChunks(Slice(source, 14, 7));
    const auto now = mouse->Image();
    EXPECT_EQ(Slice(now, 200, 7), Slice(source, 0, 7));
    EXPECT_EQ(Slice(now, 207, 7), Slice(image, 207, 7)) << "the lost chunk never arrived";
    EXPECT_EQ(Slice(now, 214, 7), Slice(source, 14, 7));
    EXPECT_TRUE(bus.Violations().empty());
}

TEST(SimMouseFaults, UnplugAtTransferNCutsTheExchange) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host host(bus, mouse->Path());
    mouse->UnplugAfterTransfers(3);
    ASSERT_TRUE(host.Command(0x09, 0, 0, 0, 21));
    EXPECT_TRUE(host.Read());
    EXPECT_TRUE(host.Read());
    EXPECT_FALSE(host.Read());
    EXPECT_EQ(host.error, HidError::DeviceNotConnected);
    EXPECT_TRUE(bus.Enumerate().empty());
    EXPECT_EQ(mouse->TransferCount(), 3u);
    EXPECT_TRUE(bus.Violations().empty());
}

class SimMouseLatency : public ScaledTime {};

TEST_F(SimMouseLatency, EveryFeatureTransferTakesTheLatency) {
    SimBus bus;
    auto mouse = bus.AddMouse(MouseConfig());
    Host host(bus, mouse->Path());
    mouse->SetTransferLatency(1000); // 10 ms real time
    const auto start = std::chrono::steady_clock::now();
    host.Command(0x0D);
    host.Read();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

} // namespace
