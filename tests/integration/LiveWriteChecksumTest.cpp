// Single settings written to the mouse's live configuration keep its sections valid: a
// whole read that follows shows what was set instead of repairing it to defaults, and a
// configuration saved after a profile switch keeps the window on the mouse's profile.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"
#include "HostReports.h"

#include "controls/unicode/WideCtrls.h"

#include <QTemporaryDir>

#include <fstream>
#include <iterator>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

// Start and length of the five sections that carry a checksum in their last byte.
constexpr std::pair<size_t, size_t> CheckedSections[] = {
    {0, 164}, {164, 28}, {192, 49}, {241, 49}, {290, 49}};

// The first `count` of them: the live space holds only the vendor and user sections.
void ExpectValidSections(const Bytes& image, const std::string& where, size_t count = 5) {
    for (size_t n = 0; n < count; ++n) {
        const auto [start, length] = CheckedSections[n];
        ASSERT_GE(image.size(), start + length) << where;
        const Bytes section(image.begin() + start, image.begin() + start + length);
        EXPECT_EQ(section.back(), SectionStamp(section)) << where << ": section at " << start;
    }
}

// The shipped image with the mouse on its first profile, so that choosing the second one
// changes the profile byte.
Bytes FirstProfileImage() {
    Bytes image = FormDeviceTest::DefaultImage();
    image[164] = 0xF0;
    image[191] = SectionStamp(Bytes(image.begin() + 164, image.begin() + 192));
    return image;
}

class LiveWriteChecksumTest : public FormDeviceTest {
protected:
    int Item(const char* name) { return Control<platform::vcl::TComboBox>(name).ItemIndex(); }
    bool Checked(const char* name) {
        platform::vcl::TComponent& c = Control<platform::vcl::TComponent>(name);
        if (auto* box = dynamic_cast<platform::vcl::TCheckBox*>(&c)) return box->Checked();
        return Control<platform::vcl::TRadioButton>(name).Checked();
    }
};

TEST_F(LiveWriteChecksumTest, EverySingleSettingIsShownByTheNextWholeRead) {
    struct Setting {
        const char* handler;
        std::function<void()> set;
        std::function<void()> expectShown;
    };
    const Setting settings[] = {
        {"profile entry (user bytes 164, 167..170)", [&] { Click("Btn_Switch_1"); },
         [&] {
             EXPECT_EQ(Item("cb_Profile"), 1);
             EXPECT_TRUE(Checked("rb_2"));
         }},
        {"current DPI level (user byte 166)", [&] { Click("Img_DPI3"); },
         [&] {
             EXPECT_EQ(Item("cb_CurrentCPI"), 2);
             EXPECT_TRUE(Checked("rb_DPI3"));
         }},
        {"number of CPI levels (vendor byte 43)",
         [&] {
             Control<platform::vcl::TComboBox>("cb_CPISteps").SetItemIndex(5);
             form->cb_CPIStepsChange(nullptr);
         },
         [&] { EXPECT_EQ(Item("cb_CPISteps"), 5); }},
        {"breathing mode box (vendor byte 42)",
         [&] { Control<platform::vcl::TCheckBox>("cb_Mode1").SetChecked(false); },
         [&] {
             EXPECT_FALSE(Checked("cb_Mode1"));
             EXPECT_TRUE(Checked("cb_Mode2"));
         }},
        {"combination key (vendor bytes 135..138)",
         [&] { Choose("btn_ComboKey003", "Key_Media", "Key_VolumePlus", u"  Volume +"); },
         [&] { EXPECT_EQ(form->ComboCodeStrings[2], "0300E900"); }},
        {"profile key (profile block, then user byte 164 twice)",
         [&] { Choose("btn_Key205", "ST_ProfileKey", "Key_Profile2", u"  Profile 2"); },
         [&] { EXPECT_EQ(form->KeyCodeStrings[1][4], "07810000"); }},
    };
    auto mouse = AddMouse(FirstProfileImage());
    Tick();
    ASSERT_TRUE(Present());
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.handler);
        // Each setting starts from the same image, read whole.
        mouse->SetImage(FirstProfileImage());
        form->Btn_Read();
        bus->ClearTranscript();
        s.set();
        ASSERT_FALSE(HostReports(*bus).empty()) << "the setting reached the mouse";
        ExpectValidSections(mouse->Image(), "the mouse's image");
        const auto live = mouse->LiveBytes();
        ExpectValidSections(Bytes(live.begin(), live.end()), "the live space", 2);
        // A vendor setting is mirrored in the window's copy as it is sent, so what a save or
        // a later write takes from the copy is what the mouse holds.
        EXPECT_EQ(Bytes(form->VendorCopy.begin(), form->VendorCopy.end()),
                  Bytes(live.begin(), live.begin() + 164))
            << "the vendor copy before any read";

        form->Btn_Read();
        s.expectShown();
        // Nothing was repaired: the copies are the mouse's sections as they stand.
        const Bytes image = mouse->Image();
        EXPECT_EQ(Bytes(form->VendorCopy.begin(), form->VendorCopy.end()),
                  Bytes(image.begin(), image.begin() + 164));
        EXPECT_EQ(Bytes(form->UserCopy.begin(), form->UserCopy.end()),
                  Bytes(image.begin() + 164, image.begin() + 192));
    }
}

TEST_F(LiveWriteChecksumTest, ASaveAfterAProfileSwitchKeepsTheMouseProfileAndFiveChecksums) {
    QTemporaryDir dir;
    FileDialogAnswerer files;
    auto mouse = AddMouse(FirstProfileImage());
    Tick();
    ASSERT_TRUE(Present());
    ASSERT_TRUE(Checked("rb_1"));
    Click("Img_DPI4");
    Click("Btn_Switch_1");
    ASSERT_EQ(mouse->LiveBytes()[164] & 0x0F, 1);
    ASSERT_EQ(mouse->LiveBytes()[166], 3);

    files.answer = dir.filePath("switched").toStdString();
    Click("Btn_Save_1");
    std::ifstream in(dir.filePath("switched.bin").toStdString(), std::ios::binary);
    const Bytes saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(saved.size(), 2048u);
    ExpectValidSections(saved, "the saved file");
    EXPECT_EQ(saved[164] & 0x0F, 1);
    EXPECT_TRUE(modal->texts.empty());

    // The window stays where the mouse is: the second profile's page, DPI level 4.
    EXPECT_EQ(mouse->LiveBytes()[164] & 0x0F, 1);
    EXPECT_TRUE(Checked("rb_2"));
    EXPECT_EQ(Item("cb_Profile"), 1);
    EXPECT_TRUE(form->gbPage1->Visible());
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_Switch_1").PictureName(), "SetS_03");
    EXPECT_EQ(Control<platform::vcl::TImage>("Img_Main_1").PictureName(), "SetS_01");
    EXPECT_TRUE(Checked("rb_DPI4"));
    EXPECT_EQ(Item("cb_CurrentCPI"), 3);
}

} // namespace
} // namespace devtest
