// Asking the desktop to open an entry or to show information about it
// (platform/DesktopRequests.h says which programs do it, and how tests
// replace them).
#pragma once

// False when nothing exists at `path` or the desktop did not accept it.
bool LibOpenEntry(const char* path);
bool LibInfoEntry(const char* path);
