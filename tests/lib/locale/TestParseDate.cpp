#include "ZoneGuard.h"
#include "o_parsedate.h"
#include "o_parsedate_internal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Tuesday 6 March 2001, 15:20:30 universal time.
const long kReference = UniversalTime(2001, 3, 6, 15, 20, 30);

long Parse(const char* text)
{
    return o_parsedate(text, kReference);
}

} // namespace

TEST(ParseDate, NumericDatesReadMonthFirstExceptWithDots)
{
    ZoneGuard zone("UTC");
    long fifthOfMarch = UniversalTime(2001, 3, 5);
    EXPECT_EQ(Parse("5.3.01"), fifthOfMarch);
    EXPECT_EQ(Parse("3/5/01"), fifthOfMarch);
    EXPECT_EQ(Parse("3-5-01"), fifthOfMarch);
    EXPECT_EQ(Parse("3-5-2001"), fifthOfMarch);
    EXPECT_EQ(Parse("2001-03-05"), fifthOfMarch);
    EXPECT_EQ(Parse("2001 3 5"), fifthOfMarch);
    EXPECT_EQ(Parse("5-3-2001 (a comment (nested) \\) here)"), UniversalTime(2001, 5, 3));
}

TEST(ParseDate, TwoDigitYearsSplitAt1938)
{
    ZoneGuard zone("UTC");
    EXPECT_EQ(Parse("1/2/37"), UniversalTime(2037, 1, 2));
    EXPECT_EQ(Parse("1/2/38"), UniversalTime(1938, 1, 2));
    EXPECT_EQ(Parse("1/2/99"), UniversalTime(1999, 1, 2));
    EXPECT_EQ(Parse("1/2/00"), UniversalTime(2000, 1, 2));
    EXPECT_EQ(Parse("1/2/0100"), UniversalTime(100, 1, 2));
}

TEST(ParseDate, MissingPartsComeFromTheReference)
{
    ZoneGuard zone("UTC");
    EXPECT_EQ(Parse("Mar 5"), UniversalTime(2001, 3, 5));
    EXPECT_EQ(Parse("10:15"), UniversalTime(2001, 3, 6, 10, 15));
    EXPECT_EQ(Parse("10pm"), UniversalTime(2001, 3, 6, 22, 0));
    EXPECT_EQ(Parse("12:00 AM"), UniversalTime(2001, 3, 6, 0, 0));
    EXPECT_EQ(Parse("12:00 PM"), UniversalTime(2001, 3, 6, 12, 0));
    EXPECT_EQ(Parse("12:30 a.m."), UniversalTime(2001, 3, 6, 0, 30));
    // A weekday without a day: the next such day, today included.
    EXPECT_EQ(Parse("Monday 10:00 PM"), UniversalTime(2001, 3, 12, 22, 0));
    EXPECT_EQ(Parse("Tuesday"), UniversalTime(2001, 3, 6));
    EXPECT_EQ(Parse("Wed"), UniversalTime(2001, 3, 7));
}

TEST(ParseDate, RelativeExpressions)
{
    ZoneGuard zone("UTC");
    EXPECT_EQ(Parse("tomorrow"), UniversalTime(2001, 3, 7));
    EXPECT_EQ(Parse("yesterday"), UniversalTime(2001, 3, 5));
    EXPECT_EQ(Parse("tomorrow 10:00"), UniversalTime(2001, 3, 7, 10, 0));
    EXPECT_EQ(Parse("+3 hours"), kReference + 3 * 3600);
    EXPECT_EQ(Parse("-90 minutes"), kReference - 90 * 60);
    EXPECT_EQ(Parse("2 days"), kReference + 2 * 86400);
    EXPECT_EQ(Parse("next week"), kReference + 7 * 86400);
    EXPECT_EQ(Parse("+1:30"), kReference + 90 * 60);
    EXPECT_EQ(Parse("-0:30"), kReference - 30 * 60);
    EXPECT_EQ(Parse("tomorrow +2 hours"), kReference + 86400 + 2 * 3600);
    // Months carry into the year; the clock stays at midnight.
    EXPECT_EQ(Parse("next month"), UniversalTime(2001, 4, 6));
    EXPECT_EQ(Parse("-3 months"), UniversalTime(2000, 12, 6));
    EXPECT_EQ(Parse("next year"), UniversalTime(2002, 3, 6));
    // Weeks run from Sunday; the reference is a Tuesday.
    EXPECT_EQ(Parse("this Monday"), UniversalTime(2001, 3, 5));
    EXPECT_EQ(Parse("next Monday"), UniversalTime(2001, 3, 12));
    EXPECT_EQ(Parse("last Friday"), UniversalTime(2001, 3, 2));
    EXPECT_EQ(Parse("next Monday 10:00"), UniversalTime(2001, 3, 12, 10, 0));

    int flags = 0, day, month, year, hours, minutes, ampm, zoneWest, numeric;
    long seconds;
    ASSERT_EQ(o_parsedate_etc("tomorrow", kReference, &flags, day, month, year, hours, minutes,
                  seconds, ampm, zoneWest, numeric),
        1);
    EXPECT_EQ(flags & 1, 1);
    EXPECT_EQ(seconds, 86400);
    ASSERT_EQ(o_parsedate_etc("Mar 5", kReference, &flags, day, month, year, hours, minutes,
                  seconds, ampm, zoneWest, numeric),
        1);
    EXPECT_EQ(flags & 1, 0);
}

TEST(ParseDate, ZonesAndNumericOffsets)
{
    ZoneGuard zone("Europe/Berlin");
    EXPECT_EQ(Parse("March 5, 2001 2:30 pm EST"), UniversalTime(2001, 3, 5, 19, 30));
    EXPECT_EQ(Parse("March 5, 2001 2:30 pm EDT"), UniversalTime(2001, 3, 5, 18, 30));
    EXPECT_EQ(Parse("Mon, 5 Mar 2001 14:30:00 GMT"), UniversalTime(2001, 3, 5, 14, 30));
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00 GMT+0130"), UniversalTime(2001, 3, 5, 13, 0));
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00 UTC-5"), UniversalTime(2001, 3, 5, 19, 30));
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00 CEST"), UniversalTime(2001, 3, 5, 12, 30));
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00 JST"), UniversalTime(2001, 3, 5, 5, 30));
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00 NST"), UniversalTime(2001, 3, 5, 18, 0));
    // Without a zone the local zone applies, summer time included.
    EXPECT_EQ(Parse("5 Mar 2001 14:30:00"), UniversalTime(2001, 3, 5, 13, 30));
    EXPECT_EQ(Parse("5 Jul 2001 14:30:00"), UniversalTime(2001, 7, 5, 12, 30));
}

TEST(ParseDate, InvalidTextGivesMinusOne)
{
    ZoneGuard zone("UTC");
    for (const char* text : {"Feb 30 2001", "Feb 29 2001", "Feb 29 1900", "13/13/2001", "25:00",
             "10:60", "13:00 PM", "", "   ", "(open comment", "(ends\rhere)", "(escape at end\\",
             "hello", "5 Mar 2001 garbage", "March 32", "0/1/2001", "1/0/2001", "Mar 5 10000",
             "99999999999999999999/1/1", "1/1/0000 +9999 years"})
        EXPECT_EQ(Parse(text), -1) << text;
    EXPECT_EQ(o_parsedate(nullptr, kReference), -1);
    // Leap days follow the Gregorian rule.
    EXPECT_EQ(Parse("Feb 29 2000"), UniversalTime(2000, 2, 29));
    EXPECT_EQ(Parse("Feb 29 2024"), UniversalTime(2024, 2, 29));

    std::string longText(parsedate::kMaxTextLength, ' ');
    longText.replace(0, 5, "Mar 5");
    EXPECT_EQ(Parse(longText.c_str()), UniversalTime(2001, 3, 5));
    longText += " ";
    EXPECT_EQ(Parse(longText.c_str()), -1);

    int month = 7, day = 8, year = 9;
    EXPECT_EQ(o_parsedate("Feb 30 2001", month, day, year), -1);
    EXPECT_EQ(month, 7);
    EXPECT_EQ(day, 8);
    EXPECT_EQ(year, 9);
}

TEST(ParseDate, MinusOneSecondIsATimeNotAFailure)
{
    ZoneGuard zone("UTC");
    long when = 0;
    EXPECT_TRUE(o_parsedate_time("Dec 31 1969 23:59:59", kReference, when));
    EXPECT_EQ(when, -1);
    EXPECT_FALSE(o_parsedate_time("Dec 32 1969 23:59:59", kReference, when));
}

TEST(ParseDate, CalendarDateFormIncludesRelativeDays)
{
    ZoneGuard zone("UTC");
    int month = 0, day = 0, year = 0;
    ASSERT_EQ(o_parsedate("5.3.01", month, day, year), 1);
    EXPECT_EQ(month, 3);
    EXPECT_EQ(day, 5);
    EXPECT_EQ(year, 2001);
    ASSERT_EQ(o_parsedate("Dec 31 1999 +2 days", month, day, year), -1); // no such layout
    time_t now = time(nullptr);
    tm today {};
    gmtime_r(&now, &today);
    ASSERT_EQ(o_parsedate("tomorrow", month, day, year), 1);
    tm expected {};
    time_t tomorrow = now + 86400;
    gmtime_r(&tomorrow, &expected);
    // Allow for midnight passing between the two readings of the clock.
    bool isTomorrow = day == expected.tm_mday && month == expected.tm_mon + 1;
    bool isDayAfter = day != today.tm_mday;
    EXPECT_TRUE(isTomorrow || isDayAfter);
}

TEST(ParseDate, TokenizerKeepsSignsWordsAndSuffixes)
{
    using namespace parsedate;
    std::vector<Token> tokens;
    ASSERT_TRUE(Tokenize("3-7 -0 + - days THIS CES 5th Sept. a.m. x?", tokens));
    std::vector<int> types;
    for (const Token& token : tokens)
        types.push_back(token.type);
    EXPECT_EQ(types,
        (std::vector<int> {kNumber, kSigned, kNegativeZero, kPlus, kSlash, kTimeUnit, kSigned,
            kDaylightZone, kNumber, kOrdinal, kMonth, kMeridian, kUnknownWord, kOther}));
    EXPECT_EQ(tokens[1].value, -7);
    EXPECT_EQ(tokens[10].value, 9);
    EXPECT_EQ(tokens.back().value, '?');
    ASSERT_TRUE(Tokenize("123456789012345678901234567890", tokens));
    EXPECT_EQ(tokens[0].value, kMaxNumber);
    // Two letters are never a prefix: "TU" is no weekday, "TH" is a suffix.
    EXPECT_EQ(LookUpWord("TU").type, kUnknownWord);
    EXPECT_EQ(LookUpWord("TUE").type, kWeekday);
    EXPECT_EQ(LookUpWord("MONTH").type, kMonthUnit);
    EXPECT_EQ(LookUpWord("MON").type, kWeekday);
}
