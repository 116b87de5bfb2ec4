// One sound, from a WAV file or from the archive a builder embeds in an
// installer ("data", "frame_rate", "channel_count", "format", "byte_order",
// "buffer_size"), played through the default sound device. A sound that
// cannot be loaded or played stays silent and reports nothing.
#pragma once

#include "BEntry.h"
#include "BMessage.h"
#include "BPath.h"
#include "MediaDefs.h"
#include "entry_ref.h"

class BSound;
class BSoundPlayer;

class LibSound {
public:
    LibSound(const char* path, const char* name);
    LibSound(const BMessage& archive, const char* name);
    virtual ~LibSound();
    LibSound(const LibSound&) = delete;
    LibSound& operator=(const LibSound&) = delete;

    bool LoadSound(const char* path);
    bool LoadSound(const BMessage& archive);
    void Archive(BMessage& archive);

    play_id Play();
    bool IsPlaying();
    void AllowMultiple(const bool& allow);
    bool IsProceeding();

private:
    void CreatePlayer(const char* name);
    void ReleaseSound();

    BSoundPlayer* fPlayer = nullptr;
    play_id fPlayId = 0;
    BSound* fSound = nullptr;
    bool fLoaded = false;
    BEntry fEntry;
    entry_ref fRef;
    BPath fPath;
    media_raw_audio_format fFormat;
    bool fAllowMultiple = false;
};
