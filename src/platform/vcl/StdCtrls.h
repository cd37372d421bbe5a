#pragma once
// Standard controls: labels, edits, memo, combo and list boxes, check boxes, radio
// buttons, group boxes, buttons.
#include "platform/vcl/Controls.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QAbstractItemView;
class QComboBox;
class QListWidget;
class QCheckBox;
class QRadioButton;
class QGroupBox;
class QPushButton;

namespace platform::vcl {

// The item list of a combo box or list box, or the lines of a memo. An index outside
// the list raises "List index out of bounds (<index>)".
class TItemList {
public:
    virtual ~TItemList() = default;
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }
    int Add(const std::string& text);
    int IndexOf(const std::string& text) const;
    void Assign(const std::vector<std::string>& items);
    std::vector<std::string> ToVector() const;
    // The items joined by line breaks; setting splits at "\n" (a "\r" before it goes).
    std::string Text() const;
    void SetText(const std::string& text);

protected:
    static void CheckIndex(int index, int limit);
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    void SetCaption(const std::string& caption) override;
    // A transparent label shows what lies beneath it and still takes the mouse.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    void Loaded() override;

protected:
    void FontChanged() override;
    void FontHeld() override;
    void ColorChanged() override;
    bool HandleEvent(QEvent* event) override;
    void SettleSize() override;
    // Only a right-aligned single-line label moves its left edge as it takes its size.
    bool SettlingKeepsLeft() const override { return wordWrap_ || alignment_ != taRightJustify; }
    bool SettlingKeepsTop() const override { return true; }

private:
    QLabel* Label() const;
    void ApplyAlignment();
    // Sizes an AutoSize label to its text: at once where it can be seen, otherwise when
    // its bounds are read or changed, it shows, or a setting the sizing reads changes.
    void AdjustSize();
    bool SizesToText() const;
    void ResizeToText();

    // While the design sets properties one by one, sizing waits for all of them: a
    // caption set before "AutoSize = False" must not shrink the label first.
    bool designLoading_ = false;
    bool transparent_ = false;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
};

// Until an edit first shows or draws, a text set in code is held here and reads back as
// the edit would show it: setting it lays the text out and tells accessibility, for the
// many edits of pages that start hidden. Any event that could show, read or change the
// text hands it to the edit first.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    std::string Text() const;
    // Runs OnChange when the text changes, as typing does.
    void SetText(const std::string& text);
    std::string Caption() const override { return Text(); }
    void SetCaption(const std::string& caption) override { SetText(caption); }
    // 0 means no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    TNotifyEvent OnChange;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    bool ClickOnRelease() const override { return false; }
    void ColorChanged() override;
    // Until the edit first shows or draws, its face and size wait: laying out its text
    // again for each font change of the design and the language texts shows nothing.
    void FontChanged() override;
    // The text colour goes to the edit at once: a style sheet coming later paints over
    // it, as over a colour set before the sheet.
    bool MayHoldFont() const override { return false; }
    bool HandleEvent(QEvent* event) override;

private:
    QLineEdit* Edit() const;
    // The text as the edit shows it, or will once it takes a held one.
    QString ShownText() const;
    // Gives the edit a held text.
    void SettleText();
    int maxLength_ = 0;
    TAlignment alignment_ = taLeftJustify;
    bool shown_ = false;
    bool fontHeld_ = false;
    std::optional<QString> heldText_;
};

class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    TItemList& Lines() { return *lines_; }
    void Clear();
    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly() const;
    void SetReadOnly(bool on);

    TNotifyEvent OnChange;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    bool ClickOnRelease() const override { return false; }
    void ColorChanged() override;

private:
    QPlainTextEdit* Memo() const;
    std::unique_ptr<TItemList> lines_;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// The drop-down list `combo` has made, or null while it has none (asking the box for its
// view would make it).
QAbstractItemView* MadeDropDownList(QComboBox* combo);

// A csDropDown box builds its line edit when it first shows, or as soon as it has to (a
// text typed in code followed by a change of the items or the selection); until then
// the text set in code is held here and reads back as the edit would show it.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;
    TItemList& Items() { return *items_; }
    // -1 when nothing is selected.
    int ItemIndex() const;
    // Runs no handler; an index outside the list selects nothing.
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    std::string Text() const;
    void SetText(const std::string& text);
    int DropDownCount() const;
    void SetDropDownCount(int count);

    // Runs when the user picks an item or edits the text, never for changes made in code.
    TNotifyEvent OnChange;

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;
    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    bool ClickOnRelease() const override { return false; }
    void ColorChanged() override;
    void FontChanged() override;
    // The line edit built with the box takes the box's font the way it came: before or
    // after a style sheet. A font held from before a sheet would come after it.
    bool MayHoldFont() const override { return false; }
    bool HandleEvent(QEvent* event) override;
    // The drop-down list is made when the box first shows, draws or drops down rather
    // than at the first font change (a box that never has a style sheet).
    void MakeListLate();

private:
    friend class ComboItems;
    QComboBox* Combo() const;
    // Builds the line edit of a csDropDown box that has none yet.
    void BuildEditor();
    // The items or the selection are about to change: a held text goes to the line edit
    // first, so that Qt settles the two exactly as it does for a built box.
    void SettleText();
    std::unique_ptr<TItemList> items_;
    TComboBoxStyle style_ = csDropDown;
    std::optional<QString> heldText_;
    // The font changed while the box had a style sheet.
    bool fontAfterSheet_ = false;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    TItemList& Items() { return *items_; }
    int ItemIndex() const;
    // Runs no handler; an index outside the list selects nothing.
    void SetItemIndex(int index);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);

    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

protected:
    bool ClickOnRelease() const override { return false; }
    void ColorChanged() override;

private:
    friend class ListBoxItems;
    QListWidget* List() const;
    std::unique_ptr<TItemList> items_;
    int itemHeight_ = 13;
    bool changedSincePress_ = false;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    void SetCaption(const std::string& caption) override;
    bool Checked() const;
    // Runs OnClick when the state changes, as a click does.
    void SetChecked(bool checked);
    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

protected:
    bool ClickOnRelease() const override { return false; }

private:
    QCheckBox* Box() const;
};

// Radio buttons with the same parent form one group: checking one unchecks the others.
class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    void SetCaption(const std::string& caption) override;
    bool Checked() const;
    // Checking runs OnClick when the button was not checked before; unchecking runs
    // nothing.
    void SetChecked(bool checked);
    bool SetDesignProperty(const std::string& name, const TDesignValue& value) override;

protected:
    bool ClickOnRelease() const override { return false; }

private:
    QRadioButton* Button() const;
    bool settingInCode_ = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    void SetCaption(const std::string& caption) override;

private:
    QGroupBox* Box() const;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    void SetCaption(const std::string& caption) override;

protected:
    bool ClickOnRelease() const override { return false; }
};

} // namespace platform::vcl
