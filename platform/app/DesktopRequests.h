// Hands entries to the desktop: opening one with the desktop's default
// application (xdg-open), and showing its information (the file manager's
// properties window, asked for over D-Bus with gdbus). The programs run with
// an argument vector, never through a shell.
//
// The environment variable STOW_OPEN_COMMAND, when set, names the program run
// instead of xdg-open, and STOW_INFO_COMMAND the one run instead of asking
// the file manager; each gets the entry's absolute path as its only
// argument. Tests set them so that the real desktop is never involved.
#pragma once

#include "SupportDefs.h"

#include <string>

// B_OK once the opener accepted the entry (or still runs after a few
// seconds, as some openers stay with the window they opened).
status_t open_with_desktop(const char* path);
// Without a file manager that shows properties, the folder holding the entry
// is opened instead.
status_t show_entry_info(const char* path);

// "file://" and the path with every byte other than letters, digits, "-",
// ".", "_", "~" and "/" percent-encoded.
std::string file_uri(const std::string& absolutePath);
