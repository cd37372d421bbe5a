// The split of a 2048-byte image read from the mouse into the working copies, on any
// image and any LED type, interface and package. After the split every checksummed copy
// holds its checksum; a section whose checksum held is taken unchanged; the live image
// keeps every byte; the other blocks and macro areas are the image's bytes; the window
// is asked to refresh the device macros once the macro area is copied, and the fire
// macro names once the fire macros are.
#include "FuzzCheck.h"
#include "device/DefaultSetting.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

using namespace device;

namespace {

template <size_t N>
bool SameAsImage(const TBytes<N>& copy, const TDeviceImage& image, ImageArea area) {
    return N == area.Length && std::equal(copy.begin(), copy.end(), image.begin() + area.Offset);
}

template <size_t N> bool HeldInImage(const TDeviceImage& image, ImageArea area) {
    TBytes<N> section;
    std::copy_n(image.begin() + area.Offset, N, section.begin());
    return ChecksumHolds(section);
}

struct Host : SplitHost {
    const TDeviceImage* image = nullptr;
    std::string calls;
    void ReadAndRefreshDeviceMacros() override {
        calls += 'M';
        FUZZ_CHECK(SameAsImage(DeviceMacroAreaCopy, *image, image::DeviceMacroArea));
    }
    void PatchHeaderCopied() override {
        calls += 'P';
        FUZZ_CHECK(SameAsImage(PatchHeaderCopy, *image, image::PatchHeader));
    }
    void RefreshFireMacroName() override {
        calls += 'F';
        for (int n = 0; n < image::FireMacroCount; ++n) {
            FUZZ_CHECK(std::equal(FireMacroNames[n].begin(), FireMacroNames[n].end(),
                                  image->begin() + image::FireMacroArea.Offset +
                                      image::FireMacroNames.Offset + image::MacroNameSize * n));
            FUZZ_CHECK(std::equal(FireMacroBodies[n].begin(), FireMacroBodies[n].end(),
                                  image->begin() + image::FireMacroArea.Offset +
                                      image::FireMacroBodies.Offset +
                                      image::FireMacroBodySize * n));
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    LoadDefaultImageHeader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Three bytes choose the window's state, the rest is the image (FF where it ends).
    if (size < 3) return 0;
    static const char* const ledTypes[] = {"RGB", "Sync", "NT", "other"};
    DefaultsContext context;
    context.LedType = ledTypes[data[0] % 4];
    context.DetectedInterface = data[1] & 1 ? "I2C" : "";
    context.PackageItemIndex = static_cast<int>(data[2] % 8) - 1;
    TDeviceImage image;
    image.fill(0xFF);
    std::memcpy(image.data(), data + 3, std::min(size - 3, image.size()));
    LiveImage = image;

    TConfigCopies copies;
    Host host;
    host.image = &image;
    SplitLiveImage(copies, context, host);

    FUZZ_CHECK(LiveImage == image);
    FUZZ_CHECK(host.calls == "MPF");
    FUZZ_CHECK(ChecksumHolds(copies.VendorCopy));
    FUZZ_CHECK(ChecksumHolds(copies.UserCopy));
    FUZZ_CHECK(ChecksumHolds(copies.Profile1Copy));
    FUZZ_CHECK(ChecksumHolds(copies.Profile2Copy));
    FUZZ_CHECK(ChecksumHolds(copies.Profile3Copy));
    if (HeldInImage<image::Vendor.Length>(image, image::Vendor))
        FUZZ_CHECK(SameAsImage(copies.VendorCopy, image, image::Vendor));
    if (HeldInImage<image::User.Length>(image, image::User))
        FUZZ_CHECK(SameAsImage(copies.UserCopy, image, image::User));
    if (HeldInImage<image::Profile1.Length>(image, image::Profile1))
        FUZZ_CHECK(SameAsImage(copies.Profile1Copy, image, image::Profile1));
    if (HeldInImage<image::Profile2.Length>(image, image::Profile2))
        FUZZ_CHECK(SameAsImage(copies.Profile2Copy, image, image::Profile2));
    if (HeldInImage<image::Profile3.Length>(image, image::Profile3))
        FUZZ_CHECK(SameAsImage(copies.Profile3Copy, image, image::Profile3));
    FUZZ_CHECK(SameAsImage(copies.IdentityCopy, image, image::Identity));
    FUZZ_CHECK(SameAsImage(OpaqueBlockCopy, image, image::OpaqueBlock));
    FUZZ_CHECK(SameAsImage(PatchCodeCopy, image, image::PatchCode));
    FUZZ_CHECK(SameAsImage(FireMacroAreaCopy, image, image::FireMacroArea));
    return 0;
}
