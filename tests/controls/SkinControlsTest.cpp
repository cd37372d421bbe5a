// The skinned controls as the window code uses them: check boxes that click only on a
// change, combo boxes whose index runs no handler, border colours that reach the
// screen, number and hexadecimal edits.
#include "common/EventCounter.h"
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/InputDialog.h"
#include "controls/skin/SkinCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace controls::skin;

namespace {

// The colour of one pixel of the control as it paints itself now.
TColor PixelAt(platform::vcl::TControl& c, int x, int y) {
    const QImage shot = c.Widget()->grab().toImage();
    return platform::vcl::FromQColor(shot.pixelColor(x, y));
}

// Lets every pending update reach the screen.
void Settle() {
    for (int i = 0; i < 5; ++i)
        QTest::qWait(10);
}

struct ShownForm : ::testing::Test {
    void SetUp() override {
        form.SetBounds(0, 0, 200, 120);
        form.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    }
    platform::vcl::TForm form{nullptr};
};

} // namespace

TEST(SkinCheckBoxTest, ClickHandlerRunsOnlyWhenTheStateChanges) {
    TSkinCheckBox box(nullptr);
    std::vector<bool> seen;
    box.OnClick = [&](platform::vcl::TObject* sender) {
        EXPECT_EQ(sender, &box);
        seen.push_back(box.Checked());
    };
    EXPECT_FALSE(box.Checked());
    box.SetChecked(false);
    EXPECT_TRUE(seen.empty());
    box.SetChecked(true);
    box.SetChecked(true);
    box.SetChecked(false);
    // The handler sees the new state already stored.
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(static_cast<QCheckBox*>(box.Widget())->isChecked());
}

TEST(SkinCheckBoxTest, UserClickTogglesTheStoredFlag) {
    TSkinCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](platform::vcl::TObject*) { ++clicks; };
    static_cast<QCheckBox*>(box.Widget())->click();
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 1);
    // Unchecking in code after the user's click is a change, so it clicks again.
    box.SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST(SkinCheckBoxTest, CaptionAndFontGoToTheWidget) {
    TSkinCheckBox box(nullptr);
    box.SetCaption("Angle snapping");
    box.Font().SetName("Arial");
    auto* w = static_cast<QCheckBox*>(box.Widget());
    EXPECT_EQ(w->text().toStdString(), "Angle snapping");
    EXPECT_EQ(w->font().family().toStdString(), "Arial");
}

TEST(SkinComboBoxTest, ItemIndexRunsNoHandlerAndBeyondTheListSelectsNothing) {
    TSkinComboBox combo(nullptr);
    int changes = 0;
    combo.OnChange = [&](platform::vcl::TObject*) { ++changes; };
    EXPECT_EQ(combo.ItemIndex(), -1);
    for (const char* rate : {"125", "250", "500"})
        combo.Items().Add(rate);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), "250");
    combo.SetItemIndex(3);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetItemIndex(2);
    combo.Items().Clear();
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Items().Count(), 0);
    EXPECT_EQ(changes, 0);
}

TEST(SkinButtonTest, CaptionReadsBackAsStoredAndShows) {
    TSkinButton button(nullptr);
    button.SetCaption("Left button");
    EXPECT_EQ(button.Caption(), "Left button");
    EXPECT_EQ(static_cast<QPushButton*>(button.Widget())->text().toStdString(), "Left button");
    button.SetCaption("");
    EXPECT_EQ(button.Caption(), "");
}

TEST(SkinEditTest, BorderColorIsStoredAndDrawn) {
    TSkinEdit edit(nullptr);
    edit.SetBounds(0, 0, 80, 22);
    edit.SetColor(platform::vcl::RGB(0x20, 0x20, 0x20));
    const TColor red = platform::vcl::RGB(0xFF, 0, 0); // red in the low byte
    edit.SetBorderColor(red);
    EXPECT_EQ(edit.BorderColor(), red);
    EXPECT_EQ(PixelAt(edit, 0, 11), red);
    EXPECT_EQ(PixelAt(edit, 40, 11), platform::vcl::RGB(0x20, 0x20, 0x20));
    const TColor green = platform::vcl::RGB(0, 0xC0, 0x10);
    edit.SetBorderColor(green);
    EXPECT_EQ(PixelAt(edit, 79, 11), green);
    // A later colour change keeps the border.
    edit.SetColor(platform::vcl::RGB(0x30, 0x30, 0x30));
    EXPECT_EQ(PixelAt(edit, 0, 11), green);
}

TEST(SkinListBoxTest, ItemsByIndexAndBorderColor) {
    TSkinListBox list(nullptr);
    list.SetBounds(0, 0, 100, 60);
    list.Items().Add("Macro 1");
    list.Items().Add("Macro 2");
    EXPECT_EQ(list.Items()[1], "Macro 2");
    EXPECT_THROW(list.Items()[2], platform::rtl::EStringListError);
    const TColor blue = platform::vcl::RGB(0, 0, 0xFF);
    list.SetBorderColor(blue);
    EXPECT_EQ(list.BorderColor(), blue);
    EXPECT_EQ(PixelAt(list, 0, 30), blue);
}

// Every skinned control paints a flat fill in its colour (the skin's own for a system
// colour) inside a one-pixel border, and its text in its font colour; a pressed button
// takes the accent, a disabled one greys its caption.
TEST(SkinPaintTest, FillBorderAndTextOfEachControl) {
    const TColor fill = platform::vcl::RGB(0x20, 0x28, 0x30),
                 ink = platform::vcl::RGB(0xF0, 0xE0, 0x10);
    TSkinButton button(nullptr), pressed(nullptr), disabled(nullptr);
    TSkinEdit edit(nullptr);
    TSkinComboBox combo(nullptr);
    TSkinListBox list(nullptr);
    for (platform::vcl::TControl* c : std::initializer_list<platform::vcl::TControl*>{
             &button, &pressed, &disabled, &edit, &combo, &list}) {
        c->SetBounds(0, 0, 120, 24);
        c->SetColor(fill);
        c->Font().SetColor(ink);
    }
    for (TSkinButton* b : {&button, &pressed, &disabled})
        b->SetCaption("WWWW");
    static_cast<QPushButton*>(pressed.Widget())->setDown(true);
    disabled.SetEnabled(false);
    edit.SetText("WWWW");
    combo.Items().Add("WWWW");
    combo.SetItemIndex(0);
    list.Items().Add("WWWW");
    struct Case {
        const char* name;
        platform::vcl::TControl& control;
        TColor fill, text;
    } cases[] = {
        {"button", button, fill, ink},
        {"pressed button", pressed, clSkinAccent, ink},
        {"disabled button", disabled, fill, platform::vcl::RGB(0x6A, 0x70, 0x7A)},
        {"edit", edit, fill, ink},
        {"combo box", combo, fill, ink},
        {"list box", list, fill, ink},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage shot = c.control.Widget()->grab().toImage();
        ASSERT_EQ(shot.size(), QSize(120, 24));
        for (QPoint edge : {QPoint(0, 12), QPoint(119, 12), QPoint(60, 0), QPoint(60, 23)})
            EXPECT_EQ(platform::vcl::FromQColor(shot.pixelColor(edge)), clSkinAccent);
        EXPECT_EQ(platform::vcl::FromQColor(shot.pixelColor(1, 1)), c.fill);
        int inked = 0;
        for (int y = 1; y < 23; ++y)
            for (int x = 1; x < 119; ++x)
                inked += platform::vcl::FromQColor(shot.pixelColor(x, y)) == c.text;
        EXPECT_GT(inked, 0);
    }
    // A system colour stands for the skin's own.
    button.SetColor(platform::vcl::clBtnFace);
    EXPECT_EQ(PixelAt(button, 1, 1), clSkinBack);
}

// Inside the one-pixel border lies the room for the text: the whole of it in an edit and
// a button, all but the 16-pixel drop-down button in a combo box; a list's items start
// inside the border; a tab is its caption with 10 pixels either side and 3 above and
// below, inside its border.
TEST_F(ShownForm, SkinTextRoomLiesInsideTheBorder) {
    TSkinEdit edit(nullptr);
    edit.SetBounds(0, 0, 80, 22);
    QStyleOptionFrame frame;
    frame.initFrom(edit.Widget());
    EXPECT_EQ(
        edit.Widget()->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit.Widget()),
        QRect(1, 1, 78, 20));

    TSkinButton button(nullptr);
    button.SetBounds(0, 0, 100, 25);
    QStyleOptionButton push;
    push.initFrom(button.Widget());
    EXPECT_EQ(button.Widget()->style()->subElementRect(QStyle::SE_PushButtonContents, &push,
                                                       button.Widget()),
              QRect(1, 1, 98, 23));

    TSkinComboBox combo(nullptr);
    combo.SetParent(&form);
    combo.SetBounds(0, 0, 150, 24);
    auto* box = static_cast<QComboBox*>(combo.Widget());
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = true;
    opt.subControls = QStyle::SC_All;
    EXPECT_EQ(
        box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box),
        QRect(1, 1, 132, 22));
    EXPECT_EQ(
        box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, box),
        QRect(133, 1, 16, 22));
    EXPECT_EQ(box->lineEdit()->geometry(), QRect(1, 1, 132, 22));

    TSkinListBox list(nullptr);
    list.SetParent(&form);
    list.SetBounds(0, 30, 100, 60);
    EXPECT_EQ(static_cast<QListWidget*>(list.Widget())->viewport()->geometry(),
              QRect(1, 1, 98, 58));

    TSkinPageControl pages(nullptr);
    pages.SetParent(&form);
    pages.SetBounds(0, 0, 200, 120);
    TSkinTabSheet sheet(nullptr);
    sheet.SetParent(&pages);
    sheet.SetCaption("Operator");
    Settle();
    auto* bar = static_cast<QTabWidget*>(pages.Widget())->tabBar();
    const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, "Operator");
    EXPECT_EQ(bar->tabRect(0).size(), text + QSize(2 * 11, 2 * 4));
    sheet.SetParent(nullptr);
    pages.SetParent(nullptr);
    list.SetParent(nullptr);
    combo.SetParent(nullptr);
}

// The check box keeps the skin picture's 16 x 16 place at its left, centred, and its
// caption four pixels to the right of it.
TEST(SkinCheckBoxTest, IndicatorAndCaptionPlaces) {
    TSkinCheckBox box(nullptr);
    box.SetCaption("Blend");
    auto* w = static_cast<QCheckBox*>(box.Widget());
    for (const int height : {14, 20, 26}) {
        box.SetBounds(0, 0, 100, height);
        QStyleOptionButton opt;
        opt.initFrom(w);
        opt.text = w->text();
        EXPECT_EQ(w->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, w),
                  QRect(0, (height - 16) / 2, 16, 16));
        EXPECT_EQ(w->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, w),
                  QRect(20, 0, 80, height));
    }
}

TEST(EditInputTest, NumberAndHexEditsTakeOnlyTheirDigitsFromTheKeyboard) {
    TSkinNumberEdit number(nullptr);
    QTest::keyClicks(number.Widget(), "4a-2 ");
    EXPECT_EQ(number.Text(), "42");
    THexEdit hex(nullptr);
    QTest::keyClicks(hex.Widget(), "1fxG0");
    EXPECT_EQ(hex.Text(), "1f0");
}

TEST(HexEditTest, ValueIsTheTextReadAsHexadecimal) {
    THexEdit hex(nullptr);
    EXPECT_EQ(hex.Value(), 0);
    hex.SetText("1F");
    EXPECT_EQ(hex.Value(), 31);
    hex.SetText("0400");
    EXPECT_EQ(hex.Value(), 1024);
    hex.SetText("ff");
    EXPECT_EQ(hex.Value(), 255);
    hex.SetText("");
    EXPECT_EQ(hex.Value(), 0);
    // Only code can put other characters there; reading them is a conversion error.
    hex.SetText("1G");
    EXPECT_THROW(hex.Value(), platform::rtl::EConvertError);
}

// A skinned combo box on a hidden page makes its drop-down list only when it first shows
// or drops down; by then the list, the line edit and the box's measures must be those of
// a box that took every font change at once.
TEST_F(ShownForm, SkinnedComboOnAHiddenPageMakesItsListLateWithTheBoxFont) {
    using Step = std::function<void(TSkinComboBox&)>;
    const Step named = [](TSkinComboBox& c) { c.Font().SetName("MS Sans Serif"); };
    const Step sized = [](TSkinComboBox& c) { c.Font().SetSize(14); };
    const Step bold = [](TSkinComboBox& c) { c.Font().SetStyle(platform::vcl::fsBold); };
    const Step small = [](TSkinComboBox& c) { c.Font().SetSize(7); };
    const std::pair<const char*, std::vector<Step>> cases[] = {
        {"no font change", {}},
        {"size", {sized}},
        {"name then size", {named, sized}},
        {"size, bold, smaller", {sized, bold, small}},
    };
    platform::vcl::TPanel page(nullptr);
    page.SetParent(&form);
    page.SetBounds(0, 0, 200, 120);
    page.SetVisible(false);
    auto hasList = [](platform::vcl::TControl& c) {
        for (QObject* child : c.Widget()->children())
            if (qobject_cast<QFrame*>(child)) return true;
        return false;
    };
    enum Before { Nothing, Measured, DroppedDown };
    for (const Before before : {Nothing, Measured, DroppedDown}) {
        for (const auto& [name, steps] : cases) {
            SCOPED_TRACE(std::string(name) + " / " + std::to_string(before));
            TSkinComboBox shown(nullptr), hidden(nullptr);
            shown.SetParent(&form);
            hidden.SetParent(&page);
            for (TSkinComboBox* c : {&shown, &hidden}) {
                c->SetBounds(10, 10, 150, 24);
                c->Items().Assign({"125 Hz", "250 Hz", "500 Hz"});
                c->SetItemIndex(1);
                for (const Step& step : steps) {
                    // Measured before each change, as a layout would.
                    if (before == Measured) c->Widget()->sizeHint();
                    step(*c);
                }
            }
            if (before == Nothing) {
                EXPECT_FALSE(hasList(hidden));
            }
            auto* a = static_cast<QComboBox*>(shown.Widget());
            auto* b = static_cast<QComboBox*>(hidden.Widget());
            EXPECT_EQ(b->sizeHint(), a->sizeHint());
            if (before == DroppedDown) {
                b->showPopup();
                EXPECT_EQ(b->view()->font().toString(), b->font().toString());
                b->hidePopup();
            }
            page.SetVisible(true);
            EXPECT_EQ(b->font().toString(), a->font().toString());
            EXPECT_EQ(b->view()->font().toString(), a->view()->font().toString());
            EXPECT_EQ(b->view()->sizeHintForRow(0), a->view()->sizeHintForRow(0));
            EXPECT_EQ(b->sizeHint(), a->sizeHint());
            ASSERT_NE(b->lineEdit(), nullptr);
            EXPECT_EQ(b->lineEdit()->geometry(), a->lineEdit()->geometry());
            EXPECT_EQ(b->grab().toImage(), a->grab().toImage());
            // A change after the list is made reaches it at once.
            sized(hidden);
            sized(shown);
            EXPECT_EQ(b->view()->font().toString(), a->view()->font().toString());
            page.SetVisible(false);
        }
    }
}

TEST_F(ShownForm, FramePanelRepaintsOnlyWhenItsBorderColourChanges) {
    TFramePanel panel(nullptr);
    panel.SetBounds(10, 10, 60, 40);
    panel.SetParent(&form);
    Settle();
    testing_support::EventCounter counter(panel.Widget(), QEvent::Paint);

    panel.SetBorderColor(panel.BorderColor());
    Settle();
    EXPECT_EQ(counter.count, 0);

    const TColor red = platform::vcl::RGB(0xFF, 0, 0);
    panel.SetBorderColor(red);
    Settle();
    EXPECT_GE(counter.count, 1);
    EXPECT_EQ(panel.BorderColor(), red);

    counter.count = 0;
    panel.SetBorderColor(red);
    Settle();
    EXPECT_EQ(counter.count, 0);
    panel.SetParent(nullptr);
}

TEST(FramePanelTest, FrameIsDrawnOverTheFaceInTheBorderColour) {
    TFramePanel panel(nullptr);
    panel.SetBounds(0, 0, 50, 30);
    const TColor face = platform::vcl::RGB(0x2B, 0x2F, 0x36);
    panel.SetColor(face);
    panel.SetCaption("Menu");
    const TColor cyan = platform::vcl::RGB(0x19, 0xB4, 0xC8);
    panel.SetBorderColor(platform::vcl::RGB(1, 2, 3));
    panel.SetBorderColor(cyan);
    EXPECT_EQ(PixelAt(panel, 0, 0), cyan);
    EXPECT_EQ(PixelAt(panel, 49, 29), cyan);
    EXPECT_EQ(PixelAt(panel, 1, 1), face);
}

TEST_F(ShownForm, SkinPageControlPaneAndTabsTakeTheSkinWhileThePagesKeepTheirOwnStyle) {
    TSkinPageControl pages(nullptr);
    pages.SetParent(&form);
    pages.SetBounds(0, 0, 200, 120);
    TSkinTabSheet sheet(nullptr);
    sheet.SetParent(&pages);
    sheet.SetCaption("Engineer");
    TSkinTabSheet other(nullptr);
    other.SetParent(&pages);
    other.SetCaption("Gun");
    TSkinEdit edit(nullptr);
    edit.SetParent(&sheet);
    edit.SetBounds(10, 10, 60, 20);
    const TColor back = platform::vcl::RGB(0x40, 0x10, 0x10);
    pages.SetColor(back);
    Settle();
    const QImage shot = pages.Widget()->grab().toImage();
    const QRect page(sheet.Widget()->mapTo(pages.Widget(), QPoint(0, 0)), sheet.Widget()->size());
    const TColor accent = clSkinAccent;
    // The pane is ringed by the accent one pixel outside the page, which covers the rest.
    EXPECT_EQ(page.right(), 198);
    EXPECT_EQ(page.bottom(), 118);
    EXPECT_EQ(platform::vcl::FromQColor(shot.pixelColor(0, page.center().y())), accent);
    EXPECT_EQ(platform::vcl::FromQColor(shot.pixelColor(199, page.center().y())), accent);
    EXPECT_EQ(platform::vcl::FromQColor(shot.pixelColor(page.center().x(), 119)), accent);
    // The tabs: ringed by the accent, the selected one filled with it and captioned in the
    // control's colour, the other in the skin's panel colour with the skin's text.
    auto* bar = static_cast<QTabWidget*>(pages.Widget())->tabBar();
    const QImage tabs = bar->grab().toImage();
    auto count = [&tabs](const QRect& r, auto&& match) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += match(tabs.pixelColor(x, y));
        return n;
    };
    auto is = [](TColor color) {
        return [color](QColor c) { return platform::vcl::FromQColor(c) == color; };
    };
    // The caption's strokes blend the control's dark red into the cyan accent.
    auto reddish = [](QColor c) { return c.red() > c.green(); };
    const QRect selected = bar->tabRect(0), plain = bar->tabRect(1);
    for (const QRect& r : {selected, plain}) {
        EXPECT_EQ(platform::vcl::FromQColor(tabs.pixelColor(r.left(), r.center().y())), accent);
        EXPECT_EQ(platform::vcl::FromQColor(tabs.pixelColor(r.center().x(), r.top())), accent);
    }
    EXPECT_EQ(platform::vcl::FromQColor(tabs.pixelColor(selected.left() + 2, selected.top() + 2)),
              accent);
    EXPECT_EQ(platform::vcl::FromQColor(tabs.pixelColor(plain.left() + 2, plain.top() + 2)),
              clSkinPanel);
    EXPECT_GT(count(selected, reddish), 0);
    EXPECT_EQ(count(selected, is(clSkinText)), 0);
    EXPECT_GT(count(plain, is(clSkinText)), 0);
    EXPECT_EQ(count(plain, reddish), 0);
    // The controls on the pages keep their own looks: the edit its border and fill.
    EXPECT_EQ(sheet.Widget()->style(), QApplication::style());
    EXPECT_EQ(PixelAt(edit, 0, 10), accent);
    EXPECT_EQ(PixelAt(edit, 30, 10), clSkinBack);
    edit.SetParent(nullptr);
    other.SetParent(nullptr);
    sheet.SetParent(nullptr);
    pages.SetParent(nullptr);
}

TEST(SkinInputDialogTest, AsksInItsFontHidesThePasswordAndGivesTheTextOnlyOnOk) {
    TSkinInputDialog dialog(nullptr);
    platform::vcl::TDesignValue text;
    text.kind = platform::vcl::TDesignValue::Kind::String;
    for (const auto& [property, value] : {std::pair{"Caption", "Engineer Mode"},
                                          {"Prompt", "Password:"},
                                          {"PasswordChar", "*"},
                                          {"Font.Name", "Serif"}}) {
        text.text = value;
        EXPECT_TRUE(dialog.SetDesignProperty(property, text)) << property;
    }
    EXPECT_FALSE(dialog.SetDesignProperty("Colour", text));

    // Answers the dialog while it is open: types into it and presses OK or closes it.
    struct Seen {
        QString title, label, font;
        QLineEdit::EchoMode echo = QLineEdit::Normal;
    } seen;
    auto answer = [&seen](bool accept) {
        QTimer::singleShot(0, [&seen, accept] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = {box->windowTitle(), box->labelText(), box->font().family(),
                    box->textEchoMode()};
            box->setTextValue("s3cret");
            accept ? box->accept() : box->reject();
        });
    };
    std::string value = "before";
    answer(false);
    EXPECT_FALSE(dialog.Execute(value));
    EXPECT_EQ(value, "before");
    answer(true);
    EXPECT_TRUE(dialog.Execute(value));
    EXPECT_EQ(value, "s3cret");
    EXPECT_EQ(seen.title, "Engineer Mode");
    EXPECT_EQ(seen.label, "Password:");
    EXPECT_EQ(seen.font, "Serif");
    EXPECT_EQ(seen.echo, QLineEdit::Password);
}
