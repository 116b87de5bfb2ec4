// Mixing of several sounds of one raw audio format into one buffer: samples
// are read as floats, summed with a volume, clipped and written back in the
// format.
#pragma once

#include "MediaDefs.h"

#include <cstddef>

// The sample at `index` of `buffer` as a float in -1..1.
float read_sample(const char* buffer, size_t index, const media_raw_audio_format& format);
// Writes `value` (clipped to -1..1) as sample `index` of `buffer`.
void write_sample(char* buffer, size_t index, float value, const media_raw_audio_format& format);
