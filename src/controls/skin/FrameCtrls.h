#pragma once
// Framed containers: a panel with a coloured one-pixel frame (the button-function menus)
// and a group box framed in the skin's accent colour.
#include "controls/skin/SkinCtrls.h"
#include "platform/vcl/ExtCtrls.h"

namespace controls {

class TFramePanel : public vcl::TPanel {
public:
    explicit TFramePanel(vcl::TComponent* owner);
    TColor BorderColor() const { return borderColor_; }
    // Stores the colour (red in the low byte); repaints only when it changed.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) override;

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

} // namespace controls
