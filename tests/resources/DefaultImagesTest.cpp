// The built-in default images and PC macro library, read back field by field from the
// embedded resources.
#include "platform/core/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Resource(std::string_view name) {
    const platform::core::ResourceEntry* e = platform::core::FindResource(name, "RC_DATA");
    if (!e) return {};
    return Bytes(e->data, e->data + e->size);
}

Bytes Hex(std::string_view text) {
    Bytes out;
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
        i += 2;
    }
    return out;
}

Bytes At(const Bytes& img, size_t offset, size_t length) {
    return Bytes(img.begin() + offset, img.begin() + offset + length);
}

bool All(const Bytes& img, size_t from, size_t to, uint8_t value) {
    for (size_t i = from; i < to; ++i)
        if (img[i] != value) return false;
    return true;
}

uint8_t Checksum(const Bytes& img, size_t offset, size_t length) {
    const unsigned sum =
        std::accumulate(img.begin() + offset, img.begin() + offset + length - 1, 0u);
    return static_cast<uint8_t>((sum % 256) ^ 0x5A);
}

class DefaultImage : public testing::TestWithParam<int> {
protected:
    Bytes img;
    int number = 0;
    void SetUp() override {
        number = GetParam();
        img = Resource("VTRM408xData_Cfg" + std::to_string(number));
        ASSERT_EQ(img.size(), 2048u);
    }
};

TEST_P(DefaultImage, AllFiveSectionChecksumsHold) {
    for (auto [offset, length] : {std::pair{0, 164}, {164, 28}, {192, 49}, {241, 49}, {290, 49}})
        EXPECT_EQ(img[offset + length - 1], Checksum(img, offset, length))
            << "section at " << offset;
}

TEST_P(DefaultImage, VendorSectionFields) {
    // The vendor id is ours to choose; it must be a real id, not blank memory.
    EXPECT_NE(At(img, 0, 2), Hex("00 00"));
    EXPECT_NE(At(img, 0, 2), Hex("FF FF"));
    EXPECT_EQ(At(img, 0, 2), At(Resource("VTRM408xData_Cfg1"), 0, 2));
    EXPECT_EQ(At(img, 2, 2), Hex("08 B9"));
    EXPECT_EQ(img[4], 0xBF);
    EXPECT_EQ(At(img, 5, 4), Hex("FF 3F 7F AF"));
    EXPECT_EQ(At(img, 9, 31), Hex("20 35 29 10 30 1A 00 00 45 02 EF 10 EF 10 EF 10 FF 10 50 03 01 "
                                  "02 48 96 FA 20 1E 02 01 20 00"));
    EXPECT_EQ(At(img, 40, 2), Hex("1C 1A"));
    EXPECT_EQ(img[42], 0x3F);
    EXPECT_EQ(At(img, 43, 5), Hex("03 85 B9 98 BA"));
    EXPECT_EQ(At(img, 48, 9), Hex("01 00 80 00 00 64 01 2C 0A"));
    // Product string: printable 8-bit text, NUL padded, naming the brand.
    const Bytes text = At(img, 111, 16);
    size_t length = 0;
    while (length < 16 && text[length] != 0)
        ++length;
    EXPECT_GT(length, 0u);
    EXPECT_TRUE(All(img, 111 + length, 127, 0x00));
    for (size_t i = 0; i < length; ++i)
        EXPECT_TRUE(text[i] >= 0x20 && text[i] < 0x7F);
    const Bytes combos = At(img, 127, 36);
    const Bytes expected = number == 3 ? Hex("00000000 07D1F020 00000000 00000000 00000000 "
                                             "00000000 00000000 00000000 00000000")
                                       : Hex("00000000 00000000 08010000 07D1F020 00000000 "
                                             "00000000 00000000 00000000 00000000");
    EXPECT_EQ(combos, expected);
}

TEST_P(DefaultImage, UserSectionFields) {
    EXPECT_EQ(At(img, 164, 7), Hex("F1 04 00 04 0F 00 20"));
    EXPECT_TRUE(All(img, 171, 181, 0x00)); // recoil X
    if (number == 3)
        EXPECT_TRUE(All(img, 181, 191, 0x00));
    else
        EXPECT_EQ(At(img, 181, 10), Hex("00 00 00 00 00 F7 FE F9 03 00"));
}

TEST_P(DefaultImage, ProfileKeyTables) {
    const char* p12 = "01010000 0300B600 03022300 01020000 0300B500 0300EA00 0300CD00 09000008 "
                      "00000000 00000000 00000000 00000000";
    const char* p3 = "01010000 01080002 0617003C 01020000 01100000 02080700 01040000 09000008 "
                     "08000000 0E000000 0300E900 0300EA00";
    const char* keys[3][3] = {
        {p12,
         "01010000 01080002 0692003C 01020000 01100000 09000008 01040000 09000008 00000000 "
         "00000000 00000000 00000000",
         p3},
        {p12,
         "1006A0FF 0B170308 0A000000 01020000 0B150208 09000008 01040000 09000008 00000000 "
         "00000000 00000000 00000000",
         p3},
        {"01010000 01080002 0692003C 01020000 01100000 0300EA00 01040000 09000000 00000000 "
         "00000000 00000000 00000000",
         "1006A0FF 0B170302 09000000 01020000 0B150202 09000000 01040000 0A000000 00000000 "
         "00000000 00000000 00000000",
         "01010000 01080002 0617003C 01020000 01100000 02080700 01040000 09000000 08000000 "
         "0E000000 0300E900 0300EA00"}};
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(At(img, 192 + 49 * p, 48), Hex(keys[number - 1][p])) << "profile " << p + 1;
}

TEST_P(DefaultImage, OpaqueIdentityAndDeviceMacroArea) {
    EXPECT_TRUE(All(img, 339, 484, 0xFF));
    EXPECT_EQ(At(img, 484, 12), Hex("FF FF 02 00 3C 04 00 3C 07 00 3C E0"));
    EXPECT_TRUE(All(img, 496, 1008, 0x00));
}

TEST_P(DefaultImage, PatchCodeAndItsHeader) {
    const uint16_t checksum = number == 3 ? 0x261A : 0x07A2;
    const size_t codeLength = number == 3 ? 406 : 460;
    Bytes header = Hex("04 00 02 00 00 1A");
    header.push_back(static_cast<uint8_t>(checksum >> 8));
    header.push_back(static_cast<uint8_t>(checksum & 0xFF));
    EXPECT_EQ(At(img, 1008, 8), header);
    EXPECT_TRUE(All(img, 1016, 1024, 0xFF));
    const unsigned sum = std::accumulate(img.begin() + 1024, img.begin() + 1536, 0u);
    EXPECT_EQ((sum & 0xFFFF) ^ 0x015A, checksum);
    EXPECT_NE(img[1024 + codeLength - 1], 0xFF); // the code ends where the header says
    EXPECT_TRUE(All(img, 1024 + codeLength, 1536, 0xFF));
}

TEST_P(DefaultImage, FireMacroArea) {
    for (int n = 1; n <= 10; ++n) {
        Bytes name(16, 0);
        const std::string text = "Macro" + std::to_string(n);
        for (size_t i = 0; i < text.size(); ++i)
            name[2 * i + 1] = static_cast<uint8_t>(text[i]);
        EXPECT_EQ(At(img, 1536 + 16 * (n - 1), 16), name) << n;

        const size_t body = 1696 + 32 * (n - 1);
        size_t opcodes = 32;
        while (opcodes > 0 && img[body + opcodes - 1] == 0)
            --opcodes;
        if (number == 3)
            EXPECT_LE(opcodes, 19u) << n;
        else
            EXPECT_EQ(At(img, body, 17), Hex("FD 00 A1 FE 00 01 04 00 06 FE 00 01 21 FE 00 01 FC"));
        EXPECT_GE(opcodes, 17u) << n;
    }
    EXPECT_TRUE(All(img, 2016, 2048, 0xFF));
}

INSTANTIATE_TEST_SUITE_P(Images, DefaultImage, testing::Values(1, 2, 3));

TEST(DefaultImages, ResourceNamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(Resource("vtrm408xdata_cfg3"), Resource("VTRM408xData_Cfg3"));
    EXPECT_EQ(Resource("pcmacrodata").size(), 27200u);
}

TEST(DefaultPCMacroLibrary, AllZeroButOneFFInRecord98) {
    const Bytes library = Resource("PCMacroData");
    ASSERT_EQ(library.size(), 27200u);
    const size_t ff = 272 * 98 + 16 + 225;
    EXPECT_EQ(library[ff], 0xFF);
    EXPECT_TRUE(All(library, 0, ff, 0x00));
    EXPECT_TRUE(All(library, ff + 1, library.size(), 0x00));
}

} // namespace
