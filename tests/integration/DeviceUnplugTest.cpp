// The mouse leaving: between ticks, and in the middle of the whole-image read.
#include "DeviceFixture.h"

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "window/device/MainDevice.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kLossText = "Waiting to reconnect device\r\r";

class DeviceUnplugTest : public FormDeviceTest {
protected:
    // The no-device state as a loss leaves it.
    void ExpectNoDeviceState() {
        EXPECT_FALSE(Present());
        EXPECT_EQ(device::ReadWriteHandle.load(), platform::win::INVALID_HANDLE_VALUE);
        EXPECT_EQ(device::DeviceVendorId, 0u);
        EXPECT_EQ(device::DeviceProductId, 0u);
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
        EXPECT_TRUE(OverlaysVisible(true));
        EXPECT_EQ(form->DetectedInterface, "");
        EXPECT_EQ(form->LedType, "");
        EXPECT_EQ(form->ReportRateHz, 0);
        EXPECT_TRUE(ItemsOf("LB_Name").empty());
        EXPECT_TRUE(ItemsOf("LB_MacroName").empty());
        EXPECT_TRUE(ItemsOf("LB_macro").empty());
        // The form shows the first default image again.
        EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), DefaultImage());
        EXPECT_TRUE(std::equal(form->VendorCopy.begin(), form->VendorCopy.end(),
                               device::DefaultImage1.begin()));
        EXPECT_TRUE(Visible("gbPage1"));
        EXPECT_FALSE(Visible("gbPage2"));
    }
};

TEST_F(DeviceUnplugTest, TheMouseUnpluggedFallsBackToTheDefaultsBehindTheOverlays) {
    AddKeyboard();
    auto mouse = StartWithMouse();
    ASSERT_EQ(form->DetectedInterface, "I2C");
    ASSERT_EQ(window::device::LastDeviceCount, 2);
    modal->whileOpen = [&](size_t) {
        // While the message is open the form already shows the no-device state.
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
        EXPECT_TRUE(OverlaysVisible(true));
    };
    form->LabelRun->SetEnabled(true); // a caption rolling when the mouse goes
    form->Pnl_Main->SetVisible(true); // and a key menu open
    mouse->Unplug();
    Tick();

    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], kLossText);
    EXPECT_FALSE(form->LabelRun->Enabled());
    EXPECT_FALSE(form->Pnl_Main->Visible());
    EXPECT_EQ(window::device::PingAnswered, 0);
    EXPECT_EQ(window::device::LastDeviceCount, 1);
    ExpectNoDeviceState();
    EXPECT_TRUE(form->DevTimer->Enabled()); // keeps looking for the mouse

    // Nothing more happens while nothing changes.
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);

    mouse->Plug();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(form->DetectedInterface, "I2C");
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_TRUE(OverlaysVisible(false));
}

// Unplugged after this many transfers of the read (the image-read command is transfer 1,
// its 293 data reads follow).
class DeviceUnplugDuringReadTest : public DeviceUnplugTest,
                                   public ::testing::WithParamInterface<unsigned> {};

TEST_P(DeviceUnplugDuringReadTest, EndsInTheNoDeviceStateAndFindsTheMouseAgain) {
    AddKeyboard();
    auto mouse = AddMouse();
    busy.onStep = [&](int step) {
        if (step == 1) mouse->UnplugAfterTransfers(GetParam());
    };
    Tick();
    // A read cut short stops a few data reads after the mouse went (its retry's command
    // fails): nothing of it is shown, and the loss is reported at once. A read that got
    // every report shows the image; the next tick sees the count fall and the ping fail.
    const bool whole = GetParam() > 293;
    EXPECT_EQ(busy.steps, GetParam() == 0 ? 1
                                          : 1 + std::min(293, static_cast<int>(GetParam()) - 1 +
                                                                  device::FailedReportsToStop));
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
    if (whole) {
        EXPECT_TRUE(modal->texts.empty());
        EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), mouse->Image());
    }
    busy.onStep = nullptr;
    Tick();
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], kLossText);
    ExpectNoDeviceState();
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);

    mouse->Plug();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), mouse->Image());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
}

INSTANTIATE_TEST_SUITE_P(Points, DeviceUnplugDuringReadTest,
                         ::testing::Values(0u, 1u, 2u, 100u, 292u, 293u, 294u));

} // namespace
} // namespace devtest
