// Every job of the window that talks to the mouse, against a mouse that stays on the bus
// and stops answering at each transfer of the job: the job gives up after a few
// time-outs, sends nothing after that, the user is told once, and the mouse is read again
// when it answers. And a reset the mouse did not get is sent again, or told.
#include "DeviceFixture.h"
#include "FaultBus.h"
#include "FileDialogAnswerer.h"

#include "device/Subroutines.h"
#include "platform/win/HidBus.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

const std::string kLossText = "Waiting to reconnect device\r\r";
const std::string kNotRestartedText =
    "The mouse did not restart. Its new settings take effect when it is plugged in again.";
// The most time-outs one job may meet.
constexpr uint64_t kTimeoutsPerJob = 4;

class JobFaultTest : public FormDeviceTest {
protected:
    void SetUp() override {
        FormDeviceTest::SetUp();
        mouse = StartWithMouse();
        ASSERT_TRUE(Present());
        bus->SetTranscriptLimit(0);
        faults = std::make_shared<FaultBus>(bus, mouse);
        platform::win::SetBus(faults);
        std::ofstream(File(), std::ios::binary)
            .write(reinterpret_cast<const char*>(DefaultImage(2).data()), 2048);
        Afresh();
    }

    // The mouse leaves and comes back holding the first default image, and is read whole
    // through the faulty bus; nothing is reported.
    void Afresh() {
        busy.onStep = nullptr;
        faults->Heal();
        mouse->Unplug();
        Tick();
        mouse->SetImage(DefaultImage(1));
        mouse->Plug();
        Tick();
        ASSERT_TRUE(Present());
        modal->texts.clear();
    }

    // Every run starts from the same mouse, read whole, with nothing told or saved.
    void ReadAfresh() {
        mouse->SetImage(DefaultImage(1));
        form->Btn_Read();
        ASSERT_TRUE(Present());
        modal->texts.clear();
        fs::remove(Saved());
    }

    struct Job {
        const char* name;
        std::function<void()> run;
    };

    std::vector<Job> Jobs() {
        return {
            {"whole-image read", [this] { form->Btn_Read(); }},
            {"save",
             [this] {
                 fs::remove(Saved());
                 files.answer = Saved().string();
                 Click("Btn_Save_2");
             }},
            {"file load",
             [this] {
                 files.answer = File().string();
                 Click("Btn_Load_6");
             }},
            {"default restore", [this] { Click("Btn_Confirm2_3"); }},
            {"update page",
             [this] {
                 form->FirmwareFile = DefaultImage(2);
                 form->FirmwareFileLoaded = 1;
                 form->Btn_ProgramClick(nullptr);
             }},
            {"engineering default", [this] { form->TLDefaultParameter(nullptr); }},
            {"profile tab", [this] { Click("Btn_Switch_1"); }},
            {"DPI mark", [this] { Click("Img_DPI3"); }},
            {"CPI level count",
             [this] {
                 Control<platform::vcl::TComboBox>("cb_CPISteps").SetItemIndex(5);
                 form->cb_CPIStepsChange(nullptr);
             }},
            {"breathing mode box",
             [this] {
                 auto& box = Control<platform::vcl::TCheckBox>("cb_Mode1");
                 box.SetChecked(!box.Checked());
             }},
            {"combination key",
             [this] { Choose("btn_ComboKey003", "Key_Media", "Key_VolumePlus", u"  Volume +"); }},
            {"key menu",
             [this] { Choose("btn_Key205", "ST_ProfileKey", "Key_Profile2", u"  Profile 2"); }},
            {"fire page",
             [this] {
                 Click("Key3");
                 Click("Key_FireMacro");
                 Click("Btn_Fire1");
                 Click("Btn_FireConfirm");
             }},
            {"fire hold", [this] { form->lbl_Fire1ContinueClick(nullptr); }},
            {"gun key switch", [this] { form->IB_ComboKey8Click(nullptr); }},
            {"fire keys", [this] { form->SettingFireKey(nullptr); }},
            {"engineering fire keys", [this] { form->TLSettingFireKey(nullptr); }},
        };
    }

    fs::path File() const { return fs::path(dir.path().toStdString()) / "chosen.bin"; }
    fs::path Saved() const { return fs::path(dir.path().toStdString()) / "saved.bin"; }

    std::shared_ptr<simulator::SimMouse> mouse;
    std::shared_ptr<FaultBus> faults;
    QTemporaryDir dir;
    FileDialogAnswerer files;
};

// The jobs, by their names in the table of JobFaultTest::Jobs.
const char* const kJobNames[] = {"whole-image read",
                                 "save",
                                 "file load",
                                 "default restore",
                                 "update page",
                                 "engineering default",
                                 "profile tab",
                                 "DPI mark",
                                 "CPI level count",
                                 "breathing mode box",
                                 "combination key",
                                 "key menu",
                                 "fire page",
                                 "fire hold",
                                 "gun key switch",
                                 "fire keys",
                                 "engineering fire keys"};

class JobFaultWalk : public JobFaultTest, public ::testing::WithParamInterface<size_t> {};

// Each transfer of a job in turn is lost once (a time-out), or answered short: the job
// tries it again and ends as it does without the fault, nothing told. Then the mouse stops
// answering from that transfer on, every transfer failing after a 5 s time-out: the job
// meets at most four of them and sends nothing after; the loss is told once, by the job's
// end or the next tick, with the busy window gone and the window usable, nothing of the
// failed job saved; a mouse that answers again is read whole.
TEST_P(JobFaultWalk, JobFaultEveryTransferOfTheJob) {
    const std::vector<Job> jobs = Jobs();
    ASSERT_EQ(jobs.size(), std::size(kJobNames));
    const Job& job = jobs[GetParam()];
    ASSERT_STREQ(job.name, kJobNames[GetParam()]);
    ReadAfresh();
    faults->Arm(FaultKind::None, 0);
    job.run();
    const uint64_t transfers = faults->Transfers();
    ASSERT_GT(transfers, 0u) << "the job talks to the mouse";
    ASSERT_TRUE(modal->texts.empty());
    const Bytes image = mouse->Image();
    const auto live = mouse->LiveBytes();
    const bool saves = fs::exists(Saved());
    // The job ended as it does without a fault.
    const auto expectAsWithoutFault = [&] {
        EXPECT_TRUE(Present());
        EXPECT_EQ(mouse->Image(), image);
        EXPECT_EQ(mouse->LiveBytes(), live);
        EXPECT_EQ(fs::exists(Saved()), saves);
    };
    // The window is given back: no busy window, the handlers write, the timer runs.
    const auto expectGivenBack = [&] {
        EXPECT_FALSE(busy.shown);
        EXPECT_EQ(window::shell::UiLoadingFlag, 0);
        EXPECT_TRUE(form->DevTimer->Enabled());
    };
    // The one text told is the loss (or the reset's own), nothing of the job is saved, and
    // the mouse, answering again, is read with nothing more told.
    const auto expectToldOnceThenFound = [&] {
        EXPECT_TRUE(modal->texts[0] == kLossText || modal->texts[0] == kNotRestartedText)
            << modal->texts[0];
        EXPECT_FALSE(fs::exists(Saved()));
        faults->Heal();
        EXPECT_TRUE(PumpUntil([&] {
            Tick();
            return Present();
        }));
        EXPECT_EQ(modal->texts.size(), 1u);
    };

    for (const uint64_t k : WalkIndexes(transfers - 1)) {
        for (const FaultKind glitch : {FaultKind::Unanswered, FaultKind::ShortReply}) {
            SCOPED_TRACE(std::string(FaultKindName(glitch)) + " once at transfer " +
                         std::to_string(k) + " of " + std::to_string(transfers));
            ReadAfresh();
            faults->ArmOnce(glitch, k);
            job.run();
            Tick();
            EXPECT_TRUE(modal->texts.empty());
            expectAsWithoutFault();
        }

        SCOPED_TRACE("unanswered from transfer " + std::to_string(k) + " of " +
                     std::to_string(transfers));
        ReadAfresh();
        faults->Arm(FaultKind::Unanswered, k);
        job.run();
        EXPECT_LE(faults->Failed(), kTimeoutsPerJob);
        if (modal->texts.empty()) Tick();
        ASSERT_EQ(modal->texts.size(), 1u);
        expectGivenBack();
        EXPECT_FALSE(Present());
        expectToldOnceThenFound();
        if (HasFailure()) return;
    }

    // A mouse sick in other ways than silence: it takes every command but answers no data
    // report, or its link loses one transfer in N. However the failures are spread, the job
    // meets at most four of them. It ends as without the fault, or, at its fourth, as a
    // silent mouse's job does: told once, nothing of it saved, the mouse read again once it
    // answers. A lossy link that costs the job fewer than four still completes it.
    struct Sickness {
        FaultKind kind;
        uint64_t at;
    };
    const Sickness sicknesses[] = {{FaultKind::DataUnanswered, 0},
                                   {FaultKind::LoseOneIn, 3},
                                   {FaultKind::LoseOneIn, 10},
                                   {FaultKind::LoseOneIn, std::max<uint64_t>(transfers / 2, 2)}};
    for (const Sickness& sick : sicknesses) {
        SCOPED_TRACE(std::string("SickMouse: ") + FaultKindName(sick.kind) + " " +
                     std::to_string(sick.at) + " (" + std::to_string(transfers) + " transfers)");
        ReadAfresh();
        faults->Arm(sick.kind, sick.at);
        job.run();
        const uint64_t failed = faults->Failed();
        EXPECT_LE(failed, kTimeoutsPerJob);
        faults->Heal();
        if (modal->texts.empty()) Tick();
        expectGivenBack();
        if (modal->texts.empty()) {
            expectAsWithoutFault();
        } else {
            EXPECT_EQ(modal->texts.size(), 1u);
            EXPECT_EQ(failed, kTimeoutsPerJob) << "told before the job's failures ran out";
            expectToldOnceThenFound();
        }
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, JobFaultWalk, ::testing::Range<size_t>(0, std::size(kJobNames)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name;
                             for (const char* c = kJobNames[info.param]; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

// Another device is plugged in while each job runs, and the device timer ticks inside the
// job's busy steps: the tick leaves the bus to the job, the job ends as it does without the
// arrival, nothing is told, and the next tick after the job sees the arrival and reads the
// mouse again. The window never stays without a mouse while it holds one that answers.
TEST_F(JobFaultTest, SickMouseATickInsideEveryJobSeesAnArrivalOnlyAfterIt) {
    for (const Job& job : Jobs()) {
        SCOPED_TRACE(job.name);
        ReadAfresh();
        faults->Arm(FaultKind::None, 0);
        job.run();
        const Bytes image = mouse->Image();
        const auto live = mouse->LiveBytes();
        const bool saves = fs::exists(Saved());

        ReadAfresh();
        int ticksInside = 0;
        busy.onStep = [&](int) {
            if (ticksInside++ > 0) return;
            AddKeyboard();
            Tick();
        };
        job.run();
        busy.onStep = nullptr;
        EXPECT_GT(ticksInside, 0) << "the job shows the busy window";
        EXPECT_TRUE(modal->texts.empty());
        EXPECT_TRUE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_EQ(mouse->Image(), image);
        EXPECT_EQ(mouse->LiveBytes(), live);
        EXPECT_EQ(fs::exists(Saved()), saves);
        const uint64_t transfersBefore = faults->Transfers();
        Tick();
        EXPECT_TRUE(modal->texts.empty());
        EXPECT_TRUE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_GT(faults->Transfers(), transfersBefore) << "the arrival is looked at after the job";
        if (HasFailure()) return;
    }
}

// The reset after a whole-image write is lost `lost` times: the mouse that never got it
// is sent it again, up to three times; one that restarted as its answer was lost is not
// reset twice. A mouse that never restarted is told, and read again by a later tick.
TEST_F(JobFaultTest, JobFaultALostResetIsSentAgainOrTold) {
    struct Case {
        unsigned lost;
        bool acted;
        unsigned resets;
        bool told;
    };
    const Case cases[] = {
        {1, false, 1, false}, {2, false, 1, false}, {3, false, 0, true}, {1, true, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("lost " + std::to_string(c.lost) + (c.acted ? ", acted on" : ""));
        Afresh();
        const unsigned before = mouse->ResetCount();
        faults->LoseResets(c.lost, c.acted);
        files.answer = File().string();
        Click("Btn_Load_6");
        EXPECT_EQ(mouse->ResetCount() - before, c.resets);
        EXPECT_EQ(mouse->Image(), DefaultImage(2));
        EXPECT_FALSE(busy.shown);
        EXPECT_TRUE(form->DevTimer->Enabled());
        if (!c.told) {
            EXPECT_TRUE(modal->texts.empty());
            EXPECT_TRUE(Present());
            continue;
        }
        EXPECT_EQ(modal->texts, std::vector<std::string>{kNotRestartedText});
        EXPECT_FALSE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
        EXPECT_TRUE(PumpUntil([&] {
            Tick();
            return Present();
        }));
        EXPECT_EQ(modal->texts.size(), 1u);
    }
}

} // namespace
} // namespace devtest
