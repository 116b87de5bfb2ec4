#include "SampleMix.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

template<typename Value> Value Load(const char* at, bool bigEndian)
{
    Value value;
    memcpy(&value, at, sizeof value);
    if (bigEndian != (std::endian::native == std::endian::big)) {
        char bytes[sizeof value];
        memcpy(bytes, &value, sizeof value);
        std::reverse(bytes, bytes + sizeof value);
        memcpy(&value, bytes, sizeof value);
    }
    return value;
}

template<typename Value> void Store(char* at, Value value, bool bigEndian)
{
    char bytes[sizeof value];
    memcpy(bytes, &value, sizeof value);
    if (bigEndian != (std::endian::native == std::endian::big))
        std::reverse(bytes, bytes + sizeof value);
    memcpy(at, bytes, sizeof value);
}

} // namespace

float read_sample(const char* buffer, size_t index, const media_raw_audio_format& format)
{
    const bool big = format.byte_order == B_MEDIA_BIG_ENDIAN;
    const char* at = buffer + index * format.SampleSize();
    switch (format.format) {
    case B_AUDIO_UCHAR:
        return (float(uint8(*at)) - 128.0f) / 128.0f;
    case B_AUDIO_CHAR:
        return float(int8(*at)) / 128.0f;
    case B_AUDIO_SHORT:
        return float(Load<int16>(at, big)) / 32768.0f;
    case B_AUDIO_INT:
        return float(double(Load<int32>(at, big)) / 2147483648.0);
    case B_AUDIO_FLOAT: {
        const float value = Load<float>(at, big);
        return std::isfinite(value) ? value : 0.0f;
    }
    default:
        return 0.0f;
    }
}

void write_sample(char* buffer, size_t index, float value, const media_raw_audio_format& format)
{
    const bool big = format.byte_order == B_MEDIA_BIG_ENDIAN;
    const float clipped = std::clamp(value, -1.0f, 1.0f);
    char* at = buffer + index * format.SampleSize();
    switch (format.format) {
    case B_AUDIO_UCHAR:
        *at = char(uint8(std::lround(std::min(clipped * 128.0f + 128.0f, 255.0f))));
        break;
    case B_AUDIO_CHAR:
        *at = char(int8(std::lround(std::min(clipped * 128.0f, 127.0f))));
        break;
    case B_AUDIO_SHORT:
        Store(at, int16(std::lround(std::min(clipped * 32768.0f, 32767.0f))), big);
        break;
    case B_AUDIO_INT:
        Store(at, int32(std::llround(std::min(double(clipped) * 2147483648.0, 2147483647.0))), big);
        break;
    case B_AUDIO_FLOAT:
        Store(at, clipped, big);
        break;
    default:
        break;
    }
}
