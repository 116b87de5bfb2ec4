// A calendar date kept both as day, month and year and as a running day
// number (the chronological Julian Day Number minus 1), so that date
// arithmetic is integer arithmetic. Dates before 15 October 1582 follow the
// Julian calendar; negative years count before year 1 (there is no year 0).
//
// Years from -9999 to 9999 are handled. A date that is unset, or that any
// setter or sum moves outside that range, is invalid: IsValidDate() is false,
// day, month and year read 0, and it stays invalid until it is set again.
#pragma once

#include "SupportDefs.h"

#include <ctime>

class BMessage;

enum LibWeekDay {
    kSunday = 0,
    kMonday,
    kTuesday,
    kWednesday,
    kThursday,
    kFriday,
    kSaturday,
};

class LibDate {
public:
    LibDate(); // unset
    LibDate(const bool& today, const bool& local);
    LibDate(const unsigned int& day, const unsigned int& month, const unsigned int& year);
    explicit LibDate(const long& dayNumber);
    LibDate(const LibDate& other) = default;
    LibDate& operator=(const LibDate& other) = default;
    virtual ~LibDate();

    virtual status_t Archive(BMessage& archive) const;
    // Restores from "date"; a message without it changes nothing.
    virtual status_t Restore(const BMessage& archive);

    bool SetDate(const unsigned int& day, const unsigned int& month, const unsigned int& year);
    bool SetDate(const long& dayNumber);
    // "MM/DD/YYYY" at fixed positions; false (date unchanged) when the text
    // does not have that form.
    bool SetDate(const char* text);
    // Month, day and year as groups of digits; false on malformed text.
    bool SetUnformattedDate(const char* text);
    void SetDate(const tm* fields);
    void GetDate(tm* fields) const;
    void GetDate(tm& fields) const;
    void SetToday(const bool& local);
    bool SetDay(const unsigned int& day);
    bool SetMonth(const unsigned int& month);
    bool SetYear(const unsigned int& year);
    // The first English month name that begins with `name`.
    void SetMonth(const char* name);
    bool AddDays(const int& days);
    bool AddMonths(const int& months);
    bool AddYears(const int& years);

    int GetDay() const { return fDay; }
    int GetMonth() const { return fMonth; }
    int GetYear() const { return fYear; }
    long GetDayNumber() const { return fDayNumber; }
    int GetDayOfYear() const;

    // Day 0 means the date's own day; an invalid date answers Sunday.
    LibWeekDay DayOfWeek(const unsigned int& day = 0) const;
    LibWeekDay DayOfWeek(const char* name) const;
    bool IsWeekEnd(unsigned int day = 0) const;
    void SetToNext(const LibWeekDay& weekday);
    void SetToPrev(const LibWeekDay& weekday);

    bool IsLeapYear(unsigned int year) const;
    int DaysInYear(unsigned int year = 0) const;
    int DaysInMonth() const;
    int DaysInMonth(const unsigned int& month, const unsigned int& year) const;
    bool IsValidDate() const;

    // Differences are 0 when either date is invalid.
    long DaysSince(const LibDate& other) const;
    long operator-(const LibDate& other) const { return DaysSince(other); }
    LibDate operator+(const int& days) const { return *this + long(days); }
    LibDate operator+(const long& days) const;
    LibDate operator-(const int& days) const { return *this - long(days); }
    LibDate operator-(const long& days) const;
    LibDate& operator+=(const long& days);
    LibDate& operator-=(const long& days);
    LibDate& operator++();
    LibDate& operator--();

    bool operator==(const LibDate& other) const { return fDayNumber == other.fDayNumber; }
    bool operator!=(const LibDate& other) const { return fDayNumber != other.fDayNumber; }
    bool operator<(const LibDate& other) const { return fDayNumber < other.fDayNumber; }
    bool operator<=(const LibDate& other) const { return fDayNumber <= other.fDayNumber; }
    bool operator>(const LibDate& other) const { return fDayNumber > other.fDayNumber; }
    bool operator>=(const LibDate& other) const { return fDayNumber >= other.fDayNumber; }

    void PrintToStream() const;

    static constexpr int kMinYear = -9999;
    static constexpr int kMaxYear = 9999;
    static constexpr long kInvalidDayNumber = INT32_MIN;

    // The day-number conversions of the almanacs, for the handled years.
    static long DateToJulian(int day, int month, int year);
    static void JulianToDate(long dayNumber, int& day, int& month, int& year);
    static bool IsLeap(int64 year);
    static int MonthLength(int month, int64 year);

protected:
    // Normalizes any day, month and year and recomputes the day number.
    bool CorrectDate(int64 day, int64 month, int64 year);
    void MakeInvalid();

private:
    int32 fDayNumber = int32(kInvalidDayNumber);
    int32 fDay = 0;
    int32 fMonth = 0;
    int32 fYear = 0;
};
