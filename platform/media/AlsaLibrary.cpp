#include "AlsaLibrary.h"

#include <dlfcn.h>

namespace {

// ALSA reports every failure on standard error through this handler; a
// missing sound device is not the user's concern here, so it stays quiet.
void Silent(const char*, int, const char*, int, const char*, ...) { }

template<typename Function> bool Find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

AlsaLibrary* Load()
{
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static AlsaLibrary alsa;
    decltype(&snd_lib_error_set_handler) setHandler = nullptr;
    const bool complete = Find(library, "snd_pcm_open", alsa.pcm_open)
        && Find(library, "snd_pcm_set_params", alsa.pcm_set_params)
        && Find(library, "snd_pcm_writei", alsa.pcm_writei)
        && Find(library, "snd_pcm_recover", alsa.pcm_recover)
        && Find(library, "snd_pcm_drain", alsa.pcm_drain)
        && Find(library, "snd_pcm_drop", alsa.pcm_drop)
        && Find(library, "snd_pcm_close", alsa.pcm_close)
        && Find(library, "snd_lib_error_set_handler", setHandler);
    if (!complete) {
        dlclose(library);
        return nullptr;
    }
    setHandler(Silent);
    return &alsa;
}

} // namespace

const AlsaLibrary* AlsaLibrary::Get()
{
    static const AlsaLibrary* library = Load();
    return library;
}
