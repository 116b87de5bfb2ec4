// Where the running program's file is, and pointing that at another file.
#include "RunningExecutable.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(RunningExecutable, RealFileAndTestOverride)
{
    std::string path;
    ASSERT_EQ(get_running_executable_path(path), B_OK);
    EXPECT_EQ(path, std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));

    set_running_executable_path("/somewhere/else");
    std::string other;
    EXPECT_EQ(get_running_executable_path(other), B_OK);
    EXPECT_EQ(other, "/somewhere/else");
    set_running_executable_path(nullptr);
    EXPECT_EQ(get_running_executable_path(other), B_OK);
    EXPECT_EQ(other, path);
}
