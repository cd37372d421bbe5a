// The window the start leaves: steps the start leaves out because they would give the
// window nothing new must really give it nothing new.
#include "ShellTestSupport.h"

#include "controls/skin/InputDialog.h"
#include "controls/unicode/WideCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <QPalette>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;
using shell_test::StartedForm;

namespace {

std::string FontText(const TFont& f) {
    std::ostringstream s;
    s << f.Name() << ' ' << f.Size() << ' ' << f.Color() << ' ' << f.Style();
    return s.str();
}

std::string Items(TItemList& items) {
    std::string all;
    for (int i = 0; i < items.Count(); ++i)
        all += items.Get(i) + '|';
    return all;
}

// One line per control and per piece of window state: whatever a user could see of the
// control (place, size, visibility, text, font, colours, picture, order among its
// siblings), as the control answers it and as its widget has it.
std::vector<std::string> Snapshot(window::TForm1& form) {
    std::vector<std::string> lines;
    std::function<void(TComponent&)> walk = [&](TComponent& owner) {
        for (TComponent* component : owner.Components()) {
            std::ostringstream s;
            s << component->Name() << ':';
            if (auto* c = dynamic_cast<TControl*>(component)) {
                s << " bounds " << c->Left() << ',' << c->Top() << ',' << c->Width() << ','
                  << c->Height() << " visible " << c->Visible() << " enabled " << c->Enabled()
                  << " caption [" << c->Caption() << "] font " << FontText(c->Font())
                  << " parentFont " << c->ParentFont() << " color " << c->Color() << " hint ["
                  << c->Hint() << "] cursor " << c->Cursor();
                const QWidget* w = c->Widget();
                s << " | widget " << w->x() << ',' << w->y() << ',' << w->width() << ','
                  << w->height() << " hidden " << w->isHidden() << " font "
                  << w->font().toString().toStdString() << " fill " << w->autoFillBackground();
                for (int g = 0; g < QPalette::NColorGroups; ++g)
                    for (QPalette::ColorRole role :
                         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                          QPalette::Window, QPalette::Base, QPalette::Button})
                        s << ' ' << w->palette().color(QPalette::ColorGroup(g), role).rgba();
                if (const QWidget* parent = w->parentWidget())
                    s << " z " << parent->children().indexOf(const_cast<QWidget*>(w));
            }
            if (auto* label = dynamic_cast<controls::unicode::TWideLabel*>(component))
                s << " wide [" << Utf16ToUtf8(controls::unicode::TWideLabel::GetCaption(label))
                  << ']';
            if (auto* image = dynamic_cast<TImage*>(component))
                s << " picture " << image->PictureName() << ' ' << image->Picture().width() << 'x'
                  << image->Picture().height();
            if (auto* box = dynamic_cast<TComboBox*>(component))
                s << " items " << Items(box->Items()) << " index " << box->ItemIndex() << " text ["
                  << box->Text() << ']';
            if (auto* list = dynamic_cast<TListBox*>(component))
                s << " items " << Items(list->Items()) << " index " << list->ItemIndex()
                  << " itemHeight " << list->ItemHeight();
            if (auto* edit = dynamic_cast<TEdit*>(component))
                s << " alignment " << edit->Alignment();
            if (auto* radio = dynamic_cast<TRadioButton*>(component))
                s << " checked " << radio->Checked();
            if (auto* check = dynamic_cast<TCheckBox*>(component))
                s << " checked " << check->Checked();
            if (auto* dialog = dynamic_cast<controls::skin::TSkinInputDialog*>(component))
                s << " captionFont " << FontText(dialog->CaptionFont()) << " font "
                  << FontText(dialog->Font());
            lines.push_back(s.str());
            walk(*component);
        }
    };
    walk(form);

    std::ostringstream s;
    s << "window: font " << form.LangFontName << " title " << form.TitleText << " app title "
      << Application()->Title() << " language " << form.LanguageNumber << " captions "
      << Utf16ToUtf8(form.Language1Caption) << '|' << Utf16ToUtf8(form.Language2Caption) << '|'
      << Utf16ToUtf8(form.Language3Caption) << " rolling " << Utf16ToUtf8(form.RollingText) << ' '
      << form.RollingStep << " insets " << form.MenuCaptionInsetFront << ','
      << form.MenuCaptionInsetBack << " combo8 " << form.ComboKey8Enabled << " dpi "
      << form.DpiStepOrientation << " itemHeight " << form.MacroNameItemHeight;
    for (const window::shell::LayoutRgb& rgb :
         {form.KeyMenuFontRGB, form.KeyMenuBackRGB, form.KeyMenuHotFontRGB, form.KeyMenuHotBackRGB,
          form.DpiSelectedRGB, form.DpiUnselectedRGB, form.MacroTextRGB, form.MacroListFontRGB,
          form.MacroButtonBackRGB})
        s << ' ' << rgb.R << ',' << rgb.G << ',' << rgb.B;
#define VTRM_SNAPSHOT_TEXT(key) s << " " #key " [" << form.LangTexts.key << ']';
    VTRM_LANG_TEXT_KEYS(VTRM_SNAPSHOT_TEXT)
#undef VTRM_SNAPSHOT_TEXT
    lines.push_back(s.str());
    return lines;
}

// The language switch of the start runs without dressing the window in the language's
// skin again: the creation handler has just done that, and nothing between the two
// changes what the skin sets. Each step here is one the start leaves out; done on top of
// the started window, none may change any of it.
TEST(StartFormTest, StepsTheStartLeavesOutChangeNothing) {
    struct Case {
        const char* step;
        std::function<void(window::TForm1&)> run;
    };
    const Case cases[] = {
        {"the skin of language 1 applied again", [](window::TForm1& f) { f.ApplySkin(); }},
        {"the whole switch to language 1, skin included",
         [](window::TForm1& f) { f.Btn_Lang1_0Click(nullptr); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        // Two windows, so that reading the first one's bounds (which settles labels still
        // to take their size) cannot change what the step finds on the second.
        auto form = StartedForm();
        auto stepped = StartedForm();
        c.run(*stepped);
        const std::vector<std::string> started = Snapshot(*form);
        const std::vector<std::string> after = Snapshot(*stepped);
        ASSERT_EQ(after.size(), started.size());
        int differences = 0;
        for (size_t i = 0; i < started.size() && differences < 10; ++i)
            if (after[i] != started[i]) {
                ++differences;
                ADD_FAILURE() << "started: " << started[i] << "\nafter:   " << after[i];
            }
    }
}

} // namespace
