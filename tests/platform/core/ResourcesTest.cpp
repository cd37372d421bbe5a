#include "platform/core/Resources.h"
#include "platform/core/Time.h"

#include <gtest/gtest.h>

namespace {

const unsigned char kFirst[] = {1, 2, 3};
const unsigned char kSecond[] = {9};

TEST(ResourceTable, FindsByNameAndTypeWithoutRegardToCase) {
    platform::RegisterResource("UnitTest_Alpha", "RC_DATA", kFirst, sizeof kFirst);
    const platform::ResourceEntry* e = platform::FindResource("unittest_ALPHA", "rc_data");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->size, 3u);
    EXPECT_EQ(e->data[2], 3);
    EXPECT_EQ(platform::FindResource("UnitTest_Alpha", "PNG"), nullptr);
    EXPECT_EQ(platform::FindResource("UnitTest_Alph", "RC_DATA"), nullptr);
}

TEST(ResourceTable, LaterRegistrationReplacesEarlier) {
    platform::RegisterResource("UnitTest_Beta", "RC_DATA", kFirst, sizeof kFirst);
    platform::RegisterResource("UNITTEST_BETA", "RC_DATA", kSecond, sizeof kSecond);
    const platform::ResourceEntry* e = platform::FindResource("UnitTest_Beta", "RC_DATA");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->size, 1u);
    int count = 0;
    for (const auto& r : platform::AllResources())
        if (r.name == "UnitTest_Beta" || r.name == "UNITTEST_BETA") ++count;
    EXPECT_EQ(count, 1);
}

TEST(TimeScale, ScalesProgramTimeToRealTime) {
    platform::SetTimeScale(0.01);
    EXPECT_EQ(platform::ScaledMs(3500), 35u);
    EXPECT_EQ(platform::ScaledMs(20), 0u);
    platform::SetTimeScale(-2.0); // nonsense scales never give negative waits
    EXPECT_EQ(platform::ScaledMs(1000), 0u);
    platform::SetTimeScale(1.0);
    EXPECT_EQ(platform::ScaledMs(2100), 2100u);
}

} // namespace
