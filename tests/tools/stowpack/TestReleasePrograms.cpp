// The programs as they are shipped: they run on C libraries as old as 2.34,
// and an installer that loses its resources to `strip` says so instead of
// passing for whole.
#include "BuildFixture.h"

#include <regex>
#include <set>

using namespace buildtest;

namespace {

// The GLIBC_x.y versions a program's dynamic symbols ask for.
std::set<std::pair<int, int>> GlibcVersions(const std::string& program)
{
    stowtest::RunResult symbols = stowtest::Run({"/usr/bin/objdump", "-T", program});
    EXPECT_EQ(symbols.exitCode, 0) << symbols.err;
    std::set<std::pair<int, int>> versions;
    const std::regex version("GLIBC_(\\d+)\\.(\\d+)");
    for (std::sregex_iterator it(symbols.out.begin(), symbols.out.end(), version), end; it != end;
         ++it)
        versions.insert({std::stoi((*it)[1]), std::stoi((*it)[2])});
    return versions;
}

} // namespace

TEST(ReleasePrograms, NeedNoCLibraryNewerThan234)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "sanitized builds link the C++ runtime as a shared library";
#endif
    for (const char* program : {"Stowfast", "Stowclear"}) {
        const auto versions = GlibcVersions(stowtest::BinPath(program));
        ASSERT_FALSE(versions.empty()) << program;
        const auto newest = *versions.rbegin();
        EXPECT_LE(newest, std::make_pair(2, 34))
            << program << " needs GLIBC_" << newest.first << "." << newest.second;
    }
}

TEST(ReleasePrograms, AStrippedInstallerFailsItsChecksLoudly)
{
    ProductFolder product;
    ASSERT_EQ(Stowpack({"build", stowtest::SourcePath("samples/demo/product.json"), "-o",
                           product.output, "--base", stowtest::BinPath("Stowfast"), "--deinstaller",
                           stowtest::BinPath("Stowclear")})
                  .exitCode,
        0);
    ASSERT_EQ(stowtest::Run({"/usr/bin/strip", product.output}).exitCode, 0);

    stowtest::RunResult verify = Stowpack({"verify", product.output});
    EXPECT_NE(verify.exitCode, 0);
    EXPECT_TRUE(Contains(verify.err, "stripped")) << verify.err;
    stowtest::RunResult check = stowtest::Run({product.output, "--check"});
    EXPECT_NE(check.exitCode, 0);
    EXPECT_FALSE(check.err.empty());

    // Nor can a stripped program be made into an installer.
    ASSERT_EQ(stowtest::Run({"/usr/bin/strip", product.base}).exitCode, 0);
    stowtest::RunResult build
        = Stowpack({"build", stowtest::SourcePath("samples/demo/product.json"), "-o",
            product.Path("again"), "--base", product.base, "--deinstaller", product.deinstaller});
    EXPECT_NE(build.exitCode, 0);
    EXPECT_TRUE(Contains(build.err, "was it stripped after it was built?")) << build.err;
}
