#include "device/DeviceImage.h"

namespace device {

TDeviceImage LiveImage{};
TOpaqueBlock OpaqueBlockCopy{};
TDeviceMacroArea DeviceMacroAreaCopy{};
TPatchCodeHeader PatchHeaderCopy{};
TPatchCode PatchCodeCopy{};
TFireMacroArea FireMacroAreaCopy{};
std::array<TMacroName, image::FireMacroCount> FireMacroNames{};
std::array<TFireMacroBody, image::FireMacroCount> FireMacroBodies{};
TBytes<image::Profiles.Length> ProfileStaging{};
TIdentityBlock IdentityStaging{};
TUserSection UserSectionReply{};
TDeviceImage DefaultImage1{};
TDeviceImage DefaultImage2{};
TDeviceImage DefaultImage3{};
TImageHeader DefaultImageHeader{};
std::string MemoryType;
std::array<TMacroName, image::PCMacroCount> PCMacroNameTable{};
std::array<TPCMacroBody, image::PCMacroCount> PCMacroBodyTable{};

} // namespace device
