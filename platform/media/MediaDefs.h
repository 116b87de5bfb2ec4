// The raw audio format of the media kit: how sampled sound is laid out in a
// buffer, with the kit's format and byte order codes.
#pragma once

#include "SupportDefs.h"

typedef int32 play_id;

enum : uint32 {
    B_AUDIO_CHAR = 0x1,   // signed 8-bit
    B_AUDIO_SHORT = 0x2,  // signed 16-bit
    B_AUDIO_INT = 0x4,    // signed 32-bit
    B_AUDIO_UCHAR = 0x11, // unsigned 8-bit
    B_AUDIO_FLOAT = 0x24, // 32-bit float
};

enum : uint32 {
    B_MEDIA_BIG_ENDIAN = 1,
    B_MEDIA_LITTLE_ENDIAN = 2,
};

struct media_raw_audio_format {
    float frame_rate = 0;
    uint32 channel_count = 0;
    uint32 format = 0;
    uint32 byte_order = 0;
    size_t buffer_size = 0;

    // Bytes of one sample of one channel; 0 for an unknown format code.
    size_t SampleSize() const { return format & 0xf; }
    size_t FrameSize() const { return SampleSize() * channel_count; }
    // A format that can be played: a known sample format and byte order,
    // 1 to 8 channels, a frame rate between 1 and 384000.
    bool IsValid() const;
};
