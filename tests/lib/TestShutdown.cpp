// LibShutdown under a trial root: the root's own command or nothing, never
// the machine's.
#include "LibShutdown.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace stowtest;

TEST(LibShutdown, RunsOnlyTheTrialRootsCommand)
{
    TempDir root;
    ScopedEnv stowRoot("STOW_ROOT", root.Str());
    EXPECT_FALSE(LibShutdown(true)); // the root has none: nothing else is tried

    fs::path command = root / "usr/bin/shutdown";
    fs::path called = root / "called";
    fs::create_directories(command.parent_path());
    WriteFile(command, "#!/bin/sh\necho \"$@\" > '" + called.string() + "'\n");
    fs::permissions(command, fs::perms::owner_all);
    EXPECT_TRUE(LibShutdown(false));
    EXPECT_TRUE(WaitFor([&] { return ReadFile(called) == "-h now\n"; })) << ReadFile(called);
}
