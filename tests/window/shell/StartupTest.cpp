// The main window's start-up: its size and place, the pages, the skin pictures it puts up,
// and the close.
#include "ShellTestSupport.h"

#include "common/Screenshot.h"
#include "device/DefaultSetting.h"
#include "device/DeviceImage.h"
#include "device/Subroutines.h"
#include "platform/win/WinTypes.h"
#include "window/shell/Program.h"

#include <QApplication>
#include <QIcon>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform::rtl;
using namespace platform::vcl;
using shell_test::StartedForm;

namespace {

TEST(StartupTest, WindowTakesThePageSizeOfItsBackgroundAndIsCentred) {
    auto form = StartedForm();
    // The design says 1252 x 684; the background picture decides.
    EXPECT_EQ(form->PageWidth, 1030);
    EXPECT_EQ(form->PageHeight, 662);
    EXPECT_EQ(form->Width(), 1030);
    EXPECT_EQ(form->Height(), 662);
    EXPECT_EQ(form->Left(), (Screen()->Width() - 1030) / 2);
    EXPECT_EQ(form->Top(), (Screen()->Height() - 662) / 2);
    for (TGroupBox* page : {form->gbPage1, form->gbPage2, form->gbPage3, form->gbPage4,
                            form->gbPage5, form->gbPage6}) {
        EXPECT_EQ(page->Width(), 1030) << page->Name();
        EXPECT_EQ(page->Height(), 662) << page->Name();
    }
    EXPECT_EQ(form->gbPage7->Width(), 1256);
    EXPECT_EQ(form->gbPage7->Height(), 680);
    for (const char* overlay : {"Disable_All_1", "Disable_All_4_1", "Disable_All_5"}) {
        EXPECT_EQ(form->Named<TControl>(overlay).Width(), 1030) << overlay;
        EXPECT_EQ(form->Named<TControl>(overlay).Height(), 662) << overlay;
    }

    form->Show();
    EXPECT_EQ(form->Left(), (Screen()->Width() - 1030) / 2) << "showing keeps the place";
    form->UpdateShape();
    // The maroon corners are see-through; the middle is window.
    EXPECT_FALSE(form->Widget()->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(form->Widget()->mask().contains(QPoint(515, 331)));
    EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), "StartWindow").isEmpty());
}

// The application as the program block prepares it: the program's icon is the
// application's, the window's and the one handed to the notification area.
TEST(StartupTest, TheProgramIconIsTheApplicationsTheWindowsAndTheTrays) {
    window::shell::PrepareApplication();
    auto form = StartedForm();
    const controls::skin::TIcon& tray = form->TrayIcon1->Icon();
    ASSERT_FALSE(tray.Empty()) << "the notification area would show nothing";
    const QList<QSize> sizes = tray.Picture().availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_FALSE(form->Widget()->windowIcon().isNull());
    EXPECT_EQ(form->Widget()->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    QApplication::setWindowIcon(QIcon());
}

TEST(StartupTest, StartStateFirstPageProfileOneInvalidHandlesAndDefaultIds) {
    auto form = StartedForm();
    EXPECT_TRUE(form->gbPage1->Visible());
    for (TGroupBox* page :
         {form->gbPage2, form->gbPage3, form->gbPage4, form->gbPage5, form->gbPage6, form->gbPage7})
        EXPECT_FALSE(page->Visible()) << page->Name();
    EXPECT_TRUE(form->rb_1->Checked());
    EXPECT_EQ(form->LanguageNumber, 1);
    EXPECT_EQ(device::CommandHandle.load(), platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::DataHandle.load(), platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::ReadWriteHandle.load(), platform::win::INVALID_HANDLE_VALUE);
    ASSERT_FALSE(form->ProgramFolder.empty());
    EXPECT_EQ(form->ProgramFolder.back(), '/');
    EXPECT_TRUE(form->TransparentColor());
    EXPECT_EQ(form->TransparentColorValue(), clMaroon);
    EXPECT_EQ(form->BorderIcons(), 0u);

    const auto& h = device::DefaultImageHeader;
    EXPECT_EQ(device::DeviceIdTable[0].vendorId, h[0] * 256u + h[1]);
    EXPECT_EQ(device::DeviceIdTable[0].productId, h[2] * 256u + h[3]);
    EXPECT_EQ(device::MemoryType, h[0x1EF] == 0xE0 ? "I2C" : "Flash");

    for (const char* edit :
         {"Edt_Repeat1", "Edt_Delay", "edt_YAxisValue", "Edt_FireY3Offset", "Edt_InsertFireDelay"})
        EXPECT_EQ(form->Named<TEdit>(edit).Alignment(), taRightJustify) << edit;
    EXPECT_EQ(form->Named<TEdit>("edt_OffSet").Alignment(), taLeftJustify)
        << "only the count, time and offset edits";
}

TEST(StartupTest, StartPicturesMarkProfileOneLanguageOneAndPresetOne) {
    auto form = StartedForm();
    for (int k = 1; k <= 5; ++k) {
        const std::string d = std::to_string(k);
        EXPECT_EQ(form->Named<TImage>("Img_Main_" + d).PictureName(), "SetS_03");
        EXPECT_EQ(form->Named<TImage>("Img_Lang1_" + d).PictureName(), "SetS_03");
        EXPECT_EQ(form->Named<TImage>("Img_Switch_" + d).PictureName(), "SetS_01");
        EXPECT_EQ(form->Named<TImage>("Img_Lang3_" + d).PictureName(), "SetS_01");
        EXPECT_EQ(form->Named<TImage>("Img_Exit1_" + d).PictureName(), "ExitS_01");
        EXPECT_EQ(form->Named<TImage>("Img_Confirm3_" + d).PictureName(), "BtnS_01");
        EXPECT_EQ(form->Named<TImage>("Img_Web_" + d).PictureName(), "WebS_01");
    }
    EXPECT_EQ(form->Img_P1->PictureName(), "L1_Back1");
    EXPECT_EQ(form->Img_P6->PictureName(), "L1_Back5");
    EXPECT_EQ(form->Named<TImage>("Img_Base_6").PictureName(), "L1_BackGround");
    EXPECT_EQ(form->Named<TImage>("Img_Fire1").PictureName(), "Gun1_02");
    EXPECT_EQ(form->Named<TImage>("Img_Fire7").PictureName(), "Gun7_01");
    EXPECT_EQ(form->Named<TImage>("LED_RecDelay").PictureName(), "RdS_E");
    EXPECT_EQ(form->Named<TImage>("LED_FireNoDelay").PictureName(), "RdS_D");
    EXPECT_EQ(form->Named<TImage>("Img_FireInsert").PictureName(), "InsertDelayBase");
    // The default image's level 8 is at its highest CPI value: the last cell lit, and the
    // first only when the levels are drawn as bars.
    EXPECT_EQ(form->Named<TImage>("Img_DPI8_12").PictureName(), "Bar2_E");
    EXPECT_EQ(form->Named<TImage>("Img_DPI8_1").PictureName(),
              form->DpiLedStatus ? "Bar2_D" : "Bar2_E");
    // Pictures autosize their controls.
    EXPECT_EQ(form->Img_P1->Width(), 600);
    EXPECT_EQ(form->Img_P1->Height(), 400);
    EXPECT_EQ(form->Named<TImage>("Img_Web_2").Width(), 150);
}

TEST(StartupTest, BackgroundSizeComesFromLanguageOneWhateverTheLanguage) {
    auto form = StartedForm();
    form->LanguageNumber = 2;
    form->Named<TImage>("Img_Base_1").ClearPicture();
    form->LoadBackgroundSize();
    EXPECT_EQ(form->Named<TImage>("Img_Base_1").PictureName(), "L1_BackGround");
    EXPECT_EQ(form->PageWidth, 1030);
    EXPECT_EQ(form->PageHeight, 662);
}

TEST(StartupTest, SkinImagesLeaveTheKeyPagePictureWhenAnotherPageIsCurrent) {
    auto form = StartedForm();
    form->Img_P1->ClearPicture();
    form->rb_4->SetChecked(true);
    form->LoadSkinImages();
    EXPECT_TRUE(form->Img_P1->PictureName().empty());
    EXPECT_EQ(form->Img_P2->PictureName(), "L1_Back2");
    form->rb_3->SetChecked(true);
    form->LoadSkinImages();
    EXPECT_EQ(form->Img_P1->PictureName(), "L1_Back1");
}

TEST(StartupTest, EngineeringSizeGrowsFromTheSameTopLeftAndShrinksBack) {
    auto form = StartedForm();
    form->Show();
    const int left = form->Left();
    const int top = form->Top();
    form->SizeEngineerPage();
    EXPECT_EQ(form->Width(), 1256);
    EXPECT_EQ(form->Height(), 680);
    EXPECT_EQ(form->Left(), left);
    EXPECT_EQ(form->Top(), top);
    EXPECT_EQ(form->gbPage1->Width(), 1030);
    EXPECT_EQ(form->gbPage7->Width(), 1256);
    form->SizeNormalPages();
    EXPECT_EQ(form->Width(), 1030);
    EXPECT_EQ(form->Height(), 662);
    EXPECT_EQ(form->Left(), left);
}

TEST(StartupTest, ScreenshotsOfEveryPage) {
    auto form = StartedForm();
    form->Show();
    TGroupBox* pages[] = {form->gbPage1, form->gbPage2, form->gbPage3, form->gbPage4,
                          form->gbPage5, form->gbPage6, form->gbPage7};
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j)
            pages[j]->SetVisible(i == j);
        if (i == 6)
            form->SizeEngineerPage();
        else
            form->SizeNormalPages();
        const QString name = QString("Page%1").arg(i + 1);
        EXPECT_FALSE(testing_support::SaveScreenshot(form->Widget(), name).isEmpty()) << i;
    }
}

TEST(StartupTest, HintLineShowsTheApplicationHint) {
    auto form = StartedForm();
    Application()->SetHint("Pointer speed|Moves the pointer faster");
    EXPECT_EQ(controls::unicode::TWideLabel::GetCaption(form->lbl_Content),
              controls::unicode::AnsiToWide(Application()->Hint()));
}

TEST(StartupTest, CloseInvalidatesTheHandlesAndTakesTheTrayIconAway) {
    auto form = StartedForm();
    ASSERT_NE(form->TrayIcon1, nullptr);
    bool canClose = false;
    form->FormCloseQuery(form.get(), canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(form->TrayIcon1, nullptr);
    EXPECT_EQ(form->FindComponent("TrayIcon1"), nullptr);
    EXPECT_EQ(device::CommandHandle.load(), platform::win::INVALID_HANDLE_VALUE);
    EXPECT_EQ(device::ReadWriteHandle.load(), platform::win::INVALID_HANDLE_VALUE);
}

TEST(StartupTest, DragFromABackgroundClosesThePopUpsFirst) {
    auto form = StartedForm();
    form->Show();
    form->Pnl_Main->SetVisible(true);
    form->LB_Script->SetVisible(true);
    auto& base = form->Named<TImage>("Img_Base_3");
    ASSERT_TRUE(base.OnMouseDown);
    base.OnMouseDown(&base, mbRight, 0, 10, 10);
    EXPECT_FALSE(form->Pnl_Main->Visible());
    EXPECT_FALSE(form->LB_Script->Visible());
    for (TControl* c : std::initializer_list<TControl*>{form->gbPage7, form->Pg_Parameter,
                                                        form->ts_Gun, form->Img_Logo4})
        EXPECT_TRUE(c->OnMouseDown) << c->Name() << " drags the window too";
}

} // namespace
