#include "UserLogin.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

std::string login_name()
{
    char name[256];
    if (getlogin_r(name, sizeof name) == 0 && name[0] != '\0')
        return name;
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr
        && entry.pw_name != nullptr)
        return entry.pw_name;
    return {};
}
