// The window's own chrome: pop-up hiding, exit and minimise, the hover pictures of the
// header buttons with their rolling text, the page overlays and the message dialog.
#include "platform/vcl/Dialogs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/desktop/User32.h"
#include "window/Main.h"
#include "window/shell/SkinImages.h"

namespace window {

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
    for (platform::vcl::TControl* c : std::initializer_list<platform::vcl::TControl*>{
             Pnl_Main, Pnl_MseKey, Pnl_Special, Pnl_Media, Pnl_WWW, Pnl_MyPC, Pnl_FireKey,
             Pnl_CPIKey, Pnl_ACPI, Pnl_Profile, LB_Name, LB_Script, Pnl_PCMacro, Pnl_DevMacro,
             Pnl_DevContent, Pnl_DevFireMacro, Pnl_DevFireContent, Pnl_AdjustXY})
        c->SetVisible(false);
}

void TForm1::Btn_Exit1_0Click(platform::vcl::TObject* /*Sender*/) {
    Close();
}

void TForm1::Btn_Exit2_0Click(platform::vcl::TObject* /*Sender*/) {
    Close();
}

void TForm1::Btn_Minimize_0Click(platform::vcl::TObject* /*Sender*/) {
    platform::desktop::PostMessageA(Handle(), platform::desktop::WM_SYSCOMMAND,
                                    platform::desktop::SC_MINIMIZE, 0);
}

} // namespace window

namespace window::shell {

// ---- Hover ----------------------------------------------------------------------------

namespace {

controls::unicode::TWideLabel* AsLabel(platform::vcl::TObject* sender) {
    return dynamic_cast<controls::unicode::TWideLabel*>(sender);
}

} // namespace

// The hovered label becomes the rolling text's label.
static void RegisterRollingLabel(TForm1& form, controls::unicode::TWideLabel& label) {
    form.RollingLabelName = label.Name();
    form.RollingLabelCaption = controls::unicode::TWideLabel::GetCaption(&label);
    form.RollingText = form.RollingLabelCaption;
}

// The picture on the five page copies of the hovered label's image ("Img_<base>_1".."_5").
static void ShowOnPageCopies(TForm1& form, const controls::unicode::TWideLabel& label,
                             const char* picture) {
    const std::string base = ButtonFamilyBase(label.Name());
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= 5; ++i)
        LoadSkinPng(form.Named<platform::vcl::TImage>("Img_" + base + "_" + std::to_string(i)),
                    picture, decoder);
}

// Whatever the rolling text did to the caption is undone.
static void RestoreRollingCaption(TForm1& form) {
    if (form.RollingLabelName.empty()) return;
    if (auto* label =
            dynamic_cast<controls::unicode::TWideLabel*>(form.FindComponent(form.RollingLabelName)))
        controls::unicode::TWideLabel::SetCaption(label, form.RollingLabelCaption);
}

} // namespace window::shell

namespace window {

void TForm1::ButtonTypeIMouseEnter(platform::vcl::TObject* Sender) {
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    shell::RegisterRollingLabel(*this, *label);
    shell::ShowOnPageCopies(*this, *label, "ExitS_02");
}

void TForm1::ButtonTypeIMouseLeave(platform::vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    shell::ShowOnPageCopies(*this, *label, "ExitS_01");
    shell::RestoreRollingCaption(*this);
}

void TForm1::ButtonTypeJMouseEnter(platform::vcl::TObject* Sender) {
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    shell::ShowOnPageCopies(*this, *label, "MiniS_02");
    shell::RegisterRollingLabel(*this, *label);
    RollingStep = 0;
    if (label->Enabled()) LabelRun->SetEnabled(true);
}

void TForm1::ButtonTypeJMouseLeave(platform::vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    shell::ShowOnPageCopies(*this, *label, "MiniS_01");
    shell::RestoreRollingCaption(*this);
}

void TForm1::ButtonTypeBMouseEnter(platform::vcl::TObject* Sender) {
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    shell::RegisterRollingLabel(*this, *label);
    platform::vcl::TPngImage decoder;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_02",
                       decoder);
}

void TForm1::ButtonTypeBMouseLeave(platform::vcl::TObject* Sender) {
    LabelRun->SetEnabled(false);
    controls::unicode::TWideLabel* label = shell::AsLabel(Sender);
    if (!label) return;
    platform::vcl::TPngImage decoder;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_01",
                       decoder);
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
            Named<platform::vcl::TImage>(current + std::to_string(i))
                .SetPicture(decoder.ToQImage(), "SetS_03");
    shell::RestoreRollingCaption(*this);
}

void TForm1::LabelRunTimer(platform::vcl::TObject* /*Sender*/) {
    if (!TextRollingEnabled) return;
    RollingStep = RollingStep + 1;
    if (RollingStep > 20) RollingStep = 2;
    if (RollingStep == 1) RollingText += u"    ";
    if (!RollingText.empty()) RollingText = RollingText.substr(1) + RollingText.front();
    if (auto* label = dynamic_cast<controls::unicode::TWideLabel*>(FindComponent(RollingLabelName)))
        controls::unicode::TWideLabel::SetCaption(label, RollingText);
}

void TForm1::ButtonTypeB_1IconInit(platform::vcl::TObject* /*Sender*/) {
    shell::NoDevicePageFlag = 0;
    platform::vcl::TPngImage decoder;
    decoder.LoadFromResourceName("SetS_01");
    for (int i = 1; i <= 5; ++i)
        for (const char* family : MenuFamilies)
            Named<platform::vcl::TImage>(family + std::to_string(i))
                .SetPicture(decoder.ToQImage(), "SetS_01");
}

void TForm1::DisableMainButtonControl(platform::vcl::TObject* /*Sender*/) {
    for (int i = 1; i <= 5; ++i)
        Named<platform::vcl::TControl>("Disable_All_" + std::to_string(i)).SetVisible(true);
}

void TForm1::EnableMainButtonControl(platform::vcl::TObject* /*Sender*/) {
    for (int i = 1; i <= 5; ++i)
        Named<platform::vcl::TControl>("Disable_All_" + std::to_string(i)).SetVisible(false);
}

void TForm1::RefreshFormMessagDialog(const std::u16string& text) {
    // Custom type: no icon, the application title as caption, one OK button.
    std::unique_ptr<platform::vcl::TMessageDialog> dialog = platform::vcl::CreateMessageDialog(
        platform::rtl::Utf16ToUtf8(text), platform::vcl::mtCustom, platform::vcl::mbOK);
    if (!LangFontName.empty()) dialog->Font().SetName(LangFontName);
    dialog->ShowModal();
}

} // namespace window
