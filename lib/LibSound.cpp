#include "LibSound.h"

#include "BSound.h"
#include "BSoundPlayer.h"

#include <cstdlib>
#include <cstring>

LibSound::LibSound(const char* path, const char* name)
{
    fEntry.SetTo(path, true);
    if (fEntry.InitCheck() == B_OK && fEntry.Exists() && LoadSound(path))
        CreatePlayer(name);
}

LibSound::LibSound(const BMessage& archive, const char* name)
{
    if (LoadSound(archive))
        CreatePlayer(name);
}

LibSound::~LibSound()
{
    if (fPlayer != nullptr)
        fPlayer->Stop(true);
    delete fPlayer;
    ReleaseSound();
}

bool LibSound::LoadSound(const char* path)
{
    BEntry entry(path, true);
    if (entry.GetRef(&fRef) != B_OK)
        return false;
    entry.GetPath(&fPath);
    ReleaseSound();
    fSound = new BSound(&fRef, true);
    fFormat = fSound->Format();
    return fSound->InitCheck() == B_OK;
}

bool LibSound::LoadSound(const BMessage& archive)
{
    const void* data = nullptr;
    ssize_t size = 0;
    if (archive.FindData("data", B_ANY_TYPE, &data, &size) != B_OK || size <= 0)
        return false;
    media_raw_audio_format format;
    format.frame_rate = archive.FindFloat("frame_rate");
    format.channel_count = uint32(archive.FindInt32("channel_count"));
    format.format = uint32(archive.FindInt32("format"));
    format.byte_order = uint32(archive.FindInt32("byte_order"));
    format.buffer_size = size_t(uint32(archive.FindInt32("buffer_size")));
    void* buffer = malloc(size_t(size));
    if (buffer == nullptr)
        return false;
    memcpy(buffer, data, size_t(size));
    ReleaseSound();
    fSound = new BSound(buffer, size_t(size), format, true);
    fFormat = format;
    return fSound->InitCheck() == B_OK;
}

void LibSound::Archive(BMessage& archive)
{
    if (fSound == nullptr || fSound->InitCheck() != B_OK)
        return;
    archive.AddData("data", B_ANY_TYPE, fSound->Data(), ssize_t(fSound->Size()));
    archive.AddFloat("frame_rate", fFormat.frame_rate);
    archive.AddInt32("channel_count", int32(fFormat.channel_count));
    archive.AddInt32("format", int32(fFormat.format));
    archive.AddInt32("byte_order", int32(fFormat.byte_order));
    archive.AddInt32("buffer_size", int32(fFormat.buffer_size));
}

play_id LibSound::Play()
{
    if (!fLoaded)
        return 0;
    if (IsPlaying()) {
        if (!fAllowMultiple)
            return fPlayId;
        // Each play gets a sound object of its own where the file can be read
        // again; an archived sound is shared, which its reference count makes
        // safe.
        if (fPath.InitCheck() == B_OK && !LoadSound(fPath.Path()))
            return 0;
    } else {
        fPlayer->Stop(true);
        fPlayer->Start();
    }
    const play_id id = fPlayer->StartPlaying(fSound);
    fPlayId = id > 0 ? id : 0;
    return fPlayId;
}

bool LibSound::IsPlaying()
{
    return fLoaded && fPlayId > 0 && fPlayer->IsPlaying(fPlayId);
}

void LibSound::AllowMultiple(const bool& allow)
{
    fAllowMultiple = allow;
}

bool LibSound::IsProceeding()
{
    return fLoaded;
}

void LibSound::CreatePlayer(const char* name)
{
    fLoaded = true;
    fPlayer = new BSoundPlayer(&fFormat, name);
    fPlayer->SetVolume(1.0f);
}

void LibSound::ReleaseSound()
{
    if (fSound != nullptr)
        fSound->ReleaseRef();
    fSound = nullptr;
}
