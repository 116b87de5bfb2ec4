#include "LibBytes.h"

#include "LibString.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr unsigned long kKilo = 1024;
constexpr unsigned long kMega = 1024 * 1024;

} // namespace

void LibBytesToString(const unsigned long& bytes, LibString& text, int precision)
{
    precision = std::clamp(precision, 0, 20);
    double value = double(bytes);
    const char* unit = "bytes";
    if (bytes > kMega) {
        value /= double(kMega);
        unit = "MB";
    } else if (bytes > kKilo) {
        value /= double(kKilo);
        unit = "KB";
    }
    text.Formatted("%.*f %s", precision, value, unit);
}

unsigned long LibStringToBytes(const char* text)
{
    LibString number(text);
    LibString unit(text);
    int32 space = number.Index(' ');
    if (space < 0)
        unit = "";
    else {
        number.ToIndex(space - 1);
        unit.FromIndex(space + 1);
    }
    double value = 0;
    if (!number.GetFloat64(value) || !std::isfinite(value) || value < 0) {
        fprintf(stderr, "LibConvertBytes <%s> not a float\n", static_cast<const char*>(number));
        return 0;
    }
    double factor = 0;
    if (unit.Compare("KB") == 0)
        factor = double(kKilo);
    else if (unit.Compare("MB") == 0)
        factor = double(kMega);
    else if (unit.Compare("bytes") == 0)
        factor = 1;
    double bytes = value * factor;
    if (bytes >= double(std::numeric_limits<unsigned long>::max()))
        return std::numeric_limits<unsigned long>::max();
    return (unsigned long)bytes;
}
