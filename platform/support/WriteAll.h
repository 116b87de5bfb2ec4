// Writing a whole buffer to a descriptor. A write may take fewer bytes than
// it was given, and a signal may interrupt it before it takes any; every
// writer that must put all its bytes down goes through here.
#pragma once

#include "SupportDefs.h"

#include <cstddef>
#include <sys/types.h>

// Writes the `size` bytes at `data` to `fd` at its position, again after an
// interruption. B_OK, or the error of the write that failed (B_IO_ERROR for
// one that took nothing), with errno as that write left it. `written`, when
// given, receives how many bytes went down, also on failure.
status_t write_all(int fd, const void* data, size_t size, size_t* written = nullptr);
// The same at `offset`, leaving the descriptor's position alone.
status_t write_all_at(
    int fd, off_t offset, const void* data, size_t size, size_t* written = nullptr);
