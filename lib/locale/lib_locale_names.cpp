#include "lib_locale_names.h"

namespace {

const char* const kMonthNames[5][12] = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
        "October", "November", "December"},
    {"Janvier", "Février", "Mars", "Avril", "Mai", "Juin", "Juillet", "Août", "Septembre",
        "Octobre", "Novembre", "Décembre"},
    {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober",
        "November", "Dezember"},
    {"Enero", "Febrero", "Marcha", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
        "Octubre", "Noviembre", "Diciembre"},
    {"１月", "２月", "３月", "４月", "５月", "６月", "７月", "８月", "９月", "１０月", "１１月",
        "１２月"},
};
const char* const kWeekdayNames[5][7] = {
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
    {"Domingo", "Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado"},
    {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"},
};

const char* const kLanguageNames[5] = {"English", "French", "German", "Spanish", "Japanese"};

bool KnownLanguage(int language)
{
    return language >= 0 && language < kLocaleLanguageCount;
}

} // namespace

const char* lib_month_name(int language, int month)
{
    if (!KnownLanguage(language) || month < 1 || month > 12)
        return nullptr;
    return kMonthNames[language][month - 1];
}

const char* lib_weekday_name(int language, int weekday)
{
    if (!KnownLanguage(language) || weekday < 0 || weekday > 6)
        return nullptr;
    return kWeekdayNames[language][weekday];
}

const char* lib_language_name(int language)
{
    return KnownLanguage(language) ? kLanguageNames[language] : nullptr;
}
