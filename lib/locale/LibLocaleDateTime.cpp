#include "LibLocaleDateTime.h"

#include "BMessage.h"

LibLocaleDateTime::LibLocaleDateTime()
    : fFieldSeparator(" ")
{ }

LibLocaleDateTime::~LibLocaleDateTime() { }

void LibLocaleDateTime::SetSeperator(const char* separator)
{
    fFieldSeparator = separator != nullptr ? separator : "";
}

LibString LibLocaleDateTime::Format(const LibDateTime& value) const
{
    LibString text = LibLocaleDate::Format(value);
    text.Concat(fFieldSeparator);
    text.Concat(LibLocaleTime::Format(value));
    return text;
}

status_t LibLocaleDateTime::Archive(BMessage& archive) const
{
    status_t status = LibLocaleDate::Archive(archive);
    if (status == B_OK)
        status = LibLocaleTime::Archive(archive);
    if (status == B_OK)
        status = archive.AddString("field_seperator", static_cast<const char*>(fFieldSeparator));
    return status;
}

status_t LibLocaleDateTime::Restore(const BMessage& archive)
{
    LibLocaleDate::Restore(archive);
    LibLocaleTime::Restore(archive);
    const char* separator;
    if (archive.FindString("field_seperator", &separator) == B_OK)
        fFieldSeparator = separator;
    return B_OK;
}
