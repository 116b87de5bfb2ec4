#include "BSound.h"

#include "WavFile.h"

#include <cstdlib>

BSound::BSound(void* data, size_t size, const media_raw_audio_format& format, bool freeWhenDone)
    : fFormat(format)
{
    if (data != nullptr)
        fSamples.assign(static_cast<const char*>(data), size);
    if (freeWhenDone)
        free(data);
    const size_t frame = format.FrameSize();
    fStatus = data != nullptr && format.IsValid() && frame > 0 && size % frame == 0 ? B_OK
                                                                                    : B_BAD_VALUE;
}

BSound::BSound(const entry_ref* soundFile, bool)
{
    if (soundFile == nullptr || !soundFile->IsSet()) {
        fStatus = B_BAD_VALUE;
        return;
    }
    const std::string& folder = soundFile->directoryPath;
    const std::string path
        = (folder.empty() || folder.back() != '/' ? folder + "/" : folder) + soundFile->name;
    std::string error;
    fStatus = WavFile::Read(path, fSamples, fFormat, error) ? B_OK : B_BAD_DATA;
}

BSound* BSound::AcquireRef()
{
    fRefCount.fetch_add(1);
    return this;
}

bool BSound::ReleaseRef()
{
    if (fRefCount.fetch_sub(1) == 1) {
        delete this;
        return false;
    }
    return true;
}
