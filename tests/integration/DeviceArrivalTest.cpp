// Arrival and removal of HID interfaces as the device timer sees them.
#include "DeviceFixture.h"

#include "device/Subroutines.h"
#include "window/device/MainDevice.h"

namespace devtest {
namespace {

const std::string kLossText = "Waiting to reconnect device\r\r";

class DeviceArrivalTest : public FormDeviceTest {};

TEST_F(DeviceArrivalTest, OnlyAKeyboardAtStartShowsTheLossMessageAfterTheFirstTick) {
    AddKeyboard();
    // The real timer this time: its first tick sees a count above 0, waits for the
    // arrival to settle, finds no mouse and reports the loss.
    form->DevTimer->SetInterval(3500);
    form->DevTimer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !modal->texts.empty(); }));
    form->DevTimer->SetEnabled(false);

    EXPECT_EQ(modal->texts.front(), kLossText);
    EXPECT_EQ(window::device::LastDeviceCount, 1);
    EXPECT_FALSE(Present());
    EXPECT_TRUE(OverlaysVisible(true));
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_EQ(form->DetectedInterface, "");
    // No report reached the keyboard: nothing was opened to talk to.
    EXPECT_TRUE(CommandsSent().empty());
}

TEST_F(DeviceArrivalTest, TheFirstTickWithTheMousePresentReadsTheWholeImage) {
    AddKeyboard();
    auto mouse = AddMouse();
    device::PCMacroNameTable[4] = device::AsciiMacroName("Reload");
    Tick();
    device::PCMacroNameTable[4] = {};

    EXPECT_TRUE(modal->texts.empty());
    EXPECT_TRUE(Present());
    EXPECT_EQ(window::device::LastDeviceCount, 2);
    EXPECT_EQ(form->DetectedInterface, "I2C");
    EXPECT_EQ(std::vector<uint8_t>(device::LiveImage.begin(), device::LiveImage.end()),
              mouse->Image());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_TRUE(Visible("gbPage1"));
    // Open handshake, information, identity read, whole-image read, nothing else.
    EXPECT_EQ(CommandsSent(), (std::vector<uint8_t>{0x0D, 0x0D, 0x09, 0x09}));
    EXPECT_EQ(busy.steps, 1 + 293);
    EXPECT_EQ(busy.hides, 1);
    // Read identity bytes and the patch-code checksum of the image are on the form.
    EXPECT_EQ(TextOf("edt_VendorID_Rd"), "255");
    EXPECT_EQ(TextOf("edt_ProductID_Rd"), "255");
    EXPECT_EQ(TextOf("edt_PatCodeCk"), "07A2");
    // The PC macro list is shown afresh with the read.
    EXPECT_EQ(ItemsOf("LB_PCMacroName"), (std::vector<std::string>{"Reload"}));
}

TEST_F(DeviceArrivalTest, TheReadRunsBehindTheOverlaysWithTheTimerOffAndTheLoadingFlagSet) {
    AddMouse();
    int checkedSteps = 0;
    busy.onStep = [&](int) {
        EXPECT_EQ(window::shell::UiLoadingFlag, 1);
        EXPECT_FALSE(form->DevTimer->Enabled());
        EXPECT_TRUE(OverlaysVisible(true));
        ++checkedSteps;
    };
    Tick();
    EXPECT_EQ(checkedSteps, 294);
}

TEST_F(DeviceArrivalTest, AKeyboardLeavingWhileTheMouseStaysIsAnsweredByThePingAlone) {
    auto keyboard = AddKeyboard();
    StartWithMouse();
    const std::vector<uint8_t> before = CommandsSent();
    keyboard->Unplug();

    Tick();
    EXPECT_EQ(window::device::PingAnswered, 1);
    EXPECT_TRUE(modal->texts.empty());
    EXPECT_TRUE(Present());
    EXPECT_EQ(window::device::LastDeviceCount, 2); // left as it was, so the next tick probes again
    Tick();
    std::vector<uint8_t> expected = before;
    expected.insert(expected.end(), {0x0D, 0x0D});
    EXPECT_EQ(CommandsSent(), expected);

    // Back to the old count: nothing to do at all.
    keyboard->Plug();
    Tick();
    EXPECT_EQ(CommandsSent(), expected);
    EXPECT_TRUE(modal->texts.empty());
    EXPECT_TRUE(OverlaysVisible(false));
}

TEST_F(DeviceArrivalTest, AnInterfaceArrivingWhileTheMouseIsOpenReadsTheImageAgain) {
    auto mouse = StartWithMouse();
    std::vector<uint8_t> changed = mouse->Image();
    changed[device::image::DeviceMacroArea.Offset] = 0xAB; // visible only in LiveImage
    mouse->SetImage(changed);
    AddKeyboard();
    Tick();
    EXPECT_EQ(device::LiveImage[device::image::DeviceMacroArea.Offset], 0xAB);
    EXPECT_EQ(window::device::LastDeviceCount, 2);
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(DeviceArrivalTest, NoTickRunsInsideAnotherWhileTheLossMessageIsOpen) {
    AddKeyboard();
    int nestedTicks = 0;
    modal->holdRounds = 20;
    modal->whileOpen = [&](size_t) {
        // The timer fires again and again while the message is open: with the real
        // interval the message loop has run many ticks by now; each returned at once.
        EXPECT_EQ(window::device::DevicePollGuard, 1);
        Tick();
        ++nestedTicks;
    };
    form->DevTimer->SetInterval(1); // a tick every scaled millisecond: many inside the dialog
    form->DevTimer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return !modal->texts.empty(); }));
    form->DevTimer->SetEnabled(false);
    PumpUntil([] { return false; }, 50);

    EXPECT_EQ(nestedTicks, 1);
    EXPECT_EQ(modal->texts.size(), 1u); // one loss, one message
    EXPECT_EQ(window::device::DevicePollGuard, 0);
    EXPECT_EQ(window::device::LastDeviceCount, 1);
}

TEST_F(DeviceArrivalTest, AfterTheLossMessageTheNextArrivalFindsTheMouse) {
    AddKeyboard();
    Tick();
    ASSERT_EQ(modal->texts.size(), 1u);
    auto mouse = AddMouse();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_EQ(std::vector<uint8_t>(device::LiveImage.begin(), device::LiveImage.end()),
              mouse->Image());
}

TEST_F(DeviceArrivalTest, AnEntryOfTheIdTableWithAZeroIdIsSkipped) {
    auto mouse = AddMouse();
    const device::DeviceIdEntry mouseIds = device::DeviceIdTable[0];
    device::DeviceIdTable[0] = {mouseIds.vendorId, 0};
    device::DeviceIdTable[1] = mouseIds;
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(device::DeviceVendorId, mouseIds.vendorId);
    EXPECT_EQ(device::DeviceProductId, mouseIds.productId);
    device::DeviceIdTable[1] = {};
}

} // namespace
} // namespace devtest
