// The reset road: reset command, the long wait with the window alive, re-find and read.
#include "DeviceFixture.h"

#include "device/Subroutines.h"
#include "window/device/MainDevice.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

class DeviceResetTest : public FormDeviceTest {};

TEST_F(DeviceResetTest, ASuccessfulResetReadsTheImageAgainAndLeavesTheTimerRunning) {
    auto mouse = StartWithMouse();
    // What the mouse holds after the reset (a whole-image write before it, say).
    Bytes changed = DefaultImage(2);
    mouse->SetImage(changed);
    // The whole-image writers switch the timer off before they reset.
    form->DevTimer->SetEnabled(false);
    form->ResetDeviceAndReFind();

    EXPECT_EQ(mouse->ResetCount(), 1u);
    EXPECT_EQ(window::device::LastDeviceCount, 1); // the re-find leaves the timer's count alone
    EXPECT_TRUE(modal->texts.empty());
    EXPECT_TRUE(Present());
    EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), changed);
    EXPECT_EQ(form->KeyCodeStrings[1][0], "1006A0FF");
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    const std::vector<uint8_t> commands = CommandsSent();
    // First read, then the reset and a second open, information, identity and image read.
    EXPECT_EQ(Bytes(commands.begin() + 4, commands.end()), (Bytes{0x0E, 0x0D, 0x0D, 0x09, 0x09}));
}

TEST_F(DeviceResetTest, TheWindowIsKeptAliveDuringTheWait) {
    StartWithMouse();
    int ticksDuringWait = 0;
    form->DevTimer->SetEnabled(false);
    // Events queued by the window run inside the wait.
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { ++ticksDuringWait; });
    probe.start(0);
    form->ResetDeviceAndReFind();
    probe.stop();
    EXPECT_GT(ticksDuringWait, 1000);
}

// The timer the caller turned off is started again, so the mouse is found when it comes
// back; the loss is reported once.
TEST_F(DeviceResetTest, AMouseThatDoesNotComeBackEndsInTheLossAndIsFoundWhenItReturns) {
    auto mouse = StartWithMouse();
    mouse->SetResetReturn(std::nullopt);
    form->DevTimer->SetEnabled(false);
    form->ResetDeviceAndReFind();
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Waiting to reconnect device\r\r");
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_TRUE(OverlaysVisible(true));
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);

    mouse->Plug();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_EQ(Bytes(device::LiveImage.begin(), device::LiveImage.end()), mouse->Image());
    EXPECT_EQ(modal->texts.size(), 1u);
}

} // namespace
} // namespace devtest
