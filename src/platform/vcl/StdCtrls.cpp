#include "platform/vcl/StdCtrls.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <utility>

namespace platform::vcl {

namespace {
// The length limit of a line edit Qt builds.
constexpr int kComboEditMaxLength = 32767;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

void SetBaseColor(QWidget* w, TColor color) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    w->setPalette(pal);
}

// A combo box that can leave its drop-down list unmade until the box first shows or
// drops down. Qt makes the list at the box's first font change, to hand it the font, and
// most boxes sit on pages that start hidden. Only for boxes without a style sheet: under
// one, the list's font depends on when it was made.
class DropDownBox : public QComboBox {
public:
    void MakeListLate() { late_ = true; }

    // Gives the list the box's font if a font change has not reached it yet (making the
    // list if there is none).
    void CatchUpListFont() {
        if (!listFontStale_) return;
        listFontStale_ = false;
        QEvent change(QEvent::FontChange);
        QComboBox::changeEvent(&change);
    }

    void showPopup() override {
        CatchUpListFont();
        QComboBox::showPopup();
    }

    // Qt keeps the measures it took before the font change until the change reaches it.
    QSize sizeHint() const override {
        const_cast<DropDownBox*>(this)->CatchUpListFont();
        return QComboBox::sizeHint();
    }
    QSize minimumSizeHint() const override {
        const_cast<DropDownBox*>(this)->CatchUpListFont();
        return QComboBox::minimumSizeHint();
    }

protected:
    void changeEvent(QEvent* event) override {
        const bool plain = late_ && !testAttribute(Qt::WA_StyleSheet);
        if (!plain) CatchUpListFont();
        if (event->type() != QEvent::FontChange || !plain || MadeDropDownList(this)) {
            QComboBox::changeEvent(event);
            return;
        }
        // What the font change does to a box without its list, but its size hints, which
        // are measured anew when next asked for.
        listFontStale_ = true;
        if (lineEdit()) {
            QResizeEvent resize(size(), size());
            QComboBox::resizeEvent(&resize);
        }
        QWidget::changeEvent(event);
    }

private:
    bool late_ = false;
    bool listFontStale_ = false;
};
} // namespace

QAbstractItemView* MadeDropDownList(QComboBox* combo) {
    // The list's frame is the box's only child frame.
    for (QObject* child : combo->children())
        if (auto* frame = qobject_cast<QFrame*>(child))
            return frame->findChild<QAbstractItemView*>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

// ---- TItemList ----

int TItemList::Add(const std::string& text) {
    Insert(Count(), text);
    return Count() - 1;
}

int TItemList::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (rtl::SameText(Get(i), text)) return i;
    return -1;
}

void TItemList::Assign(const std::vector<std::string>& items) {
    Clear();
    for (const std::string& s : items)
        Add(s);
}

std::vector<std::string> TItemList::ToVector() const {
    std::vector<std::string> out;
    for (int i = 0; i < Count(); ++i)
        out.push_back(Get(i));
    return out;
}

std::string TItemList::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i)
        out += Get(i) + "\n";
    return out;
}

void TItemList::SetText(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    Assign(lines);
}

void TItemList::CheckIndex(int index, int limit) {
    if (index < 0 || index >= limit)
        throw rtl::EStringListError(rtl::Format("List index out of bounds (%d)", index));
}

// Items of a combo box; changes made in code run no handler.
class ComboItems : public TItemList {
public:
    explicit ComboItems(TComboBox* b) : box(b), combo(b->Combo()) {}
    int Count() const override { return combo->count(); }
    std::string Get(int i) const override {
        CheckIndex(i, Count());
        return combo->itemText(i).toStdString();
    }
    void Put(int i, const std::string& s) override {
        CheckIndex(i, Count());
        box->SettleText();
        QSignalBlocker block(combo);
        combo->setItemText(i, Q(s));
    }
    void Insert(int i, const std::string& s) override {
        CheckIndex(i, Count() + 1);
        box->SettleText();
        QSignalBlocker block(combo);
        const bool wasEmpty = combo->count() == 0;
        combo->insertItem(i, Q(s));
        // Qt selects the first item added to an empty box; the library selects nothing.
        if (wasEmpty) combo->setCurrentIndex(-1);
    }
    void Delete(int i) override {
        CheckIndex(i, Count());
        box->SettleText();
        QSignalBlocker block(combo);
        const bool wasCurrent = combo->currentIndex() == i;
        combo->removeItem(i);
        // Qt moves on to a neighbour; deleting the selected item leaves no selection.
        if (wasCurrent) combo->setCurrentIndex(-1);
    }
    void Clear() override {
        box->SettleText();
        QSignalBlocker block(combo);
        combo->clear();
    }
    TComboBox* box;
    QComboBox* combo;
};

namespace {
class MemoLines : public TItemList {
public:
    explicit MemoLines(TMemo* m, QPlainTextEdit* e) : memo(m), edit(e) {}
    int Count() const override { return static_cast<int>(Lines().size()); }
    std::string Get(int i) const override {
        const auto lines = Lines();
        CheckIndex(i, static_cast<int>(lines.size()));
        return lines[i].toStdString();
    }
    void Put(int i, const std::string& s) override {
        auto lines = Lines();
        CheckIndex(i, static_cast<int>(lines.size()));
        lines[i] = Q(s);
        Store(lines);
    }
    void Insert(int i, const std::string& s) override {
        auto lines = Lines();
        CheckIndex(i, static_cast<int>(lines.size()) + 1);
        lines.insert(i, Q(s));
        Store(lines);
    }
    void Delete(int i) override {
        auto lines = Lines();
        CheckIndex(i, static_cast<int>(lines.size()));
        lines.removeAt(i);
        Store(lines);
    }
    void Clear() override { Store({}); }

private:
    QStringList Lines() const {
        const QString text = edit->toPlainText();
        if (text.isEmpty()) return {};
        QStringList lines = text.split(QLatin1Char('\n'));
        if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
        return lines;
    }
    void Store(const QStringList& lines) {
        memo->SetText(lines.join(QLatin1Char('\n')).toStdString());
    }
    TMemo* memo;
    QPlainTextEdit* edit;
};
} // namespace

class ListBoxItems : public TItemList {
public:
    explicit ListBoxItems(TListBox* b) : box(b) {}
    int Count() const override { return box->List()->count(); }
    std::string Get(int i) const override {
        CheckIndex(i, Count());
        return box->List()->item(i)->text().toStdString();
    }
    void Put(int i, const std::string& s) override {
        CheckIndex(i, Count());
        box->List()->item(i)->setText(Q(s));
    }
    void Insert(int i, const std::string& s) override {
        CheckIndex(i, Count() + 1);
        QSignalBlocker block(box->List());
        auto* item = new QListWidgetItem(Q(s));
        item->setSizeHint(QSize(0, box->ItemHeight()));
        box->List()->insertItem(i, item);
    }
    void Delete(int i) override {
        CheckIndex(i, Count());
        QSignalBlocker block(box->List());
        const bool wasCurrent = box->List()->currentRow() == i;
        delete box->List()->takeItem(i);
        if (wasCurrent) box->SetItemIndex(-1);
    }
    void Clear() override {
        QSignalBlocker block(box->List());
        box->List()->clear();
    }
    TListBox* box;
};

// ---- TLabel ----

TLabel::TLabel(TComponent* owner) : TControl(owner, new QLabel) {
    Label()->setTextFormat(Qt::PlainText);
    Label()->setAutoFillBackground(true);
    ApplyAlignment();
}

QLabel* TLabel::Label() const {
    return static_cast<QLabel*>(WidgetAsIs());
}

void TLabel::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    Label()->setText(Q(caption));
    AdjustSize();
}

void TLabel::SetTransparent(bool on) {
    transparent_ = on;
    Label()->setAutoFillBackground(!on);
    Label()->update();
}

void TLabel::SetAutoSize(bool on) {
    SettlePendingSize();
    autoSize_ = on;
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment) {
    // A right-aligned label grows to the left: the size waiting must be taken the way
    // the alignment it was asked under places it.
    SettlePendingSize();
    alignment_ = alignment;
    ApplyAlignment();
}

void TLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    ApplyAlignment();
}

void TLabel::SetWordWrap(bool on) {
    SettlePendingSize();
    wordWrap_ = on;
    Label()->setWordWrap(on);
    AdjustSize();
}

void TLabel::ApplyAlignment() {
    const int vertical = layout_ == tlCenter   ? Qt::AlignVCenter
                         : layout_ == tlBottom ? Qt::AlignBottom
                                               : Qt::AlignTop;
    Label()->setAlignment(Qt::Alignment(HorizontalAlignment(alignment_) | vertical));
}

void TLabel::Loaded() {
    TControl::Loaded();
    designLoading_ = false;
    AdjustSize();
}

bool TLabel::SizesToText() const {
    // A label the form design is still building takes its size once it is loaded.
    return autoSize_ && !designLoading_ && !IsLoading();
}

void TLabel::AdjustSize() {
    if (!SizesToText()) return;
    // Measuring text is most of a label's cost at start, where nearly all of them sit on
    // pages not shown yet and change font and caption several times before they show.
    if (!Label()->isVisible()) {
        sizePending_ = true;
        return;
    }
    ResizeToText();
}

void TLabel::SettleSize() {
    sizePending_ = false;
    if (SizesToText()) ResizeToText();
}

bool TLabel::HandleEvent(QEvent* event) {
    if (event->type() == QEvent::Show) SettlePendingSize();
    return TControl::HandleEvent(event);
}

void TLabel::ResizeToText() {
    SettleFonts();
    QLabel* l = Label();
    if (wordWrap_) {
        SetHeight(l->heightForWidth(l->width()));
        return;
    }
    const QSize hint = l->sizeHint();
    // A right-aligned label keeps its right edge, as it grows to the left.
    const int left = alignment_ == taRightJustify ? Left() + Width() - hint.width() : Left();
    SetBounds(left, Top(), hint.width(), hint.height());
}

void TLabel::FontChanged() {
    TControl::FontChanged();
    AdjustSize();
}

void TLabel::FontHeld() {
    // The size the font gives is taken with the font.
    AdjustSize();
}

void TLabel::ColorChanged() {
    QPalette pal = Label()->palette();
    pal.setColor(QPalette::Window, ToQColor(Color()));
    Label()->setPalette(pal);
    Label()->setAutoFillBackground(!transparent_);
}

bool TLabel::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    designLoading_ = true;
    static const std::pair<const char*, TTextLayout> layouts[] = {
        {"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}};
    if (name == "Transparent")
        SetTransparent(value.AsBool());
    else if (name == "AutoSize")
        SetAutoSize(value.AsBool());
    else if (name == "Alignment")
        SetAlignment(DesignAlignment(value));
    else if (name == "Layout")
        SetLayout(DesignEnum(value, layouts));
    else if (name == "WordWrap")
        SetWordWrap(value.AsBool());
    else
        return TControl::SetDesignProperty(name, value);
    return true;
}

// ---- TEdit ----

TEdit::TEdit(TComponent* owner) : TWinControl(owner, new QLineEdit) {
    QObject::connect(Edit(), &QLineEdit::textChanged, Edit(), [this] {
        if (OnChange) GuardedCall([this] { OnChange(this); });
    });
}

QLineEdit* TEdit::Edit() const {
    return static_cast<QLineEdit*>(WidgetAsIs());
}

QString TEdit::ShownText() const {
    return heldText_ ? *heldText_ : Edit()->text();
}

std::string TEdit::Text() const {
    return ShownText().toStdString();
}

void TEdit::SetText(const std::string& text) {
    const QString before = ShownText();
    if (!shown_) {
        // The edit would keep the text as given, cut at its length limit.
        heldText_ = Q(text).left(Edit()->maxLength());
    } else {
        // Set quietly and run the handler here, so that its exception reaches the caller.
        QSignalBlocker block(Edit());
        Edit()->setText(Q(text));
    }
    if (ShownText() != before && OnChange) OnChange(this);
}

void TEdit::SettleText() {
    if (!heldText_) return;
    QSignalBlocker block(Edit());
    Edit()->setText(*std::exchange(heldText_, std::nullopt));
}

void TEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    const int limit = maxLength_ > 0 ? maxLength_ : 32767;
    // A held text the new limit cuts goes to the edit first, which cuts it and says so;
    // one that fits stays held, and the edit's own text is out of sight until then.
    if (heldText_ && heldText_->size() > limit) SettleText();
    const QSignalBlocker block(heldText_ ? Edit() : nullptr);
    Edit()->setMaxLength(limit);
}

bool TEdit::ReadOnly() const {
    return Edit()->isReadOnly();
}
void TEdit::SetReadOnly(bool on) {
    Edit()->setReadOnly(on);
}

void TEdit::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Edit()->setAlignment(Qt::Alignment(HorizontalAlignment(alignment) | Qt::AlignVCenter));
}

void TEdit::ColorChanged() {
    SetBaseColor(Edit(), Color());
}

void TEdit::FontChanged() {
    if (shown_) {
        TWinControl::FontChanged();
        return;
    }
    ApplyFontColor();
    fontHeld_ = true;
}

namespace {
// Events of a hidden edit that neither show, read nor change its text.
bool LeavesTextAlone(QEvent::Type type) {
    switch (type) {
    case QEvent::PolishRequest:
    case QEvent::Polish:
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::ReadOnlyChange:
    case QEvent::ToolTipChange:
    case QEvent::CursorChange:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ParentAboutToChange:
    case QEvent::ParentChange:
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
    case QEvent::DynamicPropertyChange:
    case QEvent::Hide:
    case QEvent::HideToParent:
    case QEvent::ZOrderChange:
        return true;
    default:
        return false;
    }
}
} // namespace

bool TEdit::HandleEvent(QEvent* event) {
    if (heldText_ && !LeavesTextAlone(event->type())) SettleText();
    if ((event->type() == QEvent::Show || event->type() == QEvent::Paint) && !shown_) {
        shown_ = true;
        if (std::exchange(fontHeld_, false)) ApplyFontFace();
    }
    return TWinControl::HandleEvent(event);
}

bool TEdit::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Text")
        SetText(value.AsString());
    else if (name == "MaxLength")
        SetMaxLength(value.AsInt());
    else if (name == "ReadOnly")
        SetReadOnly(value.AsBool());
    else if (name == "Alignment")
        SetAlignment(DesignAlignment(value));
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

bool TEdit::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnChange") return BindDesignHandler(handler, OnChange);
    return TWinControl::SetDesignEvent(name, handler);
}

// ---- TMemo ----

TMemo::TMemo(TComponent* owner) : TWinControl(owner, new QPlainTextEdit) {
    lines_ = std::make_unique<MemoLines>(this, Memo());
    // Tab moves the focus on, as in every edit; the memo takes no tab characters.
    Memo()->setTabChangesFocus(true);
    QObject::connect(Memo(), &QPlainTextEdit::textChanged, Memo(), [this] {
        if (OnChange) GuardedCall([this] { OnChange(this); });
    });
}

TMemo::~TMemo() = default;

QPlainTextEdit* TMemo::Memo() const {
    return static_cast<QPlainTextEdit*>(WidgetAsIs());
}

void TMemo::Clear() {
    SetText("");
}

std::string TMemo::Text() const {
    return Memo()->toPlainText().toStdString();
}

void TMemo::SetText(const std::string& text) {
    const QString before = Memo()->toPlainText();
    {
        QSignalBlocker block(Memo());
        Memo()->setPlainText(Q(text));
    }
    if (Memo()->toPlainText() != before && OnChange) OnChange(this);
}

bool TMemo::ReadOnly() const {
    return Memo()->isReadOnly();
}
void TMemo::SetReadOnly(bool on) {
    Memo()->setReadOnly(on);
}
void TMemo::ColorChanged() {
    SetBaseColor(Memo(), Color());
}

bool TMemo::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Lines")
        lines_->Assign(value.AsList());
    else if (name == "ReadOnly")
        SetReadOnly(value.AsBool());
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

bool TMemo::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnChange") return BindDesignHandler(handler, OnChange);
    return TWinControl::SetDesignEvent(name, handler);
}

// ---- TComboBox ----

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner, new DropDownBox) {
    items_ = std::make_unique<ComboItems>(this);
    Combo()->setInsertPolicy(QComboBox::NoInsert);
    // activated is the user's choice only; changes made in code stay silent.
    QObject::connect(Combo(), &QComboBox::activated, Combo(), [this] {
        if (OnChange) GuardedCall([this] { OnChange(this); });
    });
}

TComboBox::~TComboBox() = default;

QComboBox* TComboBox::Combo() const {
    return static_cast<QComboBox*>(WidgetAsIs());
}

int TComboBox::ItemIndex() const {
    return Combo()->currentIndex();
}

void TComboBox::SetItemIndex(int index) {
    // Qt gives the line edit the text of the item selected, whatever it held.
    heldText_.reset();
    QSignalBlocker block(Combo());
    Combo()->setCurrentIndex(index >= 0 && index < Combo()->count() ? index : -1);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    style_ = style;
    if (style == csDropDownList) {
        heldText_.reset();
        if (Combo()->isEditable()) {
            QSignalBlocker block(Combo());
            Combo()->setEditable(false);
        }
    } else if (Combo()->isVisible()) {
        BuildEditor();
    }
}

void TComboBox::BuildEditor() {
    if (style_ != csDropDown || Combo()->isEditable()) return;
    QSignalBlocker block(Combo());
    // A line edit built with the box takes the box's font while the box has no style
    // sheet, and keeps it when a sheet comes; a font given later under the sheet leaves
    // it the application's. One built now follows the same history: the box's font
    // unless the font changed under the sheet.
    const bool sheet = Combo()->testAttribute(Qt::WA_StyleSheet);
    if (sheet && !fontAfterSheet_) Combo()->setAttribute(Qt::WA_StyleSheet, false);
    Combo()->setEditable(true);
    if (sheet) Combo()->setAttribute(Qt::WA_StyleSheet, true);
    if (QLineEdit* edit = Combo()->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this] {
            if (OnChange) GuardedCall([this] { OnChange(this); });
        });
    }
    if (heldText_) Combo()->setEditText(*std::exchange(heldText_, std::nullopt));
}

void TComboBox::FontChanged() {
    TWinControl::FontChanged();
    if (Combo()->testAttribute(Qt::WA_StyleSheet)) fontAfterSheet_ = true;
}

void TComboBox::SettleText() {
    if (heldText_) BuildEditor();
}

void TComboBox::MakeListLate() {
    static_cast<DropDownBox*>(Combo())->MakeListLate();
}

bool TComboBox::HandleEvent(QEvent* event) {
    // A box drawn into a picture while hidden paints without showing first.
    if (event->type() == QEvent::Show || event->type() == QEvent::Paint) {
        BuildEditor();
        static_cast<DropDownBox*>(Combo())->CatchUpListFont();
    }
    return TWinControl::HandleEvent(event);
}

std::string TComboBox::Text() const {
    return (heldText_ ? *heldText_ : Combo()->currentText()).toStdString();
}

void TComboBox::SetText(const std::string& text) {
    if (style_ == csDropDown && !Combo()->isEditable()) {
        // The line edit would show the text as given, cut at its length limit.
        QString held = Q(text);
        held.truncate(kComboEditMaxLength);
        heldText_ = std::move(held);
        return;
    }
    QSignalBlocker block(Combo());
    const int index = Combo()->findText(Q(text));
    if (Combo()->isEditable())
        Combo()->setEditText(Q(text));
    else
        Combo()->setCurrentIndex(index);
}

int TComboBox::DropDownCount() const {
    return Combo()->maxVisibleItems();
}
void TComboBox::SetDropDownCount(int count) {
    Combo()->setMaxVisibleItems(std::max(1, count));
}
void TComboBox::ColorChanged() {
    SetBaseColor(Combo(), Color());
}

bool TComboBox::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    static const std::pair<const char*, TComboBoxStyle> styles[] = {
        {"csDropDown", csDropDown}, {"csDropDownList", csDropDownList}};
    if (name == "Items")
        items_->Assign(value.AsList());
    else if (name == "ItemIndex")
        SetItemIndex(value.AsInt());
    else if (name == "Style")
        SetStyle(DesignEnum(value, styles));
    else if (name == "Text")
        SetText(value.AsString());
    else if (name == "DropDownCount")
        SetDropDownCount(value.AsInt());
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

bool TComboBox::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnChange") return BindDesignHandler(handler, OnChange);
    return TWinControl::SetDesignEvent(name, handler);
}

// ---- TListBox ----

TListBox::TListBox(TComponent* owner) : TWinControl(owner, new QListWidget) {
    items_ = std::make_unique<ListBoxItems>(this);
    QListWidget* list = List();
    // The user's selection changes run OnClick, whether by mouse or keyboard; a click on
    // the item already selected runs it too.
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this] {
        changedSincePress_ = true;
        GuardedCall([this] { Click(); });
    });
    QObject::connect(list, &QListWidget::itemPressed, list, [this] { changedSincePress_ = false; });
    QObject::connect(list, &QListWidget::itemClicked, list, [this] {
        if (!changedSincePress_) GuardedCall([this] { Click(); });
        changedSincePress_ = false;
    });
}

TListBox::~TListBox() = default;

QListWidget* TListBox::List() const {
    return static_cast<QListWidget*>(WidgetAsIs());
}

int TListBox::ItemIndex() const {
    return List()->currentRow();
}

void TListBox::SetItemIndex(int index) {
    QSignalBlocker block(List());
    List()->setCurrentRow(index >= 0 && index < List()->count() ? index : -1);
    if (List()->currentRow() < 0) List()->clearSelection();
}

void TListBox::SetItemHeight(int height) {
    itemHeight_ = std::max(1, height);
    for (int i = 0; i < List()->count(); ++i)
        List()->item(i)->setSizeHint(QSize(0, itemHeight_));
}

void TListBox::ColorChanged() {
    SetBaseColor(List(), Color());
}

bool TListBox::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Items")
        items_->Assign(value.AsList());
    else if (name == "ItemIndex")
        SetItemIndex(value.AsInt());
    else if (name == "ItemHeight")
        SetItemHeight(value.AsInt());
    else
        return TWinControl::SetDesignProperty(name, value);
    return true;
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner, new QCheckBox) {
    QObject::connect(Box(), &QCheckBox::clicked, Box(),
                     [this] { GuardedCall([this] { Click(); }); });
}

QCheckBox* TCheckBox::Box() const {
    return static_cast<QCheckBox*>(WidgetAsIs());
}

void TCheckBox::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    Box()->setText(Q(caption));
}

bool TCheckBox::Checked() const {
    return Box()->isChecked();
}

void TCheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    {
        QSignalBlocker block(Box());
        Box()->setChecked(checked);
    }
    Click();
}

bool TCheckBox::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Checked") {
        SetChecked(value.AsBool());
        return true;
    }
    return TWinControl::SetDesignProperty(name, value);
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner, new QRadioButton) {
    // Qt unchecks the other buttons of the same parent; only the newly checked button
    // reports a click, and a click on a checked button changes nothing.
    QObject::connect(Button(), &QRadioButton::toggled, Button(), [this](bool on) {
        if (on && !settingInCode_) GuardedCall([this] { Click(); });
    });
}

QRadioButton* TRadioButton::Button() const {
    return static_cast<QRadioButton*>(WidgetAsIs());
}

void TRadioButton::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    Button()->setText(Q(caption));
}

bool TRadioButton::Checked() const {
    return Button()->isChecked();
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == Checked()) return;
    QRadioButton* b = Button();
    settingInCode_ = true;
    if (checked) {
        b->setChecked(true);
    } else {
        // Qt refuses to uncheck the checked button of a group; the library allows it.
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    settingInCode_ = false;
    if (checked) Click();
}

bool TRadioButton::SetDesignProperty(const std::string& name, const TDesignValue& value) {
    if (name == "Checked") {
        SetChecked(value.AsBool());
        return true;
    }
    return TWinControl::SetDesignProperty(name, value);
}

// ---- TGroupBox, TButton ----

namespace {
// The library's group box: an etched frame with the caption in its top line, and no
// fill of its own, so the parent's colour (a form's colour key, say) shows through.
// Qt's styles tint the inside, which would break a colour-keyed window.
struct GroupBoxView : QGroupBox {
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QFontMetrics fm(font());
        const int top = title().isEmpty() ? 0 : fm.height() / 2;
        const QRect r = rect().adjusted(0, top, -1, -1);
        // The frame leaves a gap for the title, so whatever lies under the box shows
        // around the title's text.
        const QRect text(8, 0, fm.horizontalAdvance(title()) + 4, fm.height());
        if (!title().isEmpty()) p.setClipRegion(QRegion(rect()).subtracted(QRegion(text)));
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(r.adjusted(1, 1, 0, 0));
        if (title().isEmpty()) return;
        p.setClipping(false);
        p.setPen(palette().color(isEnabled() ? QPalette::WindowText : QPalette::Mid));
        p.drawText(text, Qt::AlignCenter, title());
    }
};
} // namespace

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner, new GroupBoxView) {}

QGroupBox* TGroupBox::Box() const {
    return static_cast<QGroupBox*>(WidgetAsIs());
}

void TGroupBox::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    Box()->setTitle(Q(caption));
}

TButton::TButton(TComponent* owner) : TWinControl(owner, new QPushButton) {
    auto* button = static_cast<QPushButton*>(WidgetAsIs());
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { GuardedCall([this] { Click(); }); });
}

void TButton::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    static_cast<QPushButton*>(WidgetAsIs())->setText(Q(caption));
}

} // namespace platform::vcl
