// The fire page against the simulated mouse: reached from the key-function menu, it puts a
// fire (gun) macro code into the key the menu was opened for, in the copies, in the key's
// caption and on the mouse. Beside it the hold marks of the performance page and the
// gun-key switch of the key page, which rewrite key records while the window's own changes
// of the hold boxes stay quiet (FireHoldSyncGuard), also when a step fails.
#include "DeviceFixture.h"
#include "HostReports.h"

#include "device/Macros.h"
#include "platform/rtl/SysUtils.h"
#include "window/device/ButtonNames.h"

#include <QTest>
#include <QWidget>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t ProfileStart[3] = {192, 241, 290};
constexpr size_t IdentityStart = 484;

class FirePageTest : public FormDeviceTest {
protected:
    void SetUp() override {
        FormDeviceTest::SetUp();
        // The engineering page's lists as the start-up fills them from the caption table.
        form->SelectLanguageByLocale();
    }
    template <class T = platform::vcl::TControl> T& Control(const std::string& name) {
        return form->Named<T>(name);
    }
    void Click(const std::string& name) { Control(name).Click(); }
    // The page shown: the one of gbPage1 .. gbPage7 that is visible; -1 for more than one.
    int ShownPage() const {
        int shown = 0;
        for (int n = 1; n <= 7; ++n)
            if (form->Named<platform::vcl::TControl>("gbPage" + std::to_string(n)).Visible())
                shown = shown ? -1 : n;
        return shown;
    }
    static Bytes KeyBytes(const Bytes& image, int profile, int key) {
        const size_t at = ProfileStart[profile - 1] + 4 * (key - 1);
        return Bytes(image.begin() + at, image.begin() + at + 4);
    }
    static Bytes CodeBytes(const std::string& code) {
        const device::TButtonFunction record = device::ButtonFunctionFromText(code);
        return Bytes(record.begin(), record.end());
    }
    std::vector<Report> Sent() const { return HostReports(*bus); }
    // Notes FireHoldSyncGuard at every step of the busy window, that is, during every
    // transfer to the mouse.
    void WatchGuard() {
        guardSeen.clear();
        busy.onStep = [this](int) { guardSeen.push_back(form->FireHoldSyncGuard); };
    }
    std::vector<int> guardSeen;
};

// One way through the fire page: the key the menu is opened at, the gun mode chosen, the
// left-button box, the gun variants of the layout settings, combination switch 8 with
// the gaming-mode switch whose mask it lends the gun keys, and the code the key gets.
struct FireCase {
    const char* key;
    int mode;
    bool left;
    int gun6;
    int gun7;
    bool gunKeySwitch;
    int gamingSwitch; // item of cb_ChangeFireFun
    const char* code;
};

TEST_F(FirePageTest, TheMenuEntryOpensTheFirePageAndConfirmPutsTheGunCodeIntoTheKey) {
    auto mouse = StartWithMouse();
    form->rb_1->SetChecked(true);
    form->FireScriptsLoaded = 0;
    const FireCase cases[] = {
        {"Key3", 1, false, 1, 1, false, 0, "0B000100"},
        {"Key5", 5, true, 1, 1, false, 2, "0B140100"},
        {"Key2", 6, false, 2, 1, true, 2, "0B050208"},
        {"Key12", 7, true, 1, 3, true, 5, "0B170302"},
        {"Key7", 7, false, 2, 2, true, 0, "0B070200"},
        {"Key4", 6, true, 1, 3, false, 4, "0B150100"},
        {"Key6", 2, false, 2, 3, true, 6, "0B010102"},
    };
    for (const FireCase& c : cases) {
        SCOPED_TRACE(c.code);
        form->Gun6Number = c.gun6;
        form->Gun7Number = c.gun7;
        form->cb_IsGunFireMode->SetChecked(c.gunKeySwitch);
        form->cb_ChangeFireFun->SetItemIndex(c.gamingSwitch);
        form->cb_FireSelLeft->SetChecked(c.left);
        bus->ClearTranscript();

        Click(c.key);
        ASSERT_TRUE(form->Pnl_Main->Visible());
        Click("Key_FireMacro");
        EXPECT_EQ(ShownPage(), 6);
        EXPECT_FALSE(form->Pnl_Main->Visible());
        EXPECT_TRUE(Sent().empty()) << "showing the page sends nothing";
        Click("Btn_Fire" + std::to_string(c.mode));
        for (int n = 1; n <= 7; ++n) {
            const std::string number = std::to_string(n);
            EXPECT_EQ(Control<platform::vcl::TRadioButton>("rb_Fire" + number).Checked(),
                      n == c.mode);
            EXPECT_EQ(Control<platform::vcl::TImage>("Img_Fire" + number).PictureName(),
                      "Gun" + number + (n == c.mode ? "_02" : "_01"));
        }
        Click("Btn_FireConfirm");

        const int key = std::stoi(std::string(c.key).substr(3));
        EXPECT_EQ(form->KeyCodeStrings[0][key - 1], c.code);
        EXPECT_EQ(
            Bytes(form->Profile1Copy.begin() + 4 * (key - 1), form->Profile1Copy.begin() + 4 * key),
            CodeBytes(c.code));
        EXPECT_EQ(KeyBytes(mouse->Image(), 1, key), CodeBytes(c.code));
        // Without the fire script file the code is named after its gun preset.
        const std::string preset = window::device::CodeToFunctionName(*form, c.code);
        EXPECT_FALSE(preset.empty());
        EXPECT_EQ(Control(c.key).Caption(), preset);
        EXPECT_EQ(ShownPage(), 1);
        const auto sent = Sent();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.back()[3], 164) << "the profile block write ends with the profile";
    }
}

// The left-button box as a user clicks it: on its square, where the label over the box's
// picture lies, or on its caption. Each click toggles the box, the picture shows the box,
// and Confirm writes what the page showed.
TEST_F(FirePageTest, FireLeftBoxTogglesFromItsSquareAndItsCaptionAndConfirmReadsIt) {
    auto mouse = StartWithMouse();
    form->Show();
    form->rb_1->SetChecked(true);
    form->FireScriptsLoaded = 0;
    form->cb_IsGunFireMode->SetChecked(false);
    QWidget* window = form->Widget();
    // What lies on top at a point of a control, and that point in its own coordinates.
    auto clickAt = [&](const platform::vcl::TControl& control, QPoint at) {
        const QPoint inWindow = control.Widget()->mapTo(window, at);
        QWidget* top = window->childAt(inWindow);
        ASSERT_NE(top, nullptr);
        QTest::mouseClick(top, Qt::LeftButton, {}, top->mapFrom(window, inWindow));
    };
    const auto& square = Control("Img_FireSelLeft");
    const auto& box = Control("cb_FireSelLeft");
    struct Step {
        const char* where;
        bool checked; // after the click
    };
    const Step steps[] = {{"square", true},   {"square", false}, {"caption", true},
                          {"caption", false}, {"caption", true}, {"square", false}};
    // The page starts with the box's own state in its picture.
    EXPECT_FALSE(form->cb_FireSelLeft->Checked());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_FireSelLeft").PictureName(), "CbS_D");
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.where) + (step.checked ? " checks" : " clears"));
        Click("Key3");
        Click("Key_FireMacro");
        ASSERT_EQ(ShownPage(), 6);
        Click("Btn_Fire1");
        if (std::string(step.where) == "square")
            clickAt(square, QPoint(square.Width() / 2, square.Height() / 2));
        else
            clickAt(box, QPoint(box.Width() / 2, box.Height() / 2));
        EXPECT_EQ(form->cb_FireSelLeft->Checked(), step.checked);
        EXPECT_EQ(Control<platform::vcl::TImage>("Img_FireSelLeft").PictureName(),
                  step.checked ? "CbS_E" : "CbS_D");
        Click("Btn_FireConfirm");
        const std::string code = step.checked ? "0B100100" : "0B000100";
        EXPECT_EQ(form->KeyCodeStrings[0][2], code);
        EXPECT_EQ(KeyBytes(mouse->Image(), 1, 3), CodeBytes(code));
    }
}

TEST_F(FirePageTest, ACombinationRecordTakesTheGunCodeInOneWriteAndExitChangesNothing) {
    auto mouse = StartWithMouse();
    Control<platform::vcl::TRadioButton>("rb_Fire3").SetChecked(true);
    form->cb_FireSelLeft->SetChecked(true);
    form->cb_IsGunFireMode->SetChecked(false);
    bus->ClearTranscript();

    Click("btn_ComboKey002");
    Click("Key_FireMacro");
    EXPECT_EQ(ShownPage(), 6);
    Click("Btn_FireConfirm");
    EXPECT_EQ(Sent(), (std::vector<Report>{{0x40, 0x05, 0x01, 131, 0x0B, 0x12, 0x01, 0x00}}));
    EXPECT_EQ(form->ComboCodeStrings[1], "0B120100");
    EXPECT_EQ(form->VendorCopy[131], 0x0B);
    EXPECT_EQ(mouse->LiveBytes()[132], 0x12);

    // Exit leaves the key as it was and sends nothing.
    const std::string before = form->KeyCodeStrings[0][2];
    form->rb_1->SetChecked(true);
    bus->ClearTranscript();
    Click("Key3");
    Click("Key_FireMacro");
    Click("Btn_Fire4");
    Click("Btn_FireExit");
    EXPECT_EQ(ShownPage(), 1);
    EXPECT_EQ(form->KeyCodeStrings[0][2], before);
    EXPECT_TRUE(Sent().empty());

    // A gun variant the layout settings should not give is no code: nothing changes.
    form->Gun7Number = 4;
    Click("Key3");
    Click("Key_FireMacro");
    Click("Btn_Fire7");
    Click("Btn_FireConfirm");
    EXPECT_EQ(ShownPage(), 1);
    EXPECT_EQ(form->KeyCodeStrings[0][2], before);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(FirePageTest, WhileTheFormIsFilledTheGunCodeIsKeptButNotSent) {
    auto mouse = StartWithMouse();
    form->rb_1->SetChecked(true);
    const Bytes before = mouse->Image();
    bus->ClearTranscript();
    window::shell::UiLoadingFlag = 1;
    Click("Key2");
    Click("Key_FireMacro");
    Click("Btn_Fire2");
    Click("Btn_FireConfirm");
    window::shell::UiLoadingFlag = 0;

    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(mouse->Image(), before);
    EXPECT_EQ(form->KeyCodeStrings[0][1].substr(0, 6), "0B0101");
    EXPECT_EQ(form->Profile1Copy[4], 0x0B);
}

TEST_F(FirePageTest, AHoldMarkTogglesItsFireKeysHoldInEveryKeyCarryingItWithTheGuardUp) {
    // The first default image: fire key 3 (8 shots every 60) on key 3 of profile 3
    // without hold, fire key 1 with hold on key 3 of profile 2.
    auto mouse = StartWithMouse();
    ASSERT_EQ(form->KeyCodeStrings[2][2], "0617003C");
    ASSERT_FALSE(form->cb_Fire3Continue->Checked());
    WatchGuard();
    bus->ClearTranscript();

    Click("lbl_Fire3Continue");
    EXPECT_TRUE(form->cb_Fire3Continue->Checked());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_Fire3Continue").PictureName(), "CbS_E");
    EXPECT_EQ(form->KeyCodeStrings[2][2], "0697003C");
    EXPECT_EQ(KeyBytes(mouse->Image(), 3, 3), (Bytes{0x06, 0x97, 0x00, 0x3C}));
    EXPECT_EQ(KeyBytes(mouse->Image(), 2, 3), (Bytes{0x06, 0x92, 0x00, 0x3C}));
    const Bytes image = mouse->Image();
    EXPECT_EQ(Bytes(image.begin() + IdentityStart + 2, image.begin() + IdentityStart + 11),
              (Bytes{0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x07, 0x00, 0x3C}));
    ASSERT_FALSE(guardSeen.empty());
    EXPECT_EQ(guardSeen, std::vector<int>(guardSeen.size(), 1));
    EXPECT_EQ(form->FireHoldSyncGuard, 0);

    // The second click takes the hold away again.
    Click("lbl_Fire3Continue");
    EXPECT_FALSE(form->cb_Fire3Continue->Checked());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_Fire3Continue").PictureName(), "CbS_D");
    EXPECT_EQ(KeyBytes(mouse->Image(), 3, 3), (Bytes{0x06, 0x17, 0x00, 0x3C}));
}

TEST_F(FirePageTest, HoldMarksAndTheGunKeySwitchSendNothingWhileTheFormIsFilled) {
    auto mouse = StartWithMouse();
    const Bytes before = mouse->Image();
    bus->ClearTranscript();
    window::shell::UiLoadingFlag = 1;
    for (const char* mark : {"lbl_Fire1Continue", "lbl_Fire2Continue", "IB_ComboKey8"}) {
        SCOPED_TRACE(mark);
        Click(mark);
        EXPECT_EQ(form->FireHoldSyncGuard, 0);
    }
    window::shell::UiLoadingFlag = 0;
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(mouse->Image(), before);
    EXPECT_TRUE(form->cb_IsGunFireMode->Checked());
}

TEST_F(FirePageTest, TheGuardFallsAlsoWhenAStepRaises) {
    StartWithMouse();
    // A record that is no code stops the naming of the keys with a conversion error.
    form->KeyCodeStrings[0][0] = "06ZZ0000";
    bus->ClearTranscript();
    for (const char* mark :
         {"lbl_Fire1Continue", "lbl_Fire2Continue", "lbl_Fire3Continue", "IB_ComboKey8"}) {
        SCOPED_TRACE(mark);
        form->FireHoldSyncGuard = 0;
        EXPECT_THROW(Click(mark), platform::rtl::EConvertError);
        EXPECT_EQ(form->FireHoldSyncGuard, 0);
    }
    EXPECT_TRUE(Sent().empty());
}

TEST_F(FirePageTest, TheGunKeySwitchGivesTheFireScriptKeysTheGamingSwitchsMask) {
    // The second default image: profile 2 keys 2 and 5 are gun keys 0B170308, 0B150208.
    auto mouse = AddMouse(DefaultImage(2));
    Tick();
    form->FireScriptsLoaded = 1;
    form->FireScriptCodes[0] = "0B170300";
    form->FireScriptCodes[1] = "0B150200";
    form->cb_IsGunFireMode->SetChecked(false);
    form->cb_ChangeFireFun->SetItemIndex(5); // backward button with the right button: 02

    struct Step {
        bool checked;
        const char* picture;
        Bytes key2;
        Bytes key5;
    };
    const Step steps[] = {{true, "CbS_E", {0x0B, 0x17, 0x03, 0x02}, {0x0B, 0x15, 0x02, 0x02}},
                          {false, "CbS_D", {0x0B, 0x17, 0x03, 0x00}, {0x0B, 0x15, 0x02, 0x00}}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.checked);
        WatchGuard();
        bus->ClearTranscript();
        Click("IB_ComboKey8");
        EXPECT_EQ(form->cb_IsGunFireMode->Checked(), step.checked);
        EXPECT_EQ(Control<platform::vcl::TImage>("Img_ComboKey8").PictureName(), step.picture);
        EXPECT_EQ(KeyBytes(mouse->Image(), 2, 2), step.key2);
        EXPECT_EQ(KeyBytes(mouse->Image(), 2, 5), step.key5);
        EXPECT_EQ(KeyBytes(mouse->Image(), 2, 6), (Bytes{0x09, 0x00, 0x00, 0x08}))
            << "other keys keep their masks";
        ASSERT_FALSE(guardSeen.empty());
        EXPECT_EQ(guardSeen, std::vector<int>(guardSeen.size(), 1));
        EXPECT_EQ(form->FireHoldSyncGuard, 0);
        EXPECT_EQ(Sent().back()[3], 164);
    }
}

TEST_F(FirePageTest, TheRefreshShowsEveryGamingSwitchTheKeysCarry) {
    // The first default image: DPI loop held (09000008) and backward with the right button
    // (01080002), the last of them in key order a DPI loop.
    StartWithMouse();
    // The searches of the refresh leave the key-name cache filled with the keys' names.
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(form->KeyNameCache[i],
                  window::device::CodeToFunctionName(*form, form->KeyCodeStrings[i / 12][i % 12]))
            << i;
    EXPECT_EQ(form->cb_ChangeFireFun->ItemIndex(), 2);
    const char* expected[] = {"CbS_D", "CbS_E", "CbS_D", "CbS_D", "CbS_E", "CbS_D"};
    for (int s = 0; s < 6; ++s)
        EXPECT_EQ(
            Control<platform::vcl::TImage>("Img_ComboKey" + std::to_string(s + 2)).PictureName(),
            expected[s])
            << s + 2;
    EXPECT_FALSE(form->cb_IsGunFireMode->Checked());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_ComboKey8").PictureName(), "CbS_D");

    // A fire script key with a mask turns switch 8 on; the same key named by its preset
    // (no script file) does not.
    form->KeyCodeStrings[1][1] = "0B170308";
    form->FireScriptsLoaded = 1;
    form->FireScriptCodes[0] = "0B170300";
    form->TLRefreshFireFun();
    EXPECT_TRUE(form->cb_IsGunFireMode->Checked());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_ComboKey8").PictureName(), "CbS_E");
    form->FireScriptsLoaded = 0;
    form->TLRefreshFireFun();
    EXPECT_FALSE(form->cb_IsGunFireMode->Checked());
}

} // namespace
} // namespace devtest
