// Writes times of day for people on a 12- or 24-hour clock with a chosen
// separator and suffixes, and reads such text back.
#pragma once

#include "LibString.h"
#include "LibTime.h"

class BMessage;

class LibLocaleTime {
public:
    LibLocaleTime();
    LibLocaleTime(const LibLocaleTime& other) = default;
    LibLocaleTime& operator=(const LibLocaleTime& other) = default;
    virtual ~LibLocaleTime();

    virtual status_t Archive(BMessage& archive) const;
    // Takes only the fields present.
    virtual status_t Restore(const BMessage& archive);

    void SetShowSeconds(const bool& show) { fShowSeconds = show; }
    void SetShowMinutes(const bool& show) { fShowMinutes = show; }
    void Set24Clock(const bool& on) { f24Clock = on; }
    void SetShowSuffix(const bool& show) { fShowSuffix = show; }
    void SetSeperator(const char& separator) { fSeparator = separator; }
    void Set24ClockSuffix(const char* suffix);
    void Set12ClockBeforeNoonSuffix(const char* suffix);
    void Set12ClockAfterNoonSuffix(const char* suffix);
    bool Has12ClockSuffix() const;

    bool ShowsSeconds() const { return fShowSeconds; }
    bool ShowsMinutes() const { return fShowMinutes; }
    bool Is24Clock() const { return f24Clock; }
    bool ShowsSuffix() const { return fShowSuffix; }
    char Seperator() const { return fSeparator; }

    LibString Format(const LibTime& time) const;
    // Digit runs (three digits at most each) as hours, minutes and seconds;
    // the after-noon suffix, or a "P", marks the afternoon.
    LibTime GetTime(const char* text) const;
    void PrintToStream();

private:
    bool IsAfternoon(const char* text) const;

    bool fShowSeconds = false;
    bool fShowMinutes = true;
    char fSeparator = ':';
    bool f24Clock = false;
    bool fShowSuffix = true;
    LibString f24Suffix;
    LibString fBeforeNoonSuffix;
    LibString fAfterNoonSuffix;
};
