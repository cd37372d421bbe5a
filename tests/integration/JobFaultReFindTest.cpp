// A mouse that stays on the bus but keeps silent is looked for again without holding the
// window, and found once it answers or is replaced; one glitch while a mouse arrives is
// not taken for its loss, while a mouse silent from any point of its arrival is reported
// once after a few time-outs.
#include "DeviceFixture.h"
#include "FaultBus.h"

#include "platform/core/Time.h"
#include "platform/win/HidBus.h"

#include <algorithm>
#include <chrono>
#include <set>

namespace devtest {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

const std::string kLossText = "Waiting to reconnect device\r\r";
constexpr uint32_t kTickMs = 3500;

// Real time as program time.
double ProgramMs(Clock::duration real) {
    return std::chrono::duration<double, std::milli>(real).count() / platform::core::TimeScale();
}

class JobFaultReFind : public FormDeviceTest {
protected:
    void SetUp() override {
        FormDeviceTest::SetUp();
        mouse = AddMouse();
        faults = std::make_shared<FaultBus>(bus, mouse);
        platform::win::SetBus(faults);
        Tick();
        ASSERT_TRUE(Present());
        bus->SetTranscriptLimit(0);
    }

    // The mouse, read and shown, leaves; `arm` runs, and the mouse arrives again.
    void Arrive(const std::function<void()>& arm) {
        mouse->Unplug();
        Tick();
        modal->texts.clear();
        arm();
        mouse->Plug();
        Tick();
    }

    // The mouse stops answering from now (or answers only in part, by `kind`); the
    // whole-image read reports its loss.
    void Silence(FaultKind kind = FaultKind::Unanswered) {
        faults->Arm(kind, 0);
        form->Btn_Read();
        ASSERT_EQ(modal->texts, std::vector<std::string>{kLossText});
        ASSERT_FALSE(Present());
    }

    // The feature transfers of a whole arrival: handshake, information command, identity
    // and image reads.
    uint64_t ArrivalTransfers() {
        Arrive([&] { faults->Arm(FaultKind::None, 0); });
        EXPECT_TRUE(Present());
        return faults->Transfers();
    }

    // Every transfer of the handshake, the information command, the identity read and the
    // image read's command and first reports; then every 13th, and the last three.
    static std::vector<uint64_t> ArrivalIndexes(uint64_t count) {
        std::set<uint64_t> indexes;
        for (uint64_t k = 0; k < count; ++k)
            if (k <= 12 || k % 13 == 0 || k + 3 >= count) indexes.insert(k);
        return {indexes.begin(), indexes.end()};
    }

    static Bytes LiveImage() { return Bytes(device::LiveImage.begin(), device::LiveImage.end()); }

    std::shared_ptr<simulator::SimMouse> mouse;
    std::shared_ptr<FaultBus> faults;
};

// Two minutes of ticks while the mouse stays sick (each transfer it does not answer times
// out after 5 s): silent; answering the handshake but no memory read; silent while other
// devices arrive and leave beside it. The window's thread is held at most a tenth of the
// time, though the mouse is probed again and again, and never opens a mouse that did not
// pass a probe. Once it answers it is found and read whole within a minute. The scale is
// raised to 0.01 so that the window's own work in a tick, which is real time, weighs a
// tenth as much in program time as at 0.001 (slow sanitizer builds too).
TEST_F(JobFaultReFind, ASickMouseHoldsTheWindowAtMostATenthAndIsFoundOnceItAnswers) {
    struct Case {
        const char* name;
        FaultKind kind;
        bool othersArrive;
    };
    const Case cases[] = {
        {"silent", FaultKind::Unanswered, false},
        {"SickMouse: no memory read answered", FaultKind::MemoryUnanswered, false},
        {"SickMouse: silent, other devices arriving", FaultKind::Unanswered, true}};
    platform::core::SetTimeScale(0.01);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrive([&] { faults->Arm(FaultKind::None, 0); });
        ASSERT_TRUE(Present());
        ASSERT_NO_FATAL_FAILURE(Silence(c.kind));
        const uint64_t lossTimeOuts = faults->Failed();

        std::vector<std::shared_ptr<simulator::SimKeyboard>> others;
        const Clock::time_point start = Clock::now();
        double heldMs = 0;
        for (uint32_t tick = 1; ProgramMs(Clock::now() - start) < 120000; ++tick) {
            if (c.othersArrive && tick % 6 == 0) others.push_back(AddKeyboard());
            if (c.othersArrive && tick % 6 == 3 && !others.empty()) others.back()->Unplug();
            const Clock::time_point before = Clock::now();
            Tick();
            heldMs += ProgramMs(Clock::now() - before);
            platform::core::SleepUntilPrecise(start +
                                              platform::core::ScaledDuration(kTickMs * tick));
        }
        const double elapsedMs = ProgramMs(Clock::now() - start);
        EXPECT_LE(heldMs, 0.10 * elapsedMs) << "held " << heldMs << " ms of " << elapsedMs;
        EXPECT_GE(faults->Failed(), lossTimeOuts + 5) << "the sick mouse was probed";
        EXPECT_FALSE(Present());
        EXPECT_EQ(modal->texts.size(), 1u);

        ASSERT_TRUE(PumpUntil([&] { return ProbeIdle(); }, 60000));
        faults->Heal();
        const Clock::time_point healed = Clock::now();
        EXPECT_TRUE(TickUntil([&] { return Present(); }, 60000));
        EXPECT_LE(ProgramMs(Clock::now() - healed), 60000 + kTickMs);
        EXPECT_EQ(LiveImage(), mouse->Image());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_EQ(modal->texts.size(), 1u);
        if (HasFailure()) return;
    }
}

// A hung mouse unplugged and plugged back between two ticks, the count of interfaces as it
// was: the next tick opens and reads it, whether the loss was reported and the look for it
// had reached its longest pause, or the window still showed it. A mouse that left while
// another device arrived is seen gone by the next tick.
TEST_F(JobFaultReFind, SickMouseReplugBetweenTwoTicksIsSeenAtTheNextTick) {
    for (const bool lostBefore : {true, false}) {
        SCOPED_TRACE(lostBefore ? "after the loss was told" : "while shown");
        Arrive([&] { faults->Arm(FaultKind::None, 0); });
        ASSERT_TRUE(Present());
        if (lostBefore) {
            Silence();
            // Long enough for the pause between probes to reach its longest.
            for (int tick = 0; tick < 30; ++tick) {
                Tick();
                ASSERT_TRUE(PumpUntil([&] { return ProbeIdle(); }, 60000));
            }
        }
        const size_t told = modal->texts.size();
        mouse->SetImage(DefaultImage(2));
        mouse->Unplug();
        faults->Heal();
        mouse->Plug();
        Tick();
        EXPECT_TRUE(Present());
        EXPECT_EQ(LiveImage(), DefaultImage(2));
        EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
        EXPECT_EQ(modal->texts.size(), told);
        mouse->SetImage(DefaultImage(1));
        if (HasFailure()) return;
    }

    // The mouse unplugged and a keyboard plugged in between two ticks: the count is as it
    // was, but the mouse is gone, and the next tick tells it once.
    modal->texts.clear();
    mouse->Unplug();
    auto keyboard = AddKeyboard();
    Tick();
    EXPECT_EQ(modal->texts, std::vector<std::string>{kLossText});
    EXPECT_FALSE(Present());
    EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
    Tick();
    EXPECT_EQ(modal->texts.size(), 1u);
    mouse->Plug();
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(modal->texts.size(), 1u);
}

// A mouse with the served USB ids whose identity the program refuses is told once when it
// arrives, however long it stays and whether a mouse was lost before, and again only when
// it is plugged in again. Meanwhile the window stays usable without a mouse.
TEST_F(JobFaultReFind, SickMouseRefusedForItsIdentityIsToldOncePerArrival) {
    const std::string refusedText = "The mouse manufacturer or product id error";
    for (const bool lostBefore : {false, true}) {
        SCOPED_TRACE(lostBefore ? "after a loss" : "no loss before");
        Arrive([&] { faults->Arm(FaultKind::None, 0); });
        ASSERT_TRUE(Present());
        if (lostBefore) Silence();
        mouse->Unplug();
        Tick();
        modal->texts.clear();
        faults->Heal();
        auto stranger = AddMouse(WithIdentity(DefaultImage(1), 0x12, 0x34));
        for (int arrival = 1; arrival <= 2; ++arrival) {
            for (int tick = 0; tick < 14; ++tick) {
                Tick();
                ASSERT_TRUE(PumpUntil([&] { return ProbeIdle(); }, 60000));
            }
            EXPECT_EQ(std::count(modal->texts.begin(), modal->texts.end(), refusedText), arrival);
            EXPECT_EQ(modal->texts.back(), refusedText);
            EXPECT_FALSE(Present());
            EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
            EXPECT_TRUE(form->DevTimer->Enabled());
            stranger->Unplug();
            Tick();
            stranger->Plug();
        }
        stranger->Unplug();
        Tick();
        mouse->Plug();
        modal->texts.clear();
        ASSERT_TRUE(TickUntil([&] { return Present(); }));
        if (HasFailure()) return;
    }
}

// The silent mouse, probed, is unplugged and a healthy one plugged in: the tick that sees
// it arrive reads it, and nothing more is reported.
TEST_F(JobFaultReFind, ASilentMouseReplacedByAHealthyOneIsFoundAtTheNextTick) {
    Silence();
    Tick(); // a probe of the silent mouse starts
    mouse->Unplug();
    Tick();
    EXPECT_FALSE(Present());
    auto other = AddMouse(DefaultImage(3));
    Tick();
    EXPECT_TRUE(Present());
    EXPECT_EQ(LiveImage(), DefaultImage(3));
    EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
    EXPECT_EQ(modal->texts.size(), 1u);
}

// One time-out or one short reply at any transfer of an arrival: the arrival tick still
// finds the mouse and reads it whole, and says nothing.
TEST_F(JobFaultReFind, OneGlitchAtEachTransferOfTheArrivalIsNotALoss) {
    const uint64_t count = ArrivalTransfers();
    ASSERT_GT(count, 300u); // the whole image is among them
    uint64_t shortReplies = 0;
    for (const FaultKind kind : {FaultKind::Unanswered, FaultKind::ShortReply}) {
        for (const uint64_t k : ArrivalIndexes(count)) {
            SCOPED_TRACE(std::string(FaultKindName(kind)) + " at transfer " + std::to_string(k));
            mouse->SetImage(DefaultImage(1 + k % 3));
            Arrive([&] { faults->ArmOnce(kind, k); });
            EXPECT_TRUE(modal->texts.empty());
            EXPECT_TRUE(Present());
            EXPECT_EQ(LiveImage(), mouse->Image());
            EXPECT_EQ(window::shell::NoDevicePageFlag, 0);
            if (kind == FaultKind::Unanswered) {
                EXPECT_EQ(faults->Failed(), 1u);
            }
            shortReplies += kind == FaultKind::ShortReply ? faults->Failed() : 0;
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(shortReplies, 8u) << "most of the walked transfers are replies";
}

// A mouse silent from any transfer of its arrival: the loss is reported once, after at
// most four time-outs, and nothing of the mouse is shown.
TEST_F(JobFaultReFind, AMouseSilentFromEachTransferOfTheArrivalIsReportedOnceWithinFourTimeOuts) {
    const uint64_t count = ArrivalTransfers();
    for (const uint64_t k : ArrivalIndexes(count)) {
        SCOPED_TRACE("unanswered from transfer " + std::to_string(k));
        Arrive([&] { faults->Arm(FaultKind::Unanswered, k); });
        EXPECT_EQ(modal->texts, std::vector<std::string>{kLossText});
        EXPECT_GE(faults->Failed(), 1u);
        EXPECT_LE(faults->Failed(), 4u);
        EXPECT_FALSE(Present());
        EXPECT_EQ(window::shell::NoDevicePageFlag, 1);
        // Answering again, the mouse is read; the next arrival starts from there.
        faults->Heal();
        ASSERT_TRUE(TickUntil([&] { return Present(); }));
        if (HasFailure()) return;
    }
}

} // namespace
} // namespace devtest
