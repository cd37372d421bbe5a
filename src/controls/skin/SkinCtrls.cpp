#include "controls/skin/SkinCtrls.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/PngImage.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

namespace controls::skin {

namespace {
// System colours (clBtnFace, clWindowText) mean "not chosen": the skin's own shows.
QColor SkinColor(TColor color, TColor skinDefault) {
    return platform::vcl::ToQColor((color & 0xFF000000u) ? skinDefault : color);
}

// The edit takes only keys that keep its text matching `pattern`.
void RestrictInput(platform::vcl::TControl& edit, const char* pattern) {
    auto* line = static_cast<QLineEdit*>(edit.WidgetAsIs());
    line->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(pattern)), line));
}

// The skin's check pictures, ticked and empty, decoded once.
const QImage& CheckPicture(bool checked) {
    static const QImage pictures[2] = {[] {
                                           platform::vcl::TPngImage png;
                                           png.LoadFromResourceName("CbS_D");
                                           return png.ToQImage();
                                       }(),
                                       [] {
                                           platform::vcl::TPngImage png;
                                           png.LoadFromResourceName("CbS_E");
                                           return png.ToQImage();
                                       }()};
    return pictures[checked ? 1 : 0];
}
} // namespace

namespace detail {
void ApplySkin(platform::vcl::TControl& control, SkinKind kind, TColor border) {
    SetSkinColors(control.WidgetAsIs(), kind,
                  {SkinColor(control.Color(), clSkinBack),
                   SkinColor(control.Font().Color(), clSkinText), SkinColor(border, clSkinAccent)});
}

void ApplySkinPalette(platform::vcl::TControl& control) {
    // The group box draws its frame in Mid and Light, the panel and the group box their
    // captions in WindowText.
    QWidget* w = control.WidgetAsIs();
    QPalette pal = w->palette();
    pal.setColor(QPalette::Mid, platform::vcl::ToQColor(clSkinAccent));
    pal.setColor(QPalette::Light, platform::vcl::ToQColor(clSkinAccent));
    pal.setColor(QPalette::WindowText, SkinColor(control.Font().Color(), clSkinText));
    w->setPalette(pal);
}
} // namespace detail

// ---- buttons and group boxes ----

TSkinCustomButton::TSkinCustomButton(platform::vcl::TComponent* owner)
    : TSkinned<platform::vcl::TButton>(owner, detail::SkinKind::Button) {}

void TSkinCustomButton::SetCaption(const std::string& caption) {
    TSkinned<platform::vcl::TButton>::SetCaption(caption);
    Invalidate();
}

TSkinCustomGroupBox::TSkinCustomGroupBox(platform::vcl::TComponent* owner)
    : platform::vcl::TGroupBox(owner) {
    FontChanged();
}

void TSkinCustomGroupBox::SetCaption(const std::string& caption) {
    platform::vcl::TGroupBox::SetCaption(caption);
    Invalidate();
}

void TSkinCustomGroupBox::FontChanged() {
    platform::vcl::TGroupBox::FontChanged();
    detail::ApplySkinPalette(*this);
}

// ---- check box ----

TSkinCheckBox::TSkinCheckBox(platform::vcl::TComponent* owner)
    : TSkinned<platform::vcl::TCheckBox>(owner, detail::SkinKind::Check) {}

void TSkinCheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    {
        QSignalBlocker block(WidgetAsIs());
        static_cast<QCheckBox*>(WidgetAsIs())->setChecked(checked);
    }
    Invalidate();
    if (!loading_) Click();
}

void TSkinCheckBox::Click() {
    checked_ = static_cast<QCheckBox*>(WidgetAsIs())->isChecked();
    TSkinned<platform::vcl::TCheckBox>::Click();
}

bool TSkinCheckBox::SetDesignProperty(const std::string& name,
                                      const platform::vcl::TDesignValue& value) {
    // Only the design loader sets design properties; Loaded ends the loading.
    loading_ = true;
    if (name == "Checked") {
        SetChecked(value.AsBool());
        return true;
    }
    return TSkinned<platform::vcl::TCheckBox>::SetDesignProperty(name, value);
}

bool TSkinCheckBox::HandleEvent(QEvent* event) {
    if (event->type() != QEvent::Paint)
        return TSkinned<platform::vcl::TCheckBox>::HandleEvent(event);
    // The skin's picture alone marks the state; the style's own box is never drawn.
    auto* box = static_cast<QCheckBox*>(WidgetAsIs());
    QStyleOptionButton opt;
    opt.initFrom(box);
    opt.text = box->text();
    QStyle* style = box->style();
    const QRect mark = style->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, box);
    const QRect text = style->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    QPainter painter(box);
    const QImage& picture = CheckPicture(box->isChecked());
    painter.drawImage(
        QRect(QPoint(mark.left(), mark.center().y() - picture.height() / 2 + 1), picture.size()),
        picture);
    style->drawItemText(&painter, text, Qt::AlignLeft | Qt::AlignVCenter, box->palette(),
                        box->isEnabled(), box->text(), QPalette::WindowText);
    return true;
}

void TSkinCheckBox::Loaded() {
    TSkinned<platform::vcl::TCheckBox>::Loaded();
    loading_ = false;
}

// ---- combo box, edits, list box ----

TSkinComboBox::TSkinComboBox(platform::vcl::TComponent* owner)
    : TSkinned<platform::vcl::TComboBox>(owner, detail::SkinKind::Combo) {
    MakeListLate(); // the skin paints it; it never has a style sheet
}

TSkinEdit::TSkinEdit(platform::vcl::TComponent* owner)
    : TSkinned<platform::vcl::TEdit>(owner, detail::SkinKind::Edit) {}

void TSkinEdit::SetBorderColor(TColor color) {
    border_ = color;
    Restyle();
    Invalidate();
}

bool TSkinEdit::SetDesignProperty(const std::string& name,
                                  const platform::vcl::TDesignValue& value) {
    if (name == "BorderColor") {
        SetBorderColor(platform::vcl::DesignColor(value));
        return true;
    }
    return TSkinned<platform::vcl::TEdit>::SetDesignProperty(name, value);
}

TSkinNumberEdit::TSkinNumberEdit(platform::vcl::TComponent* owner) : TSkinEdit(owner) {
    RestrictInput(*this, "[0-9]*");
}

THexEdit::THexEdit(platform::vcl::TComponent* owner) : TSkinEdit(owner) {
    RestrictInput(*this, "[0-9A-Fa-f]*");
}

int THexEdit::Value() const {
    const std::string text = platform::rtl::Trim(Text());
    return text.empty() ? 0 : platform::rtl::HexToInt(text);
}

TSkinListBox::TSkinListBox(platform::vcl::TComponent* owner)
    : TSkinned<platform::vcl::TListBox>(owner, detail::SkinKind::List) {}

void TSkinListBox::SetBorderColor(TColor color) {
    border_ = color;
    Restyle();
    Invalidate();
}

bool TSkinListBox::SetDesignProperty(const std::string& name,
                                     const platform::vcl::TDesignValue& value) {
    if (name == "BorderColor") {
        SetBorderColor(platform::vcl::DesignColor(value));
        return true;
    }
    return TSkinned<platform::vcl::TListBox>::SetDesignProperty(name, value);
}

// ---- page control ----

// Draws the pane as a style sheet giving it a one-pixel border and a background would:
// filled, ringed, the pages one pixel inside it and the tabs resting on it.
class TSkinPageControl::PaneStyle : public QProxyStyle {
public:
    QColor back;
    QColor border;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_FrameTabWidget) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        painter->fillRect(option->rect, back);
        painter->setPen(border);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    }

    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        if (element == SE_TabWidgetTabContents)
            return QProxyStyle::subElementRect(SE_TabWidgetTabPane, option, widget)
                .adjusted(1, 1, -1, -1);
        return QProxyStyle::subElementRect(element, option, widget);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarBaseOverlap) return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

TSkinPageControl::TSkinPageControl(platform::vcl::TComponent* owner)
    : platform::vcl::TPageControl(owner), paneStyle_(new PaneStyle) {
    // The control's widget owns its style; a style never passes to the widget's children.
    paneStyle_->setParent(WidgetAsIs());
    WidgetAsIs()->setStyle(paneStyle_);
    detail::MarkSkinned(static_cast<QTabWidget*>(WidgetAsIs())->tabBar(), detail::SkinKind::Tabs);
    Restyle();
}

void TSkinPageControl::Loaded() {
    platform::vcl::TPageControl::Loaded();
    Restyle();
}

void TSkinPageControl::ColorChanged() {
    platform::vcl::TPageControl::ColorChanged();
    Restyle();
}

void TSkinPageControl::FontChanged() {
    platform::vcl::TPageControl::FontChanged();
    Restyle();
}

void TSkinPageControl::Restyle() {
    if (IsLoading()) return;
    const QColor back = SkinColor(Color(), clSkinBack);
    const QColor border = platform::vcl::ToQColor(clSkinAccent);
    if (back != paneStyle_->back || border != paneStyle_->border) {
        paneStyle_->back = back;
        paneStyle_->border = border;
        WidgetAsIs()->update();
    }
    // The tabs: captions in the font colour, the selected one's in the control's colour.
    detail::SetSkinColors(static_cast<QTabWidget*>(WidgetAsIs())->tabBar(), detail::SkinKind::Tabs,
                          {back, SkinColor(Font().Color(), clSkinText), border});
}

TSkinTabSheet::TSkinTabSheet(platform::vcl::TComponent* owner) : platform::vcl::TTabSheet(owner) {
    SetColor(clSkinBack);
}

} // namespace controls::skin
