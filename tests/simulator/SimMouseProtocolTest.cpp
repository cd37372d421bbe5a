// The mouse's side of the report protocol: what each command does and answers.
#include "SimHost.h"

#include <gtest/gtest.h>

namespace {

using namespace simtest;
using simulator::SimBus;
using simulator::SimMouse;

// (Sum of bytes from..to-1) XOR 5A: the checksum of the section ending before `to`.
uint8_t Stamp(const std::vector<uint8_t>& bytes, size_t from, size_t to) {
    unsigned sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += bytes[i];
    return uint8_t((sum & 0xFF) ^ 0x5A);
}

class MouseProtocol : public ::testing::Test {
protected:
    void SetUp() override {
        mouse = bus.AddMouse(MouseConfig());
        host = Host(bus, mouse->Path());
        ASSERT_TRUE(host.handle);
    }
    void TearDown() override {
        for (const auto& v : bus.Violations())
            ADD_FAILURE() << simulator::Describe(v);
    }

    SimBus bus;
    std::shared_ptr<SimMouse> mouse;
    Host host;
    const std::vector<uint8_t> image = PatternImage();
};

TEST_F(MouseProtocol, InformationAnswersItsSevenBytes) {
    ASSERT_TRUE(host.Command(0x0D));
    EXPECT_EQ(host.Read(), (Report{0x41, 0x3F, 0x3A, 0xC0, 0, 0, 0, 0}));

    mouse->SetInfo({1, 2, 3, 4, 5, 6, 7});
    ASSERT_TRUE(host.Command(0x0D));
    EXPECT_EQ(host.Read(), (Report{0x41, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(MouseProtocol, LiveWritesChangeTheLiveSpaceAndMirrorIntoTheImage) {
    ASSERT_TRUE(host.Command(0x05, 0x00, 10, 0xA1, 0xEE, 0xEE, 1));
    ASSERT_TRUE(host.Command(0x05, 0x00, 20, 0xB1, 0xB2, 0xEE, 2));
    ASSERT_TRUE(host.Command(0x05, 0x00, 30, 0xC1, 0xC2, 0xC3, 3));
    ASSERT_TRUE(host.Command(0x05, 0x01, 127, 0xD1, 0xD2, 0xD3, 0xD4));

    const auto live = mouse->LiveBytes();
    const auto now = mouse->Image();
    std::vector<uint8_t> expected = image;
    expected[10] = 0xA1;
    expected[20] = 0xB1, expected[21] = 0xB2;
    expected[30] = 0xC1, expected[31] = 0xC2, expected[32] = 0xC3;
    expected[127] = 0xD1, expected[128] = 0xD2, expected[129] = 0xD3, expected[130] = 0xD4;
    // The vendor section's checksum follows its changed bytes.
    expected[163] = Stamp(expected, 0, 163);
    EXPECT_EQ(now, expected) << "only the counted bytes and the checksum are written";
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 192, live.begin()));
}

TEST_F(MouseProtocol, LiveWritesKeepTheSectionChecksumsTheyDoNotWrite) {
    // The vendor section is bytes 0..162 with its checksum at 163, the user section 164..190
    // with its checksum at 191. A write that brings a checksum byte keeps it as written.
    struct Case {
        uint8_t mode, address;
        std::vector<uint8_t> data; // three bytes in mode 0 (count = size), four in mode 1
        bool stampVendor, stampUser;
    };
    const Case cases[] = {
        {0, 42, {0x15}, true, false},
        {0, 166, {0x05}, false, true},
        {0, 164, {0xF2}, false, true},
        {1, 159, {1, 2, 3, 4}, true, false},
        {0, 161, {0x61, 0x62, 0x63}, false, false},
        {0, 162, {0x62, 0x63, 0x64}, false, true},
        {0, 189, {0x89, 0x90, 0x91}, false, false},
        {0, 200, {0x11, 0x22}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.address));
        mouse->SetImage(image);
        uint8_t d[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        std::copy(c.data.begin(), c.data.end(), d);
        const uint8_t last = c.mode == 0 ? uint8_t(c.data.size()) : d[3];
        ASSERT_TRUE(host.Command(0x05, c.mode, c.address, d[0], d[1], d[2], last));

        std::vector<uint8_t> expected = image;
        for (size_t i = 0; i < c.data.size(); ++i)
            if (c.address + i < 192) expected[c.address + i] = c.data[i];
        if (c.stampVendor) expected[163] = Stamp(expected, 0, 163);
        if (c.stampUser) expected[191] = Stamp(expected, 164, 191);
        EXPECT_EQ(mouse->Image(), expected);
        const auto live = mouse->LiveBytes();
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 192, live.begin()));
    }
}

TEST_F(MouseProtocol, LiveSpacePastTheImagePartDoesNotReachTheImage) {
    ASSERT_TRUE(host.Command(0x05, 0x00, 190, 0x11, 0x22, 0x33, 3));
    const auto live = mouse->LiveBytes();
    const auto now = mouse->Image();
    EXPECT_EQ(live[190], 0x11);
    EXPECT_EQ(live[191], 0x22);
    EXPECT_EQ(live[192], 0x33);
    EXPECT_EQ(now[190], 0x11);
    EXPECT_EQ(now[191], 0x22);
    EXPECT_EQ(now[192], image[192]);
    EXPECT_EQ(host.ReadLive(188, 6),
              (std::vector<uint8_t>{image[188], image[189], 0x11, 0x22, 0x33, 0xFF}));
}

TEST_F(MouseProtocol, LiveReadsChunkBySevenWithFFPastTheBlock) {
    for (unsigned length : {1u, 7u, 14u, 15u, 28u}) {
        SCOPED_TRACE(length);
        ASSERT_TRUE(host.Command(0x06, 0, 164, 0, uint8_t(length)));
        std::vector<uint8_t> got;
        for (unsigned done = 0; done < length; done += 7) {
            const auto r = host.Read();
            ASSERT_TRUE(r);
            for (unsigned i = 0; i < 7; ++i)
                EXPECT_EQ((*r)[1 + i], done + i < length ? image[164 + done + i] : 0xFF);
        }
    }
}

TEST_F(MouseProtocol, BlockReadsOfEveryLengthEndWithTheirLastChunk) {
    for (unsigned length : {7u, 14u, 15u, 2048u}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(host.ReadImage(0, length), Slice(image, 0, length));
    }
    EXPECT_EQ(host.ReadImage(1000, 15), Slice(image, 1000, 15));
    // Past the image memory the mouse answers FF.
    ASSERT_TRUE(host.Command(0x09, 0x07, 0xFD, 0, 7));
    EXPECT_EQ(host.Read(),
              (Report{0x41, image[2045], image[2046], image[2047], 0xFF, 0xFF, 0xFF, 0xFF}));
    // The short last chunk of 15 bytes: one byte of the block, six FF.
    ASSERT_TRUE(host.Command(0x09, 0, 0, 0, 15));
    host.Read();
    host.Read();
    EXPECT_EQ(host.Read(), (Report{0x41, image[14], 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(MouseProtocol, WholeImageReadIsOneCommandAnd293DataReads) {
    bus.ClearTranscript();
    EXPECT_EQ(host.ReadImage(0, 2048), image);
    EXPECT_EQ(bus.Transcript().size(), 294u);
}

TEST_F(MouseProtocol, BlockWriteTakesOnlyTheBytesItsLengthNames) {
    std::vector<uint8_t> source(12);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(0xA0 + i);
    host.WriteImage(484, source);
    // The second data report also carried source bytes 5 and 6 in its last two places.
    const auto now = mouse->Image();
    EXPECT_EQ(Slice(now, 484, 12), source);
    EXPECT_EQ(now[496], image[496]);
    EXPECT_EQ(now[497], image[497]);
}

TEST_F(MouseProtocol, BlockWritesOfEveryLength) {
    for (unsigned length : {7u, 14u, 15u, 2048u}) {
        SCOPED_TRACE(length);
        std::vector<uint8_t> source(length);
        for (unsigned i = 0; i < length; ++i)
            source[i] = uint8_t(0x55 ^ (i * 13 + length));
        std::vector<uint8_t> expected = mouse->Image();
        std::copy(source.begin(), source.end(), expected.begin());
        host.WriteImage(0, source);
        EXPECT_EQ(mouse->Image(), expected);
    }
}

TEST_F(MouseProtocol, ZeroLengthBlocksAskForNoDataReports) {
    ASSERT_TRUE(host.Command(0x06, 0, 164, 0, 0));
    ASSERT_TRUE(host.Command(0x09, 0, 0, 0, 0));
    ASSERT_TRUE(host.Command(0x07, 0, 0, 0, 0));
    ASSERT_TRUE(host.Command(0x0D));
    ASSERT_TRUE(host.Read());
    EXPECT_EQ(mouse->Image(), image);
}

TEST_F(MouseProtocol, BlockWriteReachesTheLiveSpaceOnlyAfterAReset) {
    mouse->SetResetReturn(0);
    host.WriteImage(160, std::vector<uint8_t>(14, 0x42));
    EXPECT_EQ(mouse->Image()[166], 0x42);
    EXPECT_EQ(mouse->LiveBytes()[166], image[166]);
    EXPECT_EQ(host.ReadLive(166, 1), (std::vector<uint8_t>{image[166]}));

    ASSERT_TRUE(host.Command(0x0E));
    EXPECT_EQ(mouse->ResetCount(), 1u);
    EXPECT_EQ(mouse->LiveBytes()[166], 0x42);
}

TEST_F(MouseProtocol, DataMemoryWriteAndRead) {
    ASSERT_TRUE(host.Command(0x01, 0x12, 0x34, 0x9C));
    ASSERT_TRUE(host.Command(0x01, 0xFF, 0xFF, 0x77));
    EXPECT_EQ(mouse->DataMemory(0x1234), 0x9C);
    EXPECT_EQ(mouse->DataMemory(0xFFFF), 0x77);
    EXPECT_EQ(mouse->DataMemory(0x1235), 0x00);

    ASSERT_TRUE(host.Command(0x02, 0x12, 0x34, 0, 0x01));
    EXPECT_EQ(host.Read(), (Report{0x41, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(host.Command(0x02, 0xFF, 0xFF, 0, 0x01));
    EXPECT_EQ((*host.Read())[1], 0x77);
}

} // namespace
