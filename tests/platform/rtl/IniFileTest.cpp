#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace platform::rtl;

// A layout text in the shape of the shipped ones: CR LF, a lone CR and a lone LF, blank
// and comment lines, banners without "=", blanks around keys and values.
const char kLayout[] = "Before=ignored\r\n"
                       "; a comment\r\n"
                       "  [ Org1 ]  \r\n"
                       "//********** banner **********\r\n"
                       "M_L_W = 190\r"
                       "Btn_A2_Enable=1 \n"
                       "\r\n"
                       "   ;indented comment=1\r\n"
                       "Web=http://example.invalid/?a=b\r\n"
                       "m_l_w=555\r\n"
                       "Hex=0x1F\r\n"
                       "Dollar=$10\r\n"
                       "Word=abc\r\n"
                       "Empty=\r\n"
                       "\t[second]\r\n"
                       "Only=2\r\n"
                       "[org1]\r\n"
                       "Late=3\r\n"
                       "M_L_W=777";

TEST(MemIniFile, ReadsEntriesTrimmedAndIgnoringCase) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_EQ(ini.ReadString("org1", "M_L_W", "x"), "190");
    EXPECT_EQ(ini.ReadString("ORG1", "btn_a2_enable", ""), "1"); // trailing blank dropped
    EXPECT_EQ(ini.ReadString("Org1", "Web", ""), "http://example.invalid/?a=b");
    EXPECT_EQ(ini.ReadString("second", "Only", ""), "2");
    EXPECT_EQ(ini.ReadString("org1", "Empty", "default"), "");
}

TEST(MemIniFile, FirstOfEqualKeysAndSectionsWins) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_EQ(ini.ReadString("org1", "m_l_w", ""), "190");
    EXPECT_EQ(ini.ReadInteger("org1", "M_L_W", 0), 190);
    // The second [org1] is never searched.
    EXPECT_FALSE(ini.ValueExists("org1", "Late"));
}

TEST(MemIniFile, CommentsBannersAndLinesBeforeTheFirstSectionAreNeverFound) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_FALSE(ini.ValueExists("org1", "Before"));
    EXPECT_FALSE(ini.ValueExists("", "Before"));
    EXPECT_FALSE(ini.ValueExists("org1", ";indented comment"));
    EXPECT_FALSE(ini.ValueExists("org1", "//********** banner **********"));
    EXPECT_EQ(ini.ReadString("org1", "; a comment", "none"), "none");
}

TEST(MemIniFile, MissingKeysReadTheDefault) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_EQ(ini.ReadString("org1", "Absent", ""), "");
    EXPECT_EQ(ini.ReadString("org1", "Absent", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("org9", "M_L_W", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("org1", "Absent", -4), -4);
}

TEST(MemIniFile, ReadIntegerFallsBackOnNonNumbers) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_EQ(ini.ReadInteger("org1", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("org1", "Dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("org1", "Word", 42), 42);
    EXPECT_EQ(ini.ReadInteger("org1", "Empty", 43), 43);
    EXPECT_EQ(ini.ReadInteger("org1", "Web", 44), 44);
    // The layout readers convert themselves and must see the runtime's error.
    try {
        StrToInt(ini.ReadString("org1", "Absent", ""));
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
}

TEST(MemIniFile, SectionsAndKeysAreListed) {
    const TMemIniFile ini = TMemIniFile::FromText(kLayout);
    EXPECT_TRUE(ini.SectionExists("ORG1"));
    EXPECT_TRUE(ini.SectionExists("Second"));
    EXPECT_FALSE(ini.SectionExists("org"));
    EXPECT_TRUE(ini.ValueExists("org1", "empty"));

    TStringList keys;
    keys.Add("stale");
    ini.ReadSection("org1", keys);
    ASSERT_EQ(keys.Count(), 8);
    EXPECT_EQ(keys[0], "M_L_W");
    EXPECT_EQ(keys[1], "Btn_A2_Enable");
    EXPECT_EQ(keys[3], "m_l_w");
    ini.ReadSection("nothing", keys);
    EXPECT_EQ(keys.Count(), 0);

    TStringList sections;
    ini.ReadSections(sections);
    ASSERT_EQ(sections.Count(), 3);
    EXPECT_EQ(sections[0], "Org1");
    EXPECT_EQ(sections[1], "second");
}

TEST(MemIniFile, LinesAreTakenAsGiven) {
    // The language tables quote whole lines; taking the quotes off is their reader's work.
    TStringList lines;
    lines.Add("[lang1]");
    lines.Add("\"Str001=Default\"");
    lines.Add("Str002 = a \"quoted\" value");
    const TMemIniFile ini(lines);
    EXPECT_EQ(ini.ReadString("lang1", "\"Str001", ""), "Default\"");
    EXPECT_FALSE(ini.ValueExists("lang1", "Str001"));
    EXPECT_EQ(ini.ReadString("lang1", "str002", ""), "a \"quoted\" value");
}

TEST(MemIniFile, SetStringsReplacesTheContents) {
    TMemIniFile ini = TMemIniFile::FromText("[a]\nk=1\n");
    TStringList lines;
    lines.SetText("[b]\nk=2\n");
    ini.SetStrings(lines);
    EXPECT_FALSE(ini.SectionExists("a"));
    EXPECT_EQ(ini.ReadInteger("b", "k", 0), 2);
}

// A table in the language tables' shape: hundreds of keys, a later key equal but for
// ASCII case, keys that differ only in a non-ASCII letter, and a key left empty.
TEST(MemIniFile, LargeTablesFindTheFirstOfKeysEqualButForAsciiCase) {
    std::string text = "[Lang]\n";
    for (int i = 0; i <= 800; ++i)
        text += "Str" + std::to_string(i) + "=v" + std::to_string(i) + "\n";
    text += "STR17=later\nstr800=later\nKöln=lower\nKÖln=upper\n=nameless\n";
    const TMemIniFile ini = TMemIniFile::FromText(text);
    EXPECT_EQ(ini.ReadString("lang", "sTR17", ""), "v17");
    EXPECT_EQ(ini.ReadString("LANG", "Str800", ""), "v800");
    EXPECT_EQ(ini.ReadString("Lang", "Str0", ""), "v0");
    EXPECT_FALSE(ini.ValueExists("Lang", "Str801"));
    // Only ASCII letters fold: ö and Ö are different bytes.
    EXPECT_EQ(ini.ReadString("Lang", "KÖLN", ""), "upper");
    EXPECT_EQ(ini.ReadString("Lang", "kölN", ""), "lower");
    EXPECT_EQ(ini.ReadString("Lang", "", "none"), "nameless");
}

TEST(MemIniFile, ReadsAUtf16LanguageTableFromItsResource) {
    TResourceStream stream("vcltest_table", "rc_data");
    TMemoryStream copy;
    copy.LoadFromStream(stream);
    const std::string text =
        Utf16LeBytesToUtf8(std::string_view(static_cast<const char*>(copy.Memory()), copy.Size()));
    const TMemIniFile ini = TMemIniFile::FromText(text);
    EXPECT_EQ(ini.ReadString("VclTest", "greeting", ""), "Grüße aus Köln");
    EXPECT_EQ(ini.ReadString("vcltest", "Chinese", ""), "繁體中文");
    EXPECT_EQ(ini.ReadString("vcltest", "Emoji", ""), "smile 😀 end");
    EXPECT_EQ(ini.ReadString("vcltest", "Plain", ""), "abc");
}

} // namespace
