#include "platform/core/Resources.h"
#include "platform/core/Time.h"

#include <gtest/gtest.h>

namespace {

const unsigned char kFirst[] = {1, 2, 3};
const unsigned char kSecond[] = {9};

TEST(ResourceTable, FindsByNameAndTypeWithoutRegardToCase) {
    platform::core::RegisterResource("UnitTest_Alpha", "RC_DATA", kFirst, sizeof kFirst);
    const platform::core::ResourceEntry* e =
        platform::core::FindResource("unittest_ALPHA", "rc_data");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->size, 3u);
    EXPECT_EQ(e->data[2], 3);
    EXPECT_EQ(platform::core::FindResource("UnitTest_Alpha", "PNG"), nullptr);
    EXPECT_EQ(platform::core::FindResource("UnitTest_Alph", "RC_DATA"), nullptr);
}

TEST(ResourceTable, LaterRegistrationReplacesEarlier) {
    platform::core::RegisterResource("UnitTest_Beta", "RC_DATA", kFirst, sizeof kFirst);
    platform::core::RegisterResource("UNITTEST_BETA", "RC_DATA", kSecond, sizeof kSecond);
    const platform::core::ResourceEntry* e =
        platform::core::FindResource("UnitTest_Beta", "RC_DATA");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->size, 1u);
    int count = 0;
    for (const auto& r : platform::core::AllResources())
        if (r.name == "UnitTest_Beta" || r.name == "UNITTEST_BETA") ++count;
    EXPECT_EQ(count, 1);
}

TEST(TimeScale, ScalesProgramTimeToRealTime) {
    platform::core::SetTimeScale(0.01);
    EXPECT_EQ(platform::core::ScaledMs(3500), 35u);
    EXPECT_EQ(platform::core::ScaledMs(20), 0u);
    platform::core::SetTimeScale(-2.0); // nonsense scales never give negative waits
    EXPECT_EQ(platform::core::ScaledMs(1000), 0u);
    platform::core::SetTimeScale(1.0);
    EXPECT_EQ(platform::core::ScaledMs(2100), 2100u);
}

} // namespace
