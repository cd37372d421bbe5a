#include "support/GifAnimatorControl.h"

#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/FormDesign.h"
#include "platform/vcl/Forms.h"

namespace support {

namespace {

// The pictures being decoded ahead; set and cleared on the main thread only.
TGifPicturesAhead* g_ahead = nullptr;

} // namespace

TGifAnimatorControl::TGifAnimatorControl(platform::vcl::TComponent* owner)
    : platform::vcl::TControl(owner, new TGifAnimator(nullptr)) {
    // Frames differ in their see-through pixels: a colour-keyed form takes the shape of
    // the frame on show. The frames never change once decoded, so the form can keep the
    // shape of each; a frame's image key tells frames and pictures apart.
    Animator()->OnFrameChange = [this] { FrameShown(); };
}

void TGifAnimatorControl::FrameShown() {
    if (IsDestroying()) return;
    platform::vcl::TForm* form = ParentForm();
    if (form && !form->IsDestroying())
        form->ShapeStateChanged(this, Animator()->CurrentFrame().cacheKey());
}

void TGifAnimatorControl::SetStretch(bool on) {
    Animator()->SetStretch(on);
    ShapeChanged();
}

void TGifAnimatorControl::LoadFromResourceName(const std::string& resourceName) {
    TGifPicture ahead;
    if (g_ahead && g_ahead->Take(resourceName, ahead)) {
        Animator()->ShowPicture(std::move(ahead));
    } else {
        const platform::core::ResourceEntry* entry =
            platform::core::FindResource(resourceName, "RC_DATA");
        if (!entry) throw platform::rtl::Exception("Resource " + resourceName + " not found");
        if (!Animator()->LoadFromMemory(entry->data, entry->size))
            throw platform::rtl::Exception(
                "Resource " + resourceName +
                " is not a usable GIF picture: " + Animator()->LastError());
    }
    pictureName_ = resourceName;
}

bool TGifAnimatorControl::SetDesignProperty(const std::string& name,
                                            const platform::vcl::TDesignValue& value) {
    if (name == "Animate")
        SetAnimate(value.AsBool());
    else if (name == "Stretch")
        SetStretch(value.AsBool());
    else if (name == "FrameIndex")
        SetFrameIndex(value.AsInt());
    else if (name == "Picture")
        LoadFromResourceName(value.AsString());
    else
        return platform::vcl::TControl::SetDesignProperty(name, value);
    return true;
}

TGifPicturesAhead::TGifPicturesAhead(const std::vector<std::string>& resourceNames)
    : work_(
          resourceNames,
          [this](const std::string& name) {
              const platform::core::ResourceEntry* entry =
                  platform::core::FindResource(name, "RC_DATA");
              if (!entry) return;
              TGifPicture picture;
              std::string error;
              if (!DecodeGifForShow(entry->data, entry->size, picture, error)) return;
              std::lock_guard guard(lock_);
              decoded_[platform::rtl::UpperCase(name)] = std::move(picture);
          },
          "gif pictures") {
    g_ahead = this;
}

TGifPicturesAhead::~TGifPicturesAhead() {
    if (g_ahead == this) g_ahead = nullptr;
}

bool TGifPicturesAhead::Take(const std::string& resourceName, TGifPicture& picture) {
    if (!work_.Await(resourceName)) return false;
    std::lock_guard guard(lock_);
    auto found = decoded_.find(platform::rtl::UpperCase(resourceName));
    if (found == decoded_.end()) return false;
    picture = std::move(found->second);
    decoded_.erase(found);
    return true;
}

void RegisterGifAnimatorClass() {
    platform::vcl::RegisterComponentClass(
        "TGifAnimator", [](platform::vcl::TComponent* owner) -> platform::vcl::TComponent* {
            return new TGifAnimatorControl(owner);
        });
}

} // namespace support
