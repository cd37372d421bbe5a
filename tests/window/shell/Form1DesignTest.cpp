// The main window's design as data: every control the window code names is there once,
// of the class and with the start properties the code relies on.
#include "platform/core/Resources.h"
#include "platform/vcl/FormDesign.h"
#include "window/Main.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

std::string DesignText() {
    const platform::core::ResourceEntry* entry = platform::core::FindResource("FORM1", "RC_DATA");
    if (!entry) return {};
    return std::string(reinterpret_cast<const char*>(entry->data), entry->size);
}

void AddRange(std::vector<std::string>& names, const std::string& prefix, int from, int to,
              const std::string& suffix = "") {
    for (int i = from; i <= to; ++i)
        names.push_back(prefix + std::to_string(i) + suffix);
}

// Every control and component the window code names, by name or by a numbered family.
std::vector<std::string> NamedControls() {
    std::vector<std::string> n;
    AddRange(n, "gbPage", 1, 7);
    AddRange(n, "Img_Base_", 1, 6);
    AddRange(n, "Img_P", 1, 6);
    for (const char* family :
         {"Main",     "Switch",   "Fixed",    "Adv",   "Breath", "Macro", "Update",
          "Engineer", "Save",     "Load",     "Lang1", "Lang2",  "Lang3", "Web",
          "Confirm1", "Confirm2", "Confirm3", "Exit1", "Exit2",  "Mini"}) {
        AddRange(n, std::string("Img_") + family + "_", 1, 5);
        AddRange(n, std::string("Btn_") + family + "_", 1, 5);
    }
    for (const char* family : {"Main", "Switch", "Fixed", "Adv", "Breath", "Macro", "Update",
                               "Engineer", "Save", "Load"})
        n.push_back(std::string("Btn_") + family + "_6");
    AddRange(n, "Disable_All_", 1, 5);
    n.push_back("Disable_All_4_1");
    AddRange(n, "rb_", 1, 8);
    AddRange(n, "rb_Lang", 1, 3);
    AddRange(n, "rb_DPI", 1, 8);
    AddRange(n, "rb_Rep", 1, 4);
    AddRange(n, "rb_LED", 1, 6);
    AddRange(n, "rb_Fire", 1, 7);
    // Pop-up menus and pick lists.
    for (const char* p : {"Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_WWW",
                          "Pnl_MyPC", "Pnl_FireKey", "Pnl_CPIKey", "Pnl_ACPI", "Pnl_Profile",
                          "LB_Name", "LB_Script", "Pnl_PCMacro", "Pnl_DevMacro", "Pnl_DevContent",
                          "Pnl_DevFireMacro", "Pnl_DevFireContent", "Pnl_AdjustXY"})
        n.push_back(p);
    for (const char* k : {"Left",         "Right",
                          "Middle",       "B4",
                          "B5",           "AIM",
                          "LEDMode",      "LEDSwitch",
                          "BtnEFT",       "ReportRate",
                          "FireMacroKey", "FireMacroOff",
                          "KeyOff",       "PlayPause",
                          "Stop",         "PreviousTrack",
                          "NextTrack",    "VolumePlus",
                          "VolumeMinus",  "Mute",
                          "WWWHome",      "WWWSearch",
                          "WWWBack",      "WWWForward",
                          "WWWStop",      "WWWRefresh",
                          "WWWFavorites", "Computer",
                          "Calculator",   "EMail",
                          "Desktop",      "CPI",
                          "CPII",         "CPID",
                          "Fire1",        "Fire2",
                          "Fire3",        "PowerDown",
                          "Sleep",        "WakeUp",
                          "Profile1",     "Profile2",
                          "Profile3",     "Profile",
                          "AdjustXYFn",   "AdjustXYSwitch",
                          "FireMacro"})
        n.push_back(std::string("Key_") + k);
    // Key page.
    AddRange(n, "Key", 1, 12);
    AddRange(n, "Img_Key", 1, 12);
    AddRange(n, "IB_ComboKey", 1, 8);
    AddRange(n, "Img_ComboKey", 1, 8);
    // Performance page.
    AddRange(n, "Img_Spd", 1, 11);
    AddRange(n, "Img_DbSpd", 1, 11);
    AddRange(n, "Img_ScrSpd", 1, 11);
    for (int level = 1; level <= 8; ++level) {
        AddRange(n, "Img_DPI" + std::to_string(level) + "_", 1, 12);
        n.push_back("Img_DPI" + std::to_string(level));
        n.push_back("Img_DPI" + std::to_string(level) + "Col");
        n.push_back("lbl_DPI" + std::to_string(level) + "Value");
    }
    AddRange(n, "Img_AIMDPI_", 1, 12);
    for (const char* c : {"lbl_AIMDPIValue", "lbl_ScrSpd", "cb_IsControl", "Img_IsControl"})
        n.push_back(c);
    AddRange(n, "Edt_Repeat", 1, 3);
    AddRange(n, "Edt_DelayTime", 1, 3);
    AddRange(n, "Img_Fire", 1, 3, "Continue");
    AddRange(n, "lbl_Fire", 1, 3, "Continue");
    // Lighting page.
    AddRange(n, "Img_Col", 1, 10);
    AddRange(n, "Img_Fall", 1, 10);
    AddRange(n, "Img_LED", 1, 6);
    AddRange(n, "lbl_LED", 1, 6);
    // Macro page.
    for (const char* c : {"LB_MacroName",      "LB_macro",           "mmo_macro",
                          "mmo_wrscript",      "LB_PCMacroName",     "Gb_Delay",
                          "Gb_Insert",         "Img_InsertBase",     "Img_New",
                          "Img_Start",         "Img_InsertStart",    "Img_OK",
                          "Img_Cancel",        "LED_RecDelay",       "LED_DelayTime",
                          "LED_NoDelay",       "LED_InsertRecDelay", "LED_InsertDelayTime",
                          "LED_InsertNoDelay", "Edt_Delay",          "Edt_InsertDelay",
                          "edt_Repeat",        "edt_XAxisValue",     "edt_YAxisValue"})
        n.push_back(c);
    // Update page.
    for (const char* c : {"Btn_LoadBIN", "Img_LoadBIN", "lbl_LoadBIN", "lbl_BINPath", "Btn_Program",
                          "Img_Program", "Btn_WebLink"})
        n.push_back(c);
    // Fire page.
    AddRange(n, "Btn_Fire", 1, 7);
    AddRange(n, "Img_Fire", 1, 7);
    AddRange(n, "Img_GunMode", 1, 5);
    AddRange(n, "Img_FireColor", 1, 3);
    for (int k = 1; k <= 3; ++k) {
        const std::string d = std::to_string(k);
        for (const std::string& c :
             {"Edt_FireCnt" + d, "Edt_FireTime" + d, "Edt_FireX" + d, "Edt_FireX" + d + "Offset",
              "Edt_FireY" + d, "Edt_FireY" + d + "Offset"})
            n.push_back(c);
    }
    for (const char* c :
         {"Img_FireSelLeft",     "cb_FireSelLeft",   "Img_FireConfirm",    "Img_FireExit",
          "Img_FireStart",       "Img_FireOK",       "Img_FireCancel",     "LED_FireRecDelay",
          "LED_FireDelayTime",   "LED_FireNoDelay",  "Img_FireDelay",      "Img_FireInsert",
          "Edt_FireDelay",       "edt_FireRepeat",   "edt_FireXAxisValue", "edt_FireYAxisValue",
          "Edt_InsertFireDelay", "LB_FireMacroName", "LB_FireMacro",       "LB_ScriptName"})
        n.push_back(c);
    // Engineering page.
    for (const char* c :
         {"Img_Logo4",        "Pg_Parameter",     "ts_Gun",          "ts_Engineer",
          "ts_Operator",      "lbl_Content",      "cb_Package",      "edt_PatCodeCk",
          "cb_LEDMode",       "cb_RTZ",           "cb_AXY",          "cb_CC",
          "edt_OffSet",       "cb_MidCom",        "cb_BackCom",      "cb_ForwardCom",
          "cb_CPICom",        "cb_CPIICom",       "cb_CPIDCom",      "cb_KbdType",
          "cb_LEDNum",        "lbl_LEDNum",       "gbLEDColor",      "gbCPIColor",
          "cb_BreMode",       "cb_AIM",           "cb_Profile",      "cb_ChangeLEDModeFun",
          "cb_ChangeFireFun", "cb_IsGunFireMode", "cb_CPISteps",     "cb_CurrentCPI",
          "cb_BtnEFT",        "cb_ProfileColor",  "edt_VendorID_Rd", "edt_ProductID_Rd"})
        n.push_back(c);
    AddRange(n, "cb_Profile", 1, 3, "Color");
    AddRange(n, "cb_Fire", 1, 3, "Continue");
    AddRange(n, "cb_Fire", 1, 3, "Count");
    AddRange(n, "edt_Fire", 1, 3, "Time");
    AddRange(n, "cb_Mode", 0, 5);
    AddRange(n, "edt_XOffset", 1, 10);
    AddRange(n, "edt_YOffset", 1, 10);
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%d%02d", p, k);
            n.push_back(std::string("btn_Key") + digits);
            n.push_back(std::string("lbl_Key") + digits);
        }
    for (int k = 1; k <= 9; ++k) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d", k);
        n.push_back(std::string("btn_ComboKey") + digits);
    }
    // Components.
    for (const char* c : {"DevTimer", "LabelRun", "TrayIcon1", "OpenDialog1", "SaveDialog1"})
        n.push_back(c);
    return n;
}

class Form1DesignTest : public ::testing::Test {
protected:
    void SetUp() override { form = std::make_unique<window::TForm1>(nullptr); }
    template <class T> T* Find(const std::string& name) {
        return dynamic_cast<T*>(form->FindComponent(name));
    }
    std::unique_ptr<window::TForm1> form;
};

TEST(Form1DesignText, NamesEachComponentOnceAndBindsOnlyKnownHandlers) {
    const std::string text = DesignText();
    ASSERT_FALSE(text.empty());
    std::map<std::string, int> seen;
    const std::regex object(R"(^\s*object\s+(\w+)\s*:)", std::regex::multiline);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), object);
         it != std::sregex_iterator(); ++it) {
        std::string name = (*it)[1];
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ++seen[name];
    }
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;

    std::set<std::string> handlers;
#define VTRM_HANDLER_NAME(kind, name) handlers.insert(#name);
    VTRM_FORM1_HANDLERS(VTRM_HANDLER_NAME)
#undef VTRM_HANDLER_NAME
    const std::regex event(R"(^\s*On\w+\s*=\s*(\w+)\s*$)", std::regex::multiline);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), event);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(handlers.count((*it)[1])) << "no handler " << (*it)[1];
}

TEST_F(Form1DesignTest, EveryNamedControlExists) {
    std::set<std::string> listed;
    for (const std::string& name : NamedControls()) {
        EXPECT_TRUE(listed.insert(name).second) << name << " listed twice";
        EXPECT_NE(form->FindComponent(name), nullptr) << name;
    }
}

TEST_F(Form1DesignTest, SkinPicturesAutoSizeAndButtonsAreWideLabelsOnThem) {
    for (int k = 1; k <= 5; ++k) {
        for (const char* family : {"Main", "Adv", "Lang2", "Web", "Confirm3", "Exit1", "Mini"}) {
            const std::string suffix = std::string(family) + "_" + std::to_string(k);
            auto* image = Find<TImage>("Img_" + suffix);
            auto* label = Find<controls::unicode::TWideLabel>("Btn_" + suffix);
            ASSERT_NE(image, nullptr) << suffix;
            ASSERT_NE(label, nullptr) << suffix;
            EXPECT_TRUE(image->AutoSize()) << suffix;
            EXPECT_TRUE(label->Transparent()) << suffix;
            EXPECT_EQ(image->Parent(), label->Parent()) << suffix;
            EXPECT_EQ(label->Parent()->Name(), "gbPage" + std::to_string(k));
            EXPECT_EQ(label->Left(), image->Left()) << suffix;
            EXPECT_EQ(label->Top(), image->Top()) << suffix;
        }
        // The engineering entries wait for the engineering-mode unlock.
        EXPECT_FALSE(Find<TImage>("Img_Engineer_" + std::to_string(k))->Visible());
        EXPECT_FALSE(Find<TControl>("Btn_Engineer_" + std::to_string(k))->Visible());
    }
    for (const char* name : {"Img_P1", "Img_DPI8_12", "Img_Fire7", "Img_GunMode5", "Img_Col10",
                             "Img_FireColor3", "LED_InsertNoDelay", "Img_Base_6"})
        EXPECT_TRUE(Find<TImage>(name)->AutoSize()) << name;
    EXPECT_NE(Find<controls::skin::TSkinComboBox>("cb_Package"), nullptr);
    EXPECT_NE(Find<controls::skin::TFramePanel>("Pnl_Main"), nullptr);
    EXPECT_NE(Find<controls::unicode::TWideListBox>("LB_MacroName"), nullptr);
    EXPECT_NE(Find<controls::unicode::TWideListBox>("LB_macro"), nullptr);
    EXPECT_NE(Find<controls::skin::TSkinListBox>("LB_Name"), nullptr);
    EXPECT_NE(Find<controls::skin::THexEdit>("edt_OffSet"), nullptr);
}

TEST_F(Form1DesignTest, StateRadioButtonsLieOutsideTheWindowInTheirOwnGroups) {
    auto* rb1 = Find<TRadioButton>("rb_1");
    ASSERT_NE(rb1, nullptr);
    TControl* box = rb1->Parent();
    while (box->Parent() != form.get())
        box = box->Parent();
    EXPECT_EQ(box->Left(), 3024);
    EXPECT_TRUE(rb1->Checked());
    for (int i = 2; i <= 8; ++i)
        EXPECT_FALSE(Find<TRadioButton>("rb_" + std::to_string(i))->Checked()) << i;
    // Checking a language or DPI button leaves the page state alone: separate groups.
    Find<TRadioButton>("rb_Lang2")->SetChecked(true);
    Find<TRadioButton>("rb_DPI3")->SetChecked(true);
    Find<TRadioButton>("rb_Fire2")->SetChecked(true);
    EXPECT_TRUE(rb1->Checked());
    Find<TRadioButton>("rb_4")->SetChecked(true);
    EXPECT_FALSE(rb1->Checked());
    EXPECT_TRUE(Find<TRadioButton>("rb_Lang2")->Checked());
    EXPECT_TRUE(Find<TRadioButton>("rb_DPI3")->Checked());
}

TEST_F(Form1DesignTest, StartPropertiesOfTheComponentsTheCodeReliesOn) {
    EXPECT_EQ(form->Caption(), "VTRM408x Gaming Mouse v1.0");
    EXPECT_EQ(form->ClientWidth(), 1252);
    EXPECT_EQ(form->ClientHeight(), 684);
    auto* devTimer = Find<TTimer>("DevTimer");
    ASSERT_NE(devTimer, nullptr);
    EXPECT_EQ(devTimer->Interval(), 3500u);
    EXPECT_TRUE(devTimer->Enabled());
    auto* labelRun = Find<TTimer>("LabelRun");
    ASSERT_NE(labelRun, nullptr);
    EXPECT_EQ(labelRun->Interval(), 200u);
    EXPECT_FALSE(labelRun->Enabled());

    auto* package = Find<controls::skin::TSkinComboBox>("cb_Package");
    EXPECT_EQ(package->Items().Count(), 2);
    EXPECT_EQ(package->ItemIndex(), 0);
    EXPECT_EQ(Find<controls::skin::THexEdit>("edt_OffSet")->Text(), "20");
    for (const char* combo : {"cb_MidCom", "cb_CPIDCom"}) {
        auto* c = Find<controls::skin::TSkinComboBox>(combo);
        ASSERT_EQ(c->Items().Count(), 9) << combo;
        EXPECT_EQ(c->Items()[3], "0x04");
        EXPECT_EQ(c->Items()[8], "0x80");
    }
    EXPECT_EQ(Find<controls::skin::TSkinComboBox>("cb_Profile2Color")->Items().Count(), 11);

    EXPECT_EQ(form->gbPage7->Width(), 1257);
    EXPECT_EQ(form->gbPage7->Height(), 681);
    EXPECT_EQ(form->gbPage7->Color(), RGB(231, 231, 231));
    for (const char* overlay : {"Disable_All_1", "Disable_All_2", "Disable_All_3", "Disable_All_4",
                                "Disable_All_4_1", "Disable_All_5"}) {
        auto* label = Find<TLabel>(overlay);
        ASSERT_NE(label, nullptr) << overlay;
        EXPECT_FALSE(label->Visible()) << overlay;
        EXPECT_TRUE(label->Caption().empty()) << overlay;
        // Above every other control of its page.
        const TWinControl* page = label->Parent();
        EXPECT_EQ(page->Controls(page->ControlCount() - 1)->Name().rfind("Disable_All_", 0), 0u);
    }
    for (const char* popup : {"Pnl_Main", "Pnl_AdjustXY", "LB_Name", "Pnl_DevFireContent"})
        EXPECT_FALSE(Find<TControl>(popup)->Visible()) << popup;
    EXPECT_EQ(Find<TControl>("Key_Left")->Tag(), 900);
    EXPECT_EQ(Find<TControl>("Key_AdjustXYSwitch")->Tag(), 2401);
}

} // namespace

namespace {

// The page overlays keep their size whatever caption or font they get: a label that sized
// itself to its text would shrink to nothing and leave the page open to clicks.
TEST_F(Form1DesignTest, PageOverlaysKeepTheirSize) {
    for (const char* name : {"Disable_All_1", "Disable_All_2", "Disable_All_3", "Disable_All_4",
                             "Disable_All_4_1", "Disable_All_5"}) {
        SCOPED_TRACE(name);
        auto* overlay = Find<TLabel>(name);
        ASSERT_NE(overlay, nullptr);
        EXPECT_FALSE(overlay->AutoSize());
        EXPECT_EQ(overlay->Width(), 800);
        EXPECT_EQ(overlay->Height(), 600);
        overlay->SetCaption("x");
        overlay->Font().SetSize(30);
        overlay->SetCaption("");
        EXPECT_EQ(overlay->Width(), 800);
        EXPECT_EQ(overlay->Height(), 600);
    }
}

} // namespace
