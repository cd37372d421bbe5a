#pragma once
// The kit's input dialog: a modal window asking for one line of text, with its prompt,
// an OK and a Cancel button. Typed text can be hidden behind a password character.
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

#include <string>

namespace controls::skin {

class TSkinInputDialog : public platform::vcl::TComponent {
public:
    explicit TSkinInputDialog(platform::vcl::TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    const std::string& Prompt() const { return prompt_; }
    void SetPrompt(const std::string& prompt) { prompt_ = prompt; }
    // Empty: the text shows as typed; otherwise every character shows as a mark.
    const std::string& PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const std::string& mark) { passwordChar_ = mark; }
    // The font of the window's caption and the font of its prompt, edit and buttons.
    // The desktop draws the caption of a window: its font is kept for a skinned caption.
    platform::vcl::TFont& CaptionFont() { return captionFont_; }
    platform::vcl::TFont& Font() { return font_; }

    // Shows the dialog modally with `value` in its edit; true with `value` replaced by the
    // text when the user pressed OK.
    bool Execute(std::string& value);

    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;

private:
    std::string caption_;
    std::string prompt_;
    std::string passwordChar_;
    platform::vcl::TFont captionFont_;
    platform::vcl::TFont font_;
};

} // namespace controls::skin
