// The language buttons of the page headers, their hover pictures, and the header's web
// button that opens the support link.
#include "platform/desktop/Shell32.h"
#include "window/Main.h"
#include "window/shell/LanguageTables.h"
#include "window/shell/SkinImages.h"

namespace window {

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
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= HeaderCopies; ++i)
        shell::LoadSkinPng(Named<platform::vcl::TImage>(LangImageName(n, i)), "SetS_03", decoder);
    for (int i = 1; i <= HeaderCopies; ++i)
        for (int other = 1; other <= shell::LanguageCount; ++other)
            if (other != n)
                shell::LoadSkinPng(Named<platform::vcl::TImage>(LangImageName(other, i)), "SetS_01",
                                   decoder);
    (n == 1 ? rb_Lang1 : n == 2 ? rb_Lang2 : rb_Lang3)->SetChecked(true);

    // The insert list is rewritten in the new language; the user's choice in it stays.
    auto& insertList = Named<platform::vcl::TComboBox>("CB_Insert");
    const int insertChoice = insertList.ItemIndex();
    Gb_Delay->SetVisible(false);
    LanguageNumber = n;
    if (!skinApplied) ApplySkin();
    // The start-up switch runs inside the window's creation, before the busy window and the
    // polling thread exist; pumping there could run a device timer tick (and a whole device
    // read) in the middle of start-up, while a window not yet shown has nothing to repaint.
    if (n == 1 && Visible()) platform::vcl::Application()->ProcessMessages();

    RollingStep = 0;
    const std::u16string caption = controls::unicode::TWideLabel::GetCaption(
        &Named<controls::unicode::TWideLabel>(LangLabelName(n, 1)));
    RollingLabelCaption = caption;
    RollingText = caption;
    LanguageCaption(*this, n) = caption;
    insertList.SetItemIndex(insertChoice);
    platform::vcl::Application()->SetTitle(TitleText);
    RefreshAPPage(nullptr);
    HideDisableOverlays();
}

void TForm1::Btn_Lang1_0Click(platform::vcl::TObject* /*Sender*/) {
    SwitchLanguage(1);
}

void TForm1::Btn_Lang2_0Click(platform::vcl::TObject* /*Sender*/) {
    SwitchLanguage(2);
}

void TForm1::Btn_Lang3_0Click(platform::vcl::TObject* /*Sender*/) {
    SwitchLanguage(3);
}

// While the overlays cover the pages a language button shows no hover; a click still
// switches.
void TForm1::ButtonTypeDMouseEnter(platform::vcl::TObject* Sender) {
    if (Disable_All_1->Visible()) return;
    auto* label = dynamic_cast<controls::unicode::TWideLabel*>(Sender);
    if (!label) return;
    auto& image = Named<platform::vcl::TImage>("Img_" + label->Name().substr(4));
    RollingLabelName = label->Name();
    RollingLabelCaption = controls::unicode::TWideLabel::GetCaption(label);
    RollingText = RollingLabelCaption;
    platform::vcl::TPngImage decoder;
    shell::LoadSkinPng(image, "SetS_02", decoder);
}

void TForm1::ButtonTypeDMouseLeave(platform::vcl::TObject* Sender) {
    if (Disable_All_1->Visible()) return;
    LabelRun->SetEnabled(false);
    auto* label = dynamic_cast<controls::unicode::TWideLabel*>(Sender);
    if (!label) return;
    platform::vcl::TPngImage decoder;
    shell::LoadSkinPng(Named<platform::vcl::TImage>("Img_" + label->Name().substr(4)), "SetS_01",
                       decoder);
    // The current language's buttons show pressed again, with their own captions whatever
    // the rolling text left on them.
    const int current = CheckedLanguage(*this);
    if (!current) return;
    for (int i = 1; i <= HeaderCopies; ++i) {
        shell::LoadSkinPng(Named<platform::vcl::TImage>(LangImageName(current, i)), "SetS_03",
                           decoder);
        controls::unicode::TWideLabel::SetCaption(
            &Named<controls::unicode::TWideLabel>(LangLabelName(current, i)),
            LanguageCaption(*this, current));
    }
}

namespace {

void ShowWebPicture(TForm1& form, const char* picture) {
    platform::vcl::TPngImage decoder;
    for (int i = 1; i <= HeaderCopies; ++i)
        shell::LoadSkinPng(form.Named<platform::vcl::TImage>("Img_Web_" + std::to_string(i)),
                           picture, decoder);
}

} // namespace

void TForm1::Btn_Web_0MouseEnter(platform::vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_03");
}

void TForm1::Btn_Web_0MouseLeave(platform::vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_01");
}

void TForm1::Btn_Web_0Click(platform::vcl::TObject* /*Sender*/) {
    ShowWebPicture(*this, "WebS_02");
    // No browser or a bad link: the desktop's failure is not the user's business here.
    if (WebLinkEnabled)
        platform::desktop::ShellExecuteA(Handle(), nullptr, WebLink.c_str(), nullptr, nullptr,
                                         platform::desktop::SW_SHOWNORMAL);
}

} // namespace window
