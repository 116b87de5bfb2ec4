// Damaged and hostile installers: each is refused with a clear error and
// exit status 5 before anything is written, in the trial root or elsewhere.
#include "InstallRunSupport.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace stowtest;

namespace {

constexpr char kProduct[] = R"({
  "app_name": "Hostile", "version": "1", "opt_compression": 0,
  "install_instructions": [{"file_name": "payload/item.txt"}],
  "groups": [{"group_name": "All"}],
  "opt_log": true, "opt_created_folder": "Hostile", "opt_default_folder": "User"
})";

constexpr char kMarker[] = "PAYLOAD-MARKER-0123456789";

struct Member {
    std::string name;
    std::string data;
    unsigned mode; // with the type bits
};

// A zip archive written directly with minizip, so that names and links can
// be whatever an attacker chooses.
void WriteZip(const fs::path& path, const std::vector<Member>& members)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const Member& member : members) {
        zip_fileinfo info = {};
        info.external_fa = uLong(member.mode) << 16;
        // Stored, and made on Unix (3) so that the mode bits count.
        ASSERT_EQ(
            zipOpenNewFileInZip4(zip, member.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                0, 0, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 3 << 8, 0),
            ZIP_OK);
        zipWriteInFileInZip(zip, member.data.data(), unsigned(member.data.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

class HostileTest : public testing::Test {
protected:
    void SetUp() override
    {
        PutPayload(trial.Work() / "hostile/payload/item.txt", kMarker, 1);
        installer = trial.Build("hostile", kProduct);
        before = trial.RootListing();
    }

    // Runs the installer and checks that it refused to install anything.
    void ExpectRefused(const std::string& why)
    {
        RunResult run = trial.Install(installer, {"--unattended", "--all"});
        EXPECT_EQ(run.exitCode, 5) << run.err;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
        EXPECT_EQ(trial.RootListing(), before);
        for (const auto& entry : fs::recursive_directory_iterator(trial.Work()))
            EXPECT_EQ(entry.path().filename().string().find("evil"), std::string::npos)
                << entry.path();
        RunResult check = trial.Install(installer, {"--check"});
        EXPECT_EQ(check.exitCode, 5) << check.out;
    }

    void PlantPayload(const std::vector<Member>& members)
    {
        fs::path archive = trial.Work() / "planted.zip";
        WriteZip(archive, members);
        RunResult add = stowtest::Run(
            {BinPath("stowpack"), "add", installer, "RAWT", "2100", "item.txt", archive.string()});
        ASSERT_EQ(add.exitCode, 0) << add.err;
    }

    InstallTrial trial;
    std::string installer;
    std::vector<std::string> before;
};

TEST_F(HostileTest, SoundInstallerPassesTheCheck)
{
    RunResult check = trial.Install(installer, {"--check"});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}

TEST_F(HostileTest, TruncatedInstaller)
{
    fs::resize_file(installer, fs::file_size(installer) - 100);
    ExpectRefused("The installer was improperly built.");
}

TEST_F(HostileTest, FlippedByteInAPayload)
{
    std::string bytes = ReadFile(installer);
    size_t at = bytes.find(kMarker);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] ^= 0x20;
    WriteFile(installer, bytes);
    ExpectRefused("payload 2100: it is damaged");
}

TEST_F(HostileTest, RecordThatDoesNotUnflatten)
{
    fs::path garbage = trial.Work() / "garbage";
    WriteFile(garbage, "1BOF this is no flattened message");
    RunResult add = stowtest::Run({BinPath("stowpack"), "add", installer, "CSTR", "2002",
        "STK:configuration", garbage.string()});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    ExpectRefused("Unable to read resource 2002");
}

TEST_F(HostileTest, RecordThatStillUnflattensButFailsItsChecksum)
{
    // A renamed key leaves a well-formed message: only the checksum tells.
    std::string bytes = ReadFile(installer);
    size_t at = bytes.rfind("opt_created_folder"); // the record, not the code
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'O';
    WriteFile(installer, bytes);
    ExpectRefused("Unable to read resource 2002");
}

TEST_F(HostileTest, ArchiveNamesThatClimbOut)
{
    PlantPayload({{"../evil.txt", "x", 0100644}});
    ExpectRefused("payload 2100: refused member");
}

TEST_F(HostileTest, ArchiveWithAnAbsoluteName)
{
    std::string target = (trial.Work() / "evil-absolute.txt").string();
    PlantPayload({{target, "x", 0100644}});
    ExpectRefused("payload 2100: refused member");
}

TEST_F(HostileTest, ArchiveWithALinkLeadingOut)
{
    PlantPayload({{"item.txt/", "", 040755}, {"item.txt/evil-link", "../../..", 0120777}});
    ExpectRefused("payload 2100: refused member \"item.txt/evil-link\"");
}

// A member whose data is damaged while the archive's directory and the
// resource's checksum are sound: only decompressing the member finds it.
TEST(DamagedMember, CheckFindsItAndTheRunSaysWhatWasPlaced)
{
    InstallTrial trial;
    PutPayload(trial.Work() / "damaged/payload/first.txt", "first item", 1);
    PutPayload(trial.Work() / "damaged/payload/second.txt", kMarker, 1);
    std::string installer = trial.Build("damaged", R"({
      "app_name": "Damaged", "version": "1", "opt_compression": 0,
      "install_instructions": [{"file_name": "payload/first.txt"},
        {"file_name": "payload/second.txt"}],
      "opt_log": true, "opt_created_folder": "Damaged", "opt_default_folder": "User"
    })");
    fs::path archive = trial.Work() / "second.zip";
    ASSERT_EQ(
        stowtest::Run({BinPath("stowpack"), "extract", installer, "RAWT", "2101", archive.string()})
            .exitCode,
        0);
    std::string bytes = ReadFile(archive);
    size_t at = bytes.find(kMarker, 30 + std::string("second.txt").size());
    ASSERT_NE(at, std::string::npos);
    bytes[at + 3] ^= 0x20;
    WriteFile(archive, bytes);
    // Added back, the archive gets a fresh resource checksum: only the
    // member's data is wrong.
    ASSERT_EQ(stowtest::Run({BinPath("stowpack"), "add", installer, "RAWT", "2101", "second.txt",
                                archive.string()})
                  .exitCode,
        0);

    const std::vector<std::string> before = trial.RootListing();
    RunResult check = trial.Install(installer, {"--check"});
    EXPECT_EQ(check.exitCode, 5) << check.out;
    EXPECT_NE(check.out.find("payload 2101: refused member \"second.txt\": its data fails the CRC "
                             "check"),
        std::string::npos)
        << check.out;
    EXPECT_EQ(check.out.find("payload 2100"), std::string::npos) << check.out;
    EXPECT_EQ(trial.RootListing(), before);

    RunResult run = trial.Install(installer, {"--unattended", "--all"});
    EXPECT_EQ(run.exitCode, 5) << run.err;
    EXPECT_NE(run.err.find("The installer was improperly built."), std::string::npos) << run.err;
    fs::path product = trial.Home() / "Damaged";
    EXPECT_EQ(ReadFile(product / "first.txt"), "first item");
    EXPECT_FALSE(fs::exists(product / "second.txt"));
    std::string log = ReadFile(product / "Log");
    EXPECT_NE(log.find("\t\tInstalling : first.txt\n\t\tInstalling : second.txt\n"
                       "\t\t\tNot placed: payload 2101: refused member"),
        std::string::npos)
        << log;
}

} // namespace
