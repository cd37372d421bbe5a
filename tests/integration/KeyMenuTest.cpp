// Choosing a key's function from the key-function menu against the simulated mouse: where
// the menus open, what the chosen function changes in the window, the copies and the
// mouse, and the choices that send nothing.
#include "DeviceFixture.h"
#include "HostReports.h"

#include "window/device/DeviceTexts.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t Profile1Start = 192;
constexpr size_t Profile2Start = 241;
constexpr size_t SectionBytes = 49;

class KeyMenuTest : public FormDeviceTest {
protected:
    std::vector<Report> Sent() const { return HostReports(*bus); }
    static void ExpectFreshChecksum(const Bytes& image, size_t start) {
        const Bytes section(image.begin() + start, image.begin() + start + SectionBytes);
        EXPECT_EQ(section.back(), SectionStamp(section)) << "section at " << start;
    }
    bool AnyMenuVisible() const {
        for (const char* name :
             {"Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_Profile", "Pnl_AdjustXY"})
            if (Visible(name)) return true;
        return false;
    }
};

TEST_F(KeyMenuTest, TheMenuOpensBelowTheClickedKeyAndItsSubMenuBesideIt) {
    StartWithMouse();
    form->ComboKeyMenuFlag = 1;
    auto& key = Control("Key3");
    key.Click();
    EXPECT_EQ(form->ComboKeyMenuFlag, 0);
    ASSERT_TRUE(form->Pnl_Main->Visible());
    EXPECT_EQ(form->Pnl_Main->Left(), form->gbPage1->Left() + key.Left());
    EXPECT_EQ(form->Pnl_Main->Top(), form->gbPage1->Top() + key.Top() + key.Height());

    Control("ST_Media").Click();
    ASSERT_TRUE(form->Pnl_Media->Visible());
    EXPECT_EQ(form->Pnl_Media->Left(), form->Pnl_Main->Left() + form->Pnl_Main->Width());
    EXPECT_EQ(form->Pnl_Media->Top(), form->Pnl_Main->Top() + Control("ST_Media").Top());
    // Another entry replaces the open sub-menu; the text label opens it like the arrow.
    Control("Key_Standard").Click();
    EXPECT_TRUE(form->Pnl_MseKey->Visible());
    EXPECT_FALSE(form->Pnl_Media->Visible());
    EXPECT_TRUE(form->Pnl_Main->Visible());
    // A later key moves the menu there with its sub-menus closed.
    Control("Key7").Click();
    EXPECT_FALSE(form->Pnl_MseKey->Visible());
    EXPECT_EQ(form->Pnl_Main->Top(),
              form->gbPage1->Top() + Control("Key7").Top() + Control("Key7").Height());
}

// A sub-menu opens right of the menu that holds its entry where it has room there: inside the
// window and clear of the levels still open. Beside a right-column key the special menu goes
// left, and its own sub-menu too, unless that one finds room right of it above the main
// menu (the bottom key, whose menus are pushed up into the window).
TEST_F(KeyMenuTest, SubMenusOfARightColumnKeyOpenOnTheSideWithRoom) {
    StartWithMouse();
    struct Case {
        const char* key;
        bool specialRight;
        bool cpiRight;
    };
    for (const Case& c :
         {Case{"Key3", true, true}, Case{"Key7", false, false}, Case{"Key12", false, true}}) {
        SCOPED_TRACE(c.key);
        auto& main = *form->Pnl_Main;
        auto& special = *form->Pnl_Special;
        auto& cpi = Control("Pnl_CPIKey");
        Control(c.key).Click();
        Control("ST_Special").Click();
        Control("ST_CPIKey").Click();
        ASSERT_TRUE(main.Visible() && special.Visible() && cpi.Visible());
        EXPECT_EQ(special.Left(),
                  c.specialRight ? main.Left() + main.Width() : main.Left() - special.Width());
        EXPECT_EQ(cpi.Left(),
                  c.cpiRight ? special.Left() + special.Width() : special.Left() - cpi.Width());
        // Level with its entry while that stays inside the window.
        EXPECT_EQ(special.Top(), std::min(main.Top() + Control("ST_Special").Top(),
                                          form->ClientHeight() - special.Height()));
        EXPECT_EQ(cpi.Top(), special.Top() + Control("ST_CPIKey").Top());
        const bool sharesMainColumns =
            cpi.Left() < main.Left() + main.Width() && main.Left() < cpi.Left() + cpi.Width();
        EXPECT_FALSE(sharesMainColumns && cpi.Top() < main.Top() + main.Height() &&
                     main.Top() < cpi.Top() + cpi.Height());
    }
}

TEST_F(KeyMenuTest, MiddleForKey3OfProfile1ReachesCaptionCopyAndTheMouseImage) {
    auto mouse = StartWithMouse();
    form->rb_1->SetChecked(true);
    Control<controls::skin::TSkinComboBox>("cb_MidCom").SetItemIndex(3); // 0x04
    bus->ClearTranscript();

    Choose("Key3", "ST_Standard", "Key_Middle", u"> Middle");

    EXPECT_EQ(Control("Key3").Caption(), "Middle");
    EXPECT_EQ(form->KeyCodeStrings[0][2], "01040004");
    EXPECT_EQ(Bytes(form->Profile1Copy.begin() + 8, form->Profile1Copy.begin() + 12),
              (Bytes{0x01, 0x04, 0x00, 0x04}));
    const Bytes image = mouse->Image();
    EXPECT_EQ(Bytes(image.begin() + Profile1Start + 8, image.begin() + Profile1Start + 12),
              (Bytes{0x01, 0x04, 0x00, 0x04}));
    ExpectFreshChecksum(image, Profile1Start);
    // The block write ends with the profile taken again.
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[1], 0x05);
    EXPECT_EQ(sent.back()[3], 164);
    EXPECT_FALSE(AnyMenuVisible());
}

TEST_F(KeyMenuTest, EngineeringButtonsServeTheirProfileKeyOrCombinationRecord) {
    auto mouse = StartWithMouse();
    bus->ClearTranscript();

    // A combination-key record is one configuration write at its vendor offset.
    Choose("btn_ComboKey003", "Key_Media", "Key_VolumePlus", u"  Volume +");
    EXPECT_EQ(form->ComboKeyMenuFlag, 1);
    EXPECT_EQ(Sent(), (std::vector<Report>{{0x40, 0x05, 0x01, 127 + 8, 0x03, 0x00, 0xE9, 0x00}}));
    EXPECT_EQ(Control("btn_ComboKey003").Caption(), "Volume +");
    EXPECT_EQ(Bytes(form->VendorCopy.begin() + 135, form->VendorCopy.begin() + 139),
              (Bytes{0x03, 0x00, 0xE9, 0x00}));
    EXPECT_EQ(form->ComboCodeStrings[2], "0300E900");
    EXPECT_EQ(mouse->LiveBytes()[135], 0x03);
    EXPECT_EQ(mouse->LiveBytes()[137], 0xE9);
    EXPECT_FALSE(AnyMenuVisible());

    // The last record: the highest offset, 127 + 4 * 8.
    bus->ClearTranscript();
    Choose("btn_ComboKey009", "ST_AdjustXY", "Key_AdjustXYSwitch", u"  XY");
    EXPECT_EQ(Sent(), (std::vector<Report>{{0x40, 0x05, 0x01, 159, 0x0A, 0x01, 0x00, 0x00}}));

    // Key 5 of profile 2: the profile switch is the plain one for a profile key.
    Choose("btn_Key205", "ST_ProfileKey", "Key_Profile2", u"  Profile 2");
    EXPECT_EQ(form->ComboKeyMenuFlag, 0);
    EXPECT_EQ(form->KeyCodeStrings[1][4], "07810000");
    EXPECT_EQ(Control("btn_Key205").Caption(), "Profile 2");
    const Bytes image = mouse->Image();
    EXPECT_EQ(Bytes(image.begin() + Profile2Start + 16, image.begin() + Profile2Start + 20),
              (Bytes{0x07, 0x81, 0x00, 0x00}));
    ExpectFreshChecksum(image, Profile2Start);
    // Key 12 of profile 3, the last key button.
    Choose("btn_Key312", "ST_Special", "Key_KeyOff", u"  Off");
    EXPECT_EQ(form->KeyCodeStrings[2][11], "00000000");
    EXPECT_EQ(mouse->Image()[290 + 44], 0x00);
}

TEST_F(KeyMenuTest, WhileTheFormIsFilledTheChoiceIsKeptButNothingIsSent) {
    StartWithMouse();
    form->rb_1->SetChecked(true);
    bus->ClearTranscript();
    window::shell::UiLoadingFlag = 1;
    Choose("Key1", "ST_ACPIKey", "Key_Sleep", u"  Sleep");
    Choose("btn_ComboKey001", "ST_CPIKey", "Key_CPI", u"  CPI");
    window::shell::UiLoadingFlag = 0;

    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(form->KeyCodeStrings[0][0], "04020000");
    EXPECT_EQ(form->Profile1Copy[0], 0x04);
    EXPECT_EQ(form->VendorCopy[127], 0x09);
    EXPECT_EQ(Control("Key1").Caption(), "Sleep");
    EXPECT_FALSE(AnyMenuVisible());
}

TEST_F(KeyMenuTest, TheFireMacroKeyWithoutAnI2CMouseIsRefusedAndChangesNothing) {
    auto mouse = StartWithMouse();
    form->rb_1->SetChecked(true);
    form->DetectedInterface.clear();
    const std::string caption = Control("Key2").Caption();
    const std::string code = form->KeyCodeStrings[0][1];
    const Bytes before = mouse->Image();
    bus->ClearTranscript();

    Choose("Key2", "ST_Special", "Key_FireMacroKey", u"  Fire macro key");

    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], window::device::DeviceText("Str022"));
    EXPECT_EQ(Control("Key2").Caption(), caption);
    EXPECT_EQ(form->KeyCodeStrings[0][1], code);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(mouse->Image(), before);
    EXPECT_FALSE(AnyMenuVisible());

    // With the I2C answer the same choice is the fire-macro key.
    form->DetectedInterface = "I2C";
    Choose("Key2", "ST_Special", "Key_FireMacroKey", u"  Fire macro key");
    EXPECT_EQ(form->KeyCodeStrings[0][1], "1006A0FF");
    EXPECT_EQ(mouse->Image()[Profile1Start + 4], 0x10);
    EXPECT_EQ(modal->texts.size(), 1u);
}

} // namespace
} // namespace devtest
