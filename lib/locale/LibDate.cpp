#include "LibDate.h"

#include "BMessage.h"
#include "lib_calendar.h"

#include <cmath>
#include <cstdio>

namespace {

int64 ToAstronomical(int64 year)
{
    return year < 0 ? year + 1 : year;
}

int64 FromAstronomical(int64 year)
{
    return year <= 0 ? year - 1 : year;
}

long MinDayNumber()
{
    static const long value = LibDate::DateToJulian(1, 1, LibDate::kMinYear);
    return value;
}

long MaxDayNumber()
{
    static const long value = LibDate::DateToJulian(31, 12, LibDate::kMaxYear);
    return value;
}

} // namespace

LibDate::LibDate() { }

LibDate::LibDate(const bool& today, const bool& local)
{
    if (today)
        SetToday(local);
}

LibDate::LibDate(const unsigned int& day, const unsigned int& month, const unsigned int& year)
{
    SetDate(day, month, year);
}

LibDate::LibDate(const long& dayNumber)
{
    SetDate(dayNumber);
}

LibDate::~LibDate() { }

// After the almanacs: the Gregorian correction applies from 15 October 1582.
// Years are those of the calendar (no year 0); callers keep them in range.
long LibDate::DateToJulian(int day, int month, int year)
{
    long y = year < 0 ? year + 1 : year;
    long m = month;
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    long correction = 0;
    if (y * 10000 + m * 100 + day >= 15821015) {
        long century = y / 100;
        correction = 2 - century + century / 4;
    }
    return long(365.25 * double(y)) + long(30.6001 * double(m + 1)) + day + 1720994 + correction;
}

void LibDate::JulianToDate(long dayNumber, int& day, int& month, int& year)
{
    double z = double(dayNumber) + 1;
    double a = z;
    if (z > 2299160) {
        double alpha = std::floor((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - std::floor(alpha / 4);
    }
    double b = a < 1721424 ? a + 1158 : a + 1524;
    double c = std::floor((b - 122.1) / 365.25);
    double d = b - std::floor(365.25 * c);
    double e = std::floor(d / 30.6001);
    day = int(d - std::floor(30.6001 * e));
    month = int(e < 13.5 ? e - 1 : e - 13);
    year = int(month > 2 ? c - 4716 : c - 4715);
}

bool LibDate::IsLeap(int64 year)
{
    if (year <= 1581)
        return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int LibDate::MonthLength(int month, int64 year)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

void LibDate::MakeInvalid()
{
    fDayNumber = int32(kInvalidDayNumber);
    fDay = fMonth = fYear = 0;
}

bool LibDate::SetDate(const long& dayNumber)
{
    if (dayNumber < MinDayNumber() || dayNumber > MaxDayNumber()) {
        MakeInvalid();
        return false;
    }
    int day, month, year;
    JulianToDate(dayNumber, day, month, year);
    fDayNumber = int32(dayNumber);
    fDay = day;
    fMonth = month;
    fYear = year;
    return true;
}

// Months carry into years first. A day past the month's end counts on from
// its last day, a day of 0 or less back from its first; the fields are then
// derived from the day number, so they always agree with it (the days that
// October 1582 skipped become the days after the reform).
bool LibDate::CorrectDate(int64 day, int64 month, int64 year)
{
    if (year == 0) {
        MakeInvalid();
        return false;
    }
    int64 monthIndex = ToAstronomical(year) * 12 + month - 1;
    year = FromAstronomical(lib_floor_div(monthIndex, 12));
    month = lib_floor_mod(monthIndex, 12) + 1;
    int64 span = MaxDayNumber() - MinDayNumber();
    if (year < kMinYear || year > kMaxYear || day < -span || day > span) {
        MakeInvalid();
        return false;
    }
    int length = MonthLength(int(month), year);
    if (day < 1)
        return SetDate(long(DateToJulian(1, int(month), int(year)) + day - 1));
    if (day > length)
        return SetDate(long(DateToJulian(length, int(month), int(year)) + day - length));
    return SetDate(DateToJulian(int(day), int(month), int(year)));
}

bool LibDate::SetDate(const unsigned int& day, const unsigned int& month, const unsigned int& year)
{
    return CorrectDate(day, month, year);
}

void LibDate::SetDate(const tm* fields)
{
    if (fields != nullptr)
        CorrectDate(fields->tm_mday, int64(fields->tm_mon) + 1, int64(fields->tm_year) + 1900);
}

void LibDate::GetDate(tm* fields) const
{
    if (fields == nullptr)
        return;
    fields->tm_mday = fDay;
    fields->tm_mon = fMonth - 1;
    fields->tm_year = fYear - 1900;
}

void LibDate::GetDate(tm& fields) const
{
    GetDate(&fields);
    fields.tm_wday = DayOfWeek();
    fields.tm_yday = GetDayOfYear() - 1;
}

void LibDate::SetToday(const bool& local)
{
    tm now {};
    bool known = local ? lib_local_time(lib_now(), now) : lib_universal_time(lib_now(), now);
    if (known)
        SetDate(&now);
    else
        MakeInvalid();
}

bool LibDate::SetDay(const unsigned int& day)
{
    return CorrectDate(day, fMonth, fYear);
}

bool LibDate::SetMonth(const unsigned int& month)
{
    return CorrectDate(fDay, month, fYear);
}

bool LibDate::SetYear(const unsigned int& year)
{
    return CorrectDate(fDay, fMonth, year);
}

bool LibDate::AddDays(const int& days)
{
    *this += long(days);
    return IsValidDate();
}

bool LibDate::AddMonths(const int& months)
{
    if (!IsValidDate())
        return false;
    return CorrectDate(fDay, int64(fMonth) + months, fYear);
}

bool LibDate::AddYears(const int& years)
{
    if (!IsValidDate())
        return false;
    return CorrectDate(fDay, fMonth, FromAstronomical(ToAstronomical(fYear) + years));
}

int LibDate::GetDayOfYear() const
{
    if (!IsValidDate())
        return 0;
    return int(fDayNumber - DateToJulian(1, 1, fYear) + 1);
}

LibWeekDay LibDate::DayOfWeek(const unsigned int& day) const
{
    if (!IsValidDate())
        return kSunday;
    int64 number = day == 0 ? int64(fDayNumber) : DateToJulian(1, fMonth, fYear) + int64(day) - 1;
    return LibWeekDay(lib_floor_mod(number + 2, 7));
}

bool LibDate::IsWeekEnd(unsigned int day) const
{
    LibWeekDay weekday = DayOfWeek(day);
    return weekday == kSaturday || weekday == kSunday;
}

void LibDate::SetToNext(const LibWeekDay& weekday)
{
    if (!IsValidDate())
        return;
    long shift = long(lib_floor_mod(int64(weekday) - DayOfWeek(), 7));
    *this += shift == 0 ? 7 : shift;
}

void LibDate::SetToPrev(const LibWeekDay& weekday)
{
    if (!IsValidDate())
        return;
    long shift = long(lib_floor_mod(int64(DayOfWeek()) - weekday, 7));
    *this -= shift == 0 ? 7 : shift;
}

bool LibDate::IsLeapYear(unsigned int year) const
{
    return IsLeap(year);
}

int LibDate::DaysInYear(unsigned int year) const
{
    return IsLeap(year == 0 ? int64(fYear) : int64(year)) ? 366 : 365;
}

int LibDate::DaysInMonth() const
{
    return MonthLength(fMonth, fYear);
}

int LibDate::DaysInMonth(const unsigned int& month, const unsigned int& year) const
{
    return MonthLength(int(month > 12 ? 0 : month), year);
}

bool LibDate::IsValidDate() const
{
    return fDayNumber != kInvalidDayNumber && fDay >= 1 && fDay <= DaysInMonth();
}

long LibDate::DaysSince(const LibDate& other) const
{
    if (!IsValidDate() || !other.IsValidDate())
        return 0;
    return long(fDayNumber) - long(other.fDayNumber);
}

LibDate LibDate::operator+(const long& days) const
{
    LibDate sum(*this);
    sum += days;
    return sum;
}

LibDate LibDate::operator-(const long& days) const
{
    LibDate difference(*this);
    difference -= days;
    return difference;
}

LibDate& LibDate::operator+=(const long& days)
{
    if (!IsValidDate())
        return *this;
    long span = MaxDayNumber() - MinDayNumber();
    if (days > span || days < -span)
        MakeInvalid();
    else
        SetDate(long(fDayNumber) + days);
    return *this;
}

LibDate& LibDate::operator-=(const long& days)
{
    if (days == LONG_MIN) {
        MakeInvalid();
        return *this;
    }
    return *this += -days;
}

LibDate& LibDate::operator++()
{
    return *this += 1L;
}

LibDate& LibDate::operator--()
{
    return *this -= 1L;
}

status_t LibDate::Archive(BMessage& archive) const
{
    return archive.AddInt32("date", fDayNumber);
}

status_t LibDate::Restore(const BMessage& archive)
{
    int32 dayNumber;
    status_t status = archive.FindInt32("date", &dayNumber);
    if (status != B_OK)
        return status;
    return SetDate(long(dayNumber)) ? B_OK : B_BAD_VALUE;
}

void LibDate::PrintToStream() const
{
    printf("LibDate: %d/%d/%d (%ld)\n", int(fMonth), int(fDay), int(fYear), long(fDayNumber));
}
