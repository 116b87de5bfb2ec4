#include "BEntry.h"
#include "BNode.h"
#include "BNodeInfo.h"
#include "BResources.h"
#include "LibBytes.h"
#include "LibDesktop.h"
#include "LibFileDates.h"
#include "LibMimeTypes.h"
#include "LibPaths.h"
#include "LibString.h"
#include "LibTeams.h"
#include "RunningExecutable.h"
#include "Sandbox.h"

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using stowtest::kOddName;
using stowtest::ReadFile;
using stowtest::Sandbox;
using stowtest::ScopedEnv;
using stowtest::WriteFile;
namespace fs = std::filesystem;

extern char** environ;

namespace {

std::string MimeOf(const fs::path& path, bool describe)
{
    entry_ref ref;
    char type[B_MIME_TYPE_LENGTH] = "stale";
    if (!LibGetEntryRef(path.c_str(), ref) || !LibGetMimeType(ref, type, describe))
        return "(none:" + std::string(type) + ")";
    return type;
}

std::string Bytes(unsigned long count, int precision)
{
    LibString text;
    LibBytesToString(count, text, precision);
    return static_cast<const char*>(text);
}

// A program standing in for the desktop: it writes the arguments it got
// into a file beside itself and ends with `status`.
fs::path FakeOpener(const fs::path& folder, const std::string& name, int status)
{
    fs::path script = folder / name;
    WriteFile(script,
        "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.got\"\nexit " + std::to_string(status) + "\n");
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

pid_t StartSleeper()
{
    pid_t child = -1;
    const char* argv[] = {"sleep", "60", nullptr};
    if (posix_spawnp(&child, "sleep", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    return child;
}

char StateOf(pid_t pid)
{
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : '?';
}

// Checks again and again; false when the state never came (a "did not
// hang" bound, not a timing check).
bool EventuallyHolds(const std::function<bool()>& condition)
{
    for (int round = 0; round < 2000; ++round) {
        if (condition())
            return true;
        usleep(10000);
    }
    return false;
}

} // namespace

TEST(LibMimeTypes, TypesAndTheirDescriptions)
{
    Sandbox box;
    fs::path work = box.Work();
    WriteFile(work / "notes.txt", "plain words\n");
    fs::create_directories(work / "folder");
    fs::create_symlink("notes.txt", work / "link");

    EXPECT_EQ(MimeOf(work / "notes.txt", true), "Unknown");
    EXPECT_EQ(MimeOf(work / "notes.txt", false), "text/plain");
    EXPECT_EQ(MimeOf(work / "folder", true), "Folder");
    EXPECT_EQ(MimeOf(work / "link", true), "Symbolic Link");
    EXPECT_EQ(MimeOf(fs::read_symlink("/proc/self/exe"), true), "Be Application");
    EXPECT_EQ(MimeOf(work / "missing", true), "(none:)");

    // A recorded type wins over what the content shows.
    ASSERT_TRUE(LibSetMimeType((work / "notes.txt").c_str(), "application/x-vnd.Be-elfexecutable"));
    EXPECT_EQ(MimeOf(work / "notes.txt", true), "Be Application");
    ASSERT_TRUE(LibSetMimeType((work / "notes.txt").c_str(), "text/x-sfast"));
    EXPECT_EQ(MimeOf(work / "notes.txt", false), "text/x-sfast");
    EXPECT_FALSE(LibSetMimeType((work / "missing").c_str(), "text/plain"));
}

TEST(LibMimeTypes, FileTypeNamesThePreferredApplication)
{
    Sandbox box;
    fs::path work = box.Work();
    WriteFile(work / "doc", "x");
    char app[B_MIME_TYPE_LENGTH] = "";

    ASSERT_TRUE(LibSetFileType((work / "doc").c_str(), "text/x-sfast", "application/x-vnd.Other"));
    BNode node((work / "doc").c_str());
    ASSERT_EQ(BNodeInfo(&node).GetPreferredApp(app), B_OK);
    EXPECT_STREQ(app, "application/x-vnd.Other");

    // Without a name, the running program's own signature.
    WriteFile(work / "program", std::string(64, '\x7f'));
    {
        BResources resources((work / "program").c_str());
        const char signature[] = "application/x-vnd.Tarnwick.Sfast";
        ASSERT_EQ(
            resources.AddResource(B_MIME_TYPE, 1, signature, sizeof signature, "BEOS:APP_SIG"),
            B_OK);
        ASSERT_EQ(resources.Sync(), B_OK);
    }
    set_running_executable_path((work / "program").c_str());
    bool named = LibSetFileType((work / "doc").c_str(), "text/x-sfast", nullptr);
    WriteFile(work / "unsigned", "");
    set_running_executable_path((work / "unsigned").c_str());
    bool unnamed = LibSetFileType((work / "doc").c_str(), "text/plain", nullptr);
    set_running_executable_path(nullptr);

    EXPECT_TRUE(named);
    ASSERT_EQ(BNodeInfo(&node).GetPreferredApp(app), B_OK);
    EXPECT_STREQ(app, "application/x-vnd.Tarnwick.Sfast");
    EXPECT_FALSE(unnamed) << "no signature to name";
    EXPECT_EQ(MimeOf(work / "doc", false), "text/plain");
}

TEST(LibFileDates, DatesComeFromTheirOwnTimeStamps)
{
    Sandbox box;
    fs::path file = box.Work() / "dated";
    WriteFile(file, "d");
    // Modified 2001-09-09 01:46:40 UTC, accessed 2004-11-09 11:33:20 UTC.
    struct timespec times[2] = {{1100000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);

    LibDateTime modified = LibLastModifiedDate(file.c_str(), false);
    EXPECT_EQ(modified.GetYear(), 2001);
    EXPECT_EQ(modified.GetMonth(), 9);
    EXPECT_EQ(modified.GetDay(), 9);
    EXPECT_EQ(modified.GetHours(), 1);
    EXPECT_EQ(modified.GetMinutes(), 46);
    EXPECT_EQ(modified.GetSeconds(), 40);
    LibDateTime accessed = LibAccessedDate(BEntry(file.c_str()), false);
    EXPECT_EQ(accessed.GetYear(), 2004);
    EXPECT_EQ(accessed.GetMonth(), 11);
    EXPECT_EQ(accessed.GetHours(), 11);

    // Local time is the same instant on the local clock.
    time_t when = 1000000000;
    struct tm local;
    localtime_r(&when, &local);
    LibDateTime localModified = LibLastModifiedDate(BEntry(file.c_str()), true);
    EXPECT_EQ(localModified.GetDay(), local.tm_mday);
    EXPECT_EQ(localModified.GetHours(), local.tm_hour);

    // A creation time lies between the file's making and now.
    LibDateTime created = LibCreationDate(file.c_str(), true);
    EXPECT_LE(created, LibDateTime(true));
    EXPECT_GE(created.GetYear(), 2024);
}

TEST(LibFileDates, EntriesThatCannotBeSetUp)
{
    Sandbox box;
    std::string missing = (box.Work() / "no/such" / kOddName).string();
    testing::internal::CaptureStderr();
    LibDateTime byPath = LibCreationDate(missing.c_str(), false);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "LibCreationDate: Unable to set entry <" + missing + ">\n");
    EXPECT_EQ(byPath.GetYear(), 1970);
    EXPECT_EQ(byPath.GetMonth(), 1);
    EXPECT_EQ(byPath.GetDay(), 1);

    testing::internal::CaptureStderr();
    LibDateTime byRef = LibCreationDate(entry_ref(), true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "LibCreationDate: Unable to set entry\n");
    EXPECT_TRUE(static_cast<const LibDate&>(byRef) == LibDate(true, true))
        << "the reference form starts from now";

    EXPECT_EQ(LibLastModifiedDate(missing.c_str(), true).GetYear(), 1970);
    EXPECT_EQ(LibAccessedDate(BEntry(), true).GetYear(), 1970);
}

TEST(LibDesktop, EntriesGoToTheDesktopAsOneArgument)
{
    Sandbox box;
    fs::path work = box.Work();
    WriteFile(work / kOddName, "open me");
    ScopedEnv opener("STOW_OPEN_COMMAND", FakeOpener(work, "opener", 0).string());
    ScopedEnv shower("STOW_INFO_COMMAND", FakeOpener(work, "shower", 0).string());

    ASSERT_TRUE(LibOpenEntry((work / kOddName).c_str()));
    EXPECT_EQ(ReadFile(work / "opener.got"), (work / kOddName).string());
    ASSERT_TRUE(LibInfoEntry((work / kOddName).c_str()));
    EXPECT_EQ(ReadFile(work / "shower.got"), (work / kOddName).string());

    // Nothing there: the desktop is not asked at all.
    fs::remove(work / "opener.got");
    EXPECT_FALSE(LibOpenEntry((work / "missing").c_str()));
    EXPECT_FALSE(LibInfoEntry(""));
    EXPECT_FALSE(fs::exists(work / "opener.got"));

    // Without a file manager to show properties, the entry's folder opens.
    if (access("/usr/bin/gdbus", X_OK) == 0) {
        ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (work / "no-bus").string());
        ScopedEnv noDisplay("DISPLAY", "");
        unsetenv("STOW_INFO_COMMAND");
        ASSERT_TRUE(LibInfoEntry((work / kOddName).c_str()));
        EXPECT_EQ(ReadFile(work / "opener.got"), work.string());
    }

    // A desktop that refuses, or an opener that is not there, is no success.
    ScopedEnv refusing("STOW_OPEN_COMMAND", FakeOpener(work, "refuser", 3).string());
    EXPECT_FALSE(LibOpenEntry((work / kOddName).c_str()));
    ScopedEnv absent("STOW_OPEN_COMMAND", (work / "no-such-opener").string());
    EXPECT_FALSE(LibOpenEntry((work / kOddName).c_str()));
}

TEST(LibBytes, CountsBecomeTextAndBack)
{
    EXPECT_EQ(Bytes(0, 0), "0 bytes");
    EXPECT_EQ(Bytes(1024, 0), "1024 bytes");
    EXPECT_EQ(Bytes(1025, 2), "1.00 KB");
    EXPECT_EQ(Bytes(1536, 1), "1.5 KB");
    EXPECT_EQ(Bytes(1048576, 1), "1024.0 KB");
    EXPECT_EQ(Bytes(3 * 1048576 / 2, 1), "1.5 MB");
    // Beyond 4 GiB nothing wraps.
    EXPECT_EQ(Bytes(5UL << 30, 0), "5120 MB");
    EXPECT_EQ(Bytes(1536, -3), "2 KB");
    EXPECT_EQ(Bytes(1536, 1000), "1.50000000000000000000 KB");

    EXPECT_EQ(LibStringToBytes("2 KB"), 2048UL);
    EXPECT_EQ(LibStringToBytes("1.5 MB"), 1572864UL);
    EXPECT_EQ(LibStringToBytes("512 bytes"), 512UL);
    EXPECT_EQ(LibStringToBytes("6000 MB"), 6000UL * 1048576);
    EXPECT_EQ(LibStringToBytes("2 GB"), 0UL);
    EXPECT_EQ(LibStringToBytes("2KB"), 0UL);
    EXPECT_EQ(LibStringToBytes(nullptr), 0UL);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LibStringToBytes("lots KB"), 0UL);
    EXPECT_EQ(LibStringToBytes("-2 KB"), 0UL);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "LibConvertBytes <lots> not a float\nLibConvertBytes <-2> not a float\n");

    for (unsigned long count : {0UL, 1000UL, 1024UL, 4096UL, 3UL << 20, 7UL << 32})
        EXPECT_EQ(LibStringToBytes(Bytes(count, 0).c_str()), count) << count;
}

TEST(LibTeams, SuspendAndResumeAnotherProgram)
{
    pid_t child = StartSleeper();
    ASSERT_GT(child, 0);
    EXPECT_EQ(lib_suspend_team(child), B_OK);
    EXPECT_TRUE(EventuallyHolds([&] { return StateOf(child) == 'T'; })) << StateOf(child);
    EXPECT_EQ(lib_suspend_team(child), B_OK) << "already stopped: nothing to do";
    EXPECT_EQ(lib_resume_team(child), B_OK);
    EXPECT_TRUE(EventuallyHolds([&] { return StateOf(child) != 'T'; })) << StateOf(child);
    EXPECT_GE(lib_team_cpu_time(child), 0.0);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    // Never the own program, and never a group or every process.
    EXPECT_EQ(lib_suspend_team(getpid()), B_NOT_ALLOWED);
    EXPECT_EQ(lib_suspend_team(0), B_BAD_VALUE);
    EXPECT_EQ(lib_suspend_team(-1), B_BAD_VALUE);
    EXPECT_EQ(lib_resume_team(-1), B_BAD_VALUE);
    EXPECT_EQ(lib_suspend_team(long(INT32_MAX) + 2), B_BAD_VALUE);
    EXPECT_NE(lib_resume_team(child), B_OK) << "the team has ended";
}

TEST(LibTeams, CpuTimeOfAllThreads)
{
    // Work until the clock shows a good share of a second of CPU time.
    volatile unsigned long sink = 0;
    clock_t start = clock();
    while (clock() - start < CLOCKS_PER_SEC / 2) {
        for (int i = 0; i < 1000000; ++i)
            sink = sink + 1;
    }
    double seconds = lib_team_cpu_time(getpid());
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 1e6);
    EXPECT_EQ(lib_team_cpu_time(0), 0.0);
    EXPECT_EQ(lib_team_cpu_time(-5), 0.0);
}
