// Sampled sound out of ALSA's default device. The ALSA library is loaded at
// run time, so a machine without it (or without a sound device) runs the
// programs silently: Open fails and nothing is reported.
#pragma once

#include "MediaDefs.h"

#include <cstddef>

class AlsaOutput {
public:
    AlsaOutput() = default;
    ~AlsaOutput();
    AlsaOutput(const AlsaOutput&) = delete;
    AlsaOutput& operator=(const AlsaOutput&) = delete;

    // Opens the default playback device for `format`; false when there is
    // no library, no device or the device refuses the format.
    bool Open(const media_raw_audio_format& format);
    bool IsOpen() const { return fDevice != nullptr; }
    // Writes whole frames, recovering from underruns; false when the device
    // fails for good.
    bool Write(const void* frames, size_t frameCount);
    // Lets what was written finish sounding (Drain) or drops it (Drop), then
    // closes the device.
    void Drain();
    void Drop();

private:
    void Close(bool finishSounding);

    void* fDevice = nullptr;
    size_t fFrameSize = 0;
};
