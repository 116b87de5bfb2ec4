#include "InstallerWindowTrial.h"

#include "AlertService.h"
#include "RunningExecutable.h"
#include "TestApplication.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace fs = std::filesystem;

namespace stowtest {

InstallerWindowTrial::InstallerWindowTrial()
    : fApplication(MakeAppInbox())
{
    // The test's own display stays.
    for (const auto& [name, value] : TrialEnvironment(fTrial.Root())) {
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY")
            fEnvironment.push_back(std::make_unique<ScopedEnv>(name.c_str(), value));
    }
}

InstallerWindowTrial::~InstallerWindowTrial()
{
    // Whatever the window would still ask goes unanswered by anyone.
    AlertService::Default().SetMode(AlertMode::Unattended);
    if (fWindow != nullptr) {
        fWindow->QuitRunning();
        fWindow->Lock();
        fWindow->Quit();
    }
    set_running_executable_path(nullptr);
}

void InstallerWindowTrial::Build(const std::string& json, const std::vector<std::string>& payload)
{
    for (const std::string& name : payload)
        PutPayload(fTrial.Work() / "window/payload" / name, "contents of " + name + "\n", 0);
    fInstaller = fTrial.Build("window", json);
    // The window's title is the installer's name.
    fs::path named = fTrial.Work() / "Trial Installer";
    fs::copy_file(fInstaller, named);
    fInstaller = named.string();
    set_running_executable_path(fInstaller.c_str());
}

bool InstallerWindowTrial::Show()
{
    std::string problem;
    if (!TestApplication::Start(true, &problem)) {
        ADD_FAILURE() << problem;
        return false;
    }
    fWindow = new InstallerWin(BMessenger(fApplication.get()));
    EXPECT_TRUE(fWindow->LoadResources());
    fWindow->Show();
    // The pointer resting on a view counts only in the active window.
    fWindow->Activate();
    fDriver = std::make_unique<WindowDriver>(fWindow);
    fDriver->Settle();
    return true;
}

// Through the builder's own tools: the record out as JSON, the field
// changed, the record back in.
void InstallerWindowTrial::SetRecordInt32(const std::string& key, int32 value)
{
    fs::path record = fTrial.Work() / "record.bin";
    ASSERT_EQ(
        Run({BinPath("stowpack"), "extract", fInstaller, "CSTR", "2002", record.string()}).exitCode,
        0);
    RunResult decoded = Run({BinPath("stowpack"), "message", "decode", record.string()});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    std::regex field("(\"name\": \"" + key + "\", \"type\": \"LONG\", \"values\": \\[)-?[0-9]+");
    std::string json = std::regex_replace(decoded.out, field, "$01" + std::to_string(value));
    ASSERT_NE(json, decoded.out) << "no field " << key;
    WriteFile(fTrial.Work() / "record.json", json);
    RunResult encoded = Run({BinPath("stowpack"), "message", "encode",
        (fTrial.Work() / "record.json").string(), record.string()});
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
    RunResult added = Run({BinPath("stowpack"), "add", fInstaller, "CSTR", "2002",
        "STK:configuration", record.string()});
    ASSERT_EQ(added.exitCode, 0) << added.err;
}

std::vector<BMessage> InstallerWindowTrial::Tips()
{
    fApplication->Drain();
    std::vector<BMessage> tips;
    for (const BMessage& message : fApplication->received) {
        if (message.what == 'stip')
            tips.push_back(message);
    }
    fApplication->received.clear();
    return tips;
}

} // namespace stowtest
