// The installer's window on the test display, over an installer built from
// a product description: the window reads that installer's resources as
// its own, and whatever it installs goes into a trial root.
#pragma once

#include "BMessenger.h"
#include "Inbox.h"
#include "InstallRunSupport.h"
#include "InstallerWin.h"
#include "WindowDriver.h"

#include <memory>
#include <string>
#include <vector>

namespace stowtest {

class InstallerWindowTrial {
public:
    InstallerWindowTrial();
    ~InstallerWindowTrial();

    // Builds `json` (payload files "payload/<name>" of `payload`) into an
    // installer, then opens its window, loaded and shown; false when the
    // display could not be had.
    void Build(const std::string& json, const std::vector<std::string>& payload);
    bool Show();
    bool Open(const std::string& json, const std::vector<std::string>& payload)
    {
        Build(json, payload);
        return Show();
    }
    // Between Build and Show: an int32 field of the record, as a builder
    // could have written it.
    void SetRecordInt32(const std::string& key, int32 value);

    InstallerWin* Window() const { return fWindow; }
    WindowDriver& Driver() { return *fDriver; }
    InstallTrial& Trial() { return fTrial; }
    AppInbox& Application() { return *fApplication; }
    // The rows of the file list that are selected.
    std::vector<int32> SelectedFiles() { return fDriver->Selection("custom_list"); }
    // The tip messages the window sent the application since the last call.
    std::vector<BMessage> Tips();

private:
    InstallTrial fTrial;
    std::vector<std::unique_ptr<ScopedEnv>> fEnvironment;
    std::unique_ptr<AppInbox, InboxCloser> fApplication;
    std::string fInstaller;
    InstallerWin* fWindow = nullptr;
    std::unique_ptr<WindowDriver> fDriver;
};

} // namespace stowtest
