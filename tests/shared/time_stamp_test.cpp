#include <gtest/gtest.h>

#include <cstdlib>

#include "shared/time_stamp.h"

TEST(TimeStamp, DayNamesAndDigits) {
    std::tm when{};
    ASSERT_TRUE(ParseTimeStampOverride("2026-12-08 09:05:07", when));
    EXPECT_EQ("Mardi 8/12/2026 -- 9:05:07", FormatTimeStamp(when));
    ASSERT_TRUE(ParseTimeStampOverride("2026-12-13 23:59:00", when));
    EXPECT_EQ("Dimanche 13/12/2026 -- 23:59:00", FormatTimeStamp(when));
    ASSERT_TRUE(ParseTimeStampOverride("2027-01-02 00:00:09", when));
    EXPECT_EQ("Samedi 2/1/2027 -- 0:00:09", FormatTimeStamp(when));
    ASSERT_TRUE(ParseTimeStampOverride("2024-02-29 12:30:45", when));
    EXPECT_EQ("Jeudi 29/2/2024 -- 12:30:45", FormatTimeStamp(when));
}

TEST(TimeStamp, OverrideMustBeADate) {
    std::tm when{};
    EXPECT_FALSE(ParseTimeStampOverride(nullptr, when));
    EXPECT_FALSE(ParseTimeStampOverride("", when));
    EXPECT_FALSE(ParseTimeStampOverride("2026-13-01 00:00:00", when));
    EXPECT_FALSE(ParseTimeStampOverride("2026-02-30 00:00:00", when));
    EXPECT_FALSE(ParseTimeStampOverride("2026-12-08 09:05:07 extra", when));
}

TEST(TimeStamp, CurrentUsesTheOverrideWhenSet) {
    setenv("QUORVEL_TIME_STAMP", "2026-12-09 10:00:00", 1);
    EXPECT_EQ("Mercredi 9/12/2026 -- 10:00:00", CurrentTimeStamp());
    unsetenv("QUORVEL_TIME_STAMP");
    const std::string now = CurrentTimeStamp();
    EXPECT_NE(std::string::npos, now.find(" -- "));
    EXPECT_NE("Mercredi 9/12/2026 -- 10:00:00", now);
}
