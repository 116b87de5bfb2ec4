#include "GalleryAlerts.h"

#include "BAlert.h"
#include "BPath.h"
#include "ReplaceAlert.h"

#include <fstream>

namespace stowtest {

namespace {

void Ask(const char* text, const char* b0, const char* b1, const char* b2, alert_type type)
{
    BAlert alert("", text, b0, b1, b2, B_WIDTH_AS_USUAL, type);
    alert.Go();
}

void AskCollision(const std::string& folder, const char* language)
{
    std::string existing = folder + "/existing/README.txt";
    std::string incoming = folder + "/incoming/README.txt";
    ReplaceAlert alert(BPath(incoming.c_str()), BPath(existing.c_str()), true, language);
    alert.Go();
}

} // namespace

std::vector<GalleryAlert> GalleryAlerts(const std::string& folder)
{
    for (const char* side : {"existing", "incoming"}) {
        std::string path = folder + "/" + side;
        std::string command = "mkdir -p '" + path + "'";
        if (system(command.c_str()) != 0)
            continue;
        std::ofstream(path + "/README.txt") << "Stowdemo " << side << " read-me.\n";
    }
    return {
        {"alert-stop",
            [] {
                Ask("Installation was stopped before it could complete.", "OK", nullptr, nullptr,
                    B_STOP_ALERT);
            },
            "OK"},
        {"alert-warning",
            [] {
                Ask("The shared library 'libstowdemo.so' could not be found. The installation "
                    "suggests that this library be present for the installed software to work "
                    "properly.\n\nYou may run the application at your own risk.",
                    "Abort", "Continue", nullptr, B_WARNING_ALERT);
            },
            "Abort"},
        {"alert-info",
            [] {
                Ask("Installation successfully completed.\n\nThe system needs to be restarted "
                    "for the installation to take effect.",
                    "Cancel", "Restart Later", "Restart Now", B_INFO_ALERT);
            },
            "Restart Later"},
        {"alert-collision", [folder] { AskCollision(folder, "en"); }, "Don't Replace"},
        {"alert-collision-de", [folder] { AskCollision(folder, "de"); },
            "Ausführen nicht Ersetzen"},
    };
}

} // namespace stowtest
