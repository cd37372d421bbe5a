#include "window/shell/LanguageTexts.h"

#include "controls/skin/InputDialog.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/StdCtrls.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"
#include "window/shell/LayoutApply.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace window::shell {

namespace {

template <class Texts, class Field> Field* FindText(Texts& texts, std::string_view key) {
    struct Entry {
        const char* key;
        std::string TLangTexts::*field;
    };
    static const Entry entries[] = {
#define VTRM_LANG_TEXT_ENTRY(key) {#key, &TLangTexts::key},
        VTRM_LANG_TEXT_KEYS(VTRM_LANG_TEXT_ENTRY)
#undef VTRM_LANG_TEXT_ENTRY
    };
    for (const Entry& e : entries)
        if (key == e.key) return &(texts.*e.field);
    return nullptr;
}

// The header labels that exist once on each of the pages 1 to 5, by their first copy.
const char* const HeaderLabels[] = {
    "Btn_Confirm1_1", "Btn_Confirm2_1", "Btn_Confirm3_1", "Btn_Exit2_1",  "Btn_Main_1",
    "Btn_Switch_1",   "Btn_Fixed_1",    "Btn_Adv_1",      "Btn_Breath_1", "Btn_Macro_1",
    "Btn_Update_1",   "Btn_Engineer_1", "Btn_Save_1",     "Btn_Load_1",   "Btn_Lang1_1",
    "Btn_Lang2_1",    "Btn_Lang3_1"};

constexpr int HeaderCopies = 5;

std::string Copy(const std::string& firstCopy, int k) {
    return firstCopy.substr(0, firstCopy.size() - 1) + std::to_string(k);
}

// One pass of a language table over the window. Controls are found by name; one the
// design does not have is named in the report and skipped, so that it does not keep the
// rest of the window from its texts.
class TLanguageTextsApplier {
public:
    TLanguageTextsApplier(TForm1& form, int n)
        : form_(form), table_(SharedLanguageTable(n)), section_(LanguageSectionName(n)) {}

    void Apply(const std::vector<std::string>& fontControls);
    LanguageTextsReport Report() const { return report_; }

private:
    std::string Text(const std::string& key) const { return table_->ReadString(section_, key, ""); }

    platform::vcl::TControl* Find(const std::string& name) {
        platform::vcl::TComponent* component = form_.FindComponent(name);
        if (!component) {
            if (std::find(report_.AbsentControls.begin(), report_.AbsentControls.end(), name) ==
                report_.AbsentControls.end())
                report_.AbsentControls.push_back(name);
            return nullptr;
        }
        auto* control = dynamic_cast<platform::vcl::TControl*>(component);
        if (!control) throw platform::rtl::Exception("Component " + name + " is not a control");
        return control;
    }

    void Keep(const std::string& key) { *form_.LangTexts.Find(key) = Text(key); }

    void SetFontName(const std::string& name) {
        if (platform::vcl::TControl* c = Find(name)) c->Font().SetName(form_.LangFontName);
    }

    // Wide labels convert the narrow text to UTF-16; buttons and boxes take it as it is.
    void SetCaption(const std::string& name, const std::string& caption) {
        if (platform::vcl::TControl* c = Find(name)) c->SetCaption(caption);
    }

    void Caption(const std::string& name, const std::string& key) { SetCaption(name, Text(key)); }

    // Replaces items 0, 1, .. of an insert list in place; the list must already hold them.
    void ReplaceItems(const std::string& name, std::initializer_list<const char*> keys) {
        platform::vcl::TControl* c = Find(name);
        if (!c) return;
        auto* list = dynamic_cast<platform::vcl::TComboBox*>(c);
        if (!list) throw platform::rtl::Exception("Component " + name + " has the wrong class");
        int index = 0;
        for (const char* key : keys)
            list->Items().Put(index++, Text(key));
    }

    void ApplyFonts(const std::vector<std::string>& fontControls);
    void ApplyHeader();
    void RetranslateKeyLabels();
    void ApplyKeyMenu();
    void ApplyMacroPage();
    void ApplyFirePage();

    TForm1& form_;
    const std::shared_ptr<const platform::rtl::TMemIniFile> table_;
    const std::string section_;
    LanguageTextsReport report_;
};

void TLanguageTextsApplier::ApplyFonts(const std::vector<std::string>& fontControls) {
    form_.LangFontName = Text("FontName");
    for (const char* first : HeaderLabels)
        for (int k = 1; k <= HeaderCopies; ++k)
            SetFontName(Copy(first, k));
    for (const std::string& name : fontControls)
        SetFontName(name);
    for (const char* name :
         {"Btn_FireOK", "Btn_FireCancel", "LB_FireMacro", "LB_FireMacroName", "LB_macro",
          "edt_Repeat", "edt_XAxisValue", "edt_YAxisValue", "lbl_BINPath", "lbl_Fires_A",
          "lbl_Repeat", "lbl_XAxisValue", "lbl_YAxisValue"})
        SetFontName(name);
    // The password dialog of the engineering unlock: its caption and its text.
    if (auto* dialog =
            dynamic_cast<controls::skin::TSkinInputDialog*>(form_.FindComponent("dlgPass"))) {
        dialog->CaptionFont().SetName(form_.LangFontName);
        dialog->Font().SetName(form_.LangFontName);
    } else {
        report_.AbsentControls.push_back("dlgPass");
    }
}

void TLanguageTextsApplier::ApplyHeader() {
    static const std::pair<const char*, const char*> captions[] = {
        {"Btn_Confirm1_1", "Str001"}, {"Btn_Confirm2_1", "Str002"}, {"Btn_Confirm3_1", "Str016"},
        {"Btn_Exit2_1", "Str003"},    {"Btn_Main_1", "Str004"},     {"Btn_Switch_1", "Str005"},
        {"Btn_Fixed_1", "Str006"},    {"Btn_Adv_1", "Str007"},      {"Btn_Breath_1", "Str008"},
        {"Btn_Macro_1", "Str014"},    {"Btn_Update_1", "Str015"},   {"Btn_Engineer_1", nullptr},
        {"Btn_Save_1", "Str009"},     {"Btn_Load_1", "Str010"},     {"Btn_Lang1_1", "Str011"},
        {"Btn_Lang2_1", "Str012"},    {"Btn_Lang3_1", "Str013"}};
    for (const auto& [first, key] : captions) {
        // The engineering entry is a service function and keeps one name in every language.
        const std::string caption = key ? Text(key) : std::string("Engineer");
        for (int k = 1; k <= HeaderCopies; ++k)
            SetCaption(Copy(first, k), caption);
    }
}

// The key labels show function names in whatever language was current when they were
// set; a name found in any table becomes the same key's name in this one.
void TLanguageTextsApplier::RetranslateKeyLabels() {
    for (int j = 1; j <= 12; ++j) {
        auto* label = dynamic_cast<controls::unicode::TWideLabel*>(Find(LayoutName("Key", j)));
        if (!label) continue;
        const std::string key = FindLangKeyByText(
            platform::rtl::Utf16ToUtf8(controls::unicode::TWideLabel::GetCaption(label)));
        if (!key.empty()) label->SetCaption(Text(key));
    }
}

void TLanguageTextsApplier::ApplyKeyMenu() {
    // The check box picture sits at the left end of each combination label.
    for (int j = 1; j <= 8; ++j)
        SetCaption(LayoutName("IB_ComboKey", j), "      " + Text(LayoutName("Str", 699 + j)));

    const std::string mark = " " + Text("Str200") + " ";
    auto item = [&](const char* name, const char* key) { SetCaption(name, mark + Text(key)); };
    item("Key_Standard", "Str201");
    item("Key_Special", "Str202");
    item("Key_Media", "Str203");
    item("Key_WWW", "Str204");
    item("Key_MyPC", "Str207");
    item("Key_Assembly", "Str205");
    item("Key_Macro", "Str206");
    item("Key_FireMacro", "Str208");
    item("Key_TLFireMacro", "Str208");
    item("Key_Left", "Str210");
    Keep("Str210");
    item("Key_Right", "Str211");
    item("Key_Middle", "Str212");
    Keep("Str212");
    item("Key_B4", "Str213");
    Keep("Str213");
    item("Key_B5", "Str214");
    Keep("Str214");
    item("Key_CPIKey", "Str220");
    item("Key_CPI", "Str221");
    Keep("Str221");
    item("Key_CPII", "Str222");
    Keep("Str222");
    item("Key_CPID", "Str223");
    Keep("Str223");
    item("Key_Fire", "Str230");
    item("Key_Fire1", "Str231");
    Keep("Str231");
    item("Key_Fire2", "Str232");
    Keep("Str232");
    item("Key_Fire3", "Str233");
    Keep("Str233");
    item("Key_ACPIKey", "Str240");
    item("Key_PowerDown", "Str241");
    item("Key_Sleep", "Str242");
    item("Key_WakeUp", "Str243");
    item("Key_ProfileKey", "Str250");
    item("Key_Profile1", "Str251");
    Keep("Str251");
    item("Key_Profile2", "Str252");
    Keep("Str252");
    item("Key_Profile3", "Str253");
    Keep("Str253");
    item("Key_Profile", "Str254");
    item("Key_AIM", "Str260");
    Keep("Str260");
    item("Key_LEDMode", "Str261");
    item("Key_LEDSwitch", "Str262");
    item("Key_BtnEFT", "Str263");
    item("Key_ReportRate", "Str264");
    item("Key_KeyOff", "Str277");
    Keep("Str277");
    item("Key_FireMacroKey", "Str265");
    item("Key_FireMacroOff", "Str266");
    item("Key_AdjustXY", "Str267");
    item("Key_AdjustXYFn", "Str268");
    item("Key_AdjustXYSwitch", "Str269");
    item("Key_PlayPause", "Str270");
    item("Key_Stop", "Str271");
    item("Key_PreviousTrack", "Str272");
    item("Key_NextTrack", "Str273");
    item("Key_VolumePlus", "Str274");
    item("Key_VolumeMinus", "Str275");
    item("Key_Mute", "Str276");
    item("Key_WWWHome", "Str280");
    item("Key_WWWSearch", "Str281");
    item("Key_WWWBack", "Str282");
    item("Key_WWWForward", "Str283");
    item("Key_WWWStop", "Str284");
    item("Key_WWWRefresh", "Str285");
    item("Key_WWWFavorites", "Str286");
    item("Key_Computer", "Str290");
    item("Key_Calculator", "Str291");
    item("Key_EMail", "Str292");
    item("Key_Desktop", "Str293");
}

void TLanguageTextsApplier::ApplyMacroPage() {
    for (int i = 300; i <= 311; ++i)
        Keep(LayoutName("Str", i));
    Keep("Str400");
    Keep("Str401");

    Caption("Btn_NewName", "Str402");
    Caption("Btn_New", "Str432");
    Caption("Btn_Start", "Str400");
    Caption("Btn_ExportOne", "Str404");
    Caption("Btn_Export", "Str405");
    Caption("Btn_ImportOne", "Str406");
    Caption("Btn_Import", "Str407");
    Caption("Btn_Del", "Str408");
    Caption("Btn_Insert", "Str409");
    Caption("Btn_Edit", "Str435");
    Caption("Btn_NewMacro", "Str432");
    Caption("Btn_DelMacro", "Str433");
    Caption("Btn_DevExport", "Str405");
    Caption("Btn_DelPCMacro", "Str433");
    Caption("Btn_AddMacro", "Str434");

    ReplaceItems("CB_Insert",
                 {"Str410", "Str411", "Str412", "Str413", "Str450", "Str451", "Str456", "Str457"});
    // The radio pictures sit at the left end of the delay choices.
    SetCaption("IB_InsertRecDelay", "     " + Text("Str414"));
    SetCaption("IB_InsertDelayTime", "     " + Text("Str415"));
    SetCaption("IB_InsertNoDelay", "     " + Text("Str416"));
    Caption("lbl_Delay", "Str417");
    Caption("lbl_s_A", "Str418");
    Caption("lbl_XAxisValue", "Str454");
    Caption("lbl_YAxisValue", "Str455");
    Caption("lbl_Repeat", "Str458");

    Keep("Str420");
    Keep("Str421");
    Caption("Btn_InsertStart", "Str400");
    Caption("Btn_OK", "Str420");
    Caption("Btn_Cancel", "Str422");
    Keep("Str430");

    Caption("lbl_BINPath", "Str442");
    Caption("Btn_LoadBIN", "Str440");
    Caption("Btn_Program", "Str441");
}

void TLanguageTextsApplier::ApplyFirePage() {
    for (int i = 600; i <= 606; ++i)
        Keep(LayoutName("Str", i));
    Caption("Btn_FireConfirm", "Str620");
    Caption("Btn_FireExit", "Str621");
    Caption("Btn_FireStart", "Str400");
    Caption("Btn_NewFireName", "Str402");
    Caption("Btn_FireDel", "Str408");
    Caption("Btn_FireInsert", "Str409");
    ReplaceItems("CB_InsertFire", {"Str410", "Str411", "Str450", "Str451", "Str456", "Str457"});
    Caption("lbl_FireDelay", "Str417");
    Caption("lbl_Fires_A", "Str418");
    Caption("lbl_FireXAxisValue", "Str454");
    Caption("lbl_FireYAxisValue", "Str455");
    Caption("lbl_FireRepeat", "Str458");
    Caption("Btn_FireOK", "Str420");
    Caption("Btn_FireCancel", "Str422");
    SetCaption("IB_FireRecDelay", "     " + Text("Str414"));
    SetCaption("IB_FireDelayTime", "      " + Text("Str415"));
    SetCaption("IB_FireNoDelay", "      " + Text("Str416"));
}

void TLanguageTextsApplier::Apply(const std::vector<std::string>& fontControls) {
    ApplyFonts(fontControls);
    form_.TitleText = Text("Title");
    ApplyHeader();
    for (const char* key : {"Str004", "Str005", "Str022"})
        Keep(key);
    for (int i = 100; i <= 108; ++i)
        Keep(LayoutName("Str", i));
    RetranslateKeyLabels();
    ApplyKeyMenu();
    ApplyMacroPage();
    ApplyFirePage();
}

} // namespace

const std::string* TLangTexts::Find(std::string_view key) const {
    return FindText<const TLangTexts, const std::string>(*this, key);
}

std::string* TLangTexts::Find(std::string_view key) {
    return FindText<TLangTexts, std::string>(*this, key);
}

LanguageTextsReport ApplyLanguageTexts(TForm1& form, int n,
                                       const std::vector<std::string>& fontControls) {
    TLanguageTextsApplier applier(form, n);
    applier.Apply(fontControls);
    return applier.Report();
}

} // namespace window::shell
