// The language table applied to the window: captions, fonts, list items, the kept texts and
// the title after each switch; the key labels re-translated; the table's edge cases.
#include "ShellTestSupport.h"

#include "common/Screenshot.h"
#include "controls/skin/InputDialog.h"
#include "window/device/DeviceTexts.h"
#include "window/shell/LanguageTables.h"
#include "window/shell/LanguageTexts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;
using controls::unicode::TWideLabel;
using shell_test::ResourceOverride;
using shell_test::StartedForm;
using shell_test::Utf16Le;
using window::shell::LanguageText;

namespace {

// A control, the key of its text and what stands before the text.
struct CaptionOf {
    std::string control;
    std::string key;
    std::string lead;
};

// The header labels by their first copy; the other four copies read the same.
const std::vector<CaptionOf> HeaderCaptions = {
    {"Btn_Confirm1_1", "Str001", ""}, {"Btn_Confirm2_1", "Str002", ""},
    {"Btn_Confirm3_1", "Str016", ""}, {"Btn_Exit2_1", "Str003", ""},
    {"Btn_Main_1", "Str004", ""},     {"Btn_Switch_1", "Str005", ""},
    {"Btn_Fixed_1", "Str006", ""},    {"Btn_Adv_1", "Str007", ""},
    {"Btn_Breath_1", "Str008", ""},   {"Btn_Macro_1", "Str014", ""},
    {"Btn_Update_1", "Str015", ""},   {"Btn_Save_1", "Str009", ""},
    {"Btn_Load_1", "Str010", ""},     {"Btn_Lang1_1", "Str011", ""},
    {"Btn_Lang2_1", "Str012", ""},    {"Btn_Lang3_1", "Str013", ""}};

// Every other caption the table gives; the menu items' lead is the mark of Str200.
std::vector<CaptionOf> PageCaptions(int n) {
    const std::string mark = " " + LanguageText(n, "Str200") + " ";
    std::vector<CaptionOf> captions;
    for (int j = 1; j <= 8; ++j)
        captions.push_back(
            {"IB_ComboKey" + std::to_string(j), "Str" + std::to_string(699 + j), "      "});
    const std::vector<std::pair<const char*, const char*>> items = {
        {"Key_Standard", "Str201"},
        {"Key_Special", "Str202"},
        {"Key_Media", "Str203"},
        {"Key_WWW", "Str204"},
        {"Key_MyPC", "Str207"},
        {"Key_Assembly", "Str205"},
        {"Key_Macro", "Str206"},
        {"Key_FireMacro", "Str208"},
        {"Key_TLFireMacro", "Str208"},
        {"Key_Left", "Str210"},
        {"Key_Right", "Str211"},
        {"Key_Middle", "Str212"},
        {"Key_B4", "Str213"},
        {"Key_B5", "Str214"},
        {"Key_CPIKey", "Str220"},
        {"Key_CPI", "Str221"},
        {"Key_CPII", "Str222"},
        {"Key_CPID", "Str223"},
        {"Key_Fire", "Str230"},
        {"Key_Fire1", "Str231"},
        {"Key_Fire2", "Str232"},
        {"Key_Fire3", "Str233"},
        {"Key_ACPIKey", "Str240"},
        {"Key_PowerDown", "Str241"},
        {"Key_Sleep", "Str242"},
        {"Key_WakeUp", "Str243"},
        {"Key_ProfileKey", "Str250"},
        {"Key_Profile1", "Str251"},
        {"Key_Profile2", "Str252"},
        {"Key_Profile3", "Str253"},
        {"Key_Profile", "Str254"},
        {"Key_AIM", "Str260"},
        {"Key_LEDMode", "Str261"},
        {"Key_LEDSwitch", "Str262"},
        {"Key_BtnEFT", "Str263"},
        {"Key_ReportRate", "Str264"},
        {"Key_KeyOff", "Str277"},
        {"Key_FireMacroKey", "Str265"},
        {"Key_FireMacroOff", "Str266"},
        {"Key_AdjustXY", "Str267"},
        {"Key_AdjustXYFn", "Str268"},
        {"Key_AdjustXYSwitch", "Str269"},
        {"Key_PlayPause", "Str270"},
        {"Key_Stop", "Str271"},
        {"Key_PreviousTrack", "Str272"},
        {"Key_NextTrack", "Str273"},
        {"Key_VolumePlus", "Str274"},
        {"Key_VolumeMinus", "Str275"},
        {"Key_Mute", "Str276"},
        {"Key_WWWHome", "Str280"},
        {"Key_WWWSearch", "Str281"},
        {"Key_WWWBack", "Str282"},
        {"Key_WWWForward", "Str283"},
        {"Key_WWWStop", "Str284"},
        {"Key_WWWRefresh", "Str285"},
        {"Key_WWWFavorites", "Str286"},
        {"Key_Computer", "Str290"},
        {"Key_Calculator", "Str291"},
        {"Key_EMail", "Str292"},
        {"Key_Desktop", "Str293"}};
    for (const auto& [control, key] : items)
        captions.push_back({control, key, mark});
    const std::vector<std::pair<const char*, const char*>> plain = {
        {"Btn_NewName", "Str402"},
        {"Btn_New", "Str432"},
        {"Btn_Start", "Str400"},
        {"Btn_ExportOne", "Str404"},
        {"Btn_Export", "Str405"},
        {"Btn_ImportOne", "Str406"},
        {"Btn_Import", "Str407"},
        {"Btn_Del", "Str408"},
        {"Btn_Insert", "Str409"},
        {"Btn_Edit", "Str435"},
        {"Btn_NewMacro", "Str432"},
        {"Btn_DelMacro", "Str433"},
        {"Btn_DevExport", "Str405"},
        {"Btn_DelPCMacro", "Str433"},
        {"Btn_AddMacro", "Str434"},
        {"lbl_Delay", "Str417"},
        {"lbl_s_A", "Str418"},
        {"lbl_XAxisValue", "Str454"},
        {"lbl_YAxisValue", "Str455"},
        {"lbl_Repeat", "Str458"},
        {"Btn_InsertStart", "Str400"},
        {"Btn_OK", "Str420"},
        {"Btn_Cancel", "Str422"},
        {"lbl_BINPath", "Str442"},
        {"Btn_LoadBIN", "Str440"},
        {"Btn_Program", "Str441"},
        {"Btn_FireConfirm", "Str620"},
        {"Btn_FireExit", "Str621"},
        {"Btn_FireStart", "Str400"},
        {"Btn_NewFireName", "Str402"},
        {"Btn_FireDel", "Str408"},
        {"Btn_FireInsert", "Str409"},
        {"lbl_FireDelay", "Str417"},
        {"lbl_Fires_A", "Str418"},
        {"lbl_FireXAxisValue", "Str454"},
        {"lbl_FireYAxisValue", "Str455"},
        {"lbl_FireRepeat", "Str458"},
        {"Btn_FireOK", "Str420"},
        {"Btn_FireCancel", "Str422"}};
    for (const auto& [control, key] : plain)
        captions.push_back({control, key, ""});
    const std::string five(5, ' ');
    const std::string six(6, ' ');
    captions.push_back({"IB_InsertRecDelay", "Str414", five});
    captions.push_back({"IB_InsertDelayTime", "Str415", five});
    captions.push_back({"IB_InsertNoDelay", "Str416", five});
    captions.push_back({"IB_FireRecDelay", "Str414", five});
    captions.push_back({"IB_FireDelayTime", "Str415", six});
    captions.push_back({"IB_FireNoDelay", "Str416", six});
    return captions;
}

// Controls that take the language's font besides the header labels: a sample of those
// whose size the layout sets, and the ones named on their own.
const std::vector<std::string> FontSample = {
    "Key1",           "Key12",           "IB_ComboKey8",
    "Key_Standard",   "ST_Standard",     "Key_WWWFavorites",
    "LB_Name",        "LB_Script",       "Edt_Repeat1",
    "lbl_DPI1",       "Btn_FireConfirm", "Btn_FireOK",
    "Btn_FireCancel", "LB_FireMacro",    "LB_FireMacroName",
    "LB_macro",       "edt_Repeat",      "edt_XAxisValue",
    "edt_YAxisValue", "lbl_BINPath",     "lbl_Fires_A",
    "lbl_Repeat",     "lbl_XAxisValue",  "lbl_YAxisValue"};

TControl* Control(window::TForm1& form, const std::string& name) {
    return dynamic_cast<TControl*>(form.FindComponent(name));
}

std::string HeaderCopy(const std::string& first, int k) {
    return first.substr(0, first.size() - 1) + std::to_string(k);
}

void SwitchTo(window::TForm1& form, int n) {
    form.Named<TWideLabel>("Btn_Lang" + std::to_string(n) + "_2").Click();
    ASSERT_EQ(form.LanguageNumber, n);
}

// Every caption and font the table gives, as the table reads, for language n.
void ExpectLanguage(window::TForm1& form, int n) {
    const std::string font = LanguageText(n, "FontName");
    ASSERT_FALSE(font.empty());
    EXPECT_EQ(form.LangFontName, font);
    for (const CaptionOf& c : HeaderCaptions)
        for (int k = 1; k <= 5; ++k) {
            TControl& label = form.Named<TControl>(HeaderCopy(c.control, k));
            EXPECT_EQ(label.Caption(), LanguageText(n, c.key)) << label.Name();
            EXPECT_EQ(label.Font().Name(), font) << label.Name();
        }
    for (int k = 1; k <= 5; ++k) {
        TControl& engineer = form.Named<TControl>("Btn_Engineer_" + std::to_string(k));
        EXPECT_EQ(engineer.Caption(), "Engineer");
        EXPECT_EQ(engineer.Font().Name(), font);
    }
    for (const CaptionOf& c : PageCaptions(n)) {
        TControl* control = Control(form, c.control);
        if (!control) {
            ADD_FAILURE() << c.control << " is not in the design";
            continue;
        }
        EXPECT_EQ(control->Caption(), c.lead + LanguageText(n, c.key)) << c.control;
    }
    for (const std::string& name : FontSample) {
        TControl* control = Control(form, name);
        ASSERT_NE(control, nullptr) << name << " is not in the design";
        EXPECT_EQ(control->Font().Name(), font) << name;
    }

    auto& insert = form.Named<TComboBox>("CB_Insert");
    const std::vector<std::string> insertKeys = {"Str410", "Str411", "Str412", "Str413",
                                                 "Str450", "Str451", "Str456", "Str457"};
    ASSERT_EQ(insert.Items().Count(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(insert.Items()[i], LanguageText(n, insertKeys[i])) << i;
    auto& fire = form.Named<TComboBox>("CB_InsertFire");
    const std::vector<std::string> fireKeys = {"Str410", "Str411", "Str450",
                                               "Str451", "Str456", "Str457"};
    ASSERT_EQ(fire.Items().Count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(fire.Items()[i], LanguageText(n, fireKeys[i])) << i;

#define EXPECT_KEPT(key)                                                                           \
    ASSERT_NE(form.LangTexts.Find(#key), nullptr);                                                 \
    EXPECT_EQ(form.LangTexts.key, LanguageText(n, #key)) << #key;                                  \
    EXPECT_EQ(form.LangTexts.Find(#key), &form.LangTexts.key);
    VTRM_LANG_TEXT_KEYS(EXPECT_KEPT)
#undef EXPECT_KEPT

    EXPECT_EQ(form.TitleText, LanguageText(n, "Title"));
    EXPECT_EQ(Application()->Title(), LanguageText(n, "Title"));
}

TEST(LanguageTextsTest, EachSwitchGivesEveryControlItsTableTextInTheTablesFont) {
    const std::string title = Application()->Title();
    auto form = StartedForm();
    {
        SCOPED_TRACE("start");
        ExpectLanguage(*form, 1);
    }
    const std::string otherFont = form->lbl_Content->Font().Name();
    const std::string iconFont = form->Named<TControl>("Btn_Exit1_3").Font().Name();
    for (int n : {2, 3, 1, 3}) {
        SCOPED_TRACE("language " + std::to_string(n));
        SwitchTo(*form, n);
        ExpectLanguage(*form, n);
        // The language's own button caption, remembered for its hover and leave.
        const std::u16string& remembered = n == 1   ? form->Language1Caption
                                           : n == 2 ? form->Language2Caption
                                                    : form->Language3Caption;
        EXPECT_EQ(remembered, Utf8ToUtf16(LanguageText(n, "Str01" + std::to_string(n))));
        // Only the listed controls change their font.
        EXPECT_EQ(form->lbl_Content->Font().Name(), otherFont);
        EXPECT_EQ(form->Named<TControl>("Btn_Exit1_3").Font().Name(), iconFont);
    }
    Application()->SetTitle(title);
}

TEST(LanguageTextsTest, EveryControlTheTextsNameIsInTheDesign) {
    auto form = StartedForm();
    for (int n = 1; n <= 3; ++n) {
        const window::shell::LanguageTextsReport report =
            window::shell::ApplyLanguageTexts(*form, n, {});
        for (const std::string& name : report.AbsentControls)
            ADD_FAILURE() << "language " << n << ": " << name << " is not in the design";
    }
    // The password dialog takes the language's font for its caption and its text.
    auto* dialog = dynamic_cast<controls::skin::TSkinInputDialog*>(form->FindComponent("dlgPass"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Font().Name(), form->LangFontName);
    EXPECT_EQ(dialog->CaptionFont().Name(), form->LangFontName);
}

TEST(LanguageTextsTest, KeysMissingFromTheThirdTableLeaveTheirCaptionsEmpty) {
    auto form = StartedForm();
    SwitchTo(*form, 3);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(form->Named<TControl>("Btn_Confirm3_" + std::to_string(k)).Caption(), "");
    for (int j = 1; j <= 8; ++j)
        EXPECT_EQ(form->Named<TControl>("IB_ComboKey" + std::to_string(j)).Caption(), "      ");
    SwitchTo(*form, 1);
    EXPECT_EQ(form->Named<TControl>("Btn_Confirm3_4").Caption(), "Confirm 3");
}

TEST(LanguageTextsTest, TraditionalChineseTextsStayWhole) {
    auto form = StartedForm();
    SwitchTo(*form, 2);
    const std::string middle = LanguageText(2, "Str212");
    ASSERT_GT(middle.size(), 3u);
    EXPECT_NE(static_cast<unsigned char>(middle[0]) & 0x80, 0) << "a Chinese text";
    EXPECT_EQ(form->Named<TControl>("Key_Middle").Caption(),
              " " + LanguageText(2, "Str200") + " " + middle);
    EXPECT_EQ(form->LangTexts.Str212, middle);
    EXPECT_EQ(TWideLabel::GetCaption(&form->Named<TWideLabel>("Btn_Main_5")),
              Utf8ToUtf16(LanguageText(2, "Str004")));
}

TEST(LanguageTextsTest, KeyLabelsAreReTranslatedWhenTheirTextIsInATable) {
    auto form = StartedForm();
    auto caption = [&](int j) {
        return form->Named<TControl>("Key" + std::to_string(j)).Caption();
    };
    auto set = [&](int j, const std::string& text) {
        form->Named<TControl>("Key" + std::to_string(j)).SetCaption(text);
    };
    set(1, "F5");                      // a key name: in no table
    set(2, LanguageText(2, "Str212")); // language 2's middle key
    set(3, "Forward");                 // 214 and 283 in table 1, 214 only in table 3
    set(4, "Stop");                    // 271, 284 and 401: the last match is 401
    set(5, "Exit");                    // Str003: the search never asks for Str3
    set(7, LanguageText(3, "Str100")); // table 3's wording
    SwitchTo(*form, 2);
    EXPECT_EQ(caption(1), "F5");
    EXPECT_EQ(caption(2), LanguageText(2, "Str212"));
    EXPECT_EQ(caption(3), LanguageText(2, "Str214"));
    EXPECT_EQ(caption(4), LanguageText(2, "Str401"));
    EXPECT_EQ(caption(5), "Exit");
    EXPECT_EQ(caption(7), LanguageText(2, "Str100"));
    SwitchTo(*form, 3);
    EXPECT_EQ(caption(2), "Middle Key");
    EXPECT_EQ(caption(3), "Forward");
    EXPECT_EQ(caption(4), "Stop");
    EXPECT_EQ(caption(7), "No Device Found");
    SwitchTo(*form, 1);
    EXPECT_EQ(caption(7), "Waiting to reconnect device");
}

TEST(LanguageTextsTest, MenuItemsReadBlankMarkBlankAndTheirText) {
    auto form = StartedForm();
    EXPECT_EQ(form->Named<TControl>("Key_Standard").Caption(), " * Standard Mouse Key");
    ResourceOverride table(
        "LANG3", Utf16Le("[lang3]\r\n\"Str200=#\"\r\n\"Str201=Mouse Keys\"\r\n\"Str240=ACPI\""));
    SwitchTo(*form, 3);
    EXPECT_EQ(form->Named<TControl>("Key_Standard").Caption(), " # Mouse Keys");
    EXPECT_EQ(form->Named<TControl>("Key_ACPIKey").Caption(), " # ACPI");
    // A key the table lacks still gets the mark.
    EXPECT_EQ(form->Named<TControl>("Key_Sleep").Caption(), " # ");
}

TEST(LanguageTextsTest, TableWithoutTheMarkIsReadFromItsFirstByte) {
    auto form = StartedForm();
    ResourceOverride table("LANG3",
                           Utf16Le("[lang3]\r\n\"FontName=DejaVu Serif\"\r\n\"Title=Plain\"\r\n"
                                   "\"Str003=Quit now\"\r\nStr004=Office Mode",
                                   false));
    const std::string title = Application()->Title();
    SwitchTo(*form, 3);
    for (int k = 1; k <= 5; ++k) {
        TControl& exit = form->Named<TControl>("Btn_Exit2_" + std::to_string(k));
        EXPECT_EQ(exit.Caption(), "Quit now");
        EXPECT_EQ(exit.Font().Name(), "DejaVu Serif");
    }
    // Unquoted, the entry falls apart at its blank.
    EXPECT_EQ(form->Named<TControl>("Btn_Main_1").Caption(), "Office");
    EXPECT_EQ(form->LangTexts.Str004, "Office");
    EXPECT_EQ(form->LangTexts.Str100, "");
    EXPECT_EQ(Application()->Title(), "Plain");
    Application()->SetTitle(title);
}

TEST(LanguageTextsTest, MissingTableStopsWithTheResourceError) {
    auto form = StartedForm();
    EXPECT_THROW(window::shell::ApplyLanguageTexts(*form, 4, {}), EResNotFound);
    EXPECT_EQ(form->LangTexts.Str100, "Waiting to reconnect device");
}

TEST(LanguageTextsTest, ShortInsertListStopsThereAndKeepsWhatWasSet) {
    auto form = StartedForm();
    auto& insert = form->Named<TComboBox>("CB_Insert");
    insert.Items().Delete(7);
    form->LangTexts.Str600 = "before";
    form->LanguageNumber = 3;
    EXPECT_THROW(form->ApplySkin(), EStringListError);
    // Everything before the list is in language 3; the fire presets come after it.
    EXPECT_EQ(form->LangTexts.Str100, "No Device Found");
    EXPECT_EQ(form->Named<TControl>("Btn_Main_2").Caption(), "Office Mode");
    EXPECT_EQ(insert.Items()[6], LanguageText(3, "Str456"));
    EXPECT_EQ(form->LangTexts.Str600, "before");
}

TEST(LanguageTextsTest, OnlyKeptKeysHaveAField) {
    window::shell::TLangTexts texts;
    EXPECT_EQ(texts.Find("Str020"), nullptr);
    EXPECT_EQ(texts.Find("Str211"), nullptr);
    EXPECT_EQ(texts.Find("Str1"), nullptr);
    EXPECT_EQ(texts.Find("str100"), nullptr);
    ASSERT_NE(texts.Find("Str606"), nullptr);
    *texts.Find("Str606") = "last";
    EXPECT_EQ(texts.Str606, "last");
}

TEST(LanguageTextsTest, DeviceMessagesAreTheWindowsKeptTexts) {
    ASSERT_EQ(window::Form1, nullptr);
    auto form = StartedForm();
    window::Form1 = form.get();
    SwitchTo(*form, 3);
    EXPECT_EQ(window::device::DeviceText("Str102"), "VTRM4083BData.bin file type error");
    form->LangTexts.Str107 = "kept text";
    EXPECT_EQ(window::device::DeviceText("Str107"), "kept text");
    // A key the window does not keep has no message text.
    EXPECT_EQ(window::device::DeviceText("Str020"), "");
    window::Form1 = nullptr;
}

// The start window in each language, for a person to look at.
TEST(LanguageTextsTest, ScreenshotsOfTheStartWindowInEachLanguage) {
    const std::string title = Application()->Title();
    auto form = StartedForm();
    form->Show();
    for (int n = 1; n <= 3; ++n) {
        SwitchTo(*form, n);
        const QString name = QString("Language%1").arg(n);
        EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), name).isEmpty());
    }
    Application()->SetTitle(title);
}

TEST(LanguageTextsTest, ScreenshotsOfTheFirePageInEachLanguage) {
    const std::string title = Application()->Title();
    auto form = StartedForm();
    form->Show();
    for (int n = 1; n <= 3; ++n) {
        SwitchTo(*form, n);
        form->Named<TWideLabel>("Key_FireMacro").Click();
        ASSERT_TRUE(form->gbPage6->Visible());
        EXPECT_EQ(form->Named<TControl>("Btn_FireConfirm").Caption(), LanguageText(n, "Str620"));
        const QString name = QString("FirePage%1").arg(n);
        EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), name).isEmpty());
        form->Named<TWideLabel>("Btn_FireExit").Click();
    }
    Application()->SetTitle(title);
}

} // namespace
