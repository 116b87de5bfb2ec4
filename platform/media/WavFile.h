// A RIFF WAVE file of PCM samples (8-bit unsigned or 16-bit signed, mono or
// stereo), read whole. Other encodings are refused with the reason.
#pragma once

#include "MediaDefs.h"

#include <string>

class WavFile {
public:
    // Frames per playback buffer: 8192 bytes for 16-bit stereo.
    static constexpr int32 kBufferFrames = 2048;
    // A sound is held in memory whole (and rides in an installer's record).
    static constexpr uint32 kMaxDataBytes = 32 * 1024 * 1024;

    static bool Read(const std::string& path, std::string& samples, media_raw_audio_format& format,
        std::string& error);

private:
    struct Chunk {
        uint16 tag = 0;
        uint16 channels = 0;
        uint32 frameRate = 0;
        uint16 blockAlign = 0;
        uint16 bits = 0;
    };

    static bool ReadFormat(const std::string& chunk, Chunk& format, std::string& problem);
    static bool CheckFormat(const Chunk& format, std::string& problem);
};
