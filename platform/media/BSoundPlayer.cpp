#include "BSoundPlayer.h"

#include "BSound.h"
#include "SampleMix.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kDefaultBufferFrames = 2048;

} // namespace

BSoundPlayer::BSoundPlayer(const media_raw_audio_format* format, const char* name)
    : fFormat(format != nullptr ? *format : media_raw_audio_format())
    , fName(name != nullptr ? name : "")
    , fStatus(fFormat.IsValid() ? B_OK : B_BAD_VALUE)
{
    const size_t frame = fFormat.FrameSize();
    fBufferFrames = frame > 0 && fFormat.buffer_size >= frame ? fFormat.buffer_size / frame
                                                              : kDefaultBufferFrames;
}

BSoundPlayer::~BSoundPlayer()
{
    Stop();
}

status_t BSoundPlayer::Start()
{
    if (fStatus != B_OK)
        return fStatus;
    std::lock_guard<std::mutex> lock(fLock);
    if (fThread.joinable())
        return B_OK;
    fQuit = false;
    fThread = std::thread(&BSoundPlayer::Loop, this);
    return B_OK;
}

void BSoundPlayer::Stop(bool, bool)
{
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(fLock);
        if (!fThread.joinable())
            return;
        fQuit = true;
        EndPlaysLocked();
        thread = std::move(fThread);
    }
    fChanged.notify_all();
    thread.join();
    std::lock_guard<std::mutex> lock(fLock);
    EndPlaysLocked();
}

play_id BSoundPlayer::StartPlaying(BSound* sound, bigtime_t)
{
    if (sound == nullptr || sound->InitCheck() != B_OK)
        return B_BAD_VALUE;
    const media_raw_audio_format& format = sound->Format();
    if (format.format != fFormat.format || format.byte_order != fFormat.byte_order
        || format.channel_count != fFormat.channel_count)
        return B_BAD_VALUE;
    std::lock_guard<std::mutex> lock(fLock);
    if (!fThread.joinable() || fQuit)
        return B_NO_INIT;
    const play_id id = fNextId++;
    fPlays.push_back(Play {id, sound->AcquireRef(), 0});
    fChanged.notify_all();
    return id;
}

status_t BSoundPlayer::StopPlaying(play_id id)
{
    std::lock_guard<std::mutex> lock(fLock);
    auto play
        = std::find_if(fPlays.begin(), fPlays.end(), [id](const Play& p) { return p.id == id; });
    if (play == fPlays.end())
        return B_BAD_VALUE;
    play->sound->ReleaseRef();
    fPlays.erase(play);
    return B_OK;
}

bool BSoundPlayer::IsPlaying(play_id id) const
{
    std::lock_guard<std::mutex> lock(fLock);
    return std::any_of(fPlays.begin(), fPlays.end(), [id](const Play& p) { return p.id == id; })
        || std::find(fSounding.begin(), fSounding.end(), id) != fSounding.end();
}

float BSoundPlayer::Volume() const
{
    std::lock_guard<std::mutex> lock(fLock);
    return fVolume;
}

void BSoundPlayer::SetVolume(float volume)
{
    std::lock_guard<std::mutex> lock(fLock);
    fVolume = std::max(volume, 0.0f);
}

void BSoundPlayer::Loop()
{
    std::unique_lock<std::mutex> lock(fLock);
    for (;;) {
        fChanged.wait(lock, [this] { return fQuit || !fPlays.empty(); });
        if (fQuit)
            break;
        const size_t frames = MixLocked();
        std::vector<char> buffer(
            fBuffer.begin(), fBuffer.begin() + ptrdiff_t(frames * fFormat.FrameSize()));
        const bool last = fPlays.empty();
        lock.unlock();
        bool sounding = fOutput.IsOpen() || fOutput.Open(fFormat);
        if (sounding)
            sounding = fOutput.Write(buffer.data(), frames);
        if (!sounding || last)
            sounding ? fOutput.Drain() : fOutput.Drop();
        lock.lock();
        if (!sounding)
            EndPlaysLocked();
        else if (last)
            fSounding.clear();
    }
    lock.unlock();
    fOutput.Drop();
}

size_t BSoundPlayer::MixLocked()
{
    const size_t frameSize = fFormat.FrameSize();
    size_t frames = 0;
    for (const Play& play : fPlays)
        frames = std::max(
            frames, std::min(fBufferFrames, (play.sound->Size() - play.offset) / frameSize));
    fBuffer.assign(frames * frameSize, 0);
    const size_t samples = frames * fFormat.channel_count;
    if (fPlays.size() == 1 && fVolume == 1.0f) {
        // One sound at full volume goes out exactly as it is.
        const Play& play = fPlays.front();
        memcpy(fBuffer.data(), play.sound->Data() + play.offset, frames * frameSize);
    } else {
        std::vector<float> mix(samples, 0.0f);
        for (const Play& play : fPlays) {
            const size_t available = (play.sound->Size() - play.offset) / fFormat.SampleSize();
            for (size_t i = 0; i < std::min(samples, available); ++i)
                mix[i] += read_sample(play.sound->Data() + play.offset, i, fFormat) * fVolume;
        }
        for (size_t i = 0; i < samples; ++i)
            write_sample(fBuffer.data(), i, mix[i], fFormat);
    }
    for (auto play = fPlays.begin(); play != fPlays.end();) {
        play->offset = std::min(play->sound->Size(), play->offset + frames * frameSize);
        if (play->offset + frameSize > play->sound->Size()) {
            fSounding.push_back(play->id);
            play->sound->ReleaseRef();
            play = fPlays.erase(play);
        } else {
            ++play;
        }
    }
    return frames;
}

void BSoundPlayer::EndPlaysLocked()
{
    for (Play& play : fPlays)
        play.sound->ReleaseRef();
    fPlays.clear();
    fSounding.clear();
}
