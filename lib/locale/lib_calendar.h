// Calendar arithmetic shared by the date classes and the date parser: the
// proleptic Gregorian calendar counted in days since 1970-01-01, whole-number
// division that rounds down, and the machine's clock and time zone.
#pragma once

#include "SupportDefs.h"

#include <ctime>

int64 lib_floor_div(int64 value, int64 divisor);
int64 lib_floor_mod(int64 value, int64 divisor);

// Gregorian rules for every year (year 0 is 1 BC).
bool lib_is_gregorian_leap(int64 year);
int lib_gregorian_days_in_month(int64 year, int month);

// Days since 1970-01-01 of day `day` counted from the first of the month, so a
// day outside 1..31 simply counts on. The month must be 1-12; callers keep the
// year within a few million.
int64 lib_days_from_civil(int64 year, int month, int64 day);
void lib_civil_from_days(int64 days, int64& year, int& month, int& day);

// The current time in seconds since the epoch.
long lib_now();
// Broken-down local or universal time; false when the time cannot be
// represented.
bool lib_local_time(long when, tm& out);
bool lib_universal_time(long when, tm& out);
// Seconds east of universal time of the local zone at `when`.
long lib_utc_offset(long when);
