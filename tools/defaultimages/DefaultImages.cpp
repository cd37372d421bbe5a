// Writes the program's built-in data: the three default configuration images
// (VTRM408xData_Cfg1..3.bin, 2048 bytes each) and the default PC macro library
// (PCMacroData.bin, 27,200 bytes). Usage: vtrm_defaultimages <output folder>
//
// Every field is written below as the hexadecimal bytes the mouse keeps, in image order,
// so each can be checked at a glance. The checksums are computed, never written by hand.
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using device::TDeviceImage;
namespace image = device::image;

// Writes "12 34 AB" style bytes at `at`; returns the offset just past them.
size_t Hex(TDeviceImage& img, size_t at, std::string_view text) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        throw std::runtime_error("bad hex digit");
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (at >= img.size() || i + 1 >= text.size()) throw std::runtime_error("hex overflow");
        img[at++] = static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1]));
        i += 2;
    }
    return at;
}

void Fill(TDeviceImage& img, device::ImageArea area, uint8_t value) {
    std::fill_n(img.begin() + area.Offset, area.Length, value);
}

void StampSection(TDeviceImage& img, device::ImageArea section) {
    const size_t last = section.End() - 1;
    img[last] = device::SectionChecksum(img.data() + section.Offset, section.Length - 1);
}

// ---- Vendor section (0..163) --------------------------------------------------------
void VendorSection(TDeviceImage& img, int number) {
    size_t at = 0;
    // USB vendor id 1209 (the shared vendor id of pid.codes), product id 08B9.
    at = Hex(img, at, "12 09  08 B9");
    // 4: controller type 80 (bits 7-6 = 10), 1000 Hz (bits 5-4 = 11), sensor enhance on.
    at = Hex(img, at, "BF");
    // 5..8: LED package 1, keyboard type, CPI options; LED controls; flash options.
    at = Hex(img, at, "FF 3F 7F AF");
    // 9..39: the 31 sensor registers, the same defaults the program restores.
    for (uint8_t reg : device::SensorRegisterDefaults)
        img[at++] = reg;
    at = Hex(img, at, "1C 1A"); // 40..41 LEDInit0, LEDInit1
    at = Hex(img, at, "3F");    // 42: breathing modes 0..5 enabled
    // 43..47: four CPI levels (levels 1..8 use CPI indices 5 8 9 B 8 9 A B).
    at = Hex(img, at, "03 85 B9 98 BA");
    // 48..56: breathing Lower 0100, Upper 8000, LowerTime 0064, UpperTime 012C, step 0A.
    at = Hex(img, at, "01 00 80 00 00 64 01 2C 0A");
    // 57..86: ten LED colours, R G B.
    at = Hex(img, at,
             "FF 00 00  00 FF 00  00 00 FF  FF FF 00  00 FF FF "
             "FF 00 FF  FF 80 00  80 00 FF  FF FF FF  00 80 FF");
    // 87..110: eight CPI-level colours, R G B.
    at = Hex(img, at,
             "FF 00 00  FF 80 00  FF FF 00  00 FF 00  00 FF FF  00 00 FF  80 00 FF  FF 00 FF");
    // 111..126: USB product string "VTRM408x Mouse", NUL padded to 16 bytes.
    at = Hex(img, at, "56 54 52 4D 34 30 38 78 20 4D 6F 75 73 65 00 00");
    // 127..162: combination keys 1..9.
    if (number == 3)
        at =
            Hex(img, at,
                "00000000 07D1F020 00000000 00000000 00000000 00000000 00000000 00000000 00000000");
    else
        at =
            Hex(img, at,
                "00000000 00000000 08010000 07D1F020 00000000 00000000 00000000 00000000 00000000");
    if (at != image::ChecksumIndex(image::Vendor)) throw std::runtime_error("vendor layout");
    StampSection(img, image::Vendor); // 163
}

// ---- User section (164..191) --------------------------------------------------------
void UserSection(TDeviceImage& img, int number) {
    size_t at = image::User.Offset;
    // Profile 2 current with colour F; RGB LED mode 4; CPI level 0; flash 04; game bytes.
    at = Hex(img, at, "F1 04 00 04 0F 00 20");
    at = Hex(img, at, "00 00 00 00 00 00 00 00 00 00"); // recoil X 1..10
    if (number == 3)
        at = Hex(img, at, "00 00 00 00 00 00 00 00 00 00"); // recoil Y 1..10
    else
        at = Hex(img, at, "00 00 00 00 00 F7 FE F9 03 00"); // recoil Y 6..9 = -9 -2 -7 3
    if (at != image::User.End() - 1) throw std::runtime_error("user layout");
    StampSection(img, image::User); // 191
}

// ---- Profile sections (192..338), keys 1..12 ----------------------------------------
void ProfileSections(TDeviceImage& img, int number) {
    const char* keys[3];
    // Image 1 and 2, profile 1: left, media keys, right, ..., CPI key.
    const char* p1 = "01010000 0300B600 03022300 01020000 0300B500 0300EA00 0300CD00 09000008 "
                     "00000000 00000000 00000000 00000000";
    const char* p3 = "01010000 01080002 0617003C 01020000 01100000 02080700 01040000 09000008 "
                     "08000000 0E000000 0300E900 0300EA00";
    if (number == 1) {
        keys[0] = p1;
        keys[1] = "01010000 01080002 0692003C 01020000 01100000 09000008 01040000 09000008 "
                  "00000000 00000000 00000000 00000000";
        keys[2] = p3;
    } else if (number == 2) {
        keys[0] = p1;
        keys[1] = "1006A0FF 0B170308 0A000000 01020000 0B150208 09000008 01040000 09000008 "
                  "00000000 00000000 00000000 00000000";
        keys[2] = p3;
    } else {
        keys[0] = "01010000 01080002 0692003C 01020000 01100000 0300EA00 01040000 09000000 "
                  "00000000 00000000 00000000 00000000";
        keys[1] = "1006A0FF 0B170302 09000000 01020000 0B150202 09000000 01040000 0A000000 "
                  "00000000 00000000 00000000 00000000";
        keys[2] = "01010000 01080002 0617003C 01020000 01100000 02080700 01040000 09000000 "
                  "08000000 0E000000 0300E900 0300EA00";
    }
    const device::ImageArea sections[3] = {image::Profile1, image::Profile2, image::Profile3};
    for (int p = 0; p < 3; ++p) {
        if (Hex(img, sections[p].Offset, keys[p]) != size_t{sections[p].End()} - 1)
            throw std::runtime_error("profile layout");
        StampSection(img, sections[p]); // byte 48 of the section
    }
}

// ---- Patch code (1008..1535) ---------------------------------------------------------
// The program carries the code without reading it; ours is filler whose length and
// checksum are those the header states. Its bytes come from a fixed pseudo-random
// sequence (never FF, so the code's end is plain to see), then are nudged, spread over
// the whole code, until the sum over all 512 bytes gives the checksum.
void PatchCode(TDeviceImage& img, size_t codeLength, uint16_t checksum) {
    const size_t code = image::PatchCode.Offset;
    Fill(img, image::PatchCode, 0xFF);
    uint32_t seed = 0x4B1D0000u + static_cast<uint32_t>(codeLength);
    for (size_t i = 0; i < codeLength; ++i) {
        seed = seed * 1103515245u + 12345u;
        img[code + i] = static_cast<uint8_t>((seed >> 16) % 0xFF); // 00..FE
    }
    const uint16_t want = checksum ^ image::PatchChecksumXor;
    auto missing = [&] {
        const uint16_t sum =
            static_cast<uint16_t>(device::PatchCodeChecksum(&img[code]) ^ image::PatchChecksumXor);
        return static_cast<int>(static_cast<int16_t>(static_cast<uint16_t>(want - sum)));
    };
    // Share the difference out evenly, then settle the rest from the end.
    const int total = missing();
    const int length = static_cast<int>(codeLength);
    for (int i = 0; i < length; ++i) {
        const int share = total * (i + 1) / length - total * i / length;
        img[code + i] = static_cast<uint8_t>(std::clamp(img[code + i] + share, 0x00, 0xFE));
    }
    for (size_t i = codeLength; i-- > 0 && missing() != 0;)
        img[code + i] = static_cast<uint8_t>(std::clamp(img[code + i] + missing(), 0x00, 0xFE));
    if (device::PatchCodeChecksum(&img[code]) != checksum)
        throw std::runtime_error("patch checksum cannot be reached");
    // Header: fixed bytes, checksum high and low, then 8 bytes FF.
    size_t at = Hex(img, image::PatchHeader.Offset, "04 00 02 00 00 1A");
    img[at++] = static_cast<uint8_t>(checksum >> 8);
    img[at++] = static_cast<uint8_t>(checksum & 0xFF);
    std::fill(img.begin() + at, img.begin() + image::PatchHeader.End(), 0xFF);
}

// ---- Fire macro area (1536..2047) -----------------------------------------------------
// Bodies: loop start, button down, delay, move down, delay, button up, delay, loop end.
constexpr const char* FireBody17 = "FD 00 A1 FE 00 01 04 00 06 FE 00 01 21 FE 00 01 FC";
constexpr const char* FireBody17Light = "FD 00 A1 FE 00 01 04 00 03 FE 00 01 21 FE 00 01 FC";
// The same with a second quick click before the loop ends.
constexpr const char* FireBody19 = "FD 00 A1 FE 00 01 04 00 06 FE 00 01 21 FE 00 01 A1 21 FC";

void FireMacros(TDeviceImage& img, int number) {
    const size_t area = image::FireMacroArea.Offset;
    for (int n = 0; n < image::FireMacroCount; ++n) {
        const device::TMacroName name = device::AsciiMacroName("Macro" + std::to_string(n + 1));
        std::copy(name.begin(), name.end(),
                  img.begin() + area + image::FireMacroNames.Offset + image::MacroNameSize * n);
        const size_t body = area + image::FireMacroBodies.Offset + image::FireMacroBodySize * n;
        std::fill_n(img.begin() + body, image::FireMacroBodySize, 0);
        const char* opcodes = number != 3 ? FireBody17 : n < 5 ? FireBody17Light : FireBody19;
        Hex(img, body, opcodes);
    }
    std::fill_n(img.begin() + area + image::FireMacroTail.Offset, image::FireMacroTail.Length,
                0xFF);
}

TDeviceImage BuildImage(int number) {
    TDeviceImage img{};
    VendorSection(img, number);
    UserSection(img, number);
    ProfileSections(img, number);
    Fill(img, image::OpaqueBlock, 0xFF);
    Fill(img, image::Unused, 0xFF);
    // Identity: manufacturer and product FF; fire keys 3 shots / 60, 5 / 60, 8 / 60;
    // memory marker E0 (I2C).
    Hex(img, image::Identity.Offset, "FF FF 02 00 3C 04 00 3C 07 00 3C E0");
    Fill(img, image::DeviceMacroArea, 0x00);
    if (number == 3)
        PatchCode(img, 406, 0x261A);
    else
        PatchCode(img, 460, 0x07A2);
    FireMacros(img, number);
    return img;
}

// Every byte zero but one FF in the body of record 98, at body offset 225.
std::vector<uint8_t> BuildPCMacroLibrary() {
    std::vector<uint8_t> bytes(image::PCMacroLibrarySize, 0);
    bytes[size_t{image::PCMacroRecordSize} * 98 + image::MacroNameSize + 225] = 0xFF;
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vtrm_defaultimages <output folder>\n");
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        for (int number = 1; number <= 3; ++number) {
            const TDeviceImage img = BuildImage(number);
            WriteFile(folder / ("VTRM408xData_Cfg" + std::to_string(number) + ".bin"), img.data(),
                      img.size());
        }
        const std::vector<uint8_t> library = BuildPCMacroLibrary();
        WriteFile(folder / "PCMacroData.bin", library.data(), library.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vtrm_defaultimages: %s\n", e.what());
        return 1;
    }
    return 0;
}
