// ApplySkin: the current language's pictures, layout and texts; the window chrome, menu
// buttons, key page and button-function menu of the layout pass.
#include "platform/vcl/PngImage.h"
#include "window/Main.h"
#include "window/shell/LanguageTexts.h"
#include "window/shell/LayoutApply.h"
#include "window/shell/LayoutText.h"
#include "window/shell/SkinImages.h"

namespace window {

namespace {

// The five page copies of each header label.
std::vector<std::string> PageCopies(const std::vector<std::string>& firstCopies) {
    std::vector<std::string> names;
    for (const std::string& first : firstCopies) {
        const std::string stem = first.substr(0, first.size() - 1);
        for (int k = 1; k <= 5; ++k)
            names.push_back(shell::LayoutName(stem, k));
    }
    return names;
}

} // namespace

void TForm1::ApplySkin() {
    const int n = LanguageNumber;
    std::string layoutName;
    {
        platform::vcl::TPngImage decoder;
        if (n >= 1 && n <= 3) {
            const std::string lang = "L" + std::to_string(n) + "_";
            for (int k = 1; k <= 6; ++k)
                shell::LoadSkinPng(Named<platform::vcl::TImage>(shell::LayoutName("Img_Base_", k)),
                                   lang + "BackGround", decoder);
            // Only the current page's panel; the page buttons load the others when they
            // show their page.
            if (rb_1->Checked() || rb_2->Checked() || rb_3->Checked())
                shell::LoadSkinPng(*Img_P1, lang + "Back1", decoder);
            else if (rb_4->Checked())
                shell::LoadSkinPng(*Img_P2, lang + "Back2", decoder);
            else if (rb_5->Checked())
                shell::LoadSkinPng(*Img_P3, lang + "Back3", decoder);
            else if (rb_6->Checked())
                shell::LoadSkinPng(*Img_P4, lang + "Back4", decoder);
            shell::LoadSkinPng(*Img_P6, lang + "Back5", decoder);
            layoutName = "org" + std::to_string(n);
        }
    }
    shell::LayoutReport layout;
    {
        // An unknown language leaves the name empty, and the missing resource stops here.
        layout = shell::ApplyLayoutSection(*this, *shell::SharedLayoutText(layoutName), layoutName);
    }
    shell::ApplyLanguageTexts(*this, n, layout.FontControls);
}

} // namespace window

namespace window::shell {

void TLayoutApplier::ApplyChrome() {
    const std::vector<std::string> texts =
        PageCopies({"Btn_Confirm1_1", "Btn_Confirm2_1", "Btn_Confirm3_1", "Btn_Exit2_1"});
    SetFontSize(texts, Integer("Size_A"));
    SetFontColor(texts, ReadColor("Color_A"));
    HeaderButton("Btn_A2", "Img_Confirm1", "Btn_Confirm1");
    HeaderButton("Btn_A3", "Img_Confirm2", "Btn_Confirm2");
    HeaderButton("Btn_A5", "Img_Confirm3", "Btn_Confirm3");
    HeaderButton("Btn_A4", "Img_Exit1", "Btn_Exit1");
    HeaderButton("Btn_A6", "Img_Exit2", "Btn_Exit2");
    HeaderButton("Btn_A7", "Img_Mini", "Btn_Mini");
}

void TLayoutApplier::ApplyMenuButtons() {
    const std::vector<std::string> labels =
        PageCopies({"Btn_Main_1", "Btn_Switch_1", "Btn_Fixed_1", "Btn_Adv_1", "Btn_Breath_1",
                    "Btn_Macro_1", "Btn_Update_1", "Btn_Engineer_1", "Btn_Save_1", "Btn_Load_1",
                    "Btn_Lang1_1", "Btn_Lang2_1", "Btn_Lang3_1"});
    SetFontSize(labels, Integer("Size_B"));
    SetFontColor(labels, ReadColor("Color_B"));
    const int front = Integer("Btn_Space_F");
    form_.MenuCaptionInsetFront = front;
    const int back = Integer("Btn_Space_B");
    form_.MenuCaptionInsetBack = back;

    struct Entry {
        const char* prefix; // nullptr: the engineering entry, placed without keys
        const char* image;
        const char* label;
    };
    static const Entry entries[] = {
        {"Btn_B1", "Img_Main", "Btn_Main"},      {"Btn_B2", "Img_Switch", "Btn_Switch"},
        {"Btn_B3", "Img_Fixed", "Btn_Fixed"},    {"Btn_B4", "Img_Adv", "Btn_Adv"},
        {"Btn_B5", "Img_Breath", "Btn_Breath"},  {"Btn_B11", "Img_Macro", "Btn_Macro"},
        {"Btn_B12", "Img_Update", "Btn_Update"}, {nullptr, "Img_Engineer", "Btn_Engineer"},
        {"Btn_B6", "Img_Save", "Btn_Save"},      {"Btn_B7", "Img_Load", "Btn_Load"},
        {"Btn_B8", "Img_Lang1", "Btn_Lang1"},    {"Btn_B9", "Img_Lang2", "Btn_Lang2"},
        {"Btn_B10", "Img_Lang3", "Btn_Lang3"},
    };
    for (const Entry& e : entries) {
        if (e.prefix) {
            HeaderButton(e.prefix, e.image, e.label, front, back);
            continue;
        }
        // Engineering mode decides whether the entry shows; its place is fixed.
        for (int k = 1; k <= 5; ++k) {
            auto& img =
                form_.Named<platform::vcl::TControl>(LayoutName(std::string(e.image) + "_", k));
            auto& lbl =
                form_.Named<platform::vcl::TControl>(LayoutName(std::string(e.label) + "_", k));
            img.SetLeft(10);
            img.SetTop(10);
            lbl.SetLeft(front + 10);
            lbl.SetTop(10);
            lbl.SetHeight(img.Height());
            lbl.SetWidth(img.Width() - front - back);
        }
    }
}

void TLayoutApplier::ApplyKeyPage() {
    std::vector<std::string> texts = LayoutNames("Key", 1, 12);
    for (const std::string& name : LayoutNames("IB_ComboKey", 1, 8))
        texts.push_back(name);
    SetFontSize(texts, Integer("Size_C"));
    SetFontColor(texts, ReadColor("Color_C"));
    const Point page = ReadPoint("P1");
    PlaceAt("Img_P1", page.X, page.Y);

    // The keys number the mouse's buttons in the order of the key records; the labels
    // are numbered down the columns of the picture, so three pairs trade places.
    static const int labelOfKey[13] = {0, 1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12};
    for (int j = 1; j <= 12; ++j) {
        const std::string prefix = LayoutName("Key", j);
        platform::vcl::TControl* image = Find(LayoutName("Img_Key", labelOfKey[j]));
        platform::vcl::TControl* label = Find(LayoutName("Key", labelOfKey[j]));
        const bool enabled = Integer(prefix + "_Enable") == 1;
        if (!enabled) {
            if (label) label->SetVisible(false);
            if (image) image->SetVisible(false);
            continue;
        }
        if (label) label->SetVisible(true);
        if (image) image->SetVisible(true);
        const Point p = ReadPoint(prefix);
        if (image) {
            image->SetLeft(p.X);
            image->SetTop(p.Y);
        }
        if (label) {
            label->SetLeft(p.X);
            label->SetTop(p.Y);
            label->SetHeight(image ? image->Height() : label->Height());
            label->SetWidth(image ? image->Width() : label->Width());
        }
    }

    // Combination switches: the label starts at the picture (its caption leaves room for
    // it) and keeps its size.
    for (int j = 1; j <= 8; ++j) {
        const std::string prefix = LayoutName("ComboKey", j);
        platform::vcl::TControl* label = Find(LayoutName("IB_ComboKey", j));
        platform::vcl::TControl* image = Find(LayoutName("Img_ComboKey", j));
        const bool enabled = Integer(prefix + "_Enable") == 1;
        if (j == 8) form_.ComboKey8Enabled = enabled;
        if (!enabled) {
            if (label) label->SetVisible(false);
            if (image) image->SetVisible(false);
            continue;
        }
        if (j < 8) {
            if (label) label->SetVisible(true);
            if (image) image->SetVisible(true);
        }
        const Point p = ReadPoint(prefix);
        if (image) {
            image->SetLeft(p.X);
            image->SetTop(p.Y);
        }
        if (label) {
            label->SetLeft(p.X);
            label->SetTop(p.Y - 2);
        }
        // The gun-key switch belongs to the second profile and only with the gun display;
        // elsewhere the page's own handlers decide whether it shows.
        if (j == 8 && form_.GunDisplayEnabled && form_.rb_2->Checked()) {
            if (label) label->SetVisible(true);
            if (image) image->SetVisible(true);
        }
    }
}

void TLayoutApplier::ApplyKeyMenu() {
    static const std::vector<std::string> mainItems = {
        "Key_Standard", "Key_Special", "Key_Media",     "Key_WWW",        "Key_MyPC",
        "Key_Assembly", "Key_Macro",   "Key_FireMacro", "Key_TLFireMacro"};
    static const std::vector<std::string> mainArrows = {
        "ST_Standard", "ST_Special", "ST_Media", "ST_WWW", "ST_MyPC", "ST_Macro", "ST_TLFireMacro"};
    static const std::vector<std::string> specialItems = {
        "Key_CPIKey",       "Key_Fire",         "Key_ACPIKey", "Key_ProfileKey", "Key_AIM",
        "Key_LEDMode",      "Key_LEDSwitch",    "Key_BtnEFT",  "Key_ReportRate", "Key_KeyOff",
        "Key_FireMacroKey", "Key_FireMacroOff", "Key_AdjustXY"};
    static const std::vector<std::string> specialArrows = {"ST_CPIKey", "ST_Fire", "ST_ACPIKey",
                                                           "ST_ProfileKey"};
    static const std::vector<std::string> otherItems = {"Key_CPI",
                                                        "Key_CPII",
                                                        "Key_CPID",
                                                        "Key_Fire1",
                                                        "Key_Fire2",
                                                        "Key_Fire3",
                                                        "Key_PowerDown",
                                                        "Key_Sleep",
                                                        "Key_WakeUp",
                                                        "Key_Profile1",
                                                        "Key_Profile2",
                                                        "Key_Profile3",
                                                        "Key_Profile",
                                                        "Key_Left",
                                                        "Key_Right",
                                                        "Key_Middle",
                                                        "Key_B4",
                                                        "Key_B5",
                                                        "Key_PlayPause",
                                                        "Key_Stop",
                                                        "Key_PreviousTrack",
                                                        "Key_NextTrack",
                                                        "Key_VolumePlus",
                                                        "Key_VolumeMinus",
                                                        "Key_Mute",
                                                        "Key_Computer",
                                                        "Key_Calculator",
                                                        "Key_EMail",
                                                        "Key_Desktop",
                                                        "Key_WWWHome",
                                                        "Key_WWWSearch",
                                                        "Key_WWWBack",
                                                        "Key_WWWForward",
                                                        "Key_WWWStop",
                                                        "Key_WWWRefresh",
                                                        "Key_WWWFavorites",
                                                        "Key_AdjustXYFn",
                                                        "Key_AdjustXYSwitch"};
    static const std::vector<std::string> otherPanels = {
        "Pnl_CPIKey", "Pnl_FireKey", "Pnl_ACPI", "Pnl_Profile", "Pnl_MseKey",
        "Pnl_Media",  "Pnl_MyPC",    "Pnl_WWW",  "Pnl_AdjustXY"};
    static const std::vector<std::string> texts = {"Key_Standard",
                                                   "ST_Standard",
                                                   "Key_Special",
                                                   "ST_Special",
                                                   "Key_Media",
                                                   "ST_Media",
                                                   "Key_WWW",
                                                   "ST_WWW",
                                                   "Key_MyPC",
                                                   "ST_MyPC",
                                                   "Key_Assembly",
                                                   "Key_Macro",
                                                   "ST_Macro",
                                                   "Key_FireMacro",
                                                   "Key_TLFireMacro",
                                                   "ST_TLFireMacro",
                                                   "Key_Left",
                                                   "Key_Right",
                                                   "Key_Middle",
                                                   "Key_B4",
                                                   "Key_B5",
                                                   "Key_CPIKey",
                                                   "ST_CPIKey",
                                                   "Key_Fire",
                                                   "ST_Fire",
                                                   "Key_ACPIKey",
                                                   "ST_ACPIKey",
                                                   "Key_ProfileKey",
                                                   "ST_ProfileKey",
                                                   "Key_AIM",
                                                   "Key_LEDMode",
                                                   "Key_LEDSwitch",
                                                   "Key_BtnEFT",
                                                   "Key_ReportRate",
                                                   "Key_KeyOff",
                                                   "Key_FireMacroKey",
                                                   "Key_FireMacroOff",
                                                   "Key_AdjustXY",
                                                   "ST_AdjustXY",
                                                   "Key_AdjustXYFn",
                                                   "Key_AdjustXYSwitch",
                                                   "Key_CPI",
                                                   "Key_CPII",
                                                   "Key_CPID",
                                                   "Key_Fire1",
                                                   "Key_Fire2",
                                                   "Key_Fire3",
                                                   "Key_PowerDown",
                                                   "Key_Sleep",
                                                   "Key_WakeUp",
                                                   "Key_Profile1",
                                                   "Key_Profile2",
                                                   "Key_Profile3",
                                                   "Key_Profile",
                                                   "Key_PlayPause",
                                                   "Key_Stop",
                                                   "Key_PreviousTrack",
                                                   "Key_NextTrack",
                                                   "Key_VolumePlus",
                                                   "Key_VolumeMinus",
                                                   "Key_Mute",
                                                   "Key_Computer",
                                                   "Key_Calculator",
                                                   "Key_EMail",
                                                   "Key_Desktop",
                                                   "Key_WWWHome",
                                                   "Key_WWWSearch",
                                                   "Key_WWWBack",
                                                   "Key_WWWForward",
                                                   "Key_WWWStop",
                                                   "Key_WWWRefresh",
                                                   "Key_WWWFavorites",
                                                   "LB_Name",
                                                   "LB_Script"};
    static const std::vector<std::string> framed = {
        "Pnl_Main",    "Pnl_Special", "Pnl_CPIKey",  "Pnl_FireKey", "Pnl_ACPI",
        "Pnl_Profile", "Pnl_MseKey",  "Pnl_Media",   "Pnl_MyPC",    "Pnl_WWW",
        "LB_Name",     "LB_Script",   "Pnl_AdjustXY"};

    SetFontSize(texts, Integer("Size_G"));
    form_.KeyMenuFontRGB = ReadRgb("Color_G");
    SetFontColor(texts, form_.KeyMenuFontRGB.Color());
    form_.KeyMenuBackRGB = ReadRgb("Color_G_Back");
    SetColor(framed, form_.KeyMenuBackRGB.Color());
    SetBorderColor(framed, ReadColor("Color_G_Border"));
    form_.KeyMenuHotFontRGB = ReadRgb("Color_G_SF");
    form_.KeyMenuHotBackRGB = ReadRgb("Color_G_SP");

    auto widths = [&](int w, const std::vector<std::string>& panels,
                      const std::vector<std::string>& items,
                      const std::vector<std::string>& arrows) {
        for (const std::string& name : panels)
            if (platform::vcl::TControl* c = Find(name)) c->SetWidth(w);
        for (const std::string& name : items)
            if (platform::vcl::TControl* c = Find(name)) c->SetWidth(w - 4);
        for (const std::string& name : arrows)
            if (platform::vcl::TControl* c = Find(name)) c->SetLeft(w - 24);
    };
    widths(Integer("M_L_W"), {"Pnl_Main"}, mainItems, mainArrows);
    const int special = Integer("SP_L_W");
    widths(special, {"Pnl_Special"}, specialItems, specialArrows);
    // The adjust entry's arrow spans the row; its left edge stays where the design has it.
    if (platform::vcl::TControl* c = Find("ST_AdjustXY")) c->SetWidth(special - 24);
    widths(Integer("O_L_W"), otherPanels, otherItems, {});
}

} // namespace window::shell
