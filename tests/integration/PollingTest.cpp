// The polling thread against the simulated mouse: the window follows the DPI and profile
// buttons pressed on the mouse, the input reports and change flags, the status read back
// after each change, a mouse unplugged while the thread waits for it, and a window closed
// while the thread waits for the window.
#include "DeviceFixture.h"
#include "common/TaskNice.h"

#include "device/Subroutines.h"
#include "platform/core/Time.h"
#include "window/device/ButtonNames.h"
#include "window/device/ThreadGetData.h"

#include <QApplication>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace devtest {
namespace {

using Report = std::array<uint8_t, 8>;

Report StatusReport(uint8_t event, uint8_t id = window::device::StatusReportId) {
    return {id, 0x11, 0x22, event, 0x33, 0x44, 0x55, 0x66};
}

// Ends the test program when a step that must finish has not finished in time: a
// deadlock otherwise only shows as the suite's time-out.
class Watchdog {
public:
    explicit Watchdog(const char* what, std::chrono::seconds limit = std::chrono::seconds(20))
        : thread_([this, what, limit] {
              std::unique_lock lock(mutex_);
              if (!done_cv_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "Watchdog: %s did not finish\n", what);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::thread thread_;
};

class PollingTest : public FormDeviceTest {
protected:
    void TearDown() override {
        window::device::StopPrimeThread();
        FormDeviceTest::TearDown();
    }

    // Image-memory reads (command 09) since the transcript was cleared, by address.
    std::vector<int> ImageReads() const {
        std::vector<int> addresses;
        for (const simulator::TranscriptEntry& e : bus->Transcript())
            if (e.kind == simulator::TransferKind::SetFeature && e.bytes[0] == 0x40 &&
                e.bytes[1] == 0x09) {
                EXPECT_EQ(e.bytes[4] * 256 + e.bytes[5], 1) << "one byte per status read";
                addresses.push_back(e.bytes[2] * 256 + e.bytes[3]);
            }
        return addresses;
    }

    std::string Picture(const std::string& image) const {
        return form->Named<platform::vcl::TImage>(image).PictureName();
    }

    // The level's radio is checked and its mark alone lit; level -1: no mark lit.
    bool DpiMarked(int level) const {
        for (int n = 1; n <= 8; ++n) {
            const bool lit = Picture("Img_DPI" + std::to_string(n)) == "CbS_E";
            if (lit != (n == level + 1)) return false;
        }
        return level < 0 ||
               form->Named<platform::vcl::TRadioButton>("rb_DPI" + std::to_string(level + 1))
                   .Checked();
    }

    bool ProfileShown(int p) const {
        platform::vcl::TRadioButton* radios[] = {form->rb_1, form->rb_2, form->rb_3};
        const char* families[] = {"Img_Main_", "Img_Switch_", "Img_Fixed_"};
        for (int i = 1; i <= 5; ++i)
            if (Picture(families[p] + std::to_string(i)) != "SetS_03") return false;
        return radios[p]->Checked() && form->cb_Profile->ItemIndex() == p &&
               form->gbPage1->Visible() && !form->gbPage2->Visible() && !form->gbPage7->Visible();
    }

    // Runs reports through the thread's handling on this thread; records how many status
    // reads had been made at each pause.
    std::vector<size_t> Handle(std::initializer_list<Report> reports) {
        std::vector<size_t> pauses;
        for (const Report& r : reports)
            window::device::HandleStatusReport(
                *form, r.data(), [&] { pauses.push_back(ImageReads().size()); },
                [] { return false; });
        return pauses;
    }

    void SetImageByte(simulator::SimMouse& mouse, size_t address, uint8_t value) {
        std::vector<uint8_t> image = mouse.Image();
        image[address] = value;
        mouse.SetImage(image);
    }
};

TEST_F(PollingTest, WindowFollowsTheDpiButtonOnTheMouse) {
    auto mouse = StartWithMouse();
    platform::core::SetTimeScale(0.01);
    window::device::StartPrimeThread(*form);
    ASSERT_TRUE(window::device::PrimeThreadRunning());
    bus->ClearTranscript();
    // Four levels in use: the button steps 1, 2, 3, back to 0 and on to 1.
    for (int press = 1; press <= 5; ++press) {
        ASSERT_TRUE(mouse->PressDpiButton());
        const int level = mouse->LiveBytes()[simulator::SimMouse::kCpiLevelByte];
        ASSERT_EQ(level, press % 4);
        EXPECT_TRUE(PumpUntil([&] { return form->CurrentCPILevel == level && DpiMarked(level); }))
            << "press " << press;
    }
    EXPECT_EQ(ImageReads(), std::vector<int>(5, window::device::CurrentDpiLevelAddress));
    // The polling thread clears the flag once the window's refresh has returned to it,
    // which can be a moment after the window shows the level; the flag is the thread's
    // own, so it is looked at once the thread has ended.
    window::device::StopPrimeThread();
    EXPECT_EQ(form->DpiChangedFlag1, 0);
}

using testing_support::NiceOfTask;

TEST_F(PollingTest, ThePollingThreadRunsBelowTheWindowsPriority) {
    StartWithMouse();
    window::device::StartPrimeThread(*form);
    ASSERT_TRUE(PumpUntil([] { return window::device::PrimeThreadNativeId() != 0; }));
    EXPECT_GT(NiceOfTask(window::device::PrimeThreadNativeId()), NiceOfTask(getpid()));
}

TEST_F(PollingTest, WindowFollowsTheProfileButtonOnTheMouse) {
    auto mouse = StartWithMouse();
    window::device::StartPrimeThread(*form);
    // The engineering page is current; the default image has the second profile current.
    form->Btn_Engineer_0Click(nullptr);
    ASSERT_EQ(Picture("Img_Engineer_1"), "SetS_03");
    bus->ClearTranscript();

    // The third profile's key 1 carries a function the key page does not show yet.
    form->KeyCodeStrings[2][0] = form->KeyCodeStrings[0][1];
    const std::string keyName =
        window::device::CodeToFunctionName(*form, form->KeyCodeStrings[2][0]);
    ASSERT_NE(form->Named<platform::vcl::TControl>("Key1").Caption(), keyName);

    ASSERT_TRUE(mouse->PressProfileButton());
    ASSERT_EQ(mouse->LiveBytes()[164] & 0x0F, 2);
    ASSERT_TRUE(PumpUntil([&] { return ProfileShown(2); }));
    EXPECT_EQ(form->Named<platform::vcl::TControl>("Key1").Caption(), keyName);
    EXPECT_EQ(Picture("Img_P1"), "L1_Back1");
    // The third profile leaves the engineering entry pressed; every other entry is normal.
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(Picture("Img_Engineer_" + std::to_string(i)), "SetS_03");
        EXPECT_EQ(Picture("Img_Main_" + std::to_string(i)), "SetS_01");
        EXPECT_EQ(Picture("Img_Adv_" + std::to_string(i)), "SetS_01");
    }

    ASSERT_TRUE(mouse->PressProfileButton());
    ASSERT_TRUE(PumpUntil([&] { return ProfileShown(0); }));
    EXPECT_EQ(Picture("Img_Engineer_1"), "SetS_01");
    EXPECT_FALSE(Visible("Key_Profile1"));
    EXPECT_TRUE(Visible("Key_Profile2"));
    EXPECT_EQ(form->Named<platform::vcl::TControl>("Key_Profile2").Top(), 1);
    EXPECT_EQ(form->Pnl_Main->Height(), 170);
    EXPECT_EQ(ImageReads(), std::vector<int>(2, window::device::CurrentProfileAddress));
}

TEST_F(PollingTest, EachChangeGetsItsOwnPauseAndReadDpiFirst) {
    auto mouse = StartWithMouse();
    bus->ClearTranscript();

    // One DPI event: one pause, then one read.
    EXPECT_EQ(Handle({StatusReport(1), StatusReport(0)}), std::vector<size_t>{0});
    EXPECT_EQ(ImageReads(), std::vector<int>{166});

    // All four events, in any order: three DPI reads, then the profile read, each after
    // its own pause.
    bus->ClearTranscript();
    EXPECT_EQ(Handle({StatusReport(8), StatusReport(4), StatusReport(1), StatusReport(2),
                      StatusReport(0)}),
              (std::vector<size_t>{0, 1, 2, 3}));
    EXPECT_EQ(ImageReads(), (std::vector<int>{166, 166, 166, 164}));
    EXPECT_EQ(form->DpiChangedFlag1 + form->DpiChangedFlag2 + form->DpiChangedFlag3 +
                  form->ProfileChangedFlag,
              0);

    // A repeated event is one change; a second end of change has nothing left to do.
    bus->ClearTranscript();
    EXPECT_EQ(Handle({StatusReport(2), StatusReport(2), StatusReport(0), StatusReport(0)}).size(),
              1u);
    EXPECT_EQ(ImageReads().size(), 1u);
}

TEST_F(PollingTest, ReportsThatNameNoEventChangeNothing) {
    auto mouse = StartWithMouse();
    bus->ClearTranscript();
    // Two event bits at once, an event above 8, other report ids: no flag, no read.
    EXPECT_TRUE(Handle({StatusReport(3), StatusReport(9), StatusReport(0xFF), StatusReport(5),
                        StatusReport(1, 0x41), StatusReport(8, 0x00), StatusReport(0)})
                    .empty());
    EXPECT_EQ(form->DpiChangedFlag1 + form->DpiChangedFlag2 + form->DpiChangedFlag3 +
                  form->ProfileChangedFlag,
              0);
    EXPECT_TRUE(ImageReads().empty());

    // An end of change under another id leaves a pending change pending.
    EXPECT_TRUE(Handle({StatusReport(4), StatusReport(0, 0x41), StatusReport(0, 0x00)}).empty());
    EXPECT_EQ(form->DpiChangedFlag3, 1);
    EXPECT_EQ(Handle({StatusReport(0)}).size(), 1u);
    EXPECT_EQ(form->DpiChangedFlag3, 0);
}

TEST_F(PollingTest, PendingChangeOutlivesTheMouseLeavingAndComingBack) {
    auto mouse = StartWithMouse();
    Handle({StatusReport(8)});
    mouse->Unplug();
    Tick();
    ASSERT_FALSE(Present());
    mouse->Plug();
    Tick();
    ASSERT_TRUE(Present());
    ASSERT_EQ(form->ProfileChangedFlag, 1);
    SetImageByte(*mouse, 164, 0x21); // colour 2, second profile
    bus->ClearTranscript();
    Handle({StatusReport(0)});
    EXPECT_EQ(ImageReads(), std::vector<int>{164});
    EXPECT_TRUE(ProfileShown(1));
}

TEST_F(PollingTest, DpiStatusMarksTheLevelTheMouseHolds) {
    auto mouse = StartWithMouse();
    SetImageByte(*mouse, 166, 5);
    form->RefreshCurrentDPIStatus(nullptr);
    EXPECT_TRUE(DpiMarked(5));
    EXPECT_EQ(form->CurrentCPILevel, 5);

    // Level 8 and above mark none.
    SetImageByte(*mouse, 166, 8);
    form->RefreshCurrentDPIStatus(nullptr);
    EXPECT_TRUE(DpiMarked(-1));
    EXPECT_EQ(form->CurrentCPILevel, 8);

    // Without the I2C memory the mouse is not asked: level 1 is shown.
    form->DetectedInterface.clear();
    bus->ClearTranscript();
    form->RefreshCurrentDPIStatus(nullptr);
    EXPECT_TRUE(ImageReads().empty());
    EXPECT_TRUE(DpiMarked(0));
    EXPECT_EQ(form->CurrentCPILevel, 0);
}

TEST_F(PollingTest, ProfileStatusTakesTheLowFourBitsAndIgnoresOthers) {
    auto mouse = StartWithMouse();
    form->GunDisplayEnabled = true;
    SetImageByte(*mouse, 164, 0x21);
    form->RefreshCurrentProfileStatus(nullptr);
    EXPECT_TRUE(ProfileShown(1));
    EXPECT_EQ(form->Pnl_Main->Height(), 194);
    EXPECT_TRUE(Visible("Key_Profile1"));
    EXPECT_FALSE(Visible("Key_Profile2"));

    // Profile values 3..15 (FF of a failed read among them) leave the window alone.
    form->Btn_Adv_0Click(nullptr);
    SetImageByte(*mouse, 164, 0x13);
    form->RefreshCurrentProfileStatus(nullptr);
    EXPECT_TRUE(form->rb_4->Checked());
    EXPECT_TRUE(form->gbPage2->Visible());
    EXPECT_EQ(form->cb_Profile->ItemIndex(), 1);

    // Without the I2C memory the first profile is shown, unasked.
    form->DetectedInterface.clear();
    bus->ClearTranscript();
    form->RefreshCurrentProfileStatus(nullptr);
    EXPECT_TRUE(ImageReads().empty());
    EXPECT_TRUE(ProfileShown(0));
}

// A live-status read whose reply is lost once is asked again and shows what the mouse
// holds. One that never comes shows nothing: the marks and the profile keep what they
// showed, and the mouse that stopped answering is reported once, by the next tick.
TEST_F(PollingTest, SickMouseStatusReadsShowOnlyWhatCame) {
    auto mouse = StartWithMouse();
    SetImageByte(*mouse, 166, 5);
    SetImageByte(*mouse, 164, 0x01);
    form->RefreshCurrentDPIStatus(nullptr);
    form->RefreshCurrentProfileStatus(nullptr);
    ASSERT_TRUE(DpiMarked(5));
    ASSERT_TRUE(ProfileShown(1));
    SetImageByte(*mouse, 166, 2);
    SetImageByte(*mouse, 164, 0x02);

    struct Case {
        const char* read;
        unsigned lost;
    };
    for (const Case c :
         {Case{"DPI level", 1}, Case{"profile", 1}, Case{"DPI level", 100}, Case{"profile", 100}}) {
        SCOPED_TRACE(std::string(c.read) + ", replies lost: " + std::to_string(c.lost));
        const bool dpi = std::string(c.read) == "DPI level";
        const bool comes = c.lost == 1;
        mouse->FailNextGetFeature(c.lost);
        dpi ? form->RefreshCurrentDPIStatus(nullptr) : form->RefreshCurrentProfileStatus(nullptr);
        mouse->FailNextGetFeature(0);
        if (dpi) {
            EXPECT_TRUE(DpiMarked(comes ? 2 : 5));
            EXPECT_EQ(form->CurrentCPILevel, comes ? 2 : 5);
        } else {
            EXPECT_TRUE(ProfileShown(comes ? 2 : 1));
        }
        Tick();
        Tick();
        EXPECT_EQ(modal->texts.size(), comes ? 0u : 1u);
        if (!comes) {
            EXPECT_EQ(modal->texts[0], "Waiting to reconnect device\r\r");
        }
        // Back to a mouse read and shown, the level and profile it held before.
        modal->texts.clear();
        ASSERT_TRUE(TickUntil([&] { return Present(); }));
        SetImageByte(*mouse, 166, 5);
        SetImageByte(*mouse, 164, 0x01);
        form->RefreshCurrentDPIStatus(nullptr);
        form->RefreshCurrentProfileStatus(nullptr);
        SetImageByte(*mouse, 166, 2);
        SetImageByte(*mouse, 164, 0x02);
    }
}

TEST_F(PollingTest, MouseUnpluggedWhileTheThreadWaitsIsFollowedAgainOnceBack) {
    auto mouse = StartWithMouse();
    platform::core::SetTimeScale(0.01);
    window::device::StartPrimeThread(*form);
    // Let the thread settle in its read.
    PumpUntil([] { return false; }, 30);
    mouse->Unplug();
    Tick();
    ASSERT_FALSE(Present());
    ASSERT_EQ(modal->texts.size(), 1u); // the loss is reported
    PumpUntil([] { return false; }, 30);
    EXPECT_TRUE(window::device::PrimeThreadRunning());

    mouse->Plug();
    Tick();
    ASSERT_TRUE(Present());
    bus->ClearTranscript();
    ASSERT_TRUE(mouse->PressDpiButton());
    const int level = mouse->LiveBytes()[simulator::SimMouse::kCpiLevelByte];
    EXPECT_TRUE(PumpUntil([&] { return form->CurrentCPILevel == level && DpiMarked(level); }));
    EXPECT_EQ(ImageReads(), std::vector<int>{166});
}

TEST_F(PollingTest, ClosingWhileTheThreadWaitsForTheWindowEndsBoth) {
    auto mouse = StartWithMouse();
    window::device::StartPrimeThread(*form);
    ASSERT_TRUE(mouse->PressDpiButton());
    // The window does not handle events meanwhile, so the thread stays waiting for it.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!window::device::testing::PrimeThreadWaitingForWindow() &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(window::device::testing::PrimeThreadWaitingForWindow());

    bool canClose = false;
    {
        Watchdog watchdog("closing the window");
        form->FormCloseQuery(nullptr, canClose);
    }
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(window::device::PrimeThreadRunning());
    EXPECT_FALSE(window::device::testing::PrimeThreadWaitingForWindow());
    EXPECT_FALSE(Present());
    // The update the thread was waiting for ran before it ended.
    EXPECT_TRUE(DpiMarked(1));
}

TEST_F(PollingTest, ClosingWhileTheThreadWaitsForAReportEndsIt) {
    StartWithMouse();
    window::device::StartPrimeThread(*form);
    PumpUntil([] { return false; }, 30);
    bool canClose = false;
    {
        Watchdog watchdog("closing the window");
        form->FormCloseQuery(nullptr, canClose);
    }
    EXPECT_FALSE(window::device::PrimeThreadRunning());
    EXPECT_FALSE(Present());
}

TEST_F(PollingTest, StatusReadsNeverInterleaveWithTheWindowsExchanges) {
    auto mouse = StartWithMouse();
    mouse->SetTransferLatency(2);
    platform::core::SetTimeScale(0.05);
    window::device::StartPrimeThread(*form);
    std::array<uint8_t, 64> block{};
    for (int round = 0; round < 8; ++round) {
        if (round % 3 == 2)
            mouse->PressProfileButton();
        else
            mouse->PressDpiButton();
        const auto live = mouse->LiveBytes();
        const int level = live[simulator::SimMouse::kCpiLevelByte];
        const int profile = live[164] & 0x0F;
        const bool profileRound = round % 3 == 2;
        const auto shown = [&] {
            return profileRound ? ProfileShown(profile)
                                : form->CurrentCPILevel == level && DpiMarked(level);
        };
        // The window keeps reading and writing the mouse until the thread has read the
        // change back and shown it.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!shown() && std::chrono::steady_clock::now() < until) {
            device::ReadEepromBlock(0, static_cast<uint16_t>(block.size()), block.data());
            device::WriteConfigBytes(169, 0, 0, 0, 1);
            QApplication::processEvents();
        }
        EXPECT_TRUE(shown()) << "round " << round;
    }
    // The fixture checks the mouse's list of protocol violations.
}

} // namespace
} // namespace devtest
