#pragma once
// The GIF animator as a control of the component library, so that form designs can hold
// it (class name TGifAnimator) and forms use it like any other control.
#include "platform/core/WorkAhead.h"
#include "platform/vcl/Controls.h"
#include "support/GifAnimator.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace support {

class TGifAnimatorControl : public platform::vcl::TControl {
public:
    explicit TGifAnimatorControl(platform::vcl::TComponent* owner);

    TGifAnimator* Animator() const { return static_cast<TGifAnimator*>(Widget()); }

    bool Animate() const { return Animator()->Animate(); }
    void SetAnimate(bool on) { Animator()->SetAnimate(on); }
    bool Stretch() const { return Animator()->Stretch(); }
    void SetStretch(bool on);
    int FrameIndex() const { return Animator()->FrameIndex(); }
    void SetFrameIndex(int index) { Animator()->SetFrameIndex(index); }

    // Shows the GIF held in the resource of that name (type "RC_DATA"); raises a
    // platform::rtl::Exception naming the resource when it is missing or does not decode.
    void LoadFromResourceName(const std::string& resourceName);
    // The resource the picture came from; empty before any was loaded.
    const std::string& PictureName() const { return pictureName_; }

    // Design properties: Animate, Stretch, FrameIndex, Picture = 'resource name'.
    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;

private:
    void FrameShown();

    std::string pictureName_;
};

// Decodes GIF resources ahead of their first load, on a thread of its own and in the
// order given. While one is alive, TGifAnimatorControl::LoadFromResourceName waits for a
// picture being decoded ahead and takes it, and decodes one not yet begun itself; what it
// shows and what it raises stay the same. A picture that fails ahead is not kept, so its
// load decodes it again and raises then; each picture decoded ahead serves one load, and
// later loads decode their own. No resource may be registered anew while it runs. One at
// a time, made and ended on the main thread.
class TGifPicturesAhead {
public:
    explicit TGifPicturesAhead(const std::vector<std::string>& resourceNames);
    ~TGifPicturesAhead();
    TGifPicturesAhead(const TGifPicturesAhead&) = delete;
    TGifPicturesAhead& operator=(const TGifPicturesAhead&) = delete;

    // The picture decoded ahead for the resource, handed over once; false when there is
    // none (not on the list, not begun, failed or handed over already).
    bool Take(const std::string& resourceName, TGifPicture& picture);
    // The names on the list no load has asked for yet, in list order.
    std::vector<std::string> NeverAsked() { return work_.NeverAsked(); }

private:
    std::mutex lock_;
    std::map<std::string, TGifPicture> decoded_; // by upper-case name
    platform::core::TWorkAhead work_;            // last: its thread ends before the rest
};

// Makes the class name TGifAnimator known to the form designs. Call before loading a
// design that holds one; calling it again does no harm.
void RegisterGifAnimatorClass();

} // namespace support
