// The built-in language tables as data, their reader (item splitting, the byte-order mark,
// missing keys) and the reverse lookup of a text's key.
#include "ShellTestSupport.h"

#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/LanguageTables.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <thread>

using namespace platform::rtl;
using namespace platform::vcl;
using shell_test::ResourceOverride;
using shell_test::Utf16Le;
using window::shell::FindLangKeyByText;
using window::shell::LanguageSectionName;
using window::shell::LanguageText;
using window::shell::LoadLanguageTable;

namespace {

std::set<std::string> StrKeys(int n) {
    const TMemIniFile table = LoadLanguageTable(n);
    TStringList keys;
    table.ReadSection(LanguageSectionName(n), keys);
    std::set<std::string> result;
    for (const std::string& key : keys.Lines())
        if (key.rfind("Str", 0) == 0) result.insert(key);
    return result;
}

// The language-table keys the program's code names as literals ("Str022"), read from the
// sources so that a key added to the code without a table entry is caught.
std::set<std::string> KeysReadByTheProgram() {
    // This file lies in tests/window/shell of the source tree.
    const std::filesystem::path sources =
        std::filesystem::path(__FILE__).parent_path() / ".." / ".." / ".." / "src";
    if (!std::filesystem::is_directory(sources)) return {};
    const std::regex literal("\"(Str[0-9]{3})\"");
    std::set<std::string> keys;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sources)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            // Comments name keys too; only the code's own literals count.
            const std::string code = line.substr(0, line.find("//"));
            for (std::sregex_iterator m(code.begin(), code.end(), literal), end; m != end; ++m)
                keys.insert((*m)[1]);
        }
    }
    return keys;
}

std::string Key(int number) {
    char name[8];
    std::snprintf(name, sizeof name, "Str%03d", number);
    return name;
}

TEST(LanguageTablesTest, EveryTableHasEveryKeyTheProgramReads) {
    const std::set<std::string> read = KeysReadByTheProgram();
    ASSERT_FALSE(read.empty()) << "no sources found";
    // The device messages are among them.
    EXPECT_TRUE(read.count("Str107"));
    // The third table is known to lack the third confirm caption and the combination-key
    // switch captions; those show empty in that language.
    std::set<std::string> lackedByThird = {"Str016"};
    for (int i = 700; i <= 707; ++i)
        lackedByThird.insert(Key(i));
    for (int n = 1; n <= 3; ++n) {
        const TMemIniFile table = LoadLanguageTable(n);
        const std::string section = LanguageSectionName(n);
        for (const char* key : {"FontName", "Title"})
            EXPECT_FALSE(table.ReadString(section, key, "").empty()) << section << " " << key;
        for (const std::string& key : read) {
            if (n == 3 && lackedByThird.count(key)) continue;
            EXPECT_TRUE(table.ValueExists(section, key)) << section << " lacks " << key;
        }
    }
}

TEST(LanguageTablesTest, KeySetsOfTheThreeTables) {
    const std::set<std::string> first = StrKeys(1);
    EXPECT_EQ(first.size(), 169u);
    std::set<std::string> second = first;
    second.insert("Str234");
    EXPECT_EQ(StrKeys(2), second);
    std::set<std::string> third = first;
    third.erase("Str016");
    for (int i = 700; i <= 707; ++i)
        third.erase(Key(i));
    EXPECT_EQ(StrKeys(3), third);
    EXPECT_EQ(third.size(), 160u);
    // Every key has the form StrNNN within Str001 .. Str707.
    for (const std::string& key : second) {
        ASSERT_EQ(key.size(), 6u) << key;
        const int number = std::stoi(key.substr(3));
        EXPECT_TRUE(number >= 1 && number <= 707) << key;
    }
}

TEST(LanguageTablesTest, TablesAreBuiltInAsUtf16WithTheMarkAndDecodeWhole) {
    for (int n = 1; n <= 3; ++n) {
        const platform::core::ResourceEntry* entry =
            platform::core::FindResource("LANG" + std::to_string(n), "RC_DATA");
        ASSERT_NE(entry, nullptr) << n;
        ASSERT_GE(entry->size, 4u);
        EXPECT_EQ(entry->data[0], 0xFF);
        EXPECT_EQ(entry->data[1], 0xFE);
        EXPECT_EQ(entry->size % 2, 0u);
        // No NUL cuts a table short: the last entry of each table is there.
        const std::string decoded = Utf16LeBytesToUtf8(
            std::string_view(reinterpret_cast<const char*>(entry->data), entry->size));
        EXPECT_EQ(decoded.rfind("[lang" + std::to_string(n) + "]", 0), 0u) << n;
        EXPECT_FALSE(LanguageText(n, n == 3 ? "Str621" : "Str707").empty()) << n;
    }
    // The resource is asked for in lower case.
    EXPECT_NO_THROW(LoadLanguageTable(2));
}

TEST(LanguageTablesTest, QuotedTextsOfTheTables) {
    EXPECT_EQ(LanguageText(1, "Str022"), "Finding the specified device");
    EXPECT_EQ(LanguageText(3, "Str022"), "Is finding the specified device");
    EXPECT_EQ(LanguageText(1, "Str100"), "Waiting to reconnect device");
    // Present, and empty.
    EXPECT_TRUE(LoadLanguageTable(1).ValueExists("lang1", "Str101"));
    EXPECT_EQ(LanguageText(1, "Str101"), "");
    EXPECT_EQ(LanguageText(1, "Str102"), "VTRM408xData.bin file type error");
    EXPECT_EQ(LanguageText(1, "Str107"), "The mouse manufacturer or product id error");
    EXPECT_EQ(LanguageText(1, "Str200"), "*");
    EXPECT_EQ(LanguageText(1, "Str274"), "Volume +");
    EXPECT_EQ(LanguageText(1, "Str430"), "OK for clear macro?");
    EXPECT_EQ(LanguageText(1, "Str700"), "'Back'+'Right Key' Switch LED Mode");
    EXPECT_EQ(LanguageText(1, "Str020"),
              "Please select the keyboard mode switch button to take effect after the key "
              "definition interface");

    // The second table translates the first table's texts, not the third's.
    EXPECT_EQ(LanguageText(2, "Str100"), "等待重新連接裝置");
    EXPECT_TRUE(LoadLanguageTable(2).ValueExists("lang2", "Str101"));
    EXPECT_EQ(LanguageText(2, "Str101"), "");
    EXPECT_EQ(LanguageText(2, "Str102"), "VTRM4083BData.bin檔案類型錯誤");
    EXPECT_EQ(LanguageText(2, "Str107"), "滑鼠廠商編碼或產品編碼錯誤");

    // Each table names the face its texts were designed in.
    EXPECT_EQ(LanguageText(1, "FontName"), "Calibri");
    EXPECT_EQ(LanguageText(2, "FontName"), "Microsoft JhengHei");
    EXPECT_EQ(LanguageText(3, "FontName"), "MS Sans Serif");

    EXPECT_EQ(LanguageText(3, "Title"), "Gaming Mouse");
    EXPECT_EQ(LanguageText(3, "Str001"), "Default Setting");
    EXPECT_EQ(LanguageText(3, "Str002"), "Confirm 2");
    EXPECT_EQ(LanguageText(3, "Str004"), "Office Mode");
    EXPECT_EQ(LanguageText(3, "Str100"), "No Device Found");
    EXPECT_EQ(LanguageText(3, "Str101"), "Please check your device is attached to USB port");
    EXPECT_EQ(LanguageText(3, "Str102"), "VTRM4083BData.bin file type error");
    EXPECT_EQ(LanguageText(3, "Str274"), "Volume Up");
    EXPECT_EQ(LanguageText(3, "Str275"), "Volume Down");
    EXPECT_EQ(LanguageText(3, "Str282"), "WWW Back");
    EXPECT_EQ(LanguageText(3, "Str283"), "WWW Forward");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(LanguageText(3, Key(600 + i)), "FireMacro_" + std::to_string(i + 1));
    // A key the table lacks reads as an empty text.
    EXPECT_EQ(LanguageText(3, "Str016"), "");
    EXPECT_EQ(LanguageText(3, "Str707"), "");
}

TEST(LanguageTablesTest, ThirdTableDiffersFromTheFirstOnlyInItsListedKeys) {
    std::set<std::string> differing = {"Str001", "Str002", "Str004", "Str022", "Str100", "Str101",
                                       "Str102", "Str274", "Str275", "Str282", "Str283"};
    for (int i = 600; i <= 606; ++i)
        differing.insert(Key(i));
    const TMemIniFile first = LoadLanguageTable(1);
    const TMemIniFile third = LoadLanguageTable(3);
    for (const std::string& key : StrKeys(3)) {
        const bool same = first.ReadString("lang1", key, "") == third.ReadString("lang3", key, "");
        EXPECT_EQ(same, !differing.count(key)) << key;
    }
}

TEST(LanguageTablesTest, SecondTableIsChineseWhereTheFirstHasWords) {
    // Texts without letters (values, marks, units) may stand as they are; any text with
    // English words is translated.
    const TMemIniFile first = LoadLanguageTable(1);
    const TMemIniFile second = LoadLanguageTable(2);
    const std::regex word("[A-Za-z]{3,}");
    for (const std::string& key : StrKeys(1)) {
        const std::string english = first.ReadString("lang1", key, "");
        if (!std::regex_search(english, word)) continue;
        EXPECT_NE(second.ReadString("lang2", key, ""), english) << key;
    }
}

// ---- Reader ---------------------------------------------------------------------------

TEST(LanguageTablesTest, ItemsSplitAtBlanksAndQuotedItemsKeepThem) {
    const TStringList items = window::shell::SplitLanguageItems(
        "[lang1]\r\n\t\"Str001=Two words\"  \"Str002=say \"\"hi\"\"\"\r\n"
        "Str408=Delete All\r\n\"Str010=\"tail \"unterminated=yes");
    const std::vector<std::string> expected = {
        "[lang1]", "Str001=Two words", "Str002=say \"hi\"", "Str408=Delete", "All", "Str010=",
        "tail",    "unterminated=yes"};
    EXPECT_EQ(items.Lines(), expected);
}

// A NUL ends the text wherever it stands: before an item, inside an unquoted or a quoted
// one, or as the whole text.
TEST(LanguageTablesTest, ItemsEndAtTheFirstNul) {
    using namespace std::string_view_literals;
    const std::vector<std::pair<std::string_view, std::vector<std::string>>> cases = {
        {"\0"sv, {}},
        {"[lang1]\r\n\0Str001=A"sv, {"[lang1]"}},
        {"[lang1] Str001=A\0B Str002=C"sv, {"[lang1]", "Str001=A"}},
        {"\"Str001=A\0B\" Str002=C"sv, {"Str001=A"}},
        {"Str001=A \0\0\0"sv, {"Str001=A"}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(window::shell::SplitLanguageItems(text).Lines(), expected) << text.size();
}

TEST(LanguageTablesTest, UnquotedEntryWithABlankKeepsItsFirstWordOnly) {
    ResourceOverride table("LANG1", Utf16Le("[lang1]\r\nStr408=Delete All\r\n\"Str409=Insert\""));
    EXPECT_EQ(LanguageText(1, "Str408"), "Delete");
    EXPECT_EQ(LanguageText(1, "Str409"), "Insert");
}

TEST(LanguageTablesTest, TableWithoutTheMarkIsReadFromItsFirstByte) {
    ResourceOverride table("LANG2", Utf16Le("[lang2]\r\n\"Str022=找裝置\"", false));
    EXPECT_EQ(LanguageText(2, "Str022"), "找裝置");
    // With the mark the same text reads the same.
    ResourceOverride marked("LANG2", Utf16Le("[lang2]\r\n\"Str022=找裝置\""));
    EXPECT_EQ(LanguageText(2, "Str022"), "找裝置");
}

TEST(LanguageTablesTest, KeysIgnoreCaseTheFirstOfTwoWinsAndANulEndsTheText) {
    std::string bytes = Utf16Le("[LANG1]\r\n\"str022=first\"\r\n\"Str022=second\"\r\n\"Str023=x\"");
    bytes += std::string("\0\0", 2) + Utf16Le("\"Str024=after the end\"", false);
    ResourceOverride table("LANG1", bytes);
    EXPECT_EQ(LanguageText(1, "STR022"), "first");
    EXPECT_EQ(LanguageText(1, "Str023"), "x");
    EXPECT_EQ(LanguageText(1, "Str024"), "");
}

TEST(LanguageTablesTest, EntriesOutsideTheTablesSectionAreNotFound) {
    ResourceOverride table("LANG3",
                           Utf16Le("\"Str001=before\"\r\n[other]\r\n\"Str002=elsewhere\"\r\n"
                                   "[lang3]\r\n; a note\r\n\"Str003=mine\""));
    EXPECT_EQ(LanguageText(3, "Str001"), "");
    EXPECT_EQ(LanguageText(3, "Str002"), "");
    EXPECT_EQ(LanguageText(3, "Str003"), "mine");
}

TEST(LanguageTablesTest, MissingTableRaisesTheResourceError) {
    try {
        LoadLanguageTable(4);
        FAIL() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource lang4 not found");
    }
}

// ---- Reverse lookup -------------------------------------------------------------------

TEST(LanguageTablesTest, ReverseLookupTakesTheLastMatchOfTheLastTable) {
    EXPECT_EQ(FindLangKeyByText("Left Key"), "Str210");
    // Keys 271, 284 and 401 of tables 1 and 3: the highest number wins.
    EXPECT_EQ(FindLangKeyByText("Stop"), "Str401");
    // Table 1 has 214 and 283, table 3 has 214 only: table 3's match is the last.
    EXPECT_EQ(FindLangKeyByText("Forward"), "Str214");
    // Only under Str003, which the lookup never asks for (it asks for Str3).
    EXPECT_EQ(FindLangKeyByText("Exit"), "");
    // An empty text equals every missing key.
    EXPECT_EQ(FindLangKeyByText(""), "Str800");
    // Texts of the second table are found as well; comparison is exact.
    EXPECT_EQ(FindLangKeyByText(LanguageText(2, "Str211")), "Str211");
    EXPECT_EQ(FindLangKeyByText("left key"), "");
    EXPECT_EQ(FindLangKeyByText("F5"), "");
}

TEST(LanguageTablesTest, ReverseLookupReadsTheTablesAsTheyStand) {
    ResourceOverride second("LANG2", Utf16Le("[lang2]\r\n\"Str250=Stop\"\r\n\"Str5=Exit\""));
    // Table 2 now has Stop under 250, but table 3's 401 comes later.
    EXPECT_EQ(FindLangKeyByText("Stop"), "Str401");
    EXPECT_EQ(FindLangKeyByText("Exit"), "Str5");
    ResourceOverride third("LANG3", Utf16Le("[lang3]\r\n\"Str12=Stop\""));
    EXPECT_EQ(FindLangKeyByText("Stop"), "Str12");
}

// Tables are parsed once and shared: a table read while another text stands in for the
// resource, and after the built-in one is back, reads each as it stands.
TEST(LanguageTablesTest, SharedTablesFollowTheResourceInAndOut) {
    const std::string builtIn = LanguageText(1, "Str210");
    ASSERT_EQ(FindLangKeyByText("Links"), "");
    {
        ResourceOverride first("LANG1", Utf16Le("[lang1]\r\n\"Str210=Links\""));
        EXPECT_EQ(LanguageText(1, "Str210"), "Links");
        EXPECT_EQ(FindLangKeyByText("Links"), "Str210");
    }
    EXPECT_EQ(LanguageText(1, "Str210"), builtIn);
    EXPECT_EQ(FindLangKeyByText("Links"), "");
    EXPECT_EQ(FindLangKeyByText(builtIn), "Str210");
}

// The start reads the tables on a thread of its own while the window reads them: readers
// on several threads, each time the tables are read afresh, get what one reader alone gets.
TEST(LanguageTablesTest, ReadersOnSeveralThreadsGetWhatOneReaderGets) {
    const std::vector<std::string> texts = {"Left Key", "Stop", "Forward", "Exit", "", "F5"};
    auto readAll = [&] {
        std::vector<std::string> seen;
        for (const std::string& text : texts)
            seen.push_back(FindLangKeyByText(text));
        for (int n = 1; n <= 3; ++n)
            seen.push_back(LanguageText(n, "Str211") + "|" + LanguageText(n, "Str401"));
        return seen;
    };
    const std::vector<std::string> alone = readAll();
    ASSERT_EQ(alone[0], "Str210");
    const std::string second = LanguageText(2, "Str211");
    for (int round = 0; round < 8; ++round) {
        // A table registered anew is read afresh by whoever asks first: here the readers
        // on their threads, at once.
        const std::string name = "LANG" + std::to_string(round % 3 + 1);
        const std::string text =
            Utf16Le(round % 3 == 1 ? "[lang2]\r\n\"Str211=" + second + "\""
                                   : "[" + LowerCase(name) + "]\r\n\"Str210=Left Key\"");
        ResourceOverride fresh(name, text);
        const std::vector<std::string> expected = readAll();
        ResourceOverride again(name, text);
        std::vector<std::vector<std::string>> seen(4);
        {
            std::vector<std::thread> readers;
            for (auto& result : seen)
                readers.emplace_back([&result, &readAll] { result = readAll(); });
            for (std::thread& reader : readers)
                reader.join();
        }
        for (const auto& result : seen)
            EXPECT_EQ(result, expected) << "round " << round;
    }
}

} // namespace
