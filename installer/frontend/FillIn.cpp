#include "FillIn.h"

std::string fill_in(const std::string& format, const std::vector<std::string>& values)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        size_t end = i + 1;
        if (format[end] == 'l')
            ++end;
        bool conversion = end < format.size() && (format[end] == 's' || format[end] == 'd');
        if (!conversion || next == values.size()) {
            out += format[i];
            continue;
        }
        out += values[next++];
        i = end;
    }
    return out;
}
