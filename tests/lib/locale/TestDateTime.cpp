#include "BMessage.h"
#include "LibDateTime.h"
#include "LibString.h"
#include "ZoneGuard.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

LibDateTime At(unsigned day, unsigned month, unsigned year, long hours, long minutes, long seconds)
{
    LibDateTime value(day, month, year);
    value.SetTime(hours, minutes, seconds);
    return value;
}

void Expect(
    const LibDateTime& value, int day, int month, int year, long hours, long minutes, long seconds)
{
    EXPECT_TRUE(value.IsValidDate());
    EXPECT_EQ(value.GetDay(), day);
    EXPECT_EQ(value.GetMonth(), month);
    EXPECT_EQ(value.GetYear(), year);
    EXPECT_EQ(value.GetHours(), hours);
    EXPECT_EQ(value.GetMinutes(), minutes);
    EXPECT_EQ(value.GetSeconds(), seconds);
}

} // namespace

TEST(DateTime, TimeArithmeticCarriesIntoTheDate)
{
    LibDateTime value = At(5, 3, 2001, 23, 30, 0);
    value.AddMinutes(60);
    Expect(value, 6, 3, 2001, 0, 30, 0);
    value = At(5, 3, 2001, 0, 0, 10);
    value.AddSeconds(-20);
    Expect(value, 4, 3, 2001, 23, 59, 50);
    value = At(31, 12, 1999, 23, 59, 59);
    LibTime& asTime = value;
    asTime.AddSeconds(1);
    Expect(value, 1, 1, 2000, 0, 0, 0);
    value = At(28, 2, 2000, 23, 0, 0);
    value.AddHours(1);
    Expect(value, 29, 2, 2000, 0, 0, 0);
    value = At(28, 2, 1900, 23, 0, 0);
    value.AddHours(1);
    Expect(value, 1, 3, 1900, 0, 0, 0);
    value = At(28, 2, 2024, 12, 0, 0);
    value.AddHours(-48);
    Expect(value, 26, 2, 2024, 12, 0, 0);
    value.AddMinutes(3 * 1440 + 1);
    Expect(value, 29, 2, 2024, 12, 1, 0);

    // A LibTime alone drops the day.
    LibTime plain(23, 59, 59);
    plain.AddSeconds(1);
    EXPECT_EQ(plain.NumberOfSeconds(), 0);

    // Sums beyond the handled years make the date invalid, never undefined.
    value.AddSeconds(LONG_MAX);
    EXPECT_FALSE(value.IsValidDate());
    value = At(1, 1, 2000, 0, 0, 0);
    value.AddHours(LONG_MIN);
    EXPECT_FALSE(value.IsValidDate());
}

TEST(DateTime, DifferencesAndComparisons)
{
    LibDateTime later = At(6, 3, 2001, 0, 0, 30);
    LibDateTime earlier = At(5, 3, 2001, 23, 59, 50);
    EXPECT_EQ(later.MinutesSince(earlier), 0);
    EXPECT_EQ(At(6, 3, 2001, 1, 0, 0).MinutesSince(earlier), 60);
    EXPECT_EQ(earlier.MinutesSince(At(4, 3, 2001, 23, 59, 50)), 1440);
    LibTime difference = later - earlier;
    EXPECT_EQ(difference.NumberOfSeconds(), 40);
    EXPECT_TRUE(earlier < later);
    EXPECT_TRUE(At(5, 3, 2001, 23, 59, 51) > earlier);
    EXPECT_TRUE(At(4, 3, 2001, 23, 59, 59) < earlier);
    EXPECT_TRUE(At(5, 3, 2001, 23, 59, 50) == earlier);

    LibDateTime value = earlier;
    value = LibDate(1, 1, 2000);
    Expect(value, 1, 1, 2000, 23, 59, 50);
    value = LibTime(1, 2, 3);
    Expect(value, 1, 1, 2000, 1, 2, 3);
}

TEST(DateTime, Iso8601)
{
    LibDateTime value = At(5, 3, 2001, 14, 7, 9);
    LibString text;
    value.GetIso8601(text, 0);
    EXPECT_STREQ(text, "20010305T140709");
    value.GetIso8601(text, 2);
    EXPECT_STREQ(text, "20010305T120709Z");
    LibDateTime back(1u, 1u, 1990u);
    ASSERT_TRUE(back.SetIso8601(text, 2));
    EXPECT_TRUE(back == value);
    At(1, 1, 2000, 1, 0, 0).GetIso8601(text, 3);
    EXPECT_STREQ(text, "19991231T220000Z");

    ASSERT_TRUE(back.SetIso8601(LibString("20010305T140709z"), -5));
    Expect(back, 5, 3, 2001, 9, 7, 9);
    ASSERT_TRUE(back.SetIso8601(LibString("20010305T140709 and more"), 4));
    Expect(back, 5, 3, 2001, 14, 7, 9);
    ASSERT_TRUE(back.SetIso8601(LibString("20010231T000000"), 0));
    Expect(back, 3, 3, 2001, 0, 0, 0);
    for (const char* bad : {"20010305T14070", "2001-03-05T14:07:09", "00000101T000000", ""})
        EXPECT_FALSE(back.SetIso8601(LibString(bad), 0)) << bad;
    EXPECT_FALSE(back.SetIso8601(LibString(nullptr), 0));
    Expect(back, 3, 3, 2001, 0, 0, 0);
    LibDateTime invalid(1u, 1u, 0u);
    invalid.GetIso8601(text, 0);
    EXPECT_STREQ(text, "");
}

TEST(DateTime, ParsedTextAndClock)
{
    ZoneGuard zone("Europe/Berlin");
    LibDateTime value;
    ASSERT_TRUE(value.Set(LibString("March 5, 2001 2:30 pm EST")));
    Expect(value, 5, 3, 2001, 20, 30, 0);
    ASSERT_TRUE(value.Set(LibString("5 Jul 2001 14:30:15")));
    Expect(value, 5, 7, 2001, 14, 30, 15);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(value.Set(LibString("Feb 30 2001")));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error with date time value\n");
    Expect(value, 5, 7, 2001, 14, 30, 15);

    long when = UniversalTime(2001, 7, 5, 22, 30, 0);
    value.SetDateTime(when, true);
    Expect(value, 6, 7, 2001, 0, 30, 0);
    long back = 0;
    EXPECT_EQ(value.GetDateTime(back), when);
    EXPECT_EQ(back, when);
    value.SetDateTime(when, false);
    Expect(value, 5, 7, 2001, 22, 30, 0);
    LibDateTime invalid(1u, 1u, 0u);
    EXPECT_EQ(invalid.GetDateTime(back), -1);

    time_t before = time(nullptr);
    LibDateTime now(false);
    time_t after = time(nullptr);
    long seconds = 0;
    tm fields {};
    now.GetDateTime(&fields);
    seconds = long(timegm(&fields));
    EXPECT_GE(seconds, long(before));
    EXPECT_LE(seconds, long(after));
}

TEST(DateTime, ArchiveHoldsBothParts)
{
    BMessage archive;
    ASSERT_EQ(At(5, 3, 2001, 14, 7, 9).Archive(archive), B_OK);
    EXPECT_EQ(archive.FindInt32("date"), 2451973);
    EXPECT_EQ(archive.FindInt32("hours"), 14);
    LibDateTime restored(1u, 1u, 1990u);
    ASSERT_EQ(restored.Restore(archive), B_OK);
    Expect(restored, 5, 3, 2001, 14, 7, 9);
    LibDate& asDate = restored;
    BMessage dateOnly;
    asDate.Archive(dateOnly);
    EXPECT_EQ(dateOnly.FindInt32("hours"), 14); // virtual: the whole value
}
