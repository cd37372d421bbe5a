#pragma once
// Unit DefaultSetting: the section checksum, the default contents of every section, the
// built-in default images and PC macro library, and the split of the live image into the
// working copies. A section whose checksum fails is repaired in its copy only; the live
// image keeps its bytes so that a following whole-image write sends them unchanged.
#include "device/DeviceImage.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// What the default routines read of the main window at the moment of the call.
struct DefaultsContext {
    std::string LedType;           // "RGB", "Sync", "NT"; anything else behaves as "RGB"
    std::string DetectedInterface; // "I2C" or empty
    int PackageItemIndex = -1;     // item of cb_Package; -1 when none is selected
};

// The main-window operations that the split runs after the macro areas are copied.
class SplitHost {
public:
    virtual ~SplitHost() = default;
    virtual void ReadAndRefreshDeviceMacros() = 0;
    // Right after the patch-code header is copied; the read from the mouse shows its
    // checksum here, the other splits do nothing.
    virtual void PatchHeaderCopied() {}
    virtual void RefreshFireMacroName() = 0;
};

// ---- Checksum ---------------------------------------------------------------------
// (Sum of the bytes before the checksum byte, modulo 256) XOR 5A.
constexpr uint8_t SectionChecksum(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<uint8_t>(sum + bytes[i]);
    return static_cast<uint8_t>(sum ^ 0x5A);
}
template <size_t N> constexpr bool ChecksumHolds(const TBytes<N>& section) {
    return section[N - 1] == SectionChecksum(section.data(), N - 1);
}
void StampVendorChecksum(TVendorSection& section);
void StampUserChecksum(TUserSection& section);
void StampProfileChecksum(TProfileSection& section);

// Sum of the 512 code bytes XOR 015A, as the patch-code header carries it.
constexpr uint16_t PatchCodeChecksum(const uint8_t* code) {
    uint16_t sum = 0;
    for (size_t i = 0; i < image::PatchCode.Length; ++i)
        sum = static_cast<uint16_t>(sum + code[i]);
    return static_cast<uint16_t>(sum ^ image::PatchChecksumXor);
}

// Register defaults of vendor bytes 9..39 (LEDInit0/1 at 40..41 go by LED package).
inline constexpr std::array<uint8_t, 31> SensorRegisterDefaults = {
    0x20, 0x35, 0x29, 0x10, 0x30, 0x1A, 0x00, 0x00, 0x45, 0x02, 0xEF, //  9..19
    0x10, 0xEF, 0x10, 0xEF, 0x10, 0xFF, 0x10, 0x50, 0x03, 0x01, 0x02, // 20..30
    0x48, 0x96, 0xFA, 0x20, 0x1E, 0x02, 0x01, 0x20, 0x00,             // 31..39
};

// ---- Default contents -------------------------------------------------------------
// Each fills the defaults into the copy in place, leaving the bytes it does not name as
// they were; the caller stamps the checksum afterwards. Each returns true.
bool DefaultVendorSection(TVendorSection& section, const DefaultsContext& context);
bool DefaultUserSection(TUserSection& section, const DefaultsContext& context);
bool DefaultProfile1Section(TProfileSection& section, const DefaultsContext& context);
bool DefaultProfile2Section(TProfileSection& section, const DefaultsContext& context);
bool DefaultProfile3Section(TProfileSection& section, const DefaultsContext& context);
bool DefaultIdentityBlock(TIdentityBlock& block, const DefaultsContext& context);
// Names "Macro1".."Macro10" and the first 24 bytes of every body zero, in FireMacroNames
// and FireMacroBodies.
void DefaultFireMacros();

// ---- Section checks ---------------------------------------------------------------
// A copy whose checksum fails gets its section's defaults over it and a fresh checksum.
void CheckVendorSection(TVendorSection& section, const DefaultsContext& context);
void CheckUserSection(TUserSection& section, const DefaultsContext& context);
void CheckProfile1Section(TProfileSection& section, const DefaultsContext& context);
void CheckProfile2Section(TProfileSection& section, const DefaultsContext& context);
void CheckProfile3Section(TProfileSection& section, const DefaultsContext& context);

// ---- Built-in data ----------------------------------------------------------------
inline constexpr std::string_view DefaultImageResources[3] = {
    "VTRM408xData_Cfg1", "VTRM408xData_Cfg2", "VTRM408xData_Cfg3"};
inline constexpr std::string_view PCMacroResource = "PCMacroData";

// The bytes of an embedded data resource; raises EResNotFound "Resource <name> not found".
std::vector<uint8_t> OpenResourceBytes(std::string_view name);
// Bytes 0..511 of the first default image into DefaultImageHeader.
void LoadDefaultImageHeader();
// "I2C" when the header's memory marker is E0, else "Flash".
std::string MemoryTypeOf(const TImageHeader& header);
// Sets MemoryType from DefaultImageHeader.
void DeriveMemoryType();
// Opens the three default images in turn; reads them only while MemoryType is "I2C".
void LoadDefaultImages();
// The default PC macro library into PCMacroNameTable and PCMacroBodyTable.
void LoadDefaultPCMacros();

// ---- Split ------------------------------------------------------------------------
// LiveImage into the copies, each checksummed section checked, the macro areas handed on.
void SplitLiveImage(TConfigCopies& copies, const DefaultsContext& context, SplitHost& host);
// The opposite for what a default rebuild changes: the working copies and the fire macro
// names and bodies into `target`; every other byte keeps its value.
void JoinCopiesIntoImage(const TConfigCopies& copies, TDeviceImage& target);

} // namespace device
