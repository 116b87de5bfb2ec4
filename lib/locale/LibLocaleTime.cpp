#include "LibLocaleTime.h"

#include "BMessage.h"

#include <cstdio>
#include <cstring>

LibLocaleTime::LibLocaleTime()
    : f24Suffix("")
    , fBeforeNoonSuffix(" AM")
    , fAfterNoonSuffix(" PM")
{ }

LibLocaleTime::~LibLocaleTime() { }

void LibLocaleTime::Set24ClockSuffix(const char* suffix)
{
    f24Suffix = suffix != nullptr ? suffix : "";
}

void LibLocaleTime::Set12ClockBeforeNoonSuffix(const char* suffix)
{
    fBeforeNoonSuffix = suffix != nullptr ? suffix : "";
}

void LibLocaleTime::Set12ClockAfterNoonSuffix(const char* suffix)
{
    fAfterNoonSuffix = suffix != nullptr ? suffix : "";
}

bool LibLocaleTime::Has12ClockSuffix() const
{
    return fBeforeNoonSuffix.Length() > 0 || fAfterNoonSuffix.Length() > 0;
}

LibString LibLocaleTime::Format(const LibTime& time) const
{
    long hours = time.GetHours();
    char buffer[64];
    if (f24Clock) {
        snprintf(buffer, sizeof buffer, "%02ld", hours);
    } else {
        long shown = hours > 12 ? hours - 12 : hours;
        snprintf(buffer, sizeof buffer, "%ld", shown == 0 ? 12 : shown);
    }
    LibString text(buffer);
    char separator[2] = {fSeparator, '\0'};
    if (fShowMinutes) {
        snprintf(buffer, sizeof buffer, "%s%02ld", separator, time.GetMinutes());
        text.Concat(buffer);
    }
    if (fShowSeconds) {
        snprintf(buffer, sizeof buffer, "%s%02ld", separator, time.GetSeconds());
        text.Concat(buffer);
    }
    if (fShowSuffix)
        text.Concat(f24Clock ? f24Suffix : hours >= 12 ? fAfterNoonSuffix : fBeforeNoonSuffix);
    return text;
}

// The after-noon suffix anywhere (either case), else its first character
// without blanks, else a "P".
bool LibLocaleTime::IsAfternoon(const char* text) const
{
    LibString value(text);
    if (fAfterNoonSuffix.Length() > 0 && value.Contain(fAfterNoonSuffix, true))
        return true;
    LibString stripped(fAfterNoonSuffix);
    stripped.StripAllSpaces();
    if (stripped.Length() > 0) {
        char first[2] = {static_cast<const char*>(stripped)[0], '\0'};
        if (value.Contain(first, true))
            return true;
    }
    return value.Contain('P') || value.Contain('p');
}

LibTime LibLocaleTime::GetTime(const char* text) const
{
    LibTime time;
    if (text == nullptr)
        return time;
    long values[3] = {0, 0, 0};
    int count = 0;
    for (const char* at = text; *at != '\0' && count < 3;) {
        if (*at < '0' || *at > '9') {
            at++;
            continue;
        }
        long value = 0;
        for (int digits = 0; digits < 3 && *at >= '0' && *at <= '9'; digits++, at++)
            value = value * 10 + (*at - '0');
        values[count++] = value;
    }
    time.SetHours(values[0]);
    time.SetMinutes(values[1]);
    time.SetSeconds(values[2]);
    bool afternoon = IsAfternoon(text);
    if (!f24Clock && time.GetHours() >= 12 && !afternoon)
        time.AddHours(-12);
    else if (time.GetHours() < 12 && afternoon)
        time.AddHours(12);
    return time;
}

void LibLocaleTime::PrintToStream()
{
    fprintf(stderr, "show sec %d, min %d\n", fShowSeconds, fShowMinutes);
}

status_t LibLocaleTime::Archive(BMessage& archive) const
{
    status_t status = archive.AddBool("show_seconds", fShowSeconds);
    if (status == B_OK)
        status = archive.AddBool("show_minutes", fShowMinutes);
    if (status == B_OK)
        status = archive.AddBool("24_hour_clock", f24Clock);
    if (status == B_OK)
        status = archive.AddBool("show_suffix", fShowSuffix);
    if (status == B_OK)
        status = archive.AddInt16("seperator", int16(fSeparator));
    if (status == B_OK)
        status = archive.AddString("24_hour_suffix", static_cast<const char*>(f24Suffix));
    if (status == B_OK) {
        status = archive.AddString(
            "12_hour_before_noon_suffix", static_cast<const char*>(fBeforeNoonSuffix));
    }
    if (status == B_OK) {
        status = archive.AddString(
            "12_hour_after_noon_suffix", static_cast<const char*>(fAfterNoonSuffix));
    }
    return status;
}

status_t LibLocaleTime::Restore(const BMessage& archive)
{
    bool flag;
    if (archive.FindBool("show_seconds", &flag) == B_OK)
        fShowSeconds = flag;
    if (archive.FindBool("show_minutes", &flag) == B_OK)
        fShowMinutes = flag;
    if (archive.FindBool("24_hour_clock", &flag) == B_OK)
        f24Clock = flag;
    if (archive.FindBool("show_suffix", &flag) == B_OK)
        fShowSuffix = flag;
    int16 separator;
    if (archive.FindInt16("seperator", &separator) == B_OK)
        fSeparator = char(separator);
    const char* text;
    if (archive.FindString("24_hour_suffix", &text) == B_OK)
        f24Suffix = text;
    if (archive.FindString("12_hour_before_noon_suffix", &text) == B_OK)
        fBeforeNoonSuffix = text;
    if (archive.FindString("12_hour_after_noon_suffix", &text) == B_OK)
        fAfterNoonSuffix = text;
    return B_OK;
}
