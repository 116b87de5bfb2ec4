#include "BMessage.h"
#include "LibTime.h"
#include "ZoneGuard.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

void ExpectTime(const LibTime& time, long hours, long minutes, long seconds)
{
    EXPECT_EQ(time.GetHours(), hours);
    EXPECT_EQ(time.GetMinutes(), minutes);
    EXPECT_EQ(time.GetSeconds(), seconds);
}

} // namespace

TEST(Time, NormalizesAndWrapsAroundMidnight)
{
    LibTime last(23, 59, 59);
    last.AddSeconds(1);
    ExpectTime(last, 0, 0, 0);
    ExpectTime(LibTime(0, 0, -60), 23, 59, 0);
    ExpectTime(LibTime(0, 0, -1), 23, 59, 59);
    ExpectTime(LibTime(25, 61, 61), 2, 2, 1);
    ExpectTime(LibTime(-1, 0, 0), 23, 0, 0);
    LibTime time(10, 0, 0);
    time.AddMinutes(-601);
    ExpectTime(time, 23, 59, 0);
    time.AddHours(49);
    ExpectTime(time, 0, 59, 0);
    time.SetMinutes(-1);
    ExpectTime(time, 23, 59, 0);
    // Extreme amounts neither overflow nor lose the remainder.
    time.SetTime(0, 0, 0);
    time.AddSeconds(LONG_MAX);
    ExpectTime(time, LONG_MAX % 86400 / 3600, LONG_MAX % 3600 / 60, LONG_MAX % 60);
    time.SetTime(LONG_MIN, LONG_MIN, LONG_MIN);
    EXPECT_GE(time.GetHours(), 0);
    EXPECT_LT(time.GetHours(), 24);
}

TEST(Time, TextAndDecimalForms)
{
    LibTime time;
    EXPECT_TRUE(time.SetTime("12:34:56"));
    ExpectTime(time, 12, 34, 56);
    EXPECT_TRUE(time.SetTime("07:05"));
    ExpectTime(time, 7, 5, 0);
    for (const char* bad : {"7:05", "12:34:5", "ab:cd:ef", "", "12:3x:00"})
        EXPECT_FALSE(time.SetTime(bad)) << bad;
    EXPECT_FALSE(time.SetTime(static_cast<const char*>(nullptr)));
    ExpectTime(time, 7, 5, 0);

    EXPECT_TRUE(time.SetUnformattedTime("9:5"));
    ExpectTime(time, 9, 5, 0);
    EXPECT_TRUE(time.SetUnformattedTime("14"));
    ExpectTime(time, 14, 0, 0);
    EXPECT_TRUE(time.SetUnformattedTime(""));
    ExpectTime(time, 0, 0, 0);
    EXPECT_TRUE(time.SetUnformattedTime("25.70"));
    ExpectTime(time, 2, 10, 0);
    EXPECT_FALSE(time.SetUnformattedTime("123:00"));
    EXPECT_FALSE(time.SetUnformattedTime("1:234"));

    EXPECT_TRUE(time.SetTime(1.75f));
    ExpectTime(time, 1, 45, 0);
    EXPECT_TRUE(time.SetTime(0.5083334f));
    ExpectTime(time, 0, 30, 30);
    EXPECT_FALSE(time.SetTime(std::nanf("")));
    EXPECT_FALSE(time.SetTime(HUGE_VALF));
    ExpectTime(time, 0, 30, 30);

    EXPECT_EQ(LibTime(1, 2, 3).NumberOfSeconds(), 3723);
    EXPECT_FLOAT_EQ(LibTime(1, 2, 30).NumberOfMinutes(), 62.5f);
}

TEST(Time, DifferencesAndComparisons)
{
    ExpectTime(LibTime(10, 0, 0) - LibTime(9, 30, 15), 0, 29, 45);
    ExpectTime(LibTime(1, 0, 0) - LibTime(23, 0, 0), 2, 0, 0);
    EXPECT_TRUE(LibTime(10, 0, 0) > LibTime(9, 59, 59));
    EXPECT_TRUE(LibTime(10, 1, 0) >= LibTime(10, 0, 59));
    EXPECT_TRUE(LibTime(10, 0, 1) != LibTime(10, 0, 0));
    EXPECT_TRUE(LibTime(0, 0, 0) == LibTime(24, 0, 0));
    EXPECT_TRUE(LibTime(0, 0, 0) < LibTime(0, 0, 1));
    EXPECT_TRUE(LibTime(0, 0, 0) <= LibTime(0, 0, 0));
}

TEST(Time, ClockAndZones)
{
    ZoneGuard zone("Asia/Kolkata"); // 5:30 east, no summer time
    LibTime time;
    EXPECT_EQ(time.TimeZone(1), 19800);
    EXPECT_EQ(time.TimeZone(7), 19800);
    EXPECT_EQ(time.TimeZone(2), 330);
    EXPECT_EQ(time.TimeZone(3), 5);
    long when = UniversalTime(2001, 3, 5, 20, 0, 5);
    time.SetTime(when, true);
    ExpectTime(time, 1, 30, 5);
    time.SetTime(when, false);
    ExpectTime(time, 20, 0, 5);
    {
        ZoneGuard berlin("Europe/Berlin");
        LibTime summer;
        summer.SetTime(UniversalTime(2001, 7, 5, 20, 0, 5), false);
        ExpectTime(summer, 20, 0, 5);
        summer.SetTime(UniversalTime(2001, 7, 5, 20, 0, 5), true);
        ExpectTime(summer, 22, 0, 5);
    }
    tm fields {};
    time.GetTime(fields);
    EXPECT_EQ(fields.tm_hour, 20);
    EXPECT_EQ(fields.tm_sec, 5);
    fields.tm_min = 7;
    time.SetTime(&fields);
    ExpectTime(time, 20, 7, 5);
}

TEST(Time, ArchiveRestoresFieldsAsTheyAre)
{
    BMessage archive;
    ASSERT_EQ(LibTime(1, 2, 3).Archive(archive), B_OK);
    LibTime restored;
    ASSERT_EQ(restored.Restore(archive), B_OK);
    ExpectTime(restored, 1, 2, 3);
    BMessage partial;
    partial.AddInt32("minutes", 75);
    ASSERT_EQ(restored.Restore(partial), B_OK);
    ExpectTime(restored, 1, 75, 3);
    EXPECT_EQ(restored.Restore(BMessage()), B_NAME_NOT_FOUND);
    // Arithmetic on raw restored values still normalizes.
    restored.AddSeconds(0);
    ExpectTime(restored, 2, 15, 3);

    testing::internal::CaptureStdout();
    LibTime(1, 2, 3).PrintToStream();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Time: 01:02:03\n");
}
