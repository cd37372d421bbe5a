// Loading the built-in images and splitting the live image into the working copies.
#include "ImageTestBytes.h"
#include "device/DefaultSetting.h"
#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace device;
using image_test::Slice;

class RecordingHost : public SplitHost {
public:
    std::vector<std::string> calls;
    TDeviceMacroArea areaSeenByMacros{};
    std::array<TMacroName, image::FireMacroCount> namesSeenByFireList{};

    void ReadAndRefreshDeviceMacros() override {
        calls.push_back("ReadAndRefreshDeviceMacros");
        areaSeenByMacros = DeviceMacroAreaCopy;
    }
    void RefreshFireMacroName() override {
        calls.push_back("RefreshFireMacroName");
        namesSeenByFireList = FireMacroNames;
    }
};

template <size_t N> std::vector<uint8_t> Bytes(const TBytes<N>& b) {
    return {b.begin(), b.end()};
}

std::vector<uint8_t> Area(const TDeviceImage& img, ImageArea area) {
    return Slice(img, area.Offset, area.Length);
}

class ImageSplit : public testing::Test {
protected:
    void SetUp() override {
        MemoryType = "I2C";
        LoadDefaultImages();
    }
};

TEST_F(ImageSplit, EachDefaultImageSplitsWithoutRepairIntoCopiesEqualToItsBytes) {
    for (const TDeviceImage* img : {&DefaultImage1, &DefaultImage2, &DefaultImage3}) {
        LiveImage = *img;
        TConfigCopies copies;
        RecordingHost host;
        // A context that would change every repaired section.
        SplitLiveImage(copies, {"Sync", "", 0}, host);
        EXPECT_EQ(LiveImage, *img);
        EXPECT_EQ(Bytes(copies.VendorCopy), Area(*img, image::Vendor));
        EXPECT_EQ(Bytes(copies.UserCopy), Area(*img, image::User));
        EXPECT_EQ(Bytes(copies.Profile1Copy), Area(*img, image::Profile1));
        EXPECT_EQ(Bytes(copies.Profile2Copy), Area(*img, image::Profile2));
        EXPECT_EQ(Bytes(copies.Profile3Copy), Area(*img, image::Profile3));
        EXPECT_EQ(Bytes(OpaqueBlockCopy), Area(*img, image::OpaqueBlock));
        EXPECT_EQ(Bytes(copies.IdentityCopy), Area(*img, image::Identity));
        EXPECT_EQ(Bytes(DeviceMacroAreaCopy), Area(*img, image::DeviceMacroArea));
        EXPECT_EQ(Bytes(PatchHeaderCopy), Area(*img, image::PatchHeader));
        EXPECT_EQ(Bytes(PatchCodeCopy), Area(*img, image::PatchCode));
        EXPECT_EQ(Bytes(FireMacroAreaCopy), Area(*img, image::FireMacroArea));
        for (int n = 0; n < image::FireMacroCount; ++n) {
            EXPECT_EQ(Bytes(FireMacroNames[n]), Slice(*img, 1536 + 16 * n, 16));
            EXPECT_EQ(Bytes(FireMacroBodies[n]), Slice(*img, 1696 + 32 * n, 32));
        }
    }
}

TEST_F(ImageSplit, RepairsOnlyTheCopiesAndLeavesTheLiveImageAsItWas) {
    LiveImage = DefaultImage1;
    LiveImage[10] ^= 0x01;       // vendor register byte
    LiveImage[241 + 5] ^= 0x40;  // a key byte of profile 2
    LiveImage[164 + 27] ^= 0x01; // the user checksum itself
    const TDeviceImage damaged = LiveImage;
    TConfigCopies copies;
    RecordingHost host;
    SplitLiveImage(copies, {"RGB", "I2C", 1}, host);
    EXPECT_EQ(LiveImage, damaged);
    EXPECT_TRUE(ChecksumHolds(copies.VendorCopy));
    EXPECT_TRUE(ChecksumHolds(copies.UserCopy));
    EXPECT_TRUE(ChecksumHolds(copies.Profile2Copy));
    // Repaired with the routine defaults: product id 08 B8, user byte 1 of RGB.
    EXPECT_EQ(copies.VendorCopy[3], 0xB8);
    EXPECT_EQ(copies.UserCopy[1], 0x05);
    EXPECT_EQ(Slice(copies.Profile2Copy, 8, 4), image_test::Hex("06 12 00 10"));
    // The sound sections are the image's own.
    EXPECT_EQ(Bytes(copies.Profile1Copy), Area(damaged, image::Profile1));
    EXPECT_EQ(Bytes(copies.Profile3Copy), Area(damaged, image::Profile3));
}

TEST_F(ImageSplit, HandsTheMacroAreasOnOnceEachIsCopied) {
    LiveImage = DefaultImage2;
    LiveImage[600] = 0x77;              // something in the device macro area
    LiveImage[1536 + 16 * 4 + 1] = 'Z'; // name of fire macro 5
    TConfigCopies copies;
    RecordingHost host;
    SplitLiveImage(copies, {"RGB", "I2C", 0}, host);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"ReadAndRefreshDeviceMacros", "RefreshFireMacroName"}));
    EXPECT_EQ(host.areaSeenByMacros[600 - 496], 0x77);
    EXPECT_EQ(host.namesSeenByFireList[4][1], 'Z');
}

TEST(DefaultImageLoad, FlashSkipsTheReadsAndI2CReadsAllThree) {
    MemoryType = "Flash";
    DefaultImage1.fill(0x33);
    DefaultImage2.fill(0x33);
    DefaultImage3.fill(0x33);
    LoadDefaultImages();
    for (const TDeviceImage* img : {&DefaultImage1, &DefaultImage2, &DefaultImage3})
        EXPECT_EQ(std::count(img->begin(), img->end(), 0x33), 2048);
    MemoryType = "I2C";
    LoadDefaultImages();
    for (int i = 0; i < 3; ++i) {
        const TDeviceImage& img = i == 0 ? DefaultImage1 : i == 1 ? DefaultImage2 : DefaultImage3;
        const std::vector<uint8_t> resource = OpenResourceBytes(DefaultImageResources[i]);
        EXPECT_EQ(Bytes(img), resource);
    }
}

TEST(DefaultImageLoad, AShortResourceLeavesTheRestOfTheDestination) {
    const platform::core::ResourceEntry original =
        *platform::core::FindResource("VTRM408xData_Cfg2", "RC_DATA");
    static const unsigned char kShort[] = {1, 2, 3, 4, 5};
    platform::core::RegisterResource("vtrm408xdata_cfg2", "RC_DATA", kShort, sizeof kShort);
    MemoryType = "I2C";
    DefaultImage2.fill(0x44);
    LoadDefaultImages();
    platform::core::RegisterResource(original.name, original.type, original.data, original.size);
    EXPECT_EQ(Slice(DefaultImage2, 0, 5), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(std::count(DefaultImage2.begin() + 5, DefaultImage2.end(), 0x44), 2043);
}

TEST(DefaultImageLoad, AMissingResourceRaisesTheResourceError) {
    try {
        OpenResourceBytes("VTRM408xData_Cfg9");
        FAIL() << "no exception";
    } catch (const platform::rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "Resource VTRM408xData_Cfg9 not found");
    }
}

TEST(DefaultImageLoad, HeaderIsTheFirst512BytesAndGivesTheMemoryType) {
    DefaultImageHeader.fill(0);
    LoadDefaultImageHeader();
    const std::vector<uint8_t> first = OpenResourceBytes("VTRM408xData_Cfg1");
    EXPECT_EQ(Bytes(DefaultImageHeader), std::vector<uint8_t>(first.begin(), first.begin() + 512));
    MemoryType.clear();
    DeriveMemoryType();
    EXPECT_EQ(MemoryType, "I2C");
    for (uint8_t marker : {0x00, 0xE1, 0xFF, 0x0E}) {
        TImageHeader header = DefaultImageHeader;
        header[495] = marker;
        EXPECT_EQ(MemoryTypeOf(header), "Flash") << int(marker);
    }
}

TEST(DefaultPCMacros, LibraryResourceIntoTheTables) {
    for (auto& name : PCMacroNameTable)
        name.fill(0x55);
    for (auto& body : PCMacroBodyTable)
        body.fill(0x55);
    LoadDefaultPCMacros();
    for (int i = 0; i < image::PCMacroCount; ++i) {
        EXPECT_EQ(std::count(PCMacroNameTable[i].begin(), PCMacroNameTable[i].end(), 0), 16) << i;
        const int ff = i == 98 ? 1 : 0;
        EXPECT_EQ(std::count(PCMacroBodyTable[i].begin(), PCMacroBodyTable[i].end(), 0), 256 - ff);
    }
    EXPECT_EQ(PCMacroBodyTable[98][225], 0xFF);
}

} // namespace
