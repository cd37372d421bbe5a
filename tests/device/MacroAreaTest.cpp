// The device macro area and the fire-macro names as the lists read them, well-formed and
// full of garbage (the sanitizer build runs these too).
#include "ImageTestBytes.h"
#include "device/DeviceMacroArea.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace device;

// Appends a macro (name, body bytes, closing 00) at `at`; returns the offset after it.
size_t AddMacro(TDeviceMacroArea& area, size_t at, const std::string& name,
                const std::vector<uint8_t>& body) {
    const TMacroName stored = AsciiMacroName(name);
    std::copy(stored.begin(), stored.end(), area.begin() + at);
    at += 16;
    for (uint8_t b : body)
        area[at++] = b;
    area[at++] = 0x00;
    return at;
}

std::vector<std::string> Texts(const TDeviceMacroList& list) {
    std::vector<std::string> texts;
    for (const TMacroName& name : list.Names)
        texts.push_back(MacroNameToText(name));
    return texts;
}

TEST(DeviceMacroArea, PackedMacrosGiveBodyAddressesLengthsAndNames) {
    TDeviceMacroArea area{};
    size_t at = AddMacro(area, 0, "Jump", {0x82, 0x2C, 0x02, 0x2C});
    at = AddMacro(area, at, "Reload", {0xA1});
    AddMacro(area, at, "Empty", {});
    const TDeviceMacroList list = ParseDeviceMacroArea(area);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Jump", "Reload", "Empty"}));
    EXPECT_EQ(list.StartAddress[0], 496 + 16);
    EXPECT_EQ(list.Length[0], 5);
    EXPECT_EQ(list.StartAddress[1], 496 + 21 + 16);
    EXPECT_EQ(list.Length[1], 2);
    EXPECT_EQ(list.StartAddress[2], 496 + 39 + 16);
    EXPECT_EQ(list.Length[2], 1);
    for (int slot = 3; slot < DeviceMacroSlots; ++slot) {
        EXPECT_EQ(list.StartAddress[slot], 0);
        EXPECT_EQ(list.Length[slot], 0);
    }
}

TEST(DeviceMacroArea, EmptySlotMarksEndTheList) {
    // 00 00, or FF in either of the first two bytes, ends the list; 00 xx does not.
    for (const char* mark : {"00 00", "FF 41", "00 FF", "FF FF"}) {
        TDeviceMacroArea area{};
        size_t at = AddMacro(area, 0, "A", {0x01});
        image_test::Put(area, at, mark);
        AddMacro(area, at + 2 + 40, "B", {0x01}); // never reached
        EXPECT_EQ(Texts(ParseDeviceMacroArea(area)), std::vector<std::string>{"A"}) << mark;
    }
    TDeviceMacroArea area{};
    AddMacro(area, 0, "A", {0x01}); // the name begins 00 41: a macro, not an empty slot
    EXPECT_EQ(ParseDeviceMacroArea(area).Names.size(), 1u);
    EXPECT_TRUE(ParseDeviceMacroArea(TDeviceMacroArea{}).Names.empty());
}

TEST(DeviceMacroArea, AtMostFifteenSlots) {
    TDeviceMacroArea area{};
    size_t at = 0;
    for (int i = 0; i < 20; ++i)
        at = AddMacro(area, at, "M" + std::to_string(i), {0x10});
    const TDeviceMacroList list = ParseDeviceMacroArea(area);
    ASSERT_EQ(list.Names.size(), 15u);
    EXPECT_EQ(MacroNameToText(list.Names[14]), "M14");
    EXPECT_NE(list.Length[14], 0);
}

TEST(DeviceMacroArea, GarbageStaysInsideTheArea) {
    // No closing 00 anywhere: nothing is listed.
    TDeviceMacroArea full;
    full.fill(0x41);
    EXPECT_TRUE(ParseDeviceMacroArea(full).Names.empty());

    // A body running to the very end without its 00: that macro is dropped, those
    // before it stay.
    TDeviceMacroArea tail{};
    size_t at = AddMacro(tail, 0, "Ok", {0x01});
    std::fill(tail.begin() + at, tail.end(), 0x11);
    EXPECT_EQ(Texts(ParseDeviceMacroArea(tail)), std::vector<std::string>{"Ok"});

    // A closing 00 as the area's last byte is still inside it.
    TDeviceMacroArea last;
    last.fill(0x22);
    last[511] = 0x00;
    const TDeviceMacroList one = ParseDeviceMacroArea(last);
    ASSERT_EQ(one.Names.size(), 1u);
    EXPECT_EQ(one.StartAddress[0] + one.Length[0], 496 + 512);

    // Ten macros of 50 bytes, then a name that would reach past the area.
    TDeviceMacroArea split{};
    at = 0;
    for (int i = 0; i < 10; ++i)
        at = AddMacro(split, at, "x", std::vector<uint8_t>(33, 0x09));
    ASSERT_EQ(at, 500u);
    std::fill(split.begin() + at, split.end(), 0x30);
    const TDeviceMacroList list = ParseDeviceMacroArea(split);
    EXPECT_EQ(list.Names.size(), 10u);
    EXPECT_EQ(list.Length[10], 0);

    EXPECT_EQ(DeviceMacroBodyEnd(split, 512), 0u);
    EXPECT_EQ(DeviceMacroBodyEnd(split, 100000), 0u);
}

TEST(DeviceMacroArea, RandomAreasNeverLeaveTheBuffer) {
    std::mt19937 random(408);
    for (int round = 0; round < 2000; ++round) {
        TDeviceMacroArea area;
        // Mostly non-zero bytes so that macros run long; sometimes a 00.
        for (uint8_t& b : area)
            b = static_cast<uint8_t>(random() % 64 == 0 ? 0 : random() % 256);
        const TDeviceMacroList list = ParseDeviceMacroArea(area);
        ASSERT_LE(list.Names.size(), 15u);
        for (size_t slot = 0; slot < list.Names.size(); ++slot) {
            ASSERT_GE(list.Length[slot], 1);
            ASSERT_GE(list.StartAddress[slot], 496 + 16);
            ASSERT_LE(list.StartAddress[slot] + list.Length[slot], 496 + 512);
            ASSERT_EQ(area[list.StartAddress[slot] + list.Length[slot] - 1 - 496], 0);
        }
        for (size_t slot = list.Names.size(); slot < DeviceMacroSlots; ++slot)
            ASSERT_EQ(list.Length[slot], 0);
    }
}

TEST(MacroNameText, UnitsUpToTheFirstZeroUnit) {
    EXPECT_EQ(MacroNameToText(AsciiMacroName("Macro10")), "Macro10");
    EXPECT_EQ(MacroNameToText(AsciiMacroName("ABCDEFGH")), "ABCDEFGH"); // no zero unit at all
    TMacroName name{};
    image_test::Put(name, 0, "00 41 00 E9 4E 2D 00 00 00 42");
    EXPECT_EQ(MacroNameToText(name), "A\xC3\xA9\xE4\xB8\xAD"); // A, e acute, a CJK character
    EXPECT_EQ(MacroNameToText(TMacroName{}), "");
}

TEST(FireMacroNames, SlotsStartingFFFFOr0000AreSkipped) {
    std::array<TMacroName, image::FireMacroCount> names{};
    for (int n = 0; n < image::FireMacroCount; ++n)
        names[n] = AsciiMacroName("F" + std::to_string(n + 1));
    image_test::Put(names[1], 0, "FF FF");
    image_test::Put(names[3], 0, "00 00");
    image_test::Put(names[5], 0, "FF 00 00 41"); // only one FF: listed
    image_test::Put(names[6], 0, "00 FF");       // listed as well
    const std::vector<std::string> list = FireMacroNameList(names);
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0], "F1");
    EXPECT_EQ(list[1], "F3");
    EXPECT_EQ(list[2], "F5");
    EXPECT_EQ(list.back(), "F10");
    EXPECT_FALSE(FireMacroNameInUse(names[1]));
    EXPECT_TRUE(FireMacroNameInUse(names[5]));
    EXPECT_TRUE(FireMacroNameInUse(names[6]));
}

} // namespace
