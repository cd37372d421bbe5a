#include "controls/skin/SkinStyle.h"

#include "controls/skin/SkinCtrls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <qdrawutil.h>

namespace controls::skin::detail {

namespace {

// The border colour lives in a role none of these widgets draws with.
constexpr QPalette::ColorRole kBorderRole = QPalette::LinkVisited;
const QColor kAccent = platform::vcl::ToQColor(clSkinAccent);
const QColor kTabBack = platform::vcl::ToQColor(clSkinPanel);
const QColor kDisabledButtonText(0x6A, 0x70, 0x7A);
// The drop-down button of a combo box, at its right edge inside the border.
constexpr int kDropDownWidth = 16;
// The check box's indicator (the skin's check picture) and the gap before its caption.
constexpr int kIndicatorSize = 16;
constexpr int kCheckSpacing = 4;
// Around a tab's caption: the border, then the padding.
constexpr int kTabPadX = 10;
constexpr int kTabPadY = 3;

// The fill, then a one-pixel border along the inside of `r`.
void FillAndFrame(QPainter* p, const QRect& r, const QColor& back, const QColor& border) {
    p->fillRect(r, back);
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), border);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), border);
    p->fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), border);
    p->fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), border);
}

void SetText(QPalette& pal, const QColor& text) {
    for (QPalette::ColorRole r : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        pal.setColor(r, text);
}

// The palette a flat skinned part is drawn with: its fill and text colours, and the
// shades the platform's pieces (the drop-down button's bevel) derive from the fill.
void ConfigurePalette(QPalette& pal, QPalette::ColorRole textRole, QPalette::ColorRole backRole,
                      const QColor& text, const QColor& back) {
    pal.setColor(backRole, back);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Light, back.lighter(115));
    pal.setColor(QPalette::Midlight, back.lighter(107));
    pal.setColor(QPalette::Dark, back.darker(150));
    pal.setColor(QPalette::Shadow, back.darker(300));
    pal.setColor(textRole, text);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Text, text);
}

// The fill of a flat skinned part in every role the platform's pieces fill with, and its
// text colour in every role they write with.
void SetFillAndText(QPalette& pal, const QColor& back, const QColor& text) {
    for (QPalette::ColorRole r : {QPalette::Base, QPalette::Button, QPalette::Window})
        pal.setColor(r, back);
    SetText(pal, text);
}

class SkinStyle final : public QProxyStyle {
public:
    explicit SkinStyle(QStyle* base) : QProxyStyle(base) {}

    SkinKind KindOf(const QWidget* w) const {
        if (!w || kinds_.isEmpty()) return SkinKind::None;
        const auto it = kinds_.constFind(w);
        return it == kinds_.cend() ? SkinKind::None : *it;
    }

    void Mark(QWidget* w, SkinKind kind) {
        auto it = kinds_.find(w);
        if (it != kinds_.end()) {
            *it = kind;
            return;
        }
        kinds_.insert(w, kind);
        QObject::connect(w, &QObject::destroyed, this, [this](QObject* o) { kinds_.remove(o); });
    }

    void polish(QWidget* w) override {
        QProxyStyle::polish(w);
        // The list of a skinned combo box's drop-down takes the box's colours.
        if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
            QWidget* container = view->parentWidget();
            if (auto* combo =
                    qobject_cast<QComboBox*>(container ? container->parentWidget() : nullptr))
                if (KindOf(combo) == SkinKind::Combo) SetViewPalette(view, combo->palette());
        }
    }
    using QProxyStyle::polish;

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w) const override {
        switch (pe) {
        case PE_PanelLineEdit:
            if (KindOf(w) == SkinKind::Edit) {
                FillAndFrame(p, opt->rect, opt->palette.color(QPalette::Button),
                             opt->palette.color(kBorderRole));
                return;
            }
            break;
        case PE_PanelItemViewItem:
            if (KindOf(w) == SkinKind::List && (opt->state & State_Selected)) {
                p->fillRect(opt->rect, kAccent);
                return;
            }
            break;
        default:
            break;
        }
        QProxyStyle::drawPrimitive(pe, opt, p, w);
    }

    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const override {
        const SkinKind kind = KindOf(w);
        if (kind == SkinKind::None) return QProxyStyle::drawControl(ce, opt, p, w);
        switch (ce) {
        case CE_PushButton:
            if (kind == SkinKind::Button)
                if (auto* b = qstyleoption_cast<const QStyleOptionButton*>(opt))
                    return DrawButton(b, p, w);
            break;
        case CE_ShapedFrame:
            if (kind == SkinKind::List) {
                FillAndFrame(p, opt->rect, opt->palette.color(QPalette::Button),
                             opt->palette.color(kBorderRole));
                return;
            }
            break;
        case CE_ItemViewItem:
            if (kind == SkinKind::List)
                if (auto* v = qstyleoption_cast<const QStyleOptionViewItem*>(opt)) {
                    if (!(v->state & State_Selected)) break;
                    // A selected item: the accent, its text in the list's fill colour.
                    QStyleOptionViewItem item(*v);
                    ConfigurePalette(item.palette, QPalette::HighlightedText, QPalette::Highlight,
                                     v->palette.color(QPalette::Button), kAccent);
                    return QProxyStyle::drawControl(ce, &item, p, w);
                }
            break;
        case CE_ComboBoxLabel:
            // The caption of a combo box without an edit sits where the platform's own
            // style puts it, inside its own frame and margins.
            if (kind == SkinKind::Combo) return Native()->drawControl(ce, opt, p, w);
            break;
        case CE_TabBarTab:
            if (kind == SkinKind::Tabs) {
                proxy()->drawControl(CE_TabBarTabShape, opt, p, w);
                proxy()->drawControl(CE_TabBarTabLabel, opt, p, w);
                return;
            }
            break;
        case CE_TabBarTabShape:
            if (kind == SkinKind::Tabs) {
                const bool selected = opt->state & State_Selected;
                FillAndFrame(p, opt->rect,
                             selected ? opt->palette.color(QPalette::Highlight)
                                      : opt->palette.color(QPalette::Button),
                             opt->palette.color(kBorderRole));
                return;
            }
            break;
        case CE_TabBarTabLabel:
            if (kind == SkinKind::Tabs)
                if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(opt))
                    return DrawTabLabel(t, p, w);
            break;
        default:
            break;
        }
        QProxyStyle::drawControl(ce, opt, p, w);
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        if (cc == CC_ComboBox && KindOf(w) == SkinKind::Combo)
            if (auto* c = qstyleoption_cast<const QStyleOptionComboBox*>(opt))
                return DrawCombo(c, p, w);
        QProxyStyle::drawComplexControl(cc, opt, p, w);
    }

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override {
        if (cc == CC_ComboBox && KindOf(w) == SkinKind::Combo) {
            const QRect& r = opt->rect;
            switch (sc) {
            case SC_ComboBoxFrame:
                return r;
            case SC_ComboBoxEditField:
                return visualRect(opt->direction, r, r.adjusted(1, 1, -1 - kDropDownWidth, -1));
            case SC_ComboBoxArrow:
                return visualRect(
                    opt->direction, r,
                    QRect(r.right() - kDropDownWidth, r.top() + 1, kDropDownWidth, r.height() - 2));
            default:
                break;
            }
        }
        return QProxyStyle::subControlRect(cc, opt, sc, w);
    }

    QRect subElementRect(SubElement se, const QStyleOption* opt, const QWidget* w) const override {
        const SkinKind kind = KindOf(w);
        if (kind == SkinKind::None) return QProxyStyle::subElementRect(se, opt, w);
        switch (se) {
        case SE_PushButtonContents:
        case SE_PushButtonFocusRect:
            if (kind == SkinKind::Button) return Inside(opt);
            break;
        case SE_LineEditContents:
            if (kind == SkinKind::Edit) return Inside(opt);
            break;
        case SE_FrameContents:
        case SE_ShapedFrameContents:
            if (kind == SkinKind::List) return Inside(opt);
            break;
        case SE_CheckBoxIndicator:
            if (kind == SkinKind::Check) return CheckIndicator(opt);
            break;
        case SE_CheckBoxContents:
            if (kind == SkinKind::Check) return CheckContents(opt);
            break;
        case SE_CheckBoxFocusRect:
            if (kind == SkinKind::Check) return CheckFocusRect(opt);
            break;
        case SE_CheckBoxClickRect:
            if (kind == SkinKind::Check) return CheckFocusRect(opt) | CheckIndicator(opt);
            break;
        case SE_TabBarTabText:
            // No padding is left to the style: the caption may take the whole tab.
            if (kind == SkinKind::Tabs) return opt->rect;
            break;
        default:
            break;
        }
        return QProxyStyle::subElementRect(se, opt, w);
    }

    int pixelMetric(PixelMetric m, const QStyleOption* opt, const QWidget* w) const override {
        const SkinKind kind = KindOf(w);
        if (kind == SkinKind::None) return QProxyStyle::pixelMetric(m, opt, w);
        switch (m) {
        case PM_DefaultFrameWidth:
            if (kind != SkinKind::Check && kind != SkinKind::Tabs) return 1;
            break;
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
            if (kind == SkinKind::Check) return kIndicatorSize;
            break;
        case PM_CheckBoxLabelSpacing:
            if (kind == SkinKind::Check) return kCheckSpacing;
            break;
        case PM_TabBarTabHSpace:
        case PM_TabBarTabVSpace:
        case PM_TabBarTabShiftHorizontal:
        case PM_TabBarTabShiftVertical:
            if (kind == SkinKind::Tabs) return 0;
            break;
        case PM_ScrollView_ScrollBarSpacing:
            if (kind == SkinKind::List) return 0;
            break;
        default:
            break;
        }
        return QProxyStyle::pixelMetric(m, opt, w);
    }

    QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        const SkinKind kind = KindOf(w);
        if (kind == SkinKind::None) return QProxyStyle::sizeFromContents(ct, opt, size, w);
        switch (ct) {
        case CT_PushButton:
            if (kind == SkinKind::Button) return size + QSize(2, 2);
            break;
        case CT_LineEdit:
            if (kind == SkinKind::Edit) return size + QSize(2, 2);
            break;
        case CT_ComboBox:
            if (kind == SkinKind::Combo) return size + QSize(kDropDownWidth + 2 + 2, 2);
            break;
        case CT_CheckBox:
            if (kind == SkinKind::Check)
                return {size.width() + kIndicatorSize + kCheckSpacing,
                        qMax(size.height(), kIndicatorSize)};
            break;
        case CT_TabBarTab:
            if (kind == SkinKind::Tabs) return size + QSize(2 * (kTabPadX + 1), 2 * (kTabPadY + 1));
            break;
        default:
            break;
        }
        return QProxyStyle::sizeFromContents(ct, opt, size, w);
    }

    // The platform's style by itself, for what is drawn exactly as it draws it.
    QStyle* Native() const {
        if (!native_) {
            native_ = QStyleFactory::create(baseStyle()->name());
            if (!native_) native_ = QStyleFactory::create(QStringLiteral("Fusion"));
            native_->setParent(const_cast<SkinStyle*>(this));
        }
        return native_;
    }

    static void SetViewPalette(QAbstractItemView* view, const QPalette& combo) {
        QPalette pal = view->palette();
        SetFillAndText(pal, combo.color(QPalette::Button), combo.color(QPalette::ButtonText));
        pal.setColor(QPalette::PlaceholderText, combo.color(QPalette::PlaceholderText));
        pal.setColor(QPalette::Highlight, kAccent);
        if (pal != view->palette()) view->setPalette(pal);
    }

private:
    static QRect Inside(const QStyleOption* opt) {
        return visualRect(opt->direction, opt->rect, opt->rect.adjusted(1, 1, -1, -1));
    }

    static QRect CheckIndicator(const QStyleOption* opt) {
        const QRect& r = opt->rect;
        return visualRect(opt->direction, r,
                          QRect(r.x(), r.y() + (r.height() - kIndicatorSize) / 2, kIndicatorSize,
                                kIndicatorSize));
    }

    static QRect CheckContents(const QStyleOption* opt) {
        const QRect& r = opt->rect;
        const int left = kIndicatorSize + kCheckSpacing;
        return visualRect(opt->direction, r,
                          QRect(r.x() + left, r.y(), r.width() - left, r.height()));
    }

    // Around the caption's text, as the platform's style frames a check box's caption.
    QRect CheckFocusRect(const QStyleOption* opt) const {
        auto* btn = qstyleoption_cast<const QStyleOptionButton*>(opt);
        if (!btn || (btn->icon.isNull() && btn->text.isEmpty()))
            return CheckIndicator(opt).adjusted(1, 1, -1, -1);
        const QRect cr = visualRect(btn->direction, btn->rect, CheckContents(opt));
        QRect r;
        if (!btn->text.isEmpty())
            r = itemTextRect(opt->fontMetrics, cr,
                             Qt::AlignAbsolute | Qt::AlignLeft | Qt::AlignVCenter |
                                 Qt::TextShowMnemonic,
                             btn->state & State_Enabled, btn->text);
        r.adjust(-3, -1, 3, 1);
        r = r.intersected(btn->rect);
        return visualRect(btn->direction, btn->rect, r);
    }

    void DrawButton(const QStyleOptionButton* btn, QPainter* p, const QWidget* w) const {
        const QColor back = btn->palette.color(QPalette::Button);
        const QColor fill = (btn->state & State_Sunken) ? kAccent : back;
        FillAndFrame(p, btn->rect, fill, btn->palette.color(kBorderRole));
        const bool enabled = btn->state & State_Enabled;
        QPalette pal = btn->palette;
        ConfigurePalette(pal, QPalette::ButtonText, QPalette::Button,
                         enabled ? btn->palette.color(QPalette::ButtonText) : kDisabledButtonText,
                         fill);
        QRect text = Inside(btn);
        int flags = Qt::AlignVCenter | Qt::AlignHCenter | Qt::TextShowMnemonic;
        if (!proxy()->styleHint(SH_UnderlineShortcut, btn, w)) flags |= Qt::TextHideMnemonic;
        if (btn->state & (State_On | State_Sunken))
            text.translate(proxy()->pixelMetric(PM_ButtonShiftHorizontal, btn, w),
                           proxy()->pixelMetric(PM_ButtonShiftVertical, btn, w));
        proxy()->drawItemText(p, text, flags, pal, enabled, btn->text, QPalette::ButtonText);
        if (btn->state & State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*btn);
            focus.rect = Inside(btn);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, p, w);
        }
    }

    void DrawTabLabel(const QStyleOptionTab* tab, QPainter* p, const QWidget* w) const {
        const bool selected = tab->state & State_Selected;
        QPalette pal = tab->palette;
        ConfigurePalette(
            pal, QPalette::WindowText, QPalette::Window,
            tab->palette.color(selected ? QPalette::HighlightedText : QPalette::ButtonText),
            tab->palette.color(selected ? QPalette::Highlight : QPalette::Button));
        const QRect text =
            tab->rect.adjusted(kTabPadX + 1, kTabPadY + 1, -kTabPadX - 1, -kTabPadY - 1);
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        if (!proxy()->styleHint(SH_UnderlineShortcut, tab, w)) flags |= Qt::TextHideMnemonic;
        proxy()->drawItemText(p, text, flags, pal, tab->state & State_Enabled, tab->text,
                              QPalette::WindowText);
        if (tab->state & State_HasFocus) {
            const int offset = 1 + baseStyle()->pixelMetric(PM_DefaultFrameWidth);
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(*tab);
            focus.rect.setRect(text.left() + 1 + offset, text.top() + offset,
                               text.width() - 2 - 2 * offset, text.height() - 2 * offset);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, p, w);
        }
    }

    void DrawCombo(const QStyleOptionComboBox* cmb, QPainter* p, const QWidget* w) const {
        const QColor back = cmb->palette.color(QPalette::Button);
        FillAndFrame(p, cmb->rect, back, cmb->palette.color(kBorderRole));
        if (!(cmb->subControls & SC_ComboBoxArrow)) return;
        // The drop-down button: a raised bevel in shades of the fill, the arrow on it.
        QPalette pal = cmb->palette;
        ConfigurePalette(pal, QPalette::ButtonText, QPalette::Button,
                         cmb->palette.color(QPalette::ButtonText), back);
        QRect ar = proxy()->subControlRect(CC_ComboBox, cmb, SC_ComboBoxArrow, w);
        const bool sunken =
            cmb->activeSubControls == SC_ComboBoxArrow && (cmb->state & State_Sunken);
        if (sunken) {
            p->setPen(pal.dark().color());
            p->setBrush(pal.brush(QPalette::Button));
            p->drawRect(ar.adjusted(0, 0, -1, -1));
        } else {
            QPalette shade(pal);
            shade.setColor(QPalette::Button, pal.light().color());
            shade.setColor(QPalette::Light, pal.button().color());
            qDrawWinButton(p, ar, shade, false, &pal.brush(QPalette::Button));
        }
        ar.adjust(2, 2, -2, -2);
        State flags = State_None;
        if (cmb->state & State_Enabled) flags |= State_Enabled;
        if (cmb->state & State_HasFocus) flags |= State_HasFocus;
        if (sunken) flags |= State_Sunken;
        QStyleOption arrow = *cmb;
        arrow.palette = pal;
        arrow.rect = ar.adjusted(1, 1, -1, -1);
        arrow.state = flags;
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, p, w);
    }

    QHash<const QObject*, SkinKind> kinds_;
    mutable QStyle* native_ = nullptr;
};

SkinStyle* Style() {
    static QPointer<SkinStyle> style;
    if (!style) {
        if (auto* current = dynamic_cast<SkinStyle*>(QApplication::style())) {
            style = current;
        } else {
            // The platform's style stays underneath; the program's style takes its place.
            style = new SkinStyle(QApplication::style());
            QApplication::setStyle(style);
        }
    }
    return style;
}

// A palette whose every role is its own, so that no colour of the parent reaches it.
QPalette OwnPalette(const QPalette& pal) {
    QPalette own = pal;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            if (role != QPalette::NoRole) own.setBrush(group, role, pal.brush(group, role));
        }
    return own;
}

} // namespace

void MarkSkinned(QWidget* widget, SkinKind kind) {
    Style()->Mark(widget, kind);
    if (kind == SkinKind::List) {
        // The frame is one pixel wide; the scroll bars keep the platform's colours.
        auto* frame = static_cast<QFrame*>(widget);
        frame->setFrameStyle(frame->frameStyle());
        for (auto* bar : widget->findChildren<QScrollBar*>())
            bar->setPalette(OwnPalette(QApplication::palette(bar)));
    }
}

void SetSkinColors(QWidget* widget, SkinKind kind, const SkinColors& colors) {
    QPalette pal = widget->palette();
    QColor placeholder = colors.text;
    placeholder.setAlpha((placeholder.alpha() + 1) / 2);
    switch (kind) {
    case SkinKind::Check:
        SetText(pal, colors.text);
        pal.setColor(QPalette::PlaceholderText, placeholder);
        break;
    case SkinKind::Tabs:
        // Tabs: the skin's panel colour, the accent for the selected one, whose caption
        // takes the control's colour.
        pal.setColor(QPalette::Button, kTabBack);
        pal.setColor(QPalette::ButtonText, colors.text);
        pal.setColor(QPalette::Highlight, kAccent);
        pal.setColor(QPalette::HighlightedText, colors.back);
        pal.setColor(kBorderRole, colors.border);
        break;
    default:
        SetFillAndText(pal, colors.back, colors.text);
        pal.setColor(QPalette::PlaceholderText, placeholder);
        pal.setColor(kBorderRole, colors.border);
        if (kind == SkinKind::Edit) pal.setColor(QPalette::Highlight, kAccent);
        break;
    }
    widget->setAutoFillBackground(false);
    if (pal == widget->palette() && pal.resolveMask() == widget->palette().resolveMask()) return;
    widget->setPalette(pal);
    if (kind == SkinKind::Combo)
        if (QAbstractItemView* view =
                platform::vcl::MadeDropDownList(static_cast<QComboBox*>(widget)))
            SkinStyle::SetViewPalette(view, pal);
}

} // namespace controls::skin::detail
