// The few functions of libasound.so.2 the sound player needs, looked up
// once with dlopen. No library means no sound, never an error.
#pragma once

#include <alsa/asoundlib.h>

struct AlsaLibrary {
    decltype(&snd_pcm_open) pcm_open = nullptr;
    decltype(&snd_pcm_set_params) pcm_set_params = nullptr;
    decltype(&snd_pcm_writei) pcm_writei = nullptr;
    decltype(&snd_pcm_recover) pcm_recover = nullptr;
    decltype(&snd_pcm_drain) pcm_drain = nullptr;
    decltype(&snd_pcm_drop) pcm_drop = nullptr;
    decltype(&snd_pcm_close) pcm_close = nullptr;

    // The process's library, or null when it cannot be loaded.
    static const AlsaLibrary* Get();
};
