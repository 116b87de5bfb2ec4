#include "LibDateTime.h"

#include "BMessage.h"
#include "lib_calendar.h"

#include <cstdio>

LibDateTime::LibDateTime(const bool& local)
{
    SetNow(local);
}

LibDateTime::LibDateTime(
    const unsigned int& day, const unsigned int& month, const unsigned int& year)
    : LibDate(day, month, year)
{ }

LibDateTime::~LibDateTime() { }

status_t LibDateTime::Archive(BMessage& archive) const
{
    status_t status = LibDate::Archive(archive);
    if (status != B_OK)
        return status;
    return LibTime::Archive(archive);
}

status_t LibDateTime::Restore(const BMessage& archive)
{
    status_t dateStatus = LibDate::Restore(archive);
    status_t timeStatus = LibTime::Restore(archive);
    return dateStatus != B_OK ? dateStatus : timeStatus;
}

void LibDateTime::SetNow(const bool& local)
{
    SetDateTime(lib_now(), local);
}

void LibDateTime::SetDateTime(const long& when, const bool& local)
{
    tm fields {};
    bool known = local ? lib_local_time(when, fields) : lib_universal_time(when, fields);
    if (!known) {
        MakeInvalid();
        return;
    }
    SetDateTime(&fields);
}

void LibDateTime::SetDateTime(const tm* fields)
{
    LibDate::SetDate(fields);
    LibTime::SetTime(fields);
}

void LibDateTime::GetDateTime(tm* fields) const
{
    LibDate::GetDate(fields);
    if (fields != nullptr)
        LibTime::GetTime(*fields);
}

long LibDateTime::GetDateTime(long& when) const
{
    when = -1;
    if (!IsValidDate())
        return when;
    tm fields {};
    GetDateTime(&fields);
    fields.tm_isdst = -1;
    when = long(mktime(&fields));
    return when;
}

void LibDateTime::CarryDays(int64 days)
{
    if (days != 0)
        *this += long(days);
}

void LibDateTime::AddHours(const long& hours)
{
    CarryDays(lib_floor_div(hours, 24)
        + Normalize(fHours + lib_floor_mod(hours, 24), fMinutes, fSeconds));
}

void LibDateTime::AddMinutes(const long& minutes)
{
    CarryDays(lib_floor_div(minutes, 1440)
        + Normalize(fHours, fMinutes + lib_floor_mod(minutes, 1440), fSeconds));
}

void LibDateTime::AddSeconds(const long& seconds)
{
    CarryDays(lib_floor_div(seconds, 86400)
        + Normalize(fHours, fMinutes, fSeconds + lib_floor_mod(seconds, 86400)));
}

long LibDateTime::MinutesSince(const LibDateTime& other) const
{
    return (DaysSince(other) * 86400 + NumberOfSeconds() - other.NumberOfSeconds()) / 60;
}

LibTime LibDateTime::operator-(const LibDateTime& other) const
{
    return LibTime(DaysSince(other) * 24, 0, NumberOfSeconds() - other.NumberOfSeconds());
}

LibDateTime& LibDateTime::operator=(const LibDate& date)
{
    LibDate::operator=(date);
    return *this;
}

LibDateTime& LibDateTime::operator=(const LibTime& time)
{
    LibTime::operator=(time);
    return *this;
}

int LibDateTime::Compare(const LibDateTime& other) const
{
    if (LibDate::operator!=(other))
        return LibDate::operator<(other) ? -1 : 1;
    return LibTime::Compare(other);
}

void LibDateTime::PrintToStream() const
{
    LibDate::PrintToStream();
    LibTime::PrintToStream();
}
