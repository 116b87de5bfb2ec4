// The system's name and version as os-release(5) gives it.
#pragma once

#include <string>

// PRETTY_NAME of /etc/os-release, else of /usr/lib/os-release; false when
// neither file has one.
bool get_os_pretty_name(std::string& name);

// PRETTY_NAME of an os-release text, unquoted; false when it has none.
bool os_release_pretty_name(const std::string& text, std::string& name);
