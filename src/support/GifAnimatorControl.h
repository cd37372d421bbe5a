#pragma once
// The GIF animator as a control of the component library, so that form designs can hold
// it (class name TGifAnimator) and forms use it like any other control.
#include "platform/vcl/Controls.h"
#include "support/GifAnimator.h"

#include <string>

namespace support {

class TGifAnimatorControl : public vcl::TControl {
public:
    explicit TGifAnimatorControl(vcl::TComponent* owner);

    TGifAnimator* Animator() const { return static_cast<TGifAnimator*>(Widget()); }

    bool Animate() const { return Animator()->Animate(); }
    void SetAnimate(bool on) { Animator()->SetAnimate(on); }
    bool Stretch() const { return Animator()->Stretch(); }
    void SetStretch(bool on);
    int FrameIndex() const { return Animator()->FrameIndex(); }
    void SetFrameIndex(int index) { Animator()->SetFrameIndex(index); }

    // Shows the GIF held in the resource of that name (type "RC_DATA"); raises a
    // vcl::Exception naming the resource when it is missing or does not decode.
    void LoadFromResourceName(const std::string& resourceName);
    // The resource the picture came from; empty before any was loaded.
    const std::string& PictureName() const { return pictureName_; }

    // Design properties: Animate, Stretch, FrameIndex, Picture = 'resource name'.
    bool SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) override;

private:
    void FrameShown();

    std::string pictureName_;
};

// Makes the class name TGifAnimator known to the form designs. Call before loading a
// design that holds one; calling it again does no harm.
void RegisterGifAnimatorClass();

} // namespace support
