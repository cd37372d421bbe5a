// The three per-language layout texts as data: their form, every key the window reads, and
// the language switches each of them offers.
#include "LayoutTestSupport.h"
#include "ShellTestSupport.h"

#include "window/shell/LayoutApply.h"
#include "window/shell/LayoutText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <tuple>

using namespace platform::rtl;
using namespace platform::vcl;
using layout_test::Lines;
using layout_test::ShippedLayout;
using shell_test::StartedForm;

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Keys a layout text holds for others than the main window's layout pass: the small
// dialogs, the cell styles of the speed rows and the fire page's own text colour.
bool KeptForOthers(const std::string& key) {
    for (const char* prefix : {"Size_K", "Color_K", "AK", "MK_", "Size_L", "Color_L", "MN",
                               "Size_M", "Color_M", "NewX", "NewY"})
        if (StartsWith(key, prefix)) return true;
    return key == "Spd_D" || key == "DbSpd_D" || key == "ScrSpd_D" || key == "Color_J_R" ||
           key == "Color_J_G" || key == "Color_J_B";
}

std::vector<std::string> KeysOf(const TMemIniFile& ini, const std::string& section) {
    TStringList keys;
    ini.ReadSection(section, keys);
    std::vector<std::string> all;
    for (int i = 0; i < keys.Count(); ++i)
        all.push_back(keys[i]);
    return all;
}

TEST(LayoutTextsTest, EachTextIsPlainTextWithCrLfLinesAndItsOwnSection) {
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const std::string text = ShippedLayout(n);
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        for (size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "line end at " << i;
        const TMemIniFile ini = window::shell::LoadLayoutText("org" + std::to_string(n));
        TStringList sections;
        ini.ReadSections(sections);
        ASSERT_EQ(sections.Count(), 1);
        EXPECT_EQ(sections[0], "org" + std::to_string(n));
        // Every entry is an integer; the window converts each one it reads.
        for (const std::string& key : KeysOf(ini, sections[0]))
            EXPECT_NO_THROW(StrToInt(ini.ReadString(sections[0], key, ""))) << key;
    }
}

TEST(LayoutTextsTest, EveryKeyTheWindowReadsIsThereAndEveryOtherKeyHasAReader) {
    auto form = StartedForm();
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const std::string section = "org" + std::to_string(n);
        const TMemIniFile ini = window::shell::LoadLayoutText(section);
        window::shell::LayoutReport report;
        ASSERT_NO_THROW(report = window::shell::ApplyLayoutSection(*form, ini, section));
        const std::set<std::string> read(report.KeysRead.begin(), report.KeysRead.end());
        for (const std::string& key : read)
            EXPECT_TRUE(ini.ValueExists(section, key)) << key;
        for (const std::string& key : KeysOf(ini, section)) {
            if (read.count(key) || KeptForOthers(key)) continue;
            // The place of a hidden button is not read.
            const size_t cut = key.rfind('_');
            const std::string prefix = key.substr(0, cut);
            const bool hiddenPlace = (key.substr(cut) == "_X" || key.substr(cut) == "_Y") &&
                                     ini.ReadString(section, prefix + "_Enable", "") == "0";
            EXPECT_TRUE(hiddenPlace) << key << " is read by nobody";
        }
    }
}

TEST(LayoutTextsTest, LanguageSwitchesConfirmButtonsAndKeySwitchesOfEachLanguage) {
    auto form = StartedForm();
    struct Expected {
        bool lang[3];
        bool confirm3;
    };
    // A table without a caption for a control leaves the caption empty; the control stays.
    // The third language keeps the key page's eight switches and the third confirm button
    // within reach, with empty captions.
    const Expected expected[] = {
        {{false, false, false}, false}, {{true, true, true}, true}, {{true, false, true}, true}};
    // The eighth switch shows on the second profile's key page with the gun display.
    form->rb_2->SetChecked(true);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        form->LanguageNumber = n;
        form->ApplySkin();
        EXPECT_TRUE(form->ComboKey8Enabled);
        for (int j = 1; j <= 8; ++j)
            for (const char* stem : {"IB_ComboKey", "Img_ComboKey"})
                EXPECT_TRUE(form->Named<TControl>(stem + std::to_string(j)).Visible()) << stem << j;
        for (int page = 1; page <= 5; ++page) {
            const std::string k = "_" + std::to_string(page);
            for (int l = 1; l <= 3; ++l) {
                const std::string lang = "Lang" + std::to_string(l);
                EXPECT_EQ(form->Named<TControl>("Img_" + lang + k).Visible(),
                          expected[n - 1].lang[l - 1])
                    << lang << k;
                EXPECT_EQ(form->Named<TControl>("Btn_" + lang + k).Visible(),
                          expected[n - 1].lang[l - 1])
                    << lang << k;
            }
            EXPECT_TRUE(form->Named<TControl>("Btn_Confirm1" + k).Visible());
            EXPECT_TRUE(form->Named<TControl>("Btn_Confirm2" + k).Visible());
            EXPECT_EQ(form->Named<TControl>("Btn_Confirm3" + k).Visible(),
                      expected[n - 1].confirm3);
        }
    }
}

// Font sizes and text colours of the header buttons, as the three sections ship them.
TEST(LayoutTextsTest, HeaderFontSizesAndColoursOfEachSection) {
    struct Expected {
        int sizeA, sizeB, r, g, b;
    };
    const Expected expected[] = {
        {11, 12, 255, 255, 255}, {11, 11, 255, 255, 255}, {11, 13, 64, 196, 221}};
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const std::string section = "org" + std::to_string(n);
        const TMemIniFile ini = TMemIniFile::FromText(ShippedLayout(n));
        const Expected& e = expected[n - 1];
        EXPECT_EQ(ini.ReadString(section, "Size_A", ""), std::to_string(e.sizeA));
        EXPECT_EQ(ini.ReadString(section, "Size_B", ""), std::to_string(e.sizeB));
        for (const char* group : {"Color_A", "Color_B"}) {
            EXPECT_EQ(ini.ReadString(section, std::string(group) + "_R", ""), std::to_string(e.r));
            EXPECT_EQ(ini.ReadString(section, std::string(group) + "_G", ""), std::to_string(e.g));
            EXPECT_EQ(ini.ReadString(section, std::string(group) + "_B", ""), std::to_string(e.b));
        }
    }
}

TEST(LayoutTextsTest, EverySectionFindsEveryControlItPlaces) {
    auto form = StartedForm();
    for (const char* section : {"org1", "org2", "org3"}) {
        const window::shell::LayoutReport all = window::shell::ApplyLayoutSection(
            *form, window::shell::LoadLayoutText(section), section);
        for (const std::string& name : all.AbsentControls)
            ADD_FAILURE() << section << ": " << name << " is not in the design";
    }
}

// Layout texts are read once and shared, also by the start's own thread: readers on
// several threads get what one reader alone gets, a text registered anew is read anew,
// and the built-in one is back once the stand-in goes.
TEST(LayoutTextsTest, SharedTextsFollowTheResourceOnEveryThread) {
    auto read = [](const std::string& name) {
        return window::shell::SharedLayoutText(name)->ReadString(name, "Web", "-") + "|" +
               window::shell::LoadLayoutText(name).ReadString(name, "Size_A", "-");
    };
    const std::string builtIn = read("org1");
    ASSERT_NE(builtIn, "first|11");
    const std::tuple<const char*, const char*, const char*> standIns[] = {
        {"org1", "[org1]\r\nWeb=first\r\nSize_A=11\r\n", "first|11"},
        {"org1", "[org1]\r\nWeb=second\r\n", "second|-"},
        {"org2", "[org2]\r\nSize_A=7\r\n", "-|7"},
        {"org", "[org]\r\nWeb=http://example.org/\r\n", "http://example.org/|-"},
    };
    for (const auto& [name, text, expected] : standIns) {
        SCOPED_TRACE(text);
        shell_test::ResourceOverride standIn(name, text);
        EXPECT_EQ(read(name), expected);
        // Registered anew, the text is read afresh by whoever asks first: here four
        // readers at once.
        shell_test::ResourceOverride again(name, text);
        std::vector<std::string> seen(4);
        std::vector<std::thread> readers;
        for (std::string& result : seen)
            readers.emplace_back([&result, &read, name = name] { result = read(name); });
        for (std::thread& reader : readers)
            reader.join();
        for (const std::string& result : seen)
            EXPECT_EQ(result, expected);
    }
    EXPECT_EQ(read("org1"), builtIn);
}

} // namespace
