#include "ProgramName.h"

#include <cerrno>
#include <sstream>

std::string program_name(const char* usual)
{
    const char* started = program_invocation_short_name;
    if (started == nullptr || *started == '\0')
        return usual;
    const std::string name = started;
    return name.find(' ') == std::string::npos ? name : "\"" + name + "\"";
}

std::string name_program(const std::string& text, const char* usual)
{
    const std::string name = program_name(usual);
    const std::string from = usual;
    const long shift = long(name.size()) - long(from.size());
    std::istringstream lines(text);
    std::string line, result;
    while (std::getline(lines, line)) {
        const size_t first = line.find_first_not_of(' ');
        const bool continuation = first != std::string::npos && first > 0 && line[first] == '[';
        if (continuation)
            line = shift >= 0 ? std::string(size_t(shift), ' ') + line
                              : line.substr(std::min(size_t(-shift), first));
        for (size_t at = line.find(from); at != std::string::npos;
             at = line.find(from, at + name.size()))
            line.replace(at, from.size(), name);
        result += line;
        if (!lines.eof())
            result += '\n';
    }
    return result;
}
