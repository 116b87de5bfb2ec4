// Plays sounds of one raw audio format through the default sound device on
// a thread of its own; several plays sound at once, mixed. Without a sound
// library or device every play ends at once, silently.
#pragma once

#include "AlsaOutput.h"
#include "MediaDefs.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BSound;

class BSoundPlayer {
public:
    BSoundPlayer(const media_raw_audio_format* format, const char* name = nullptr);
    ~BSoundPlayer();
    BSoundPlayer(const BSoundPlayer&) = delete;
    BSoundPlayer& operator=(const BSoundPlayer&) = delete;

    // B_OK for a format that can be played.
    status_t InitCheck() const { return fStatus; }
    const media_raw_audio_format& Format() const { return fFormat; }

    status_t Start();
    // Ends every play at once and the player's thread, waiting for it.
    void Stop(bool block = true, bool flush = true);

    // Starts `sound` from its beginning and returns the play's id (> 0), or
    // an error for a sound of another format or a player that is not started.
    play_id StartPlaying(BSound* sound, bigtime_t atTime = 0);
    status_t StopPlaying(play_id id);
    // True until the play's last sample has sounded.
    bool IsPlaying(play_id id) const;

    float Volume() const;
    void SetVolume(float volume);

private:
    struct Play {
        play_id id;
        BSound* sound;
        size_t offset;
    };

    void Loop();
    // Mixes the next buffer of every play into fBuffer (called locked);
    // returns its frame count.
    size_t MixLocked();
    void EndPlaysLocked();

    const media_raw_audio_format fFormat;
    const std::string fName;
    status_t fStatus;
    size_t fBufferFrames;

    mutable std::mutex fLock;
    std::condition_variable fChanged;
    std::vector<Play> fPlays;       // samples still to write
    std::vector<play_id> fSounding; // written, sounding until the drain
    std::vector<char> fBuffer;
    float fVolume = 1.0f;
    play_id fNextId = 1;
    bool fQuit = false;
    std::thread fThread;
    AlsaOutput fOutput; // used by the player's thread only
};
