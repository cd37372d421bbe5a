#pragma once
// Animated GIF pictures: a decoder that turns a GIF held in memory into fully composed
// frames, and the control that shows them and runs the animation on its own timer.
#include <QImage>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace support {

// One composed frame: the whole logical screen as it looks while the frame is shown
// (pixels no frame has painted yet are fully transparent), and how long it is shown.
struct TGifFrame {
    QImage Image; // Format_ARGB32, logical screen size
    int DelayMs = 0;
};

struct TGifPicture {
    QSize Size;
    std::vector<TGifFrame> Frames;
    // The data ended early or went bad after at least one complete frame; the frames
    // before the damage are kept.
    bool Damaged = false;
};

// Frame delays are stored in hundredths of a second. 0 and 1 are what many encoders
// write for "as fast as possible"; like web browsers we show such frames for 100 ms,
// which is the speed those pictures were made to be seen at.
int GifDelayMs(int delayHundredths);

// Decodes a GIF from memory. Returns false (and sets error) when the data is not a GIF
// or holds no complete frame; a GIF damaged after its first complete frame decodes to
// the complete frames before the damage, with Damaged set. Colour indexes beyond the
// frame's colour map are treated like the transparent colour. A frame without any
// colour map counts as damage.
bool DecodeGif(const void* data, size_t size, TGifPicture& picture, std::string& error);
// Decodes as DecodeGif does, each frame held the way the animation control holds it (see
// TGifAnimator::CurrentFrame).
bool DecodeGifForShow(const void* data, size_t size, TGifPicture& picture, std::string& error);

// The animation control: shows the current frame at the top left of the control, or
// scaled to the control's size with Stretch on. With Animate on and more than one frame
// it steps through the frames on its own timer, each frame for its delay (in program
// time, so the process time scale applies), and starts again after the last one. The
// timer only runs while the control is visible; a hidden animation resumes where it was.
class TGifAnimator : public QWidget {
public:
    explicit TGifAnimator(QWidget* parent = nullptr);

    // Replaces the picture. On failure the previous picture stays and false is returned.
    // The frame index is kept when the new picture has that frame, otherwise it is 0.
    bool LoadFromMemory(const void* data, size_t size);
    // Replaces the picture with one DecodeGifForShow made, as LoadFromMemory of its data.
    void ShowPicture(TGifPicture picture);
    void Clear();
    const std::string& LastError() const { return lastError_; }

    bool Animate() const { return animate_; }
    void SetAnimate(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);

    int FrameIndex() const { return frameIndex_; }
    // Shows frame `index`; an index outside the loaded picture is ignored. Before any
    // picture is loaded the index is remembered for the picture that follows.
    void SetFrameIndex(int index);
    int FrameCount() const { return static_cast<int>(picture_.Frames.size()); }
    // Delay of frame `index` in milliseconds of program time; 0 outside the picture.
    int FrameDelay(int index) const;
    QSize PictureSize() const { return picture_.Size; }
    bool PictureDamaged() const { return picture_.Damaged; }
    // The frame on show; a null image when no picture is loaded. A frame of at most 256
    // colours is held as an 8-bit picture with a colour table, others as decoded.
    QImage CurrentFrame() const;

    // When the animation's next frame is due: the frame changes when events are handled
    // at or after this moment (not before). time_point::max() while the animation is
    // not running. A plain read, cheap enough to ask at every step of a transfer.
    std::chrono::steady_clock::time_point NextFrameDue() const { return nextFrameDue_; }

    // Runs whenever what the control shows changes (another frame, another picture), so
    // that a colour-keyed window can follow the shape of the frame on show.
    std::function<void()> OnFrameChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Reschedule();
    void NextFrame();
    void FrameChanged();

    TGifPicture picture_;
    std::string lastError_;
    QTimer timer_;
    std::chrono::steady_clock::time_point nextFrameDue_ =
        std::chrono::steady_clock::time_point::max();
    int frameIndex_ = 0;
    bool animate_ = false;
    bool stretch_ = false;
};

} // namespace support
