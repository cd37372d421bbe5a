// Faults of the simulated mouse in the middle of the window's longer exchanges: the mouse
// unplugged after every transfer of a whole-image write (default restore, file load), of
// a profile block write and of the re-find and read after a reset; one data transfer
// lost in the middle of each; the mouse plugged and unplugged many times over; the mouse
// staying on the bus while its transfers fail or its replies come short; and a reset
// after which no mouse can be read. Each ends in a known state: the mouse holds exactly
// what reached it, the window either shows the loss (reported once, the timer looking for
// the mouse) or what the mouse holds, and the mouse plugged in again (or answering again)
// is read back whole.
#include "DeviceFixture.h"
#include "FaultBus.h"
#include "FileDialogAnswerer.h"

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "platform/win/HidBus.h"
#include "window/device/MainDevice.h"
#include "window/device/ProfileWrites.h"

#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

const std::string kLossText = "Waiting to reconnect device\r\r";
constexpr size_t kImageWriteTransfers = 1 + 293; // command and data reports
constexpr size_t kProfileStart = 192;
constexpr size_t kProfileBytes = 147;
constexpr size_t kUserProfileByte = 164;

// The image a block write leaves when only its first `transfers` reports went through.
Bytes PartlyWritten(const Bytes& before, const Bytes& written, size_t offset, size_t transfers) {
    Bytes image = before;
    const size_t chunks = transfers == 0 ? 0 : transfers - 1;
    const size_t bytes = std::min(7 * chunks, written.size());
    std::copy_n(written.begin(), bytes, image.begin() + offset);
    return image;
}

size_t Entries(const char* folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

class FaultWalkTest : public FormDeviceTest {
protected:
    void SetUp() override {
        FormDeviceTest::SetUp();
        mouse = StartWithMouse();
        ASSERT_TRUE(Present());
        // Every iteration leaves a transcript of some thousand reports.
        bus->SetTranscriptLimit(0);
        WriteFile(File(), DefaultImage(2));
    }

    // The mouse holds `image` and the window has read it; nothing is reported yet.
    void Begin(const Bytes& image) {
        busy.onStep = nullptr;
        mouse->SetImage(image);
        form->Btn_Read();
        ASSERT_TRUE(Present());
        ASSERT_EQ(LiveImage(), image);
        modal->texts.clear();
    }
    // The same, the mouse also starting afresh (its running configuration taken from the
    // image, as at every start): it leaves and comes back.
    void BeginAfresh(const Bytes& image) {
        busy.onStep = nullptr;
        mouse->Unplug();
        Tick();
        mouse->SetImage(image);
        mouse->Plug();
        Tick();
        ASSERT_TRUE(Present());
        ASSERT_EQ(LiveImage(), image);
        modal->texts.clear();
    }

    void Restore() { Click("Btn_Confirm2_3"); }
    void LoadFile() {
        files.answer = File().string();
        Click("Btn_Load_6");
    }

    // The loss, reported once, the pages covered and the timer looking for the mouse;
    // a further tick changes nothing.
    void ExpectLoss() {
        EXPECT_EQ(modal->texts, std::vector<std::string>{kLossText});
        Tick();
        EXPECT_EQ(modal->texts.size(), 1u);
        EXPECT_FALSE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
        EXPECT_TRUE(OverlaysVisible(true));
        EXPECT_TRUE(form->DevTimer->Enabled());
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        EXPECT_EQ(LiveImage(), DefaultImage(1));
    }

    // The mouse plugged in again is found and read whole; nothing more is reported.
    void ExpectFoundAgain() {
        mouse->Plug();
        Tick();
        EXPECT_TRUE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_TRUE(OverlaysVisible(false));
        EXPECT_TRUE(form->DevTimer->Enabled());
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        EXPECT_EQ(LiveImage(), mouse->Image());
        EXPECT_EQ(modal->texts.size(), 1u);
    }

    void ExpectNoViolations() {
        for (const simulator::Violation& v : bus->Violations())
            ADD_FAILURE() << simulator::Describe(v);
        bus->ClearViolations();
    }

    static Bytes LiveImage() { return Bytes(device::LiveImage.begin(), device::LiveImage.end()); }
    fs::path File() const { return fs::path(dir.path().toStdString()) / "chosen.bin"; }
    static void WriteFile(const fs::path& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    std::shared_ptr<simulator::SimMouse> mouse;
    QTemporaryDir dir;
    FileDialogAnswerer files;
};

// The whole image (a default restore, a configuration file) goes to the mouse; the mouse
// leaves after `n` of the write's transfers. The write, the reset and the re-find fail,
// the loss is reported; the mouse holds the chunks that reached it and is read back as
// it is when it returns. After the walk the same change goes whole.
TEST_F(FaultWalkTest, UnpluggedAtEveryTransferOfAWholeImageWrite) {
    const Bytes before = DefaultImage(3);
    const Bytes chosen = DefaultImage(2);
    struct Walk {
        const char* name;
        std::function<void()> change;
    };
    const std::vector<Walk> walks = {{"default restore", [this] { Restore(); }},
                                     {"file load", [this] { LoadFile(); }}};
    for (const Walk& walk : walks) {
        for (const uint64_t n : WalkIndexes(kImageWriteTransfers)) {
            SCOPED_TRACE(std::string(walk.name) + ", unplugged after transfer " +
                         std::to_string(n));
            Begin(before);
            const unsigned resets = mouse->ResetCount();
            mouse->UnplugAfterTransfers(static_cast<unsigned>(n));
            walk.change();
            EXPECT_EQ(mouse->Image(), PartlyWritten(before, chosen, 0, n));
            EXPECT_EQ(mouse->ResetCount(), resets);
            ExpectLoss();
            ExpectFoundAgain();
            ExpectNoViolations();
            if (HasFailure()) return;
        }
        modal->texts.clear();
        walk.change();
        EXPECT_EQ(mouse->Image(), chosen);
        EXPECT_EQ(LiveImage(), chosen);
        EXPECT_TRUE(modal->texts.empty());
    }
}

// A key change writes the three profile sections and sets the profile again; the mouse
// leaves after `n` of those transfers. The next tick reports the loss; the mouse returns
// with the chunks that reached it, and each section is shown as the mouse holds it, or
// repaired in its copy where the cut left its checksum broken.
TEST_F(FaultWalkTest, UnpluggedAtEveryTransferOfAProfileBlockWrite) {
    const Bytes before = DefaultImage(1);
    constexpr size_t kTransfers = (1 + 21) + (1 + 4) + 2; // block, user read, two writes
    for (const uint64_t n : WalkIndexes(kTransfers)) {
        SCOPED_TRACE("unplugged after transfer " + std::to_string(n));
        BeginAfresh(before);
        form->Profile2Copy[8] = 0x0B;
        form->Profile2Copy[9] = static_cast<uint8_t>(n);
        mouse->UnplugAfterTransfers(static_cast<unsigned>(n));
        window::device::WriteProfileSections(*form);
        const Bytes staging(device::ProfileStaging.begin(), device::ProfileStaging.end());
        Bytes expected = PartlyWritten(before, staging, kProfileStart, n);
        // The profile is set to a value the mouse cannot hold, then back to its own; the
        // mouse keeps the user section's checksum valid over it.
        if (n == kTransfers - 1) {
            expected[kUserProfileByte] = 0x0F;
            expected[kUserProfileByte + 27] =
                device::SectionChecksum(expected.data() + kUserProfileByte, 27);
        }
        EXPECT_EQ(mouse->Image(), expected);
        Tick();
        ExpectLoss();
        ExpectFoundAgain();
        const Bytes image = mouse->Image();
        for (const device::TProfileSection* copy :
             {&form->Profile1Copy, &form->Profile2Copy, &form->Profile3Copy}) {
            EXPECT_TRUE(device::ChecksumHolds(*copy));
            const size_t at = kProfileStart + device::image::Profile1.Length *
                                                  static_cast<size_t>(copy - &form->Profile1Copy);
            device::TProfileSection held;
            std::copy_n(image.begin() + at, held.size(), held.begin());
            if (device::ChecksumHolds(held)) {
                EXPECT_EQ(*copy, held);
            }
        }
        ExpectNoViolations();
        if (HasFailure()) return;
    }
}

// After a default restore the mouse resets and comes back; it leaves again after `k`
// transfers of the re-find and the read (the table comes from a run without a fault).
// The window ends in the loss, reported once, and reads the restored image when the
// mouse returns.
TEST_F(FaultWalkTest, UnpluggedAtEveryTransferOfTheReadAfterAReset) {
    const Bytes before = DefaultImage(3);
    const Bytes chosen = DefaultImage(2);
    // Arms the unplug once the reset has reached the mouse, inside the reset's wait.
    std::function<void()> onReset;
    unsigned resets = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (onReset && mouse->ResetCount() > resets) std::exchange(onReset, nullptr)();
    });
    watch.start(0);

    Begin(before);
    resets = mouse->ResetCount();
    uint64_t afterReset = 0;
    onReset = [&] { afterReset = mouse->TransferCount(); };
    Restore();
    ASSERT_EQ(mouse->ResetCount(), resets + 1);
    ASSERT_TRUE(modal->texts.empty());
    ASSERT_EQ(LiveImage(), chosen);
    const uint64_t transfers = mouse->TransferCount() - afterReset;
    // Open, information, identity, image: at least the image read's 294 transfers.
    ASSERT_GT(transfers, kImageWriteTransfers);

    for (const uint64_t k : WalkIndexes(transfers)) {
        SCOPED_TRACE("unplugged after transfer " + std::to_string(k) + " of " +
                     std::to_string(transfers));
        Begin(before);
        resets = mouse->ResetCount();
        onReset = [&] { mouse->UnplugAfterTransfers(static_cast<unsigned>(k)); };
        Restore();
        EXPECT_EQ(mouse->ResetCount(), resets + 1);
        EXPECT_EQ(mouse->Image(), chosen);
        if (modal->texts.empty()) Tick(); // the loss shows at the next tick
        ExpectLoss();
        ExpectFoundAgain();
        EXPECT_EQ(LiveImage(), chosen);
        ExpectNoViolations();
        if (HasFailure()) return;
    }
}

// One data report lost in the middle of each of those exchanges, the mouse staying: the
// exchange is done again, so the change reaches the mouse whole and the window shows what
// the mouse holds; nothing is reported.
TEST_F(FaultWalkTest, ADataReportLostInTheMiddleIsDoneAgain) {
    const Bytes before = DefaultImage(3);
    const Bytes chosen = DefaultImage(2);
    uint64_t start = 0;
    // The data report sent as the exchange's transfer `at` is lost.
    const auto loseSendAt = [&](uint64_t at) {
        busy.onStep = [&, at](int) {
            if (mouse->TransferCount() - start == at) mouse->FailNextSetFeature(1);
        };
    };
    const auto holdsChosen = [&] {
        EXPECT_EQ(mouse->Image(), chosen);
        EXPECT_EQ(LiveImage(), chosen);
    };
    struct Case {
        const char* name;
        std::function<void()> run;
        std::function<void()> check;
    };
    const std::vector<Case> cases = {
        {"default restore",
         [&] {
             loseSendAt(147);
             Restore();
         },
         holdsChosen},
        {"file load",
         [&] {
             loseSendAt(147);
             LoadFile();
         },
         holdsChosen},
        {"profile block write",
         [&] {
             form->Profile2Copy[8] = 0x0B;
             loseSendAt(9); // chunk 8 carries the changed key
             window::device::WriteProfileSections(*form);
         },
         [&] {
             const Bytes image = mouse->Image();
             EXPECT_EQ(Bytes(image.begin() + kProfileStart,
                             image.begin() + kProfileStart + kProfileBytes),
                       Bytes(device::ProfileStaging.begin(), device::ProfileStaging.end()));
             EXPECT_EQ(image[kProfileStart + 49 + 8], 0x0B);
             EXPECT_TRUE(std::equal(form->Profile2Copy.begin(), form->Profile2Copy.end(),
                                    image.begin() + kProfileStart + 49));
         }},
        {"read after a reset",
         [&] {
             const unsigned resets = mouse->ResetCount();
             int stepsAfterReset = 0;
             busy.onStep = [&, resets](int) {
                 // The read's first step comes before its command, then one before each
                 // data read.
                 if (mouse->ResetCount() > resets && ++stepsAfterReset == 1 + 147)
                     mouse->FailNextGetFeature(1);
             };
             Restore();
             EXPECT_GT(stepsAfterReset, 1 + 147);
         },
         holdsChosen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Begin(before);
        start = mouse->TransferCount();
        c.run();
        busy.onStep = nullptr;
        c.check();
        EXPECT_TRUE(modal->texts.empty());
        EXPECT_TRUE(Present());
        EXPECT_TRUE(form->DevTimer->Enabled());
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        ExpectNoViolations();
    }
}

// The mouse plugged and unplugged 200 times with the window open: each loss is reported
// once and each return read whole, and afterwards the program holds no more open files
// and threads than before.
TEST_F(FaultWalkTest, TwoHundredPlugCyclesLeaveNoFileOrThreadBehind) {
    // Qt converts pictures on pool threads of its own, started when the machine is busy
    // and kept a while; they are joined before each count, so only the program's own
    // threads and files are compared.
    const auto files = [] {
        QThreadPool::globalInstance()->waitForDone();
        return Entries("/proc/self/fd");
    };
    const auto threads = [] {
        QThreadPool::globalInstance()->waitForDone();
        return Entries("/proc/self/task");
    };
    const size_t filesBefore = files();
    const size_t threadsBefore = threads();
    modal->texts.clear();
    for (size_t i = 1; i <= 200; ++i) {
        SCOPED_TRACE("cycle " + std::to_string(i));
        mouse->Unplug();
        Tick();
        ASSERT_EQ(modal->texts.size(), i);
        ASSERT_FALSE(Present());
        mouse->Plug();
        Tick();
        ASSERT_TRUE(Present());
        ASSERT_EQ(LiveImage(), mouse->Image());
    }
    // Threads that were told to end may take a moment to go; threads of Qt's own that
    // were idle before may have ended meanwhile, so fewer is no fault.
    EXPECT_TRUE(PumpUntil([&] { return files() <= filesBefore && threads() <= threadsBefore; }));
    EXPECT_LE(files(), filesBefore);
    EXPECT_LE(threads(), threadsBefore);
    ExpectNoViolations();
}

// ---- A mouse that stays on the bus but fails its transfers -----------------------------

class FaultBusWalk : public FaultWalkTest {
protected:
    void SetUp() override {
        FaultWalkTest::SetUp();
        faults = std::make_shared<FaultBus>(bus, mouse);
        platform::win::SetBus(faults);
        BeginAfresh(DefaultImage(1)); // the mouse opened again, through the faults
    }

    struct Job {
        const char* name;
        std::vector<uint64_t> unansweredFrom; // transfer indexes where the walk starts a fault
        bool repliesMany;                     // a short reply among its replies is met
        bool reportedByTick;                  // the loss shows at the next tick
        std::function<void()> run;
        // The mouse's image after the job, when the transfers fail from `k` on (none: the
        // short-reply case, whose transfers all reach the mouse).
        std::function<Bytes(std::optional<uint64_t> k)> expected;
    };

    std::vector<Job> Jobs() {
        const Bytes before = DefaultImage(1);
        const Bytes chosen = DefaultImage(2);
        const auto unchanged = [before](std::optional<uint64_t>) { return before; };
        const auto imageWrite = [before, chosen](std::optional<uint64_t> k) {
            return k ? PartlyWritten(before, chosen, 0, *k) : chosen;
        };
        return {
            {"whole-image read",
             {0, 1, 50, 293},
             true,
             false,
             [this] { form->Btn_Read(); },
             unchanged},
            {"save",
             {0, 150},
             true,
             false,
             [this] {
                 fs::remove(Saved());
                 files.answer = (fs::path(dir.path().toStdString()) / "saved").string();
                 Click("Btn_Save_2");
             },
             unchanged},
            {"file load", {0, 1, 100, 293}, true, false, [this] { LoadFile(); }, imageWrite},
            {"default restore", {0, 147, 293}, true, false, [this] { Restore(); }, imageWrite},
            {"profile write",
             {0, 1, 10, 21},
             false,
             true,
             [this] {
                 form->Profile2Copy[8] = 0x0B;
                 window::device::WriteProfileSections(*form);
                 staging.assign(device::ProfileStaging.begin(), device::ProfileStaging.end());
             },
             [this, before](std::optional<uint64_t> k) {
                 return PartlyWritten(before, staging, kProfileStart, *k);
             }},
            {"single setting",
             {0},
             false,
             true,
             [] { device::WriteConfigBytes(kUserProfileByte, 2, 0, 0, 1); },
             unchanged},
        };
    }

    fs::path Saved() const { return fs::path(dir.path().toStdString()) / "saved.bin"; }

    // The job's end: the mouse holds `expected`, the loss is reported once, nothing of the
    // mouse is shown and a key change sends nothing; when the mouse answers again the next
    // tick finds it and reads it whole.
    void Check(const Job& job, const Bytes& expected) {
        EXPECT_EQ(modal->texts.size(), job.reportedByTick ? 0u : 1u);
        if (job.reportedByTick) Tick();
        EXPECT_EQ(mouse->Image(), expected);
        EXPECT_FALSE(busy.shown);
        EXPECT_FALSE(fs::exists(Saved()));
        ExpectLoss();
        // The look for the silent mouse goes on off the window's thread; only the
        // transfers that follow it are counted.
        ASSERT_TRUE(PumpUntil([&] { return ProbeIdle(); }));
        const uint64_t sent = faults->Transfers();
        form->Profile1Copy[4] ^= 0x01;
        window::device::WriteProfileSections(*form);
        device::WriteConfigBytes(kUserProfileByte, 1, 0, 0, 1);
        EXPECT_EQ(faults->Transfers(), sent);
        EXPECT_EQ(mouse->Image(), expected);

        faults->Heal();
        EXPECT_TRUE(TickUntil([&] { return Present(); }));
        EXPECT_EQ(LiveImage(), mouse->Image());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_TRUE(OverlaysVisible(false));
        EXPECT_EQ(modal->texts.size(), 1u);
        ExpectNoViolations();
    }

    std::shared_ptr<FaultBus> faults;
    Bytes staging;
};

// The mouse stays on the bus and every transfer from the k-th on fails after a 5 s
// time-out. Each job gives up after a few of them (seconds, not the minutes of running
// out every report), and ends as a loss.
TEST_F(FaultBusWalk, UnansweredTransfersFromEveryPointOfEachJob) {
    for (const Job& job : Jobs()) {
        for (const uint64_t k : job.unansweredFrom) {
            SCOPED_TRACE(std::string(job.name) + ", unanswered from transfer " + std::to_string(k));
            BeginAfresh(DefaultImage(1));
            faults->Arm(FaultKind::Unanswered, k);
            const unsigned resets = mouse->ResetCount();
            job.run();
            EXPECT_LE(faults->Failed(), static_cast<uint64_t>(device::FailedReportsToStop + 1));
            EXPECT_EQ(mouse->ResetCount(), resets) << "a mouse that did not take it is not reset";
            Check(job, job.expected(k));
            if (HasFailure()) return;
        }
    }
}

// Every 20th reply of the mouse is 4 bytes long: no job that reads the whole image takes
// such a reply as the mouse's bytes. An image write goes whole, the read after its reset
// fails.
TEST_F(FaultBusWalk, ShortReplyEveryTwentiethInEachJob) {
    for (const Job& job : Jobs()) {
        if (!job.repliesMany) continue;
        SCOPED_TRACE(job.name);
        BeginAfresh(DefaultImage(1));
        faults->Arm(FaultKind::ShortReply, 20);
        job.run();
        EXPECT_GT(faults->Failed(), 0u);
        Check(job, job.expected(std::nullopt));
        if (HasFailure()) return;
    }
}

// A file load interrupted by another mouse arriving in the first one's place: the load
// is reported as the loss of the mouse it was going to, nothing reaches the newcomer, and
// the newcomer is then read and shown as itself.
TEST_F(FaultBusWalk, UnansweredLoadInterruptedByAnotherMouseIsReportedAsTheLoss) {
    const Bytes before = DefaultImage(1);
    std::shared_ptr<simulator::SimMouse> other;
    busy.onStep = [&](int) {
        if (!other && !mouse->IsPlugged()) other = AddMouse(DefaultImage(3));
    };
    mouse->UnplugAfterTransfers(100);
    LoadFile();
    busy.onStep = nullptr;
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(modal->texts, std::vector<std::string>{kLossText});
    EXPECT_EQ(mouse->Image(), PartlyWritten(before, DefaultImage(2), 0, 100));
    EXPECT_EQ(other->Image(), DefaultImage(3));
    EXPECT_EQ(other->ResetCount(), 0u);
    EXPECT_FALSE(busy.shown);
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    // The newcomer keeps the count of interfaces: it is found through the look for a
    // mouse that stayed on the bus.
    EXPECT_TRUE(TickUntil([&] { return Present(); }));
    EXPECT_EQ(LiveImage(), DefaultImage(3));
    EXPECT_EQ(modal->texts.size(), 1u);
    ExpectNoViolations();
}

// ---- A reset after which no mouse is read ------------------------------------------

enum class ReFindFault { IdentityChanged, NeverReturns, LeavesMidRead };

class ReFindWalk : public FaultWalkTest, public ::testing::WithParamInterface<ReFindFault> {
protected:
    QWidget* WidgetOf(const char* name) const {
        auto* control = dynamic_cast<platform::vcl::TControl*>(form->FindComponent(name));
        return control ? control->Widget() : nullptr;
    }
    static QPoint CentreInWindow(QWidget* widget) {
        return widget->mapTo(widget->window(), widget->rect().center());
    }
};

// A file load resets the mouse; what comes back is refused, does not come, or leaves in
// the middle of the read. The window ends in the no-device state and usable: the busy
// window gone, the handlers writing again, the timer running; a mouse plugged in
// afterwards is found and read, and Exit closes the window.
TEST_P(ReFindWalk, ReFindAfterAResetEndsInTheNoDeviceStateAndUsable) {
    const Bytes before = DefaultImage(3);
    const Bytes file = DefaultImage(2);
    Bytes held = file; // what the mouse holds at the end
    std::string told = kLossText;
    // Changes the mouse once the reset has reached it, inside the reset's wait.
    QTimer watch;
    switch (GetParam()) {
    case ReFindFault::IdentityChanged:
        // The mouse takes the image and, once reset, answers with another maker's identity
        // (a load never writes one: the file is of a mouse this program serves).
        held[device::image::Identity.Offset] ^= 0x5A;
        told = "The mouse manufacturer or product id error";
        QObject::connect(&watch, &QTimer::timeout,
                         [this, &watch, &held, resets = mouse->ResetCount() + 1] {
                             if (mouse->ResetCount() < resets) return;
                             mouse->SetImage(held);
                             watch.stop();
                         });
        watch.start(0);
        break;
    case ReFindFault::NeverReturns:
        mouse->SetResetReturn(std::nullopt);
        break;
    case ReFindFault::LeavesMidRead:
        break; // armed below, once the read after the reset has begun
    }
    WriteFile(File(), file);
    Begin(before);
    if (GetParam() == ReFindFault::LeavesMidRead) {
        const unsigned resets = mouse->ResetCount() + 1;
        busy.onStep = [this, resets](int) {
            if (mouse->ResetCount() == resets && mouse->IsPlugged()) {
                mouse->UnplugAfterTransfers(100);
                busy.onStep = nullptr;
            }
        };
    }
    LoadFile();
    busy.onStep = nullptr;

    EXPECT_EQ(modal->texts, std::vector<std::string>{told});
    EXPECT_EQ(mouse->Image(), held);
    EXPECT_FALSE(busy.shown);
    EXPECT_EQ(window::shell::UiLoadingFlag, 0);
    EXPECT_TRUE(form->DevTimer->Enabled());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    EXPECT_TRUE(OverlaysVisible(true));
    EXPECT_EQ(form->DetectedInterface, "");
    EXPECT_EQ(LiveImage(), DefaultImage(1)) << "the file's copies are not shown as the mouse's";
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);
    // Close and Exit take the clicks made on them, above the overlays.
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return form->Visible(); }));
    for (const char* name : {"Btn_Exit1_1", "Btn_Exit2_1", "Btn_Mini_1"}) {
        QWidget* widget = WidgetOf(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->window()->childAt(CentreInWindow(widget)), widget) << name;
    }

    // A mouse with an identity this program serves, plugged in afterwards.
    mouse->Unplug();
    Tick();
    mouse->SetImage(DefaultImage(2));
    mouse->SetResetReturn(200);
    mouse->Plug();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(LiveImage(), DefaultImage(2));
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    ExpectNoViolations();

    // Exit, clicked where it shows, closes the window.
    QWidget* exit = WidgetOf("Btn_Exit2_1");
    ASSERT_NE(exit, nullptr);
    QTest::mouseClick(exit->window()->windowHandle(), Qt::LeftButton, {}, CentreInWindow(exit));
    EXPECT_TRUE(PumpUntil([&] { return !form->Visible(); }));
}

INSTANTIATE_TEST_SUITE_P(Faults, ReFindWalk,
                         ::testing::Values(ReFindFault::IdentityChanged, ReFindFault::NeverReturns,
                                           ReFindFault::LeavesMidRead),
                         [](const ::testing::TestParamInfo<ReFindFault>& info) {
                             switch (info.param) {
                             case ReFindFault::IdentityChanged:
                                 return std::string("IdentityChanged");
                             case ReFindFault::NeverReturns:
                                 return std::string("NeverReturns");
                             case ReFindFault::LeavesMidRead:
                                 return std::string("LeavesMidRead");
                             }
                             return std::string("Other");
                         });

} // namespace
} // namespace devtest
