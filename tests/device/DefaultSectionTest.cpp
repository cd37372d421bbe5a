// The default contents of every section, byte by byte, and the section checks that apply
// them: wrong bytes here would reach a user's mouse.
#include "ImageTestBytes.h"
#include "device/DefaultSetting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>

namespace {

using namespace device;
using image_test::Hex;
using image_test::Patterned;
using image_test::Put;

enum class Led { Rgb, Sync, Nt };

struct LedCase {
    const char* ledType;
    Led behavesAs;
};

// "Other" LED types, the empty one before the first refresh included, behave as RGB.
const LedCase kLedCases[] = {
    {"RGB", Led::Rgb}, {"Sync", Led::Sync}, {"NT", Led::Nt},
    {"", Led::Rgb},    {"rgb", Led::Rgb},   {"SYNC", Led::Rgb},
};

std::string CaseName(const testing::TestParamInfo<LedCase>& info) {
    return info.param.ledType[0] ? "Type_" + std::string(info.param.ledType) : "Type_empty";
}

constexpr const char* kRegisters = // vendor bytes 9..39
    "20 35 29 10 30 1A 00 00 45 02 EF 10 EF 10 EF 10 FF 10 50 03 01 02 48 96 FA 20 1E 02 01 20 00";
constexpr const char* kLedColours = // 57..86
    "FF0000 FF8000 FFFF00 00FF00 0000FF 00FF80 00FFFF 8000FF FF00FF FFFFFF";
constexpr const char* kCpiColours = "00FF00 FFFF00 FF8000 FF0000 FF0080 FF00FF 8000FF 0000FF";
constexpr const char* kProductString = "48 49 44 20 47 61 6D 69 6E 67 20 6D 6F 75 73 65";
constexpr const char* kCombos = "00000000 00000000 08010000 00000000 00000000 00000000 00000000 "
                                "00000000 00000000";
constexpr const char* kKeys = "01010000 01080000 06120010 01020000 01100000 02080700 01040000 "
                              "09000000 08000000 00000000 00000000 00000000";

// What DefaultVendorSection must make of `before`, written from the table of defaults.
TVendorSection ExpectedVendor(TVendorSection s, Led led, bool i2c, int package) {
    Put(s, 0, "AB CD 08 B8");
    if (i2c) Put(s, 4, "BF");
    Put(s, 5, led == Led::Rgb ? "FF 7F 7F" : led == Led::Sync ? "3F 7F BF" : "3F 7F CF");
    Put(s, 8, "AF");
    Put(s, 9, kRegisters);
    if (package == 0) Put(s, 40, "06 87");
    if (package == 1) Put(s, 40, "10 E0");
    Put(s, 42, led == Led::Rgb ? "3F" : led == Led::Sync ? "07" : "37");
    Put(s, 43, "03 64 98 00 00");
    Put(s, 48,
        led == Led::Rgb    ? "01 00 80 00 00 64 00 64 08"
        : led == Led::Sync ? "00 00 00 FF 00 64 01 2C 0A"
                           : "00 00 00 FF 00 64 00 64 08");
    if (led != Led::Sync) {
        Put(s, 57, kLedColours);
        Put(s, 87, kCpiColours);
    }
    Put(s, 111, kProductString);
    Put(s, 127, kCombos);
    Put(s, 163, "D2");
    return s;
}

class DefaultsByLedType : public testing::TestWithParam<LedCase> {
protected:
    void SetUp() override {
        DefaultImageHeader[0] = 0xAB; // the vendor id follows the default image header
        DefaultImageHeader[1] = 0xCD;
    }
};

TEST_P(DefaultsByLedType, VendorSectionByteByByte) {
    const LedCase c = GetParam();
    for (const char* detected : {"I2C", "", "Flash"}) {
        for (int package : {0, 1, -1, 2}) {
            SCOPED_TRACE(std::string("interface '") + detected + "' package " +
                         std::to_string(package));
            const TVendorSection before = Patterned<164>();
            TVendorSection s = before;
            EXPECT_TRUE(DefaultVendorSection(s, {c.ledType, detected, package}));
            EXPECT_EQ(s,
                      ExpectedVendor(before, c.behavesAs, std::string(detected) == "I2C", package));
        }
    }
}

TEST_P(DefaultsByLedType, UserSectionByteByByte) {
    const LedCase c = GetParam();
    TUserSection s = Patterned<28>();
    EXPECT_TRUE(DefaultUserSection(s, {c.ledType, "", -1}));
    TUserSection expected{};
    Put(expected, 0, "00");
    Put(expected, 1, c.behavesAs == Led::Rgb ? "05" : c.behavesAs == Led::Sync ? "41" : "F5");
    Put(expected, 2, "01 01");
    Put(expected, 27, "D2");
    EXPECT_EQ(s, expected);
}

// The profile and identity defaults do not depend on the LED type.
TEST_P(DefaultsByLedType, ProfileAndIdentityIgnoreLedType) {
    const LedCase c = GetParam();
    TProfileSection p = Patterned<49>();
    TProfileSection expectedProfile = p;
    Put(expectedProfile, 0, kKeys);
    EXPECT_TRUE(DefaultProfile2Section(p, {c.ledType, "I2C", 1}));
    EXPECT_EQ(p, expectedProfile);
    TIdentityBlock b = Patterned<12>();
    EXPECT_TRUE(DefaultIdentityBlock(b, {c.ledType, "I2C", 1}));
    TIdentityBlock expectedIdentity{};
    Put(expectedIdentity, 0, "FF FF 01 00 3C 03 00 78 07 00 C8 E0");
    EXPECT_EQ(b, expectedIdentity);
}

INSTANTIATE_TEST_SUITE_P(LedTypes, DefaultsByLedType, testing::ValuesIn(kLedCases), CaseName);

TEST(ProfileDefaults, KeyTableByPackageItemAndByteFortyEightUntouched) {
    bool (*const routines[])(TProfileSection&, const DefaultsContext&) = {
        DefaultProfile1Section, DefaultProfile2Section, DefaultProfile3Section};
    for (auto routine : routines) {
        for (int package : {0, 1, -1, 2, 7}) {
            SCOPED_TRACE(package);
            const TProfileSection before = Patterned<49>(0x21);
            TProfileSection s = before;
            EXPECT_TRUE(routine(s, {"RGB", "I2C", package}));
            TProfileSection expected = before;
            if (package == 0 || package == 1) Put(expected, 0, kKeys);
            EXPECT_EQ(s, expected);
        }
    }
}

TEST(IdentityDefaults, MemoryMarkerOnlyForI2C) {
    for (const char* detected : {"", "Flash", "i2c"}) {
        TIdentityBlock b = Patterned<12>();
        const uint8_t oldMarker = b[11];
        DefaultIdentityBlock(b, {"RGB", detected, 0});
        EXPECT_EQ(image_test::Slice(b, 0, 11), Hex("FF FF 01 00 3C 03 00 78 07 00 C8"));
        EXPECT_EQ(b[11], oldMarker) << detected;
    }
}

TEST(SectionChecksum, SumModulo256XorFiveA) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0xFF, 0xFF};
    EXPECT_EQ(SectionChecksum(bytes, 3), 0x06 ^ 0x5A);
    EXPECT_EQ(SectionChecksum(bytes, 5), ((0x06 + 0x1FE) & 0xFF) ^ 0x5A); // carries dropped
    EXPECT_EQ(SectionChecksum(bytes, 0), 0x5A);
}

TEST(SectionChecksum, AllZeroSectionsStampFiveA) {
    TVendorSection v{};
    TUserSection u{};
    TProfileSection p{};
    StampVendorChecksum(v);
    StampUserChecksum(u);
    StampProfileChecksum(p);
    EXPECT_EQ(v[163], 0x5A);
    EXPECT_EQ(u[27], 0x5A);
    EXPECT_EQ(p[48], 0x5A);
    // Only the last byte is written.
    EXPECT_EQ(std::count(v.begin(), v.end(), 0), 163);
}

// The D2 that the default routines leave in the checksum byte takes no part in the sum.
TEST(SectionChecksum, StampAlwaysReplacesTheUnstampedD2) {
    auto expected = [](const uint8_t* bytes, size_t count) {
        return static_cast<uint8_t>(std::accumulate(bytes, bytes + count, 0u) % 256 ^ 0x5A);
    };
    for (const char* led : {"RGB", "Sync", "NT", ""}) {
        for (int package : {0, 1}) {
            TVendorSection v = Patterned<164>();
            TUserSection u = Patterned<28>();
            DefaultVendorSection(v, {led, "I2C", package});
            DefaultUserSection(u, {led, "", package});
            ASSERT_EQ(v[163], 0xD2);
            ASSERT_EQ(u[27], 0xD2);
            StampVendorChecksum(v);
            StampUserChecksum(u);
            EXPECT_EQ(v[163], expected(v.data(), 163)) << led;
            EXPECT_EQ(u[27], expected(u.data(), 27)) << led;
        }
    }
}

// ---- Section checks ---------------------------------------------------------------

template <size_t N> device::TBytes<N> Damaged(device::TBytes<N> s) {
    s[N - 1] = static_cast<uint8_t>(SectionChecksum(s.data(), N - 1) + 1);
    return s;
}

TEST(SectionChecks, ASectionWhoseChecksumHoldsIsLeftAsItIs) {
    for (uint8_t seed : {0x00, 0x5C, 0xFF}) {
        TVendorSection v = Patterned<164>(seed);
        TUserSection u = Patterned<28>(seed);
        TProfileSection p = Patterned<49>(seed);
        StampVendorChecksum(v);
        StampUserChecksum(u);
        StampProfileChecksum(p);
        const TVendorSection v0 = v;
        const TUserSection u0 = u;
        const TProfileSection p0 = p;
        const DefaultsContext context{"RGB", "I2C", 0};
        CheckVendorSection(v, context);
        CheckUserSection(u, context);
        EXPECT_EQ(v, v0);
        EXPECT_EQ(u, u0);
        for (auto check : {CheckProfile1Section, CheckProfile2Section, CheckProfile3Section}) {
            TProfileSection q = p;
            check(q, context);
            EXPECT_EQ(q, p0);
        }
    }
}

TEST(SectionChecks, DamagedVendorSectionGetsDefaultsAndAFreshChecksum) {
    DefaultImageHeader[0] = 0x12;
    DefaultImageHeader[1] = 0x09;
    TVendorSection v = Damaged(Patterned<164>());
    const TVendorSection before = v;
    CheckVendorSection(v, {"RGB", "I2C", 0});
    EXPECT_TRUE(ChecksumHolds(v));
    // The repair carries product id 08 B8, unlike the default images (08 B9).
    EXPECT_EQ(image_test::Slice(v, 0, 4), Hex("12 09 08 B8"));
    TVendorSection expected = ExpectedVendor(before, Led::Rgb, true, 0);
    Put(expected, 0, "12 09");
    expected[163] = v[163];
    EXPECT_EQ(v, expected);
}

TEST(SectionChecks, RepairWithoutI2CKeepsByteFourUnderTheFreshChecksum) {
    TVendorSection v = Patterned<164>();
    v[4] = 0x12;
    v = Damaged(v);
    CheckVendorSection(v, {"RGB", "", 0});
    EXPECT_EQ(v[4], 0x12);
    EXPECT_TRUE(ChecksumHolds(v));
}

TEST(SectionChecks, SyncRepairKeepsColoursNtRepairTakesRgbColoursWithItsOwnBreathing) {
    const TVendorSection before = Damaged(Patterned<164>());
    TVendorSection sync = before;
    CheckVendorSection(sync, {"Sync", "I2C", 0});
    EXPECT_EQ(image_test::Slice(sync, 57, 54), image_test::Slice(before, 57, 54));
    EXPECT_TRUE(ChecksumHolds(sync));

    TVendorSection nt = before;
    TVendorSection rgb = before;
    CheckVendorSection(nt, {"NT", "I2C", 0});
    CheckVendorSection(rgb, {"RGB", "I2C", 0});
    EXPECT_EQ(image_test::Slice(nt, 57, 54), image_test::Slice(rgb, 57, 54));
    EXPECT_EQ(image_test::Slice(nt, 48, 9), Hex("00 00 00 FF 00 64 00 64 08"));
    EXPECT_EQ(image_test::Slice(nt, 5, 3), Hex("3F 7F CF"));
    EXPECT_EQ(nt[42], 0x37);
    EXPECT_TRUE(ChecksumHolds(nt));
}

TEST(SectionChecks, WithoutAPackageItemProfilesKeepKeysAndVendorKeepsLedInit) {
    for (int package : {-1, 2}) {
        for (auto check : {CheckProfile1Section, CheckProfile2Section, CheckProfile3Section}) {
            TProfileSection p = Damaged(Patterned<49>());
            const TProfileSection before = p;
            check(p, {"RGB", "I2C", package});
            EXPECT_EQ(image_test::Slice(p, 0, 48), image_test::Slice(before, 0, 48));
            EXPECT_TRUE(ChecksumHolds(p));
        }
        TVendorSection v = Damaged(Patterned<164>());
        const TVendorSection before = v;
        CheckVendorSection(v, {"RGB", "I2C", package});
        EXPECT_EQ(image_test::Slice(v, 40, 2), image_test::Slice(before, 40, 2));
        EXPECT_TRUE(ChecksumHolds(v));
    }
}

TEST(SectionChecks, DamagedUserSectionIsRebuiltWhole) {
    TUserSection u = Damaged(Patterned<28>());
    CheckUserSection(u, {"NT", "", -1});
    TUserSection expected{};
    Put(expected, 0, "00 F5 01 01");
    expected[27] = SectionChecksum(expected.data(), 27);
    EXPECT_EQ(u, expected);
}

TEST(FireMacroDefaults, NamesMacro1To10AndOnlyTheFirst24BodyBytesCleared) {
    for (int n = 0; n < image::FireMacroCount; ++n) {
        FireMacroNames[n] = Patterned<16>(static_cast<uint8_t>(n));
        FireMacroBodies[n] = Patterned<32>(static_cast<uint8_t>(n + 1));
    }
    DefaultFireMacros();
    TMacroName macro10{};
    Put(macro10, 0, "00 4D 00 61 00 63 00 72 00 6F 00 31 00 30");
    EXPECT_EQ(FireMacroNames[9], macro10);
    TMacroName macro1{};
    Put(macro1, 0, "00 4D 00 61 00 63 00 72 00 6F 00 31");
    EXPECT_EQ(FireMacroNames[0], macro1);
    for (int n = 0; n < image::FireMacroCount; ++n) {
        const auto before = Patterned<32>(static_cast<uint8_t>(n + 1));
        EXPECT_EQ(image_test::Slice(FireMacroBodies[n], 0, 24), std::vector<uint8_t>(24, 0));
        EXPECT_EQ(image_test::Slice(FireMacroBodies[n], 24, 8), image_test::Slice(before, 24, 8));
    }
}

} // namespace
