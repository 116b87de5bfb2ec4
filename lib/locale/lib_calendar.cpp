#include "lib_calendar.h"

int64 lib_floor_div(int64 value, int64 divisor)
{
    int64 quotient = value / divisor;
    if ((value % divisor != 0) && ((value < 0) != (divisor < 0)))
        quotient--;
    return quotient;
}

int64 lib_floor_mod(int64 value, int64 divisor)
{
    int64 rest = value % divisor;
    if (rest != 0 && ((rest < 0) != (divisor < 0)))
        rest += divisor;
    return rest;
}

bool lib_is_gregorian_leap(int64 year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int lib_gregorian_days_in_month(int64 year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2 && lib_is_gregorian_leap(year))
        return 29;
    return kDays[month - 1];
}

// The era-based conversion: 400-year eras of 146097 days, years starting in
// March so that the leap day comes last.
int64 lib_days_from_civil(int64 year, int month, int64 day)
{
    year -= month <= 2 ? 1 : 0;
    int64 era = lib_floor_div(year, 400);
    int64 yearOfEra = year - era * 400;
    int64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void lib_civil_from_days(int64 days, int64& year, int& month, int& day)
{
    days += 719468;
    int64 era = lib_floor_div(days, 146097);
    int64 dayOfEra = days - era * 146097;
    int64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

long lib_now()
{
    return long(time(nullptr));
}

bool lib_local_time(long when, tm& out)
{
    time_t value = time_t(when);
    return localtime_r(&value, &out) != nullptr;
}

bool lib_universal_time(long when, tm& out)
{
    time_t value = time_t(when);
    return gmtime_r(&value, &out) != nullptr;
}

long lib_utc_offset(long when)
{
    tm local {};
    if (!lib_local_time(when, local))
        return 0;
    int64 asUniversal
        = lib_days_from_civil(int64(local.tm_year) + 1900, local.tm_mon + 1, local.tm_mday) * 86400
        + local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return long(asUniversal - when);
}
