// The readability check of every page in every language: each visible text fits its
// control at the control's font, lies inside the controls that hold it, stands clear of
// the outline drawn around it (a button's own frame, the picture under a caption), and no
// text runs into another text, a frame or part of a picture. Each offender is printed with
// its page, language, control, text and rectangles; the test fails while any remains.
#include "ShellTestSupport.h"
#include "common/Screenshot.h"
#include "controls/skin/SkinCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabWidget>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <sstream>

namespace {

using shell_test::FormPtr;
using shell_test::StartedForm;

// One drawn thing of a scene, in window coordinates.
struct Item {
    std::string name;
    QWidget* widget = nullptr;
    QString text;         // empty for a picture or an empty box
    QRect area;           // where the text (or the picture, the frame) is drawn
    bool picture = false; // an image or a swatch: a text may lie wholly on it
    bool popup = false;   // inside a pop-up menu panel, which lies over the page by design
};

struct Scene {
    int language = 0;
    std::string page;
};

std::string Str(const QRect& r) {
    std::ostringstream s;
    s << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
    return s.str();
}

// What one widget draws, by itself (nothing of what lies beneath it), as the shape of an
// outline: the pixels it covers at least half.
class Outline {
public:
    explicit Outline(QWidget* painter)
        : image_(painter->size(), QImage::Format_ARGB32_Premultiplied) {
        image_.fill(Qt::transparent);
        painter->render(&image_, QPoint(), QRegion(), QWidget::RenderFlags());
    }

    // The first and last column the outline covers in row y, if it covers any.
    std::optional<std::pair<int, int>> Span(int y) const {
        if (y < 0 || y >= image_.height()) return std::nullopt;
        const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
        int first = 0, last = image_.width() - 1;
        while (first <= last && qAlpha(line[first]) < 128)
            ++first;
        while (last >= first && qAlpha(line[last]) < 128)
            --last;
        if (first > last) return std::nullopt;
        return std::make_pair(first, last);
    }

private:
    QImage image_;
};

class Checker {
public:
    Checker(platform::vcl::TForm& form) : form_(form) {
        for (platform::vcl::TComponent* c : form.Components())
            if (auto* control = dynamic_cast<platform::vcl::TControl*>(c))
                names_[control->Widget()] = control->Name();
    }

    // Checks what the window shows now; returns the number of offenders it printed.
    int Check(const Scene& scene) {
        scene_ = scene;
        items_.clear();
        outlines_.clear();
        offenders_ = 0;
        Collect(form_.Widget(), form_.Widget()->rect(), false);
        for (size_t i = 0; i < items_.size(); ++i)
            for (size_t j = i + 1; j < items_.size(); ++j)
                CheckPair(items_[i], items_[j]);
        for (const Item& caption : items_)
            if (qobject_cast<QLabel*>(caption.widget)) StandsOnItsPicture(caption);
        return offenders_;
    }

private:
    QPoint InWindow(QWidget* w, QPoint p) const { return w->mapTo(form_.Widget(), p); }
    QRect InWindow(QWidget* w, const QRect& r) const {
        return QRect(InWindow(w, r.topLeft()), r.size());
    }

    void Offend(const std::string& what, const std::string& name, const QString& text,
                const std::string& rects) {
        ++offenders_;
        ADD_FAILURE() << "language " << scene_.language << ", " << scene_.page << ": " << name
                      << " \"" << text.toStdString() << "\" " << what << " " << rects;
    }

    // Where a text is drawn by `flags` in `box` (widget coordinates): the advance across and
    // the ink from the first line's top to the last line's bottom.
    // Leading blanks leave room for a picture beside the text; they draw nothing.
    static QRect TextArea(const QFontMetrics& fm, const QRect& box, int flags,
                          const QString& text) {
        QRect lines = fm.boundingRect(box, flags, text);
        int blanks = 0;
        while (blanks < text.size() && text[blanks] == QLatin1Char(' '))
            ++blanks;
        if (!text.contains(QLatin1Char('\n')))
            lines.setLeft(lines.left() + fm.horizontalAdvance(text.left(blanks)));
        QString flat = text;
        flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QRect ink = fm.tightBoundingRect(flat);
        const int count = std::max(1, (lines.height() + fm.lineSpacing() / 2) / fm.lineSpacing());
        const int baseline = lines.top() + fm.ascent();
        const int top = baseline + ink.top();
        const int bottom = baseline + (count - 1) * fm.lineSpacing() + ink.bottom();
        return QRect(QPoint(lines.left(), top), QPoint(lines.right(), bottom));
    }

    // The text must lie inside `room` (widget coordinates), which lies inside the widget.
    void Fits(QWidget* w, const std::string& name, const QString& text, const QRect& area,
              const QRect& room) {
        if (!room.contains(area))
            Offend("does not fit", name, text,
                   "text " + Str(area) + " room " + Str(room) + " font " +
                       QFontInfo(w->font()).family().toStdString() + " " +
                       std::to_string(w->font().pixelSize()) + "px");
    }

    // A caption stands inside the outline drawn around it, with room at both ends: in every
    // row of its text the outline, rounded ends and all, reaches EndRoom pixels past the
    // text on either side (its one-pixel line, then two clear pixels). `area` is in the
    // coordinates of `painter`, the widget that draws the outline.
    static constexpr int EndRoom = 3;
    void StandsClear(QWidget* caption, QWidget* painter, const std::string& outlineName,
                     const std::string& name, const QString& text, const QRect& area) {
        auto known = outlines_.find(painter);
        if (known == outlines_.end()) known = outlines_.emplace(painter, Outline(painter)).first;
        const Outline& outline = known->second;
        int left = std::numeric_limits<int>::min(), right = std::numeric_limits<int>::max();
        bool inside = true;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto row = outline.Span(y);
            inside = row.has_value();
            if (!inside) break;
            left = std::max(left, row->first);
            right = std::min(right, row->second);
        }
        if (inside && area.left() - left >= EndRoom && right - area.right() >= EndRoom) return;
        Offend(inside ? "touches its outline" : "runs out of its outline", name, text,
               "text " + Str(area) +
                   (inside ? " room from " + std::to_string(left + EndRoom) + " to " +
                                 std::to_string(right - EndRoom)
                           : std::string()) +
                   " in " + outlineName + " " + Str(painter->rect()) + " font " +
                   QFontInfo(caption->font()).family().toStdString() + " " +
                   std::to_string(caption->font().pixelSize()) + "px");
    }

    // A caption on a picture (a picture button's label) stands in the picture's outline.
    void StandsOnItsPicture(const Item& caption) {
        const Item* picture = nullptr;
        for (const Item& p : items_)
            if (p.picture && p.popup == caption.popup && p.area.contains(caption.area) &&
                (!picture || picture->area.contains(p.area)))
                picture = &p;
        if (!picture) return;
        StandsClear(caption.widget, picture->widget, picture->name, caption.name, caption.text,
                    caption.area.translated(-picture->area.topLeft()));
    }

    void AddText(QWidget* w, const std::string& name, const QString& text, const QRect& area,
                 const QRect& clip, bool popup) {
        const QRect inWindow = InWindow(w, area);
        if (!clip.contains(inWindow))
            Offend("is cut by the controls around it", name, text,
                   "text " + Str(inWindow) + " visible " + Str(clip));
        items_.push_back({name, w, text, inWindow, false, popup});
    }

    void Measure(QWidget* w, const std::string& name, const QRect& clip, bool popup) {
        const QFontMetrics fm(w->font());
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->pixmap().isNull() || label->text().trimmed().isEmpty()) return;
            const int flags =
                int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
            const QRect area = TextArea(fm, label->contentsRect(), flags, label->text());
            Fits(w, name, label->text(), area, label->rect());
            AddText(w, name, label->text(), area, clip, popup);
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            Button(check, name, clip, popup, QStyle::SE_CheckBoxContents,
                   QStyle::SE_CheckBoxIndicator);
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            Button(radio, name, clip, popup, QStyle::SE_RadioButtonContents,
                   QStyle::SE_RadioButtonIndicator);
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton opt;
            opt.initFrom(push);
            opt.text = push->text();
            const QRect room =
                push->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, push);
            if (!push->text().isEmpty()) {
                const QRect area =
                    TextArea(fm, room, Qt::AlignCenter | Qt::TextShowMnemonic, push->text());
                Fits(w, name, push->text(), area, room);
                // The button draws its own frame around its caption.
                StandsClear(push, push, name, name, push->text(), area);
            }
            AddBox(w, name, push->text(), push->rect(), clip, popup);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            QStyleOptionFrame opt;
            opt.initFrom(edit);
            opt.rect = edit->rect();
            opt.lineWidth = edit->hasFrame() ? 1 : 0;
            // The edit keeps two pixels between its frame and its text.
            const QRect room = edit->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &opt, edit)
                                   .adjusted(2, 0, -2, 0);
            if (!edit->text().isEmpty())
                Fits(w, name, edit->text(),
                     TextArea(fm, room,
                              int(edit->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
                              edit->text()),
                     room);
            AddBox(w, name, edit->text(), edit->rect(), clip, popup);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(combo);
            opt.editable = combo->isEditable();
            opt.frame = combo->hasFrame();
            opt.subControls = QStyle::SC_All;
            const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                              QStyle::SC_ComboBoxEditField, combo);
            // Whatever item the user picks shows in the closed box.
            for (int i = 0; i < combo->count(); ++i)
                if (fm.horizontalAdvance(combo->itemText(i)) > room.width())
                    Offend("(item " + std::to_string(i) + ") does not fit", name,
                           combo->itemText(i),
                           "advance " + std::to_string(fm.horizontalAdvance(combo->itemText(i))) +
                               " room " + Str(room));
            AddBox(w, name, combo->currentText(), combo->rect(), clip, popup);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            const int room = list->viewport()->width();
            for (int i = 0; i < list->count(); ++i)
                if (fm.horizontalAdvance(list->item(i)->text()) + 4 > room)
                    Offend("(item " + std::to_string(i) + ") does not fit", name,
                           list->item(i)->text(), "room " + std::to_string(room));
            AddBox(w, name, QString(), list->rect(), clip, popup);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            if (group->title().trimmed().isEmpty()) return;
            // The box draws its title in a gap of its top line, 8 pixels in from the left.
            const QRect title(8, 0, fm.horizontalAdvance(group->title()) + 4, fm.height());
            const QRect area = TextArea(fm, title, Qt::AlignCenter, group->title());
            Fits(w, name, group->title(), area, group->rect().adjusted(8, 0, -8, 0));
            AddText(w, name, group->title(), area, clip, popup);
        }
    }

    void Button(QAbstractButton* b, const std::string& name, const QRect& clip, bool popup,
                QStyle::SubElement contents, QStyle::SubElement indicator) {
        const QFontMetrics fm(b->font());
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const QRect room = b->style()->subElementRect(contents, &opt, b);
        const QRect mark = b->style()->subElementRect(indicator, &opt, b);
        if (b->text().trimmed().isEmpty()) {
            AddBox(b, name, QString(), mark, clip, popup);
            return;
        }
        const QRect area = TextArea(fm, room, Qt::AlignLeft | Qt::AlignVCenter, b->text());
        Fits(b, name, b->text(), area, room & b->rect());
        AddText(b, name, b->text(), area.united(mark), clip, popup);
    }

    // A framed box (button, edit, list): the whole box must be seen.
    void AddBox(QWidget* w, const std::string& name, const QString& text, const QRect& area,
                const QRect& clip, bool popup) {
        AddText(w, name, text.isEmpty() ? QStringLiteral(" ") : text, area, clip, popup);
    }

    void Collect(QWidget* parent, const QRect& clip, bool popup) {
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || !w->isVisible()) continue;
            auto named = names_.find(w);
            const std::string name = named != names_.end() ? named->second : std::string();
            const QRect inWindow = InWindow(w, w->rect());
            const QRect visible = clip & inWindow;
            // A control moved out of sight (the layouts hide that way) shows nothing.
            if (visible.isEmpty()) continue;
            const bool inPopup = popup || name.rfind("Pnl_", 0) == 0;
            if (!name.empty()) {
                const platform::vcl::TComponent* c = form_.FindComponent(name);
                if (const auto* image = dynamic_cast<const platform::vcl::TImage*>(c)) {
                    if (!image->Picture().isNull())
                        items_.push_back({name, w, QString(), inWindow, true, inPopup});
                    continue;
                }
                if (dynamic_cast<const platform::vcl::TShape*>(c)) {
                    items_.push_back({name, w, QString(), inWindow, true, inPopup});
                    continue;
                }
                Measure(w, name, visible, inPopup);
            }
            // The inner widgets of a list, combo or tab control are measured with it.
            if (qobject_cast<QAbstractScrollArea*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QLineEdit*>(w))
                continue;
            Collect(w, visible, inPopup);
        }
    }

    // What the design lays over something else on purpose, and nothing more:
    // - a control inside another (a caption's label inside its group box, a list's items);
    // - a pop-up menu over the page it opens on (one side inside a menu panel, the other not);
    // - a caption wholly on its picture (a button's text on the button picture, a page's
    //   texts on the page panel), or a picture wholly under a caption (a radio or check
    //   picture under the blanks that open its caption).
    void CheckPair(const Item& a, const Item& b) {
        if (a.picture && b.picture) return;
        if (a.popup != b.popup) return;
        if (a.widget->isAncestorOf(b.widget) || b.widget->isAncestorOf(a.widget)) return;
        const QRect common = a.area & b.area;
        if (common.isEmpty()) return;
        const Item& text = a.picture ? b : a;
        const Item& other = a.picture ? a : b;
        if (other.picture && (other.area.contains(text.area) || text.area.contains(other.area)))
            return;
        Offend("overlaps " + other.name +
                   (other.picture ? " (picture)" : " \"" + other.text.toStdString() + "\""),
               text.name, text.text, Str(text.area) + " and " + Str(other.area));
    }

    platform::vcl::TForm& form_;
    std::map<QWidget*, std::string> names_;
    std::vector<Item> items_;
    std::map<QWidget*, Outline> outlines_;
    Scene scene_;
    int offenders_ = 0;
};

// Shows the page as its entry does, without a mouse to write to.
void ShowPage(window::TForm1& form, platform::vcl::TRadioButton* radio,
              platform::vcl::TGroupBox* page) {
    form.HideAllMenu();
    radio->SetChecked(true);
    form.ApplySkin();
    form.ShowOnlyPage(page);
    if (page == form.gbPage7)
        form.SizeEngineerPage();
    else
        form.SizeNormalPages();
}

// The faces the tables and the design name are drawn with their installed free twins; a
// missing one would leave the window to whatever face fontconfig picks, and the check
// below would measure texts the user never sees.
TEST(PageLayoutCheckTest, DesignFacesAreDrawnWithTheirInstalledSubstitutes) {
    for (const platform::vcl::FontSubstitute& s : platform::vcl::FontSubstitutes) {
        platform::vcl::TFont font;
        font.SetName(s.face);
        font.SetSize(11);
        EXPECT_EQ(QFontInfo(font.ToQFont()).family().toStdString(), s.installed) << s.face;
    }
}

TEST(PageLayoutCheckTest, EveryTextOfEveryPageFitsAndStaysClearInEachLanguage) {
    FormPtr form = StartedForm();
    form->Show();
    for (platform::vcl::TControl* overlay :
         {&form->Named<platform::vcl::TControl>("Disable_All_1"),
          &form->Named<platform::vcl::TControl>("Disable_All_2"),
          &form->Named<platform::vcl::TControl>("Disable_All_3"),
          &form->Named<platform::vcl::TControl>("Disable_All_4"),
          &form->Named<platform::vcl::TControl>("Disable_All_5")})
        overlay->SetVisible(false);
    Checker checker(*form);
    const std::pair<const char*, std::function<void()>> pages[] = {
        {"key page", [&] { ShowPage(*form, form->rb_2, form->gbPage1); }},
        {"performance page", [&] { ShowPage(*form, form->rb_4, form->gbPage2); }},
        {"lighting page", [&] { ShowPage(*form, form->rb_5, form->gbPage3); }},
        {"macro page",
         [&] {
             ShowPage(*form, form->rb_6, form->gbPage4);
             form->Gb_Insert->SetVisible(false);
             form->Img_InsertBase->SetVisible(false);
             form->Gb_Delay->SetVisible(true);
         }},
        {"macro insert panel",
         [&] {
             ShowPage(*form, form->rb_6, form->gbPage4);
             form->Gb_Delay->SetVisible(false);
             form->Gb_Insert->SetVisible(true);
             form->Img_InsertBase->SetVisible(true);
         }},
        {"update page", [&] { ShowPage(*form, form->rb_7, form->gbPage5); }},
        {"fire page", [&] { ShowPage(*form, form->rb_1, form->gbPage6); }},
        {"engineering page sheet 1",
         [&] {
             ShowPage(*form, form->rb_8, form->gbPage7);
             form->Pg_Parameter->SetActivePageIndex(0);
         }},
        {"engineering page sheet 2", [&] { form->Pg_Parameter->SetActivePageIndex(1); }},
        {"engineering page sheet 3", [&] { form->Pg_Parameter->SetActivePageIndex(2); }},
    };
    std::map<int, int> offenders;
    for (int n = 1; n <= 3; ++n) {
        form->LanguageNumber = n;
        for (const auto& [page, show] : pages) {
            show();
            offenders[n] += checker.Check({n, page});
            testing_support::SaveScreenshot(
                form->Widget(), QString("Check%1_%2").arg(n).arg(QString(page).replace(' ', '-')));
        }
        // The key-function menu of the first key, with each of its sub-menus.
        ShowPage(*form, form->rb_2, form->gbPage1);
        form->OpenKeyMenu(form->Named<platform::vcl::TControl>("Key1"), 0, 1);
        offenders[n] += checker.Check({n, "key-function menu"});
        for (const char* entry :
             {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_MyPC", "Key_CPIKey",
              "Key_Fire", "Key_ACPIKey", "Key_ProfileKey", "Key_AdjustXY"}) {
            auto& item = form->Named<platform::vcl::TControl>(entry);
            // The special menu's entries open their menus from it.
            if (item.Parent() == form->Pnl_Special)
                form->ShowKeySubMenu_OnClick(&form->Named<platform::vcl::TControl>("Key_Special"));
            form->ShowKeySubMenu_OnClick(&item);
            offenders[n] += checker.Check({n, std::string("key-function menu ") + entry});
            testing_support::SaveScreenshot(form->Widget(),
                                            QString("Check%1_menu-%2").arg(n).arg(entry));
        }
        form->HideAllMenu();
    }
    for (const auto& [n, count] : offenders)
        std::printf("language %d: %d offenders\n", n, count);
}

// The key-function menu and the sub-menus it leads to, each sub-menu named by the entry that
// opens it; the special menu's entries lead one level further.
const char* const MenuPanels[] = {"Pnl_Main", "Pnl_MseKey",  "Pnl_Special", "Pnl_Media",
                                  "Pnl_WWW",  "Pnl_MyPC",    "Pnl_CPIKey",  "Pnl_FireKey",
                                  "Pnl_ACPI", "Pnl_Profile", "Pnl_AdjustXY"};
const char* const MainMenuEntries[] = {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW",
                                       "Key_MyPC"};
const char* const SpecialMenuEntries[] = {"Key_CPIKey", "Key_Fire", "Key_ACPIKey", "Key_ProfileKey",
                                          "Key_AdjustXY"};

// Checks every open level of the key-function menu: each entry its panel shows lies inside
// the window, no other open level lies over it, and the mouse finds the entry at its middle.
// Returns a line per entry that fails, empty when all pass.
std::string CoveredMenuEntries(window::TForm1& form) {
    QWidget* window = form.Widget();
    std::map<const QWidget*, std::string> names;
    for (platform::vcl::TComponent* c : form.Components())
        if (auto* control = dynamic_cast<platform::vcl::TControl*>(c))
            names[control->Widget()] = c->Name();
    std::vector<QWidget*> open;
    for (const char* name : MenuPanels) {
        auto& panel = form.Named<platform::vcl::TControl>(name);
        if (panel.Visible()) open.push_back(panel.Widget());
    }
    auto area = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    // Siblings later in their parent's list lie on top.
    auto above = [](QWidget* a, QWidget* b) {
        const QObjectList& order = a->parentWidget()->children();
        return order.indexOf(a) > order.indexOf(b);
    };
    std::ostringstream faults;
    for (QWidget* panel : open) {
        const QRect panelArea = area(panel);
        for (QObject* child : panel->children()) {
            auto* entry = qobject_cast<QWidget*>(child);
            // An entry below the panel's height is not offered at this size.
            if (!entry || !entry->isVisible() || !panel->rect().contains(entry->geometry()))
                continue;
            const QRect entryArea = area(entry);
            std::string why;
            if (!window->rect().contains(entryArea)) why += " outside the window";
            for (QWidget* other : open)
                if (other != panel && above(other, panel) && area(other).intersects(entryArea))
                    why += " under " + names[other];
            QWidget* hit = window->childAt(entryArea.center());
            if (!why.empty() || (hit != entry && !entry->isAncestorOf(hit)))
                faults << "\n  " << names[panel] << "." << names[entry] << " " << Str(entryArea)
                       << (why.empty() ? " not found by the mouse" : why) << " (panel "
                       << Str(panelArea) << ")";
        }
    }
    return faults.str();
}

// Every key that opens the key-function menu, on the key page and the engineering page, with
// every chain of sub-menus open in turn: no entry of an open level may be covered by the next
// level or left outside the window, whichever column the key is in.
TEST(PageLayoutCheckTest, MenuChainOfEveryKeyLeavesEveryEntryInSightAndClickable) {
    FormPtr form = StartedForm();
    form->Show();
    for (int i = 1; i <= 5; ++i)
        form->Named<platform::vcl::TControl>("Disable_All_" + std::to_string(i)).SetVisible(false);
    std::vector<std::string> keyPageKeys;
    for (int k = 1; k <= 12; ++k)
        keyPageKeys.push_back("Key" + std::to_string(k));
    std::vector<std::string> engineerKeys;
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k)
            engineerKeys.push_back("btn_Key" + std::to_string(p * 100 + k));
    for (int r = 1; r <= 9; ++r)
        engineerKeys.push_back("btn_ComboKey00" + std::to_string(r));
    struct Page {
        const char* name;
        std::function<void()> show;
        const std::vector<std::string>& keys;
    };
    const Page pages[] = {
        {"key page, profile 1",
         [&] {
             ShowPage(*form, form->rb_1, form->gbPage1);
             form->ArrangeProfileMenus(0);
         },
         keyPageKeys},
        // The tallest menus of the key page: profile 2 with the gun keys shown.
        {"key page, profile 2 with gun keys",
         [&] {
             form->GunDisplayEnabled = true;
             ShowPage(*form, form->rb_2, form->gbPage1);
             form->ArrangeProfileMenus(1);
             form->GunDisplayEnabled = false;
         },
         keyPageKeys},
        {"engineering page",
         [&] {
             ShowPage(*form, form->rb_8, form->gbPage7);
             form->ArrangeEngineerMenus();
             form->Pg_Parameter->SetActivePageIndex(0);
         },
         engineerKeys},
    };
    int chains = 0;
    std::map<std::string, int> failingKeys;
    for (int n = 1; n <= 3; ++n) {
        form->LanguageNumber = n;
        for (const Page& page : pages) {
            page.show();
            for (const std::string& keyName : page.keys) {
                auto& key = form->Named<platform::vcl::TControl>(keyName);
                if (!key.Widget()->isVisible()) continue;
                const std::string where =
                    "language " + std::to_string(n) + ", " + page.name + ", " + keyName;
                bool failed = false;
                auto check = [&](const std::string& chain) {
                    ++chains;
                    const std::string faults = CoveredMenuEntries(*form);
                    // The deepest chain of a right-column key, for a person to look at.
                    if (keyName == "Key7" || keyName == "btn_ComboKey009")
                        if (chain == " > Key_Special > Key_CPIKey")
                            testing_support::SaveScreenshot(
                                form->Widget(), QString("MenuChain%1_%2")
                                                    .arg(n)
                                                    .arg(QString::fromStdString(keyName)));
                    if (faults.empty()) return;
                    failed = true;
                    ADD_FAILURE() << where << chain << ":" << faults;
                };
                auto clickShown = [&](const char* entryName) {
                    auto& entry = form->Named<platform::vcl::TControl>(entryName);
                    const QWidget* w = entry.Widget();
                    if (!w->isVisible() || !w->parentWidget()->rect().contains(w->geometry()))
                        return false;
                    entry.Click();
                    return true;
                };
                key.Click();
                ASSERT_TRUE(form->Pnl_Main->Visible()) << where;
                check("");
                for (const char* entry : MainMenuEntries) {
                    if (!clickShown(entry)) continue;
                    check(std::string(" > ") + entry);
                    if (std::string(entry) != "Key_Special") continue;
                    for (const char* further : SpecialMenuEntries) {
                        if (!clickShown(further)) continue;
                        check(std::string(" > Key_Special > ") + further);
                    }
                }
                if (failed) ++failingKeys["language " + std::to_string(n) + ", " + page.name];
                form->HideAllMenu();
            }
        }
    }
    for (const auto& [where, count] : failingKeys)
        std::printf("%s: %d keys with a covered menu entry\n", where.c_str(), count);
    // Every language's key page and engineering page were walked, every level of them.
    EXPECT_GT(chains, 3 * (2 * 12 + 45) * 5);
}

} // namespace
