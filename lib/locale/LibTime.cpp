#include "LibTime.h"

#include "BMessage.h"
#include "lib_calendar.h"

#include <cmath>
#include <cstdio>
#include <cstring>

LibTime::LibTime() { }

LibTime::LibTime(const bool& now, const bool& local)
{
    if (now)
        SetNow(local);
}

LibTime::LibTime(const long& hours, const long& minutes, const long& seconds)
{
    SetTime(hours, minutes, seconds);
}

LibTime::~LibTime() { }

// Each part is split into whole days and a remainder before anything is
// added, so that no sum can overflow.
int64 LibTime::Normalize(int64 hours, int64 minutes, int64 seconds)
{
    int64 days
        = lib_floor_div(hours, 24) + lib_floor_div(minutes, 1440) + lib_floor_div(seconds, 86400);
    int64 rest = lib_floor_mod(hours, 24) * 3600 + lib_floor_mod(minutes, 1440) * 60
        + lib_floor_mod(seconds, 86400);
    days += rest / 86400;
    rest %= 86400;
    fHours = long(rest / 3600);
    fMinutes = long(rest / 60 % 60);
    fSeconds = long(rest % 60);
    return days;
}

void LibTime::SetTime(const long& hours, const long& minutes, const long& seconds)
{
    Normalize(hours, minutes, seconds);
}

void LibTime::SetHours(const long& hours)
{
    Normalize(hours, fMinutes, fSeconds);
}

void LibTime::SetMinutes(const long& minutes)
{
    Normalize(fHours, minutes, fSeconds);
}

void LibTime::SetSeconds(const long& seconds)
{
    Normalize(fHours, fMinutes, seconds);
}

// The stored fields may be raw values from an archive; each sum is split
// into days first.
void LibTime::AddHours(const long& hours)
{
    Normalize(lib_floor_mod(fHours, 24) + lib_floor_mod(hours, 24), fMinutes, fSeconds);
}

void LibTime::AddMinutes(const long& minutes)
{
    Normalize(fHours, lib_floor_mod(fMinutes, 1440) + lib_floor_mod(minutes, 1440), fSeconds);
}

void LibTime::AddSeconds(const long& seconds)
{
    Normalize(fHours, fMinutes, lib_floor_mod(fSeconds, 86400) + lib_floor_mod(seconds, 86400));
}

void LibTime::SetNow(const bool& local)
{
    SetTime(lib_now(), local);
}

void LibTime::SetTime(const long& when, const bool& local)
{
    tm fields {};
    bool known = local ? lib_local_time(when, fields) : lib_universal_time(when, fields);
    if (known)
        SetTime(&fields);
}

void LibTime::SetTime(const tm* fields)
{
    if (fields != nullptr)
        SetTime(fields->tm_hour, fields->tm_min, fields->tm_sec);
}

void LibTime::GetTime(tm& fields) const
{
    fields.tm_hour = int(fHours);
    fields.tm_min = int(fMinutes);
    fields.tm_sec = int(fSeconds);
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool TwoDigits(const char* text, long& value)
{
    if (!IsDigit(text[0]) || !IsDigit(text[1]))
        return false;
    value = (text[0] - '0') * 10 + (text[1] - '0');
    return true;
}

} // namespace

bool LibTime::SetTime(const char* text)
{
    if (text == nullptr)
        return false;
    size_t length = strlen(text);
    long hours, minutes, seconds = 0;
    if (length < 5 || !TwoDigits(text, hours) || !TwoDigits(text + 3, minutes))
        return false;
    if (length >= 8 && !TwoDigits(text + 6, seconds))
        return false;
    if (length != 5 && length < 8)
        return false;
    SetTime(hours, minutes, seconds);
    return true;
}

bool LibTime::SetUnformattedTime(const char* text)
{
    if (text == nullptr)
        return false;
    long values[2] = {0, 0};
    const char* at = text;
    for (long& value : values) {
        size_t count = 0;
        while (IsDigit(at[count]))
            count++;
        if (count > 2)
            return false;
        for (size_t i = 0; i < count; i++)
            value = value * 10 + (at[i] - '0');
        at += count;
        if (*at != '\0')
            at++;
    }
    SetTime(values[0], values[1], 0);
    return true;
}

bool LibTime::SetTime(const float& hours)
{
    if (!std::isfinite(hours) || std::fabs(hours) > 1e9f)
        return false;
    double whole = std::trunc(double(hours));
    double minutes = (double(hours) - whole) * 60;
    double seconds = (minutes - std::trunc(minutes)) * 60;
    SetTime(long(whole), long(minutes), long(seconds));
    return true;
}

long LibTime::NumberOfSeconds() const
{
    return fHours * 3600 + fMinutes * 60 + fSeconds;
}

float LibTime::NumberOfMinutes() const
{
    return float(NumberOfSeconds()) / 60.0f;
}

long LibTime::TimeZone(const int& unit) const
{
    long offset = lib_utc_offset(lib_now());
    if (unit == 2)
        return offset / 60;
    if (unit == 3)
        return offset / 3600;
    return offset;
}

LibTime LibTime::operator-(const LibTime& other) const
{
    return LibTime(0, 0, NumberOfSeconds() - other.NumberOfSeconds());
}

int LibTime::Compare(const LibTime& other) const
{
    if (fHours != other.fHours)
        return fHours < other.fHours ? -1 : 1;
    if (fMinutes != other.fMinutes)
        return fMinutes < other.fMinutes ? -1 : 1;
    if (fSeconds != other.fSeconds)
        return fSeconds < other.fSeconds ? -1 : 1;
    return 0;
}

status_t LibTime::Archive(BMessage& archive) const
{
    status_t status = archive.AddInt32("hours", int32(fHours));
    if (status == B_OK)
        status = archive.AddInt32("minutes", int32(fMinutes));
    if (status == B_OK)
        status = archive.AddInt32("seconds", int32(fSeconds));
    return status;
}

status_t LibTime::Restore(const BMessage& archive)
{
    int32 value;
    bool found = false;
    if (archive.FindInt32("hours", &value) == B_OK) {
        fHours = value;
        found = true;
    }
    if (archive.FindInt32("minutes", &value) == B_OK) {
        fMinutes = value;
        found = true;
    }
    if (archive.FindInt32("seconds", &value) == B_OK) {
        fSeconds = value;
        found = true;
    }
    return found ? B_OK : B_NAME_NOT_FOUND;
}

void LibTime::PrintToStream() const
{
    printf("Time: %2.2ld:%2.2ld:%2.2ld\n", fHours, fMinutes, fSeconds);
}
