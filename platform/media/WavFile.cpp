#include "WavFile.h"

#include <algorithm>
#include <cerrno>

#include <cstring>
#include <fstream>

namespace {

uint32 Little32(const char* bytes)
{
    const auto* b = reinterpret_cast<const uint8*>(bytes);
    return uint32(b[0]) | uint32(b[1]) << 8 | uint32(b[2]) << 16 | uint32(b[3]) << 24;
}

uint16 Little16(const char* bytes)
{
    const auto* b = reinterpret_cast<const uint8*>(bytes);
    return uint16(b[0] | b[1] << 8);
}

constexpr uint16 kFormatPcm = 1;
constexpr uint16 kFormatExtensible = 0xfffe;
// The PCM sub-format of an extensible format chunk, after its two-byte code.
const char kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, char(0x80), 0x00, 0x00,
    char(0xaa), 0x00, 0x38, char(0x9b), 0x71};

} // namespace

bool WavFile::Read(const std::string& path, std::string& samples, media_raw_audio_format& format,
    std::string& error)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot read " + path + ": " + strerror(errno);
        return false;
    }
    const uint64 fileSize = uint64(in.tellg());
    in.seekg(0);
    char header[12];
    if (!in.read(header, 12) || memcmp(header, "RIFF", 4) != 0
        || memcmp(header + 8, "WAVE", 4) != 0) {
        error = path + " is not a WAV file (no RIFF WAVE header)";
        return false;
    }
    Chunk chunkFormat;
    bool haveFormat = false;
    uint64 dataOffset = 0, dataSize = 0;
    bool haveData = false;
    uint64 at = 12;
    std::string problem;
    while (at + 8 <= fileSize) {
        char chunkHeader[8];
        in.seekg(std::streamoff(at));
        if (!in.read(chunkHeader, 8))
            break;
        const uint64 size = Little32(chunkHeader + 4);
        const uint64 body = at + 8;
        if (body + size > fileSize) {
            error = path + ": the \"" + std::string(chunkHeader, 4)
                + "\" chunk runs past the end of the file";
            return false;
        }
        if (memcmp(chunkHeader, "fmt ", 4) == 0 && !haveFormat) {
            std::string chunk(size_t(std::min<uint64>(size, 64)), '\0');
            in.read(chunk.data(), std::streamsize(chunk.size()));
            if (!ReadFormat(chunk, chunkFormat, problem) || !CheckFormat(chunkFormat, problem)) {
                error = path + ": " + problem;
                return false;
            }
            haveFormat = true;
        } else if (memcmp(chunkHeader, "data", 4) == 0 && !haveData) {
            dataOffset = body;
            dataSize = size;
            haveData = true;
        }
        at = body + size + (size & 1); // chunks are padded to an even length
    }
    if (!haveFormat || !haveData) {
        error = path + ": a WAV file needs a \"fmt \" and a \"data\" chunk";
        return false;
    }
    if (dataSize == 0 || dataSize % chunkFormat.blockAlign != 0) {
        error = path + ": the data chunk holds " + std::to_string(dataSize)
            + " bytes, not a whole number of frames";
        return false;
    }
    if (dataSize > kMaxDataBytes) {
        error = path + ": the sound is " + std::to_string(dataSize) + " bytes; at most "
            + std::to_string(kMaxDataBytes) + " are taken";
        return false;
    }
    samples.assign(size_t(dataSize), '\0');
    in.seekg(std::streamoff(dataOffset));
    if (!in.read(samples.data(), std::streamsize(samples.size()))) {
        error = "cannot read " + path;
        return false;
    }
    format = media_raw_audio_format();
    format.frame_rate = float(chunkFormat.frameRate);
    format.channel_count = chunkFormat.channels;
    format.format = chunkFormat.bits == 8 ? B_AUDIO_UCHAR : B_AUDIO_SHORT;
    format.byte_order = B_MEDIA_LITTLE_ENDIAN;
    format.buffer_size = kBufferFrames * chunkFormat.blockAlign;
    return true;
}

bool WavFile::ReadFormat(const std::string& chunk, Chunk& format, std::string& problem)
{
    if (chunk.size() < 16) {
        problem = "the format chunk is too short";
        return false;
    }
    format.tag = Little16(chunk.data());
    format.channels = Little16(chunk.data() + 2);
    format.frameRate = Little32(chunk.data() + 4);
    format.blockAlign = Little16(chunk.data() + 12);
    format.bits = Little16(chunk.data() + 14);
    if (format.tag != kFormatExtensible)
        return true;
    // The extensible form names its encoding by a GUID and may use fewer
    // valid bits than its container; only plain PCM in full containers is
    // taken.
    if (chunk.size() < 40 || Little16(chunk.data() + 24) != kFormatPcm
        || memcmp(chunk.data() + 26, kPcmGuidTail, sizeof kPcmGuidTail) != 0
        || Little16(chunk.data() + 18) != format.bits) {
        problem = "only PCM samples are taken (the extensible format chunk names another)";
        return false;
    }
    format.tag = kFormatPcm;
    return true;
}

bool WavFile::CheckFormat(const Chunk& format, std::string& problem)
{
    if (format.tag != kFormatPcm) {
        problem = "only PCM samples are taken, not format " + std::to_string(format.tag)
            + " (compressed or floating-point sound)";
        return false;
    }
    if (format.bits != 8 && format.bits != 16) {
        problem = std::to_string(format.bits) + "-bit samples are not taken (8 or 16 bits are)";
        return false;
    }
    if (format.channels != 1 && format.channels != 2) {
        problem = std::to_string(format.channels) + " channels are not taken (mono or stereo are)";
        return false;
    }
    if (format.frameRate == 0 || format.frameRate > 384000) {
        problem = "the frame rate " + std::to_string(format.frameRate) + " is not taken";
        return false;
    }
    if (format.blockAlign != format.channels * format.bits / 8) {
        problem = "the frame size " + std::to_string(format.blockAlign)
            + " does not fit the channels and sample size";
        return false;
    }
    return true;
}
