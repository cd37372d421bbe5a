// Faults of the simulated mouse in the middle of the window's longer exchanges: the mouse
// unplugged after every transfer of a whole-image write (default restore, file load), of
// a profile block write and of the re-find and read after a reset; one data transfer
// lost in the middle of each; and the mouse plugged and unplugged many times over. Each
// ends in a known state: the mouse holds exactly what reached it, the window either shows
// the loss (reported once, the timer looking for the mouse) or what the mouse holds, and
// the mouse plugged in again is read back whole.
#include "DeviceFixture.h"
#include "FileDialogAnswerer.h"

#include "device/DefaultSetting.h"
#include "device/Subroutines.h"
#include "window/device/MainDevice.h"
#include "window/device/ProfileWrites.h"

#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

// The transfer indexes 0..last a walk visits: every one. VTRM408X_WALK_STRIDE=k visits
// every k-th and the last; the thread-sanitizer run of scripts/check.sh, ten times
// slower, uses it to stay within its time.
std::vector<uint64_t> WalkIndexes(uint64_t last) {
    const char* text = std::getenv("VTRM408X_WALK_STRIDE");
    const uint64_t stride = std::max(1, text ? std::atoi(text) : 1);
    std::vector<uint64_t> indexes;
    for (uint64_t n = 0; n < last; n += stride)
        indexes.push_back(n);
    indexes.push_back(last);
    return indexes;
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

    void Click(const std::string& name) {
        auto* control = dynamic_cast<vcl::TControl*>(form->FindComponent(name));
        ASSERT_NE(control, nullptr) << name;
        ASSERT_TRUE(control->OnClick) << name;
        control->OnClick(control);
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
        EXPECT_EQ(shell::NoDevicePageFlag, 1);
        EXPECT_TRUE(OverlaysVisible(true));
        EXPECT_TRUE(form->DevTimer->Enabled());
        EXPECT_EQ(shell::UiLoadingFlag, 0);
        EXPECT_EQ(LiveImage(), DefaultImage(1));
    }

    // The mouse plugged in again is found and read whole; nothing more is reported.
    void ExpectFoundAgain() {
        mouse->Plug();
        Tick();
        EXPECT_TRUE(Present());
        EXPECT_EQ(shell::NoDevicePageFlag, 0);
        EXPECT_TRUE(OverlaysVisible(false));
        EXPECT_TRUE(form->DevTimer->Enabled());
        EXPECT_EQ(shell::UiLoadingFlag, 0);
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
        device::WriteProfileSections(*form);
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
             device::WriteProfileSections(*form);
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
        EXPECT_EQ(shell::UiLoadingFlag, 0);
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

} // namespace
} // namespace devtest
