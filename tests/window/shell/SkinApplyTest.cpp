// ApplySkin: the language's pictures, the header, the key page and the key menus from the
// layout text, and where it stops on a bad key.
#include "LayoutTestSupport.h"
#include "ShellTestSupport.h"

#include "common/Screenshot.h"
#include "platform/rtl/SysUtils.h"
#include "window/shell/Program.h"
#include "window/shell/SkinImages.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace platform::rtl;
using namespace platform::vcl;
using layout_test::ShippedLayout;
using layout_test::Without;
using layout_test::WithValues;
using shell_test::FormPtr;
using shell_test::ResourceOverride;
using shell_test::StartedForm;

namespace {

std::string PictureOf(window::TForm1& form, const std::string& image) {
    return form.Named<TImage>(image).PictureName();
}

// Applies language 1 with its text replaced by `text`.
void ApplyFirst(window::TForm1& form, const std::string& text) {
    ResourceOverride layout("ORG1", text);
    form.LanguageNumber = 1;
    form.ApplySkin();
}

// Every copy of a skin picture shares one decoded picture; a picture that is missing or
// does not decode raises as it always has and leaves the control's picture in place.
TEST(SkinApplyTest, SkinPicturesAreSharedAndABadOneLeavesThePictureShown) {
    TImage first(nullptr), second(nullptr);
    TPngImage decoder;
    window::shell::LoadSkinPng(first, "SetS_01", decoder);
    window::shell::LoadSkinPng(second, "sets_01", decoder);
    EXPECT_EQ(first.Picture().constBits(), second.Picture().constBits());

    ResourceOverride broken("SetS_02", "not a picture");
    struct Case {
        const char* resource;
        const char* error;
        bool notFound;
    } cases[] = {{"SetS_02", "Cannot load PNG picture from stream: Not a PNG file", false},
                 {"SetS_99", "Resource SetS_99 not found", true}};
    for (const Case& c : cases) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                window::shell::LoadSkinPng(first, c.resource, decoder);
                ADD_FAILURE() << c.resource << " loaded";
            } catch (const platform::rtl::Exception& e) {
                EXPECT_EQ(e.what(), std::string(c.error));
                EXPECT_EQ(dynamic_cast<const EResNotFound*>(&e) != nullptr, c.notFound);
            }
            EXPECT_EQ(first.PictureName(), "SetS_01");
            EXPECT_EQ(first.Picture().constBits(), second.Picture().constBits());
        }
    }
}

// Pictures decoded ahead on their own thread: every load gives the same picture and raises
// the same error, in the same order, as without them, whether the thread has done the
// picture, is decoding it, or has not reached it yet. The list runs against the loads, so
// each round meets all three.
TEST(SkinApplyTest, PicturesDecodedAheadLoadAndFailAsWithout) {
    ResourceOverride broken("SetS_02", "not a picture");
    const std::vector<std::string> loads = {"L1_BackGround", "SetS_01", "SetS_02", "SetS_99",
                                            "L1_Back1",      "sets_01", "CbS_E",   "SetS_02"};
    struct Outcome {
        std::vector<std::string> events;
        std::vector<QImage> pictures;
    };
    auto loadAll = [&] {
        Outcome outcome;
        TImage target(nullptr);
        TPngImage decoder;
        for (const std::string& name : loads) {
            try {
                window::shell::LoadSkinPng(target, name, decoder);
                outcome.events.push_back(name + " loads " + target.PictureName());
                outcome.pictures.push_back(target.Picture());
            } catch (const platform::rtl::Exception& e) {
                const bool notFound = dynamic_cast<const EResNotFound*>(&e) != nullptr;
                outcome.events.push_back(name + (notFound ? " is missing: " : " raises: ") +
                                         e.what());
            }
        }
        return outcome;
    };
    TPngImage::ForgetSharedPictures();
    const Outcome normal = loadAll();
    ASSERT_EQ(normal.pictures.size(), 5u);
    const std::vector<std::string> ahead(loads.rbegin(), loads.rend());
    for (int round = 0; round < 24; ++round) {
        TPngImage::ForgetSharedPictures();
        Outcome fast;
        {
            window::shell::TSkinPicturesAhead pictures(ahead);
            if (round % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
            fast = loadAll();
            EXPECT_EQ(pictures.NeverAsked(), std::vector<std::string>{});
        }
        EXPECT_EQ(fast.events, normal.events) << "round " << round;
        ASSERT_EQ(fast.pictures.size(), normal.pictures.size());
        for (size_t i = 0; i < fast.pictures.size(); ++i)
            EXPECT_TRUE(fast.pictures[i] == normal.pictures[i]) << "round " << round << " " << i;
        EXPECT_EQ(fast.pictures[1].constBits(), fast.pictures[3].constBits()) << "shared";
    }
}

// The start-up's list names only pictures the start loads while they are decoded ahead of
// it, the window and the program's icon included.
TEST(SkinApplyTest, StartupPicturesAreAllLoadedByTheStart) {
    TPngImage::ForgetSharedPictures();
    window::shell::TSkinPicturesAhead pictures(window::shell::StartupSkinPictures());
    window::shell::PrepareApplication();
    auto form = StartedForm();
    EXPECT_EQ(pictures.NeverAsked(), std::vector<std::string>{});
    EXPECT_EQ(PictureOf(*form, "Img_Base_1"), "L1_BackGround");
    EXPECT_EQ(form->PageWidth, 1030);
}

TEST(SkinApplyTest, LanguagePicturesForTheWindowThePageShownAndTheFirePage) {
    auto form = StartedForm();
    form->rb_4->SetChecked(true);
    form->LanguageNumber = 2;
    form->ApplySkin();
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(PictureOf(*form, "Img_Base_" + std::to_string(k)), "L2_BackGround") << k;
    EXPECT_EQ(form->Named<TImage>("Img_Base_1").Width(), 1030);
    EXPECT_EQ(PictureOf(*form, "Img_P2"), "L2_Back2");
    EXPECT_EQ(PictureOf(*form, "Img_P1"), "L1_Back1") << "pages not shown keep their picture";
    EXPECT_EQ(PictureOf(*form, "Img_P6"), "L2_Back5");

    form->rb_2->SetChecked(true);
    form->LanguageNumber = 3;
    form->ApplySkin();
    EXPECT_EQ(PictureOf(*form, "Img_P1"), "L3_Back1");
    EXPECT_EQ(PictureOf(*form, "Img_P2"), "L2_Back2");

    // The update page's panel is no language picture: no panel changes for it.
    form->rb_7->SetChecked(true);
    form->LanguageNumber = 1;
    form->ApplySkin();
    EXPECT_EQ(PictureOf(*form, "Img_P1"), "L3_Back1");
    EXPECT_EQ(PictureOf(*form, "Img_P6"), "L1_Back5");
}

TEST(SkinApplyTest, UnknownLanguageLoadsNoPictureAndStopsAtTheEmptyLayoutName) {
    auto form = StartedForm();
    form->LanguageNumber = 4;
    EXPECT_THROW(form->ApplySkin(), EResNotFound);
    EXPECT_EQ(PictureOf(*form, "Img_Base_1"), "L1_BackGround");
}

TEST(SkinApplyTest, HiddenButtonNeedsNoPlaceAndIsHiddenOnEveryPage) {
    auto form = StartedForm();
    const std::string text =
        Without(WithValues(ShippedLayout(1), {{"Btn_A3_Enable", "0"}}), {"Btn_A3_X", "Btn_A3_Y"});
    ASSERT_NO_THROW(ApplyFirst(*form, text));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_FALSE(form->Named<TControl>("Img_Confirm2_" + std::to_string(k)).Visible()) << k;
        EXPECT_FALSE(form->Named<TControl>("Btn_Confirm2_" + std::to_string(k)).Visible()) << k;
    }
    // Shown again with a place: every copy there, the label over its picture.
    ApplyFirst(*form, WithValues(text, {{"Btn_A5_Enable", "1"}}) + "Btn_A3_Enable=1\r\n");
    EXPECT_FALSE(form->Named<TControl>("Img_Confirm2_1").Visible()) << "the first value counts";
    for (int k = 1; k <= 5; ++k) {
        const std::string n = std::to_string(k);
        auto& img = form->Named<TControl>("Img_Confirm3_" + n);
        auto& lbl = form->Named<TControl>("Btn_Confirm3_" + n);
        EXPECT_TRUE(img.Visible() && lbl.Visible()) << k;
        EXPECT_EQ(lbl.Left(), img.Left());
        EXPECT_EQ(lbl.Top(), img.Top());
        EXPECT_EQ(lbl.Width(), img.Width());
        EXPECT_EQ(lbl.Height(), img.Height());
    }
}

TEST(SkinApplyTest, MenuCaptionsKeepTheirInsetsAndTheEngineeringEntryItsFixedPlace) {
    auto form = StartedForm();
    form->Named<TControl>("Img_Engineer_3").SetVisible(true);
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Btn_Space_F", "3"},
                                                    {"Btn_Space_B", "5"},
                                                    {"Btn_B4_X", "333"},
                                                    {"Btn_B4_Y", "44"},
                                                    {"Size_B", "12"}}) +
                          "Btn_B4_Size=9\r\n");
    EXPECT_EQ(form->MenuCaptionInsetFront, 3);
    EXPECT_EQ(form->MenuCaptionInsetBack, 5);
    for (int k = 1; k <= 5; ++k) {
        const std::string n = std::to_string(k);
        auto& img = form->Named<TControl>("Img_Adv_" + n);
        auto& lbl = form->Named<TControl>("Btn_Adv_" + n);
        EXPECT_EQ(img.Left(), 333);
        EXPECT_EQ(img.Top(), 44);
        EXPECT_EQ(lbl.Left(), 336) << "3 pixels right of the picture";
        EXPECT_EQ(lbl.Left() + lbl.Width(), img.Left() + img.Width() - 5);
        EXPECT_EQ(lbl.Top(), 44);
        EXPECT_EQ(lbl.Height(), img.Height());
        // A button's own caption size is its alone; its neighbours keep their group's.
        EXPECT_EQ(lbl.Font().Size(), 9);
        EXPECT_EQ(form->Named<TControl>("Btn_Fixed_" + n).Font().Size(), 12);

        auto& engImg = form->Named<TControl>("Img_Engineer_" + n);
        auto& engLbl = form->Named<TControl>("Btn_Engineer_" + n);
        EXPECT_EQ(engImg.Left(), 10);
        EXPECT_EQ(engImg.Top(), 10);
        EXPECT_EQ(engLbl.Left(), 13);
        EXPECT_EQ(engLbl.Width(), engImg.Width() - 8);
        EXPECT_EQ(engImg.Visible(), k == 3) << "engineering mode decides";
    }
    // The next layout without a size of its own gives the caption its group's again.
    ApplyFirst(*form, ShippedLayout(1));
    EXPECT_EQ(form->Named<TControl>("Btn_Adv_1").Font().Size(), 12);
}

TEST(SkinApplyTest, KeyPlacesOfTwoFourThreeSevenAndSixEightAreExchanged) {
    auto form = StartedForm();
    const int keys[] = {2, 4, 3, 7, 6, 8, 5};
    std::vector<std::pair<std::string, std::string>> changes;
    for (int key : keys)
        changes.push_back({"Key" + std::to_string(key) + "_X", std::to_string(1000 + key)});
    ApplyFirst(*form, WithValues(ShippedLayout(1), changes));
    const std::pair<int, int> moved[] = {{2, 4}, {4, 2}, {3, 7}, {7, 3}, {6, 8}, {8, 6}, {5, 5}};
    for (auto [key, label] : moved) {
        const std::string l = std::to_string(label);
        EXPECT_EQ(form->Named<TControl>("Img_Key" + l).Left(), 1000 + key) << "Key" << key;
        EXPECT_EQ(form->Named<TControl>("Key" + l).Left(), 1000 + key) << "Key" << key;
    }
}

TEST(SkinApplyTest, DisabledKeyHidesItsExchangedPair) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Key3_Enable", "0"}}));
    EXPECT_FALSE(form->Named<TControl>("Key7").Visible());
    EXPECT_FALSE(form->Named<TControl>("Img_Key7").Visible());
    EXPECT_TRUE(form->Named<TControl>("Key3").Visible());
}

TEST(SkinApplyTest, EighthCombinationSwitchShowsOnlyWithTheGunDisplayOnTheSecondProfile) {
    auto form = StartedForm();
    auto& label = form->Named<TControl>("IB_ComboKey8");
    auto& image = form->Named<TControl>("Img_ComboKey8");
    const std::string text =
        WithValues(ShippedLayout(1), {{"ComboKey8_X", "70"}, {"ComboKey8_Y", "500"}});

    // Gun display off: placed and flagged, visibility as it was.
    form->GunDisplayEnabled = false;
    form->rb_2->SetChecked(true);
    for (bool before : {false, true}) {
        label.SetVisible(before);
        image.SetVisible(before);
        ApplyFirst(*form, text);
        EXPECT_TRUE(form->ComboKey8Enabled);
        EXPECT_EQ(label.Visible(), before);
        EXPECT_EQ(image.Visible(), before);
    }
    EXPECT_EQ(image.Left(), 70);
    EXPECT_EQ(image.Top(), 500);
    EXPECT_EQ(label.Left(), 70);
    EXPECT_EQ(label.Top(), 498);

    // Gun display on, but profile 1 current: still as it was.
    form->GunDisplayEnabled = true;
    form->rb_1->SetChecked(true);
    label.SetVisible(false);
    ApplyFirst(*form, text);
    EXPECT_FALSE(label.Visible());

    form->rb_2->SetChecked(true);
    ApplyFirst(*form, text);
    EXPECT_TRUE(label.Visible());
    EXPECT_TRUE(image.Visible());

    ApplyFirst(*form, Without(WithValues(text, {{"ComboKey8_Enable", "0"}}),
                              {"ComboKey8_X", "ComboKey8_Y"}));
    EXPECT_FALSE(form->ComboKey8Enabled);
    EXPECT_FALSE(label.Visible());
    EXPECT_FALSE(image.Visible());
}

TEST(SkinApplyTest, CombinationLabelSitsOnItsPictureAndKeepsItsSize) {
    auto form = StartedForm();
    auto& label = form->Named<TControl>("IB_ComboKey3");
    const int width = label.Width();
    const int height = label.Height();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"ComboKey3_X", "30"}, {"ComboKey3_Y", "77"}}));
    EXPECT_EQ(form->Named<TControl>("Img_ComboKey3").Left(), 30);
    EXPECT_EQ(label.Left(), 30);
    EXPECT_EQ(label.Top(), 75);
    EXPECT_EQ(label.Width(), width);
    EXPECT_EQ(label.Height(), height);
}

TEST(SkinApplyTest, ColoursAreRedInTheLowByteAndNotClamped) {
    auto form = StartedForm();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Color_C_R", "255"},
                                                    {"Color_C_G", "0"},
                                                    {"Color_C_B", "0"},
                                                    {"Color_A_R", "0"},
                                                    {"Color_A_G", "0"},
                                                    {"Color_A_B", "255"},
                                                    {"Color_G_SP_R", "300"},
                                                    {"Color_G_SP_G", "-1"},
                                                    {"Color_G_SP_B", "2"}}));
    EXPECT_EQ(form->Named<TControl>("Key1").Font().Color(), 255u);
    EXPECT_EQ(form->Named<TControl>("IB_ComboKey8").Font().Color(), 255u);
    EXPECT_EQ(form->Named<TControl>("Btn_Exit2_4").Font().Color(), 16711680u);
    EXPECT_EQ(form->KeyMenuHotBackRGB.R, 300);
    EXPECT_EQ(form->KeyMenuHotBackRGB.G, -1);
    EXPECT_EQ(form->KeyMenuHotBackRGB.Color(), static_cast<TColor>(300 - 256 + 2 * 65536));
}

TEST(SkinApplyTest, KeyMenuColoursAndWidths) {
    auto form = StartedForm();
    const int adjustLeft = form->Named<TControl>("ST_AdjustXY").Left();
    ApplyFirst(*form, WithValues(ShippedLayout(1), {{"Size_G", "11"},
                                                    {"Color_G_Back_R", "1"},
                                                    {"Color_G_Back_G", "2"},
                                                    {"Color_G_Back_B", "3"},
                                                    {"Color_G_Border_R", "4"},
                                                    {"M_L_W", "200"},
                                                    {"SP_L_W", "180"},
                                                    {"O_L_W", "120"}}));
    EXPECT_EQ(form->KeyMenuBackRGB.Color(), 0x030201u);
    EXPECT_EQ(form->Pnl_Main->Color(), 0x030201u);
    EXPECT_EQ(form->LB_Script->Color(), 0x030201u);
    EXPECT_EQ(form->Pnl_AdjustXY->BorderColor() & 0xFF, 4u);
    EXPECT_EQ(form->LB_Name->BorderColor() & 0xFF, 4u);
    EXPECT_EQ(form->Named<TControl>("Key_WWWStop").Font().Size(), 11);
    EXPECT_EQ(form->LB_Name->Font().Size(), 11);

    EXPECT_EQ(form->Pnl_Main->Width(), 200);
    EXPECT_EQ(form->Named<TControl>("Key_TLFireMacro").Width(), 196);
    EXPECT_EQ(form->Named<TControl>("ST_Standard").Left(), 176);
    EXPECT_EQ(form->Pnl_Special->Width(), 180);
    EXPECT_EQ(form->Named<TControl>("Key_AdjustXY").Width(), 176);
    EXPECT_EQ(form->Named<TControl>("ST_ProfileKey").Left(), 156);
    EXPECT_EQ(form->Named<TControl>("ST_AdjustXY").Width(), 156);
    EXPECT_EQ(form->Named<TControl>("ST_AdjustXY").Left(), adjustLeft);
    for (auto* panel : {form->Pnl_CPIKey, form->Pnl_WWW, form->Pnl_AdjustXY})
        EXPECT_EQ(panel->Width(), 120);
    EXPECT_EQ(form->Named<TControl>("Key_AdjustXYSwitch").Width(), 116);
}

TEST(SkinApplyTest, MissingOrBadKeyStopsAtThatKeyAndKeepsWhatWasSet) {
    auto form = StartedForm();
    const int pageLeft = form->Img_P1->Left();
    const std::string marked = WithValues(ShippedLayout(1), {{"Btn_B12_X", "611"}, {"P1_X", "5"}});
    try {
        ApplyFirst(*form, Without(marked, {"Size_C"}));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(form->Named<TControl>("Img_Update_2").Left(), 611) << "set before the key";
    EXPECT_EQ(form->Img_P1->Left(), pageLeft) << "after the key";

    try {
        ApplyFirst(*form, WithValues(marked, {{"Size_C", "9pt"}}));
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'9pt' is not a valid integer value");
    }
    EXPECT_EQ(form->Img_P1->Left(), pageLeft);
}

// The window with each language's layout, page by page, for a person to look at.
TEST(SkinApplyTest, ScreenshotsOfEveryPageInEachLayout) {
    auto form = StartedForm();
    form->Show();
    TGroupBox* pages[] = {form->gbPage1, form->gbPage2, form->gbPage3,
                          form->gbPage4, form->gbPage5, form->gbPage6};
    TRadioButton* current[] = {form->rb_2, form->rb_4, form->rb_5,
                               form->rb_6, form->rb_7, form->rb_1};
    for (int n = 1; n <= 3; ++n) {
        for (int page = 0; page < 6; ++page) {
            current[page]->SetChecked(true);
            form->LanguageNumber = n;
            ASSERT_NO_THROW(form->ApplySkin());
            for (int j = 0; j < 6; ++j)
                pages[j]->SetVisible(j == page);
            form->gbPage7->SetVisible(false);
            form->SizeNormalPages();
            const QString name = QString("Layout%1_Page%2").arg(n).arg(page + 1);
            EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), name).isEmpty());
        }
    }
}

} // namespace
