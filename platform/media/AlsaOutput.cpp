#include "AlsaOutput.h"

#include "AlsaLibrary.h"

namespace {

// The ALSA sample format for a raw audio format, or SND_PCM_FORMAT_UNKNOWN.
snd_pcm_format_t AlsaFormat(const media_raw_audio_format& format)
{
    const bool big = format.byte_order == B_MEDIA_BIG_ENDIAN;
    switch (format.format) {
    case B_AUDIO_CHAR:
        return SND_PCM_FORMAT_S8;
    case B_AUDIO_UCHAR:
        return SND_PCM_FORMAT_U8;
    case B_AUDIO_SHORT:
        return big ? SND_PCM_FORMAT_S16_BE : SND_PCM_FORMAT_S16_LE;
    case B_AUDIO_INT:
        return big ? SND_PCM_FORMAT_S32_BE : SND_PCM_FORMAT_S32_LE;
    case B_AUDIO_FLOAT:
        return big ? SND_PCM_FORMAT_FLOAT_BE : SND_PCM_FORMAT_FLOAT_LE;
    default:
        return SND_PCM_FORMAT_UNKNOWN;
    }
}

// A short device buffer, so that a play ends (and a stop takes effect)
// close to when the sound does.
constexpr unsigned kLatencyMicroseconds = 100000;

snd_pcm_t* Device(void* device)
{
    return static_cast<snd_pcm_t*>(device);
}

} // namespace

AlsaOutput::~AlsaOutput()
{
    Drop();
}

bool AlsaOutput::Open(const media_raw_audio_format& format)
{
    Drop();
    const AlsaLibrary* alsa = AlsaLibrary::Get();
    const snd_pcm_format_t sampleFormat = AlsaFormat(format);
    if (alsa == nullptr || sampleFormat == SND_PCM_FORMAT_UNKNOWN || !format.IsValid())
        return false;
    snd_pcm_t* device = nullptr;
    if (alsa->pcm_open(&device, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        return false;
    if (alsa->pcm_set_params(device, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
            format.channel_count, unsigned(format.frame_rate), 1, kLatencyMicroseconds)
        < 0) {
        alsa->pcm_close(device);
        return false;
    }
    fDevice = device;
    fFrameSize = format.FrameSize();
    return true;
}

bool AlsaOutput::Write(const void* frames, size_t frameCount)
{
    const AlsaLibrary* alsa = AlsaLibrary::Get();
    if (fDevice == nullptr || alsa == nullptr)
        return false;
    const auto* bytes = static_cast<const char*>(frames);
    while (frameCount > 0) {
        snd_pcm_sframes_t written = alsa->pcm_writei(Device(fDevice), bytes, frameCount);
        if (written < 0) {
            // An underrun or a suspended device is recovered from; anything
            // else ends the sound.
            if (alsa->pcm_recover(Device(fDevice), int(written), 1) < 0)
                return false;
            continue;
        }
        bytes += size_t(written) * fFrameSize;
        frameCount -= size_t(written);
    }
    return true;
}

void AlsaOutput::Drain()
{
    Close(true);
}

void AlsaOutput::Drop()
{
    Close(false);
}

void AlsaOutput::Close(bool finishSounding)
{
    const AlsaLibrary* alsa = AlsaLibrary::Get();
    if (fDevice == nullptr || alsa == nullptr)
        return;
    if (finishSounding)
        alsa->pcm_drain(Device(fDevice));
    else
        alsa->pcm_drop(Device(fDevice));
    alsa->pcm_close(Device(fDevice));
    fDevice = nullptr;
}
