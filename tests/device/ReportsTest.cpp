// The report protocol: exact bytes, chunking, FF fills and results.
#include "DeviceFixture.h"

#include <numeric>

namespace {

using namespace testing_support;

Bytes Seq(size_t n, uint8_t first = 0) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), first);
    return b;
}

Bytes Data(std::initializer_list<uint8_t> seven) {
    Bytes b(1 + seven.size(), 0x41);
    std::copy(seven.begin(), seven.end(), b.begin() + 1);
    return b;
}

class Reports : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        OpenMouse();
        device::SetBusyWindow(&busy);
    }
    RecordingBusyWindow busy;
};

TEST_F(Reports, SingleReportsCarryTheirBytes) {
    EXPECT_TRUE(device::SendCommand(0x01, 0x12, 0x34, 0x56, 0x78));
    EXPECT_TRUE(device::SendData7(1, 2, 3, 4, 5, 6, 7));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x01, 0x12, 0x34, 0x56, 0x78, 0, 0},
                                          {0x41, 1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(busy.steps, 0);
}

TEST_F(Reports, ReadData7CopiesThePayloadOrLeavesFF) {
    bus->QueueReply({9, 8, 7, 6, 5, 4, 3});
    device::ReadData7();
    EXPECT_EQ(Bytes(device::ReplyBuffer, device::ReplyBuffer + 7), (Bytes{9, 8, 7, 6, 5, 4, 3}));
    EXPECT_EQ(All().back(), (Bytes{0x41, 0, 0, 0, 0, 0, 0, 0}));

    bus->FailWhen([](const Transfer&) { return true; });
    device::ReadData7();
    EXPECT_EQ(Bytes(device::ReplyBuffer, device::ReplyBuffer + 7), Bytes(7, 0xFF));
}

TEST_F(Reports, SingleConfigWritesShowAndHideTheBusyWindow) {
    int sentAtStep = -1;
    busy.onStep = [&] { sentAtStep = static_cast<int>(bus->Transcript().size()); };
    EXPECT_TRUE(device::WriteConfigBytes(0x2A, 0x11, 0x22, 0x33, 1));
    EXPECT_TRUE(device::WriteConfigDword(127 + 4 * 8, 0xA0, 0xB1, 0xC2, 0xD3));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x05, 0x00, 0x2A, 0x11, 0x22, 0x33, 1},
                                          {0x40, 0x05, 0x01, 159, 0xA0, 0xB1, 0xC2, 0xD3}}));
    EXPECT_EQ(busy.steps, 2);
    EXPECT_EQ(busy.hides, 2);
    EXPECT_EQ(sentAtStep, 1); // the step of the second write came before its send

    bus->FailWhen([](const Transfer&) { return true; });
    EXPECT_FALSE(device::WriteConfigBytes(0x2A, 0, 0, 0, 1));
    EXPECT_EQ(busy.hides, 3);
}

TEST_F(Reports, ReadConfigBytesReadsTheUserSectionInFourReports) {
    for (uint8_t i = 0; i < 4; ++i)
        bus->QueueReply(Seq(7, static_cast<uint8_t>(i * 7)));
    uint8_t user[28] = {};
    ASSERT_TRUE(device::ReadConfigBytes(0, 164, 28, user));
    EXPECT_EQ(Bytes(user, user + 28), Seq(28));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x06, 0x00, 164, 0x00, 28, 0, 0}}));
    EXPECT_EQ(CountOf(Transfer::Get), 4u);
    EXPECT_EQ(busy.steps, 0);
}

TEST_F(Reports, LengthZeroSendsTheCommandAndNoData) {
    uint8_t buffer[1] = {0x55};
    EXPECT_TRUE(device::ReadConfigBytes(0, 10, 0, buffer));
    EXPECT_TRUE(device::ReadEepromBlock(0x0123, 0, buffer));
    EXPECT_TRUE(device::ReadEepromBlockWithWait(0x0123, 0, buffer));
    EXPECT_TRUE(device::WriteEepromBlock(0x0456, 0, buffer));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x06, 0, 10, 0, 0, 0, 0},
                                          {0x40, 0x09, 0x01, 0x23, 0, 0, 0, 0},
                                          {0x40, 0x09, 0x01, 0x23, 0, 0, 0, 0},
                                          {0x40, 0x07, 0x04, 0x56, 0, 0, 0, 0}}));
    EXPECT_EQ(CountOf(Transfer::Get), 0u);
    EXPECT_EQ(buffer[0], 0x55);
}

TEST_F(Reports, EepromReadChunksByTheLength) {
    uint8_t out[15];
    ASSERT_TRUE(device::ReadEepromBlock(0x0200, 14, out));
    EXPECT_EQ(CountOf(Transfer::Get), 2u);

    bus->ClearTranscript();
    bus->QueueReply(Seq(7, 1));
    bus->QueueReply(Seq(7, 8));
    bus->QueueReply(Seq(7, 15)); // only its first byte belongs to the block
    std::fill(std::begin(out), std::end(out), 0);
    ASSERT_TRUE(device::ReadEepromBlock(0x0200, 15, out));
    EXPECT_EQ(CountOf(Transfer::Get), 3u);
    EXPECT_EQ(Bytes(out, out + 15), Seq(15, 1));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x09, 0x02, 0x00, 0x00, 15, 0, 0}}));
}

TEST_F(Reports, AWholeImageReadIsOneCommandAnd293ReadsWithTheBusyWindow) {
    std::vector<uint8_t> image(2048, 0);
    ASSERT_TRUE(device::ReadEepromBlockWithWait(0, 2048, image.data()));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x09, 0x00, 0x00, 0x08, 0x00, 0, 0}}));
    EXPECT_EQ(CountOf(Transfer::Get), 293u);
    EXPECT_EQ(busy.steps, 293);
    EXPECT_EQ(busy.hides, 0); // the caller hides it
}

TEST_F(Reports, FailedDataReadsYieldFFAndTheReadSaysSo) {
    bus->FailWhen([](const Transfer& t) { return t.kind == Transfer::Get; });
    uint8_t out[10];
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0x10, 10, out));
    EXPECT_EQ(Bytes(out, out + 10), Bytes(10, 0xFF));
    EXPECT_EQ(Sent().size(), 1u);
    // The whole read tries the block again until it met the job's failed transfers: two
    // attempts of two data reads.
    EXPECT_FALSE(device::ReadEepromBlockWhole(0x10, 10, out));
    EXPECT_EQ(Bytes(out, out + 10), Bytes(10, 0xFF));
    EXPECT_EQ(Sent().size(), 1u + device::FailedTransfersPerJob / 2);
}

TEST_F(Reports, EepromWriteOfTwelveBytesCarriesLeftoversInItsShortChunk) {
    const Bytes source = Seq(12, 0xA0);
    ASSERT_TRUE(device::WriteEepromBlock(484, 12, source.data()));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x07, 0x01, 0xE4, 0x00, 12, 0, 0},
                                          Data({0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6}),
                                          Data({0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xA5, 0xA6})}));
    EXPECT_EQ(busy.steps, 2);
    EXPECT_EQ(busy.hides, 0);
}

TEST_F(Reports, EepromWriteOfOneShortChunkFillsWithFF) {
    const Bytes source = Seq(5, 1);
    ASSERT_TRUE(device::WriteEepromBlock(0x07F0, 5, source.data()));
    EXPECT_EQ(Sent().at(1), Data({1, 2, 3, 4, 5, 0xFF, 0xFF}));
}

TEST_F(Reports, EepromWriteReportCounts) {
    const Bytes source = Seq(2048);
    struct Case {
        uint16_t address, length;
        size_t reports;
    };
    for (const Case c : {Case{192, 147, 21}, Case{484, 12, 2}, Case{496, 256, 37}, Case{0, 512, 74},
                         Case{1008, 16, 3}, Case{0, 2048, 293}}) {
        bus->ClearTranscript();
        ASSERT_TRUE(device::WriteEepromBlock(c.address, c.length, source.data()));
        EXPECT_EQ(Sent().size(), c.reports + 1) << c.address << "/" << c.length;
    }
    // The last data report of the whole image: bytes 2044..2047, then 2041..2043 again.
    const Bytes last = Sent().back();
    EXPECT_EQ(last, Data({0xFC, 0xFD, 0xFE, 0xFF, 0xF9, 0xFA, 0xFB}));
}

TEST_F(Reports, FailedDataSendsAreReportedAfterTheWholeBlock) {
    bus->FailWhen([](const Transfer& t) { return t.bytes[0] == 0x41; });
    const Bytes source = Seq(20);
    EXPECT_FALSE(device::WriteEepromBlock(0, 20, source.data()));
    EXPECT_EQ(Sent().size(), 4u);
    // The whole write sends the block again until it met the job's failed transfers: the
    // three data reports of the first attempt and the first of the second.
    EXPECT_FALSE(device::WriteEepromBlockWhole(0, 20, source.data()));
    EXPECT_EQ(Sent().size(), 4u + 4u + 2u);
}

TEST_F(Reports, AFailedCommandEndsTheBlockRoutinesWithoutTheBusyWindow) {
    bus->FailWhen([](const Transfer& t) { return t.bytes[0] == 0x40; });
    const Bytes source = Seq(20);
    uint8_t out[20];
    EXPECT_FALSE(device::WriteEepromBlock(0, 20, source.data()));
    EXPECT_FALSE(device::ReadEepromBlock(0, 20, out));
    EXPECT_EQ(Bytes(out, out + 20), Bytes(20, 0xFF));
    std::fill(std::begin(out), std::end(out), 0x11);
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0, 20, out));
    EXPECT_EQ(Bytes(out, out + 20), Bytes(20, 0x11)); // untouched
    EXPECT_FALSE(device::ReadConfigBytes(0, 0, 20, out));
    // The commands, no data; the live read is tried whole, its command in every attempt.
    EXPECT_EQ(Sent().size(), 3u + device::BlockAttempts);
    EXPECT_EQ(busy.steps, 0);
}

TEST_F(Reports, ConfigBlockModeZeroWritesTheVendorSectionThreeBytesAtATime) {
    const Bytes vendor = Seq(164, 0x10);
    ASSERT_TRUE(device::WriteConfigBlock(0, 0, 164, vendor.data()));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 55u);
    for (size_t i = 0; i < 54; ++i) {
        const uint8_t b = static_cast<uint8_t>(0x10 + 3 * i);
        EXPECT_EQ(sent[i], (Bytes{0x40, 0x05, 0x00, static_cast<uint8_t>(3 * i), b,
                                  static_cast<uint8_t>(b + 1), static_cast<uint8_t>(b + 2), 3}));
    }
    // Bytes 162 and 163, then the leftover of the previous chunk, count 2.
    EXPECT_EQ(sent[54], (Bytes{0x40, 0x05, 0x00, 162, 0xB2, 0xB3, 0xB1, 2}));
    EXPECT_EQ(busy.steps, 55);
    EXPECT_EQ(busy.hides, 0);
}

TEST_F(Reports, ConfigBlockModeZeroUserSectionEndsWithCountOne) {
    const Bytes user = Seq(28, 1);
    ASSERT_TRUE(device::WriteConfigBlock(0, 164, 28, user.data()));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[9], (Bytes{0x40, 0x05, 0x00, 191, 28, 26, 27, 1}));
}

TEST_F(Reports, ConfigBlockModeOneRepeatsLeftoversAndWrapsTheAddress) {
    const Bytes source = Seq(6, 0x61);
    ASSERT_TRUE(device::WriteConfigBlock(1, 252, 6, source.data()));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x05, 0x01, 252, 0x61, 0x62, 0x63, 0x64},
                                          {0x40, 0x05, 0x01, 0, 0x65, 0x66, 0x63, 0x64}}));
}

TEST_F(Reports, ConfigBlockOtherModesSendNothingButSucceed) {
    const Bytes source = Seq(6);
    EXPECT_TRUE(device::WriteConfigBlock(2, 0, 6, source.data()));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(busy.steps, 0);
}

TEST_F(Reports, DataHandleInvalidReadsFFAfterTheCommand) {
    device::DataHandle = platform::win::INVALID_HANDLE_VALUE;
    uint8_t out[10];
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_FALSE(device::ReadConfigBytes(0, 164, 10, out));
    EXPECT_EQ(Bytes(out, out + 10), Bytes(10, 0xFF));
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{0x40, 0x06, 0, 164, 0, 10, 0, 0}}));
    EXPECT_EQ(CountOf(Transfer::Get), 0u);
}

class ReportsWithoutDevice : public DeviceTest {};

TEST_F(ReportsWithoutDevice, EveryRoutineFailsAtOnceWithoutSendingOrShowing) {
    RecordingBusyWindow busy;
    device::SetBusyWindow(&busy);
    bus->Add("sim://mouse", kMouseVendor, kMouseProduct, 8);
    const Bytes source = Seq(16);
    uint8_t out[16];
    uint8_t report[8] = {0x40};
    std::fill(std::begin(device::ReplyBuffer), std::end(device::ReplyBuffer), 0);
    EXPECT_FALSE(device::SetFeatureReport(device::CommandHandle, report));
    EXPECT_FALSE(device::GetFeatureReport(device::DataHandle, report));
    EXPECT_FALSE(device::ReadInputReport(out));
    EXPECT_FALSE(device::SendCommand(0x0D, 0, 0, 0, 0));
    EXPECT_FALSE(device::SendData7(0, 0, 0, 0, 0, 0, 0));
    device::ReadData7();
    EXPECT_EQ(Bytes(device::ReplyBuffer, device::ReplyBuffer + 7), Bytes(7, 0xFF));
    EXPECT_FALSE(device::WriteConfigBytes(1, 2, 3, 4, 1));
    EXPECT_FALSE(device::WriteConfigDword(1, 2, 3, 4, 5));
    EXPECT_FALSE(device::WriteConfigBlock(0, 0, 16, source.data()));
    EXPECT_FALSE(device::WriteEepromBlock(0, 16, source.data()));
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_FALSE(device::ReadConfigBytes(0, 0, 16, out));
    EXPECT_EQ(Bytes(out, out + 16), Bytes(16, 0xFF));
    std::fill(std::begin(out), std::end(out), 0);
    EXPECT_FALSE(device::ReadEepromBlock(0, 16, out));
    EXPECT_EQ(Bytes(out, out + 16), Bytes(16, 0xFF));
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0, 16, out));
    EXPECT_TRUE(bus->Transcript().empty());
    EXPECT_EQ(busy.steps + busy.hides, 0);
}

TEST(Bits, BitNumbersWrapAtThirtyTwo) {
    EXPECT_TRUE(device::BitIsSet(0x2, 33));
    EXPECT_FALSE(device::BitIsSet(0x2, 32));
    EXPECT_TRUE(device::BitIsSet(0x80000000u, 31));
    EXPECT_EQ(device::SetBit(0, 33), 0x2u);
    EXPECT_EQ(device::SetBit(0x1, 63), 0x80000001u);
    EXPECT_EQ(device::ClearBit(0xFFFFFFFFu, 36), 0xFFFFFFEFu);
    EXPECT_EQ(device::ClearBit(0x10, 3), 0x10u);
}

} // namespace
