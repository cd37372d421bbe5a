#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

using namespace platform::rtl;

std::string ConvertErrorOf(std::string_view text) {
    try {
        StrToInt(text);
    } catch (const EConvertError& e) {
        return e.what();
    }
    return "no error";
}

TEST(StrToInt, AcceptsTheRuntimeForms) {
    EXPECT_EQ(StrToInt("190"), 190);
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("  42"), 42); // leading blanks are skipped
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-15"), -15);
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("0X1a"), 26);
    EXPECT_EQ(StrToInt("x1A"), 26);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1); // hexadecimal fills all 32 bits
    EXPECT_EQ(StrToInt("$80000000"), INT_MIN);
    EXPECT_EQ(StrToInt("$000000001"), 1); // leading zeros do not overflow
}

TEST(StrToInt, RejectsWithTheRuntimeMessage) {
    EXPECT_EQ(ConvertErrorOf(""), "'' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(ConvertErrorOf(" 12 "), "' 12 ' is not a valid integer value");
    for (const char* bad : {"12 ", "1.5", "2147483648", "-2147483649", "$100000000", "$", "-", "+",
                            "0x", "$G", "--1", "99999999999999999999", "\t5", "1e3"})
        EXPECT_EQ(ConvertErrorOf(bad), std::string("'") + bad + "' is not a valid integer value")
            << bad;
}

TEST(StrToInt, DefaultAndTryForms) {
    EXPECT_EQ(StrToIntDef("12", -1), 12);
    EXPECT_EQ(StrToIntDef("", -1), -1);
    EXPECT_EQ(StrToIntDef("twelve", 7), 7);
    int value = 99;
    EXPECT_TRUE(TryStrToInt("$7F", value));
    EXPECT_EQ(value, 127);
    EXPECT_FALSE(TryStrToInt("7F", value));
}

TEST(Hex, IntToHexIsUpperCaseAndAtLeastTheDigitsAsked) {
    EXPECT_EQ(IntToHex(255, 2), "FF");
    EXPECT_EQ(IntToHex(10, 4), "000A");
    EXPECT_EQ(IntToHex(0, 2), "00");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345"); // never cut
    EXPECT_EQ(IntToHex(uint8_t{0xAB}, 2), "AB");
    EXPECT_EQ(IntToHex(uint16_t{0x4D2}, 4), "04D2");
    EXPECT_EQ(IntToHex(0xDEADBEEFu, 8), "DEADBEEF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF"); // two's complement of the argument's width
    EXPECT_EQ(IntToHex(int64_t{-2}, 1), "FFFFFFFFFFFFFFFE");
}

TEST(Hex, HexToIntReadsDigitsAsDollarText) {
    EXPECT_EQ(HexToInt("7F"), 127);
    EXPECT_EQ(HexToInt("00ff"), 255);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_THROW(HexToInt(""), EConvertError);
    try {
        HexToInt("G1");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'$G1' is not a valid integer value");
    }
    for (int v : {0, 1, 0x7F, 0x1234, INT_MAX, INT_MIN, -1, -0x5432})
        EXPECT_EQ(HexToInt(IntToHex(v, 8)), v) << v;
}

TEST(TextHelpers, TrimKeepsTextBeyondAscii) {
    EXPECT_EQ(Trim(" \t M_L_W \r\n"), "M_L_W");
    EXPECT_EQ(Trim("ü"), "ü"); // UTF-8 bytes are above 0x7F, not control characters
    EXPECT_EQ(Trim(" 中 "), "中");
    EXPECT_EQ(Trim("\x01\x1f"), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(TextHelpers, CaseFunctionsTouchAsciiLettersOnly) {
    EXPECT_EQ(UpperCase("abc-Ü-z"), "ABC-Ü-Z");
    EXPECT_EQ(LowerCase("ORG1 [X]"), "org1 [x]");
    EXPECT_TRUE(SameText("Lang1", "LANG1"));
    EXPECT_FALSE(SameText("Lang1", "Lang2"));
    EXPECT_FALSE(SameText("Lang", "Lang1"));
    EXPECT_TRUE(SameText("", ""));
}

TEST(TextHelpers, FormatBuildsLongTexts) {
    EXPECT_EQ(Format("%d-%s", 5, "x"), "5-x");
    const std::string longText(500, 'q');
    EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
    EXPECT_EQ(IntToStr(-12), "-12");
}

TEST(FileNames, PathsAndExistence) {
    EXPECT_EQ(ExtractFilePath("/opt/mouse/VTRM408x-Macro.bin"), "/opt/mouse/");
    EXPECT_EQ(ExtractFilePath("VTRM408x-Macro.bin"), "");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/mouse"), "/opt/mouse/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/mouse/"), "/opt/mouse/");

    const auto dir =
        std::filesystem::temp_directory_path() / ("vcl_strings_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "present.bin").string();
    std::ofstream(file) << "x";
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.string())); // a folder is not a file
    EXPECT_FALSE(FileExists((dir / "absent.bin").string()));
    std::filesystem::remove_all(dir);
}

TEST(Utf16, RoundTripsEveryCodePoint) {
    std::string utf8;
    for (uint32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        utf8 += Utf16ToUtf8(
            c < 0x10000 ? std::u16string(1, static_cast<char16_t>(c))
                        : std::u16string{static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
                                         static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))});
    }
    const std::u16string utf16 = Utf8ToUtf16(utf8);
    // One unit per character of the basic plane (without NUL and surrogates), two for each
    // of the 0x100000 characters beyond it.
    EXPECT_EQ(utf16.size(), (0xFFFFu - 0x800u) + 2u * 0x100000u);
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
}

TEST(Utf16, SurrogatePairsAndKnownEncodings) {
    EXPECT_EQ(Utf8ToUtf16("😀"), (std::u16string{0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, 0xDE00}), "😀");
    EXPECT_EQ(Utf8ToUtf16("é中"), (std::u16string{0x00E9, 0x4E2D}));
    EXPECT_EQ(Utf16ToUtf8(u"Grüße"), "Grüße");
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}), "a" + fffd + "b"); // lone high
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), fffd);                         // lone low
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), fffd + fffd);          // wrong order
    EXPECT_EQ(Utf8ToUtf16("a\xFF"), (std::u16string{u'a', 0xFFFD}));
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8"), (std::u16string{0xFFFD}));         // cut short
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8x"), (std::u16string{0xFFFD, u'x'}));  // cut short
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD}));         // overlong '/'
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD}));     // surrogate
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), (std::u16string{0xFFFD})); // beyond U+10FFFF
    EXPECT_EQ(Utf8ToUtf16("\x80"), (std::u16string{0xFFFD}));             // stray continuation
}

TEST(Utf16, LittleEndianBytesOfTheLanguageTables) {
    using namespace std::string_literals;
    EXPECT_EQ(Utf16LeBytesToUtf8("\xFF\xFE\x41\x00\xE9\x00\x3D\xD8\x00\xDE"s), "Aé😀");
    EXPECT_EQ(Utf16LeBytesToUtf8("\x41\x00\x42\x00"s), "AB");        // no mark: from byte 0
    EXPECT_EQ(Utf16LeBytesToUtf8("\xFF\xFE\x41\x00\x42"s), "A");     // odd last byte
    EXPECT_EQ(Utf16LeBytesToUtf8("\x41\x00\x00\x00\x42\x00"s), "A"); // ends at NUL
    EXPECT_EQ(Utf16LeBytesToUtf8("\xFF\xFE"s), "");
    EXPECT_EQ(Utf16LeBytesToUtf8(""), "");
}

// ---- TStringList ------------------------------------------------------------------------

std::string ListErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EStringListError& e) {
        return e.what();
    }
    return "no error";
}

TEST(StringList, EditsKeepOrderAndCheckIndexes) {
    TStringList list;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("d"), 1);
    list.Insert(0, "a");
    list.Insert(2, "c");
    list.Insert(4, "e"); // at the end
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\ne\r\n");
    list.Delete(1);
    list.SetStrings(0, "A");
    EXPECT_EQ(list[0], "A");
    EXPECT_EQ(list.Strings(1), "c");
    EXPECT_EQ(list.Count(), 4);

    EXPECT_EQ(ListErrorOf([&] { list.Strings(4); }), "List index out of bounds (4)");
    EXPECT_EQ(ListErrorOf([&] { list.Strings(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListErrorOf([&] { list.Delete(7); }), "List index out of bounds (7)");
    EXPECT_EQ(ListErrorOf([&] { list.Insert(5, "x"); }), "List index out of bounds (5)");
    EXPECT_EQ(ListErrorOf([&] { list.SetStrings(4, "x"); }), "List index out of bounds (4)");
    EXPECT_EQ(list.Count(), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
}

TEST(StringList, IndexOfIgnoresCase) {
    TStringList list;
    list.Add("Img_DPI1_1");
    list.Add("Btn_Lang2_4");
    EXPECT_EQ(list.IndexOf("btn_lang2_4"), 1);
    EXPECT_EQ(list.IndexOf("IMG_DPI1_1"), 0);
    EXPECT_EQ(list.IndexOf("Btn_Lang2"), -1);
}

TEST(StringList, TextSplitsAtEveryLineBreakKind) {
    TStringList list;
    list.SetText("a\rb\nc\r\nd");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], "d");
    list.SetText("a\r\n\r\n");
    ASSERT_EQ(list.Count(), 2); // the final break adds no line, an empty line stays
    EXPECT_EQ(list[1], "");
    list.SetText("\n\r");
    EXPECT_EQ(list.Count(), 2);
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText("Web=http://x/?a=b\nbanner line\nWeb_X=430\nweb=second\n=nameless");
    EXPECT_EQ(list.Values("WEB"), "http://x/?a=b"); // first "=" splits, first line wins
    EXPECT_EQ(list.Names(0), "Web");
    EXPECT_EQ(list.ValueFromIndex(2), "430");
    EXPECT_EQ(list.Names(1), "");
    EXPECT_EQ(list.IndexOfName("banner line"), -1); // a line without "=" has no name
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.IndexOfName(""), 4);

    list.SetValues("web_x", "12");
    EXPECT_EQ(list[2], "web_x=12");
    list.SetValues("Path", "C:\\");
    EXPECT_EQ(list[list.Count() - 1], "Path=C:\\");
    const int before = list.Count();
    list.SetValues("WEB_X", "");
    EXPECT_EQ(list.Count(), before - 1);
    EXPECT_EQ(list.IndexOfName("Web_X"), -1);
}

TEST(StringList, LoadsAndSavesThroughStreams) {
    TMemoryStream stream;
    const std::string text = "\xEF\xBB\xBF[org]\r\nWeb_Enable=0\r\n";
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream.SetPosition(0);
    TStringList list;
    list.LoadFromStream(stream);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], "[org]"); // the UTF-8 mark is not part of the first line

    TMemoryStream out;
    list.SaveToStream(out);
    EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), out.Size()),
              "[org]\r\nWeb_Enable=0\r\n");
}

} // namespace
