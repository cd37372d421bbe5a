#include "support/GifAnimatorControl.h"

#include "platform/core/Resources.h"
#include "platform/vcl/FormDesign.h"
#include "platform/vcl/Forms.h"
#include "platform/rtl/SysUtils.h"

namespace support {

TGifAnimatorControl::TGifAnimatorControl(vcl::TComponent* owner)
    : vcl::TControl(owner, new TGifAnimator(nullptr)) {
    // Frames differ in their see-through pixels: a colour-keyed form takes the shape of
    // the frame on show. The frames never change once decoded, so the form can keep the
    // shape of each; a frame's image key tells frames and pictures apart.
    Animator()->OnFrameChange = [this] { FrameShown(); };
}

void TGifAnimatorControl::FrameShown() {
    if (IsDestroying()) return;
    vcl::TForm* form = ParentForm();
    if (form && !form->IsDestroying())
        form->ShapeStateChanged(this, Animator()->CurrentFrame().cacheKey());
}

void TGifAnimatorControl::SetStretch(bool on) {
    Animator()->SetStretch(on);
    ShapeChanged();
}

void TGifAnimatorControl::LoadFromResourceName(const std::string& resourceName) {
    const platform::ResourceEntry* entry = platform::FindResource(resourceName, "RC_DATA");
    if (!entry) throw vcl::Exception("Resource " + resourceName + " not found");
    if (!Animator()->LoadFromMemory(entry->data, entry->size))
        throw vcl::Exception("Resource " + resourceName +
                             " is not a usable GIF picture: " + Animator()->LastError());
    pictureName_ = resourceName;
}

bool TGifAnimatorControl::SetDesignProperty(const std::string& name,
                                            const vcl::TDesignValue& value) {
    if (name == "Animate")
        SetAnimate(value.AsBool());
    else if (name == "Stretch")
        SetStretch(value.AsBool());
    else if (name == "FrameIndex")
        SetFrameIndex(value.AsInt());
    else if (name == "Picture")
        LoadFromResourceName(value.AsString());
    else
        return vcl::TControl::SetDesignProperty(name, value);
    return true;
}

void RegisterGifAnimatorClass() {
    vcl::RegisterComponentClass("TGifAnimator", [](vcl::TComponent* owner) -> vcl::TComponent* {
        return new TGifAnimatorControl(owner);
    });
}

} // namespace support
