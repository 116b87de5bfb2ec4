// Sound reaches the default device exactly as archived, through an ALSA
// configuration whose default device writes its samples to a file; without
// a device or without the ALSA library, playing does nothing and says
// nothing.
#include "TestSupport.h"

#include "LibSound.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using stowtest::ReadFile;
using stowtest::ScopedEnv;
using stowtest::TempDir;
using stowtest::WaitFor;
using stowtest::WriteFile;

// A short 16-bit stereo ramp, each sample distinct.
BMessage Archive(std::string& samples)
{
    for (int frame = 0; frame < 4410; ++frame) {
        for (int channel = 0; channel < 2; ++channel) {
            const int16 value = int16((frame * 7 + channel * 3001) % 60000 - 30000);
            samples.append(reinterpret_cast<const char*>(&value), sizeof value);
        }
    }
    BMessage archive;
    archive.AddData("data", B_ANY_TYPE, samples.data(), ssize_t(samples.size()));
    archive.AddFloat("frame_rate", 44100.0f);
    archive.AddInt32("channel_count", 2);
    archive.AddInt32("format", B_AUDIO_SHORT);
    archive.AddInt32("byte_order", B_MEDIA_LITTLE_ENDIAN);
    archive.AddInt32("buffer_size", 8192);
    return archive;
}

// The default device writes what it is given to `output`.
std::string FileDeviceConfig(const TempDir& dir, const std::string& output)
{
    const auto path = dir / "asound.conf";
    WriteFile(path,
        "pcm.!default {\n  type file\n  slave { pcm { type null } }\n  file \"" + output
            + "\"\n  format \"raw\"\n}\n");
    return path.string();
}

} // namespace

TEST(Sound, TheArchivedSamplesReachTheDeviceOncePerPlay)
{
    TempDir dir;
    const std::string output = (dir / "played.raw").string();
    ScopedEnv config("ALSA_CONFIG_PATH", FileDeviceConfig(dir, output));
    std::string samples;
    bool playedTwice = false;
    {
        LibSound sound(Archive(samples), "AudioFile");
        ASSERT_TRUE(sound.IsProceeding());
        const play_id first = sound.Play();
        ASSERT_GT(first, 0);
        // A second play while the first sounds starts nothing new; this file
        // device takes samples as fast as they come, so the first play may
        // already be over, and then the second follows it.
        const play_id second = sound.Play();
        ASSERT_GT(second, 0);
        playedTwice = second != first;
        ASSERT_TRUE(WaitFor([&] { return !sound.IsPlaying(); }));

        BMessage again;
        sound.Archive(again);
        const void* data = nullptr;
        ssize_t size = 0;
        ASSERT_EQ(again.FindData("data", B_ANY_TYPE, &data, &size), B_OK);
        EXPECT_EQ(std::string(static_cast<const char*>(data), size_t(size)), samples);
        EXPECT_EQ(again.FindFloat("frame_rate"), 44100.0f);
        EXPECT_EQ(again.FindInt32("buffer_size"), 8192);
    }
    // The file device starts its file afresh each time it is opened, so a
    // second play after the first ended leaves its own samples, unmixed.
    EXPECT_TRUE(ReadFile(output) == samples) << "played twice: " << playedTwice;
}

TEST(Sound, SilentWithoutADevice)
{
    TempDir dir;
    const auto config = dir / "asound.conf";
    WriteFile(config, "pcm.!default { type hw card 97 }\n");
    ScopedEnv alsa("ALSA_CONFIG_PATH", config.string());
    std::string samples;
    BMessage archive = Archive(samples);

    testing::internal::CaptureStderr();
    {
        LibSound sound(archive, "AudioFile");
        EXPECT_TRUE(sound.IsProceeding());
        sound.Play();
        EXPECT_TRUE(WaitFor([&] { return !sound.IsPlaying(); }));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Sound, SilentWithoutTheLibrary)
{
    // A child cannot unload what its parent loaded, so this holds only in a
    // process that has not played yet (ctest runs each test in its own).
    if (dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD) != nullptr)
        GTEST_SKIP() << "the ALSA library is already loaded in this process";
    std::string samples;
    const BMessage archive = Archive(samples);
    // The library hidden in a private mount namespace of a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char* library = "/usr/lib/x86_64-linux-gnu/libasound.so.2";
        if (unshare(CLONE_NEWNS) != 0
            || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount("/dev/null", library, nullptr, MS_BIND, nullptr) != 0)
            _exit(77);
        LibSound sound(archive, "AudioFile");
        sound.Play();
        _exit(sound.IsProceeding() && WaitFor([&] { return !sound.IsPlaying(); }) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no private mount namespace here to hide the ALSA library";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Sound, NothingLoadedFromAMissingOrDamagedSource)
{
    TempDir dir;
    WriteFile(dir / "noise.wav", "RIFF....WAVEjunk");
    LibSound missing((dir / "absent.wav").c_str(), "AudioFile");
    LibSound damaged((dir / "noise.wav").c_str(), "AudioFile");
    BMessage empty;
    LibSound none(empty, "AudioFile");
    for (LibSound* sound : {&missing, &damaged, &none}) {
        EXPECT_FALSE(sound->IsProceeding());
        EXPECT_EQ(sound->Play(), 0);
        EXPECT_FALSE(sound->IsPlaying());
    }
}
