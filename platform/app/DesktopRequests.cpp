#include "DesktopRequests.h"

#include "PathText.h"
#include "ProgramLauncher.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// How long a request waits to learn whether the desktop accepted it.
constexpr bigtime_t kRequestWait = 5000000;

std::string Override(const char* variable)
{
    const char* value = getenv(variable);
    return value != nullptr ? value : "";
}

status_t RunOpener(const std::string& path)
{
    std::string opener = Override("STOW_OPEN_COMMAND");
    return launch_program({opener.empty() ? "xdg-open" : opener, path}, kRequestWait);
}

} // namespace

std::string file_uri(const std::string& absolutePath)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char c : absolutePath) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (isalnum(byte) || strchr("-._~/", c) != nullptr) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

status_t open_with_desktop(const char* path)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    return RunOpener(path);
}

status_t show_entry_info(const char* path)
{
    if (path == nullptr || *path == '\0')
        return B_BAD_VALUE;
    std::string shower = Override("STOW_INFO_COMMAND");
    if (!shower.empty())
        return launch_program({shower, path}, kRequestWait);
    // The URI is percent-encoded, so it holds no quote that could end the
    // GVariant text around it.
    std::vector<std::string> call
        = {"gdbus", "call", "--session", "--dest", "org.freedesktop.FileManager1", "--object-path",
            "/org/freedesktop/FileManager1", "--method",
            "org.freedesktop.FileManager1.ShowItemProperties", "['" + file_uri(path) + "']", ""};
    if (launch_program(call, kRequestWait, ProgramOutput::Discard) == B_OK)
        return B_OK;
    return RunOpener(parent_path(path));
}
