// Exchanges on several threads and inside the busy window's message pumping.
#include "DeviceFixture.h"
#include "platform/win/Kernel.h"

#include <atomic>
#include <map>
#include <thread>

namespace {

using namespace testing_support;
namespace win = platform::win;

class Exchanges : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenMouse();
    }
};

TEST_F(Exchanges, ExchangesOfSeveralThreadsNeverInterleave) {
    bus->SetTransferDelay(std::chrono::microseconds(30));
    const Bytes source(21, 0x5A);
    auto reader = [] {
        uint8_t out[35];
        for (int i = 0; i < 25; ++i)
            device::ReadEepromBlock(0x100, 35, out);
    };
    auto writer = [&] {
        for (int i = 0; i < 25; ++i)
            device::WriteEepromBlock(0x200, 21, source.data());
    };
    auto composer = [] {
        for (int i = 0; i < 25; ++i) {
            device::ExchangeGuard exchange;
            ASSERT_TRUE(exchange.ok());
            device::SendCommand(0x0D, 0, 0, 0, 0);
            device::ReadData7();
        }
    };
    std::thread a(reader), b(writer), c(composer);
    a.join();
    b.join();
    c.join();

    // Each command is followed by exactly its own data reports, from its own thread.
    const std::map<uint8_t, std::pair<Transfer::Kind, size_t>> follows = {
        {0x09, {Transfer::Get, 5}}, {0x07, {Transfer::Set, 3}}, {0x0D, {Transfer::Get, 1}}};
    const auto transcript = bus->Transcript();
    ASSERT_EQ(transcript.size(), 25u * (6 + 4 + 2));
    for (size_t i = 0; i < transcript.size();) {
        const Transfer& command = transcript[i];
        ASSERT_EQ(command.bytes[0], 0x40) << "at " << i;
        const auto [kind, count] = follows.at(command.bytes[1]);
        for (size_t k = 1; k <= count; ++k) {
            const Transfer& data = transcript.at(i + k);
            EXPECT_EQ(data.bytes[0], 0x41) << "at " << i + k;
            EXPECT_EQ(data.kind, kind) << "at " << i + k;
            EXPECT_EQ(data.thread, command.thread) << "at " << i + k;
        }
        i += 1 + count;
    }
}

TEST_F(Exchanges, AnotherThreadWaitsForTheExchangeInProgress) {
    std::thread other;
    {
        device::ExchangeGuard exchange;
        ASSERT_TRUE(exchange.ok());
        other = std::thread([] { device::SendCommand(0x0E, 0, 0, 0, 0); });
        ASSERT_TRUE(device::SendCommand(0x09, 0, 0, 0, 7));
        device::ReadData7();
    }
    other.join();
    const auto all = All();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0][1], 0x09);
    EXPECT_EQ(all[1][0], 0x41);
    EXPECT_EQ(all[2][1], 0x0E);
}

TEST_F(Exchanges, AComposedExchangeKeepsItsReply) {
    bus->QueueReply({0x0D, 1, 2, 3, 4, 5, 6});
    device::ExchangeGuard exchange;
    ASSERT_TRUE(exchange.ok());
    ASSERT_TRUE(device::SendCommand(0x0D, 0, 0, 0, 0));
    device::ReadData7();
    EXPECT_EQ(Bytes(device::ReplyBuffer, device::ReplyBuffer + 7), (Bytes{0x0D, 1, 2, 3, 4, 5, 6}));
}

TEST_F(Exchanges, AnExchangeStartedInsideThePumpingOfAnotherFails) {
    RecordingBusyWindow busy;
    device::SetBusyWindow(&busy);
    std::vector<bool> nested;
    busy.onStep = [&] {
        if (busy.steps != 2) return;
        uint8_t out[7];
        const Bytes one = {1};
        nested.push_back(device::WriteConfigBytes(5, 1, 0, 0, 1));
        nested.push_back(device::SendCommand(0x0E, 0, 0, 0, 0));
        nested.push_back(device::ReadEepromBlock(0, 7, out));
        nested.push_back(device::WriteEepromBlock(0, 1, one.data()));
        device::ExchangeGuard inner;
        nested.push_back(inner.ok());
    };
    const Bytes source(14, 0x33);
    ASSERT_TRUE(device::WriteEepromBlock(0x40, 14, source.data()));
    EXPECT_EQ(nested, std::vector<bool>(5, false));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x07, 0, 0x40, 0, 14, 0, 0},
                                          Bytes{0x41, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33},
                                          Bytes{0x41, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33}}));
    EXPECT_EQ(busy.hides, 0); // the refused single write showed nothing either
    // Once the exchange has ended the same write goes through.
    EXPECT_TRUE(device::WriteConfigBytes(5, 1, 0, 0, 1));
}

TEST_F(Exchanges, AWriteClickedWhileASingleWriteShowsTheWindowGoesFirst) {
    RecordingBusyWindow busy;
    device::SetBusyWindow(&busy);
    bool nested = false;
    busy.onStep = [&] {
        if (busy.steps == 1) nested = device::WriteConfigBytes(7, 0x77, 0, 0, 1);
    };
    ASSERT_TRUE(device::WriteConfigBytes(6, 0x66, 0, 0, 1));
    EXPECT_TRUE(nested);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x05, 0, 7, 0x77, 0, 0, 1},
                                          {0x40, 0x05, 0, 6, 0x66, 0, 0, 1}}));
}

TEST_F(Exchanges, DeviceLossInsideThePumpingEndsTheTransferAndClosesAfterIt) {
    RecordingBusyWindow busy;
    device::SetBusyWindow(&busy);
    int connectionsDuring = -1;
    busy.onStep = [&] {
        if (busy.steps != 2) return;
        device::ReleaseDeviceHandles();
        connectionsDuring = bus->OpenConnections();
    };
    const Bytes source(21, 0x44);
    EXPECT_FALSE(device::WriteEepromBlock(0, 21, source.data())); // two chunks never went
    EXPECT_EQ(connectionsDuring, 1); // the shared handle stays open until the exchange ends
    EXPECT_EQ(bus->OpenConnections(), 0);
    EXPECT_EQ(Sent().size(), 2u); // the command and the first chunk only
    EXPECT_FALSE(IsValid(device::CommandHandle));
}

TEST_F(Exchanges, OpeningInsideThePumpingLeavesTheDeviceAlone) {
    RecordingBusyWindow busy;
    device::SetBusyWindow(&busy);
    const auto command = device::CommandHandle.load();
    bool reopened = true;
    busy.onStep = [&] { reopened = device::OpenDevice(kMouseVendor, kMouseProduct); };
    const Bytes source(7, 0x01);
    ASSERT_TRUE(device::WriteEepromBlock(0, 7, source.data()));
    EXPECT_FALSE(reopened);
    EXPECT_EQ(device::CommandHandle.load(), command);
    EXPECT_EQ(bus->OpenConnections(), 2);
}

TEST_F(Exchanges, InputReportsAreReadFromTheReadWriteHandle) {
    bus->PushInput({0x42, 0, 0, 8, 0, 0, 0, 0});
    uint8_t report[8] = {};
    ASSERT_TRUE(device::ReadInputReport(report));
    EXPECT_EQ(report[0], 0x42);
    EXPECT_EQ(report[3], 8);
    EXPECT_TRUE(bus->Transcript().empty()); // no feature report involved
}

TEST_F(Exchanges, ABlockedInputReadWakesWhenTheHandleIsCancelledOrReleased) {
    std::atomic<int> results{0};
    auto poll = [&] {
        uint8_t report[8];
        while (device::ReadInputReport(report)) {
        }
        ++results;
    };
    std::thread first(poll);
    // Wake without closing: the handle stays usable for the close that follows.
    while (bus->OpenConnections() < 2)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(win::CancelIoEx(device::ReadWriteHandle, nullptr));
    first.join();
    EXPECT_EQ(results, 1);

    ASSERT_TRUE(device::OpenDevice(kMouseVendor, kMouseProduct));
    std::thread second(poll);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device::ReleaseDeviceHandles();
    second.join();
    EXPECT_EQ(results, 2);
    EXPECT_EQ(bus->OpenConnections(), 0);
}

} // namespace
