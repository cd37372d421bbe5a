// The page entries of the headers and the engineering row: their guards, the page they
// show and remember, the pressed pictures on the five headers, the profile choice written
// to the mouse, the window sizes, and the page shown again after a language switch.
#include "ShellTestSupport.h"

#include "common/Screenshot.h"
#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "platform/win/HidBus.h"
#include "simulator/SimBus.h"
#include "simulator/SimMouse.h"
#include "window/device/ButtonNames.h"
#include "window/shell/LanguageTables.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace platform::rtl;
using namespace platform::vcl;

namespace {

const char* const Entries[] = {"Main",   "Switch", "Fixed",  "Adv",
                               "Breath", "Macro",  "Update", "Engineer"};
const char* const AllMenuFamilies[] = {"Main",  "Switch", "Fixed",    "Adv",  "Breath",
                                       "Macro", "Update", "Engineer", "Save", "Load"};

using Write = std::pair<int, int>; // live address, value

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        bus = std::make_shared<simulator::SimBus>();
        platform::win::SetBus(bus);
        form = shell_test::StartedForm();
        // Every message box is answered at once and its text kept.
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(box->text().toStdString());
                box->accept();
            }
        });
        answerer.start(1);
    }

    void TearDown() override {
        answerer.stop();
        form.reset();
        device::ReleaseDeviceHandles();
        for (const simulator::Violation& v : bus->Violations())
            ADD_FAILURE() << simulator::Describe(v);
        platform::win::SetBus(nullptr);
    }

    // The mouse of the shipped default image, found and read as the device timer would.
    void ConnectMouse() {
        simulator::SimMouseConfig config;
        config.vendorId = static_cast<uint16_t>(device::DeviceIdTable[0].vendorId);
        config.productId = static_cast<uint16_t>(device::DeviceIdTable[0].productId);
        config.image = device::OpenResourceBytes(device::DefaultImageResources[0]);
        mouse = bus->AddMouse(config);
        form->OpenDeviceByTable();
        ASSERT_EQ(form->DetectedInterface, "I2C");
        ASSERT_EQ(window::shell::NoDevicePageFlag, 0);
    }

    // Single-byte live writes (command 05 00) since the transcript was cleared.
    std::vector<Write> LiveWrites() const {
        std::vector<Write> writes;
        for (const simulator::TranscriptEntry& e : bus->Transcript())
            if (e.kind == simulator::TransferKind::SetFeature && e.bytes[0] == 0x40 &&
                e.bytes[1] == 0x05)
                writes.emplace_back(e.bytes[3], e.bytes[4]);
        return writes;
    }

    void Click(const std::string& name) { form->Named<TControl>(name).Click(); }

    std::string Picture(const std::string& image) const {
        return form->Named<TImage>(image).PictureName();
    }
    std::vector<std::string> Pictures(const std::string& family) const {
        std::vector<std::string> names;
        for (int i = 1; i <= 5; ++i)
            names.push_back(Picture("Img_" + family + "_" + std::to_string(i)));
        return names;
    }
    // Only this entry shows pressed; every other menu picture is normal.
    void ExpectOnlyPressed(const std::string& pressed) const {
        for (const char* family : AllMenuFamilies)
            EXPECT_EQ(Pictures(family),
                      std::vector<std::string>(5, family == pressed ? "SetS_03" : "SetS_01"))
                << family;
    }

    // The number of the one visible page, 0 when none or several are.
    int VisiblePage() const {
        int shown = 0;
        for (int n = 1; n <= 7; ++n)
            if (form->Named<TControl>("gbPage" + std::to_string(n)).Visible())
                shown = shown ? -1 : n;
        return shown < 0 ? 0 : shown;
    }
    // The number of the checked page radio, 0 when none is.
    int CheckedPage() const {
        for (int n = 1; n <= 8; ++n)
            if (form->Named<TRadioButton>("rb_" + std::to_string(n)).Checked()) return n;
        return 0;
    }
    bool Visible(const char* name) const { return form->Named<TControl>(name).Visible(); }
    bool OverlaysShown() const {
        for (int i = 1; i <= 5; ++i)
            if (form->Named<TControl>("Disable_All_" + std::to_string(i)).Visible()) return true;
        return false;
    }

    std::shared_ptr<simulator::SimBus> bus;
    std::shared_ptr<simulator::SimMouse> mouse;
    shell_test::FormPtr form;
    QTimer answerer;
    std::vector<std::string> messages;
};

TEST_F(NavigationTest, WithoutAMouseEveryEntryOnEveryCopySaysSoAndChangesNothing) {
    ASSERT_EQ(device::CommandHandle, platform::win::INVALID_HANDLE_VALUE);
    const std::string finding = window::shell::LanguageText(1, "Str022");
    ASSERT_FALSE(finding.empty());
    size_t expected = 0;
    for (const char* entry : Entries)
        for (int copy = 1; copy <= 6; ++copy) {
            Click("Btn_" + std::string(entry) + "_" + std::to_string(copy));
            ASSERT_EQ(messages.size(), ++expected) << entry << copy;
            EXPECT_EQ(messages.back(), finding);
        }
    EXPECT_EQ(CheckedPage(), 1);
    EXPECT_EQ(VisiblePage(), 1);
    ExpectOnlyPressed("Main");
    EXPECT_EQ(form->Width(), 1030);
    EXPECT_FALSE(OverlaysShown());
}

TEST_F(NavigationTest, EveryHeaderCopyAndEngineeringButtonOpensItsPage) {
    ConnectMouse();
    const int pageOf[] = {1, 1, 1, 2, 3, 4, 5, 7};
    for (int e = 0; e < 8; ++e)
        for (int copy = 1; copy <= 6; ++copy) {
            // Start each time from another page, so the entry has something to change.
            Click(e == 3 ? "Btn_Breath_1" : "Btn_Adv_1");
            Click("Btn_" + std::string(Entries[e]) + "_" + std::to_string(copy));
            EXPECT_EQ(CheckedPage(), e + 1) << Entries[e] << copy;
            EXPECT_EQ(VisiblePage(), pageOf[e]) << Entries[e] << copy;
        }
    EXPECT_TRUE(messages.empty());
}

TEST_F(NavigationTest, EachPageShowsItsEntryPressedItsBackgroundAndNoOverlays) {
    ConnectMouse();
    struct Case {
        const char* entry;
        const char* background; // image, empty for none
        const char* picture;
    };
    for (const Case& c : {Case{"Switch", "Img_P1", "L1_Back1"}, Case{"Adv", "Img_P2", "L1_Back2"},
                          Case{"Breath", "Img_P3", "L1_Back3"}, Case{"Macro", "Img_P4", "L1_Back4"},
                          Case{"Fixed", "Img_P1", "L1_Back1"}, Case{"Update", "", ""},
                          Case{"Main", "Img_P1", "L1_Back1"}, Case{"Engineer", "", ""}}) {
        form->Img_P5->SetPicture(QImage(), "marker");
        Click(std::string("Btn_") + c.entry + "_4");
        ExpectOnlyPressed(c.entry);
        if (*c.background) {
            EXPECT_EQ(Picture(c.background), c.picture) << c.entry;
        }
        EXPECT_EQ(Picture("Img_P5"), "marker") << c.entry; // the update page keeps its own
        EXPECT_FALSE(OverlaysShown()) << c.entry;
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        QApplication::processEvents();
        testing_support::SaveScreenshot(form->Widget(), QString("navigation-") + c.entry);
    }
}

TEST_F(NavigationTest, ProfileOneWritesItsChoiceAndShowsTheKeyPageForIt) {
    ConnectMouse();
    Click("Btn_Adv_1");
    form->Named<TControl>("Key_Profile1").SetVisible(true);
    form->Named<TControl>("Key_Profile2").SetTop(40);
    form->Named<TControl>("IB_ComboKey8").SetVisible(true);
    form->Pnl_Main->SetHeight(300);
    form->cb_BtnEFT->SetItemIndex(1);
    form->cb_ProfileColor->SetItemIndex(5);
    form->cb_Profile->SetItemIndex(2);
    bus->ClearTranscript();

    Click("Btn_Main_2");
    EXPECT_EQ(LiveWrites(),
              (std::vector<Write>{{167, 1}, {168, 0}, {169, 0}, {170, 0}, {164, 0x50}}));
    EXPECT_EQ(mouse->LiveBytes()[164], 0x50);
    EXPECT_EQ(form->UserCopy[0], 0x50);
    EXPECT_EQ(CheckedPage(), 1);
    EXPECT_EQ(form->cb_Profile->ItemIndex(), 0);
    EXPECT_EQ(VisiblePage(), 1);
    EXPECT_EQ(form->Pnl_Main->Height(), 170);
    EXPECT_EQ(form->Pnl_Special->Height(), 242);
    EXPECT_FALSE(Visible("IB_ComboKey8"));
    EXPECT_FALSE(Visible("Img_ComboKey8"));
    EXPECT_FALSE(Visible("Key_Profile1"));
    EXPECT_TRUE(Visible("Key_Profile2"));
    EXPECT_EQ(form->Named<TControl>("Key_Profile2").Top(), 1);
}

TEST_F(NavigationTest, ProfileTwoWithGunDisplayFlashesLongerAndAlwaysTakesColourF) {
    ConnectMouse();
    form->GunDisplayEnabled = true;
    form->ComboKey8Enabled = true;
    form->cb_BtnEFT->SetItemIndex(1);
    form->cb_ProfileColor->SetItemIndex(3);
    bus->ClearTranscript();

    Click("Btn_Switch_5");
    EXPECT_EQ(LiveWrites(),
              (std::vector<Write>{{167, 5}, {168, 0x0F}, {169, 0}, {170, 0x20}, {164, 0xF1}}));
    EXPECT_EQ(form->UserCopy[0], 0xF1);
    EXPECT_EQ(CheckedPage(), 2);
    EXPECT_EQ(form->cb_Profile->ItemIndex(), 1);
    EXPECT_EQ(form->Pnl_Main->Height(), 194);
    EXPECT_EQ(form->Pnl_Special->Height(), 314);
    EXPECT_TRUE(Visible("IB_ComboKey8"));
    EXPECT_TRUE(Visible("Img_ComboKey8"));
    EXPECT_TRUE(Visible("Key_Profile1"));
    EXPECT_FALSE(Visible("Key_Profile2"));
    EXPECT_EQ(form->Named<TControl>("Key_Profile2").Top(), 1);

    // Without the eighth combination switch in the layout its controls stay as they are.
    form->ComboKey8Enabled = false;
    form->Named<TControl>("IB_ComboKey8").SetVisible(false);
    form->Named<TControl>("Img_ComboKey8").SetVisible(true);
    Click("Btn_Switch_1");
    EXPECT_FALSE(Visible("IB_ComboKey8"));
    EXPECT_TRUE(Visible("Img_ComboKey8"));
}

TEST_F(NavigationTest, ProfileTwoWithoutGunDisplayCarriesItsColour) {
    ConnectMouse();
    form->GunDisplayEnabled = false;
    form->ComboKey8Enabled = true;
    form->Named<TControl>("IB_ComboKey8").SetVisible(true);
    form->cb_BtnEFT->SetItemIndex(1);
    form->cb_ProfileColor->SetItemIndex(3);
    bus->ClearTranscript();

    Click("Btn_Switch_6");
    EXPECT_EQ(LiveWrites(),
              (std::vector<Write>{{167, 1}, {168, 0x0F}, {169, 0}, {170, 0x20}, {164, 0x31}}));
    EXPECT_EQ(mouse->LiveBytes()[164], 0x31);
    EXPECT_EQ(form->UserCopy[0], 0x31);
    EXPECT_EQ(form->Pnl_Main->Height(), 170);
    EXPECT_EQ(form->Pnl_Special->Height(), 242);
    EXPECT_FALSE(Visible("IB_ComboKey8"));
    EXPECT_FALSE(Visible("Img_ComboKey8"));
}

TEST_F(NavigationTest, SpecifiedColourIsColourFAndProfileThreeKeepsTheProfileMenu) {
    ConnectMouse();
    form->cb_ProfileColor->SetItemIndex(10);
    form->cb_BtnEFT->SetItemIndex(1);
    bus->ClearTranscript();
    Click("Btn_Main_1");
    EXPECT_EQ(LiveWrites().back(), (Write{164, 0xF0}));

    // After profile 2 the menu offers profile 1; the third profile leaves it so.
    Click("Btn_Switch_1");
    bus->ClearTranscript();
    Click("Btn_Fixed_3");
    EXPECT_EQ(LiveWrites(),
              (std::vector<Write>{{167, 1}, {168, 0}, {169, 0}, {170, 0}, {164, 0xF2}}));
    EXPECT_EQ(form->UserCopy[0], 0xF2);
    EXPECT_EQ(CheckedPage(), 3);
    EXPECT_EQ(form->cb_Profile->ItemIndex(), 2);
    EXPECT_TRUE(Visible("Key_Profile1"));
    EXPECT_FALSE(Visible("Key_Profile2"));

    // And after profile 1 it offers profile 2, still so after profile 3.
    Click("Btn_Main_1");
    Click("Btn_Fixed_1");
    EXPECT_FALSE(Visible("Key_Profile1"));
    EXPECT_TRUE(Visible("Key_Profile2"));
}

TEST_F(NavigationTest, ProfileEntriesShowTheirKeysAndTheEngineeringEntryAllThree) {
    ConnectMouse();
    // Key 1 of each profile carries another function.
    std::string names[3];
    for (int p = 0; p < 3; ++p) {
        form->KeyCodeStrings[p][0] = form->KeyCodeStrings[0][p];
        names[p] = window::device::CodeToFunctionName(*form, form->KeyCodeStrings[p][0]);
    }
    ASSERT_NE(names[0], names[1]);
    ASSERT_NE(names[1], names[2]);
    const char* const entries[] = {"Btn_Main_1", "Btn_Switch_1", "Btn_Fixed_1"};
    for (int p : {1, 2, 0}) {
        Click(entries[p]);
        EXPECT_EQ(form->Named<TControl>("Key1").Caption(), names[p]) << p;
    }
    Click("Btn_Engineer_1");
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(form->Named<TControl>("btn_Key" + std::to_string(p + 1) + "01").Caption(),
                  names[p]);
}

TEST_F(NavigationTest, NoDeviceStateMakesEveryEntryInertWithoutAWord) {
    ConnectMouse();
    window::shell::NoDevicePageFlag = 1;
    bus->ClearTranscript();
    // The read showed the mouse's current profile; nothing may move it.
    const int checkedBefore = CheckedPage();
    const int visibleBefore = VisiblePage();
    for (const char* entry : Entries)
        Click("Btn_" + std::string(entry) + "_2");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(LiveWrites().empty());
    EXPECT_EQ(CheckedPage(), checkedBefore);
    EXPECT_EQ(VisiblePage(), visibleBefore);
}

TEST_F(NavigationTest, WhileAConfigurationIsShownOnlyTheProfileEntriesStayInert) {
    ConnectMouse();
    Click("Btn_Adv_1");
    window::shell::UiLoadingFlag = 1;
    bus->ClearTranscript();
    for (const char* entry : {"Main", "Switch", "Fixed"}) {
        Click("Btn_" + std::string(entry) + "_1");
        EXPECT_EQ(CheckedPage(), 4) << entry;
    }
    EXPECT_TRUE(LiveWrites().empty());
    Click("Btn_Breath_1");
    EXPECT_EQ(CheckedPage(), 5);
    EXPECT_EQ(VisiblePage(), 3);
    window::shell::UiLoadingFlag = 0;
}

TEST_F(NavigationTest, ReadingTheMouseAgainWritesNothingWhateverProfileWasShown) {
    ConnectMouse();
    Click("Btn_Switch_1");
    bus->ClearTranscript();
    form->OpenDeviceByTable();
    EXPECT_TRUE(LiveWrites().empty());
    EXPECT_EQ(CheckedPage(), 2);
    EXPECT_EQ(VisiblePage(), 1);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
}

TEST_F(NavigationTest, EngineeringPageEnlargesTheWindowAndShowsTheSignedRecoilOffsets) {
    ConnectMouse();
    form->SetLeft(40);
    form->SetTop(30);
    const uint8_t x[10] = {0x80, 0x7F, 0xFF, 0x00, 0x01, 0x10, 0xF0, 0x81, 0x7E, 0x05};
    const uint8_t y[10] = {0xFF, 0x02, 0x80, 0x7F, 0x00, 0x64, 0x9C, 0x33, 0xCC, 0x80};
    for (int i = 0; i < 10; ++i) {
        form->UserCopy[7 + i] = x[i];
        form->UserCopy[17 + i] = y[i];
    }
    form->Pnl_Profile->SetHeight(20);
    bus->ClearTranscript();

    Click("Btn_Engineer_2");
    EXPECT_EQ(form->Width(), 1256);
    EXPECT_EQ(form->Height(), 680);
    EXPECT_EQ(form->Left(), 40);
    EXPECT_EQ(form->Top(), 30);
    EXPECT_EQ(CheckedPage(), 8);
    EXPECT_EQ(VisiblePage(), 7);
    EXPECT_EQ(form->Pnl_Main->Height(), 194);
    EXPECT_EQ(form->Pnl_Special->Height(), 314);
    EXPECT_EQ(form->Pnl_Profile->Height(), 98);
    EXPECT_TRUE(Visible("Key_Profile1"));
    EXPECT_TRUE(Visible("Key_Profile2"));
    EXPECT_EQ(form->Named<TControl>("Key_Profile2").Top(), 25);
    EXPECT_EQ(form->FireHoldSyncGuard, 0);
    EXPECT_TRUE(LiveWrites().empty());
    const char* const xTexts[] = {"-128", "127", "-1", "0", "1", "16", "-16", "-127", "126", "5"};
    const char* const yTexts[] = {"-1",  "2",    "-128", "127", "0",
                                  "100", "-100", "51",   "-52", "-128"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(form->Named<TEdit>("edt_XOffset" + std::to_string(i + 1)).Text(), xTexts[i]);
        EXPECT_EQ(form->Named<TEdit>("edt_YOffset" + std::to_string(i + 1)).Text(), yTexts[i]);
    }

    // Any other entry brings the window back to the page size from the same corner.
    Click("Btn_Breath_6");
    EXPECT_EQ(form->Width(), 1030);
    EXPECT_EQ(form->Height(), 662);
    EXPECT_EQ(form->Left(), 40);
    EXPECT_EQ(form->Top(), 30);
    EXPECT_EQ(VisiblePage(), 3);
}

TEST_F(NavigationTest, MacroPageShowsTheInsertPanelWhileTheEditorInserts) {
    ConnectMouse();
    for (uint8_t mode : {1, 0}) {
        form->MacroInsertMode = mode;
        Click("Btn_Macro_3");
        EXPECT_EQ(VisiblePage(), 4);
        EXPECT_EQ(Visible("Gb_Delay"), mode == 0);
        EXPECT_EQ(Visible("Gb_Insert"), mode == 1);
        EXPECT_EQ(Visible("Img_InsertBase"), mode == 1);
    }
}

TEST_F(NavigationTest, UpdatePageForgetsAChosenFirmwareFile) {
    ConnectMouse();
    auto& loaded = form->Named<controls::unicode::TWideLabel>("lbl_LoadBIN");
    controls::unicode::TWideLabel::SetCaption(&loaded, u"/tmp/firmware.bin");
    form->FirmwareFileLoaded = 1;
    Click("Btn_Update_5");
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&loaded), u"");
    EXPECT_EQ(form->FirmwareFileLoaded, 0);
    EXPECT_EQ(CheckedPage(), 7);
    EXPECT_EQ(VisiblePage(), 5);
}

TEST_F(NavigationTest, BackgroundsFollowTheLanguage) {
    ConnectMouse();
    form->Btn_Lang2_0Click(nullptr);
    Click("Btn_Adv_1");
    EXPECT_EQ(Picture("Img_P2"), "L2_Back2");
    Click("Btn_Macro_1");
    EXPECT_EQ(Picture("Img_P4"), "L2_Back4");
    form->Btn_Lang3_0Click(nullptr);
    Click("Btn_Fixed_1");
    EXPECT_EQ(Picture("Img_P1"), "L3_Back1");
    Click("Btn_Breath_1");
    EXPECT_EQ(Picture("Img_P3"), "L3_Back3");
}

TEST_F(NavigationTest, LanguageSwitchShowsTheCurrentPageAgain) {
    ConnectMouse();
    Click("Btn_Adv_2");
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 2);
    EXPECT_EQ(CheckedPage(), 4);

    // The switch closes the delay panel; the macro page gets its panel back.
    Click("Btn_Macro_2");
    form->Btn_Lang3_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 4);
    EXPECT_TRUE(Visible("Gb_Delay"));
    form->MacroInsertMode = 1;
    form->Btn_Lang1_0Click(nullptr);
    EXPECT_FALSE(Visible("Gb_Delay"));
    EXPECT_TRUE(Visible("Gb_Insert"));
    form->MacroInsertMode = 0;

    Click("Btn_Update_2");
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 5);

    Click("Btn_Engineer_2");
    form->Btn_Lang3_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 7);
    EXPECT_EQ(form->Width(), 1256);

    Click("Btn_Fixed_2");
    form->Btn_Lang1_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 1);

    // In the no-device state only the first page shows, whatever the radios say.
    Click("Btn_Breath_2");
    window::shell::NoDevicePageFlag = 1;
    form->Btn_Lang2_0Click(nullptr);
    EXPECT_EQ(VisiblePage(), 1);
    EXPECT_EQ(CheckedPage(), 5);
    window::shell::NoDevicePageFlag = 0;
}

} // namespace

namespace {

// The profile entries redraw the AIM controls for the profile they make current.
TEST_F(NavigationTest, AProfileEntryShowsItsProfilesAimLevel) {
    ConnectMouse();
    form->KeyCodeStrings[2][6] = "05020000"; // profile 3, key 7: AIM at level 3
    for (std::string& code : form->KeyCodeStrings[0])
        if (code.rfind("05", 0) == 0) code = "00000000"; // profile 1 has none
    Click("Btn_Fixed_1");
    EXPECT_EQ(form->AimLevelText, "3");
    Click("Btn_Main_1");
    EXPECT_EQ(form->AimLevelText, "1");
}

} // namespace
