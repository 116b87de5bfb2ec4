// The welcome sound: a PCM WAV file (8-bit unsigned or 16-bit signed
// samples, mono or stereo) read into the "audio_data" archive that the
// installer plays. Other encodings are refused.
#pragma once

#include "BMessage.h"

#include <string>

class WavSound {
public:
    // Sample format codes of the media kit's raw audio format.
    static constexpr int32 kAudioChar = 0x1;   // signed 8-bit
    static constexpr int32 kAudioShort = 0x2;  // signed 16-bit
    static constexpr int32 kAudioInt = 0x4;    // signed 32-bit
    static constexpr int32 kAudioUChar = 0x11; // unsigned 8-bit
    static constexpr int32 kAudioFloat = 0x24; // 32-bit float
    // Byte order codes.
    static constexpr int32 kBigEndian = 1;
    static constexpr int32 kLittleEndian = 2;
    // Frames per playback buffer: 8192 bytes for 16-bit stereo.
    static constexpr int32 kBufferFrames = 2048;
    // The samples ride in the record, which the installer reads whole.
    static constexpr uint32 kMaxDataBytes = 32 * 1024 * 1024;

    static bool Read(const std::string& path, BMessage& archive, std::string& error);

private:
    struct Format {
        uint16 tag = 0;
        uint16 channels = 0;
        uint32 frameRate = 0;
        uint16 blockAlign = 0;
        uint16 bits = 0;
    };

    static bool ReadFormat(const std::string& chunk, Format& format, std::string& problem);
    static bool CheckFormat(const Format& format, std::string& problem);
};
