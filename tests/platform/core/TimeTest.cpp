// Program time scaled to real time, and the steps of a wait that ends on its deadline.
#include "platform/core/Time.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using platform::core::TWaitStep;

TEST(ScaledDuration, KeepsShortWaitsAtSmallScales) {
    platform::core::SetTimeScale(0.01);
    // A 1 ms device latency at 1/100 speed is 10 us, not nothing.
    EXPECT_EQ(platform::core::ScaledMs(1), 0u);
    EXPECT_EQ(platform::core::ScaledDuration(1), 10us);
    EXPECT_EQ(platform::core::ScaledDuration(3500), 35ms);
    platform::core::SetTimeScale(-1.0);
    EXPECT_EQ(platform::core::ScaledDuration(1000), 0us);
    platform::core::SetTimeScale(1.0);
    EXPECT_EQ(platform::core::ScaledDuration(0), 0us);
    EXPECT_EQ(platform::core::ScaledDuration(4000000), 4000s) << "long waits do not overflow";
}

TEST(PlanWait, SleepsToShortlyBeforeTheDeadlineThenYieldsUntilIt) {
    const auto t0 = std::chrono::steady_clock::time_point(1h);
    const auto deadline = t0 + 1ms;

    const platform::core::TWaitPlan far = platform::core::PlanWait(t0, deadline, 200us);
    EXPECT_EQ(far.step, TWaitStep::SleepUntil);
    EXPECT_EQ(far.wakeAt, deadline - 200us) << "an absolute wake time: no drift";

    EXPECT_EQ(platform::core::PlanWait(deadline - 201us, deadline, 200us).step,
              TWaitStep::SleepUntil);
    EXPECT_EQ(platform::core::PlanWait(deadline - 200us, deadline, 200us).step, TWaitStep::Yield);
    EXPECT_EQ(platform::core::PlanWait(deadline - 1ns, deadline, 200us).step, TWaitStep::Yield);
    EXPECT_EQ(platform::core::PlanWait(deadline, deadline, 200us).step, TWaitStep::Done);
    // A timer that woke past the deadline ends the wait at once.
    EXPECT_EQ(platform::core::PlanWait(deadline + 50us, deadline, 200us).step, TWaitStep::Done);
    // Waits shorter than the margin never sleep.
    EXPECT_EQ(platform::core::PlanWait(t0, t0 + 10us, 200us).step, TWaitStep::Yield);
}

} // namespace
