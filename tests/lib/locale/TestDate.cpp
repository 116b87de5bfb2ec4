#include "BMessage.h"
#include "LibDate.h"
#include "ZoneGuard.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Day number of a Gregorian date computed by the C library, for dates from
// 15 October 1582 on.
long GregorianDayNumber(int year, int month, int day)
{
    return (UniversalTime(year, month, day) - UniversalTime(2000, 1, 1)) / 86400 + 2451544;
}

void ExpectDate(const LibDate& date, int day, int month, int year)
{
    EXPECT_TRUE(date.IsValidDate());
    EXPECT_EQ(date.GetDay(), day);
    EXPECT_EQ(date.GetMonth(), month);
    EXPECT_EQ(date.GetYear(), year);
}

} // namespace

TEST(Date, DayNumbersOfKnownDates)
{
    EXPECT_EQ(LibDate(1, 1, 2000).GetDayNumber(), 2451544);
    EXPECT_EQ(LibDate(15, 10, 1582).GetDayNumber(), 2299160);
    ExpectDate(LibDate(2299159L), 4, 10, 1582);
    ExpectDate(LibDate(1721423L), 1, 1, 1);
    ExpectDate(LibDate(1721422L), 31, 12, -1); // there is no year 0
    // Before year 1 the leap years are those divisible by 4 (-4, -8, ...).
    ExpectDate(LibDate(0L), 1, 1, -4713);
    ExpectDate(LibDate(-1L), 31, 12, -4714);
    ExpectDate(LibDate(LibDate::DateToJulian(29, 2, -4)), 29, 2, -4);
    ExpectDate(LibDate(10, 10, 1582), 20, 10, 1582);
    ExpectDate(LibDate(40, 10, 1582), 9, 11, 1582);
}

// Walks day numbers from `from` to `to`: each converts back to itself and is
// the calendar day after its predecessor.
static void WalkDays(long from, long to)
{
    int day = 0, month = 0, year = 0;
    LibDate::JulianToDate(from, day, month, year);
    for (long number = from + 1; number <= to; number++) {
        int nextDay, nextMonth, nextYear;
        LibDate::JulianToDate(number, nextDay, nextMonth, nextYear);
        ASSERT_EQ(LibDate::DateToJulian(nextDay, nextMonth, nextYear), number);
        bool sameMonth = nextDay == day + 1 && nextMonth == month && nextYear == year;
        bool newMonth = nextDay == 1 && day == LibDate::MonthLength(month, year)
            && (nextMonth == month + 1
                    ? nextYear == year
                    : month == 12 && nextMonth == 1 && nextYear == (year == -1 ? 1 : year + 1));
        bool reform = year == 1582 && month == 10 && day == 4 && nextDay == 15;
        ASSERT_TRUE(sameMonth || newMonth || reform) << number;
        day = nextDay;
        month = nextMonth;
        year = nextYear;
    }
}

TEST(Date, DayNumbersRoundTripAndFollowTheCalendar)
{
    long first = LibDate::DateToJulian(1, 1, LibDate::kMinYear);
    long last = LibDate::DateToJulian(31, 12, LibDate::kMaxYear);
    EXPECT_TRUE(LibDate(first).IsValidDate());
    EXPECT_TRUE(LibDate(last).IsValidDate());
    EXPECT_FALSE(LibDate(first - 1).IsValidDate());
    EXPECT_FALSE(LibDate(last + 1).IsValidDate());
    WalkDays(first, first + 4000);
    WalkDays(1721423 - 800000, 1721423 + 4000);  // around year 1
    WalkDays(2299160 - 200000, 2451544 + 40000); // the reform to 2110
    WalkDays(last - 4000, last);
    for (long number = first; number <= last; number += 97) {
        int day, month, year;
        LibDate::JulianToDate(number, day, month, year);
        ASSERT_EQ(LibDate::DateToJulian(day, month, year), number);
    }
    for (int y = 1583; y <= 9999; y += 7) {
        for (int m = 1; m <= 12; m += 5)
            ASSERT_EQ(LibDate(28, m, y).GetDayNumber(), GregorianDayNumber(y, m, 28)) << y;
    }
}

TEST(Date, LeapYearsAndMonthEnds)
{
    LibDate date;
    EXPECT_FALSE(date.IsLeapYear(1900));
    EXPECT_TRUE(date.IsLeapYear(2000));
    EXPECT_TRUE(date.IsLeapYear(2024));
    EXPECT_FALSE(date.IsLeapYear(2100));
    EXPECT_TRUE(date.IsLeapYear(1500)); // the Julian rule before 1582
    EXPECT_EQ(date.DaysInMonth(2, 1900), 28);
    EXPECT_EQ(date.DaysInMonth(2, 2000), 29);
    EXPECT_EQ(date.DaysInMonth(2, 2024), 29);
    EXPECT_EQ(date.DaysInMonth(4, 2024), 30);
    EXPECT_EQ(date.DaysInMonth(13, 2024), 0);
    ExpectDate(LibDate(29, 2, 1900), 1, 3, 1900);
    ExpectDate(LibDate(29, 2, 1500), 29, 2, 1500);
    ExpectDate(LibDate(29, 2, 2000), 29, 2, 2000);
    ExpectDate(LibDate(29, 2, 2024), 29, 2, 2024);
    EXPECT_EQ(LibDate(1, 1, 2000).DaysInYear(), 366);
    EXPECT_EQ(LibDate(1, 1, 1900).DaysInYear(), 365);
    EXPECT_EQ(LibDate(31, 12, 2000).GetDayOfYear(), 366);
    EXPECT_EQ(LibDate(1, 3, 2001).GetDayOfYear(), 60);
    EXPECT_EQ(LibDate(31, 12, 1582).GetDayOfYear(), 355); // ten days were skipped

    // Normalization carries days and months in both directions.
    ExpectDate(LibDate(0, 3, 2001), 28, 2, 2001);
    ExpectDate(LibDate(0, 3, 2024), 29, 2, 2024);
    ExpectDate(LibDate(32, 12, 1999), 1, 1, 2000);
    ExpectDate(LibDate(1, 13, 1999), 1, 1, 2000);
    ExpectDate(LibDate(1, 0, 2000), 1, 12, 1999);
    ExpectDate(LibDate(400, 1, 2001), 4, 2, 2002);

    LibDate endOfJanuary(31, 1, 2001);
    endOfJanuary.AddMonths(1);
    ExpectDate(endOfJanuary, 3, 3, 2001);
    LibDate leapJanuary(31, 1, 2000);
    leapJanuary.AddMonths(1);
    ExpectDate(leapJanuary, 2, 3, 2000);
    LibDate leapDay(29, 2, 2024);
    leapDay.AddYears(1);
    ExpectDate(leapDay, 1, 3, 2025);
    LibDate december(31, 12, 2000);
    december.AddDays(1);
    ExpectDate(december, 1, 1, 2001);
    december.AddMonths(-13);
    ExpectDate(december, 1, 12, 1999);
}

TEST(Date, NoYearZeroAndOutOfRangeIsInvalid)
{
    LibDate unset;
    EXPECT_FALSE(unset.IsValidDate());
    EXPECT_FALSE(LibDate(1, 1, 0).IsValidDate());
    EXPECT_FALSE(LibDate(1, 1, 10000).IsValidDate());
    EXPECT_FALSE(LibDate(4000000000u, 1, 2000).IsValidDate());
    EXPECT_FALSE(LibDate(1, 4000000000u, 2000).IsValidDate());
    EXPECT_FALSE(LibDate(LONG_MAX).IsValidDate());
    EXPECT_FALSE(LibDate(LONG_MIN).IsValidDate());

    LibDate yearOne(1, 1, 1);
    yearOne.AddDays(-1);
    ExpectDate(yearOne, 31, 12, -1);
    LibDate january(15, 1, 1);
    january.AddMonths(-1);
    ExpectDate(january, 15, 12, -1);
    january.AddYears(1);
    ExpectDate(january, 15, 12, 1);

    LibDate last(31, 12, 9999);
    EXPECT_FALSE((last + 1).IsValidDate());
    LibDate sum = LibDate(1, 1, 2000) + LONG_MAX;
    EXPECT_FALSE(sum.IsValidDate());
    EXPECT_EQ(sum.GetDay(), 0);
    LibDate difference = LibDate(1, 1, 2000) - LONG_MIN;
    EXPECT_FALSE(difference.IsValidDate());
    LibDate far(1, 1, 2000);
    EXPECT_FALSE(far.AddYears(INT_MAX));
    EXPECT_FALSE(far.IsValidDate());
    // An invalid date stays invalid and gives neutral answers.
    EXPECT_FALSE(far.AddDays(1));
    EXPECT_FALSE((++far).IsValidDate());
    EXPECT_EQ(far.DaysSince(LibDate(1, 1, 2000)), 0);
    EXPECT_EQ(far.GetDayOfYear(), 0);
    EXPECT_EQ(far.DayOfWeek(), kSunday);
    far.SetToNext(kMonday);
    EXPECT_FALSE(far.IsValidDate());
    EXPECT_TRUE(far.SetDate(5u, 3u, 2001u));
}

TEST(Date, WeekdaysOfBothCalendars)
{
    EXPECT_EQ(LibDate(1, 1, 2000).DayOfWeek(), kSaturday);
    EXPECT_EQ(LibDate(5, 3, 2001).DayOfWeek(), kMonday);
    EXPECT_EQ(LibDate(15, 10, 1582).DayOfWeek(), kFriday);
    EXPECT_EQ(LibDate(4, 10, 1582).DayOfWeek(), kThursday);
    EXPECT_EQ(LibDate(1, 3, 2001).DayOfWeek(5), kMonday);
    EXPECT_EQ(LibDate(1, 3, 2001).DayOfWeek(32), kSunday); // counts on into April
    EXPECT_TRUE(LibDate(3, 3, 2001).IsWeekEnd());
    EXPECT_TRUE(LibDate(1, 3, 2001).IsWeekEnd(4));
    EXPECT_FALSE(LibDate(1, 3, 2001).IsWeekEnd(5));
    for (int year = 1583; year < 9999; year += 37) {
        int month = year % 12 + 1, day = year % 28 + 1;
        tm fields {};
        fields.tm_year = year - 1900;
        fields.tm_mon = month - 1;
        fields.tm_mday = day;
        timegm(&fields);
        ASSERT_EQ(LibDate(day, month, year).DayOfWeek(), fields.tm_wday) << year;
    }

    LibDate date;
    EXPECT_EQ(date.DayOfWeek("fri"), kFriday);
    EXPECT_EQ(date.DayOfWeek("Monday"), kMonday);
    EXPECT_EQ(date.DayOfWeek("w"), kWednesday);
    EXPECT_EQ(date.DayOfWeek("SUN"), kSunday);
    EXPECT_EQ(date.DayOfWeek("sat"), kSaturday);
    EXPECT_EQ(date.DayOfWeek("Tu"), kTuesday);
    EXPECT_EQ(date.DayOfWeek("th"), kThursday);
    EXPECT_EQ(date.DayOfWeek("x"), kSunday);
    EXPECT_EQ(date.DayOfWeek(""), kSunday);

    LibDate monday(5, 3, 2001);
    monday.SetToNext(kMonday);
    ExpectDate(monday, 12, 3, 2001);
    monday.SetToPrev(kMonday);
    monday.SetToPrev(kMonday);
    ExpectDate(monday, 26, 2, 2001);
    monday.SetToNext(kSunday);
    ExpectDate(monday, 4, 3, 2001);
    monday.SetToPrev(kSaturday);
    ExpectDate(monday, 3, 3, 2001);
}

TEST(Date, ArithmeticAndComparisons)
{
    LibDate a(1, 3, 2000), b(28, 2, 2000);
    EXPECT_EQ(a - b, 2);
    EXPECT_EQ(b.DaysSince(a), -2);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a >= b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(b + 2 == a);
    EXPECT_TRUE(a - 2L == b);
    LibDate c(b);
    c += 2;
    EXPECT_EQ(c, a);
    c -= 366;
    ExpectDate(c, 1, 3, 1999);
    --c;
    ExpectDate(c, 28, 2, 1999);
}

TEST(Date, TextForms)
{
    LibDate date(5, 3, 2001);
    EXPECT_TRUE(date.SetDate("12/31/1999"));
    ExpectDate(date, 31, 12, 1999);
    for (const char* bad : {"3/5/2001", "12/31/", "", "ab/cd/efgh", "12/31/19x9"})
        EXPECT_FALSE(date.SetDate(bad)) << bad;
    EXPECT_FALSE(date.SetDate(static_cast<const char*>(nullptr)));
    ExpectDate(date, 31, 12, 1999);

    LibDate current(10, 6, 2004);
    EXPECT_TRUE(current.SetUnformattedDate("3-7"));
    ExpectDate(current, 7, 3, 2004);
    EXPECT_TRUE(current.SetUnformattedDate("12/31/99"));
    ExpectDate(current, 31, 12, 2099);
    EXPECT_TRUE(current.SetUnformattedDate("2.9.1960"));
    ExpectDate(current, 9, 2, 1960);
    EXPECT_TRUE(current.SetUnformattedDate("4"));
    ExpectDate(current, 1, 4, 1960);
    for (const char* bad : {"1/2/123", "/5/2001", "3--7", "123/1/2001", "1/1/0000", "1/1/12345"})
        EXPECT_FALSE(current.SetUnformattedDate(bad)) << bad;
    ExpectDate(current, 1, 4, 1960);

    current.SetMonth("Sep");
    EXPECT_EQ(current.GetMonth(), 9);
    current.SetMonth("M");
    EXPECT_EQ(current.GetMonth(), 3);
    current.SetMonth("march"); // names are matched case-sensitively
    current.SetMonth("");
    current.SetMonth("Mayday");
    EXPECT_EQ(current.GetMonth(), 3);
}

TEST(Date, TimeStructuresAndToday)
{
    tm fields {};
    fields.tm_mday = 7;
    fields.tm_mon = 5;
    fields.tm_year = 20; // 1920: years since 1900, as the C library keeps them
    LibDate date;
    date.SetDate(&fields);
    ExpectDate(date, 7, 6, 1920);
    tm back {};
    date.GetDate(back);
    EXPECT_EQ(back.tm_year, 20);
    EXPECT_EQ(back.tm_mon, 5);
    EXPECT_EQ(back.tm_wday, 1);
    EXPECT_EQ(back.tm_yday, 158);

    ZoneGuard zone("Pacific/Kiritimati"); // 14 hours east: the dates differ half the day
    for (bool local : {true, false}) {
        time_t before = time(nullptr);
        LibDate today(true, local);
        time_t after = time(nullptr);
        tm first {}, second {};
        local ? localtime_r(&before, &first) : gmtime_r(&before, &first);
        local ? localtime_r(&after, &second) : gmtime_r(&after, &second);
        bool matches = (today.GetDay() == first.tm_mday && today.GetMonth() == first.tm_mon + 1)
            || (today.GetDay() == second.tm_mday && today.GetMonth() == second.tm_mon + 1);
        EXPECT_TRUE(matches) << local;
    }
}

TEST(Date, ArchiveAndPrint)
{
    BMessage archive;
    ASSERT_EQ(LibDate(5, 3, 2001).Archive(archive), B_OK);
    EXPECT_EQ(archive.FindInt32("date"), 2451973);
    LibDate restored;
    ASSERT_EQ(restored.Restore(archive), B_OK);
    ExpectDate(restored, 5, 3, 2001);
    EXPECT_NE(restored.Restore(BMessage()), B_OK);
    ExpectDate(restored, 5, 3, 2001);
    BMessage bad;
    bad.AddInt32("date", INT32_MAX);
    EXPECT_EQ(restored.Restore(bad), B_BAD_VALUE);
    EXPECT_FALSE(restored.IsValidDate());

    testing::internal::CaptureStdout();
    LibDate(5, 3, 2001).PrintToStream();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "LibDate: 3/5/2001 (2451973)\n");
}
