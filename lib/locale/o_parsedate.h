// Reads a date and time written by a person ("March 5, 2001 2:30 pm EST",
// "5.3.01", "next Monday", "tomorrow 10:00") by cutting the text into typed
// tokens and trying them against an ordered table of layouts; parts the text
// leaves out come from a reference time.
#pragma once

#include <climits>

// The zone outputs of o_parsedate_etc when the text named no zone.
constexpr int kParseDateNoZone = INT_MIN;

// Seconds since 1970-01-01 00:00 universal time of the date in `text`, with
// missing parts taken from the local time of `now` (-1: the current time);
// -1 when no layout fits. Years run from 1 to 9999.
long o_parsedate(const char* text, long now);

// The same, with the result apart from the success flag, so that the valid
// time -1 (one second before 1970) can be told from a failure.
bool o_parsedate_time(const char* text, long now, long& when);

// The calendar date in `text` read relative to the current time (relative
// expressions included, so "tomorrow" gives tomorrow's date), the year in
// full. 1, or -1 when no layout fits (the outputs are then untouched).
int o_parsedate(const char* text, int& month, int& day, int& year);

// The common engine. On success (1) the outputs hold the fields of the match
// after completion: hours as written (see `ampm`: -1 none, 0 AM, 12 PM),
// `seconds` including any relative seconds, month and year after relative
// months. `zone` is the named zone in minutes west of universal time
// (daylight names already moved by an hour), `numericZone` the offset written
// after it in minutes east; both kParseDateNoZone without a zone. Bit 0 of
// `*flags` tells that a relative expression was used. -1 on failure.
int o_parsedate_etc(const char* text, long now, int* flags, int& day, int& month, int& year,
    int& hours, int& minutes, long& seconds, int& ampm, int& zone, int& numericZone);
