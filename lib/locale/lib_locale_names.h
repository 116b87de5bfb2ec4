// The month and weekday names of the five date languages (UTF-8).
#pragma once

// Languages in the order of LibLocaleDate::LanguageType.
constexpr int kLocaleLanguageCount = 5;

// Month 1-12 and weekday 0 (Sunday) to 6 of a language 0-4; null outside.
const char* lib_month_name(int language, int month);
const char* lib_weekday_name(int language, int weekday);
const char* lib_language_name(int language);
