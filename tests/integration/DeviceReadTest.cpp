// The information answer, the identity check and the whole-image read.
#include "DeviceFixture.h"

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "platform/desktop/Registry.h"
#include "window/device/MainDevice.h"

#include "platform/rtl/SysUtils.h"

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes LiveImageBytes() {
    return Bytes(device::LiveImage.begin(), device::LiveImage.end());
}

// A default image with other identity bytes in the mouse's identity block.
Bytes ImageWithIdentity(uint8_t manufacturer, uint8_t product) {
    Bytes image = FormDeviceTest::DefaultImage();
    image[device::image::Identity.Offset] = manufacturer;
    image[device::image::Identity.Offset + 1] = product;
    return image;
}

class DeviceReadTest : public FormDeviceTest {};

struct InfoCase {
    std::array<uint8_t, 7> answer;
    bool served;
};

class DeviceInfoAnswerTest : public FormDeviceTest,
                             public ::testing::WithParamInterface<InfoCase> {};

TEST_P(DeviceInfoAnswerTest, OnlyAnAnswerBelow40WithColonAndC0IsServed) {
    auto mouse = AddMouse();
    mouse->SetInfo(GetParam().answer);
    const Bytes before = LiveImageBytes();
    Tick();

    EXPECT_TRUE(modal->texts.empty()); // refused silently
    EXPECT_TRUE(Present());            // and left open
    if (GetParam().served) {
        EXPECT_EQ(form->DetectedInterface, "I2C");
        EXPECT_EQ(LiveImageBytes(), mouse->Image());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    } else {
        EXPECT_EQ(form->DetectedInterface, "");
        EXPECT_EQ(CommandsSent(), (Bytes{0x0D, 0x0D}));
        EXPECT_EQ(LiveImageBytes(), before);
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, DeviceInfoAnswerTest,
                         ::testing::Values(InfoCase{{0x3F, 0x3A, 0xC0}, true},
                                           InfoCase{{0x00, 0x3A, 0xC0, 0xFF, 0xFF}, true},
                                           InfoCase{{0x40, 0x3A, 0xC0}, false},
                                           InfoCase{{0xBF, 0x3A, 0xC0}, false},
                                           InfoCase{{0x00, 0x3B, 0xC0}, false},
                                           InfoCase{{0x00, 0x3A, 0xC1}, false}));

TEST_F(DeviceReadTest, IdentityFFFFMatchesTheShippedHeader) {
    ASSERT_EQ(window::device::ExpectedManufacturerId, 0xFF);
    ASSERT_EQ(window::device::ExpectedProductId, 0xFF);
    auto mouse = AddMouse(ImageWithIdentity(0xFF, 0xFF));
    Tick();
    EXPECT_EQ(LiveImageBytes(), mouse->Image());
    EXPECT_TRUE(modal->texts.empty());
}

TEST_F(DeviceReadTest, TheReservePairOfTheLayoutSettingsIsAcceptedToo) {
    form->ReserveManufacturerId = 12;
    form->ReserveProductId = 34;
    auto mouse = AddMouse(ImageWithIdentity(12, 34));
    Tick();
    form->ReserveManufacturerId = 0;
    form->ReserveProductId = 0;
    EXPECT_EQ(LiveImageBytes(), mouse->Image());
    EXPECT_EQ(TextOf("edt_VendorID_Rd"), "12");
    EXPECT_EQ(TextOf("edt_ProductID_Rd"), "34");
}

TEST_F(DeviceReadTest, AnotherIdentityIsRefusedWithTheTimerOffUntilOk) {
    form->ReserveManufacturerId = 12;
    form->ReserveProductId = 34;
    AddMouse(ImageWithIdentity(12, 35));
    const Bytes before = LiveImageBytes();
    bool timerWhileOpen = true;
    modal->whileOpen = [&](size_t) { timerWhileOpen = form->DevTimer->Enabled(); };
    form->DevTimer->SetEnabled(true);
    Tick();
    form->ReserveManufacturerId = 0;
    form->ReserveProductId = 0;

    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "The mouse manufacturer or product id error");
    EXPECT_EQ(modal->captions[0], ""); // the system's box: no caption
    EXPECT_FALSE(timerWhileOpen);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(LiveImageBytes(), before);
    EXPECT_EQ(CommandsSent(), (Bytes{0x0D, 0x0D, 0x09}));
    EXPECT_EQ(TextOf("edt_ProductID_Rd"), "35");
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
}

TEST_F(DeviceReadTest, AFlashMemoryTypeRefusesAnI2CMouseWithItsMessage) {
    device::MemoryType = "Flash";
    AddMouse();
    Tick();
    device::MemoryType = "I2C";
    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "VTRM408xData.bin file type error");
    EXPECT_EQ(form->DetectedInterface, "I2C");
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_EQ(CommandsSent(), (Bytes{0x0D, 0x0D}));
}

// The mouse stays but stops answering: nothing of the FF bytes it gave is shown as its
// configuration. The loss is reported, the window shows the no-device state and looks for
// the mouse at every tick; when it answers again it is read whole, without a replug.
TEST_F(DeviceReadTest, AReadInWhichEveryDataReadFailsShowsNothingOfItAndReportsTheLoss) {
    auto mouse = AddMouse();
    // The first busy step comes right before the image read: from there on, every data
    // read of the mouse fails, in every attempt.
    busy.onStep = [&](int step) {
        if (step == 1) mouse->FailNextGetFeature(1000);
    };
    Tick();

    ASSERT_EQ(modal->texts.size(), 1u);
    EXPECT_EQ(modal->texts[0], "Waiting to reconnect device\r\r");
    // The arrival gives up at its last failed transfer: a step for each failed read.
    EXPECT_EQ(busy.steps, 1 + device::FailedTransfersPerJob);
    EXPECT_EQ(LiveImageBytes(), DefaultImage(1));
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_TRUE(OverlaysVisible(true));
    EXPECT_EQ(form->DetectedInterface, "");
    EXPECT_FALSE(Present());
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);

    // Still silent: the next tick looks again, and says nothing more.
    busy.onStep = nullptr;
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);
    EXPECT_FALSE(Present());
    ASSERT_TRUE(PumpUntil([&] { return ProbeIdle(); }));
    mouse->FailNextGetFeature(0);
    EXPECT_TRUE(TickUntil([&] { return Present(); }));
    EXPECT_EQ(LiveImageBytes(), mouse->Image());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_EQ(modal->texts.size(), 1u);
}

TEST_F(DeviceReadTest, WhenTheReadCommandIsNotSentTheLastImageIsShownAgain) {
    auto mouse = AddMouse(ImageWithIdentity(0xFF, 0xFF));
    const Bytes before = LiveImageBytes(); // the first default image of the no-device state
    // The command fails in every attempt of the whole read.
    busy.onStep = [&](int step) {
        if (step == 1) mouse->FailNextSetFeature(device::BlockAttempts);
    };
    Tick();
    EXPECT_EQ(LiveImageBytes(), before);
    EXPECT_EQ(busy.steps, 1); // no chunk was read
    EXPECT_EQ(form->VendorCopy[2], 0x08);
    EXPECT_EQ(form->VendorCopy[3], 0xB9);
    EXPECT_TRUE(form->DevTimer->Enabled());
}

TEST_F(DeviceReadTest, ADamagedSectionIsRepairedInItsCopyWhileTheLiveImageKeepsItsBytes) {
    Bytes image = DefaultImage();
    const size_t at = device::image::Profile2.Offset + 5;
    image[at] ^= 0x40;
    AddMouse(image);
    Tick();
    EXPECT_EQ(device::LiveImage[at], image[at]);
    EXPECT_TRUE(device::ChecksumHolds(form->Profile2Copy));
    // The package item of the design chose the default key table.
    EXPECT_EQ(form->KeyCodeStrings[1][1], "01080000");
    // Untouched sections are the mouse's own.
    EXPECT_EQ(form->KeyCodeStrings[1][0], "01010000");
    EXPECT_EQ(form->KeyCodeStrings[0][1], "0300B600");
}

TEST_F(DeviceReadTest, TheDeviceMacrosAndFireMacrosOfTheImageAreListed) {
    Bytes image = DefaultImage();
    const size_t area = device::image::DeviceMacroArea.Offset;
    const device::TMacroName name = device::AsciiMacroName("Spray");
    std::copy(name.begin(), name.end(), image.begin() + area);
    image[area + 16] = 0xA1;
    image[area + 17] = 0x00;
    AddMouse(image);
    Tick();
    EXPECT_EQ(ItemsOf("LB_Name"), (std::vector<std::string>{"Spray"}));
    EXPECT_EQ(form->DeviceMacros.StartAddress[0], area + 16);
    EXPECT_EQ(form->DeviceMacros.Length[0], 2);
    EXPECT_EQ(ItemsOf("LB_FireMacroName").size(), 10u);
    EXPECT_EQ(ItemsOf("LB_FireMacroName").front(), "Macro1");
}

TEST_F(DeviceReadTest, CodeStringsHoldEveryProfileKeyAndComboRecordInUpperCaseHex) {
    StartWithMouse();
    const Bytes image = LiveImageBytes();
    for (int p = 0; p < 3; ++p)
        for (int k = 0; k < 12; ++k) {
            char expected[9];
            const size_t at = device::image::Profile1.Offset + 49 * p + 4 * k;
            std::snprintf(expected, sizeof expected, "%02X%02X%02X%02X", image[at], image[at + 1],
                          image[at + 2], image[at + 3]);
            EXPECT_EQ(form->KeyCodeStrings[p][k], expected) << p << "," << k;
        }
    EXPECT_EQ(form->ComboCodeStrings[2], "08010000");
    EXPECT_EQ(form->ComboCodeStrings[3], "07D1F020");
    EXPECT_EQ(form->ComboCodeStrings[8], "00000000");
}

TEST_F(DeviceReadTest, AFillStepThatRaisesStillGivesTheFormBack) {
    AddMouse();
    // A pointer setting that is no number makes the pointer-settings step raise.
    platform::desktop::testing::OverrideCurrentUserValue("Control Panel\\Mouse", "MouseSpeed",
                                                         std::string("fast"));
    EXPECT_THROW(Tick(), platform::rtl::EConvertError);
    platform::desktop::testing::ClearCurrentUserOverrides();
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_TRUE(OverlaysVisible(false));
    EXPECT_EQ(busy.hides, 1);
    EXPECT_EQ(window::device::DevicePollGuard, 0); // the next tick runs
}

} // namespace
} // namespace devtest
