// A sampled sound in memory with its raw audio format, shared by reference
// count between its owner and the players that sound it.
#pragma once

#include "MediaDefs.h"
#include "entry_ref.h"

#include <atomic>
#include <string>

class BSound {
public:
    // Copies `size` bytes of samples; with `freeWhenDone` the sound also
    // takes over `data` (allocated with malloc) and frees it when it goes.
    BSound(
        void* data, size_t size, const media_raw_audio_format& format, bool freeWhenDone = false);
    // A WAV file, read into memory whole.
    explicit BSound(const entry_ref* soundFile, bool loadIntoMemory = true);

    status_t InitCheck() const { return fStatus; }
    const media_raw_audio_format& Format() const { return fFormat; }
    const char* Data() const { return fSamples.data(); }
    size_t Size() const { return fSamples.size(); }

    BSound* AcquireRef();
    // Drops a reference; the last one deletes the sound. True while the
    // sound still lives.
    bool ReleaseRef();
    int32 RefCount() const { return fRefCount.load(); }

private:
    ~BSound() = default;

    std::string fSamples;
    media_raw_audio_format fFormat;
    status_t fStatus = B_NO_INIT;
    std::atomic<int32> fRefCount {1};
};
