#pragma once
// Pictures, panels, shapes and timers.
#include "platform/vcl/Controls.h"

#include <cstdint>
#include <memory>
#include <string>

class QImage;
class QTimer;

namespace platform::vcl {

class TImage : public TControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    const QImage& Picture() const;
    // Shows a picture; resourceName names the resource it came from (empty for none).
    void SetPicture(const QImage& picture, const std::string& resourceName);
    void ClearPicture();
    // The resource name of the picture shown, as given to SetPicture.
    const std::string& PictureName() const { return pictureName_; }

    // With AutoSize the control takes its picture's size.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    // Without Transparent the area the picture leaves free shows the parent's colour;
    // with it, what lies beneath.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

    // Loads the picture a design names (Picture = 'name'); set by the layer that
    // decodes the program's pictures. Without it a design naming a picture fails.
    static std::function<void(TImage& image, const std::string& resourceName)> PictureLoader;

private:
    struct View;
    View* ViewWidget() const;
    void AdjustSize();

    std::unique_ptr<QImage> picture_;
    std::string pictureName_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);
    void SetCaption(const std::string& caption) override;
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

private:
    struct View;
    TPanelBevel bevelOuter_ = bvRaised;
    TAlignment alignment_ = taCenter;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TControl {
public:
    explicit TShape(TComponent* owner);
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(TColor color);
    TColor PenColor() const { return penColor_; }
    void SetPenColor(TColor color);
    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int width);
    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

private:
    struct View;
    TShapeType shape_ = stRectangle;
    TColor brushColor_ = clWhite;
    TColor penColor_ = clBlack;
    int penWidth_ = 1;
};

// Runs OnTimer every Interval milliseconds of program time (the process-wide time
// scale applies) while Enabled. Interval 0 stops it. However small the scaled interval,
// the timer waits at least a millisecond between ticks rather than spinning.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    uint32_t Interval() const { return interval_; }
    void SetInterval(uint32_t ms);

    TNotifyEvent OnTimer;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

private:
    void Update();
    std::unique_ptr<QTimer> timer_;
    bool enabled_ = true;
    uint32_t interval_ = 1000;
};

} // namespace platform::vcl
