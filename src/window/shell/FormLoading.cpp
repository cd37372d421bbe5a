#include "window/shell/FormLoading.h"

#include "platform/vcl/FormDesign.h"
#include "window/Main.h"
#include "support/InputBlock.h"

namespace window::shell {

TFormLoadingUI* FormLoadingUI = nullptr;

TFormLoadingUI::TFormLoadingUI(platform::vcl::TComponent* owner) : platform::vcl::TForm(owner) {
    support::RegisterGifAnimatorClass();
    platform::vcl::TFormBinding binding;
    binding.className = "TFormLoadingUI";
    binding.fields.push_back(platform::vcl::Field("WaitGif", WaitGif));
    binding.handlers.push_back(
        platform::vcl::Handler("FormCreate", this, &TFormLoadingUI::FormCreate));
    platform::vcl::LoadFormDesign(*this, "FORMLOADINGUI", binding);
    // The window the user works in is the main window as it is when the busy window
    // shows; tests and the program block may set Form1 after this window exists.
    inputBlock_ = std::make_unique<support::TInputBlock>(
        *this, []() -> platform::vcl::TForm* { return Form1; });
}

TFormLoadingUI::~TFormLoadingUI() = default;

void TFormLoadingUI::FormCreate(platform::vcl::TObject*) {
    if (Form1) CentreOn(*Form1, 40);
    SetKeyPreview(true);
    SetFormStyle(platform::vcl::fsStayOnTop);
    WaitGif->SetAnimate(true);
}

bool TFormLoadingUI::CentreOn(const platform::vcl::TControl& main, int below) {
    // Each position read of a window asks after its frame: every one is read once.
    const int width = Width(), height = Height();
    const int left = main.Left() + (main.Width() - width) / 2;
    const int top = main.Top() + (main.Height() - height) / 2 + below;
    if (left == Left() && top == Top()) return false;
    SetBounds(left, top, width, height);
    return true;
}

bool TFormLoadingUI::InputBlocked() const {
    return inputBlock_->Active();
}

} // namespace window::shell
