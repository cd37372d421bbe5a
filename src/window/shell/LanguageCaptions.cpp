// The engineering page takes its captions from the caption table, in English or in
// Simplified Chinese as the locale of the main thread says, once at start-up.
#include "window/shell/LanguageCaptions.h"

#include "platform/win/Locale.h"
#include "window/shell/Lang.h"
#include "window/Main.h"

#include <cstdint>
#include <vector>

namespace window::shell {

std::array<std::string, LedModeNameCount> LedModeNames;

} // namespace window::shell

namespace window {

namespace {

// A row of the captions: one control's caption (a single id) or a combo box's whole item
// list; the LED mode names are a row of their own.
enum class Target { Caption, Items, LedModes };

struct CaptionRow {
    std::string control;
    Target target;
    std::vector<uint8_t> ids;
};

std::string Numbered(const char* prefix, int number, const char* suffix = "") {
    return prefix + std::to_string(number) + suffix;
}

// The controls whose font the column decides, in the order they are set.
std::vector<std::string> FontControls() {
    std::vector<std::string> names = {
        "Btn_Main_6",  "Btn_Switch_6",        "Btn_Fixed_6",        "Btn_Adv_6",     "Btn_Breath_6",
        "Btn_Macro_6", "Btn_Update_6",        "Btn_Engineer_6",     "Btn_Load_6",    "Btn_Save_6",
        "Btn_Default", "Btn_ImportBaseMacro", "Btn_ImportGunMacro", "Btn_PatchCode", "gbLEDMode",
        "lbl_BreMode", "cb_BreMode",          "SkinGroupBox1",      "lbl_LEDMode",   "cb_LEDMode",
        "lbl_LEDNum",  "cb_LEDNum",           "gbBreathModeEn"};
    for (int i = 0; i <= 5; ++i)
        names.push_back(Numbered("cb_Mode", i));
    names.insert(names.end(), {"gbCPI", "lbl_CPISteps", "lbl_CurrentCPI", "cb_CurrentCPI"});
    for (int i = 1; i <= 8; ++i)
        names.push_back(Numbered("lbl_CPI", i));
    names.insert(names.end(), {"gbFireMode", "lbl_Fire1Count", "lbl_Fire2Count", "lbl_Fire3Count",
                               "lbl_Fire1Time", "lbl_Fire2Time", "cb_Fire1Continue",
                               "cb_Fire2Continue", "cb_Fire3Continue", "gbUSBDesc", "lbl_VID",
                               "lbl_Hex1", "lbl_PID", "lbl_Hex2", "lbl_USBDesc", "gbLEDColor"});
    for (int colour = 1; colour <= 10; ++colour)
        for (const char* channel : {"R", "G", "B"})
            names.push_back(Numbered("lbl_Col", colour, channel));
    names.insert(names.end(), {"gbCPIColor",        "gbLEDBreath",        "lbl_Lower",
                               "lbl_Upper",         "lbl_LowerTime",      "lbl_UpperTime",
                               "lbl_StepTime",      "lbl_ChangeLEDMode",  "cb_ChangeLEDModeFun",
                               "lbl_ChangeFireFun", "cb_ChangeFireFun",   "cb_IsGunFireMode",
                               "lbl_AIM",           "lbl_BtnEFT",         "cb_BtnEFT",
                               "lbl_Profile1Color", "cb_Profile1Color",   "lbl_Profile2Color",
                               "cb_Profile2Color",  "lbl_Profile3Color",  "cb_Profile3Color",
                               "lbl_RepRate",       "lbl_SensorRotation", "lbl_VendorID",
                               "lbl_ProductID",     "lbl_Profile",        "cb_Profile",
                               "lbl_ProfileColor",  "cb_ProfileColor",    "gbTest",
                               "cb_ProfileTest",    "gbProfile1",         "gbProfile2",
                               "gbProfile3",        "gbXYOffset",         "gbSOS",
                               "lbl_SOSLB",         "lbl_SOSStartIndex",  "lbl_SOSNumber",
                               "btn_AddScript",     "btn_DelScript"});
    return names;
}

// The captions in the order they are written.
std::vector<CaptionRow> CaptionRows() {
    std::vector<CaptionRow> rows;
    auto caption = [&rows](std::string control, uint8_t id) {
        rows.push_back({std::move(control), Target::Caption, {id}});
    };
    auto items = [&rows](std::string control, std::vector<uint8_t> ids) {
        rows.push_back({std::move(control), Target::Items, std::move(ids)});
    };
    auto range = [](uint8_t first, uint8_t last) {
        std::vector<uint8_t> ids;
        for (int id = first; id <= last; ++id)
            ids.push_back(static_cast<uint8_t>(id));
        return ids;
    };

    uint8_t id = 0;
    for (const char* button :
         {"Btn_Main_6", "Btn_Switch_6", "Btn_Fixed_6", "Btn_Adv_6", "Btn_Breath_6", "Btn_Macro_6",
          "Btn_Update_6", "Btn_Engineer_6", "Btn_Load_6", "Btn_Save_6", "Btn_Default",
          "Btn_ImportBaseMacro", "Btn_ImportGunMacro", "Btn_PatchCode"})
        caption(button, id++);
    caption("gbLEDMode", 14);
    caption("lbl_BreMode", 15);
    caption("SkinGroupBox1", 14);
    caption("lbl_LEDMode", 16);
    caption("lbl_LEDNum", 17);
    items("cb_LEDMode", {18, 19, 20});
    rows.push_back(
        {"", Target::LedModes, {21, 22, 23, 24, 25, 26, 21, 27, 28, 21, 29, 30, 31, 32}});
    caption("gbBreathModeEn", 33);
    caption("gbCPI", 34);
    caption("lbl_CPISteps", 35);
    caption("lbl_CurrentCPI", 36);
    for (int i = 1; i <= 8; ++i)
        caption(Numbered("lbl_CPI", i), static_cast<uint8_t>(36 + i));
    id = 45;
    for (const char* control : {"gbFireMode", "lbl_Fire1Count", "lbl_Fire2Count", "lbl_Fire3Count",
                                "lbl_Fire1Time", "lbl_Fire2Time"})
        caption(control, id++);
    for (const char* box : {"cb_Fire1Continue", "cb_Fire2Continue", "cb_Fire3Continue"})
        caption(box, 51);
    id = 52;
    for (const char* control :
         {"gbUSBDesc", "lbl_VID", "lbl_Hex1", "lbl_PID", "lbl_Hex2", "lbl_USBDesc", "gbLEDColor"})
        caption(control, id++);
    for (int colour = 1; colour <= 10; ++colour)
        for (const char* channel : {"R", "G", "B"})
            caption(Numbered("lbl_Col", colour, channel), id++);
    for (const char* control :
         {"gbCPIColor", "gbLEDBreath", "lbl_Lower", "lbl_Upper", "lbl_LowerTime", "lbl_UpperTime",
          "lbl_StepTime", "lbl_ChangeLEDMode"})
        caption(control, id++);
    items("cb_ChangeLEDModeFun", {97, 98});
    caption("lbl_ChangeFireFun", 99);
    items("cb_ChangeFireFun", range(100, 106));
    caption("cb_IsGunFireMode", 107);
    caption("lbl_AIM", 108);
    caption("lbl_BtnEFT", 109);
    items("cb_BtnEFT", {110, 111});
    const std::vector<uint8_t> colours = range(115, 125);
    for (int profile = 1; profile <= 3; ++profile) {
        caption(Numbered("lbl_Profile", profile, "Color"), static_cast<uint8_t>(111 + profile));
        items(Numbered("cb_Profile", profile, "Color"), colours);
    }
    id = 126;
    for (const char* control :
         {"lbl_RepRate", "lbl_SensorRotation", "lbl_VendorID", "lbl_ProductID", "lbl_Profile"})
        caption(control, id++);
    items("cb_Profile", {131, 132, 133});
    caption("lbl_ProfileColor", 134);
    items("cb_ProfileColor", colours);
    caption("gbTest", 135);
    caption("cb_ProfileTest", 136);
    caption("gbProfile1", 131);
    caption("gbProfile2", 132);
    caption("gbProfile3", 133);
    id = 137;
    for (const char* control : {"gbXYOffset", "gbSOS", "lbl_SOSLB", "lbl_SOSStartIndex",
                                "lbl_SOSNumber", "btn_AddScript", "btn_DelScript"})
        caption(control, id++);
    return rows;
}

// Each text starts empty, so an id the table lacked would give an empty caption.
std::string Term(uint8_t id) {
    std::string text;
    shell::GetTermCaption(id, text);
    return text;
}

} // namespace

void TForm1::SelectLanguageByLocale() {
    shell::TermColumn = platform::win::GetThreadLocale() == platform::win::LOCALE_ZH_CN
                            ? shell::TermColumnChinese
                            : shell::TermColumnEnglish;
    ApplyLanguageCaptions();
}

void TForm1::ApplyLanguageCaptions() {
    // Column 1 has no texts and is never chosen; its face is kept for completeness.
    static const char* const Faces[] = {"MS Sans Serif", "Microsoft JhengHei", "MS Sans Serif"};
    const std::string face = Faces[shell::TermColumn < 3 ? shell::TermColumn : 0];
    for (const std::string& name : FontControls())
        Named<platform::vcl::TControl>(name).Font().SetName(face);

    for (const CaptionRow& row : CaptionRows()) {
        switch (row.target) {
        case Target::Caption:
            Named<platform::vcl::TControl>(row.control).SetCaption(Term(row.ids.front()));
            break;
        case Target::Items: {
            platform::vcl::TItemList& list = Named<platform::vcl::TComboBox>(row.control).Items();
            list.Clear();
            for (uint8_t id : row.ids)
                list.Add(Term(id));
            break;
        }
        case Target::LedModes:
            for (size_t i = 0; i < row.ids.size(); ++i)
                shell::LedModeNames[i] = Term(row.ids[i]);
            break;
        }
    }
}

} // namespace window
