#pragma once
// The mouse's 2048-byte configuration memory as the program holds it: the layout of the
// image (every section and area as one named offset and length, defined here and nowhere
// else), the live image, the working copies the pages edit and the staging buffers of the
// block writes. The image is big-endian wherever a field spans two bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace device {

// One stretch of the image (or of an area inside it).
struct ImageArea {
    uint16_t Offset;
    uint16_t Length;
    constexpr uint16_t End() const { return static_cast<uint16_t>(Offset + Length); }
};

namespace image {

constexpr uint16_t ImageSize = 2048;

// Sections and areas of the image, in address order.
constexpr ImageArea Vendor{0, 164};
constexpr ImageArea User{164, 28};
constexpr ImageArea Profile1{192, 49};
constexpr ImageArea Profile2{241, 49};
constexpr ImageArea Profile3{290, 49};
constexpr ImageArea Profiles{192, 147}; // the three profile sections back to back
constexpr ImageArea OpaqueBlock{339, 41};
constexpr ImageArea Unused{380, 104}; // carried in files and writes, never split
constexpr ImageArea Identity{484, 12};
constexpr ImageArea DeviceMacroArea{496, 512};
constexpr ImageArea PatchHeader{1008, 16};
constexpr ImageArea PatchCode{1024, 512};
constexpr ImageArea FireMacroArea{1536, 512};

// Image bytes 0..191 are also the device's live configuration address space.
constexpr ImageArea LiveConfig{0, 192};
// The part of the first default image kept for the whole run.
constexpr uint16_t HeaderSize = 512;

// Inside the fire macro area (offsets relative to the area).
constexpr int FireMacroCount = 10;
constexpr uint16_t MacroNameSize = 16;
constexpr uint16_t FireMacroBodySize = 32;
constexpr ImageArea FireMacroNames{0, FireMacroCount* MacroNameSize};
constexpr ImageArea FireMacroBodies{FireMacroNames.End(), FireMacroCount* FireMacroBodySize};
constexpr ImageArea FireMacroTail{FireMacroBodies.End(), 32};

// Inside the patch-code header (relative to the header).
constexpr uint16_t PatchHeaderFixedSize = 6; // 04 00 02 00 00 1A
constexpr uint16_t PatchChecksumHigh = 6;
constexpr uint16_t PatchChecksumLow = 7;
constexpr uint16_t PatchChecksumXor = 0x015A;

// Inside the identity block (relative to the block).
constexpr uint16_t IdentityManufacturer = 0;
constexpr uint16_t IdentityProduct = 1;
constexpr uint16_t IdentityFireKey1 = 2; // count index, then interval high, low
constexpr uint16_t IdentityFireKeyStride = 3;
constexpr uint16_t IdentityMemoryMarker = 11;
constexpr uint8_t MemoryMarkerI2C = 0xE0;
// A whole image of a mouse with an I2C memory, the only kind the program reads and
// writes whole, carries the marker in its identity block.
constexpr bool CarriesI2CMarker(const uint8_t* image) {
    return image[Identity.Offset + IdentityMemoryMarker] == MemoryMarkerI2C;
}

// Inside the vendor section.
constexpr uint16_t VendorUsbVendorId = 0;
constexpr uint16_t VendorUsbProductId = 2;
constexpr ImageArea VendorSensorRegisters{9, 33}; // LEDInit0/1 are its last two bytes
constexpr uint16_t VendorLedInit0 = 40;
constexpr uint16_t VendorBreathModes = 42;
constexpr ImageArea VendorCpiLevels{43, 5}; // the count, then the levels' CPI indexes
constexpr uint16_t VendorCpiLevelCount = VendorCpiLevels.Offset;  // levels in use minus 1
constexpr uint16_t VendorCpiIndexes = VendorCpiLevels.Offset + 1; // two 4-bit indexes a byte
constexpr ImageArea VendorBreathing{48, 9}; // four 16-bit bounds and times, the step time
constexpr uint16_t VendorStepTime = VendorBreathing.End() - 1;
constexpr ImageArea VendorLedColours{57, 30};
constexpr ImageArea VendorCpiColours{87, 24};
constexpr ImageArea VendorProductString{111, 16};
constexpr ImageArea VendorComboRecords{127, 36};
constexpr int ComboRecordCount = 9;

// Inside a profile section.
constexpr int ProfileKeyCount = 12;
constexpr uint16_t ButtonFunctionSize = 4;

// Inside the user section (live addresses are User.Offset plus these).
constexpr uint16_t UserProfileAndColour = 0; // profile in bits 3..0, its colour in 7..4
constexpr uint16_t UserCpiLevel = 2;
constexpr uint16_t UserButtonLedFlash = 3;
constexpr uint16_t UserGunBytes = 4; // three bytes the profile choice writes with it
constexpr uint16_t UserRecoilX = 7;  // ten signed bytes
constexpr uint16_t UserRecoilY = 17; // ten signed bytes

// Every checksummed section ends with its checksum byte.
constexpr uint16_t ChecksumIndex(ImageArea section) {
    return section.Length - 1;
}

// The PC macro library: 100 records of a name and a 256-byte body.
constexpr int PCMacroCount = 100;
constexpr uint16_t PCMacroBodySize = 256;
constexpr uint16_t PCMacroRecordSize = MacroNameSize + PCMacroBodySize;
constexpr size_t PCMacroLibrarySize = size_t{PCMacroCount} * PCMacroRecordSize;

static_assert(FireMacroTail.End() == FireMacroArea.Length);
static_assert(FireMacroArea.End() == ImageSize);
static_assert(Identity.End() == DeviceMacroArea.Offset);
static_assert(Unused.End() == Identity.Offset);
static_assert(OpaqueBlock.End() == Unused.Offset);
static_assert(Profile3.End() == OpaqueBlock.Offset);
static_assert(User.End() == LiveConfig.End());
static_assert(VendorComboRecords.End() == ChecksumIndex(Vendor));
static_assert(PCMacroLibrarySize == 27200);

} // namespace image

template <size_t N> using TBytes = std::array<uint8_t, N>;

using TDeviceImage = TBytes<image::ImageSize>;
using TVendorSection = TBytes<image::Vendor.Length>;
using TUserSection = TBytes<image::User.Length>;
using TProfileSection = TBytes<image::Profile1.Length>;
using TIdentityBlock = TBytes<image::Identity.Length>;
using TOpaqueBlock = TBytes<image::OpaqueBlock.Length>;
using TDeviceMacroArea = TBytes<image::DeviceMacroArea.Length>;
using TPatchCodeHeader = TBytes<image::PatchHeader.Length>;
using TPatchCode = TBytes<image::PatchCode.Length>;
using TFireMacroArea = TBytes<image::FireMacroArea.Length>;
using TImageHeader = TBytes<image::HeaderSize>;
// A macro name: eight UTF-16 code units, big-endian, zero padded.
using TMacroName = TBytes<image::MacroNameSize>;
using TFireMacroBody = TBytes<image::FireMacroBodySize>;
using TPCMacroBody = TBytes<image::PCMacroBodySize>;

// A name of plain ASCII characters (at most eight) in the stored form.
constexpr TMacroName AsciiMacroName(std::string_view text) {
    TMacroName name{};
    for (size_t i = 0; i < text.size() && i < name.size() / 2; ++i)
        name[2 * i + 1] = static_cast<uint8_t>(text[i]);
    return name;
}

// The working copies of the checksummed sections and of the identity block: the main
// window owns one set and every page edits and shows it.
struct TConfigCopies {
    TVendorSection VendorCopy{};
    TUserSection UserCopy{};
    TProfileSection Profile1Copy{};
    TProfileSection Profile2Copy{};
    TProfileSection Profile3Copy{};
    TIdentityBlock IdentityCopy{};
};

// ---- Program-wide image data ------------------------------------------------------
extern TDeviceImage LiveImage;
extern TOpaqueBlock OpaqueBlockCopy;
extern TDeviceMacroArea DeviceMacroAreaCopy;
extern TPatchCodeHeader PatchHeaderCopy;
extern TPatchCode PatchCodeCopy;
extern TFireMacroArea FireMacroAreaCopy;
extern std::array<TMacroName, image::FireMacroCount> FireMacroNames;
extern std::array<TFireMacroBody, image::FireMacroCount> FireMacroBodies;
// The three profile sections back to back, for one block write at the first of them.
extern TBytes<image::Profiles.Length> ProfileStaging;
extern TIdentityBlock IdentityStaging;
// Reply of the live user-section read.
extern TUserSection UserSectionReply;
extern TDeviceImage DefaultImage1;
extern TDeviceImage DefaultImage2;
extern TDeviceImage DefaultImage3;
extern TImageHeader DefaultImageHeader;
// "I2C" or "Flash", from the marker byte of DefaultImageHeader; set once at start-up.
extern std::string MemoryType;
extern std::array<TMacroName, image::PCMacroCount> PCMacroNameTable;
extern std::array<TPCMacroBody, image::PCMacroCount> PCMacroBodyTable;

} // namespace device
