// Building forms from their text designs, and every way a design can fail.
#include "platform/core/Resources.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormDesign.h"
#include "platform/vcl/StdCtrls.h"

#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

class TDemoForm : public TForm {
public:
    TDemoForm() : TForm(nullptr) {}
    TGroupBox* gbPage1 = nullptr;
    TLabel* Btn_Exit = nullptr;
    TEdit* Edt_Delay = nullptr;
    TComboBox* cb_Rate = nullptr;
    TTimer* DevTimer = nullptr;
    int exitClicks = 0;
    int delayChanges = 0;
    int downs = 0;
    void Btn_ExitClick(TObject*) { ++exitClicks; }
    void Edt_DelayChange(TObject*) { ++delayChanges; }
    void Img_BaseMouseDown(TObject*, TMouseButton, TShiftState, int, int) { ++downs; }

    TFormBinding Binding() {
        return {"TDemoForm",
                {Field("gbPage1", gbPage1), Field("Btn_Exit", Btn_Exit),
                 Field("Edt_Delay", Edt_Delay), Field("cb_Rate", cb_Rate),
                 Field("DevTimer", DevTimer)},
                {Handler("Btn_ExitClick", this, &TDemoForm::Btn_ExitClick),
                 Handler("Edt_DelayChange", this, &TDemoForm::Edt_DelayChange),
                 Handler("Img_BaseMouseDown", this, &TDemoForm::Img_BaseMouseDown)}};
    }
};

const char* const kDesign = R"(// demo
object Demo: TDemoForm
  Caption = 'It''s a demo'
  ClientWidth = 300
  ClientHeight = 200
  Color = $000080
  object gbPage1: TGroupBox
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    OnMouseDown = Img_BaseMouseDown
    object Btn_Exit: TLabel
      Left = 250
      Top = 4
      Caption = 'Exit'
      Transparent = True
      Font.Style = [fsBold]
      Font.Color = clWhite
      Tag = 5
      OnClick = btn_exitclick
    end
    object Edt_Delay: TEdit
      Left = 10
      Top = 40
      Text = '20'
      Alignment = taRightJustify
      OnChange = Edt_DelayChange
    end
    object cb_Rate: TComboBox
      Style = csDropDownList
      Items = (
        '125'
        '250', '500'
        '1000')
      ItemIndex = 2
    end
  end
  object DevTimer: TTimer
    Interval = 3500
    Enabled = False
  end
end
)";

TEST(FormDesignTest, BuildsControlsFillsFieldsAndBindsHandlers) {
    TDemoForm form;
    LoadFormDesignText(form, kDesign, "DEMO", form.Binding());
    EXPECT_EQ(form.Name(), "Demo");
    EXPECT_EQ(form.Caption(), "It's a demo");
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.Color(), clMaroon);
    ASSERT_NE(form.gbPage1, nullptr);
    ASSERT_NE(form.Btn_Exit, nullptr);
    EXPECT_EQ(form.Btn_Exit->Parent(), form.gbPage1);
    EXPECT_EQ(form.gbPage1->Parent(), &form);
    EXPECT_EQ(form.Btn_Exit->Caption(), "Exit");
    EXPECT_TRUE(form.Btn_Exit->Transparent());
    EXPECT_EQ(form.Btn_Exit->Font().Style(), TFontStyles(fsBold));
    EXPECT_EQ(form.Btn_Exit->Font().Color(), clWhite);
    EXPECT_EQ(form.Btn_Exit->Tag(), 5);
    EXPECT_EQ(form.Btn_Exit->Left(), 250);
    EXPECT_EQ(form.Edt_Delay->Text(), "20");
    EXPECT_EQ(form.Edt_Delay->Alignment(), taRightJustify);
    EXPECT_EQ(form.cb_Rate->Items().ToVector(),
              (std::vector<std::string>{"125", "250", "500", "1000"}));
    EXPECT_EQ(form.cb_Rate->ItemIndex(), 2);
    EXPECT_EQ(form.DevTimer->Interval(), 3500u);
    EXPECT_FALSE(form.DevTimer->Enabled());
    EXPECT_EQ(form.FindComponent("btn_exit"), form.Btn_Exit);

    EXPECT_EQ(form.delayChanges, 0) << "the design's own text is no change";
    form.Edt_Delay->SetText("30");
    EXPECT_EQ(form.delayChanges, 1);
    form.Show();
    QTest::mouseClick(form.Btn_Exit->Widget(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(form.exitClicks, 1);
    QTest::mouseClick(form.gbPage1->Widget(), Qt::RightButton, {}, QPoint(100, 150));
    EXPECT_EQ(form.downs, 1);
}

TEST(FormDesignTest, WidgetsShowTheFontsTheDesignLeavesAndLaterChangesAtOnce) {
    TDemoForm form;
    form.Font().SetName("DejaVu Sans");
    form.Font().SetSize(12);
    LoadFormDesignText(form, kDesign, "DEMO", form.Binding());
    // Its own font properties over the parent's: bold and white, at the form's size.
    const QFont exit = form.Btn_Exit->Widget()->font();
    EXPECT_TRUE(exit.bold());
    EXPECT_EQ(exit.pixelSize(), 16);
    EXPECT_EQ(form.Btn_Exit->Widget()->palette().color(QPalette::WindowText), QColor(Qt::white));
    // The parent's font alone.
    const QFont edit = form.Edt_Delay->Widget()->font();
    EXPECT_FALSE(edit.bold());
    EXPECT_EQ(edit.family(), "DejaVu Sans");
    EXPECT_EQ(edit.pixelSize(), 16);
    // Once loaded, a change shows at once, on the control and on those following it.
    form.gbPage1->Font().SetSize(9);
    EXPECT_EQ(form.Edt_Delay->Widget()->font().pixelSize(), 12);
    form.Btn_Exit->Font().SetColor(clRed);
    EXPECT_EQ(form.Btn_Exit->Widget()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

TEST(FormDesignTest, RegisteredClassesAndResourcesAreFound) {
    class TFancyLabel : public TLabel {
    public:
        using TLabel::TLabel;
    };
    RegisterComponentClass("TFancyLabel", [](TComponent* o) { return new TFancyLabel(o); });
    EXPECT_TRUE(IsComponentClassRegistered("tfancylabel"));
    static const char design[] = "object F: TForm\n  object Lbl: TFancyLabel\n  end\nend\n";
    platform::core::RegisterResource("TEST_FANCY_FORM", "RC_DATA",
                                     reinterpret_cast<const unsigned char*>(design),
                                     sizeof design - 1);
    TForm form(nullptr);
    LoadFormDesign(form, "test_fancy_form", {"TForm", {}, {}});
    EXPECT_NE(dynamic_cast<TFancyLabel*>(form.FindComponent("Lbl")), nullptr);
}

// A component the design creates is loading from its creation until its Loaded runs, its
// children then made and its properties set; one made in code never is, nor is anything
// left of a design that failed.
TEST(FormDesignTest, DesignComponentsAreLoadingUntilTheirLoaded) {
    struct Seen {
        bool created = false, propertySet = false, childMade = false, loaded = true;
    };
    static std::vector<Seen> seen;
    class TProbe : public TPanel {
    public:
        explicit TProbe(TComponent* o) : TPanel(o) { seen.push_back({IsLoading()}); }
        bool SetDesignProperty(const std::string& name, const TDesignValue& value) override {
            seen.back().propertySet = IsLoading();
            return TPanel::SetDesignProperty(name, value);
        }
        void Loaded() override {
            TPanel::Loaded();
            seen[static_cast<size_t>(Tag())].childMade = FindComponentIn() != nullptr;
            seen[static_cast<size_t>(Tag())].loaded = IsLoading();
        }
        TComponent* FindComponentIn() const { return Owner()->FindComponent("Inner"); }
    };
    RegisterComponentClass("TLoadProbe", [](TComponent* o) { return new TProbe(o); });
    seen.clear();
    TForm form(nullptr);
    LoadFormDesignText(form,
                       "object F: TForm\n  object Outer: TLoadProbe\n    Tag = 0\n"
                       "    object Inner: TLoadProbe\n      Tag = 1\n    end\n  end\nend\n",
                       "PROBE", {"TForm", {}, {}});
    ASSERT_EQ(seen.size(), 2u);
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.created);
        EXPECT_TRUE(s.propertySet);
        EXPECT_TRUE(s.childMade);
        EXPECT_FALSE(s.loaded);
    }
    TProbe inCode(&form);
    EXPECT_FALSE(inCode.IsLoading());

    TForm failed(nullptr);
    EXPECT_THROW(LoadFormDesignText(failed,
                                    "object F: TForm\n  object Outer: TLoadProbe\n  end\n"
                                    "  object Bad: TNoSuchClass\n  end\nend\n",
                                    "PROBE", {"TForm", {}, {}}),
                 Exception);
    for (TComponent* c : failed.Components())
        EXPECT_FALSE(c->IsLoading()) << c->Name();
}

struct DesignError {
    const char* title;
    const char* design;
    std::vector<const char*> expected; // parts the message must contain
};

class FormDesignErrorTest : public ::testing::TestWithParam<DesignError> {};

TEST_P(FormDesignErrorTest, NamesWhatIsWrong) {
    const DesignError& c = GetParam();
    TDemoForm form;
    try {
        LoadFormDesignText(form, c.design, "DEMO", form.Binding());
        FAIL() << "the design loaded";
    } catch (const Exception& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("Form design DEMO"), std::string::npos) << message;
        for (const char* part : c.expected)
            EXPECT_NE(message.find(part), std::string::npos) << message << "\nlacks: " << part;
    }
}

// Every component the demo binding needs, so that each case fails for its own reason.
#define DEMO_PARTS                                                                                 \
    "  object gbPage1: TGroupBox\n    object Btn_Exit: TLabel\n    end\n"                          \
    "    object Edt_Delay: TEdit\n    end\n    object cb_Rate: TComboBox\n    end\n  end\n"        \
    "  object DevTimer: TTimer\n  end\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, FormDesignErrorTest,
    ::testing::Values(
        DesignError{"UnknownClass",
                    "object D: TDemoForm\n" DEMO_PARTS "  object Img_X: TPicture\n  end\nend\n",
                    {"line 12", "unknown class TPicture", "Img_X"}},
        DesignError{"UnknownProperty",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object Lbl: TLabel\n    Stretch = True\n  end\nend\n",
                    {"line 13", "TLabel Lbl has no property Stretch"}},
        DesignError{"WrongValueKind",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object Lbl: TLabel\n    Left = 'ten'\n  end\nend\n",
                    {"line 13", "property Left of Lbl", "expected a number"}},
        DesignError{"UnknownHandler",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object Lbl: TLabel\n    OnClick = Btn_MissingClick\n  end\nend\n",
                    {"line 13", "unknown handler Btn_MissingClick", "Lbl.OnClick"}},
        DesignError{"UnknownEvent",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object T: TTimer\n    OnClick = Btn_ExitClick\n  end\nend\n",
                    {"line 13", "TTimer T has no event OnClick"}},
        DesignError{"HandlerOfAnotherSignature",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object Lbl: TLabel\n    OnMouseDown = Btn_ExitClick\n  end\nend\n",
                    {"line 13", "Btn_ExitClick", "Lbl.OnMouseDown", "do not fit"}},
        DesignError{"ParentThatHoldsNoControls",
                    "object D: TDemoForm\n" DEMO_PARTS
                    "  object Lbl: TLabel\n    object Inner: TLabel\n    end\n  end\nend\n",
                    {"line 13", "Lbl (TLabel) cannot be the parent of Inner"}},
        DesignError{"MalformedLine",
                    "object D: TDemoForm\n  Caption 'x'\nend\n",
                    {"line 2", "Caption 'x'"}},
        DesignError{"UnterminatedText",
                    "object D: TDemoForm\n  Caption = 'x\nend\n",
                    {"line 2", "unterminated"}},
        DesignError{"MissingEnd",
                    "object D: TDemoForm\n  object L: TLabel\nend\n",
                    {"object D has no 'end'"}},
        DesignError{"StrayEnd", "object D: TDemoForm\nend\nend\n", {"line 3", "'end' without"}},
        DesignError{"MissingFields",
                    "object D: TDemoForm\n  object gbPage1: TGroupBox\n  end\nend\n",
                    {"no component for the field(s) Btn_Exit, Edt_Delay, cb_Rate, DevTimer"}},
        DesignError{"FieldOfAnotherClass",
                    "object D: TDemoForm\n  object gbPage1: TGroupBox\n    object Btn_Exit: TEdit\n"
                    "    end\n    object Edt_Delay: TEdit\n    end\n    object cb_Rate: "
                    "TComboBox\n    end\n  end\n  object DevTimer: TTimer\n  end\nend\n",
                    {"field Btn_Exit cannot hold the TEdit"}},
        DesignError{"DuplicateName",
                    "object D: TDemoForm\n" DEMO_PARTS "  object BTN_EXIT: TLabel\n  end\nend\n",
                    {"line 12", "BTN_EXIT already exists"}},
        DesignError{"DesignOfAnotherForm",
                    "object D: TOtherForm\nend\n",
                    {"line 1", "the design is for TOtherForm"}},
        DesignError{"UnknownEnumValue",
                    "object D: TDemoForm\n  BorderStyle = bsRound\nend\n",
                    {"line 2", "property BorderStyle of D", "bsRound"}}),
    [](const auto& info) { return std::string(info.param.title); });

// Designs read ahead on their own thread: every load builds the same form and raises the
// same error as without, whether the thread has read the design, is reading it, or has not
// reached it yet; a design is taken from the thread once, a second load reads it anew.
TEST(FormDesignTest, DesignsReadAheadBuildAndFailAsWithout) {
    static const char valid[] = "object F: TForm\n  Caption = 'ahead'\n"
                                "  object Box: TGroupBox\n    Left = 7\n"
                                "    object Lbl: TLabel\n      Caption = 'Hi'\n    end\n"
                                "  end\nend\n";
    static const char broken[] = "object F: TForm\n  Left = \nend\n";
    static const char other[] = "object F: TOtherForm\nend\n";
    for (auto [name, text] : {std::pair{"TEST_AHEAD_VALID", valid},
                              {"TEST_AHEAD_BROKEN", broken},
                              {"TEST_AHEAD_OTHER", other}})
        platform::core::RegisterResource(name, "RC_DATA",
                                         reinterpret_cast<const unsigned char*>(text),
                                         std::char_traits<char>::length(text));
    const std::vector<std::string> loads = {"TEST_AHEAD_VALID",   "TEST_AHEAD_BROKEN",
                                            "TEST_AHEAD_MISSING", "test_ahead_valid",
                                            "TEST_AHEAD_OTHER",   "TEST_AHEAD_VALID"};
    auto loadAll = [&] {
        std::vector<std::string> events;
        for (const std::string& name : loads) {
            TForm form(nullptr);
            try {
                LoadFormDesign(form, name, {"TForm", {}, {}});
                std::string built = name + " builds " + form.Caption();
                for (const TComponent* component : form.Components()) {
                    const auto* c = dynamic_cast<const TControl*>(component);
                    built += " " + component->Name() + "@" + std::to_string(c->Left()) +
                             (c->Parent() ? "<" + c->Parent()->Name() : "");
                }
                events.push_back(built);
            } catch (const Exception& e) {
                events.push_back(name + " raises: " + e.what());
            }
        }
        return events;
    };
    const std::vector<std::string> without = loadAll();
    ASSERT_EQ(without.size(), loads.size());
    EXPECT_EQ(without[0], "TEST_AHEAD_VALID builds ahead Box@7<F Lbl@0<Box");
    const std::vector<std::string> ahead = {"TEST_AHEAD_OTHER", "TEST_AHEAD_MISSING",
                                            "test_ahead_broken", "TEST_AHEAD_VALID"};
    for (int round = 0; round < 12; ++round) {
        std::vector<std::string> with;
        {
            TFormDesignsAhead designs(ahead);
            if (round % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            with = loadAll();
            EXPECT_EQ(designs.NeverAsked(), std::vector<std::string>{});
        }
        EXPECT_EQ(with, without) << "round " << round;
    }
}

TEST(FormDesignTest, MissingResourceIsNamed) {
    TForm form(nullptr);
    try {
        LoadFormDesign(form, "NO_SUCH_FORM", {"TForm", {}, {}});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Form design NO_SUCH_FORM: resource not found");
    }
}

} // namespace

namespace {

class TLabelForm : public TForm {
public:
    TLabelForm() : TForm(nullptr) {}
    TLabel* lbl_Fixed = nullptr;
    TLabel* lbl_Auto = nullptr;
    TFormBinding Binding() {
        return {"TLabelForm", {Field("lbl_Fixed", lbl_Fixed), Field("lbl_Auto", lbl_Auto)}, {}};
    }
};

// The form design lists a label's caption before "AutoSize = False"; the label must keep
// its designed size rather than shrink to the caption first.
TEST(FormDesignTest, LabelSizeIsSettledAfterEveryPropertyIsSet) {
    const char* const design = R"(object F: TLabelForm
  object lbl_Fixed: TLabel
    Left = 10
    Top = 10
    Width = 116
    Height = 28
    Caption = 'Go'
    AutoSize = False
  end
  object lbl_Auto: TLabel
    Left = 10
    Top = 50
    Width = 116
    Height = 28
    Caption = 'Go'
  end
end
)";
    TLabelForm form;
    LoadFormDesignText(form, design, "LABELS", form.Binding());
    EXPECT_EQ(form.lbl_Fixed->Width(), 116);
    EXPECT_EQ(form.lbl_Fixed->Height(), 28);
    EXPECT_LT(form.lbl_Auto->Width(), 116); // autosized to its short caption once loaded
}

} // namespace
