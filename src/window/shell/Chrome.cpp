// The window's own chrome: pop-up hiding, exit and minimise, the hover pictures of the
// header buttons with their rolling text, the page overlays and the message dialog.
#include "platform/vcl/Dialogs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/desktop/User32.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

namespace shell {

namespace {

// "Btn_Exit1_3" -> "Exit1": the name without "Btn_" and without the page suffix.
std::string ButtonFamilyBase(const std::string& name) {
    return name.size() > 6 ? name.substr(4, name.size() - 6) : std::string();
}

const char* const MenuFamilies[] = {"Img_Main_",   "Img_Switch_", "Img_Fixed_",  "Img_Adv_",
                                    "Img_Breath_", "Img_Macro_",  "Img_Update_", "Img_Engineer_",
                                    "Img_Save_",   "Img_Load_"};

} // namespace

void TForm1::HideAllMenu() {
    for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
             Pnl_Main, Pnl_MseKey, Pnl_Special, Pnl_Media, Pnl_WWW, Pnl_MyPC, Pnl_FireKey,
             Pnl_CPIKey, Pnl_ACPI, Pnl_Profile, LB_Name, LB_Script, Pnl_PCMacro, Pnl_DevMacro,
             Pnl_DevContent, Pnl_DevFireMacro, Pnl_DevFireContent, Pnl_AdjustXY})
        c->SetVisible(false);
}

void TForm1::Btn_Exit1_0Click(vcl::TObject* /*Sender*/) {
    Close();
}

void TForm1::Btn_Exit2_0Click(vcl::TObject* /*Sender*/) {
    Close();
}

void TForm1::Btn_Minimize_0Click(vcl::TObject* /*Sender*/) {
    platform::win::PostMessageA(Handle(), platform::win::WM_SYSCOMMAND, platform::win::SC_MINIMIZE,
                                0);
}

// ---- Hover ----------------------------------------------------------------------------

namespace {

controls::TWideLabel* AsLabel(vcl::TObject* sender) {
    return dynamic_cast<controls::TWideLabel*>(sender);
}

} // namespace

// The hovered label becomes the rolling text's label.
static void RegisterRollingLabel(TForm1& form, controls::TWideLabel& label) {
    form.RollingLabelName = label.Name();
    form.RollingLabelCaption = controls::TWideLabel::GetCaption(&label);
    form.RollingText = form.RollingLabelCaption;
}

// The picture on the five page copies of the hovered label's image ("Img_<base>_1".."_5").
static void ShowOnPageCopies(TForm1& form, const controls::TWideLabel& label, const char* picture) {
    const std::string base = ButtonFamilyBase(label.Name());
    vcl::TPngImage decoder;
    for (int i = 1; i <= 5; ++i)
        LoadSkinPng(form.Named<vcl::TImage>("Img_" + base + "_" + std::to_string(i)), picture,
                    decoder);
}

// Whatever the rolling text did to the caption is undone.
static void RestoreRollingCaption(TForm1& form) {
    if (form.RollingLabelName.empty()) return;
    if (auto* label =
            dynamic_cast<controls::TWideLabel*>(form.FindComponent(form.RollingLabelName)))
        controls::TWideLabel::SetCaption(label, form.RollingLabelCaption);
}

void TForm1::ButtonTypeIMouseEnter(vcl::TObject* Sender) {
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    RegisterRollingLabel(*this, *label);
    ShowOnPageCopies(*this, *label, "ExitS_02");
}

void TForm1::ButtonTypeIMouseLeave(vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    ShowOnPageCopies(*this, *label, "ExitS_01");
    RestoreRollingCaption(*this);
}

void TForm1::ButtonTypeJMouseEnter(vcl::TObject* Sender) {
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    ShowOnPageCopies(*this, *label, "MiniS_02");
    RegisterRollingLabel(*this, *label);
    RollingStep = 0;
    if (label->Enabled()) LabelRun->SetEnabled(true);
}

void TForm1::ButtonTypeJMouseLeave(vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    ShowOnPageCopies(*this, *label, "MiniS_01");
    RestoreRollingCaption(*this);
}

void TForm1::ButtonTypeBMouseEnter(vcl::TObject* Sender) {
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    RegisterRollingLabel(*this, *label);
    vcl::TPngImage decoder;
    LoadSkinPng(Named<vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_02", decoder);
}

void TForm1::ButtonTypeBMouseLeave(vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::TWideLabel* label = AsLabel(Sender);
    if (!label) return;
    vcl::TPngImage decoder;
    LoadSkinPng(Named<vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_01", decoder);
    // The current page's entry stays pressed on all five headers.
    const char* current = rb_1->Checked()   ? "Img_Main_"
                          : rb_2->Checked() ? "Img_Switch_"
                          : rb_3->Checked() ? "Img_Fixed_"
                          : rb_4->Checked() ? "Img_Adv_"
                          : rb_5->Checked() ? "Img_Breath_"
                          : rb_6->Checked() ? "Img_Macro_"
                          : rb_7->Checked() ? "Img_Update_"
                                            : nullptr;
    decoder.LoadFromResourceName("SetS_03");
    if (current)
        for (int i = 1; i <= 5; ++i)
            Named<vcl::TImage>(current + std::to_string(i))
                .SetPicture(decoder.ToQImage(), "SetS_03");
    RestoreRollingCaption(*this);
}

void TForm1::LabelRunTimer(vcl::TObject* /*Sender*/) {
    if (!TextRollingEnabled) return;
    RollingStep = RollingStep + 1;
    if (RollingStep > 20) RollingStep = 2;
    if (RollingStep == 1) RollingText += u"    ";
    if (!RollingText.empty()) RollingText = RollingText.substr(1) + RollingText.front();
    if (auto* label = dynamic_cast<controls::TWideLabel*>(FindComponent(RollingLabelName)))
        controls::TWideLabel::SetCaption(label, RollingText);
}

void TForm1::ButtonTypeB_1IconInit(vcl::TObject* /*Sender*/) {
    NoDevicePageFlag = 0;
    vcl::TPngImage decoder;
    decoder.LoadFromResourceName("SetS_01");
    for (int i = 1; i <= 5; ++i)
        for (const char* family : MenuFamilies)
            Named<vcl::TImage>(family + std::to_string(i))
                .SetPicture(decoder.ToQImage(), "SetS_01");
}

void TForm1::DisableMainButtonControl(vcl::TObject* /*Sender*/) {
    for (int i = 1; i <= 5; ++i)
        Named<vcl::TControl>("Disable_All_" + std::to_string(i)).SetVisible(true);
}

void TForm1::EnableMainButtonControl(vcl::TObject* /*Sender*/) {
    for (int i = 1; i <= 5; ++i)
        Named<vcl::TControl>("Disable_All_" + std::to_string(i)).SetVisible(false);
}

void TForm1::RefreshFormMessagDialog(const std::u16string& text) {
    // Custom type: no icon, the application title as caption, one OK button.
    std::unique_ptr<vcl::TMessageDialog> dialog =
        vcl::CreateMessageDialog(vcl::Utf16ToUtf8(text), vcl::mtCustom, vcl::mbOK);
    if (!LangFontName.empty()) dialog->Font().SetName(LangFontName);
    dialog->ShowModal();
}

} // namespace shell
