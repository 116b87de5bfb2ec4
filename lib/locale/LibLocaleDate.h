// Writes dates for people in one of five languages, laid out by a pattern of
// element letters (D day, M month, W weekday, Y year; other characters are
// copied), and reads such text back.
#pragma once

#include "LibDate.h"
#include "LibString.h"

class BMessage;
class LibStringList;

// Whether `c` is one of the element letters of a date layout.
bool lib_is_date_element(char c);

class LibLocaleDate {
public:
    // Month: 0 the number, 1 the first three characters of the name (the
    // whole name in Japanese), else the whole name. Weekday: 0 the first two
    // characters (three in Japanese), 1 the first three (the whole name in
    // Japanese), else the whole name. Year: 2 in full, else two digits.
    enum ElementFormat : int32 {
        kFormatShortest = 0,
        kFormatShort = 1,
        kFormatLong = 2,
    };
    // Any other value reads as English.
    enum LanguageType : int32 {
        kEnglish = 0,
        kFrench = 1,
        kGerman = 2,
        kSpanish = 3,
        kJapanese = 4,
    };

    LibLocaleDate();
    LibLocaleDate(const LibLocaleDate& other) = default;
    LibLocaleDate& operator=(const LibLocaleDate& other) = default;
    virtual ~LibLocaleDate();

    virtual status_t Archive(BMessage& archive) const;
    // Takes only the fields present.
    virtual status_t Restore(const BMessage& archive);

    void SetFormat(const char* format);
    void SetDayFormat(const ElementFormat& format) { fDayFormat = format; }
    void SetMonthFormat(const ElementFormat& format) { fMonthFormat = format; }
    void SetYearFormat(const ElementFormat& format) { fYearFormat = format; }
    void SetWeekdayFormat(const ElementFormat& format) { fWeekdayFormat = format; }
    void SetLanguage(const LanguageType& language) { fLanguage = language; }
    void PadWithZeros(const bool& pad) { fPad = pad; }

    const char* GetFormat() const { return fFormat; }
    ElementFormat DayFormat() const { return fDayFormat; }
    ElementFormat MonthFormat() const { return fMonthFormat; }
    ElementFormat YearFormat() const { return fYearFormat; }
    ElementFormat WeekdayFormat() const { return fWeekdayFormat; }
    LanguageType Language() const { return fLanguage; }
    bool PadsWithZeros() const { return fPad; }

    // Appends "English", "French", "German", "Spanish", "Japanese".
    static void AvailableLanguages(LibStringList& list);
    bool KanjiLaunguage() const;

    // The date as text; empty for an invalid date.
    LibString Format(const LibDate& date) const;
    // One element as Format writes it; empty for a value without a name.
    LibString AddDay(const int& day) const;
    LibString AddMonth(const int& month) const;
    LibString AddYear(const int& year) const;
    LibString AddWeekDay(const LibWeekDay& weekday) const;
    LibString AddWeekDay(const LibDate& date) const;

    // Today's date, replaced by the date read from `text`: first as this
    // formatter writes dates, else as free text with names of any language.
    LibDate GetDate(const char* text) const;
    // Month and weekday names of all five languages (this one's first)
    // rewritten into English.
    LibString ConvertToEnglish(const char* text) const;
    // Replaces the first word of `text` that begins `name` (an abbreviation
    // or the whole name, two characters at least; ASCII letters in either
    // case) by `englishName`. Words are runs of characters that are neither
    // white space, punctuation nor digits.
    static bool SwapText(LibString& text, const char* name, const char* englishName);
    // Takes the element letter out of the pattern with the separators that
    // follow it (or, for the last element, those before it).
    void RemoveFormat(const char& element);
    void PrintToStream() { }

private:
    int LanguageIndex() const;
    LibString Cut(const char* name, int characters) const;
    bool ReadByLayout(const char* text, LibDate& date) const;
    bool ReadName(const char* text, size_t& at, bool month, int& value) const;

    ElementFormat fWeekdayFormat = kFormatShort;
    ElementFormat fMonthFormat = kFormatShort;
    ElementFormat fDayFormat = kFormatShortest;
    ElementFormat fYearFormat = kFormatLong;
    bool fPad = false;
    LibString fFormat;
    LanguageType fLanguage = kEnglish;
};
