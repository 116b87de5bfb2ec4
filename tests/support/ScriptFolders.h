// A trial root for tests of the shell start-up file edits: the user folder
// and the user boot folder inside a temporary STOW_ROOT, created empty.
#pragma once

#include "BPath.h"
#include "FindDirectory.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace stowtest {

class ScriptFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        BPath path;
        ASSERT_EQ(find_directory(B_USER_DIRECTORY, &path), B_OK);
        user = path.Path();
        ASSERT_EQ(find_directory(B_USER_BOOT_DIRECTORY, &path), B_OK);
        boot = path.Path();
        ASSERT_EQ(user.string().rfind(root.Str(), 0), 0u) << user;
        ASSERT_EQ(boot.string().rfind(root.Str(), 0), 0u) << boot;
        std::filesystem::create_directories(user);
        std::filesystem::create_directories(boot);
    }

    TempDir root;
    ScopedEnv stowRoot {"STOW_ROOT", root.Str()};
    ScopedEnv home {"HOME", "/home/tester"};
    ScopedEnv config {"XDG_CONFIG_HOME", "/home/tester/.config"};
    std::filesystem::path user;
    std::filesystem::path boot;
};

} // namespace stowtest
