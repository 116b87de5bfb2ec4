// The requirements check: every verdict and the alert that tells it, with a
// machine whose volume, memory, libraries and applications the test decides,
// and the installer's English texts.
#include "StringTableChecks.h"

#include "AlertService.h"
#include "InstallConfig.h"
#include "RequirementProbe.h"

#include <deque>
#include <set>

using namespace stowtest;

namespace {

class FakeMachine : public RequirementProbe {
public:
    bool DestinationVolume(const entry_ref&, LibString& name, int64& freeBytes) override
    {
        name = "Data";
        freeBytes = free;
        return true;
    }
    int32 MemoryMegabytes() override { return memory; }
    bool HasSharedLibrary(const char* name) override
    {
        asked.push_back(name);
        return libraries.count(name) > 0;
    }
    bool HasApplication(const char* signature) override
    {
        asked.push_back(signature);
        return applications.count(signature) > 0;
    }

    int64 free = 0;
    int32 memory = 128;
    std::set<std::string> libraries;
    std::set<std::string> applications;
    std::vector<std::string> asked;
};

// Answers alerts from a script of buttons (the default once it runs out)
// and keeps what they asked.
class Answers : public AlertPresenter {
public:
    AlertAnswer Ask(const AlertRequest& request) override
    {
        asked.push_back(request);
        int32 button = request.DefaultAnswer();
        if (!script.empty()) {
            button = script.front();
            script.pop_front();
        }
        return AlertAnswer {button, false};
    }
    void Show(const AlertRequest& request) override { asked.push_back(request); }

    std::deque<int32> script;
    std::vector<AlertRequest> asked;
};

class Requirements : public ::testing::Test {
protected:
    Requirements()
        : answers(std::make_shared<Answers>())
        , fOld(AlertService::Default().SetPresenter(answers))
    { }
    ~Requirements() override { AlertService::Default().SetPresenter(fOld); }

    void AddFile(const char* path, int32 size, bool selected)
    {
        BMessage instructions;
        config.FindMessage("install_instructions", &instructions);
        BMessage entry;
        if (path != nullptr)
            entry.AddString("file_name", path);
        entry.AddInt32("file_size", size);
        entry.AddInt32("file_size", 1); // the list row's value, never read
        entry.AddBool("install_to_system", selected);
        instructions.AddMessage("install_file", &entry);
        config.RemoveName("install_instructions");
        config.AddMessage("install_instructions", &instructions);
    }
    void NeedSpace(double bytes, bool required)
    {
        BMessage amount;
        amount.AddDouble("value", bytes);
        config.AddBool("req_disk_space_needed", true);
        config.AddBool("req_disk_space_required", required);
        config.AddMessage("req_disk_space_amount", &amount);
    }
    void NeedMemory(int32 megabytes, bool required)
    {
        config.AddBool("req_ram_needed", true);
        config.AddBool("req_ram_required", required);
        config.AddInt32("req_ram_amount", megabytes);
    }
    void NeedLibraries(std::vector<std::string> names, bool required)
    {
        BMessage libraries;
        libraries.AddBool("req_shared_librry_req", required);
        for (const std::string& name : names)
            libraries.AddString("req_shared_library_name", name.c_str());
        config.AddMessage("req_shared_library", &libraries);
    }
    void NeedApplications(std::vector<std::string> names, bool required)
    {
        BMessage applications;
        applications.AddBool("req_app_req", required);
        for (const std::string& name : names)
            applications.AddString("req_app_name", name.c_str());
        config.AddMessage("req_apps", &applications);
    }
    int32 Check() { return config.CheckSystemResources(machine); }
    const AlertRequest& Alert(size_t index = 0)
    {
        static AlertRequest none;
        EXPECT_GT(answers->asked.size(), index);
        return index < answers->asked.size() ? answers->asked[index] : none;
    }

    ProgramCopy program; // the installer's English texts
    std::shared_ptr<Answers> answers;
    InstallConfig config;
    FakeMachine machine;

private:
    std::shared_ptr<AlertPresenter> fOld;
};

} // namespace

TEST_F(Requirements, SelectedFilesMustFitTheVolume)
{
    // Nothing selected: even a full volume passes, and nothing else is asked.
    AddFile("/build/big.zip", 900000000, false);
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(answers->asked.empty());

    AddFile("/build/docs/a.txt", 1024, true);
    AddFile("/elsewhere/a.txt", 999999, true); // same leaf: the first entry's size
    AddFile(nullptr, 5000, true);              // no name: skipped
    machine.free = 2048;
    EXPECT_EQ(Check(), 1); // exactly the free space passes
    EXPECT_TRUE(answers->asked.empty());

    machine.free = 2047;
    EXPECT_EQ(Check(), 2);
    EXPECT_EQ(Alert().text,
        "Installation requires 2.0 KB of disk space, and the destination "
        "volume 'Data' only has 2.0 KB free.");
    EXPECT_EQ(Alert().type, B_STOP_ALERT);
    EXPECT_EQ(Alert().buttons, std::vector<std::string> {"OK"});
    EXPECT_EQ(config.GetFileSize("a.txt"), 1024);
    EXPECT_EQ(config.GetFileSize("none"), 0);
}

TEST_F(Requirements, ConfiguredSpaceIn64BitsRequiredOrSuggested)
{
    // 4.25 GiB needed: its low 32 bits (0.25 GiB) would fit 1 GiB free.
    machine.free = int64(1) << 30;
    NeedSpace(4.25 * (1 << 30), true);
    EXPECT_EQ(Check(), 2);
    EXPECT_EQ(Alert().text,
        "Installation requires 4352.0 MB of disk space, and the destination "
        "volume 'Data' only has 1024.0 MB free.");

    machine.free = int64(6) << 30; // 6 GiB free, shown whole
    EXPECT_EQ(Check(), 1);
    machine.free = (int64(17) << 28) - 1; // one byte short
    EXPECT_EQ(Check(), 2);
    EXPECT_NE(Alert(1).text.find("only has 4352.0 MB free"), std::string::npos);
}

TEST_F(Requirements, SuggestedSpaceOrMemoryEndsTheCheckAfterItsAlert)
{
    machine.free = 100;
    NeedSpace(1000, false);
    NeedMemory(100000, true);
    NeedLibraries({"libmissing.so"}, true);
    EXPECT_EQ(Check(), 1);
    ASSERT_EQ(answers->asked.size(), 1u);
    EXPECT_EQ(Alert().text,
        "Installation suggests 1000.0 bytes of disk space, and the "
        "destination volume 'Data' only has 100.0 bytes free.");
    EXPECT_TRUE(machine.asked.empty());

    config.MakeEmpty();
    NeedMemory(256, false);
    NeedLibraries({"libmissing.so"}, true);
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(Alert(1).text,
        "Installation suggests 256 MB of physical RAM, and only 128 MB is "
        "available. You may run the application at your own risk.");
    EXPECT_TRUE(machine.asked.empty());
}

TEST_F(Requirements, RequiredMemoryAbortsAndEqualMemoryPasses)
{
    NeedMemory(128, true);
    EXPECT_EQ(Check(), 1);
    config.ReplaceInt32("req_ram_amount", 129);
    EXPECT_EQ(Check(), 3);
    EXPECT_EQ(Alert().text,
        "Installation requires 129 MB of physical RAM, and only 128 MB is "
        "available. Installation can not continue.");
    EXPECT_EQ(Alert().type, B_STOP_ALERT);
}

TEST_F(Requirements, MissingLibrariesAskAbortOrContinue)
{
    machine.libraries = {"libthere.so"};
    NeedLibraries({"libthere.so", "libone.so", "libtwo.so"}, false);
    answers->script = {1, 1}; // Continue, Continue
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(machine.asked, (std::vector<std::string> {"libthere.so", "libone.so", "libtwo.so"}));
    ASSERT_EQ(answers->asked.size(), 2u);
    EXPECT_EQ(Alert().text,
        "The shared library 'libone.so' could not be found. The installation suggests that this "
        "library be present for the installed software to work properly.");
    EXPECT_EQ(Alert().buttons, (std::vector<std::string> {"Abort", "Continue"}));
    EXPECT_EQ(Alert().type, B_INFO_ALERT);
    EXPECT_EQ(Alert().title, "");
    EXPECT_EQ(Alert().purpose, kRequirementPurpose);
    EXPECT_EQ(Alert().defaultButton, 0);

    answers->script = {0}; // Abort at the first missing one
    machine.asked.clear();
    EXPECT_EQ(Check(), 3);
    EXPECT_EQ(machine.asked.size(), 2u);

    config.MakeEmpty();
    NeedLibraries({"libone.so", "libtwo.so"}, true);
    EXPECT_EQ(Check(), 3);
    EXPECT_EQ(answers->asked.back().buttons, std::vector<std::string> {"Abort"});
    EXPECT_NE(answers->asked.back().text.find("installation requires that"), std::string::npos);
}

TEST_F(Requirements, ApplicationsBySignatureAndLongNamesCut)
{
    machine.applications = {"application/x-vnd.Be-TRAK"};
    NeedApplications({"Tracker (application/x-vnd.Be-TRAK)", "No Parentheses"}, false);
    answers->script = {1};
    EXPECT_EQ(Check(), 1);
    EXPECT_EQ(machine.asked, (std::vector<std::string> {"application/x-vnd.Be-TRAK", ""}));
    EXPECT_EQ(Alert().text,
        "The application 'No Parentheses' could not be found. The installation suggests that "
        "this application be present for the installed software to work properly.");

    // A long name: the text keeps to 255 bytes and ends on a whole character.
    config.MakeEmpty();
    std::string name;
    for (int i = 0; i < 200; i++)
        name += "\xC3\xA9"; // é
    NeedApplications({name + " (x)"}, true);
    EXPECT_EQ(Check(), 3);
    const std::string& text = answers->asked.back().text;
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(text.rfind("The application '\xC3\xA9", 0), 0u);
    EXPECT_EQ(text.size() % 2, 1u); // 17 ASCII bytes, then whole two-byte characters
}

TEST_F(Requirements, UnattendedTakesAbort)
{
    AlertService::Default().SetMode(AlertMode::Unattended);
    NeedLibraries({"libmissing.so"}, false);
    int32 verdict = Check();
    AlertService::Default().SetMode(AlertMode::Interactive);
    EXPECT_EQ(verdict, 3);
    EXPECT_TRUE(answers->asked.empty());
}
