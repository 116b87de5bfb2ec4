// A date and a time of day together: time arithmetic carries whole days into
// the date, also when it is reached through a LibTime reference.
#pragma once

#include "LibDate.h"
#include "LibTime.h"

class LibString;

class LibDateTime : public LibDate, public LibTime {
public:
    explicit LibDateTime(const bool& local = true); // now
    LibDateTime(const unsigned int& day, const unsigned int& month, const unsigned int& year);
    LibDateTime(const LibDateTime& other) = default;
    ~LibDateTime() override;

    status_t Archive(BMessage& archive) const override;
    status_t Restore(const BMessage& archive) override;
    // Date and time of one reading of the clock.
    void SetNow(const bool& local) override;
    void AddHours(const long& hours) override;
    void AddMinutes(const long& minutes) override;
    void AddSeconds(const long& seconds) override;

    // From the local time of `when`, or from universal time.
    void SetDateTime(const long& when, const bool& local);
    void SetDateTime(const tm* fields);
    void GetDateTime(tm* fields) const;
    // The date and time taken as local time, in seconds since the epoch (-1
    // when the date is invalid); also stored in `when`.
    long GetDateTime(long& when) const;

    // Whole minutes from `other` to this one.
    long MinutesSince(const LibDateTime& other) const;
    LibTime operator-(const LibDateTime& other) const;

    LibDateTime& operator=(const LibDateTime& other) = default;
    LibDateTime& operator=(const LibDate& date);
    LibDateTime& operator=(const LibTime& time);

    bool operator==(const LibDateTime& other) const { return Compare(other) == 0; }
    bool operator!=(const LibDateTime& other) const { return Compare(other) != 0; }
    bool operator<(const LibDateTime& other) const { return Compare(other) < 0; }
    bool operator<=(const LibDateTime& other) const { return Compare(other) <= 0; }
    bool operator>(const LibDateTime& other) const { return Compare(other) > 0; }
    bool operator>=(const LibDateTime& other) const { return Compare(other) >= 0; }

    // "YYYYMMDDTHHMMSS", with a final "Z" meaning universal time: the time is
    // then moved by `offsetHours` to the local clock. False (nothing changed)
    // for text of another form.
    bool SetIso8601(const LibString& text, const short& offsetHours);
    // The same form; with a non-zero offset the time is written moved back to
    // universal time and marked "Z", so that SetIso8601 reads it back.
    void GetIso8601(LibString& text, const short& offsetHours) const;
    // A date and time written by a person, read relative to now.
    bool Set(const LibString& text);

    void PrintToStream() const;

private:
    int Compare(const LibDateTime& other) const;
    void CarryDays(int64 days);
};
