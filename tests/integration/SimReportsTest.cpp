// The report protocol's routines against the simulated mouse: the exact reports on the
// wire, what the mouse does with them, and the failure roads.
#include "SimDeviceFixture.h"

#include <algorithm>

namespace integration {
namespace {

using SimReports = SimDeviceTest;

Bytes Slice(const Bytes& b, size_t from, size_t n) {
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

TEST_F(SimReports, LengthZeroBlocksSendTheCommandAndNoDataReport) {
    OpenMouse();
    uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_TRUE(device::ReadConfigBytes(0, 164, 0, buffer));
    EXPECT_TRUE(device::WriteEepromBlock(0x0123, 0, buffer));
    EXPECT_TRUE(device::ReadEepromBlock(0x0456, 0, buffer));
    EXPECT_TRUE(device::ReadEepromBlockWithWait(0x0789, 0, buffer));
    const std::vector<Report> expected = {
        R({0x40, 0x06, 0x00, 164, 0x00, 0x00, 0x00, 0x00}),
        R({0x40, 0x07, 0x01, 0x23, 0x00, 0x00, 0x00, 0x00}),
        R({0x40, 0x09, 0x04, 0x56, 0x00, 0x00, 0x00, 0x00}),
        R({0x40, 0x09, 0x07, 0x89, 0x00, 0x00, 0x00, 0x00}),
    };
    EXPECT_EQ(All(), expected);
    EXPECT_EQ(busyWindow.steps, 0);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 3, 4}));
}

TEST_F(SimReports, BlockReadsTakeOneDataReadPerSevenBytes) {
    OpenMouse();
    const Bytes image = mouse->Image();
    Bytes dest(20, 0xAB);
    ASSERT_TRUE(device::ReadEepromBlock(0x0100, 14, dest.data()));
    EXPECT_EQ(Sent(), (std::vector<Report>{R({0x40, 0x09, 0x01, 0x00, 0x00, 14})}));
    EXPECT_EQ(Received().size(), 2u);
    EXPECT_EQ(Slice(dest, 0, 14), Slice(image, 0x100, 14));
    EXPECT_EQ(dest[14], 0xAB) << "nothing past the length is touched";

    bus->ClearTranscript();
    ASSERT_TRUE(device::ReadEepromBlockWithWait(0x07F0, 15, dest.data()));
    EXPECT_EQ(Sent(), (std::vector<Report>{R({0x40, 0x09, 0x07, 0xF0, 0x00, 15})}));
    ASSERT_EQ(Received().size(), 3u);
    EXPECT_EQ(Slice(dest, 0, 15), Slice(image, 0x7F0, 15));
    // The last report carries the block's one remaining byte and FF past it.
    EXPECT_EQ(Received()[2], R({0x41, image[0x7F0 + 14], 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(dest[15], 0xAB);
    EXPECT_EQ(busyWindow.steps, 3) << "one step before each data read";
    EXPECT_EQ(busyWindow.hides, 0) << "the caller hides the window";
}

TEST_F(SimReports, LiveUserSectionReadsInFourReports) {
    OpenMouse();
    const auto live = mouse->LiveBytes();
    uint8_t dest[28];
    ASSERT_TRUE(device::ReadConfigBytes(0, 164, 28, dest));
    EXPECT_EQ(Sent(), (std::vector<Report>{R({0x40, 0x06, 0x00, 164, 0x00, 28})}));
    EXPECT_EQ(Received().size(), 4u);
    EXPECT_TRUE(std::equal(dest, dest + 28, live.begin() + 164));
}

TEST_F(SimReports, TwelveByteEepromWriteRepeatsLeftoversOfTheFirstChunk) {
    OpenMouse();
    const Bytes before = mouse->Image();
    const Bytes source = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB};
    ASSERT_TRUE(device::WriteEepromBlock(0x0200, 12, source.data()));
    const std::vector<Report> expected = {
        R({0x40, 0x07, 0x02, 0x00, 0x00, 12}),
        R({0x41, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6}),
        R({0x41, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xA5, 0xA6}),
    };
    EXPECT_EQ(All(), expected);
    Bytes after = before;
    std::copy(source.begin(), source.end(), after.begin() + 0x200);
    EXPECT_EQ(mouse->Image(), after) << "only the twelve bytes of the block change";
    EXPECT_EQ(busyWindow.steps, 2);
}

TEST_F(SimReports, OneChunkEepromWriteFillsWithFF) {
    OpenMouse();
    const Bytes source = {0x11, 0x22, 0x33};
    ASSERT_TRUE(device::WriteEepromBlock(0x07FD, 3, source.data()));
    EXPECT_EQ(Sent().back(), R({0x41, 0x11, 0x22, 0x33, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Slice(mouse->Image(), 0x7FD, 3), source);
}

TEST_F(SimReports, VendorSectionWrittenLiveThreeBytesAtATime) {
    OpenMouse();
    Bytes vendor(164);
    for (size_t i = 0; i < vendor.size(); ++i)
        vendor[i] = static_cast<uint8_t>(0xC0 ^ i);
    ASSERT_TRUE(device::WriteConfigBlock(0, 0, 164, vendor.data()));
    const std::vector<Report> sent = Sent();
    ASSERT_EQ(sent.size(), 55u);
    for (size_t i = 0; i < 54; ++i)
        EXPECT_EQ(sent[i], R({0x40, 0x05, 0x00, static_cast<uint8_t>(3 * i), vendor[3 * i],
                              vendor[3 * i + 1], vendor[3 * i + 2], 3}))
            << i;
    EXPECT_EQ(sent[54], R({0x40, 0x05, 0x00, 162, vendor[162], vendor[163], vendor[161], 2}));
    EXPECT_EQ(busyWindow.steps, 55);
    const auto live = mouse->LiveBytes();
    EXPECT_TRUE(std::equal(vendor.begin(), vendor.end(), live.begin()));
    EXPECT_EQ(Slice(mouse->Image(), 0, 164), vendor) << "live writes reach the image too";
}

TEST_F(SimReports, UserSectionWrittenLiveEndsWithCountOne) {
    OpenMouse();
    Bytes user(28, 0x5A);
    user[27] = 0x77;
    ASSERT_TRUE(device::WriteConfigBlock(0, 164, 28, user.data()));
    const std::vector<Report> sent = Sent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[9], R({0x40, 0x05, 0x00, 191, 0x77, 0x5A, 0x5A, 1}));
    EXPECT_EQ(Slice(mouse->Image(), 164, 28), user);
}

TEST_F(SimReports, SingleSettingAndComboRecordWrites) {
    OpenMouse();
    ASSERT_TRUE(device::WriteConfigBytes(45, 0x07, 0, 0, 1));
    ASSERT_TRUE(device::WriteConfigDword(127 + 4 * 8, 0x01, 0x02, 0x03, 0x04));
    EXPECT_EQ(Sent(), (std::vector<Report>{R({0x40, 0x05, 0x00, 45, 0x07, 0x00, 0x00, 1}),
                                           R({0x40, 0x05, 0x01, 159, 0x01, 0x02, 0x03, 0x04})}));
    const auto live = mouse->LiveBytes();
    EXPECT_EQ(live[45], 0x07);
    EXPECT_EQ(Bytes(live.begin() + 159, live.begin() + 163), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(busyWindow.steps, 2);
    EXPECT_EQ(busyWindow.hides, 2);
}

TEST_F(SimReports, DataMemoryAndInformationExchanges) {
    OpenMouse();
    {
        device::ExchangeGuard exchange;
        ASSERT_TRUE(exchange.ok());
        ASSERT_TRUE(device::SendCommand(0x01, 0x12, 0x34, 0x9C, 0x00));
    }
    {
        device::ExchangeGuard exchange;
        ASSERT_TRUE(device::SendCommand(0x02, 0x12, 0x34, 0x00, 0x01));
        device::ReadData7();
        EXPECT_EQ(device::ReplyBuffer[0], 0x9C);
    }
    {
        device::ExchangeGuard exchange;
        ASSERT_TRUE(device::SendCommand(0x0D, 0, 0, 0, 0));
        device::ReadData7();
        EXPECT_EQ(Bytes(device::ReplyBuffer, device::ReplyBuffer + 3), (Bytes{0x3F, 0x3A, 0xC0}));
    }
    EXPECT_EQ(mouse->DataMemory(0x1234), 0x9C);
    EXPECT_EQ(Sent()[0], R({0x40, 0x01, 0x12, 0x34, 0x9C}));
}

TEST_F(SimReports, AFailedDataReadYieldsFFTheBlockGoesOnAndTheReadSaysSo) {
    OpenMouse();
    const Bytes image = mouse->Image();
    Bytes dest(21, 0);
    busyWindow.onStep = [&] {
        if (busyWindow.steps == 2) mouse->FailNextGetFeature(1);
    };
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0x0300, 21, dest.data()));
    EXPECT_EQ(Slice(dest, 0, 7), Slice(image, 0x300, 7));
    EXPECT_EQ(Slice(dest, 7, 7), Bytes(7, 0xFF));
    EXPECT_EQ(Slice(dest, 14, 7), Slice(image, 0x30E, 7)) << "the block goes on";
    // The whole read reads the block again and has it all.
    busyWindow.steps = 0;
    EXPECT_TRUE(device::ReadEepromBlockWholeWithWait(0x0300, 21, dest.data()));
    EXPECT_EQ(dest, Slice(image, 0x300, 21));
    EXPECT_EQ(busyWindow.steps, 6);
}

TEST_F(SimReports, AFailedDataSendLeavesTheOldBytesTheBlockGoesOnAndTheWriteSaysSo) {
    OpenMouse();
    const Bytes before = mouse->Image();
    const Bytes source(14, 0x66);
    busyWindow.onStep = [&] {
        if (busyWindow.steps == 1) mouse->FailNextSetFeature(1);
    };
    EXPECT_FALSE(device::WriteEepromBlock(0x0400, 14, source.data()));
    EXPECT_EQ(Slice(mouse->Image(), 0x400, 7), Slice(before, 0x400, 7)) << "the lost report";
    EXPECT_EQ(Slice(mouse->Image(), 0x407, 7), Bytes(7, 0x66));
    // The whole write writes the block again; a report lost in every attempt fails it.
    const Bytes other(14, 0x77);
    busyWindow.steps = 0;
    EXPECT_TRUE(device::WriteEepromBlockWhole(0x0400, 14, other.data()));
    EXPECT_EQ(Slice(mouse->Image(), 0x400, 14), other);
    EXPECT_EQ(busyWindow.steps, 4);
    busyWindow.onStep = [&] {
        if (busyWindow.steps % 2 == 1) mouse->FailNextSetFeature(1);
    };
    busyWindow.steps = 0;
    EXPECT_FALSE(device::WriteEepromBlockWhole(0x0400, 14, source.data()));
    EXPECT_EQ(busyWindow.steps, 2 * device::BlockAttempts);
}

TEST_F(SimReports, AFailedCommandEndsTheBlockRoutinesBeforeTheWindowShows) {
    OpenMouse();
    const Bytes before = mouse->Image();
    Bytes dest(14, 0xAB);
    const Bytes source(14, 0x66);
    // Three block commands, then every attempt of the single write.
    mouse->FailNextSetFeature(3 + device::BlockAttempts);
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0, 14, dest.data()));
    EXPECT_EQ(dest, Bytes(14, 0xAB)) << "destination untouched";
    EXPECT_FALSE(device::ReadEepromBlock(0, 14, dest.data()));
    EXPECT_EQ(dest, Bytes(14, 0xFF)) << "filled before the command";
    EXPECT_FALSE(device::WriteEepromBlock(0, 14, source.data()));
    EXPECT_FALSE(device::WriteConfigBytes(3, 1, 0, 0, 1));
    EXPECT_EQ(busyWindow.steps, 1) << "only the single write shows the window";
    EXPECT_EQ(busyWindow.hides, 1);
    EXPECT_EQ(Received().size(), 0u);
    EXPECT_EQ(mouse->Image(), before);
}

TEST_F(SimReports, DataHandleInvalidReadsFFAfterTheCommand) {
    // The handshake's data read fails in every attempt: the mouse is found with the command
    // handle only.
    mouse->FailNextGetFeature(device::BlockAttempts);
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    ASSERT_NE(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    ASSERT_EQ(device::DataHandle, platform::win::INVALID_HANDLE_VALUE);
    bus->ClearTranscript();
    uint8_t dest[28];
    std::fill(std::begin(dest), std::end(dest), 0x12);
    EXPECT_FALSE(device::ReadConfigBytes(0, 164, 28, dest));
    EXPECT_EQ(All(), (std::vector<Report>{R({0x40, 0x06, 0x00, 164, 0x00, 28})}));
    EXPECT_TRUE(std::all_of(std::begin(dest), std::end(dest), [](uint8_t b) { return b == 0xFF; }));
}

TEST_F(SimReports, WithoutTheMouseEveryRoutineFailsAtOnce) {
    uint8_t buffer[16] = {};
    EXPECT_FALSE(device::SendCommand(0x0D, 0, 0, 0, 0));
    EXPECT_FALSE(device::SendData7(1, 2, 3, 4, 5, 6, 7));
    EXPECT_FALSE(device::WriteConfigBytes(1, 2, 0, 0, 1));
    EXPECT_FALSE(device::WriteConfigDword(1, 2, 3, 4, 5));
    EXPECT_FALSE(device::WriteConfigBlock(0, 0, 16, buffer));
    EXPECT_FALSE(device::WriteEepromBlock(0, 16, buffer));
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0, 16, buffer));
    EXPECT_FALSE(device::ReadEepromBlock(0, 16, buffer));
    EXPECT_FALSE(device::ReadConfigBytes(0, 0, 16, buffer));
    device::ReadData7();
    EXPECT_TRUE(std::all_of(device::ReplyBuffer, device::ReplyBuffer + 7,
                            [](uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(bus->Transcript().size(), 0u);
    EXPECT_EQ(busyWindow.steps, 0);
    EXPECT_EQ(busyWindow.hides, 0);
}

TEST_F(SimReports, ButtonsOnTheMouseArriveAsInputReports) {
    OpenMouse();
    ASSERT_TRUE(mouse->PressDpiButton());
    uint8_t report[64] = {};
    ASSERT_TRUE(device::ReadInputReport(report));
    EXPECT_EQ(report[0], 0x42);
    EXPECT_EQ(report[3], simulator::SimMouse::kDpiUpEvent);
    ASSERT_TRUE(device::ReadInputReport(report));
    EXPECT_EQ(report[3], 0) << "end of the change";
    ASSERT_TRUE(mouse->PressProfileButton());
    ASSERT_TRUE(device::ReadInputReport(report));
    EXPECT_EQ(report[3], simulator::SimMouse::kProfileEvent);
    ASSERT_TRUE(device::ReadInputReport(report));
    // The new profile is what a live read of the user section now shows.
    uint8_t user[28];
    ASSERT_TRUE(device::ReadConfigBytes(0, 164, 28, user));
    EXPECT_EQ(user[0], mouse->LiveBytes()[simulator::SimMouse::kProfileByte]);
}

} // namespace
} // namespace integration
