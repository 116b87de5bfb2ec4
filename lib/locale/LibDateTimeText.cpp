// LibDateTime's text forms: the compact ISO 8601 form and free text.
#include "LibDateTime.h"

#include "LibString.h"
#include "o_parsedate.h"

#include <cstdio>
#include <cstring>

namespace {

bool Digits(const char* text, size_t from, size_t to, long& value)
{
    value = 0;
    for (size_t i = from; i < to; i++) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

bool LibDateTime::SetIso8601(const LibString& text, const short& offsetHours)
{
    const char* value = text;
    if (value == nullptr)
        return false;
    size_t length = strlen(value);
    long year, month, day, hours, minutes, seconds;
    if (length < 15 || !Digits(value, 0, 4, year) || !Digits(value, 4, 6, month)
        || !Digits(value, 6, 8, day) || !Digits(value, 9, 11, hours)
        || !Digits(value, 11, 13, minutes) || !Digits(value, 13, 15, seconds))
        return false;
    LibDateTime result(*this);
    if (!result.CorrectDate(day, month, year))
        return false;
    result.SetTime(hours, minutes, seconds);
    if (length == 16 && (value[15] == 'Z' || value[15] == 'z'))
        result.AddHours(offsetHours);
    *this = result;
    return true;
}

void LibDateTime::GetIso8601(LibString& text, const short& offsetHours) const
{
    if (!IsValidDate()) {
        text = "";
        return;
    }
    LibDateTime universal(*this);
    if (offsetHours != 0)
        universal.AddHours(-long(offsetHours));
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%d%2.2d%2.2dT%2.2ld%2.2ld%2.2ld%s", universal.GetYear(),
        universal.GetMonth(), universal.GetDay(), universal.fHours, universal.fMinutes,
        universal.fSeconds, offsetHours != 0 ? "Z" : "");
    text = buffer;
}

bool LibDateTime::Set(const LibString& text)
{
    long when = 0;
    if (!o_parsedate_time(text, -1, when)) {
        fprintf(stderr, "Error with date time value\n");
        return false;
    }
    SetDateTime(when, true);
    return true;
}
