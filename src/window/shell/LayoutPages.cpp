// The settings pages of the layout pass: performance, lighting, macro, update and fire.
#include "window/shell/LayoutApply.h"
#include "window/Main.h"

namespace window::shell {

namespace {

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> lists) {
    std::vector<std::string> all;
    for (const auto& list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

} // namespace

void TLayoutApplier::DpiSteps(const std::string& prefix, const std::string& bars) {
    // All three keys are read whatever the orientation, so each must be in the text.
    const Point p = ReadPoint(prefix + "_Steps");
    const int gap = Integer(prefix + "_Steps_D");
    const int orientation = form_.DpiStepOrientation;
    if (orientation != 0 && orientation != 1) return;
    const int barHeight = HeightOf(bars + "1");
    const int barWidth = WidthOf(bars + "1");
    for (int i = 1; i <= 12; ++i) {
        if (orientation == 0)
            PlaceAt(LayoutName(bars, i), p.X, p.Y - (i - 1) * (barHeight + gap));
        else
            PlaceAt(LayoutName(bars, i), p.X + (i - 1) * (barWidth + gap), p.Y);
    }
}

void TLayoutApplier::RadioRows(const std::string& prefix, const std::vector<std::string>& leds,
                               const std::vector<std::string>& labels) {
    const Point p = ReadPoint(prefix);
    const int pitch = Integer(prefix + "_H");
    for (int row = 0; row < 3; ++row) {
        PlaceAt(leds[row], p.X, p.Y + row * pitch);
        PlaceAt(labels[row], p.X - 2, p.Y + row * pitch);
    }
}

void TLayoutApplier::ApplyPerformancePage() {
    const std::vector<std::string> edits = {"Edt_Repeat1",    "Edt_DelayTime1", "Edt_Repeat2",
                                            "Edt_DelayTime2", "Edt_Repeat3",    "Edt_DelayTime3"};
    const std::vector<std::string> speedLabels =
        Join({LayoutNames("lbl_Spd", 1, 10), LayoutNames("lbl_DbSpd", 1, 10),
              LayoutNames("lbl_ScrSpd", 1, 10)});
    const std::vector<std::string> levelValues = LayoutNames("lbl_DPI", 1, 8, "Value");

    const int size = Integer("Size_D");
    SetFontSize(edits, size);
    SetFontSize(speedLabels, size);
    for (int j = 1; j <= 8; ++j) {
        SetFontSize({LayoutName("lbl_DPI", j)}, size + 1);
        SetFontSize({LayoutName("lbl_DPI", j, "Value")}, size);
    }
    SetFontSize({"lbl_AIMDPI"}, size + 1);
    SetFontSize({"lbl_AIMDPIValue"}, size);

    form_.DpiSelectedRGB = ReadRgb("Color_D_Selected");
    SetFontColor({"lbl_AIMDPI"}, form_.DpiSelectedRGB.Color());
    form_.DpiUnselectedRGB = ReadRgb("Color_D_notSelected");
    SetFontColor(Join({speedLabels, levelValues, {"lbl_AIMDPIValue"}, edits}),
                 form_.DpiUnselectedRGB.Color());
    SetColor(edits, ReadColor("Color_D_Back"));
    SetBorderColor(edits, ReadColor("Color_D_Border"));

    const Point page = ReadPoint("P2");
    PlaceAt("Img_P2", page.X, page.Y);
    for (int j = 1; j <= 3; ++j) {
        const std::string fk = LayoutName("FK", j);
        const Point count = ReadPoint(fk + "Cnt");
        PlaceAt(LayoutName("Edt_Repeat", j), count.X, count.Y);
        const Point delay = ReadPoint(fk + "Delay");
        PlaceAt(LayoutName("Edt_DelayTime", j), delay.X, delay.Y);
        const Point hold = ReadPoint(fk + "Continue");
        const std::string image = LayoutName("Img_Fire", j, "Continue");
        PlaceAt(image, hold.X, hold.Y);
        // The label is the click area around the check picture, two pixels wider each side.
        if (platform::vcl::TControl* label = Find(LayoutName("lbl_Fire", j, "Continue"))) {
            label->SetLeft(hold.X - 2);
            label->SetTop(hold.Y);
            label->SetHeight(HeightOf(image) + 4);
            label->SetWidth(WidthOf(image) + 4);
        }
    }
    for (int j = 1; j <= 4; ++j) {
        const Point p = ReadPoint(LayoutName("Rep", j));
        PlaceAt(LayoutName("Img_Rep", j), p.X, p.Y);
        PlaceAt(LayoutName("lbl_Rep", j), p.X - 4, p.Y - 2);
    }
    // Eleven cells side by side, the first cell's width apart; the value under each.
    auto speedRow = [&](const std::string& key, const std::string& bars,
                        const std::string& labels) {
        const Point p = ReadPoint(key);
        const int pitch = WidthOf(bars + "1");
        for (int i = 1; i <= 11; ++i) {
            PlaceAt(LayoutName(bars, i), (i - 1) * pitch + p.X, p.Y);
            PlaceAt(LayoutName(labels, i), (i - 1) * pitch + p.X + 4, p.Y + 20);
        }
    };
    speedRow("Spd", "Img_Spd", "lbl_Spd");
    const Point control = ReadPoint("IsControl");
    PlaceAt("Img_IsControl", control.X, control.Y);
    PlaceAt("lbl_IsControl", control.X - 8, control.Y);
    speedRow("DbSpd", "Img_DbSpd", "lbl_DbSpd");
    speedRow("ScrSpd", "Img_ScrSpd", "lbl_ScrSpd");
    const Point screen = ReadPoint("IsScreen");
    PlaceAt("Img_IsScreen", screen.X, screen.Y);
    PlaceAt("lbl_IsScreen", screen.X - 2, screen.Y);

    form_.DpiStepOrientation = Integer("DPI_Orientation");
    for (int j = 1; j <= 8; ++j) {
        const std::string dpi = LayoutName("DPI", j);
        const Point color = ReadPoint(dpi + "_Color");
        const std::string swatchImage = LayoutName("Img_DPI", j, "Col");
        PlaceAt(swatchImage, color.X, color.Y);
        PlaceOnImage(LayoutName("cs_DPI", j, "Col"), swatchImage, color.X, color.Y);
        PlaceOnImage(LayoutName("lbl_DPI", j, "Col"), swatchImage, color.X, color.Y);
        const Point check = ReadPoint(dpi + "_Check");
        PlaceAt(LayoutName("Img_DPI", j), check.X, check.Y);
        const Point label = ReadPoint(dpi);
        PlaceAt(LayoutName("lbl_DPI", j), label.X, label.Y);
        const Point value = ReadPoint(dpi + "_Value");
        PlaceAt(LayoutName("lbl_DPI", j, "Value"), value.X, value.Y);
        DpiSteps(dpi, LayoutName("Img_DPI", j, "_"));
    }
    const Point aim = ReadPoint("AIMDPI");
    PlaceAt("lbl_AIMDPI", aim.X, aim.Y);
    const Point aimValue = ReadPoint("AIMDPI_Value");
    PlaceAt("lbl_AIMDPIValue", aimValue.X, aimValue.Y);
    DpiSteps("AIMDPI", "Img_AIMDPI_");
}

void TLayoutApplier::ApplyLightingPage() {
    const std::vector<std::string> stepLabels = LayoutNames("lbl_Fall", 1, 10);
    SetFontSize(stepLabels, Integer("Size_E"));
    SetFontColor(stepLabels, ReadColor("Color_E"));
    const Point page = ReadPoint("P3");
    PlaceAt("Img_P3", page.X, page.Y);
    // The step labels stay where the design has them; only the bars follow the text.
    const Point step = ReadPoint("StepTime");
    const int gap = Integer("StepTime_D");
    const int pitch = WidthOf("Img_Fall1") + gap;
    for (int i = 1; i <= 10; ++i)
        PlaceAt(LayoutName("Img_Fall", i), (i - 1) * pitch + step.X, step.Y);
    for (int j = 1; j <= 6; ++j) {
        const Point p = ReadPoint(LayoutName("LEDMode", j));
        PlaceAt(LayoutName("Img_LED", j), p.X, p.Y);
        PlaceAt(LayoutName("lbl_LED", j), p.X - 4, p.Y - 2);
    }
    for (int j = 1; j <= 10; ++j) {
        const Point p = ReadPoint(LayoutName("LEDColor", j));
        const std::string image = LayoutName("Img_Col", j);
        PlaceAt(image, p.X, p.Y);
        PlaceOnImage(LayoutName("cs_Col", j), image, p.X, p.Y);
        PlaceOnImage(LayoutName("lbl_Col", j), image, p.X, p.Y);
    }
}

void TLayoutApplier::ApplyMacroPage() {
    const std::vector<std::string> listButtons = {
        "Btn_NewMacro", "Btn_ImportOne",  "Btn_Export",   "Btn_Import",   "Btn_ExportOne",
        "Btn_NewName",  "Btn_DelPCMacro", "Btn_AddMacro", "Btn_DelMacro", "Btn_DevExport",
        "Btn_Del",      "Btn_Insert",     "Btn_Edit"};
    SetFontSize({"Btn_New",          "Btn_Start",         "LB_PCMacroName",
                 "Btn_NewMacro",     "Btn_ImportOne",     "Btn_Export",
                 "Btn_Import",       "Btn_ExportOne",     "Btn_NewName",
                 "Btn_DelPCMacro",   "Btn_AddMacro",      "Btn_DelMacro",
                 "Btn_DevExport",    "Btn_Del",           "Btn_Insert",
                 "Btn_Edit",         "LB_MacroName",      "Edt_Delay",
                 "CB_Insert",        "IB_InsertRecDelay", "IB_InsertDelayTime",
                 "IB_InsertNoDelay", "lbl_Delay",         "lbl_s_A",
                 "Edt_InsertDelay",  "Btn_InsertStart",   "Btn_OK",
                 "Btn_Cancel"},
                Integer("Size_F"));
    const LayoutRgb text = ReadRgb("Color_F");
    SetFontColor({"Btn_New", "Btn_Start", "CB_Insert", "IB_InsertRecDelay", "IB_InsertDelayTime",
                  "IB_InsertNoDelay", "lbl_Delay", "lbl_s_A", "Btn_InsertStart", "Btn_OK",
                  "Btn_Cancel"},
                 text.Color());
    form_.MacroTextRGB = text;
    // The macro lists and the insert choice paint their background themselves, in the
    // list colour; no picture lies behind their items.
    SetColor({"LB_PCMacroName", "LB_MacroName", "LB_macro", "CB_Insert", "LB_FireMacroName",
              "LB_FireMacro", "CB_InsertFire"},
             ReadColor("Color_F_LBack"));
    SetBorderColor(
        {"Edt_Delay", "Edt_InsertDelay", "edt_Repeat", "edt_XAxisValue", "edt_YAxisValue"},
        ReadColor("Color_F_LBorder"));
    const LayoutRgb listFont = ReadRgb("Color_F_Font");
    SetFontColor(Join({{"LB_PCMacroName"},
                       listButtons,
                       {"LB_MacroName", "LB_macro", "Edt_Delay", "Edt_InsertDelay"}}),
                 listFont.Color());
    form_.MacroListFontRGB = listFont;
    SetFontColor({"LB_FireMacroName", "LB_FireMacro"}, listFont.Color());
    const LayoutRgb back = ReadRgb("Color_F_Back");
    SetColor(
        Join({listButtons,
              {"Edt_Delay", "Edt_InsertDelay", "edt_Repeat", "edt_XAxisValue", "edt_YAxisValue"}}),
        back.Color());
    form_.MacroButtonBackRGB = back;

    const Point page = ReadPoint("P4");
    PlaceAt("Img_P4", page.X, page.Y);
    for (const auto& [key, list] :
         {std::pair{"PCMacroName", "LB_PCMacroName"}, std::pair{"MseMacroName", "LB_MacroName"},
          std::pair{"MacroContent", "LB_macro"}}) {
        const Point p = ReadPoint(key);
        const int height = Integer(std::string(key) + "_H");
        const int width = Integer(std::string(key) + "_W");
        if (platform::vcl::TControl* c = Find(list)) c->SetBounds(p.X, p.Y, width, height);
    }
    form_.MacroNameItemHeight = Integer("MacroNameHeight");
    ImageWithLabel("BtnNew", "Img_New", "Btn_New");
    ImageWithLabel("BtnStart", "Img_Start", "Btn_Start");
    const Point delay = ReadPoint("DelayTime");
    PlaceAt("Gb_Delay", delay.X, delay.Y);
    RadioRows("RecDelay", {"LED_RecDelay", "LED_DelayTime", "LED_NoDelay"},
              {"IB_RecDelay", "IB_DelayTime", "IB_NoDelay"});
    const Point delayEdit = ReadPoint("DelayEdit");
    PlaceAt("Edt_Delay", delayEdit.X, delayEdit.Y);
    const Point insert = ReadPoint("Insert");
    PlaceAt("Gb_Insert", insert.X, insert.Y);
    PlaceAt("Img_InsertBase", insert.X + 10, insert.Y + 10);
    const Point insertList = ReadPoint("InsertList");
    PlaceAt("CB_Insert", insertList.X, insertList.Y);
    RadioRows("InsertRecDelay", {"LED_InsertRecDelay", "LED_InsertDelayTime", "LED_InsertNoDelay"},
              {"IB_InsertRecDelay", "IB_InsertDelayTime", "IB_InsertNoDelay"});
    const Point insertDelay = ReadPoint("InsertDelayEdit");
    PlaceAt("Edt_InsertDelay", insertDelay.X, insertDelay.Y);
    PlaceAt("lbl_Delay", insertDelay.X - 74, insertDelay.Y + 2);
    PlaceAt("lbl_s_A", insertDelay.X + 44, insertDelay.Y + 2);
    // The Y value and the repeat count share one place; the panel shows one at a time.
    const Point axis = ReadPoint("InsertAxisEdit");
    PlaceAt("edt_XAxisValue", axis.X - 80, axis.Y);
    PlaceAt("lbl_XAxisValue", axis.X - 120, axis.Y + 2);
    PlaceAt("edt_YAxisValue", axis.X, axis.Y);
    PlaceAt("lbl_YAxisValue", axis.X - 32, axis.Y + 2);
    PlaceAt("edt_Repeat", axis.X, axis.Y);
    PlaceAt("lbl_Repeat", axis.X - 64, axis.Y + 2);
    ImageWithLabel("InsertBtnStart", "Img_InsertStart", "Btn_InsertStart");
    ImageWithLabel("InsertBtnOK", "Img_OK", "Btn_OK");
    ImageWithLabel("InsertBtnCancel", "Img_Cancel", "Btn_Cancel");
}

void TLayoutApplier::ApplyUpdatePage() {
    const int size = Integer("Size_I");
    SetFontSize({"lbl_LoadBIN"}, size + 2);
    SetFontSize({"Btn_LoadBIN", "Btn_Program"}, size);
    SetFontColor({"lbl_LoadBIN", "Btn_LoadBIN", "Btn_Program"}, ReadColor("Color_I"));
    const Point page = ReadPoint("P5");
    PlaceAt("Img_P5", page.X, page.Y);
    const Point path = ReadPoint("lbl_BINPath");
    PlaceAt("lbl_BINPath", path.X, path.Y);
    const Point loaded = ReadPoint("lbl_LoadBin");
    PlaceAt("lbl_LoadBIN", loaded.X, loaded.Y);
    ImageWithLabel("Btn_LoadBin", "Img_LoadBIN", "Btn_LoadBIN");
    ImageWithLabel("Btn_Program", "Img_Program", "Btn_Program");
    const Point web = ReadPoint("Btn_WebLink");
    PlaceAt("Btn_WebLink", web.X, web.Y);
}

void TLayoutApplier::ApplyFirePage() {
    const std::vector<std::string> edits =
        Join({LayoutNames("Edt_FireCnt", 1, 3), LayoutNames("Edt_FireX", 1, 3),
              LayoutNames("Edt_FireX", 1, 3, "Offset"), LayoutNames("Edt_FireY", 1, 3),
              LayoutNames("Edt_FireY", 1, 3, "Offset"), LayoutNames("Edt_FireTime", 1, 3)});
    const int size = Integer("Size_J");
    SetFontSize(edits, size);
    SetFontSize({"Btn_FireConfirm", "Btn_FireExit"}, size + 2);
    SetFontSize({"Btn_FireStart", "Edt_FireDelay", "CB_InsertFire", "lbl_FireDelay",
                 "Edt_InsertFireDelay", "lbl_FireXAxisValue", "edt_FireXAxisValue",
                 "lbl_FireYAxisValue", "edt_FireYAxisValue", "lbl_FireRepeat", "edt_FireRepeat",
                 "Btn_NewFireName", "Btn_FireDel", "Btn_FireInsert"},
                size);
    // The fire page's captions share the macro page's text colour.
    SetFontColor({"Btn_FireConfirm", "Btn_FireExit", "Btn_FireStart", "Edt_FireDelay",
                  "CB_InsertFire", "lbl_FireDelay", "lbl_FireXAxisValue", "lbl_FireYAxisValue",
                  "lbl_FireRepeat", "Btn_NewFireName", "Btn_FireDel", "Btn_FireInsert"},
                 ReadColor("Color_F"));
    SetFontColor(edits, ReadColor("Color_J_Font"));
    SetColor(Join({edits,
                   {"Btn_NewFireName", "Btn_FireDel", "Btn_FireInsert", "Edt_FireDelay",
                    "Edt_InsertFireDelay", "edt_FireRepeat", "edt_FireXAxisValue",
                    "edt_FireYAxisValue"}}),
             ReadColor("Color_J_Back"));
    SetBorderColor(Join({edits,
                         {"Edt_FireDelay", "Edt_InsertFireDelay", "edt_FireRepeat",
                          "edt_FireXAxisValue", "edt_FireYAxisValue"}}),
                   ReadColor("Color_J_Border"));

    const Point page = ReadPoint("P6");
    PlaceAt("Img_P6", page.X, page.Y);
    for (int j = 1; j <= 7; ++j)
        ImageWithLabel(LayoutName("Fire", j), LayoutName("Img_Fire", j), LayoutName("Btn_Fire", j));
    for (int j = 1; j <= 5; ++j) {
        const Point p = ReadPoint(LayoutName("GunMode", j));
        PlaceAt(LayoutName("Img_GunMode", j), p.X, p.Y);
    }
    const Point left = ReadPoint("IsHasLK");
    PlaceAt("Img_FireSelLeft", left.X, left.Y);
    if (platform::vcl::TControl* label = Find("lbl_FireSelLeft")) {
        label->SetLeft(left.X - 2);
        label->SetTop(left.Y);
        label->SetHeight(HeightOf("Img_FireSelLeft") + 4);
        label->SetWidth(WidthOf("Img_FireSelLeft") + 4);
    }
    for (const char* stem :
         {"FireCnt", "FireX", "FireX_Offset", "FireY", "FireY_Offset", "FireTime"}) {
        const std::string s = stem;
        const size_t offset = s.find("_Offset");
        for (int j = 1; j <= 3; ++j) {
            // "FireX2_Offset" sets Edt_FireX2Offset.
            const std::string key = offset == std::string::npos
                                        ? LayoutName(s, j)
                                        : LayoutName(s.substr(0, offset), j, "_Offset");
            const std::string edit = offset == std::string::npos
                                         ? LayoutName("Edt_" + s, j)
                                         : LayoutName("Edt_" + s.substr(0, offset), j, "Offset");
            const Point p = ReadPoint(key);
            PlaceAt(edit, p.X, p.Y);
        }
    }
    for (int j = 1; j <= 3; ++j) {
        const Point p = ReadPoint(LayoutName("FireColor", j));
        const std::string image = LayoutName("Img_FireColor", j);
        PlaceAt(image, p.X, p.Y);
        PlaceOnImage(LayoutName("cs_FireColor", j), image, p.X, p.Y);
        PlaceOnImage(LayoutName("IB_FireColor", j), image, p.X, p.Y);
    }
    ImageWithLabel("FireConfirm", "Img_FireConfirm", "Btn_FireConfirm");
    ImageWithLabel("FireCancel", "Img_FireExit", "Btn_FireExit");
}

} // namespace window::shell
