// Whether the dynamic linker would find a shared library, looked up the way
// it looks: LIBRARY_PATH and LD_LIBRARY_PATH, the linker's cache, then its
// default folders; all inside STOW_ROOT when set. docs/system-info.md.
#pragma once

#include <string>
#include <vector>

// The first place that holds a library of that file name ("libz.so.1");
// false when none does.
bool find_shared_library(const char* name, std::string* path);

// The paths the linker cache (glibc's "glibc-ld.so.cache1.1" format) gives
// for a library name, in the cache's order. False when the bytes are not
// such a cache or are damaged.
bool ld_cache_paths(const std::string& cache, const char* name, std::vector<std::string>& paths);
