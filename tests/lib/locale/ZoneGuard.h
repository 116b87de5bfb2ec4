// Sets the TZ environment variable (and tzset) for the lifetime of the
// object, so that date tests never depend on the machine's zone.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone)
    {
        if (const char* old = getenv("TZ"))
            fOld = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        if (fOld)
            setenv("TZ", fOld->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneGuard(const ZoneGuard&) = delete;
    ZoneGuard& operator=(const ZoneGuard&) = delete;

private:
    std::optional<std::string> fOld;
};

// Seconds since the epoch of a universal date and time.
inline long UniversalTime(
    int year, int month, int day, int hours = 0, int minutes = 0, int seconds = 0)
{
    tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hours;
    fields.tm_min = minutes;
    fields.tm_sec = seconds;
    return long(timegm(&fields));
}
