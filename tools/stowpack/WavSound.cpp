#include "WavSound.h"

bool WavSound::Read(const std::string& path, BMessage& archive, std::string& error)
{
    std::string samples;
    media_raw_audio_format format;
    if (!WavFile::Read(path, samples, format, error))
        return false;
    archive = BMessage();
    archive.AddData("data", B_ANY_TYPE, samples.data(), ssize_t(samples.size()));
    archive.AddFloat("frame_rate", format.frame_rate);
    archive.AddInt32("channel_count", int32(format.channel_count));
    archive.AddInt32("format", int32(format.format));
    archive.AddInt32("byte_order", int32(format.byte_order));
    archive.AddInt32("buffer_size", int32(format.buffer_size));
    return true;
}
