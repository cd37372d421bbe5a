// The engineering page's caption table, the choice of its column by the locale, and the
// captions, items and fonts it gives the page.
#include "ShellTestSupport.h"

#include "platform/win/Locale.h"
#include "window/shell/Lang.h"
#include "window/shell/LanguageCaptions.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;
using platform::win::GetThreadLocale;
using platform::win::LocaleIdFromName;
using shell_test::StartedForm;
using window::shell::GetTermCaption;
using window::shell::Terms;

namespace {

// Sets the locale variables for the length of a test and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (const char* name : Names) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~LocaleEnvironment() {
        for (size_t i = 0; i < saved_.size(); ++i)
            if (saved_[i])
                setenv(Names[i], saved_[i]->c_str(), 1);
            else
                unsetenv(Names[i]);
        window::shell::TermColumn = window::shell::TermColumnEnglish;
    }
    void Set(const char* name, const char* value) { setenv(name, value, 1); }

private:
    static constexpr const char* Names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

std::string TermText(int id, int column) {
    return Terms.at(id).caption.at(column);
}

// ---- The table ------------------------------------------------------------------------

TEST(CaptionTableTest, EveryIdOnceAtItsPositionWithEnglishAndChineseTexts) {
    for (int i = 0; i < window::shell::TermCount; ++i) {
        EXPECT_EQ(Terms[i].id, i);
        EXPECT_STRNE(Terms[i].caption[0], "") << i;
        EXPECT_STREQ(Terms[i].caption[1], "") << i;
        EXPECT_STRNE(Terms[i].caption[2], "") << i;
        // The Chinese column is Chinese wherever the English has a word.
        const std::string english = Terms[i].caption[0];
        if (english.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos &&
            english != "RGB LED" && english != "ZK LED" && english != "VID:" && english != "PID:") {
            EXPECT_STRNE(Terms[i].caption[0], Terms[i].caption[2]) << i;
        }
    }
}

TEST(CaptionTableTest, QuotedCaptions) {
    const std::vector<std::pair<int, std::string>> english = {
        {0, "Office Mode"},         {2, "Profile3"},
        {13, "Load Patch Code"},    {20, "ZK LED"},
        {28, "Sync No-breath"},     {49, "Repeat"},
        {50, "Time (*1ms)"},        {52, "VID/PID/USB Description"},
        {58, "LED Color"},          {89, "CPI Color"},
        {98, "'Back'+'Right Key'"}, {107, "Enable Gun Key Switch Gaimg Mode"},
        {114, "Profile 3 Color:"},  {125, "Fixed Color"},
        {133, "Profile 3"},         {143, "Delect Fire Key"}};
    for (const auto& [id, text] : english)
        EXPECT_EQ(TermText(id, 0), text) << id;
    // Colour k, channel R, G, B at 59 + 3 (k - 1) + channel; "Color k" at 114 + k.
    for (int k = 1; k <= 10; ++k) {
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_EQ(TermText(59 + 3 * (k - 1) + channel, 0),
                      "Color" + std::to_string(k) + " " + "RGB"[channel] + ":");
        EXPECT_EQ(TermText(114 + k, 0), "Color " + std::to_string(k));
    }
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(TermText(36 + k, 0), "CPI " + std::to_string(k) + ":");
    EXPECT_EQ(TermText(13, 2), "载入Patch Code");
    EXPECT_EQ(TermText(58, 2), "LED 10种基本灯效颜色设定");
    EXPECT_EQ(TermText(89, 2), "各档CPI对应颜色设定");
}

TEST(CaptionTableTest, LookupReturnsTheCurrentColumnAndLeavesUnknownIdsAlone) {
    LocaleEnvironment environment;
    std::string text = "kept";
    GetTermCaption(200, text);
    EXPECT_EQ(text, "kept");
    GetTermCaption(144, text);
    EXPECT_EQ(text, "kept");
    GetTermCaption(143, text);
    EXPECT_EQ(text, "Delect Fire Key");
    window::shell::TermColumn = window::shell::TermColumnChinese;
    GetTermCaption(0, text);
    EXPECT_EQ(text, "办公模式");
    window::shell::TermColumn = 1;
    GetTermCaption(0, text);
    EXPECT_EQ(text, "");
}

// ---- Locale ---------------------------------------------------------------------------

TEST(CaptionTableTest, LocaleIdsFromLocaleNames) {
    EXPECT_EQ(LocaleIdFromName("zh_CN.UTF-8"), 2052u);
    EXPECT_EQ(LocaleIdFromName("zh_CN"), 2052u);
    EXPECT_EQ(LocaleIdFromName("ZH_cn.gb18030@stroke"), 2052u);
    EXPECT_EQ(LocaleIdFromName("zh_TW.UTF-8"), 1028u);
    EXPECT_EQ(LocaleIdFromName("zh_HK.UTF-8"), 3076u);
    EXPECT_EQ(LocaleIdFromName("zh_SG.UTF-8"), 4100u);
    EXPECT_EQ(LocaleIdFromName("en_US.UTF-8"), 1033u);
    EXPECT_EQ(LocaleIdFromName("en_GB"), 2057u);
    EXPECT_EQ(LocaleIdFromName("de_DE@euro"), 1031u);
    // A region the table does not list takes the language's main region.
    EXPECT_EQ(LocaleIdFromName("de_LU.UTF-8"), 1031u);
    EXPECT_EQ(LocaleIdFromName("C.UTF-8"), 1033u);
    EXPECT_EQ(LocaleIdFromName("POSIX"), 1033u);
    EXPECT_EQ(LocaleIdFromName(""), 1033u);
    EXPECT_EQ(LocaleIdFromName("xx_YY"), 1033u);
}

TEST(CaptionTableTest, ThreadLocaleFollowsTheVariablesInTheLibrarysOrder) {
    LocaleEnvironment environment;
    EXPECT_EQ(GetThreadLocale(), 1033u);
    environment.Set("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(GetThreadLocale(), 2052u);
    environment.Set("LC_MESSAGES", "zh_TW.UTF-8");
    EXPECT_EQ(GetThreadLocale(), 1028u);
    environment.Set("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(GetThreadLocale(), 1031u);
    // An empty variable counts as unset.
    environment.Set("LC_ALL", "");
    EXPECT_EQ(GetThreadLocale(), 1028u);
}

// ---- The engineering page -------------------------------------------------------------

std::string Caption(window::TForm1& form, const char* name) {
    return form.Named<TControl>(name).Caption();
}

std::vector<std::string> Items(window::TForm1& form, const char* name) {
    return form.Named<TComboBox>(name).Items().ToVector();
}

TEST(CaptionTableTest, StartUpInAChineseLocaleCaptionsThePageInChinese) {
    LocaleEnvironment environment;
    environment.Set("LANG", "zh_CN.UTF-8");
    auto form = StartedForm();
    EXPECT_EQ(window::shell::TermColumn, window::shell::TermColumnChinese);
    EXPECT_EQ(Caption(*form, "Btn_Main_6"), TermText(0, 2));
    EXPECT_EQ(Caption(*form, "Btn_PatchCode"), "载入Patch Code");
    EXPECT_EQ(Caption(*form, "gbLEDColor"), "LED 10种基本灯效颜色设定");
    EXPECT_EQ(Caption(*form, "gbCPIColor"), "各档CPI对应颜色设定");
    // Labels carry their captions as wide text.
    EXPECT_EQ(form->Named<controls::unicode::TWideLabel>("lbl_Col10B").WideCaption(),
              Utf8ToUtf16(TermText(88, 2)));
    // The font face is the same in both columns; the user pages' language does not matter.
    EXPECT_EQ(form->Named<TControl>("Btn_Main_6").Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form->LanguageNumber, 1);
}

TEST(CaptionTableTest, TaiwanAndUsLocalesCaptionThePageInEnglish) {
    for (const char* locale : {"zh_TW.UTF-8", "en_US.UTF-8"}) {
        LocaleEnvironment environment;
        environment.Set("LC_ALL", locale);
        auto form = StartedForm();
        EXPECT_EQ(window::shell::TermColumn, window::shell::TermColumnEnglish) << locale;
        EXPECT_EQ(Caption(*form, "Btn_Main_6"), "Office Mode") << locale;
        EXPECT_EQ(Caption(*form, "btn_DelScript"), "Delect Fire Key") << locale;
    }
}

TEST(CaptionTableTest, OnlyTheColumnWithoutTextsWouldChangeTheFontFace) {
    LocaleEnvironment environment;
    auto form = StartedForm();
    window::shell::TermColumn = 1;
    form->ApplyLanguageCaptions();
    EXPECT_EQ(form->Named<TControl>("Btn_Main_6").Font().Name(), "Microsoft JhengHei");
    EXPECT_EQ(form->Named<TControl>("btn_DelScript").Font().Name(), "Microsoft JhengHei");
    // Each caption starts empty, so the empty column empties the page.
    EXPECT_EQ(Caption(*form, "lbl_Col1R"), "");
    EXPECT_EQ(Items(*form, "cb_ProfileColor"), std::vector<std::string>(11, ""));
}

TEST(CaptionTableTest, CaptionsAndItemsOfTheEnglishColumn) {
    LocaleEnvironment environment;
    auto form = StartedForm();
    // Labels named after one role show another role's caption where the table says so.
    EXPECT_EQ(Caption(*form, "lbl_Fire1Time"), "Repeat");
    EXPECT_EQ(Caption(*form, "lbl_Fire2Time"), "Time (*1ms)");
    EXPECT_EQ(Caption(*form, "gbLEDMode"), "LED Setting");
    EXPECT_EQ(Caption(*form, "SkinGroupBox1"), "LED Setting");
    for (const char* box : {"cb_Fire1Continue", "cb_Fire2Continue", "cb_Fire3Continue"})
        EXPECT_EQ(Caption(*form, box), "Continue") << box;
    EXPECT_EQ(Caption(*form, "gbProfile2"), "Gaming Mode");
    EXPECT_EQ(Caption(*form, "cb_ProfileTest"), "Profile");

    std::vector<std::string> colours;
    for (int k = 1; k <= 10; ++k)
        colours.push_back("Color " + std::to_string(k));
    colours.push_back("Fixed Color");
    for (const char* combo :
         {"cb_Profile1Color", "cb_Profile2Color", "cb_Profile3Color", "cb_ProfileColor"})
        EXPECT_EQ(Items(*form, combo), colours) << combo;
    EXPECT_EQ(Items(*form, "cb_LEDMode"),
              (std::vector<std::string>{"RGB LED", "Sync LED", "ZK LED"}));
    EXPECT_EQ(Items(*form, "cb_ChangeLEDModeFun"),
              (std::vector<std::string>{"No", "'Back'+'Right Key'"}));
    EXPECT_EQ(
        Items(*form, "cb_ChangeFireFun"),
        (std::vector<std::string>{"No", "Press 'Middle Key'", "Press 'CPI Loop'", "Press 'CPI +'",
                                  "Press 'CPI -'", "'Back'+'Right Key'", "'Forward'+'Right Key'"}));
    EXPECT_EQ(Items(*form, "cb_BtnEFT"), (std::vector<std::string>{"Off", "On"}));
    EXPECT_EQ(Items(*form, "cb_Profile"),
              (std::vector<std::string>{"Office Mode", "Gaming Mode", "Profile 3"}));

    const std::array<std::string, 14> modes = {
        "Off",         "Random",         "Sequence", "Fixed",  "Blend", "CPI Breath", "Off",
        "Sync Breath", "Sync No-breath", "Off",      "Random", "Blend", "Fixed",      "CPI Breath"};
    EXPECT_EQ(window::shell::LedModeNames, modes);
}

TEST(CaptionTableTest, EveryCaptionOfTheTableReachesThePage) {
    // In the Chinese column no caption of the design can be mistaken for one of the table.
    LocaleEnvironment environment;
    environment.Set("LC_ALL", "zh_CN.UTF-8");
    auto form = StartedForm();
    std::set<std::string> shown(window::shell::LedModeNames.begin(),
                                window::shell::LedModeNames.end());
    for (TComponent* c : form->Components()) {
        if (auto* control = dynamic_cast<TControl*>(c)) shown.insert(control->Caption());
        if (auto* combo = dynamic_cast<TComboBox*>(c))
            for (const std::string& item : combo->Items().ToVector())
                shown.insert(item);
    }
    for (int id = 0; id < window::shell::TermCount; ++id)
        EXPECT_TRUE(shown.count(TermText(id, 2))) << id << " " << TermText(id, 2);
}

TEST(CaptionTableTest, LanguageButtonsLeaveTheEngineeringCaptions) {
    LocaleEnvironment environment;
    environment.Set("LANG", "zh_CN.UTF-8");
    auto form = StartedForm();
    form->Btn_Lang3_0Click(nullptr);
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(Caption(*form, "Btn_Main_6"), TermText(0, 2));
    EXPECT_EQ(Items(*form, "cb_BtnEFT"),
              (std::vector<std::string>{TermText(110, 2), TermText(111, 2)}));
}

} // namespace
