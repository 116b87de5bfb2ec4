// The welcome sound: a PCM WAV file (8-bit unsigned or 16-bit signed
// samples, mono or stereo) read into the "audio_data" archive that the
// installer plays. Other encodings are refused.
#pragma once

#include "BMessage.h"
#include "MediaDefs.h"
#include "WavFile.h"

#include <string>

class WavSound {
public:
    // Sample format codes of the media kit's raw audio format.
    static constexpr int32 kAudioChar = B_AUDIO_CHAR;
    static constexpr int32 kAudioShort = B_AUDIO_SHORT;
    static constexpr int32 kAudioInt = B_AUDIO_INT;
    static constexpr int32 kAudioUChar = B_AUDIO_UCHAR;
    static constexpr int32 kAudioFloat = B_AUDIO_FLOAT;
    // Byte order codes.
    static constexpr int32 kBigEndian = B_MEDIA_BIG_ENDIAN;
    static constexpr int32 kLittleEndian = B_MEDIA_LITTLE_ENDIAN;
    static constexpr int32 kBufferFrames = WavFile::kBufferFrames;
    static constexpr uint32 kMaxDataBytes = WavFile::kMaxDataBytes;

    static bool Read(const std::string& path, BMessage& archive, std::string& error);
};
