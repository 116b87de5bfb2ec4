// The trial root: when the environment variable STOW_ROOT is set, every
// standard folder and the boot volume's root directory lie inside it, so that
// tests and trial runs never touch the real system.
#pragma once

#include <string>

// The root as a clean absolute path, or empty when STOW_ROOT is unset, empty
// or "/".
std::string stow_root();
// `path` (absolute) placed inside the trial root, or unchanged without one
// or when it already lies inside it.
std::string stow_rooted(const std::string& path);
