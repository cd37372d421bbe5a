// Behaviour of the standard controls that the program's handlers rely on.
#include "common/EventCounter.h"
#include "platform/core/Time.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GuiTestSupport.h"
#include "platform/vcl/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

struct ControlsTest : ::testing::Test {
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
    }
    template <class T> T* Make(const std::string& name, TWinControl* parent = nullptr) {
        auto* c = new T(form.get());
        c->SetName(name);
        c->SetParent(parent ? parent : form.get());
        return c;
    }
    // Shows the form with a page that stays hidden, for controls not yet shown.
    TPanel* ShowWithHiddenPage() {
        auto* page = Make<TPanel>("pnlLater");
        page->SetBounds(0, 0, 400, 300);
        page->SetVisible(false);
        form->Show();
        return page;
    }
    // A control shown on the form and its twin on the hidden page, at the same place.
    template <class T> std::pair<T*, T*> Twins(TPanel* page) {
        const std::string n = std::to_string(twins_++);
        auto* shown = Make<T>("shown" + n);
        auto* hidden = Make<T>("hidden" + n, page);
        for (T* c : {shown, hidden})
            c->SetBounds(10, 10, 150, 24);
        return {shown, hidden};
    }
    std::unique_ptr<TForm> form;
    int twins_ = 0;
};

TEST_F(ControlsTest, ComboItemIndexSetInCodeRunsNoHandlerAndOutOfRangeSelectsNothing) {
    auto* combo = Make<TComboBox>("cbRate");
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->Items().Assign({"125", "250", "500", "1000"});
    EXPECT_EQ(combo->ItemIndex(), -1);

    combo->SetItemIndex(2);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "500");
    combo->SetItemIndex(4);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(1);
    combo->SetItemIndex(-3);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(3);
    combo->Items().Delete(0);
    EXPECT_EQ(combo->ItemIndex(), 2) << "the selected item stays selected";
    combo->Items().Delete(2);
    EXPECT_EQ(combo->ItemIndex(), -1) << "deleting the selected item leaves no selection";
    combo->Items().Clear();
    EXPECT_EQ(changes, 0);

    // The user's choice is the one road that runs the handler.
    combo->Items().Assign({"a", "b"});
    auto* qt = static_cast<QComboBox*>(combo->Widget());
    qt->setCurrentIndex(1);
    emit qt->activated(1);
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, ComboListStyleAlsoClearsSelectionBeyondList) {
    auto* combo = Make<TComboBox>("cbList");
    combo->SetStyle(csDropDownList);
    combo->Items().Assign({"x", "y"});
    combo->SetItemIndex(1);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

// A drop-down box on a page not yet shown has no line edit. Whatever code does to it
// meanwhile must read back, and show once the page opens, exactly as on a box whose line
// edit was there from the start.
TEST_F(ControlsTest, ComboBoxNotYetShownReadsAndShowsAsABuiltOne) {
    using Step = std::function<void(TComboBox&)>;
    // Each case fills the list, selects, types "x" in code, then does one thing more.
    struct Case {
        const char* name;
        std::vector<std::string> items;
        int selected;
        Step then;
    };
    const Step nothing = [](TComboBox&) {};
    const Case cases[] = {
        {"text only", {}, -1, nothing},
        {"text then item index", {"a", "b"}, -1, [](TComboBox& c) { c.SetItemIndex(1); }},
        {"text then same item index", {"a", "b"}, 0, [](TComboBox& c) { c.SetItemIndex(0); }},
        {"text then add to an empty list", {}, -1, [](TComboBox& c) { c.Items().Add("a"); }},
        {"text then add after the selection",
         {"a", "b"},
         0,
         [](TComboBox& c) { c.Items().Add("c"); }},
        {"text then insert before the selection",
         {"a", "b"},
         1,
         [](TComboBox& c) { c.Items().Insert(0, "z"); }},
        {"text then delete before the selection",
         {"a", "b", "c"},
         2,
         [](TComboBox& c) { c.Items().Delete(0); }},
        {"text then delete after the selection",
         {"a", "b", "c"},
         0,
         [](TComboBox& c) { c.Items().Delete(2); }},
        {"text then delete the selection",
         {"a", "b"},
         1,
         [](TComboBox& c) { c.Items().Delete(1); }},
        {"text then rename the selection",
         {"a", "b"},
         1,
         [](TComboBox& c) { c.Items().Put(1, "B"); }},
        {"text then rename another item",
         {"a", "b"},
         1,
         [](TComboBox& c) { c.Items().Put(0, "A"); }},
        {"text then clear without a selection",
         {"a", "b"},
         -1,
         [](TComboBox& c) { c.Items().Clear(); }},
        {"text then clear with a selection",
         {"a", "b"},
         0,
         [](TComboBox& c) { c.Items().Clear(); }},
        {"text naming an item", {"a", "b"}, -1, [](TComboBox& c) { c.SetText("b"); }},
        {"text beyond the length limit",
         {},
         -1,
         [](TComboBox& c) { c.SetText(std::string(40000, 'w')); }},
        {"text with a line break and non-ASCII",
         {},
         -1,
         [](TComboBox& c) { c.SetText("a\nb \xC3\xA9\xE4\xB8\xAD"); }},
        {"list style drops the text",
         {"a", "b"},
         -1,
         [](TComboBox& c) {
             c.SetStyle(csDropDownList);
             c.SetText("b");
             c.SetStyle(csDropDown);
         }},
        {"back to drop-down keeps the selection",
         {"a", "b"},
         1,
         [](TComboBox& c) {
             c.SetStyle(csDropDownList);
             c.SetItemIndex(0);
             c.SetStyle(csDropDown);
             c.SetText("y");
         }},
    };
    TPanel* page = ShowWithHiddenPage();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::vector<Step> steps = {[&](TComboBox& c) { c.Items().Assign(k.items); },
                                         [&](TComboBox& c) { c.SetItemIndex(k.selected); },
                                         [](TComboBox& c) { c.SetText("x"); }, k.then};
        auto [built, lazy] = Twins<TComboBox>(page);
        ASSERT_TRUE(static_cast<QComboBox*>(built->Widget())->isEditable());
        int changes = 0;
        lazy->OnChange = [&](TObject*) { ++changes; };
        for (const Step& step : steps) {
            step(*built);
            step(*lazy);
            EXPECT_EQ(lazy->Text(), built->Text());
            EXPECT_EQ(lazy->ItemIndex(), built->ItemIndex());
            EXPECT_EQ(lazy->Items().ToVector(), built->Items().ToVector());
            EXPECT_EQ(lazy->Style(), built->Style());
        }
        auto* qtLazy = static_cast<QComboBox*>(lazy->Widget());
        auto* qtBuilt = static_cast<QComboBox*>(built->Widget());
        page->SetVisible(true);
        EXPECT_EQ(qtLazy->isEditable(), qtBuilt->isEditable());
        EXPECT_EQ(lazy->Text(), built->Text());
        EXPECT_EQ(lazy->ItemIndex(), built->ItemIndex());
        if (QLineEdit* edit = qtLazy->lineEdit()) {
            EXPECT_TRUE(edit->isVisible());
            EXPECT_EQ(edit->text(), qtBuilt->lineEdit()->text());
            EXPECT_EQ(edit->hasFrame(), qtBuilt->lineEdit()->hasFrame());
            EXPECT_NE(edit->completer(), nullptr);
        }
        EXPECT_EQ(changes, 0) << "changes made in code run no handler";
        page->SetVisible(false);
    }
}

// The line edit built when the box first shows takes the user's typing, runs OnChange
// and draws as one built at once.
TEST_F(ControlsTest, ComboBoxBuiltOnShowTakesTypingAndLooksTheSame) {
    auto* page = Make<TPanel>("pnlLater");
    page->SetBounds(0, 0, 400, 300);
    page->SetVisible(false);
    auto* now = Make<TComboBox>("cbNow");
    auto* later = Make<TComboBox>("cbLater", page);
    for (TComboBox* c : {now, later}) {
        c->SetBounds(10, 10, 150, 24);
        c->Font().SetColor(clRed);
        c->SetColor(clYellow);
        c->Items().Assign({"125", "250"});
        c->SetText("75");
    }
    form->Show();
    auto* qtLater = static_cast<QComboBox*>(later->Widget());
    EXPECT_EQ(qtLater->lineEdit(), nullptr) << "a box no one sees builds no line edit";
    // Drawn into a picture while its page is hidden, it looks as it will when shown.
    EXPECT_EQ(later->Widget()->grab().toImage(), now->Widget()->grab().toImage());
    page->SetVisible(true);
    ASSERT_NE(qtLater->lineEdit(), nullptr);
    EXPECT_EQ(later->Widget()->grab().toImage(), now->Widget()->grab().toImage());

    std::vector<std::string> seen;
    later->OnChange = [&](TObject*) { seen.push_back(later->Text()); };
    later->SetFocus();
    QTest::keyClicks(later->Widget(), "9");
    EXPECT_EQ(seen, std::vector<std::string>{"759"});
    EXPECT_EQ(later->ItemIndex(), -1);
}

// The line edit a box builds when it first shows takes the font and colours one built
// with the box would have, whatever fonts, colours and style sheets came meanwhile.
TEST_F(ControlsTest, ComboBoxBuiltOnShowTakesTheFontItWouldHaveHad) {
    const QString sheet = "QComboBox { background-color: #1E2126; color: #D8DCE2; }";
    const QString sheet2 = "QComboBox { background-color: #2B2F36; color: #19B4C8; }";
    using Step = std::function<void(TComboBox&)>;
    const Step font = [](TComboBox& c) {
        c.Font().SetName("MS Sans Serif");
        c.Font().SetSize(8);
    };
    const Step font2 = [](TComboBox& c) { c.Font().SetSize(12); };
    const Step styled = [&](TComboBox& c) { c.Widget()->setStyleSheet(sheet); };
    const Step restyled = [&](TComboBox& c) { c.Widget()->setStyleSheet(sheet2); };
    const Step colour = [](TComboBox& c) { c.SetColor(clYellow); };
    const std::pair<const char*, std::vector<Step>> cases[] = {
        {"font", {font}},
        {"font then sheet", {font, styled}},
        {"font, sheet, font", {font, styled, font2}},
        {"sheet then font", {styled, font}},
        {"font, sheet, another sheet", {font, styled, restyled}},
        {"font, sheet, font, another sheet", {font, styled, font2, restyled}},
        {"colour, font, sheet", {colour, font, styled}},
    };
    TPanel* page = ShowWithHiddenPage();
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        auto [built, lazy] = Twins<TComboBox>(page);
        for (TComboBox* c : {built, lazy}) {
            c->Items().Assign({"125 Hz", "250 Hz"});
            c->SetItemIndex(1);
            for (const Step& step : steps)
                step(*c);
        }
        page->SetVisible(true);
        QLineEdit* a = static_cast<QComboBox*>(built->Widget())->lineEdit();
        QLineEdit* b = static_cast<QComboBox*>(lazy->Widget())->lineEdit();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->font().toString(), a->font().toString());
        EXPECT_EQ(b->palette().color(QPalette::Text), a->palette().color(QPalette::Text));
        EXPECT_EQ(b->palette().color(QPalette::Base), a->palette().color(QPalette::Base));
        EXPECT_EQ(lazy->Widget()->sizeHint(), built->Widget()->sizeHint());
        QAbstractItemView* listA = static_cast<QComboBox*>(built->Widget())->view();
        QAbstractItemView* listB = static_cast<QComboBox*>(lazy->Widget())->view();
        EXPECT_EQ(listB->font().toString(), listA->font().toString());
        EXPECT_EQ(listB->sizeHintForRow(0), listA->sizeHintForRow(0));
        EXPECT_EQ(lazy->Widget()->grab().toImage(), built->Widget()->grab().toImage());
        // What comes after the line edit is built reaches both alike.
        font2(*built);
        font2(*lazy);
        EXPECT_EQ(b->font().toString(), a->font().toString());
        page->SetVisible(false);
        built->SetVisible(false);
    }
}

// An edit on a hidden page takes its font when it first shows or draws; by then it must
// look and measure as one that took each change at once, style sheet or not.
TEST_F(ControlsTest, EditOnAHiddenPageTakesItsFontWhenItShows) {
    using Step = std::function<void(TEdit&)>;
    const Step named = [](TEdit& e) { e.Font().SetName("MS Sans Serif"); };
    const Step sized = [](TEdit& e) { e.Font().SetSize(14); };
    const Step coloured = [](TEdit& e) { e.Font().SetColor(clRed); };
    const Step bold = [](TEdit& e) { e.Font().SetStyle(fsBold); };
    const Step filled = [](TEdit& e) { e.SetColor(clYellow); };
    const Step styled = [](TEdit& e) {
        e.Widget()->setStyleSheet("QLineEdit { background-color: #1E2126; color: #D8DCE2; }");
    };
    const std::pair<const char*, std::vector<Step>> cases[] = {
        {"name and size", {named, sized}},
        {"colour then fill", {coloured, filled}},
        {"fill then colour", {filled, coloured}},
        {"bold", {bold}},
        {"font then sheet", {named, sized, styled}},
        {"sheet then font", {styled, named, coloured}},
        {"nothing", {}},
    };
    TPanel* page = ShowWithHiddenPage();
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        auto [now, later] = Twins<TEdit>(page);
        for (TEdit* e : {now, later}) {
            e->SetText("1000 Hz");
            for (const Step& step : steps)
                step(*e);
        }
        const QImage drawnHidden = later->Widget()->grab().toImage();
        page->SetVisible(true);
        QWidget* a = now->Widget();
        QWidget* b = later->Widget();
        EXPECT_EQ(b->font().toString(), a->font().toString());
        EXPECT_EQ(b->font().resolveMask(), a->font().resolveMask());
        EXPECT_EQ(b->palette(), a->palette());
        EXPECT_EQ(b->sizeHint(), a->sizeHint());
        EXPECT_EQ(drawnHidden, a->grab().toImage());
        EXPECT_EQ(b->grab().toImage(), a->grab().toImage());
        // Once shown, a change reaches the edit at once.
        sized(*later);
        later->Font().SetSize(9);
        now->Font().SetSize(9);
        EXPECT_EQ(b->font().toString(), a->font().toString());
        EXPECT_EQ(later->Font().Size(), 9);
        page->SetVisible(false);
        now->SetVisible(false);
    }
}

// An edit on a page not yet shown holds the text set in code; it must read, report
// changes and, once shown, show, edit and draw as an edit that took each step at once.
TEST_F(ControlsTest, EditNotYetShownReadsAndShowsAsOneThatTookItsTextAtOnce) {
    using Step = std::function<void(TEdit&)>;
    const auto text = [](std::string t) { return [t](TEdit& e) { e.SetText(t); }; };
    const auto limit = [](int n) { return [n](TEdit& e) { e.SetMaxLength(n); }; };
    const auto keys = [](const char* typed) {
        return [typed](TEdit& e) { QTest::keyClicks(e.Widget(), typed); };
    };
    const std::pair<const char*, std::vector<Step>> cases[] = {
        {"one text", {text("100")}},
        {"the same text twice", {text("100"), text("100")}},
        {"text then empty", {text("100"), text("")}},
        {"limit then a longer text", {limit(3), text("ABCDEF")}},
        {"text then a limit that cuts it", {text("ABCDEF"), limit(2)}},
        {"text then a limit it fits", {text("ABC"), limit(5), text("ABCDEFG")}},
        {"limit taken away again", {limit(2), text("ABCD"), limit(0), text("ABCD")}},
        {"beyond the default limit", {text(std::string(40000, 'w'))}},
        {"line break, tab and non-ASCII", {text("a\nb\tc \xC3\xA9\xE4\xB8\xAD")}},
        {"read-only and aligned",
         {[](TEdit& e) { e.SetReadOnly(true); }, text("12"),
          [](TEdit& e) { e.SetAlignment(taRightJustify); }}},
        {"keys typed after the text", {text("12"), keys("34")}},
        {"keys typed at the limit", {limit(3), text("12"), keys("345")}},
        {"text after typed keys", {keys("9"), text("5")}},
        {"limit under the typed text", {keys("12345"), text("1"), limit(3)}},
    };
    TPanel* page = ShowWithHiddenPage();
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        auto [now, later] = Twins<TEdit>(page);
        std::vector<std::string> seenNow, seenLater;
        now->OnChange = [&, e = now](TObject*) { seenNow.push_back(e->Text()); };
        later->OnChange = [&, e = later](TObject*) { seenLater.push_back(e->Text()); };
        for (const Step& step : steps) {
            step(*now);
            step(*later);
            EXPECT_EQ(later->Text(), now->Text());
            EXPECT_EQ(later->MaxLength(), now->MaxLength());
        }
        EXPECT_EQ(seenLater, seenNow);
        const QImage drawnHidden = later->Widget()->grab().toImage();
        page->SetVisible(true);
        auto* a = static_cast<QLineEdit*>(now->Widget());
        auto* b = static_cast<QLineEdit*>(later->Widget());
        EXPECT_EQ(b->text(), a->text());
        EXPECT_EQ(b->maxLength(), a->maxLength());
        EXPECT_EQ(b->cursorPosition(), a->cursorPosition());
        EXPECT_EQ(b->isModified(), a->isModified());
        EXPECT_EQ(b->isUndoAvailable(), a->isUndoAvailable());
        EXPECT_EQ(b->selectedText(), a->selectedText());
        EXPECT_EQ(drawnHidden, a->grab().toImage());
        EXPECT_EQ(b->grab().toImage(), a->grab().toImage());
        // Once shown, typing and code reach the edit as they do the other.
        keys("8")(*now);
        keys("8")(*later);
        text("done")(*now);
        text("done")(*later);
        EXPECT_EQ(b->text(), a->text());
        EXPECT_EQ(seenLater, seenNow);
        page->SetVisible(false);
        now->SetVisible(false);
    }
}

TEST_F(ControlsTest, EditTextSetInCodeRunsOnChangeOncePerChange) {
    auto* edit = Make<TEdit>("Edt_Delay");
    std::vector<std::string> seen;
    edit->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        seen.push_back(edit->Text());
    };
    edit->SetText("100");
    edit->SetText("100");
    edit->SetText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"100", ""}));

    form->Show();
    edit->SetFocus();
    QTest::keyClicks(edit->Widget(), "7");
    EXPECT_EQ(seen.back(), "7");
}

TEST_F(ControlsTest, EditHandlerExceptionFromCodeReachesTheCaller) {
    auto* edit = Make<TEdit>("Edt_Bad");
    edit->OnChange = [](TObject*) { throw Exception("not a number"); };
    EXPECT_THROW(edit->SetText("x"), Exception);
}

TEST_F(ControlsTest, EditMaxLengthAndKeyPressFilter) {
    auto* edit = Make<TEdit>("Edt_Hex");
    edit->SetMaxLength(2);
    edit->SetText("ABCD");
    EXPECT_EQ(edit->Text(), "AB");
    edit->SetText("");
    edit->OnKeyPress = [](TObject*, char16_t& key) {
        if (key == u'x')
            key = 0;
        else if (key >= u'a' && key <= u'f')
            key = key - u'a' + u'A';
    };
    form->Show();
    edit->SetFocus();
    QTest::keyClicks(edit->Widget(), "xax");
    EXPECT_EQ(edit->Text(), "A");
}

TEST_F(ControlsTest, CheckBoxCheckedRunsOnClickOnlyWhenTheStateChanges) {
    auto* box = Make<TCheckBox>("cb_IsControl");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box->SetChecked(true);
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);

    form->Show();
    box->SetBounds(10, 10, 100, 20);
    QTest::mouseClick(box->Widget(), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsTest, RadioButtonsOfOneParentUncheckEachOther) {
    auto* group = Make<TGroupBox>("gbHidden");
    auto* other = Make<TGroupBox>("gbOther");
    auto* rb1 = Make<TRadioButton>("rb_1", group);
    auto* rb2 = Make<TRadioButton>("rb_2", group);
    auto* rb3 = Make<TRadioButton>("rb_3", group);
    auto* lang1 = Make<TRadioButton>("rb_Lang1", other);
    int clicks1 = 0, clicks2 = 0;
    rb1->OnClick = [&](TObject*) { ++clicks1; };
    rb2->OnClick = [&](TObject*) { ++clicks2; };

    lang1->SetChecked(true);
    rb1->SetChecked(true);
    EXPECT_TRUE(rb1->Checked());
    EXPECT_EQ(clicks1, 1);
    rb2->SetChecked(true);
    EXPECT_FALSE(rb1->Checked());
    EXPECT_TRUE(rb2->Checked());
    EXPECT_FALSE(rb3->Checked());
    EXPECT_TRUE(lang1->Checked()) << "another parent is another group";
    EXPECT_EQ(clicks1, 1) << "being unchecked is no click";
    EXPECT_EQ(clicks2, 1);
    rb2->SetChecked(true);
    EXPECT_EQ(clicks2, 1);

    // Unlike Qt's own rule, code may uncheck the checked button of a group.
    rb2->SetChecked(false);
    EXPECT_FALSE(rb2->Checked());
    EXPECT_EQ(clicks2, 1);
    rb3->SetChecked(true);
    EXPECT_FALSE(rb2->Checked());
}

TEST_F(ControlsTest, RadioButtonUserClickRunsOnClickOnlyWhenNewlyChecked) {
    auto* rb1 = Make<TRadioButton>("rb_A");
    auto* rb2 = Make<TRadioButton>("rb_B");
    rb1->SetBounds(0, 0, 80, 20);
    rb2->SetBounds(0, 30, 80, 20);
    int clicks = 0;
    rb2->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    rb1->SetChecked(true);
    QTest::mouseClick(rb2->Widget(), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(rb2->Checked());
    EXPECT_FALSE(rb1->Checked());
    QTest::mouseClick(rb2->Widget(), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ListBoxItemIndexAndIndexErrors) {
    auto* list = Make<TListBox>("LB_MacroName");
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->Items().Add("one");
    list->Items().Add("two");
    list->SetItemIndex(1);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetItemIndex(5);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->Items().Add("three");
    EXPECT_EQ(list->ItemIndex(), -1) << "adding selects nothing";
    list->SetItemIndex(2);
    list->Items().Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(list->Items()[1], "two");
    try {
        list->Items().Put(2, "three");
        FAIL() << "no index error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(list->Items().Get(-1), Exception);
    EXPECT_EQ(list->Items().IndexOf("TWO"), 1);
}

TEST_F(ControlsTest, MemoLinesFollowTheText) {
    auto* memo = Make<TMemo>("Memo1");
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->Lines().Add("first");
    memo->Lines().Add("second");
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_EQ(memo->Text(), "first\nsecond");
    memo->Lines().Put(0, "1st");
    EXPECT_EQ(memo->Lines()[0], "1st");
    memo->Clear();
    EXPECT_EQ(memo->Lines().Count(), 0);
    EXPECT_EQ(changes, 4);
}

TEST(ComponentTest, FindComponentIgnoresCaseAndOwnerDeletesItsComponents) {
    struct Probe : TComponent {
        Probe(TComponent* owner, bool* flag) : TComponent(owner), deleted(flag) {}
        ~Probe() override { *deleted = true; }
        bool* deleted;
    };
    bool deleted = false;
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* probe = new Probe(owner.get(), &deleted);
    probe->SetName("Img_DPI1_1");
    auto* second = new TComponent(owner.get());
    second->SetName("Key12");

    EXPECT_EQ(owner->FindComponent("img_dpi1_1"), probe);
    EXPECT_EQ(owner->FindComponent("KEY12"), second);
    EXPECT_EQ(owner->FindComponent("Key1"), nullptr);
    EXPECT_EQ(owner->FindComponent(""), nullptr);
    EXPECT_THROW(second->SetName("IMG_DPI1_1"), Exception);
    EXPECT_EQ(second->Name(), "Key12");
    EXPECT_EQ(owner->ComponentCount(), 2);

    delete second;
    EXPECT_EQ(owner->ComponentCount(), 1);
    owner.reset();
    EXPECT_TRUE(deleted);
}

// The lookup by name follows every rename and every component that goes, and a name given
// up can be taken by another component.
TEST(ComponentTest, FindComponentFollowsRenamesAndFreedComponents) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    auto* c = new TComponent(&owner);
    TComponent* none = nullptr;
    a->SetName("Btn_Read");
    b->SetName("Img_Key1");
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::pair<const char*, TComponent**>> finds;
    } steps[] = {
        {"start", [] {}, {{"BTN_READ", &a}, {"img_key1", &b}, {"Img_Key", &none}}},
        {"rename", [&] { a->SetName("btn_write"); }, {{"Btn_Read", &none}, {"BTN_WRITE", &a}}},
        {"change of case", [&] { a->SetName("BTN_WRITE"); }, {{"btn_write", &a}}},
        {"name given up", [&] { b->SetName(""); }, {{"Img_Key1", &none}, {"", &none}}},
        {"name taken", [&] { c->SetName("IMG_KEY1"); }, {{"img_key1", &c}}},
        {"refused rename",
         [&] { EXPECT_THROW(a->SetName("Img_Key1"), Exception); },
         {{"Btn_Write", &a}, {"Img_Key1", &c}}},
        {"freed", [&] { delete c; }, {{"Img_Key1", &none}}},
        {"name of the freed", [&] { b->SetName("Img_Key1"); }, {{"IMG_KEY1", &b}}},
    };
    for (const Step& step : steps) {
        step.act();
        for (const auto& [name, want] : step.finds)
            EXPECT_EQ(owner.FindComponent(name), *want) << step.what << ": " << name;
    }
}

TEST_F(ControlsTest, ImageAutoSizeTakesThePictureSizeAndRemembersItsName) {
    auto* image = Make<TImage>("Img_Base_1");
    image->SetBounds(5, 6, 10, 10);
    QImage picture(120, 45, QImage::Format_ARGB32);
    picture.fill(Qt::red);

    image->SetPicture(picture, "Base1_1");
    EXPECT_EQ(image->Width(), 10) << "without AutoSize the size stays";
    EXPECT_EQ(image->PictureName(), "Base1_1");

    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 120);
    EXPECT_EQ(image->Height(), 45);
    EXPECT_EQ(image->Left(), 5);

    QImage other(30, 70, QImage::Format_ARGB32);
    other.fill(Qt::blue);
    image->SetPicture(other, "SetS_02");
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(image->Height(), 70);
    EXPECT_EQ(image->PictureName(), "SetS_02");
    EXPECT_EQ(image->Picture().size(), QSize(30, 70));
}

TEST_F(ControlsTest, ImageRepaintsOnlyForAnotherPicture) {
    auto* image = Make<TImage>("Img_Tab");
    image->SetBounds(0, 0, 20, 20);
    QImage pressed(20, 20, QImage::Format_ARGB32);
    pressed.fill(Qt::red);
    image->SetPicture(pressed, "SetS_03");
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    QTest::qWait(20);
    testing_support::EventCounter counter(image->Widget(), QEvent::Paint);
    auto shown = [&] { return image->Widget()->grab().toImage().pixelColor(10, 10); };

    // The shared picture it already holds changes nothing.
    const QImage same = pressed;
    image->SetPicture(same, "SetS_03");
    QTest::qWait(20);
    EXPECT_EQ(counter.count, 0);
    // The same pixels under another name, or the picture changed in place, are taken.
    image->SetPicture(same, "SetS_01");
    EXPECT_EQ(image->PictureName(), "SetS_01");
    QImage edited = pressed;
    edited.fill(Qt::blue);
    image->SetPicture(edited, "SetS_01");
    QTest::qWait(20);
    EXPECT_GT(counter.count, 0);
    EXPECT_EQ(shown(), QColor(Qt::blue));
    image->Widget()->removeEventFilter(&counter);
}

TEST_F(ControlsTest, TransparentLabelOverAnImageTakesTheMouse) {
    auto* page = Make<TGroupBox>("gbPage1");
    page->SetBounds(0, 0, 400, 300);
    auto* image = Make<TImage>("Img_Exit1_1", page);
    image->SetBounds(20, 20, 60, 30);
    QImage picture(60, 30, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    image->SetPicture(picture, "ExitS_01");
    auto* label = Make<TLabel>("Btn_Exit1_1", page);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetBounds(20, 20, 60, 30);

    int labelClicks = 0, imageClicks = 0, pageDowns = 0, enters = 0;
    label->OnClick = [&](TObject*) { ++labelClicks; };
    label->OnMouseEnter = [&](TObject*) { ++enters; };
    image->OnClick = [&](TObject*) { ++imageClicks; };
    page->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++pageDowns; };
    form->Show();

    QTest::mouseClick(label->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(labelClicks, 1);
    EXPECT_EQ(imageClicks, 0);
    EXPECT_EQ(pageDowns, 0) << "the click must not travel on to the parent";

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label->Widget(), &enter);
    EXPECT_EQ(enters, 1);

    // A press that is released outside the control is no click.
    QTest::mousePress(label->Widget(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(label->Widget(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(labelClicks, 1);
}

TEST_F(ControlsTest, LabelAutoSizeKeepsTheRightEdgeWhenRightAligned) {
    auto* label = Make<TLabel>("lbl_Right");
    label->SetAlignment(taRightJustify);
    label->SetBounds(100, 10, 50, 20);
    label->SetCaption("a somewhat longer caption");
    EXPECT_GT(label->Width(), 50);
    EXPECT_EQ(label->Left() + label->Width(), 150);
}

// A label out of sight sizes itself when it shows or its bounds are read or changed;
// it must end where one sized at every change ends.
TEST_F(ControlsTest, LabelNotYetShownEndsWhereOneSizedAtOnceEnds) {
    using Step = std::function<void(TLabel&)>;
    const auto caption = [](std::string t) { return [t](TLabel& l) { l.SetCaption(t); }; };
    const auto size = [](int n) { return [n](TLabel& l) { l.Font().SetSize(n); }; };
    const auto align = [](TAlignment a) { return [a](TLabel& l) { l.SetAlignment(a); }; };
    const auto autoSize = [](bool on) { return [on](TLabel& l) { l.SetAutoSize(on); }; };
    const auto wrap = [](bool on) { return [on](TLabel& l) { l.SetWordWrap(on); }; };
    const Step read = [](TLabel& l) { l.SetTag(l.Width() + l.Left()); };
    const Step left = [](TLabel& l) { l.SetLeft(l.Left() + 7); };
    const Step bounds = [](TLabel& l) { l.SetBounds(30, 12, 40, 18); };
    // Moved without reading a bound first, as the skin's layout places labels.
    const Step place = [](TLabel& l) {
        l.SetLeft(33);
        l.SetTop(9);
    };
    const std::string longer = "a somewhat longer caption than before";
    const std::pair<const char*, std::vector<Step>> cases[] = {
        {"a caption", {caption("Hello")}},
        {"caption, then a bigger font", {caption("Hello"), size(16)}},
        {"right-aligned, longer", {align(taRightJustify), caption(longer)}},
        {"caption, then right-aligned", {caption(longer), align(taRightJustify)}},
        {"right-aligned, caption, left-aligned, caption",
         {align(taRightJustify), caption(longer), align(taLeftJustify), caption("x")}},
        {"caption, then AutoSize off", {caption(longer), autoSize(false), caption("x")}},
        {"AutoSize off, then on again", {autoSize(false), caption(longer), autoSize(true)}},
        {"moved between two captions",
         {align(taRightJustify), caption("ab"), left, caption(longer)}},
        {"bounds read between changes", {caption(longer), read, size(14), read, caption("y")}},
        {"bounds set after a caption", {caption(longer), bounds}},
        {"bounds set, then a caption", {bounds, caption(longer)}},
        {"word wrap", {wrap(true), caption(longer + " " + longer), size(12)}},
        {"word wrap off again", {wrap(true), caption(longer), wrap(false)}},
        {"empty caption", {caption(longer), caption("")}},
        {"placed, then a bigger font", {caption(longer), place, size(14)}},
        {"right-aligned, placed between two captions",
         {align(taRightJustify), caption(longer), place, caption("ab")}},
        {"centred, placed", {align(taCenter), caption(longer), place}},
        {"word wrap, placed", {wrap(true), caption(longer + " " + longer), place, size(12)}},
        {"placed, then right-aligned", {caption(longer), place, align(taRightJustify)}},
    };
    TPanel* page = ShowWithHiddenPage();
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        auto [now, later] = Twins<TLabel>(page);
        for (const Step& step : steps) {
            step(*now);
            step(*later);
        }
        // Shown first, then read: the label settles as it shows.
        page->SetVisible(true);
        EXPECT_EQ(later->Widget()->geometry(), now->Widget()->geometry());
        page->SetVisible(false);
        now->SetVisible(false);
    }
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(std::string("read while hidden: ") + name);
        auto [now, later] = Twins<TLabel>(page);
        for (const Step& step : steps) {
            step(*now);
            step(*later);
        }
        // Read first, while still out of sight.
        EXPECT_EQ(later->Left(), now->Left());
        EXPECT_EQ(later->Top(), now->Top());
        EXPECT_EQ(later->Width(), now->Width());
        EXPECT_EQ(later->Height(), now->Height());
        EXPECT_EQ(later->Widget()->geometry(), now->Widget()->geometry());
        now->SetVisible(false);
        later->SetVisible(false);
    }
}

TEST_F(ControlsTest, ParentFontFollowsUntilSetOnTheControl) {
    auto* page = Make<TGroupBox>("gbFont");
    auto* inherits = Make<TLabel>("lbl_A", page);
    auto* own = Make<TLabel>("lbl_B", page);
    own->Font().SetSize(14);
    page->Font().SetName("DejaVu Sans");
    EXPECT_EQ(inherits->Font().Name(), "DejaVu Sans");
    EXPECT_EQ(own->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(own->Font().Size(), 14);
}

TEST_F(ControlsTest, DestroyingAContainerTakesItsChildControlsAlong) {
    auto* page = Make<TGroupBox>("gbPage9");
    Make<TLabel>("lbl_InPage", page);
    Make<TImage>("Img_InPage", page);
    EXPECT_EQ(form->ComponentCount(), 3);
    delete page;
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->FindComponent("lbl_InPage"), nullptr);
}

TEST_F(ControlsTest, WidgetLeadsToItsControlOnlyWhileBothLive) {
    auto* page = Make<TGroupBox>("gbOwner");
    auto* label = Make<TLabel>("lbl_Owned", page);
    auto* edit = Make<TEdit>("edt_Owned", page);
    EXPECT_EQ(TControl::FromWidget(page->Widget()), page);
    EXPECT_EQ(TControl::FromWidget(label->Widget()), label);
    EXPECT_EQ(TControl::FromWidget(edit->Widget()), edit);
    QWidget plain;
    EXPECT_EQ(TControl::FromWidget(&plain), nullptr);
    EXPECT_EQ(TControl::FromWidget(nullptr), nullptr);

    // A widget deleted under its control, and one deleted with its control, lead nowhere:
    // a later widget at the same address must not find a control that is gone.
    const QWidget* labelWidget = label->Widget();
    delete label->Widget();
    EXPECT_EQ(label->Widget(), nullptr);
    EXPECT_EQ(TControl::FromWidget(labelWidget), nullptr);
    const QWidget* editWidget = edit->Widget();
    delete edit;
    EXPECT_EQ(TControl::FromWidget(editWidget), nullptr);
    EXPECT_EQ(TControl::FromWidget(page->Widget()), page);
}

TEST_F(ControlsTest, FontColourComesBackWhereverTheWidgetsPaletteLostIt) {
    auto* label = Make<TLabel>("lbl_Colour");
    label->Font().SetColor(clRed);
    const QColor red = ToQColor(clRed);
    const QPalette::ColorRole roles[] = {QPalette::WindowText, QPalette::Text,
                                         QPalette::ButtonText};
    int size = 9;
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (QPalette::ColorRole role : roles) {
            const auto group = QPalette::ColorGroup(g);
            QPalette pal = label->Widget()->palette();
            pal.setColor(group, role, Qt::green);
            label->Widget()->setPalette(pal);
            label->Font().SetSize(++size); // a font change that keeps the colour
            for (int h = 0; h < QPalette::NColorGroups; ++h)
                for (QPalette::ColorRole r : roles)
                    EXPECT_EQ(label->Widget()->palette().color(QPalette::ColorGroup(h), r), red)
                        << "group " << g << " role " << role << " checked in " << h << "/" << r;
        }
}

TEST(TimerTest, TicksAtTheScaledIntervalAndStopsWhenDisabled) {
    platform::core::SetTimeScale(0.01);
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    timer.SetInterval(1000); // 10 ms of real time
    EXPECT_TRUE(gui_test::PumpUntil([&] { return ticks >= 3; }, 2000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped);

    // At scale 0 the timer still ticks, a millisecond apart, without spinning.
    platform::core::SetTimeScale(0);
    ticks = 0;
    timer.SetEnabled(true);
    EXPECT_TRUE(gui_test::PumpUntil([&] { return ticks >= 3; }, 2000));
    timer.SetInterval(0);
    const int atZero = ticks;
    QTest::qWait(30);
    EXPECT_EQ(ticks, atZero) << "interval 0 stops the timer";
    platform::core::SetTimeScale(1);
}

} // namespace
