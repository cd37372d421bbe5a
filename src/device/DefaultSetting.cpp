#include "device/DefaultSetting.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace device {
namespace {

enum class LedKind { Rgb, Sync, Nt };

// Anything but the three named types (an empty one before the first refresh included)
// gets the RGB defaults.
LedKind KindOf(const std::string& ledType) {
    if (ledType == "Sync") return LedKind::Sync;
    if (ledType == "NT") return LedKind::Nt;
    return LedKind::Rgb;
}

bool IsI2C(const DefaultsContext& context) {
    return context.DetectedInterface == "I2C";
}

template <size_t N> void Put(TBytes<N>& section, size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), section.begin() + at);
}

// The default routines put this into the checksum byte; the stamp that follows replaces it.
constexpr uint8_t UnstampedChecksum = 0xD2;

// Ten LED colours and eight CPI-level colours, R G B each. The RGB and smart LED types
// share them; the sync type keeps whatever colours the section had.
constexpr uint8_t DefaultLedColours[30] = {
    0xFF, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
    0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,
};
constexpr uint8_t DefaultCpiColours[24] = {
    0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00,
    0xFF, 0x00, 0x80, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00, 0xFF,
};
constexpr char DefaultProductString[] = "HID Gaming mouse"; // exactly 16, no terminator kept
static_assert(sizeof DefaultProductString - 1 == image::VendorProductString.Length);

// Keys 1..12: left, backward, fire key, right, forward, Win+D, middle, CPI loop, LED
// switch, off, off, off.
constexpr uint8_t DefaultKeyRecords[48] = {
    0x01, 0x01, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x06, 0x12, 0x00, 0x10, 0x01, 0x02, 0x00, 0x00,
    0x01, 0x10, 0x00, 0x00, 0x02, 0x08, 0x07, 0x00, 0x01, 0x04, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00,
    0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

// Each profile has a key table per LED package; all six hold the same records today, but
// the choice stays by profile and package so that a package can get keys of its own.
const uint8_t* DefaultKeyTable(int /*profile*/, int packageItem) {
    if (packageItem == 0 || packageItem == 1) return DefaultKeyRecords;
    return nullptr;
}

bool DefaultProfileSection(int profile, TProfileSection& section, const DefaultsContext& context) {
    if (const uint8_t* keys = DefaultKeyTable(profile, context.PackageItemIndex))
        std::copy(keys, keys + sizeof DefaultKeyRecords, section.begin());
    return true;
}

// Reads as much of a resource as there is, up to the destination's size.
template <size_t N> void ReadResourceInto(std::string_view name, TBytes<N>& destination) {
    std::vector<uint8_t> bytes = OpenResourceBytes(name);
    std::copy_n(bytes.begin(), std::min(bytes.size(), N), destination.begin());
}

template <size_t N> void CopyFromImage(TBytes<N>& destination, ImageArea area) {
    std::copy_n(LiveImage.begin() + area.Offset, area.Length, destination.begin());
}

} // namespace

// ---- Checksum ---------------------------------------------------------------------

void StampVendorChecksum(TVendorSection& section) {
    section.back() = SectionChecksum(section.data(), section.size() - 1);
}

void StampUserChecksum(TUserSection& section) {
    section.back() = SectionChecksum(section.data(), section.size() - 1);
}

void StampProfileChecksum(TProfileSection& section) {
    section.back() = SectionChecksum(section.data(), section.size() - 1);
}

// ---- Default contents -------------------------------------------------------------

bool DefaultVendorSection(TVendorSection& s, const DefaultsContext& context) {
    const LedKind kind = KindOf(context.LedType);
    s[0] = DefaultImageHeader[0];
    s[1] = DefaultImageHeader[1];
    Put(s, 2, {0x08, 0xB8});
    if (IsI2C(context)) s[4] = 0xBF;
    switch (kind) {
    case LedKind::Rgb:
        Put(s, 5, {0xFF, 0x7F, 0x7F});
        break;
    case LedKind::Sync:
        Put(s, 5, {0x3F, 0x7F, 0xBF});
        break;
    case LedKind::Nt:
        Put(s, 5, {0x3F, 0x7F, 0xCF});
        break;
    }
    s[8] = 0xAF;
    std::copy(SensorRegisterDefaults.begin(), SensorRegisterDefaults.end(),
              s.begin() + image::VendorSensorRegisters.Offset);
    if (context.PackageItemIndex == 0) Put(s, image::VendorLedInit0, {0x06, 0x87});
    if (context.PackageItemIndex == 1) Put(s, image::VendorLedInit0, {0x10, 0xE0});
    switch (kind) {
    case LedKind::Rgb:
        s[image::VendorBreathModes] = 0x3F;
        break;
    case LedKind::Sync:
        s[image::VendorBreathModes] = 0x07;
        break;
    case LedKind::Nt:
        s[image::VendorBreathModes] = 0x37;
        break;
    }
    Put(s, image::VendorCpiLevels.Offset, {0x03, 0x64, 0x98, 0x00, 0x00});
    switch (kind) {
    case LedKind::Rgb:
        Put(s, image::VendorBreathing.Offset,
            {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x08});
        break;
    case LedKind::Nt:
        Put(s, image::VendorBreathing.Offset,
            {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x00, 0x64, 0x08});
        break;
    case LedKind::Sync:
        Put(s, image::VendorBreathing.Offset,
            {0x00, 0x00, 0x00, 0xFF, 0x00, 0x64, 0x01, 0x2C, 0x0A});
        break;
    }
    if (kind != LedKind::Sync) {
        std::copy(std::begin(DefaultLedColours), std::end(DefaultLedColours),
                  s.begin() + image::VendorLedColours.Offset);
        std::copy(std::begin(DefaultCpiColours), std::end(DefaultCpiColours),
                  s.begin() + image::VendorCpiColours.Offset);
    }
    std::memcpy(s.data() + image::VendorProductString.Offset, DefaultProductString,
                image::VendorProductString.Length);
    std::fill_n(s.begin() + image::VendorComboRecords.Offset, image::VendorComboRecords.Length, 0);
    Put(s, image::VendorComboRecords.Offset + 2 * image::ButtonFunctionSize,
        {0x08, 0x01, 0x00, 0x00});
    s[image::ChecksumIndex(image::Vendor)] = UnstampedChecksum;
    return true;
}

bool DefaultUserSection(TUserSection& s, const DefaultsContext& context) {
    s[0] = 0x00;
    switch (KindOf(context.LedType)) {
    case LedKind::Rgb:
        s[1] = 0x05;
        break;
    case LedKind::Sync:
        s[1] = 0x41;
        break;
    case LedKind::Nt:
        s[1] = 0xF5;
        break;
    }
    s[2] = 0x01;
    s[3] = 0x01;
    std::fill(s.begin() + 4, s.end() - 1, 0);
    s[image::ChecksumIndex(image::User)] = UnstampedChecksum;
    return true;
}

bool DefaultProfile1Section(TProfileSection& section, const DefaultsContext& context) {
    return DefaultProfileSection(1, section, context);
}

bool DefaultProfile2Section(TProfileSection& section, const DefaultsContext& context) {
    return DefaultProfileSection(2, section, context);
}

bool DefaultProfile3Section(TProfileSection& section, const DefaultsContext& context) {
    return DefaultProfileSection(3, section, context);
}

bool DefaultIdentityBlock(TIdentityBlock& b, const DefaultsContext& context) {
    // Manufacturer and product FF; fire keys 2 shots every 60, 4 every 120, 8 every 200.
    Put(b, 0, {0xFF, 0xFF, 0x01, 0x00, 0x3C, 0x03, 0x00, 0x78, 0x07, 0x00, 0xC8});
    if (IsI2C(context)) b[image::IdentityMemoryMarker] = image::MemoryMarkerI2C;
    return true;
}

void DefaultFireMacros() {
    for (int n = 0; n < image::FireMacroCount; ++n) {
        FireMacroNames[n] = AsciiMacroName("Macro" + std::to_string(n + 1));
        // The last 8 bytes of each body are not the defaults' business.
        std::fill_n(FireMacroBodies[n].begin(), 24, 0);
    }
}

// ---- Section checks ---------------------------------------------------------------

void CheckVendorSection(TVendorSection& section, const DefaultsContext& context) {
    if (ChecksumHolds(section)) return;
    DefaultVendorSection(section, context);
    StampVendorChecksum(section);
}

void CheckUserSection(TUserSection& section, const DefaultsContext& context) {
    if (ChecksumHolds(section)) return;
    DefaultUserSection(section, context);
    StampUserChecksum(section);
}

void CheckProfile1Section(TProfileSection& section, const DefaultsContext& context) {
    if (ChecksumHolds(section)) return;
    DefaultProfile1Section(section, context);
    StampProfileChecksum(section);
}

void CheckProfile2Section(TProfileSection& section, const DefaultsContext& context) {
    if (ChecksumHolds(section)) return;
    DefaultProfile2Section(section, context);
    StampProfileChecksum(section);
}

void CheckProfile3Section(TProfileSection& section, const DefaultsContext& context) {
    if (ChecksumHolds(section)) return;
    DefaultProfile3Section(section, context);
    StampProfileChecksum(section);
}

// ---- Built-in data ----------------------------------------------------------------

std::vector<uint8_t> OpenResourceBytes(std::string_view name) {
    platform::rtl::TResourceStream stream{std::string(name), "RC_DATA"};
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
    stream.SetPosition(0);
    stream.Read(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

void LoadDefaultImageHeader() {
    ReadResourceInto(DefaultImageResources[0], DefaultImageHeader);
}

std::string MemoryTypeOf(const TImageHeader& header) {
    const size_t marker = image::Identity.Offset + image::IdentityMemoryMarker;
    return header[marker] == image::MemoryMarkerI2C ? "I2C" : "Flash";
}

void DeriveMemoryType() {
    MemoryType = MemoryTypeOf(DefaultImageHeader);
}

void LoadDefaultImages() {
    TDeviceImage* destinations[3] = {&DefaultImage1, &DefaultImage2, &DefaultImage3};
    for (int i = 0; i < 3; ++i) {
        // Opened even for "Flash", so that a missing image is reported all the same.
        std::vector<uint8_t> bytes = OpenResourceBytes(DefaultImageResources[i]);
        if (MemoryType != "I2C") continue;
        std::copy_n(bytes.begin(), std::min(bytes.size(), destinations[i]->size()),
                    destinations[i]->begin());
    }
}

void LoadDefaultPCMacros() {
    const std::vector<uint8_t> bytes = OpenResourceBytes(PCMacroResource);
    for (int i = 0; i < image::PCMacroCount; ++i) {
        const size_t at = size_t{image::PCMacroRecordSize} * i;
        auto part = [&](size_t from, uint8_t* to, size_t count) {
            if (from >= bytes.size()) return;
            std::copy_n(bytes.begin() + from, std::min(count, bytes.size() - from), to);
        };
        part(at, PCMacroNameTable[i].data(), image::MacroNameSize);
        part(at + image::MacroNameSize, PCMacroBodyTable[i].data(), image::PCMacroBodySize);
    }
}

// ---- Split ------------------------------------------------------------------------

void SplitLiveImage(TConfigCopies& copies, const DefaultsContext& context, SplitHost& host) {
    CopyFromImage(copies.VendorCopy, image::Vendor);
    CheckVendorSection(copies.VendorCopy, context);
    CopyFromImage(copies.UserCopy, image::User);
    CheckUserSection(copies.UserCopy, context);
    CopyFromImage(copies.Profile1Copy, image::Profile1);
    CheckProfile1Section(copies.Profile1Copy, context);
    CopyFromImage(copies.Profile2Copy, image::Profile2);
    CheckProfile2Section(copies.Profile2Copy, context);
    CopyFromImage(copies.Profile3Copy, image::Profile3);
    CheckProfile3Section(copies.Profile3Copy, context);
    CopyFromImage(OpaqueBlockCopy, image::OpaqueBlock);
    CopyFromImage(copies.IdentityCopy, image::Identity);
    CopyFromImage(DeviceMacroAreaCopy, image::DeviceMacroArea);
    host.ReadAndRefreshDeviceMacros();
    CopyFromImage(PatchHeaderCopy, image::PatchHeader);
    host.PatchHeaderCopied();
    CopyFromImage(PatchCodeCopy, image::PatchCode);
    CopyFromImage(FireMacroAreaCopy, image::FireMacroArea);
    for (int n = 0; n < image::FireMacroCount; ++n) {
        std::copy_n(FireMacroAreaCopy.begin() + image::FireMacroNames.Offset +
                        image::MacroNameSize * n,
                    image::MacroNameSize, FireMacroNames[n].begin());
        std::copy_n(FireMacroAreaCopy.begin() + image::FireMacroBodies.Offset +
                        image::FireMacroBodySize * n,
                    image::FireMacroBodySize, FireMacroBodies[n].begin());
    }
    host.RefreshFireMacroName();
}

void JoinCopiesIntoImage(const TConfigCopies& copies, TDeviceImage& target) {
    auto put = [&target](ImageArea area, const uint8_t* bytes) {
        std::copy_n(bytes, area.Length, target.begin() + area.Offset);
    };
    put(image::Vendor, copies.VendorCopy.data());
    put(image::User, copies.UserCopy.data());
    put(image::Profile1, copies.Profile1Copy.data());
    put(image::Profile2, copies.Profile2Copy.data());
    put(image::Profile3, copies.Profile3Copy.data());
    put(image::Identity, copies.IdentityCopy.data());
    for (int n = 0; n < image::FireMacroCount; ++n) {
        put({static_cast<uint16_t>(image::FireMacroArea.Offset + image::FireMacroNames.Offset +
                                   image::MacroNameSize * n),
             image::MacroNameSize},
            FireMacroNames[n].data());
        put({static_cast<uint16_t>(image::FireMacroArea.Offset + image::FireMacroBodies.Offset +
                                   image::FireMacroBodySize * n),
             image::FireMacroBodySize},
            FireMacroBodies[n].data());
    }
}

} // namespace device
