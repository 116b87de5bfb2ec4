#include "o_parsedate.h"

#include "lib_calendar.h"
#include "o_parsedate_internal.h"

namespace {

using namespace parsedate;

constexpr int64 kMinYear = 1;
constexpr int64 kMaxYear = 9999;

bool YearInRange(int64 year)
{
    return year >= kMinYear && year <= kMaxYear;
}

// A fit brought to one point in time: the calendar date and the second of the
// day, in the text's own clock.
struct Moment {
    int64 year = 0;
    int month = 0;
    int day = 0;
    int64 secondOfDay = 0;
};

// The date of a named weekday when the text gives no day: the next such day
// from the reference date (today counts), or the one in the previous, current
// or next week after LAST, THIS or NEXT. Weeks start on Sunday.
void DayFromWeekday(Match& match, bool dateGiven, const tm& reference)
{
    int64 baseDay = reference.tm_mday;
    if (dateGiven) {
        int length = lib_gregorian_days_in_month(match.year, int(match.month));
        baseDay = baseDay > length ? length : baseDay;
    }
    int64 base = lib_days_from_civil(match.year, int(match.month), baseDay);
    int64 baseWeekday = lib_floor_mod(base + 4, 7); // 1970-01-01 was a Thursday
    int64 shift = match.weekShift != kUnset ? match.weekday - baseWeekday + 7 * match.weekShift
                                            : lib_floor_mod(match.weekday - baseWeekday, 7);
    int64 year;
    int month, day;
    lib_civil_from_days(base + shift, year, month, day);
    match.year = year;
    match.month = month;
    match.day = day;
}

// Fills the parts the text left out, checks the fit and applies the relative
// parts; false when the fit is no valid date.
bool Complete(Match& match, const tm& reference)
{
    bool fromClock = match.relativeTime;
    if (match.hours == kUnset)
        match.hours = fromClock ? reference.tm_hour : 0;
    if (match.minutes == kUnset)
        match.minutes = fromClock ? reference.tm_min : 0;
    if (match.seconds == kUnset)
        match.seconds = fromClock ? reference.tm_sec : 0;
    bool dateGiven = match.month != kUnset || match.year != kUnset;
    if (match.year == kUnset)
        match.year = int64(reference.tm_year) + 1900;
    if (match.month == kUnset)
        match.month = reference.tm_mon + 1;
    if (match.month < 1 || match.month > 12 || !YearInRange(match.year))
        return false;
    if (match.day == kUnset) {
        if (match.weekday >= 0)
            DayFromWeekday(match, dateGiven, reference);
        else
            match.day = reference.tm_mday;
        if (!YearInRange(match.year))
            return false;
    }
    int64 maxHours = match.ampm >= 0 ? 12 : 23;
    if (match.hours > maxHours || match.minutes > 59 || match.seconds > 59 || match.day < 1
        || match.day > lib_gregorian_days_in_month(match.year, int(match.month)))
        return false;

    match.seconds += match.relativeSeconds;
    int64 monthIndex = match.year * 12 + match.month - 1 + match.relativeMonths;
    match.year = lib_floor_div(monthIndex, 12);
    match.month = lib_floor_mod(monthIndex, 12) + 1;
    return YearInRange(match.year);
}

bool ToMoment(const Match& match, Moment& moment)
{
    int64 hours = match.hours;
    if (match.ampm == 0 && hours == 12)
        hours = 0;
    else if (match.ampm == 12 && hours != 12)
        hours += 12;
    int64 total = hours * 3600 + match.minutes * 60 + match.seconds;
    int64 carry = lib_floor_div(total, 86400);
    moment.secondOfDay = total - carry * 86400;
    int64 days = lib_days_from_civil(match.year, int(match.month), match.day) + carry;
    lib_civil_from_days(days, moment.year, moment.month, moment.day);
    return YearInRange(moment.year);
}

bool Parse(const char* text, long now, Match& match, Moment& moment)
{
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens) || tokens.empty())
        return false;
    tm reference {};
    if (!lib_local_time(now == -1 ? lib_now() : now, reference))
        return false;
    for (size_t i = 0; i < kPatternCount; i++) {
        if (MatchPattern(kPatterns[i], tokens, match) && Complete(match, reference)
            && ToMoment(match, moment))
            return true;
    }
    return false;
}

bool LocalToTime(const Moment& moment, long& when)
{
    tm fields {};
    fields.tm_year = int(moment.year - 1900);
    fields.tm_mon = moment.month - 1;
    fields.tm_mday = moment.day;
    fields.tm_hour = int(moment.secondOfDay / 3600);
    fields.tm_min = int(moment.secondOfDay / 60 % 60);
    fields.tm_sec = int(moment.secondOfDay % 60);
    fields.tm_isdst = -1;
    tm wanted = fields;
    time_t result = mktime(&fields);
    if (result == time_t(-1)) {
        // -1 is also one second before 1970; tell it from a failure.
        tm back {};
        if (!lib_local_time(-1, back) || back.tm_year != wanted.tm_year
            || back.tm_mon != wanted.tm_mon || back.tm_mday != wanted.tm_mday
            || back.tm_hour != wanted.tm_hour || back.tm_min != wanted.tm_min
            || back.tm_sec != wanted.tm_sec)
            return false;
    }
    when = long(result);
    return true;
}

} // namespace

bool o_parsedate_time(const char* text, long now, long& when)
{
    Match match;
    Moment moment;
    if (!Parse(text, now, match, moment))
        return false;
    if (match.zone == kUnset)
        return LocalToTime(moment, when);
    int64 minutesWest = match.zone - (match.numericZone == kUnset ? 0 : match.numericZone);
    when = long(lib_days_from_civil(moment.year, moment.month, moment.day) * 86400
        + moment.secondOfDay + minutesWest * 60);
    return true;
}

long o_parsedate(const char* text, long now)
{
    long when = -1;
    if (!o_parsedate_time(text, now, when))
        return -1;
    return when;
}

int o_parsedate(const char* text, int& month, int& day, int& year)
{
    Match match;
    Moment moment;
    if (!Parse(text, -1, match, moment))
        return -1;
    month = moment.month;
    day = moment.day;
    year = int(moment.year);
    return 1;
}

int o_parsedate_etc(const char* text, long now, int* flags, int& day, int& month, int& year,
    int& hours, int& minutes, long& seconds, int& ampm, int& zone, int& numericZone)
{
    Match match;
    Moment moment;
    if (!Parse(text, now, match, moment))
        return -1;
    if (flags != nullptr)
        *flags = match.relative ? 1 : 0;
    day = int(match.day);
    month = int(match.month);
    year = int(match.year);
    hours = int(match.hours);
    minutes = int(match.minutes);
    seconds = long(match.seconds);
    ampm = match.ampm;
    zone = match.zone == kUnset ? kParseDateNoZone : match.zone;
    numericZone = match.numericZone == kUnset ? kParseDateNoZone : match.numericZone;
    return 1;
}
