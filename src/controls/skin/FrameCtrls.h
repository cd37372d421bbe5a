#pragma once
// Framed containers: a panel with a coloured one-pixel frame (the button-function menus)
// and a group box framed in the skin's accent colour.
#include "controls/skin/SkinCtrls.h"
#include "platform/vcl/ExtCtrls.h"

namespace controls::skin {

class TFramePanel : public platform::vcl::TPanel {
public:
    explicit TFramePanel(platform::vcl::TComponent* owner);
    TColor BorderColor() const { return borderColor_; }
    // Stores the colour (red in the low byte); repaints only when it changed.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;

protected:
    void FontChanged() override;
    bool HandleEvent(QEvent* event) override;

private:
    TColor borderColor_ = clSkinAccent;
    bool painting_ = false;
};

class TFrameGroupBox : public TSkinCustomGroupBox {
public:
    using TSkinCustomGroupBox::TSkinCustomGroupBox;
};

} // namespace controls::skin
