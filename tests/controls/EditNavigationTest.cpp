// Keyboard navigation and selection in every edit of the component library: a key filter
// decides which characters an edit takes, never whether Tab moves the focus or the
// arrows, Home, End, Shift and Ctrl+A move the caret and select.
#include "controls/skin/SkinCtrls.h"
#include "controls/unicode/WideCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace controls::skin;
using namespace controls::unicode;

namespace {

// What the user sees of an edit: its text, where the caret stands, what is selected.
struct EditState {
    QString text;
    int caret = 0;
    QString selected;
    bool operator==(const EditState&) const = default;
};

void PrintTo(const EditState& s, std::ostream* os) {
    *os << '"' << s.text.toStdString() << "\" caret " << s.caret << " selected \""
        << s.selected.toStdString() << '"';
}

// One kind of edit and how to make it on a form.
struct EditKind {
    const char* name;
    std::function<platform::vcl::TWinControl*(platform::vcl::TForm&)> make;
    // A text of four characters, as this kind of edit typically shows.
    QString text;
};

template <class T> std::function<platform::vcl::TWinControl*(platform::vcl::TForm&)> Maker() {
    return [](platform::vcl::TForm& form) -> platform::vcl::TWinControl* { return new T(&form); };
}

QLineEdit* LineEditOf(platform::vcl::TWinControl& c) {
    if (auto* combo = qobject_cast<QComboBox*>(c.Widget())) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(c.Widget());
}

EditState StateOf(platform::vcl::TWinControl& c) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(c.Widget())) {
        const QTextCursor cursor = memo->textCursor();
        return {memo->toPlainText(), cursor.position(), cursor.selectedText()};
    }
    QLineEdit* line = LineEditOf(c);
    return {line->text(), line->cursorPosition(), line->selectedText()};
}

void PlaceCaret(platform::vcl::TWinControl& c, int position) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(c.Widget())) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(position);
        memo->setTextCursor(cursor);
        return;
    }
    LineEditOf(c)->setCursorPosition(position);
}

void SetEditText(platform::vcl::TWinControl& c, const QString& text) {
    const std::string utf8 = text.toStdString();
    if (auto* edit = dynamic_cast<platform::vcl::TEdit*>(&c)) return edit->SetText(utf8);
    if (auto* combo = dynamic_cast<platform::vcl::TComboBox*>(&c)) return combo->SetText(utf8);
    if (auto* memo = dynamic_cast<platform::vcl::TMemo*>(&c)) return memo->SetText(utf8);
    FAIL() << "not an edit";
}

// A key as the desktop delivers it: Shift+Tab comes as Backtab, control keys carry the
// control character as their text.
struct Key {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

enum class Focus { Stays, Next, Previous };

struct Case {
    Key key;
    Focus focus;
    // The edit afterwards; it starts as the kind's text with the caret after two characters.
    std::function<EditState(const QString&)> expected;
};

EditState Caret(const QString& text, int caret, QString selected = {}) {
    return {text, caret, selected};
}

// The fire-key edits' filter: digits and backspace only.
void DigitsOnly(platform::vcl::TObject*, char16_t& key) {
    if (!(key >= u'0' && key <= u'9') && key != 8) key = 0;
}

struct EditNavigationTabTest : ::testing::Test {};

TEST_F(EditNavigationTabTest, NavigationAndSelectionKeysWorkInEveryEditWhateverItsFilter) {
    const QString wide = QString::fromStdU16String(u"\u9f20\u6807\u8bbe\u7f6e");
    const std::vector<EditKind> kinds = {
        {"TEdit", Maker<platform::vcl::TEdit>(), "1234"},
        {"TSkinEdit", Maker<TSkinEdit>(), "1234"},
        {"TSkinNumberEdit", Maker<TSkinNumberEdit>(), "1234"},
        {"THexEdit", Maker<THexEdit>(), "12AB"},
        {"TMemo", Maker<platform::vcl::TMemo>(), "1234"},
        {"TComboBox line edit", Maker<platform::vcl::TComboBox>(), "1234"},
        {"TSkinComboBox line edit", Maker<TSkinComboBox>(), "1234"},
        {"TWideComboBox line edit", Maker<TWideComboBox>(), wide},
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                ctrl = Qt::ControlModifier;
    const std::vector<Case> cases = {
        {{"Tab", Qt::Key_Tab, none, "\t"}, Focus::Next, [](auto& t) { return Caret(t, 2); }},
        {{"Shift+Tab", Qt::Key_Backtab, shift, "\t"},
         Focus::Previous,
         [](auto& t) { return Caret(t, 2); }},
        {{"Left", Qt::Key_Left, none, ""}, Focus::Stays, [](auto& t) { return Caret(t, 1); }},
        {{"Right", Qt::Key_Right, none, ""}, Focus::Stays, [](auto& t) { return Caret(t, 3); }},
        {{"Home", Qt::Key_Home, none, ""}, Focus::Stays, [](auto& t) { return Caret(t, 0); }},
        {{"End", Qt::Key_End, none, ""}, Focus::Stays, [](auto& t) { return Caret(t, 4); }},
        {{"Shift+Left", Qt::Key_Left, shift, ""},
         Focus::Stays,
         [](auto& t) { return Caret(t, 1, t.mid(1, 1)); }},
        {{"Shift+Right", Qt::Key_Right, shift, ""},
         Focus::Stays,
         [](auto& t) { return Caret(t, 3, t.mid(2, 1)); }},
        {{"Shift+Home", Qt::Key_Home, shift, ""},
         Focus::Stays,
         [](auto& t) { return Caret(t, 0, t.left(2)); }},
        {{"Shift+End", Qt::Key_End, shift, ""},
         Focus::Stays,
         [](auto& t) { return Caret(t, 4, t.mid(2)); }},
        {{"Ctrl+A", Qt::Key_A, ctrl, "\x01"}, Focus::Stays, [](auto& t) { return Caret(t, 4, t); }},
        {{"Delete", Qt::Key_Delete, none, "\x7f"},
         Focus::Stays,
         [](auto& t) { return Caret(t.left(2) + t.mid(3), 2); }},
        // The filter still decides the characters: a digit goes in, a letter does not.
        {{"5", Qt::Key_5, none, "5"},
         Focus::Stays,
         [](auto& t) { return Caret(t.left(2) + "5" + t.mid(2), 3); }},
        {{"x", Qt::Key_X, none, "x"}, Focus::Stays, [](auto& t) { return Caret(t, 2); }},
        {{"Backspace", Qt::Key_Backspace, none, "\b"},
         Focus::Stays,
         [](auto& t) { return Caret(t.left(1) + t.mid(2), 1); }},
    };

    for (const EditKind& kind : kinds) {
        platform::vcl::TForm form(nullptr);
        form.SetBounds(0, 0, 300, 120);
        // In the window's tab order: a plain edit before and after the one under test.
        platform::vcl::TEdit* before = new platform::vcl::TEdit(&form);
        platform::vcl::TWinControl* edit = kind.make(form);
        platform::vcl::TEdit* after = new platform::vcl::TEdit(&form);
        int top = 5;
        for (platform::vcl::TWinControl* c :
             {static_cast<platform::vcl::TWinControl*>(before), edit,
              static_cast<platform::vcl::TWinControl*>(after)}) {
            c->SetParent(&form);
            c->SetBounds(5, top, 150, 24);
            c->OnKeyPress = DigitsOnly;
            top += 30;
        }
        form.Show();
        form.Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget())) << kind.name;

        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(kind.name) + ", " + c.key.name);
            SetEditText(*edit, kind.text);
            edit->SetFocus();
            ASSERT_TRUE(edit->Focused());
            PlaceCaret(*edit, 2);
            ASSERT_EQ(StateOf(*edit), Caret(kind.text, 2));

            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), c.key.key, c.key.text,
                                c.key.modifiers);

            EXPECT_EQ(StateOf(*edit), c.expected(kind.text));
            EXPECT_EQ(edit->Focused(), c.focus == Focus::Stays);
            EXPECT_EQ(after->Focused(), c.focus == Focus::Next);
            EXPECT_EQ(before->Focused(), c.focus == Focus::Previous);
            EXPECT_EQ(before->Text(), "");
            EXPECT_EQ(after->Text(), "");
        }
    }
}

} // namespace
