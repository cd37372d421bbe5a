// The kit in a form design: every class by its name, with the properties the window's
// design sets, check boxes quiet while the design loads; the tray icon in a session
// without a notification area.
#include "controls/RegisterControls.h"
#include "controls/skin/FrameCtrls.h"
#include "controls/skin/SkinCtrls.h"
#include "controls/skin/TrayIcon.h"
#include "controls/unicode/WideCtrls.h"
#include "platform/vcl/FormDesign.h"

#include <QIcon>
#include <QPixmap>
#include <QtGlobal>
#include <gtest/gtest.h>

using namespace controls;
using namespace controls::skin;
using namespace controls::unicode;

namespace {

class TKitForm : public platform::vcl::TForm {
public:
    TKitForm() : platform::vcl::TForm(nullptr) {}
    TSkinCheckBox* cb_Angle = nullptr;
    TSkinComboBox* cb_Rate = nullptr;
    TSkinEdit* Edt_Delay = nullptr;
    TSkinListBox* LB_Name = nullptr;
    TFramePanel* Pnl_Main = nullptr;
    TSkinButton* btn_Key101 = nullptr;
    TWideLabel* Key1 = nullptr;
    TWideComboBox* cb_Lang = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    int angleClicks = 0;
    void cb_AngleClick(platform::vcl::TObject*) { ++angleClicks; }

    platform::vcl::TFormBinding Binding() {
        return {
            "TKitForm",
            {platform::vcl::Field("cb_Angle", cb_Angle), platform::vcl::Field("cb_Rate", cb_Rate),
             platform::vcl::Field("Edt_Delay", Edt_Delay), platform::vcl::Field("LB_Name", LB_Name),
             platform::vcl::Field("Pnl_Main", Pnl_Main),
             platform::vcl::Field("btn_Key101", btn_Key101), platform::vcl::Field("Key1", Key1),
             platform::vcl::Field("cb_Lang", cb_Lang),
             platform::vcl::Field("TrayIcon1", TrayIcon1)},
            {platform::vcl::Handler("cb_AngleClick", this, &TKitForm::cb_AngleClick)}};
    }
};

const char* const kDesign = R"(object Kit: TKitForm
  object gbPage2: TSkinGroupBox
    Caption = 'Performance'
    object cb_Angle: TSkinCheckBox
      Caption = 'Angle snapping'
      Checked = True
      OnClick = cb_AngleClick
    end
    object cb_Rate: TSkinComboBox
      Style = csDropDownList
      Items = (
        '125'
        '500')
      ItemIndex = 1
      Font.Name = 'Arial'
    end
    object Edt_Delay: TSkinEdit
      Text = '20'
      BorderColor = $0000FF
    end
    object edt_Repeat: TSkinNumberEdit
      Text = '3'
    end
    object edt_Sensor: THexEdit
      Text = '1F'
    end
    object LB_Name: TSkinListBox
      Items = (
        'one')
      BorderColor = clLime
    end
  end
  object Pnl_Main: TFramePanel
    BorderColor = clYellow
    DoubleBuffered = True
    object btn_Key101: TSkinButton
      Caption = 'Left button'
    end
  end
  object gbFrame: TFrameGroupBox
    Caption = 'Fire'
  end
  object Pg_Parameter: TSkinPageControl
    object ts_Gun: TSkinTabSheet
      Caption = 'Gun'
    end
  end
  object Key1: TWideLabel
    Caption = 'Taste ü'
    Transparent = True
  end
  object cb_Lang: TWideComboBox
    Items = (
      'English')
  end
  object LB_MacroName: TWideListBox
  end
  object TrayIcon1: TTrayIcon
    IconVisible = True
  end
end
)";

} // namespace

TEST(ControlDesignTest, DesignCreatesEveryClassByNameWithItsProperties) {
    RegisterControlClasses();
    RegisterControlClasses(); // a second call changes nothing
    TKitForm form;
    platform::vcl::LoadFormDesignText(form, kDesign, "KIT", form.Binding());

    const std::pair<const char*, bool (*)(platform::vcl::TComponent*)> classes[] = {
        {"gbPage2", [](platform::vcl::TComponent* c) { return !!dynamic_cast<TSkinGroupBox*>(c); }},
        {"edt_Repeat",
         [](platform::vcl::TComponent* c) { return !!dynamic_cast<TSkinNumberEdit*>(c); }},
        {"edt_Sensor", [](platform::vcl::TComponent* c) { return !!dynamic_cast<THexEdit*>(c); }},
        {"gbFrame",
         [](platform::vcl::TComponent* c) { return !!dynamic_cast<TFrameGroupBox*>(c); }},
        {"Pg_Parameter",
         [](platform::vcl::TComponent* c) { return !!dynamic_cast<TSkinPageControl*>(c); }},
        {"ts_Gun", [](platform::vcl::TComponent* c) { return !!dynamic_cast<TSkinTabSheet*>(c); }},
        {"lb_macroname",
         [](platform::vcl::TComponent* c) { return !!dynamic_cast<TWideListBox*>(c); }},
    };
    for (const auto& [name, isClass] : classes) {
        platform::vcl::TComponent* c = form.FindComponent(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_TRUE(isClass(c)) << name;
    }

    EXPECT_TRUE(form.cb_Angle->Checked());
    EXPECT_EQ(form.cb_Angle->Caption(), "Angle snapping");
    EXPECT_EQ(form.cb_Rate->ItemIndex(), 1);
    EXPECT_EQ(form.cb_Rate->Font().Name(), "Arial");
    EXPECT_EQ(form.Edt_Delay->BorderColor(), platform::vcl::clRed);
    EXPECT_EQ(form.LB_Name->BorderColor(), platform::vcl::clLime);
    EXPECT_EQ(form.LB_Name->Items()[0], "one");
    EXPECT_EQ(form.Pnl_Main->BorderColor(), platform::vcl::clYellow);
    EXPECT_TRUE(form.Pnl_Main->DoubleBuffered());
    EXPECT_EQ(form.btn_Key101->Parent(), form.Pnl_Main);
    EXPECT_EQ(form.btn_Key101->Caption(), "Left button");
    EXPECT_EQ(dynamic_cast<THexEdit*>(form.FindComponent("edt_Sensor"))->Value(), 31);
    EXPECT_EQ(dynamic_cast<TSkinPageControl*>(form.FindComponent("Pg_Parameter"))->PageCount(), 1);
    EXPECT_EQ(TWideLabel::GetCaption(form.Key1), u"Taste \u00fc");
    EXPECT_EQ(TWideComboBox::GetItems(form.cb_Lang)[0], u"English");
    EXPECT_TRUE(form.TrayIcon1->IconVisible());
}

TEST(ControlDesignTest, CheckBoxChecksQuietlyDuringLoadingAndClicksAfterwards) {
    RegisterControlClasses();
    TKitForm form;
    platform::vcl::LoadFormDesignText(form, kDesign, "KIT", form.Binding());
    EXPECT_EQ(form.angleClicks, 0);
    form.cb_Angle->SetChecked(true);
    EXPECT_EQ(form.angleClicks, 0);
    form.cb_Angle->SetChecked(false);
    EXPECT_EQ(form.angleClicks, 1);
}

TEST(ControlDesignTest, CheckBoxClicksOnlyOnceTheDesignHasLoaded) {
    // Handlers bound early (a form filling a box in its own constructor) stay quiet
    // until the loader says the design is complete.
    TSkinCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](platform::vcl::TObject*) { ++clicks; };
    platform::vcl::TDesignValue on;
    on.kind = platform::vcl::TDesignValue::Kind::Identifier;
    on.text = "True";
    ASSERT_TRUE(box.SetDesignProperty("Checked", on));
    EXPECT_TRUE(box.Checked());
    box.SetChecked(false);
    EXPECT_EQ(clicks, 0);
    box.Loaded();
    box.SetChecked(true);
    EXPECT_EQ(clicks, 1);
}

namespace {
std::vector<std::string> gMessages;
void Collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg) gMessages.push_back(message.toStdString());
}
} // namespace

TEST(TrayIconTest, WithoutANotificationAreaItStaysQuietAndFreesCleanly) {
    gMessages.clear();
    QtMessageHandler previous = qInstallMessageHandler(Collect);
    {
        platform::vcl::TComponent owner(nullptr);
        auto* tray = new TTrayIcon(&owner);
        EXPECT_TRUE(tray->IconVisible());
        EXPECT_TRUE(tray->Icon().Empty());
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::cyan);
        TIcon icon{QIcon(pixmap)};
        tray->SetIcon(icon);
        EXPECT_FALSE(tray->Icon().Empty());
        // The offscreen session has no notification area, so nothing is shown.
        EXPECT_FALSE(tray->Showing());
        tray->SetIconVisible(false);
        tray->SetIconVisible(true);
        tray->SetIcon(ApplicationIcon());
        delete tray;
        EXPECT_EQ(owner.ComponentCount(), 0);
        // One left to its owner goes with it.
        new TTrayIcon(&owner);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(gMessages.empty()) << gMessages.front();
}
