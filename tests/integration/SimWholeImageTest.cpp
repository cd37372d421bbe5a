// Whole-image transfers with the program's busy window over its main window, exchanges
// from two threads, and a mouse that goes away in the middle of a transfer.
#include "SimDeviceFixture.h"
#include "device/DefaultSetting.h"
#include "window/Main.h"
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"

#include <QApplication>
#include <QTimer>

#include <atomic>
#include <future>
#include <thread>

namespace integration {
namespace {

// The device layer with the program's own busy window: Form1 and FormLoadingUI as the
// program block creates them.
class SimWithBusyWindow : public SimDeviceTest {
protected:
    void SetUp() override {
        SimDeviceTest::SetUp();
        main_ = std::make_unique<window::TForm1>(nullptr);
        main_->SetBounds(30, 40, 1030, 662);
        window::Form1 = main_.get();
        busy_ = std::make_unique<window::shell::TFormLoadingUI>(nullptr);
        window::shell::FormLoadingUI = busy_.get();
        ASSERT_TRUE(busy_->DoCreate());
        window::shell::InstallBusyWindow();
        OpenMouse();
    }
    void TearDown() override {
        SimDeviceTest::TearDown();
        busy_.reset();
        main_.reset();
        window::shell::FormLoadingUI = nullptr;
        window::Form1 = nullptr;
    }

    std::unique_ptr<window::TForm1> main_;
    std::unique_ptr<window::shell::TFormLoadingUI> busy_;
};

TEST_F(SimWithBusyWindow, WholeImageReadAndWriteRoundTrip) {
    const Bytes original = mouse->Image();
    Bytes image(2048, 0);
    ASSERT_TRUE(device::ReadEepromBlockWithWait(0, 2048, image.data()));
    EXPECT_EQ(image, original);
    std::vector<Report> sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], R({0x40, 0x09, 0x00, 0x00, 0x08, 0x00}));
    std::vector<Report> received = Received();
    ASSERT_EQ(received.size(), 293u);
    EXPECT_EQ(received[292], R({0x41, original[2044], original[2045], original[2046],
                                original[2047], 0xFF, 0xFF, 0xFF}));
    // The window shows over the main window and stays up for the caller to hide.
    EXPECT_TRUE(busy_->Visible());
    EXPECT_EQ(busy_->Left(), 30 + (1030 - 206) / 2);
    EXPECT_EQ(busy_->Top(), 40 + (662 - 196) / 2);
    EXPECT_TRUE(busy_->InputBlocked());

    // Every byte changed, written back whole, read back equal.
    for (uint8_t& b : image)
        b = static_cast<uint8_t>(~b);
    bus->ClearTranscript();
    ASSERT_TRUE(device::WriteEepromBlock(0, 2048, image.data()));
    sent = Sent();
    ASSERT_EQ(sent.size(), 294u);
    EXPECT_EQ(sent[0], R({0x40, 0x07, 0x00, 0x00, 0x08, 0x00}));
    EXPECT_EQ(sent[293], R({0x41, image[2044], image[2045], image[2046], image[2047], image[2041],
                            image[2042], image[2043]}));
    EXPECT_EQ(Received().size(), 0u);
    EXPECT_EQ(mouse->Image(), image);
    Bytes back(2048, 0);
    ASSERT_TRUE(device::ReadEepromBlockWithWait(0, 2048, back.data()));
    EXPECT_EQ(back, image);

    device::GetBusyWindow()->Hide();
    EXPECT_FALSE(busy_->Visible());
    EXPECT_FALSE(busy_->InputBlocked());
}

TEST_F(SimWithBusyWindow, AWriteStartedInsideTheMessageHandlingOfATransferIsRefused) {
    // A handler that runs while a transfer handles its messages (a timer here, as a
    // click cannot get through the blocked input) must not cut into the transfer.
    const Bytes original = mouse->Image();
    int attempts = 0;
    bool nestedResult = true;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++attempts;
        nestedResult = nestedResult && device::WriteConfigBytes(10, 0x99, 0, 0, 1);
    });
    timer.start(0);
    Bytes image(2048, 0);
    ASSERT_TRUE(device::ReadEepromBlockWithWait(0, 2048, image.data()));
    timer.stop();
    EXPECT_GT(attempts, 0);
    EXPECT_FALSE(nestedResult);
    EXPECT_EQ(image, original);
    EXPECT_EQ(Sent().size(), 1u) << "only the read's own command";
    device::GetBusyWindow()->Hide();
    // Once the transfer is over, the same write goes through.
    EXPECT_TRUE(device::WriteConfigBytes(10, 0x99, 0, 0, 1));
    EXPECT_EQ(mouse->LiveBytes()[10], 0x99);
}

TEST_F(SimWithBusyWindow, ExchangesOfTheWindowAndAPollingThreadNeverInterleave) {
    // A live write stamps the vendor checksum: with a valid one to begin with, the writes
    // below leave the image as it was.
    Bytes original = mouse->Image();
    original[163] = device::SectionChecksum(original.data(), 163);
    mouse->SetImage(original);
    std::atomic<bool> stop{false};
    std::atomic<int> pollReads{0};
    std::atomic<int> pollMismatches{0};
    // The polling thread's status reads: the user section, straight from the image memory.
    std::thread poller([&] {
        while (!stop) {
            uint8_t user[28];
            if (!device::ReadEepromBlock(164, 28, user)) continue;
            ++pollReads;
            const Bytes now = mouse->Image();
            if (!std::equal(user, user + 28, now.begin() + 164)) ++pollMismatches;
        }
    });
    Bytes image(2048, 0);
    for (int round = 0; round < 6; ++round) {
        ASSERT_TRUE(device::ReadEepromBlockWithWait(0, 2048, image.data()));
        EXPECT_EQ(image, original) << round;
        // Writes of the bytes it already has: the poller's reads stay comparable.
        ASSERT_TRUE(device::WriteEepromBlock(1024, 1024, original.data() + 1024));
        ASSERT_TRUE(device::WriteConfigBytes(20, original[20], 0, 0, 1));
    }
    while (pollReads < 20)
        std::this_thread::yield();
    stop = true;
    poller.join();
    device::GetBusyWindow()->Hide();
    EXPECT_EQ(pollMismatches, 0);
    EXPECT_GE(pollReads, 20);
    // Interleaving would have shown in the violations, which the fixture checks.
}

TEST_F(SimWithBusyWindow, TheMouseUnpluggedInTheMiddleOfAReadLeavesFFAndNoHang) {
    const Bytes original = mouse->Image();
    mouse->UnplugAfterTransfers(100); // the command and 99 data reads get through
    Bytes image(2048, 0x00);
    EXPECT_FALSE(device::ReadEepromBlockWithWait(0, 2048, image.data())) << "the read says so";
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 99 * 7),
              Bytes(original.begin(), original.begin() + 99 * 7));
    EXPECT_TRUE(
        std::all_of(image.begin() + 99 * 7, image.end(), [](uint8_t b) { return b == 0xFF; }));
    // Afterwards every command fails; the caller's device check then releases the mouse.
    EXPECT_FALSE(device::ReadEepromBlock(0, 7, image.data()));
    EXPECT_FALSE(device::WriteConfigBytes(1, 2, 0, 0, 1));
    device::ReleaseDeviceHandles();
    EXPECT_EQ(device::CountHidDevices(), 1) << "only the keyboard is left";
    EXPECT_FALSE(device::OpenDevice(kVendor, kProduct));
    device::GetBusyWindow()->Hide();
}

TEST_F(SimWithBusyWindow, TheMouseUnpluggedInTheMiddleOfAWriteKeepsWhatArrived) {
    const Bytes original = mouse->Image();
    Bytes image(2048, 0x5C);
    mouse->UnplugAfterTransfers(51); // the command and 50 data reports
    EXPECT_FALSE(device::WriteEepromBlock(0, 2048, image.data()))
        << "lost data reports are reported";
    mouse->Plug();
    const Bytes after = mouse->Image();
    EXPECT_TRUE(
        std::all_of(after.begin(), after.begin() + 350, [](uint8_t b) { return b == 0x5C; }));
    EXPECT_EQ(Bytes(after.begin() + 350, after.end()),
              Bytes(original.begin() + 350, original.end()));
    // The handles of before the unplug stay dead; finding the mouse again opens it anew.
    EXPECT_FALSE(device::WriteConfigBytes(1, 2, 0, 0, 1));
    device::ReleaseDeviceHandles();
    ASSERT_TRUE(device::OpenDevice(kVendor, kProduct));
    EXPECT_TRUE(device::WriteConfigBytes(1, 2, 0, 0, 1));
    device::GetBusyWindow()->Hide();
}

TEST_F(SimWithBusyWindow, ABlockedInputReadWakesWhenTheMouseGoes) {
    auto reader = std::async(std::launch::async, [] {
        uint8_t report[64];
        return device::ReadInputReport(report);
    });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    mouse->Unplug();
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(reader.get());
}

} // namespace
} // namespace integration
