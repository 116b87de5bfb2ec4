// Writes a date and time for people: the localized date, a separator and the
// localized time.
#pragma once

#include "LibDateTime.h"
#include "LibLocaleDate.h"
#include "LibLocaleTime.h"

class LibLocaleDateTime : public LibLocaleDate, public LibLocaleTime {
public:
    LibLocaleDateTime();
    LibLocaleDateTime(const LibLocaleDateTime& other) = default;
    LibLocaleDateTime& operator=(const LibLocaleDateTime& other) = default;
    ~LibLocaleDateTime() override;

    status_t Archive(BMessage& archive) const override;
    status_t Restore(const BMessage& archive) override;

    using LibLocaleTime::SetSeperator;
    void SetSeperator(const char* separator);
    const char* FieldSeperator() const { return fFieldSeparator; }

    using LibLocaleDate::Format;
    using LibLocaleTime::Format;
    LibString Format(const LibDateTime& value) const;

private:
    LibString fFieldSeparator;
};
