#pragma once
// Visual controls: TControl (one Qt widget each) and TWinControl (a control that holds
// other controls and takes the keyboard focus).
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class QEvent;

namespace platform::vcl {

class TWinControl;
class TForm;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
TAlignment DesignAlignment(const TDesignValue& value);
// Qt's horizontal alignment flag for an alignment.
int HorizontalAlignment(TAlignment alignment);

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Runs an event handler that Qt called. An exception escaping it never reaches Qt's
// event loop: the application shows it in its exception box instead.
void HandleEventException(std::exception_ptr e) noexcept;
template <class F> void GuardedCall(F&& f) noexcept {
    try {
        f();
    } catch (...) {
        HandleEventException(std::current_exception());
    }
}

// The help hint's parts: "short|long"; without '|' both are the whole text.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

class TControl : public TComponent {
public:
    ~TControl() override;

    // The control's Qt widget, for the few places that need Qt directly; it has taken
    // every font change by then.
    QWidget* Widget() const {
        SettleFonts();
        return widget_;
    }
    // The widget as it stands, a font change still waiting (see SettleFont) not in it yet:
    // for code that sets the widget's state or colours without reading its font or the
    // colours a font change sets.
    QWidget* WidgetAsIs() const { return widget_; }
    // The control that wraps a widget, or null.
    static TControl* FromWidget(const QWidget* widget);

    int Left() const;
    void SetLeft(int left);
    int Top() const;
    void SetTop(int top);
    int Width() const;
    void SetWidth(int width);
    int Height() const;
    void SetHeight(int height);
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return Width(); }
    virtual void SetClientWidth(int width) { SetWidth(width); }
    virtual int ClientHeight() const { return Height(); }
    virtual void SetClientHeight(int height) { SetHeight(height); }

    // The Visible property; the widget shows only once the control has a parent.
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    void SetEnabled(bool enabled);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    // Whether the hint shows as a tooltip; follows the parent until set.
    bool ShowHint() const;
    void SetShowHint(bool showHint);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control lies on (itself for a form), or null.
    TForm* ParentForm() const;

    virtual std::string Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption);

    void BringToFront();
    void SendToBack();
    void Repaint();
    void Invalidate();
    // Runs OnClick. Programmatic clicks let an exception pass to the caller.
    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;
    // Gives the widget the font the design left, when it changed while loading.
    void Loaded() override;

protected:
    TControl(TComponent* owner, QWidget* widget);

    // Applies Font to the widget; controls whose text colour lives elsewhere override.
    virtual void FontChanged();
    // The two halves of FontChanged: the face and size, and the text colour.
    void ApplyFontFace();
    void ApplyFontColor();
    // Whether a font change may wait while the widget cannot be seen: it then reaches the
    // widget when the widget shows or draws, or when SettleFont asks for it. Controls
    // whose look depends on when a font came against a style sheet answer false.
    virtual bool MayHoldFont() const { return true; }
    // A font change is waiting; a control that measures itself by its font marks its
    // size as waiting too.
    virtual void FontHeld() {}
    // Gives the widget the font change that waits, if one does.
    void SettleFont() {
        if (fontWaiting_ && widget_) ApplyFontNow();
    }
    // SettleFont for the control and every control it lies on, outermost first: the
    // widget's font and colours are its own over those of the widgets it lies on.
    void SettleFonts() const;
    // Applies Color to the widget's background.
    virtual void ColorChanged();
    bool ColorAssigned() const { return colorAssigned_; }
    // Whether a press and release inside the control count as a click. Controls whose
    // widget reports clicks itself (buttons, check boxes, lists) answer false; for the
    // others the mouse events stop here instead of travelling on to the parent.
    virtual bool ClickOnRelease() const { return true; }
    // Sees every event of the widget first; true swallows it.
    virtual bool HandleEvent(QEvent* event);
    // Where a change of this control can change the shape of a colour-keyed form. What a
    // hidden control, or a control on a hidden one, does cannot show, so it changes
    // nothing; its own visibility does not count when ownVisibility is false (a control
    // just hidden).
    void ShapeChanged(bool ownVisibility = true);
    // Whether the widget may be shown now (a parent exists).
    virtual bool CanShowWidget() const { return parent_ != nullptr; }
    void ApplyVisible();
    // A control that sizes itself while it cannot be seen may leave the size for later
    // (sizePending_); reading or changing its bounds settles it first, except a move of
    // an edge the size taken later leaves where it is.
    virtual void SettleSize() {}
    virtual bool SettlingKeepsLeft() const { return false; }
    virtual bool SettlingKeepsTop() const { return false; }
    void SettlePendingSize() const {
        if (sizePending_) const_cast<TControl*>(this)->SettleSize();
    }
    bool sizePending_ = false;

private:
    // Moves the control without settling the size it has still to take.
    void MoveKeepingPendingSize(int left, int top);
    friend class TWinControl;
    struct Bridge;
    void ApplyHint();
    void ParentFontChanged();
    // Runs FontChanged now, or holds it while the widget cannot be seen.
    void FontChangedOrHeld();
    // Gives the widget the font at once; no change waits after it.
    void ApplyFontNow();
    // This control as a form, or null; the class is looked up once, on first asking.
    TForm* AsForm() const;
    bool HandleKeyPress(QEvent* event);

    QWidget* widget_ = nullptr;
    std::unique_ptr<Bridge> bridge_;
    TWinControl* parent_ = nullptr;
    TFont font_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    // The font changed while the form design was building the control: the parent's font
    // and each font property the design sets come one by one, the widget takes the last.
    bool fontPending_ = false;
    // FontChanged waits for the widget to show or draw (FontChangedOrHeld).
    bool fontWaiting_ = false;
    // ApplyFontColor has given the widget's palette the text colours of its own.
    bool fontColorSet_ = false;
    TColor color_ = clBtnFace;
    bool colorAssigned_ = false;
    bool visible_ = true;
    std::string hint_;
    std::optional<bool> showHint_;
    TCursor cursor_ = crDefault;
    std::string caption_;
    bool pressed_ = false;
    bool resendingKey_ = false;
    enum class FormKind : unsigned char { Unknown, Form, Other };
    mutable FormKind formKind_ = FormKind::Unknown;
};

class TWinControl : public TControl {
public:
    ~TWinControl() override;

    // The widget that child controls are placed on.
    virtual QWidget* ClientWidget() const { return Widget(); }
    QWidget* Handle() const { return Widget(); }
    // Qt paints every widget through a back buffer; the property is kept for the
    // designs that set it.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }

    void SetFocus();
    bool Focused() const;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyPressEvent OnKeyPress;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    TWinControl(TComponent* owner, QWidget* widget);
    bool HandleEvent(QEvent* event) override;

private:
    friend class TControl;
    std::vector<TControl*> controls_;
    bool doubleBuffered_ = false;
};

} // namespace platform::vcl
