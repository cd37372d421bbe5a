// A control that cannot be seen takes its font changes when it shows, draws or is read:
// by then its widget must carry exactly the font, colours and size of a twin that can be
// seen and took every change at once.
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

#include <QImage>
#include <QPalette>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace controls::skin;

namespace {

using Make = std::function<platform::vcl::TControl*(platform::vcl::TWinControl* parent)>;
// A change made alike to a control and to the page it lies on.
using Step = std::function<void(platform::vcl::TControl& control, platform::vcl::TControl& page)>;

template <class T> Make Maker(std::function<void(T&)> prepare = nullptr) {
    return [prepare](platform::vcl::TWinControl* parent) -> platform::vcl::TControl* {
        auto* c = new T(parent);
        c->SetParent(parent);
        c->SetBounds(8, 6, 150, 40);
        if (prepare) prepare(*c);
        return c;
    };
}

// How the hidden twin comes to take what it holds.
enum class Settle { Shown, Drawn, Read };

void ExpectSameLook(QWidget* expected, QWidget* actual) {
    EXPECT_EQ(actual->font().toString(), expected->font().toString());
    EXPECT_EQ(actual->font().resolveMask(), expected->font().resolveMask());
    const QPalette want = expected->palette(), got = actual->palette();
    EXPECT_EQ(got.resolveMask(), want.resolveMask());
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            EXPECT_EQ(got.brush(group, role), want.brush(group, role))
                << "group " << g << " role " << r;
        }
    EXPECT_EQ(actual->autoFillBackground(), expected->autoFillBackground());
    EXPECT_EQ(actual->geometry(), expected->geometry());
}

TEST(HeldFontTest, HiddenControlsEndWithTheLookOfControlsThatTookEachChangeAtOnce) {
    platform::vcl::TForm form(nullptr);
    form.SetBounds(0, 0, 420, 140);
    // Two pages alike: one seen, one hidden, each with a control of the same kind.
    auto* seenPage = new platform::vcl::TPanel(&form);
    auto* hiddenPage = new platform::vcl::TPanel(&form);
    for (platform::vcl::TPanel* p : {seenPage, hiddenPage}) {
        p->SetParent(&form);
        p->SetBounds(0, 0, 200, 120);
        p->Font().SetName("Calibri");
        p->Font().SetSize(9);
    }
    seenPage->SetLeft(210);
    hiddenPage->SetVisible(false);
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));

    struct Kind {
        const char* name;
        Make make;
        // An edit keeps its face and size until it first shows, read or not.
        bool readAtOnce = true;
    };
    const Kind kinds[] = {
        {"label", Maker<platform::vcl::TLabel>([](platform::vcl::TLabel& l) {
             l.SetAutoSize(false);
             l.SetCaption("Wg 1000");
         })},
        {"sizing label", Maker<platform::vcl::TLabel>([](platform::vcl::TLabel& l) {
             l.SetCaption("Wg 1000");
             EXPECT_GT(l.Width(), 0); // sized to the caption before the font changes
         })},
        {"opaque label", Maker<platform::vcl::TLabel>([](platform::vcl::TLabel& l) {
             l.SetAutoSize(false);
             l.SetTransparent(false);
             l.SetCaption("Wg 1000");
         })},
        {"panel",
         Maker<platform::vcl::TPanel>([](platform::vcl::TPanel& p) { p.SetCaption("Wg"); })},
        {"frame panel", Maker<TFramePanel>()},
        {"group box", Maker<TSkinGroupBox>([](TSkinGroupBox& g) { g.SetCaption("Wg"); })},
        {"button", Maker<TSkinButton>([](TSkinButton& b) { b.SetCaption("Wg"); })},
        {"check box", Maker<TSkinCheckBox>([](TSkinCheckBox& b) { b.SetCaption("Wg"); })},
        {"list box", Maker<TSkinListBox>([](TSkinListBox& l) { l.Items().Add("Wg"); })},
        {"edit", Maker<TSkinEdit>([](TSkinEdit& e) { e.SetText("Wg"); }), false},
        {"combo box", Maker<TSkinComboBox>([](TSkinComboBox& c) { c.Items().Add("Wg"); })},
    };

    const Step named = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.Font().SetName("DejaVu Sans");
    };
    const Step sized = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.Font().SetSize(14);
    };
    const Step red = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.Font().SetColor(platform::vcl::clRed);
    };
    const Step systemInk = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.Font().SetColor(platform::vcl::clWindowText);
    };
    const Step bold = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.Font().SetStyle(platform::vcl::fsBold);
    };
    const Step filled = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.SetColor(platform::vcl::clYellow);
    };
    const Step pageSized = [](platform::vcl::TControl&, platform::vcl::TControl& p) {
        p.Font().SetSize(12);
    };
    const Step pageInk = [](platform::vcl::TControl&, platform::vcl::TControl& p) {
        p.Font().SetColor(platform::vcl::clLime);
    };
    const Step pageFilled = [](platform::vcl::TControl&, platform::vcl::TControl& p) {
        p.SetColor(platform::vcl::clNavy);
    };
    const Step follows = [](platform::vcl::TControl& c, platform::vcl::TControl&) {
        c.SetParentFont(true);
    };
    const std::pair<const char*, std::vector<Step>> sequences[] = {
        {"nothing", {}},
        {"name, size, colour", {named, sized, red}},
        {"colour, fill, size", {red, filled, sized}},
        {"fill, system colour, bold", {filled, systemInk, bold}},
        {"page font and colours", {pageSized, pageInk, pageFilled}},
        {"own size, then the page's", {sized, pageSized, pageInk}},
        {"own colour, then the page's font again", {red, pageSized, follows}},
        {"page fill, own colour twice", {pageFilled, red, systemInk, sized, named}},
    };
    const std::pair<const char*, Settle> settles[] = {
        {"shown", Settle::Shown}, {"drawn", Settle::Drawn}, {"read", Settle::Read}};

    for (const auto& [kindName, make, readAtOnce] : kinds)
        for (const auto& [sequenceName, steps] : sequences)
            for (const auto& [settleName, settle] : settles) {
                SCOPED_TRACE(std::string(kindName) + " / " + sequenceName + " / " + settleName);
                platform::vcl::TControl* now = make(seenPage);
                platform::vcl::TControl* later = make(hiddenPage);
                for (const Step& step : steps) {
                    step(*now, *seenPage);
                    step(*later, *hiddenPage);
                }
                QWidget* a = now->WidgetAsIs();
                QWidget* b = later->WidgetAsIs();
                switch (settle) {
                case Settle::Shown:
                    hiddenPage->SetVisible(true);
                    break;
                case Settle::Drawn: {
                    // Drawn into a picture while hidden: the text already in its font
                    // and colour (a label sizing to its text waits for its size).
                    const QImage drawn = b->grab().toImage();
                    if (b->size() == a->size()) {
                        EXPECT_EQ(drawn, a->grab().toImage());
                    }
                    hiddenPage->SetVisible(true);
                    break;
                }
                case Settle::Read:
                    // Read through the control: every change is in the widget, the size
                    // a label takes from its font too.
                    EXPECT_EQ(later->Width(), now->Width());
                    b = later->Widget();
                    if (readAtOnce) ExpectSameLook(a, b);
                    hiddenPage->SetVisible(true);
                    break;
                }
                ExpectSameLook(a, b);
                EXPECT_EQ(b->grab().toImage(), a->grab().toImage());
                // Once seen, a change reaches the widget at once.
                for (platform::vcl::TControl* c : {now, later})
                    c->Font().SetSize(11);
                EXPECT_EQ(b->font().toString(), a->font().toString());
                EXPECT_EQ(b->palette(), a->palette());
                delete now;
                delete later;
                hiddenPage->SetVisible(false);
                // Both pages back as they were.
                for (platform::vcl::TPanel* p : {seenPage, hiddenPage}) {
                    p->Font().SetSize(9);
                    p->Font().SetColor(platform::vcl::clWindowText);
                    p->SetColor(platform::vcl::clBtnFace);
                }
            }
}

} // namespace
