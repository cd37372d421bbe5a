// The default restores of the confirm labels and their hover pictures, against the
// simulated mouse: the chosen default image goes to the mouse whole, the mouse is reset
// and read again, and the window is given back.
#include "DeviceFixture.h"

#include "controls/unicode/WideCtrls.h"
#include "device/Subroutines.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

class ProfileWriteRestoreTest : public FormDeviceTest {
protected:
    controls::unicode::TWideLabel& Label(const std::string& name) {
        return form->Named<controls::unicode::TWideLabel>(name);
    }
    void Click(const std::string& name) {
        controls::unicode::TWideLabel& label = Label(name);
        ASSERT_TRUE(label.OnClick) << name;
        label.OnClick(&label);
    }
    void Hover(const std::string& name, bool enter) {
        controls::unicode::TWideLabel& label = Label(name);
        platform::vcl::TNotifyEvent& event = enter ? label.OnMouseEnter : label.OnMouseLeave;
        ASSERT_TRUE(event) << name;
        event(&label);
    }
    // The pictures of Img_<family>_1..5.
    std::vector<std::string> Pictures(const std::string& family) {
        std::vector<std::string> names;
        for (int i = 1; i <= 5; ++i)
            names.push_back(
                form->Named<platform::vcl::TImage>("Img_" + family + "_" + std::to_string(i))
                    .PictureName());
        return names;
    }
    static std::vector<std::string> Five(const std::string& picture) {
        return std::vector<std::string>(5, picture);
    }
};

// Confirm n on page n + 1 (any page restores the same), from a mouse holding another image.
class ConfirmRestoreTest : public ProfileWriteRestoreTest,
                           public ::testing::WithParamInterface<int> {};

TEST_P(ConfirmRestoreTest, TheMouseGetsTheDefaultImageWholeThenIsResetAndReadAgain) {
    const int n = GetParam();
    const Bytes chosen = DefaultImage(n);
    auto mouse = AddMouse(DefaultImage(n % 3 + 1));
    Tick();
    ASSERT_NE(mouse->Image(), chosen);
    form->LB_MacroName->Items().Add("recorded");
    form->mmo_macro->Lines().Add("key down");
    bus->ClearTranscript();

    Click("Btn_Confirm" + std::to_string(n) + "_" + std::to_string(n + 1));

    EXPECT_EQ(mouse->Image(), chosen);
    EXPECT_EQ(mouse->ResetCount(), 1u);
    // The whole image in one block, nothing byte by byte while the pages were refilled,
    // then the reset and the second open, information, identity and image read.
    EXPECT_EQ(CommandsSent(), (Bytes{0x07, 0x0E, 0x0D, 0x0D, 0x09, 0x09}));
    size_t dataWrites = 0;
    for (const simulator::TranscriptEntry& e : bus->Transcript())
        if (e.kind == simulator::TransferKind::SetFeature && e.bytes[0] == 0x41) ++dataWrites;
    EXPECT_EQ(dataWrites, 293u);
    EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), chosen);
    EXPECT_TRUE(ItemsOf("LB_MacroName").empty());
    EXPECT_TRUE(ItemsOf("mmo_macro").empty());
    EXPECT_EQ(Pictures("Confirm" + std::to_string(n)), Five("BtnS_03"));
    // The read after the reset gave the window back.
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_TRUE(modal->texts.empty());
}

INSTANTIATE_TEST_SUITE_P(EachDefaultImage, ConfirmRestoreTest, ::testing::Values(1, 2, 3));

TEST_F(ProfileWriteRestoreTest, ConfirmTwoRestoresTheSecondImageWhateverProfileIsCurrent) {
    auto mouse = StartWithMouse();
    ASSERT_TRUE(mouse->PressProfileButton());
    Click("Btn_Confirm2_4");
    EXPECT_EQ(mouse->Image(), DefaultImage(2));
    // Keys of the second image's second profile, read back from the mouse.
    EXPECT_EQ(form->KeyCodeStrings[1][0], "1006A0FF");
    EXPECT_EQ(form->KeyCodeStrings[1][1], "0B170308");
}

TEST_F(ProfileWriteRestoreTest, WithoutADeviceTheConfirmOnlySaysSoAndLooksPressed) {
    Click("Btn_Confirm1_2");
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Finding the specified device");
    EXPECT_TRUE(bus->Transcript().empty());
    EXPECT_EQ(Pictures("Confirm1"), Five("BtnS_03"));
    EXPECT_NE(Pictures("Confirm2"), Five("BtnS_03"));
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
}

TEST_F(ProfileWriteRestoreTest, AnOpenMouseThatIsNotServedIsNotResetIntoAStuckWindow) {
    auto mouse = AddMouse();
    mouse->SetInfo({0x40, 0x3A, 0xC0, 0, 0, 0, 0});
    Tick();
    ASSERT_TRUE(Present());
    ASSERT_TRUE(form->DetectedInterface.empty());
    bus->ClearTranscript();

    Click("Btn_Confirm3_1");

    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Finding the specified device");
    EXPECT_TRUE(CommandsSent().empty());
    EXPECT_EQ(mouse->ResetCount(), 0u);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_TRUE(OverlaysVisible(false));
}

TEST_F(ProfileWriteRestoreTest, HoverShowsOnAllFivePageCopiesAndLeavePutsTheCaptionBack) {
    const std::u16string caption = controls::unicode::TWideLabel::GetCaption(&Label("Btn_Exit2_3"));
    Hover("Btn_Exit2_3", true);
    EXPECT_EQ(Pictures("Exit2"), Five("BtnS_02"));
    EXPECT_NE(Pictures("Confirm1"), Five("BtnS_02"));
    EXPECT_EQ(form->RollingLabelName, "Btn_Exit2_3");
    EXPECT_EQ(form->RollingLabelCaption, caption);
    // The enter does not start the rolling text; something else rolled it meanwhile.
    EXPECT_FALSE(form->LabelRun->Enabled());
    form->LabelRun->SetEnabled(true);
    controls::unicode::TWideLabel::SetCaption(&Label("Btn_Exit2_3"), u"xit   E");

    Hover("Btn_Exit2_3", false);
    EXPECT_EQ(Pictures("Exit2"), Five("BtnS_01"));
    EXPECT_FALSE(form->LabelRun->Enabled());
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(&Label("Btn_Exit2_3")), caption);

    Hover("Btn_Confirm2_5", true);
    EXPECT_EQ(Pictures("Confirm2"), Five("BtnS_02"));
    EXPECT_EQ(form->RollingLabelName, "Btn_Confirm2_5");
    Hover("Btn_Confirm2_5", false);
    EXPECT_EQ(Pictures("Confirm2"), Five("BtnS_01"));
}

} // namespace
} // namespace devtest
