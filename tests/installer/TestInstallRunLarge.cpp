// A 1 GiB item (zeros, so that the installer stays small): installing it
// keeps the installer's memory flat, and a stop in its middle ends the run
// promptly without a partial file anywhere.
//
// These tests write 1 GiB each; STOW_SKIP_LARGE_TESTS=1 (or ctest -E
// InstallRunLarge) skips them where that is too slow. Under AddressSanitizer
// the memory test skips itself: its shadow memory and quarantine say nothing
// about the installer's own use.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace fs = std::filesystem;
using namespace stowtest;

#if defined(__SANITIZE_ADDRESS__)
#define STOW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STOW_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

constexpr uint64_t kItemSize = uint64_t(1) << 30;
constexpr long kMemoryLimitKilobytes = 64 * 1024;

constexpr char kProduct[] = R"({
  "app_name": "Large", "version": "1", "opt_compression": 1,
  "install_instructions": [{"file_name": "payload/large.bin",
    "install_meta": {"destination": "User Settings"}}],
  "opt_log": true, "opt_created_folder": "Large", "opt_default_folder": "User"
})";

class InstallRunLarge : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (Skipped())
            return;
        sTrial = new InstallTrial;
        fs::path payload = sTrial->Work() / "large/payload/large.bin";
        fs::create_directories(payload.parent_path());
        WriteFile(payload, "");
        fs::resize_file(payload, kItemSize);
        sInstaller = new std::string(sTrial->Build("large", kProduct));
        fs::remove(payload);
    }

    static void TearDownTestSuite()
    {
        delete sInstaller;
        delete sTrial;
        sInstaller = nullptr;
        sTrial = nullptr;
    }

    void SetUp() override
    {
        if (Skipped())
            GTEST_SKIP() << "STOW_SKIP_LARGE_TESTS is set";
        fs::remove_all(sTrial->Root());
        fs::create_directories(sTrial->Home());
    }

    static bool Skipped()
    {
        const char* skip = getenv("STOW_SKIP_LARGE_TESTS");
        return skip != nullptr && *skip != '\0' && std::string(skip) != "0";
    }

    static ChildRun Install(const std::function<bool()>& stopWhen = {})
    {
        return RunChild({*sInstaller, "--unattended", "--all"}, TrialEnvironment(sTrial->Root()),
            sTrial->Work() / "run.log", stopWhen);
    }

    static fs::path Placed() { return sTrial->Home() / ".config/large.bin"; }
    static fs::path Product() { return sTrial->Home() / "Large"; }

    static InstallTrial* sTrial;
    static std::string* sInstaller;
};

InstallTrial* InstallRunLarge::sTrial = nullptr;
std::string* InstallRunLarge::sInstaller = nullptr;

TEST_F(InstallRunLarge, PeakMemoryStaysFlat)
{
#ifdef STOW_ADDRESS_SANITIZER
    GTEST_SKIP() << "an instrumented program's memory says nothing about the installer's";
#endif
    ChildRun run = Install();
    ASSERT_EQ(run.exitCode, 0) << ReadFile(sTrial->Work() / "run.log");
    EXPECT_EQ(fs::file_size(Placed()), kItemSize);
    EXPECT_LT(run.peakKilobytes, kMemoryLimitKilobytes);
    RecordProperty("peak_kilobytes", std::to_string(run.peakKilobytes));
    std::cout << "peak resident memory: " << run.peakKilobytes << " KiB\n";
}

TEST_F(InstallRunLarge, InterruptInTheMiddleLeavesNoPartialFile)
{
    // The item is being unpacked once its hidden staging folder beside the
    // product folder's entry holds a good part of it.
    auto unpacking = [] {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(Product(), error)) {
            if (entry.path().string().find("/.stow-") != std::string::npos
                && entry.is_regular_file(error) && entry.file_size(error) > (64u << 20))
                return true;
        }
        return false;
    };
    ChildRun run = Install(unpacking);
    EXPECT_EQ(run.exitCode, 130) << ReadFile(sTrial->Work() / "run.log");
    // A generous bound: the stop is honoured between chunks of 256 KiB.
    EXPECT_LT(run.secondsAfterSignal, 5.0);
    std::cout << "stopped " << run.secondsAfterSignal * 1000 << " ms after SIGINT\n";
    EXPECT_NE(
        ReadFile(sTrial->Work() / "run.log").find("Installation was stopped"), std::string::npos);
    EXPECT_FALSE(fs::exists(Placed()));
    for (const std::string& path : sTrial->RootListing()) {
        EXPECT_EQ(path.find("large.bin"), std::string::npos) << path;
        EXPECT_EQ(path.find(".stow-"), std::string::npos) << path;
    }
}

} // namespace
