#include "OsRelease.h"

#include <fstream>
#include <sstream>

namespace {

// A value as the shell would read it: double quotes with \ before $ " \ `
// and a line's end, single quotes taken as they stand, or a bare word.
std::string Unquoted(const std::string& value)
{
    std::string out;
    char quote = 0;
    for (size_t i = 0; i < value.size(); i++) {
        char c = value[i];
        if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        } else if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == '"' && c == '\\' && i + 1 < value.size()
            && std::string("$\"\\`").find(value[i + 1]) != std::string::npos) {
            out += value[++i];
        } else if (quote == 0 && (c == ' ' || c == '\t' || c == '#')) {
            break;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

bool os_release_pretty_name(const std::string& text, std::string& name)
{
    std::istringstream lines(text);
    std::string line;
    bool found = false;
    while (std::getline(lines, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 12, "PRETTY_NAME=") != 0)
            continue;
        name = Unquoted(line.substr(start + 12));
        found = true; // the last assignment counts, as in the shell
    }
    return found;
}

bool get_os_pretty_name(std::string& name)
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream file(path);
        if (!file)
            continue;
        std::ostringstream text;
        text << file.rdbuf();
        return os_release_pretty_name(text.str(), name);
    }
    return false;
}
