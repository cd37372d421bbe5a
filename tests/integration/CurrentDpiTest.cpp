// Choosing the current DPI level by clicking its mark on the performance page.
#include "DeviceFixture.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "window/shell/Form1Shell.h"

namespace devtest {
namespace {

class CurrentDpiTest : public FormDeviceTest {};

TEST_F(CurrentDpiTest, ClickingALevelMarkMakesItTheMousesCurrentLevel) {
    auto mouse = StartWithMouse();
    bus->ClearTranscript();
    form->Named<platform::vcl::TImage>("Img_DPI3").Click();
    EXPECT_EQ(mouse->LiveBytes()[166], 2);
    EXPECT_EQ(form->CurrentCPILevel, 2);
    EXPECT_EQ(form->UserCopy[2], 2);
    EXPECT_EQ(form->Named<platform::vcl::TImage>("Img_DPI3").PictureName(), "CbS_E");
    EXPECT_EQ(form->Named<platform::vcl::TImage>("Img_DPI1").PictureName(), "CbS_D");
    EXPECT_TRUE(form->Named<platform::vcl::TRadioButton>("rb_DPI3").Checked());
    // One live write of one byte: 40 05 00 A6 02 00 00 01.
    EXPECT_EQ(CommandsSent(), std::vector<uint8_t>({0x05}));
}

TEST_F(CurrentDpiTest, WhileTheFormIsFilledTheClickSendsNothing) {
    StartWithMouse();
    bus->ClearTranscript();
    window::shell::UiLoadingFlag = 1;
    form->Named<platform::vcl::TImage>("Img_DPI5").Click();
    window::shell::UiLoadingFlag = 0;
    EXPECT_TRUE(CommandsSent().empty());
    EXPECT_EQ(form->CurrentCPILevel, 4);
}

} // namespace
} // namespace devtest
