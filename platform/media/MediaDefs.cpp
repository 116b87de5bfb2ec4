#include "MediaDefs.h"

bool media_raw_audio_format::IsValid() const
{
    const bool knownFormat = format == B_AUDIO_CHAR || format == B_AUDIO_SHORT
        || format == B_AUDIO_INT || format == B_AUDIO_UCHAR || format == B_AUDIO_FLOAT;
    const bool knownOrder = byte_order == B_MEDIA_BIG_ENDIAN || byte_order == B_MEDIA_LITTLE_ENDIAN;
    return knownFormat && knownOrder && channel_count >= 1 && channel_count <= 8 && frame_rate >= 1
        && frame_rate <= 384000;
}
