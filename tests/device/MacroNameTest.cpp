// Macro names between the stored form, the hexadecimal form and text.
#include "device/Conversion.h"
#include "device/DeviceMacroArea.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace device;
using namespace std::string_literals;

TEST(MacroNameHexForm, TextGivesFourUpperCaseDigitsPerUnit) {
    EXPECT_EQ(TextToHexUnicode("AB"), "00410042");
    EXPECT_EQ(TextToHexUnicode(""), "");
    EXPECT_EQ(TextToHexUnicode("\xC3\xA9"), "00E9");          // e acute
    EXPECT_EQ(TextToHexUnicode("z\xE4\xB8\xAD"), "007A4E2D"); // a CJK character
    // Beyond the basic plane a character takes two units.
    EXPECT_EQ(TextToHexUnicode("\xF0\x9F\x98\x80"), "D83DDE00");
}

TEST(MacroNameHexForm, TextStopsAtAnEmbeddedNul) {
    EXPECT_EQ(TextToHexUnicode("A\0B"s), "0041");
    EXPECT_EQ(TextToHexUnicode("\0A"s), "");
}

TEST(MacroNameHexForm, TextOfMoreThan79UnitsGivesNothing) {
    const std::string longest(79, 'x');
    const std::string hex = TextToHexUnicode(longest);
    ASSERT_EQ(hex.size(), 79u * 4);
    EXPECT_EQ(hex.substr(0, 8), "00780078");
    EXPECT_EQ(TextToHexUnicode(std::string(80, 'x')), "");
    EXPECT_EQ(TextToHexUnicode(std::string(200, 'x')), "");
    // Counted in units, not in bytes: 40 three-byte characters fit.
    std::string cjk;
    for (int i = 0; i < 40; ++i)
        cjk += "\xE4\xB8\xAD";
    EXPECT_EQ(TextToHexUnicode(cjk).size(), 160u);
}

TEST(MacroNameHexForm, DigitsGiveTheTextBack) {
    EXPECT_EQ(HexUnicodeToText("00410042"), "AB");
    EXPECT_EQ(HexUnicodeToText("00e9"), "\xC3\xA9");
    EXPECT_EQ(HexUnicodeToText("007A4E2D"), "z\xE4\xB8\xAD");
    EXPECT_EQ(HexUnicodeToText(TextToHexUnicode("Macro 7")), "Macro 7");
}

TEST(MacroNameHexForm, GroupsAreTakenFromTheEnd) {
    EXPECT_EQ(HexUnicodeToText("100410042"), "AB"); // the leading rest "1" is ignored
    EXPECT_EQ(HexUnicodeToText("xyz00410042"), "AB");
    EXPECT_EQ(HexUnicodeToText("0041ZZZZ0042"), "AB");
    // A stray character at the end shifts every group: "042X", then "0410" (U+0410).
    EXPECT_EQ(HexUnicodeToText("00410042X"), "\xD0\x90");
    EXPECT_EQ(HexUnicodeToText("+041"), "");
}

TEST(MacroNameHexForm, ShortFormsGiveEmptyText) {
    EXPECT_EQ(HexUnicodeToText(""), "");
    EXPECT_EQ(HexUnicodeToText("4"), "");
    EXPECT_EQ(HexUnicodeToText("041"), "");
}

TEST(MacroNameHexForm, ZeroUnitsBecomeNulCharacters) {
    const std::string stored = "00410042" + std::string(24, '0');
    const std::string text = HexUnicodeToText(stored);
    EXPECT_EQ(text, "AB" + std::string(6, '\0'));
    EXPECT_EQ(HexUnicodeToText("00000041"), "\0A"s);
}

TEST(MacroNameHexForm, HalfOfASurrogatePairIsNoCharacter) {
    EXPECT_EQ(HexUnicodeToText("D83D"), "\xEF\xBF\xBD");
    EXPECT_EQ(HexUnicodeToText("D83DDE00"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(MacroNameStored, BytesAndDigitsInByteOrder) {
    TMacroName name = AsciiMacroName("AB");
    name[15] = 0xCD;
    EXPECT_EQ(MacroNameToHex(name), "00410042" + std::string(22, '0') + "CD");
    EXPECT_EQ(HexToMacroName(MacroNameToHex(name)), name);
    EXPECT_EQ(HexToMacroName("004100"), AsciiMacroName("A"));
    EXPECT_EQ(HexToMacroName("00410042" + std::string(24, '0') + "FFFF"), AsciiMacroName("AB"));
    TMacroName badPair{};
    badPair[1] = 0x41;
    badPair[3] = 0x42;
    EXPECT_EQ(HexToMacroName("0041zz42"), badPair);
}

TEST(MacroNameStored, TextIsCutToEightUnitsAndZeroFilled) {
    EXPECT_EQ(TextToMacroName("Macro10"), AsciiMacroName("Macro10"));
    EXPECT_EQ(TextToMacroName("ABCDEFGHIJ"), AsciiMacroName("ABCDEFGH"));
    const TMacroName accented = TextToMacroName("\xC3\xA9");
    EXPECT_EQ(accented[0], 0x00);
    EXPECT_EQ(accented[1], 0xE9);
    EXPECT_EQ(accented[2], 0x00);
    EXPECT_EQ(TextToMacroName(""), TMacroName{});
}

TEST(MacroNameStored, ListTextEndsAtTheZeroFill) {
    EXPECT_EQ(MacroNameToText(AsciiMacroName("AB")), "AB");
    EXPECT_EQ(MacroNameToText(TextToMacroName("\xC3\xA9t\xC3\xA9")), "\xC3\xA9t\xC3\xA9");
    TMacroName gap = AsciiMacroName("AB");
    gap[7] = 'C'; // a unit after the first zero unit stays hidden
    EXPECT_EQ(MacroNameToText(gap), "AB");
}

} // namespace

namespace {

// One character per byte of the ANSI code page (Windows-1252), never a replacement mark.
TEST(AnsiText, EachByteIsOneCharacterOfTheCodePage) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"Mouse 1", "Mouse 1"},
        {"\xE9\xFC\xFF", "\u00E9\u00FC\u00FF"}, // Latin-1 half: the same code points
        {"\x80\x99\x9F", "\u20AC\u2122\u0178"}, // the code page's own 80..9F
        {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"}, // unassigned: as they are
        {"\xA0\xB5", "\u00A0\u00B5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = device::AnsiBytesToText(c.bytes);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(text.find("\uFFFD"), std::string::npos);
    }
    // Every byte gives exactly one character.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(platform::rtl::Utf8ToUtf16(device::AnsiBytesToText(all)).size(), 255u);
}

} // namespace
