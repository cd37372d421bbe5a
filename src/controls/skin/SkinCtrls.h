#pragma once
// The skinned control kit: the component library's controls drawn in the program's dark
// skin, with a border colour where the window's layout text sets one. They take every
// property of the controls they derive from, so the form design places them as it
// places any other control.
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace controls {

using vcl::TColor;

// The skin's palette: dark graphite backgrounds, light text, cyan accent.
constexpr TColor clSkinBack = vcl::RGB(0x1E, 0x21, 0x26);
constexpr TColor clSkinPanel = vcl::RGB(0x2B, 0x2F, 0x36);
constexpr TColor clSkinText = vcl::RGB(0xD8, 0xDC, 0xE2);
constexpr TColor clSkinAccent = vcl::RGB(0x19, 0xB4, 0xC8);

namespace detail {
// Gives the control's widget the style sheet built from `sheet`, where %BACK% stands
// for the control's Color, %TEXT% for its font colour (the skin's own where either is
// a system colour), %BORDER% for `border` and %ACCENT% for the skin's accent.
void ApplySkinSheet(vcl::TControl& control, const char* sheet, TColor border);
// For controls that paint themselves from their palette: text in the font colour (the
// skin's own for a system colour), frame lines in the accent colour.
void ApplySkinPalette(vcl::TControl& control);
// The sheets of the skinned combo and list boxes, which the wide ones share.
extern const char* const ComboSheet;
extern const char* const ListSheet;
} // namespace detail

// A control of the component library restyled whenever its colour or font changes. One
// the form design creates is styled once, when its design has been loaded: each style
// sheet given restyles the widget and all it contains.
template <class Base> class TSkinned : public Base {
public:
    TSkinned(vcl::TComponent* owner, const char* sheet) : Base(owner), sheet_(sheet) { Restyle(); }
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
        if (!this->IsLoading()) detail::ApplySkinSheet(*this, sheet_, border_);
    }

    TColor border_ = clSkinAccent;

private:
    const char* sheet_;
};

class TSkinCustomButton : public TSkinned<vcl::TButton> {
public:
    explicit TSkinCustomButton(vcl::TComponent* owner);
    // Stores the caption (Caption reads it back), shows it and repaints.
    void SetCaption(const std::string& caption) override;
};

class TSkinButton : public TSkinCustomButton {
public:
    using TSkinCustomButton::TSkinCustomButton;
};

class TSkinCustomGroupBox : public vcl::TGroupBox {
public:
    explicit TSkinCustomGroupBox(vcl::TComponent* owner);
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
class TSkinCheckBox : public TSkinned<vcl::TCheckBox> {
public:
    explicit TSkinCheckBox(vcl::TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A click by the user has already toggled the box; the flag follows it.
    void Click() override;

    bool SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) override;
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
class TSkinComboBox : public TSkinned<vcl::TComboBox> {
public:
    explicit TSkinComboBox(vcl::TComponent* owner);
};

class TSkinEdit : public TSkinned<vcl::TEdit> {
public:
    explicit TSkinEdit(vcl::TComponent* owner);
    TColor BorderColor() const { return border_; }
    // Stores the colour (red in the low byte) and repaints.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) override;
};

// Takes only digits from the keyboard; a text set in code is kept as given.
class TSkinNumberEdit : public TSkinEdit {
public:
    explicit TSkinNumberEdit(vcl::TComponent* owner);
};

// Takes only hexadecimal digits from the keyboard.
class THexEdit : public TSkinEdit {
public:
    explicit THexEdit(vcl::TComponent* owner);
    // The text read as a hexadecimal number, 0 for an empty text; a text that is not a
    // hexadecimal number raises the conversion error.
    int Value() const;
};

class TSkinListBox : public TSkinned<vcl::TListBox> {
public:
    explicit TSkinListBox(vcl::TComponent* owner);
    TColor BorderColor() const { return border_; }
    // Stores the colour (red in the low byte) and repaints.
    void SetBorderColor(TColor color);
    bool SetDesignProperty(const std::string& name, const vcl::TDesignValue& value) override;
};

// The tabs take the skin's style sheet; the pane around the pages is drawn in the
// control's colour, ringed by the accent, by a style of the control's own. A style sheet
// on the control itself would restyle every control on its pages as well.
class TSkinPageControl : public vcl::TPageControl {
public:
    explicit TSkinPageControl(vcl::TComponent* owner);
    void Loaded() override;

protected:
    void ColorChanged() override;
    void FontChanged() override;

private:
    class PaneStyle;
    void Restyle();
    PaneStyle* paneStyle_;
};

class TSkinTabSheet : public vcl::TTabSheet {
public:
    explicit TSkinTabSheet(vcl::TComponent* owner);
};

} // namespace controls
