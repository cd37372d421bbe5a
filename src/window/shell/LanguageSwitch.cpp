// The language buttons of the page headers, their hover pictures, and the header's web
// button that opens the support link.
#include "platform/desktop/Shell32.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"
#include "window/shell/SkinImages.h"

namespace shell {

namespace {

constexpr int HeaderCopies = 5; // one header on each of the pages 1 to 5

std::string LangImageName(int n, int copy) {
    return "Img_Lang" + std::to_string(n) + "_" + std::to_string(copy);
}

std::string LangLabelName(int n, int copy) {
    return "Btn_Lang" + std::to_string(n) + "_" + std::to_string(copy);
}

std::u16string& LanguageCaption(TForm1& form, int n) {
    return n == 1 ? form.Language1Caption : n == 2 ? form.Language2Caption : form.Language3Caption;
}

// The language whose hidden radio button is checked; 0 when none is.
int CheckedLanguage(const TForm1& form) {
    return form.rb_Lang1->Checked()   ? 1
           : form.rb_Lang2->Checked() ? 2
           : form.rb_Lang3->Checked() ? 3
                                      : 0;
}

} // namespace

void TForm1::SwitchLanguage(int n, bool skinApplied) {
    ShowDisableOverlays();
    vcl::TPngImage decoder;
    for (int i = 1; i <= HeaderCopies; ++i)
        LoadSkinPng(Named<vcl::TImage>(LangImageName(n, i)), "SetS_03", decoder);
    for (int i = 1; i <= HeaderCopies; ++i)
        for (int other = 1; other <= LanguageCount; ++other)
            if (other != n)
                LoadSkinPng(Named<vcl::TImage>(LangImageName(other, i)), "SetS_01", decoder);
    (n == 1 ? rb_Lang1 : n == 2 ? rb_Lang2 : rb_Lang3)->SetChecked(true);

    // The insert list is rewritten in the new language; the user's choice in it stays.
    auto& insertList = Named<vcl::TComboBox>("CB_Insert");
    const int insertChoice = insertList.ItemIndex();
    Gb_Delay->SetVisible(false);
    LanguageNumber = n;
    if (!skinApplied) ApplySkin();
    // The start-up switch runs inside the window's creation, before the busy window and the
    // polling thread exist; pumping there could run a device timer tick (and a whole device
    // read) in the middle of start-up, while a window not yet shown has nothing to repaint.
    if (n == 1 && Visible()) vcl::Application()->ProcessMessages();

    RollingStep = 0;
    const std::u16string caption =
        controls::TWideLabel::GetCaption(&Named<controls::TWideLabel>(LangLabelName(n, 1)));
    RollingLabelCaption = caption;
    RollingText = caption;
    LanguageCaption(*this, n) = caption;
    insertList.SetItemIndex(insertChoice);
    vcl::Application()->SetTitle(TitleText);
    RefreshAPPage(nullptr);
    HideDisableOverlays();
}

void TForm1::Btn_Lang1_0Click(vcl::TObject* /*Sender*/) {
    SwitchLanguage(1);
}

void TForm1::Btn_Lang2_0Click(vcl::TObject* /*Sender*/) {
    SwitchLanguage(2);
}

void TForm1::Btn_Lang3_0Click(vcl::TObject* /*Sender*/) {
    SwitchLanguage(3);
}

// While the overlays cover the pages a language button shows no hover; a click still
// switches.
void TForm1::ButtonTypeDMouseEnter(vcl::TObject* Sender) {
    if (Disable_All_1->Visible()) return;
    auto* label = dynamic_cast<controls::TWideLabel*>(Sender);
    if (!label) return;
    auto& image = Named<vcl::TImage>("Img_" + label->Name().substr(4));
    RollingLabelName = label->Name();
    RollingLabelCaption = controls::TWideLabel::GetCaption(label);
    RollingText = RollingLabelCaption;
    vcl::TPngImage decoder;
    LoadSkinPng(image, "SetS_02", decoder);
}

void TForm1::ButtonTypeDMouseLeave(vcl::TObject* Sender) {
    if (Disable_All_1->Visible()) return;
    LabelRun->SetEnabled(false);
    auto* label = dynamic_cast<controls::TWideLabel*>(Sender);
    if (!label) return;
    vcl::TPngImage decoder;
    LoadSkinPng(Named<vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_01", decoder);
    // The current language's buttons show pressed again, with their own captions whatever
    // the rolling text left on them.
    const int current = CheckedLanguage(*this);
    if (!current) return;
    for (int i = 1; i <= HeaderCopies; ++i) {
        LoadSkinPng(Named<vcl::TImage>(LangImageName(current, i)), "SetS_03", decoder);
        controls::TWideLabel::SetCaption(&Named<controls::TWideLabel>(LangLabelName(current, i)),
                                         LanguageCaption(*this, current));
    }
}

namespace {

void ShowWebPicture(TForm1& form, const char* picture) {
    vcl::TPngImage decoder;
    for (int i = 1; i <= HeaderCopies; ++i)
        LoadSkinPng(form.Named<vcl::TImage>("Img_Web_" + std::to_string(i)), picture, decoder);
}

} // namespace

void TForm1::Btn_Web_0MouseEnter(vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_03");
}

void TForm1::Btn_Web_0MouseLeave(vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_01");
}

void TForm1::Btn_Web_0Click(vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_02");
    // No browser or a bad link: the desktop's failure is not the user's business here.
    if (WebLinkEnabled)
        platform::win::ShellExecuteA(Handle(), nullptr, WebLink.c_str(), nullptr, nullptr,
                                     platform::win::SW_SHOWNORMAL);
}

} // namespace shell
