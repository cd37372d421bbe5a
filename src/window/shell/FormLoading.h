#pragma once
// The busy window: a small borderless, always-on-top window with the busy animation,
// shown over the main window while the program talks to the mouse. Built from the form
// design FORMLOADINGUI (resources/form/). While it shows, user input to the main window
// is dropped (support/InputBlock.h).
#include "platform/vcl/Forms.h"
#include "support/GifAnimatorControl.h"

#include <memory>

namespace support {
class TInputBlock;
}

namespace window::shell {

class TFormLoadingUI : public platform::vcl::TForm {
public:
    // Builds the window from its design; throws when the design does not fit the class.
    explicit TFormLoadingUI(platform::vcl::TComponent* owner);
    ~TFormLoadingUI() override;

    support::TGifAnimatorControl* WaitGif = nullptr;

    // OnCreate: places the window 40 pixels below the centre of Form1, makes it
    // topmost and starts the animation. The window stays hidden.
    void FormCreate(platform::vcl::TObject* Sender);

    // Centres the window on `main`, lowered by `below` pixels; both halves truncate
    // toward zero, so an odd difference leaves the extra pixel right and below. Says
    // whether the window moved.
    bool CentreOn(const platform::vcl::TControl& main, int below = 0);

    // Whether user input to the main window is being dropped now.
    bool InputBlocked() const;

private:
    std::unique_ptr<support::TInputBlock> inputBlock_;
};

// The busy window, once the program block has created it.
extern TFormLoadingUI* FormLoadingUI;

} // namespace window::shell
