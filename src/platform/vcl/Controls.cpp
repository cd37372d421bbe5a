#include "platform/vcl/Controls.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <unordered_map>

namespace platform::vcl {

namespace {
// The control of each widget that has one. A table rather than a dynamic property of the
// widget: setting a property sends the widget an event, for every control of a form.
std::unordered_map<const QWidget*, TControl*>& ControlOfWidget() {
    // Room for a whole form's controls from the start: growing it rehashes every entry.
    static std::unordered_map<const QWidget*, TControl*> table = [] {
        std::unordered_map<const QWidget*, TControl*> t;
        t.reserve(2048);
        return t;
    }();
    return table;
}

const std::pair<const char*, TCursor> kCursorNames[] = {
    {"crDefault", crDefault},     {"crArrow", crArrow},   {"crCross", crCross},
    {"crIBeam", crIBeam},         {"crSizeNS", crSizeNS}, {"crSizeWE", crSizeWE},
    {"crHourGlass", crHourGlass}, {"crNo", crNo},         {"crHandPoint", crHandPoint},
    {"crSizeAll", crSizeAll},
};

Qt::CursorShape CursorShape(TCursor cursor) {
    switch (cursor) {
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crNo:
        return Qt::ForbiddenCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TMouseButton ButtonOf(Qt::MouseButton b) {
    if (b == Qt::RightButton) return mbRight;
    if (b == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}

// The character a key press types, as the library's key events see it; 0 for a key
// that types none. Key filters see characters only: what moves the focus, the caret or
// the selection stays the desktop's whatever a filter takes. Tab and Shift+Tab belong to
// the window, which moves the focus along its tab order; keys held with Ctrl or Meta are
// the edits' own shortcuts (select all, clipboard, undo); Delete, the arrows, Home and End
// type nothing.
char16_t KeyChar(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    // Ctrl with Alt is AltGr where a desktop reports it so: that one types.
    const Qt::KeyboardModifiers held =
        e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier || (held & Qt::MetaModifier)) return 0;
    const QString text = e->text();
    if (text.size() != 1 || !text.at(0).isPrint()) return 0;
    return static_cast<char16_t>(text.at(0).unicode());
}

// The hint of the control or, when it has none, of its nearest parent with one.
std::string InheritedHint(const TControl* c) {
    for (; c; c = c->Parent())
        if (!c->Hint().empty()) return c->Hint();
    return {};
}
} // namespace

struct TControl::Bridge : QObject {
    explicit Bridge(TControl* c) : control(c) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control->widget_ || control->IsDestroying()) return false;
        // A held font reaches the widget before the widget is seen, or drawn into a
        // picture, and before the control's own handlers look at the event; so do those
        // of the controls it lies on, whose colours and font show through where it has
        // none of its own.
        if (event->type() == QEvent::Show || event->type() == QEvent::Paint) control->SettleFonts();
        return control->HandleEvent(event);
    }
    TControl* control;
};

TAlignment DesignAlignment(const TDesignValue& value) {
    static const std::pair<const char*, TAlignment> names[] = {{"taLeftJustify", taLeftJustify},
                                                               {"taRightJustify", taRightJustify},
                                                               {"taCenter", taCenter}};
    return DesignEnum(value, names);
}

int HorizontalAlignment(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

std::string GetShortHint(const std::string& hint) {
    return hint.substr(0, hint.find('|'));
}

std::string GetLongHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

void HandleEventException(std::exception_ptr e) noexcept {
    try {
        Application()->HandleException(e);
    } catch (...) {
        // The exception box itself failed; nothing sensible is left to do with it.
    }
}

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget), bridge_(std::make_unique<Bridge>(this)) {
    ControlOfWidget()[widget_] = this;
    widget_->installEventFilter(bridge_.get());
    widget_->setMouseTracking(true);
    QObject::connect(widget_, &QObject::destroyed, bridge_.get(), [this] {
        ControlOfWidget().erase(widget_);
        widget_ = nullptr;
    });
    font_.OnChange = [this] {
        if (!applyingParentFont_) parentFont_ = false;
        if (IsLoading())
            fontPending_ = true;
        else
            FontChangedOrHeld();
        if (auto* win = dynamic_cast<TWinControl*>(this))
            for (TControl* child : win->controls_)
                child->ParentFontChanged();
    };
}

TControl::~TControl() {
    BeginDestroy();
    DestroyComponents();
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        if (visible_ && !parent_->IsDestroying()) parent_->ShapeChanged();
    }
    font_.OnChange = nullptr;
    bridge_.reset();
    if (widget_) {
        ControlOfWidget().erase(widget_);
        delete widget_;
    }
}

TControl* TControl::FromWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    const auto& table = ControlOfWidget();
    const auto it = table.find(widget);
    return it == table.end() ? nullptr : it->second;
}

int TControl::Left() const {
    SettlePendingSize();
    return widget_->x();
}
int TControl::Top() const {
    SettlePendingSize();
    return widget_->y();
}
int TControl::Width() const {
    SettlePendingSize();
    return widget_->width();
}
int TControl::Height() const {
    SettlePendingSize();
    return widget_->height();
}
void TControl::SetLeft(int left) {
    if (sizePending_ && SettlingKeepsLeft())
        MoveKeepingPendingSize(left, widget_->y());
    else
        SetBounds(left, Top(), Width(), Height());
}
void TControl::SetTop(int top) {
    if (sizePending_ && SettlingKeepsTop())
        MoveKeepingPendingSize(widget_->x(), top);
    else
        SetBounds(Left(), top, Width(), Height());
}

void TControl::MoveKeepingPendingSize(int left, int top) {
    if (left == widget_->x() && top == widget_->y()) return;
    widget_->setGeometry(left, top, widget_->width(), widget_->height());
    ShapeChanged();
}
void TControl::SetWidth(int width) {
    SetBounds(Left(), Top(), width, Height());
}
void TControl::SetHeight(int height) {
    SetBounds(Left(), Top(), Width(), height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    SettlePendingSize();
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    widget_->setGeometry(left, top, std::max(0, width), std::max(0, height));
    ShapeChanged();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    ApplyVisible();
    ShapeChanged(false);
}

void TControl::ApplyVisible() {
    if (CanShowWidget()) widget_->setVisible(visible_);
}

bool TControl::Enabled() const {
    return widget_->isEnabled();
}
void TControl::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

void TControl::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    if (parentFont) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    applyingParentFont_ = true;
    font_.Assign(parent_->Font());
    applyingParentFont_ = false;
}

void TControl::SetColor(TColor color) {
    colorAssigned_ = true;
    color_ = color;
    ColorChanged();
    ShapeChanged();
}

void TControl::FontChangedOrHeld() {
    // Most controls sit on pages that start hidden, and take their font several times
    // (the design's, the layout's size and colour, the language's face) before anyone
    // sees them: the widget takes only the last, once.
    if (!widget_->isVisible() && !widget_->testAttribute(Qt::WA_StyleSheet) && MayHoldFont()) {
        fontWaiting_ = true;
        FontHeld();
        return;
    }
    ApplyFontNow();
}

void TControl::SettleFonts() const {
    if (parent_) parent_->SettleFonts();
    const_cast<TControl*>(this)->SettleFont();
}

void TControl::ApplyFontNow() {
    fontWaiting_ = false;
    FontChanged();
}

void TControl::FontChanged() {
    ApplyFontFace();
    ApplyFontColor();
}

void TControl::ApplyFontFace() {
    widget_->setFont(font_.ToQFont());
}

void TControl::ApplyFontColor() {
    QPalette pal = widget_->palette();
    const QColor c = ToQColor(font_.Color());
    // The colour given before, still in place: the widget has it as its own already, and
    // setting the same palette again would only resolve it against the parents' anew.
    static constexpr QPalette::ColorRole roles[] = {QPalette::WindowText, QPalette::Text,
                                                    QPalette::ButtonText};
    const auto inPlace = [&] {
        for (int g = 0; g < QPalette::NColorGroups; ++g)
            for (QPalette::ColorRole role : roles)
                if (pal.color(QPalette::ColorGroup(g), role) != c) return false;
        return true;
    };
    if (fontColorSet_ && inPlace()) return;
    fontColorSet_ = true;
    for (QPalette::ColorRole role : roles)
        pal.setColor(role, c);
    widget_->setPalette(pal);
}

void TControl::ColorChanged() {
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, ToQColor(color_));
    widget_->setPalette(pal);
    widget_->setAutoFillBackground(true);
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    ApplyHint();
}

bool TControl::ShowHint() const {
    if (showHint_) return *showHint_;
    return parent_ ? parent_->ShowHint() : false;
}

void TControl::SetShowHint(bool showHint) {
    showHint_ = showHint;
    ApplyHint();
}

void TControl::ApplyHint() {
    widget_->setToolTip(ShowHint() ? QString::fromStdString(GetShortHint(hint_)) : QString());
    if (auto* win = dynamic_cast<TWinControl*>(this))
        for (TControl* child : win->controls_)
            if (!child->showHint_) child->ApplyHint();
}

void TControl::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (cursor == crDefault)
        widget_->unsetCursor();
    else
        widget_->setCursor(CursorShape(cursor));
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& siblings = parent_->controls_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        ShapeChanged();
    }
    parent_ = parent;
    const QRect geometry = widget_->geometry();
    if (parent) {
        parent->controls_.push_back(this);
        widget_->setParent(parent->ClientWidget());
        widget_->setGeometry(geometry);
        ParentFontChanged();
        ApplyHint();
    } else {
        widget_->setParent(nullptr);
    }
    ApplyVisible();
    ShapeChanged();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (!fontPending_) return;
    fontPending_ = false;
    FontChangedOrHeld();
}

TForm* TControl::ParentForm() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (TForm* form = c->AsForm()) return form;
    return nullptr;
}

TForm* TControl::AsForm() const {
    // A control's class is complete by the time anything asks: neither TControl's nor
    // TWinControl's constructor looks for the form.
    if (formKind_ == FormKind::Unknown)
        formKind_ = dynamic_cast<const TForm*>(this) ? FormKind::Form : FormKind::Other;
    return formKind_ == FormKind::Form ? static_cast<TForm*>(const_cast<TControl*>(this)) : nullptr;
}

void TControl::SetCaption(const std::string& caption) {
    caption_ = caption;
}

void TControl::BringToFront() {
    widget_->raise();
    // A window's place among the windows does not change its own shape; a control's
    // place among its siblings can change the shape of its form.
    if (widget_->isWindow())
        TForm::NoteWindowOrderChange();
    else
        ShapeChanged();
}

void TControl::SendToBack() {
    widget_->lower();
    if (widget_->isWindow()) TForm::NoteWindowOrderChange();
    ShapeChanged();
}

void TControl::Repaint() {
    widget_->repaint();
}
void TControl::Invalidate() {
    widget_->update();
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::ShapeChanged(bool ownVisibility) {
    if (IsDestroying()) return;
    // Up to the form, whose own visibility does not matter: its shape is worked out
    // before it shows.
    for (TControl* c = this; c; c = c->parent_) {
        if (TForm* form = c->AsForm()) {
            // A form showing or hiding keeps its look, and with it the shapes it saved
            // (the form's first show sees to its own).
            if (form == this && !ownVisibility) return;
            if (!form->IsDestroying()) form->InvalidateShape();
            return;
        }
        if (!c->visible_ && (c != this || ownVisibility)) return;
    }
}

bool TControl::HandleEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        Application()->SetHint(GetLongHint(InheritedHint(this)));
        if (OnMouseEnter) GuardedCall([&] { OnMouseEnter(this); });
        return false;
    case QEvent::Leave:
        Application()->SetHint(GetLongHint(InheritedHint(parent_)));
        if (OnMouseLeave) GuardedCall([&] { OnMouseLeave(this); });
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        pressed_ = true;
        TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
        if (event->type() == QEvent::MouseButtonDblClick) shift |= ssDouble;
        const QPoint p = e->position().toPoint();
        if (OnMouseDown)
            GuardedCall([&] { OnMouseDown(this, ButtonOf(e->button()), shift, p.x(), p.y()); });
        return ClickOnRelease();
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = e->position().toPoint();
        const bool wasPressed = pressed_;
        pressed_ = false;
        if (OnMouseUp)
            GuardedCall([&] {
                OnMouseUp(this, ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(),
                          p.y());
            });
        if (ClickOnRelease() && wasPressed && e->button() == Qt::LeftButton && widget_ &&
            widget_->rect().contains(p))
            GuardedCall([&] { Click(); });
        return ClickOnRelease();
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = e->position().toPoint();
        if (OnMouseMove)
            GuardedCall(
                [&] { OnMouseMove(this, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
        return ClickOnRelease();
    }
    case QEvent::KeyPress:
        return HandleKeyPress(event);
    default:
        return false;
    }
}

bool TControl::HandleKeyPress(QEvent* event) {
    if (resendingKey_) return false;
    auto* e = static_cast<QKeyEvent*>(event);
    const char16_t original = KeyChar(e);
    if (!original) return false;
    char16_t key = original;
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->OnKeyPress)
        GuardedCall([&] { form->OnKeyPress(form, key); });
    auto* win = dynamic_cast<TWinControl*>(this);
    if (key && win && win->OnKeyPress) GuardedCall([&] { win->OnKeyPress(this, key); });
    if (key == original) return false;
    if (key != 0 && widget_) {
        // The handler typed another character: deliver that one instead.
        QKeyEvent replaced(QEvent::KeyPress, 0, e->modifiers(), QString(QChar(key)));
        resendingKey_ = true;
        QApplication::sendEvent(widget_, &replaced);
        resendingKey_ = false;
    }
    return true;
}

bool TControl::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Left")
        SetLeft(value.AsInt());
    else if (name == "Top")
        SetTop(value.AsInt());
    else if (name == "Width")
        SetWidth(value.AsInt());
    else if (name == "Height")
        SetHeight(value.AsInt());
    else if (name == "ClientWidth")
        SetClientWidth(value.AsInt());
    else if (name == "ClientHeight")
        SetClientHeight(value.AsInt());
    else if (name == "Visible")
        SetVisible(value.AsBool());
    else if (name == "Enabled")
        SetEnabled(value.AsBool());
    else if (name == "Caption")
        SetCaption(value.AsString());
    else if (name == "Color")
        SetColor(DesignColor(value));
    else if (name == "Hint")
        SetHint(value.AsString());
    else if (name == "ShowHint")
        SetShowHint(value.AsBool());
    else if (name == "ParentShowHint") {
        if (value.AsBool()) showHint_.reset();
        ApplyHint();
    } else if (name == "ParentFont")
        SetParentFont(value.AsBool());
    else if (name.rfind("Font.", 0) == 0)
        return font_.SetDesignProperty(name.substr(5), value);
    else if (name == "Cursor") {
        const std::string& ident = value.AsIdent();
        auto it = std::find_if(std::begin(kCursorNames), std::end(kCursorNames),
                               [&](const auto& c) { return rtl::SameText(c.first, ident); });
        if (it == std::end(kCursorNames)) throw rtl::Exception("unknown cursor " + ident);
        SetCursor(it->second);
    } else
        return TComponent::SetDesignProperty(name, value);
    return true;
}

bool TControl::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnClick") return BindDesignHandler(handler, OnClick);
    if (name == "OnMouseEnter") return BindDesignHandler(handler, OnMouseEnter);
    if (name == "OnMouseLeave") return BindDesignHandler(handler, OnMouseLeave);
    if (name == "OnMouseDown") return BindDesignHandler(handler, OnMouseDown);
    if (name == "OnMouseUp") return BindDesignHandler(handler, OnMouseUp);
    if (name == "OnMouseMove") return BindDesignHandler(handler, OnMouseMove);
    return TComponent::SetDesignEvent(name, handler);
}

TWinControl::TWinControl(TComponent* owner, QWidget* widget) : TControl(owner, widget) {}

TWinControl::~TWinControl() {
    // Child controls go with their parent, before the parent's widget takes theirs along.
    BeginDestroy();
    while (!controls_.empty())
        delete controls_.back();
}

void TWinControl::SetFocus() {
    Widget()->setFocus(Qt::OtherFocusReason);
}
bool TWinControl::Focused() const {
    return Widget()->hasFocus();
}

bool TWinControl::HandleEvent(QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (OnEnter) GuardedCall([&] { OnEnter(this); });
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        if (OnExit) GuardedCall([&] { OnExit(this); });
        return false;
    }
    return TControl::HandleEvent(event);
}

bool TWinControl::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "DoubleBuffered") {
        SetDoubleBuffered(value.AsBool());
        return true;
    }
    return TControl::SetDesignProperty(name, value);
}

bool TWinControl::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnEnter") return BindDesignHandler(handler, OnEnter);
    if (name == "OnExit") return BindDesignHandler(handler, OnExit);
    if (name == "OnKeyPress") return BindDesignHandler(handler, OnKeyPress);
    return TControl::SetDesignEvent(name, handler);
}

} // namespace platform::vcl
