#pragma once
// The skinned control kit: the component library's controls drawn in the program's dark
// skin, with a border colour where the window's layout text sets one. They take every
// property of the controls they derive from, so the form design places them as it
// places any other control.
#include "controls/skin/SkinStyle.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace controls::skin {

using platform::vcl::TColor;

// The skin's palette: dark graphite backgrounds, light text, cyan accent.
constexpr TColor clSkinBack = platform::vcl::RGB(0x1E, 0x21, 0x26);
constexpr TColor clSkinPanel = platform::vcl::RGB(0x2B, 0x2F, 0x36);
constexpr TColor clSkinText = platform::vcl::RGB(0xD8, 0xDC, 0xE2);
constexpr TColor clSkinAccent = platform::vcl::RGB(0x19, 0xB4, 0xC8);

namespace detail {
// Gives the control's widget (marked as `kind`) its skin colours: the fill is the
// control's Color, the text its font colour (the skin's own where either is a system
// colour), the border `border` (the accent for a system colour).
void ApplySkin(platform::vcl::TControl& control, SkinKind kind, TColor border);
// For controls that paint themselves from their palette: text in the font colour (the
// skin's own for a system colour), frame lines in the accent colour.
void ApplySkinPalette(platform::vcl::TControl& control);
} // namespace detail

// A control of the component library drawn in the skin, its colours set again whenever
// its colour or font changes. One the form design creates takes its colours once, when
// its design has been loaded.
template <class Base> class TSkinned : public Base {
public:
    TSkinned(platform::vcl::TComponent* owner, detail::SkinKind kind) : Base(owner), kind_(kind) {
        detail::MarkSkinned(this->WidgetAsIs(), kind);
        Restyle();
    }
    void Loaded() override {
        Base::Loaded();
        Restyle();
    }

protected:
    void ColorChanged() override {
        Base::ColorChanged();
        Restyle();
    }
    void FontChanged() override {
        Base::FontChanged();
        Restyle();
    }
    void Restyle() {
        if (!this->IsLoading()) detail::ApplySkin(*this, kind_, border_);
    }

    TColor border_ = clSkinAccent;

private:
    detail::SkinKind kind_;
};

class TSkinCustomButton : public TSkinned<platform::vcl::TButton> {
public:
    explicit TSkinCustomButton(platform::vcl::TComponent* owner);
    // Stores the caption (Caption reads it back), shows it and repaints.
    void SetCaption(const std::string& caption) override;
};

class TSkinButton : public TSkinCustomButton {
public:
    using TSkinCustomButton::TSkinCustomButton;
};

class TSkinCustomGroupBox : public platform::vcl::TGroupBox {
public:
    explicit TSkinCustomGroupBox(platform::vcl::TComponent* owner);
    void SetCaption(const std::string& caption) override;

protected:
    void FontChanged() override;
};

class TSkinGroupBox : public TSkinCustomGroupBox {
public:
    using TSkinCustomGroupBox::TSkinCustomGroupBox;
};

// Checked is the box's own flag. Setting it to a new state repaints the box and runs
// OnClick, except while the form is being built from its design.
class TSkinCheckBox : public TSkinned<platform::vcl::TCheckBox> {
public:
    explicit TSkinCheckBox(platform::vcl::TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A click by the user has already toggled the box; the flag follows it.
    void Click() override;

    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;
    void Loaded() override;

protected:
    // Paints the skin's check picture in the indicator's place, then the caption.
    bool HandleEvent(QEvent* event) override;

private:
    bool checked_ = false;
    bool loading_ = false;
};

// ItemIndex: -1 for no selection; setting it runs no handler and an index beyond the
// list selects nothing (as the library's combo box does).
class TSkinComboBox : public TSkinned<platform::vcl::TComboBox> {
public:
    explicit TSkinComboBox(platform::vcl::TComponent* owner);
};

class TSkinEdit : public TSkinned<platform::vcl::TEdit> {
public:
    explicit TSkinEdit(platform::vcl::TComponent* owner);
    TColor BorderColor() const { return border_; }
    // Stores the colour (red in the low byte) and repaints.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;
};

// Takes only digits from the keyboard; a text set in code is kept as given.
class TSkinNumberEdit : public TSkinEdit {
public:
    explicit TSkinNumberEdit(platform::vcl::TComponent* owner);
};

// Takes only hexadecimal digits from the keyboard.
class THexEdit : public TSkinEdit {
public:
    explicit THexEdit(platform::vcl::TComponent* owner);
    // The text read as a hexadecimal number, 0 for an empty text; a text that is not a
    // hexadecimal number raises the conversion error.
    int Value() const;
};

class TSkinListBox : public TSkinned<platform::vcl::TListBox> {
public:
    explicit TSkinListBox(platform::vcl::TComponent* owner);
    TColor BorderColor() const { return border_; }
    // Stores the colour (red in the low byte) and repaints.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name,
                           const platform::vcl::TDesignValue& value) override;
};

// The tabs are drawn in the skin; the pane around the pages is drawn in the control's
// colour, ringed by the accent, by a style of the control's own.
class TSkinPageControl : public platform::vcl::TPageControl {
public:
    explicit TSkinPageControl(platform::vcl::TComponent* owner);
    void Loaded() override;

protected:
    void ColorChanged() override;
    void FontChanged() override;

private:
    class PaneStyle;
    void Restyle();
    PaneStyle* paneStyle_;
};

class TSkinTabSheet : public platform::vcl::TTabSheet {
public:
    explicit TSkinTabSheet(platform::vcl::TComponent* owner);
};

} // namespace controls::skin
