// A time of day: hours, minutes and seconds, normalized into 00:00:00 to
// 23:59:59. On its own a time wraps around midnight; LibDateTime carries the
// whole days into its date.
#pragma once

#include "SupportDefs.h"

#include <ctime>

class BMessage;

class LibTime {
public:
    LibTime(); // 00:00:00
    LibTime(const bool& now, const bool& local);
    LibTime(const long& hours, const long& minutes, const long& seconds);
    LibTime(const LibTime& other) = default;
    LibTime& operator=(const LibTime& other) = default;
    virtual ~LibTime();

    virtual status_t Archive(BMessage& archive) const;
    // Restores each of "hours", "minutes" and "seconds" that is present, as
    // it is.
    virtual status_t Restore(const BMessage& archive);
    virtual void SetNow(const bool& local);
    virtual void AddHours(const long& hours);
    virtual void AddMinutes(const long& minutes);
    virtual void AddSeconds(const long& seconds);
    virtual long GetSeconds() const { return fSeconds; }

    void SetTime(const long& hours, const long& minutes, const long& seconds);
    void SetHours(const long& hours);
    void SetMinutes(const long& minutes);
    void SetSeconds(const long& seconds);
    // "HH:MM:SS" (or "HH:MM") at fixed positions; false (time unchanged) when
    // the text does not have that form.
    bool SetTime(const char* text);
    // Hours and minutes as groups of digits; false for a group of three or
    // more digits.
    bool SetUnformattedTime(const char* text);
    // Decimal hours (1.75 is 1:45:00); false for a value that is no number.
    bool SetTime(const float& hours);
    void SetTime(const tm* fields);
    void GetTime(tm& fields) const;
    // The local time of the epoch time `when`, or the universal time.
    void SetTime(const long& when, const bool& local);

    long GetHours() const { return fHours; }
    long GetMinutes() const { return fMinutes; }
    long NumberOfSeconds() const;
    float NumberOfMinutes() const;
    // The local zone's offset east of universal time now: in seconds for
    // unit 1 (or any other value), minutes for 2, hours for 3.
    long TimeZone(const int& unit) const;

    LibTime operator-(const LibTime& other) const;
    bool operator==(const LibTime& other) const { return Compare(other) == 0; }
    bool operator!=(const LibTime& other) const { return Compare(other) != 0; }
    bool operator<(const LibTime& other) const { return Compare(other) < 0; }
    bool operator<=(const LibTime& other) const { return Compare(other) <= 0; }
    bool operator>(const LibTime& other) const { return Compare(other) > 0; }
    bool operator>=(const LibTime& other) const { return Compare(other) >= 0; }

    void PrintToStream() const;

protected:
    int Compare(const LibTime& other) const;
    // Whole days in the sum of the fields and `hours`, `minutes`, `seconds`
    // (rounded down), with the time set to what is left.
    int64 Normalize(int64 hours, int64 minutes, int64 seconds);

    long fHours = 0;
    long fMinutes = 0;
    long fSeconds = 0;
};
