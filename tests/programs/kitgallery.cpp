// kitgallery OUTDIR: starts a private X server, shows the window kit's
// gallery and writes its pictures to OUTDIR/gallery-<scale>x.png (and
// gallery-menu-<scale>x.png with a menu open), and every kind of alert
// (alert-*-<scale>x.png) and a file panel (file-panel-<scale>x.png). The scale comes from
// STOW_SCALE, as for every program.
#include "KitGallery.h"
#include "GalleryAlerts.h"

#include "BFilePanel.h"
#include "BWindow.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string ScaleName()
{
    char name[16];
    snprintf(name, sizeof(name), "%gx", double(ui_scale()));
    return name;
}

bool Save(BWindow* window, const std::string& folder, const std::string& leaf)
{
    std::string path = folder + "/" + leaf + "-" + ScaleName() + ".png";
    bool saved = stowtest::SaveWindow(window, path);
    printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: kitgallery OUTDIR\n");
        return 2;
    }
    std::string problem;
    if (!stowtest::TestApplication::Start(true, &problem)) {
        fprintf(stderr, "kitgallery: no display: %s\n", problem.c_str());
        return 1;
    }
    BWindow* gallery = stowtest::MakeGalleryWindow();
    gallery->Show();
    bool good = Save(gallery, argv[1], "gallery");
    // The language menu open over the window.
    stowtest::WindowDriver driver(gallery);
    driver.Click("language");
    good = Save(gallery, argv[1], "gallery-menu") && good;
    driver.PressKey("\x1b");
    char folder[] = "/tmp/kitgallery-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    for (const stowtest::GalleryAlert& sample : stowtest::GalleryAlerts(folder)) {
        std::thread asking(sample.ask);
        BWindow* alert = stowtest::WindowDriver::WaitForAlert();
        good = alert != nullptr && Save(alert, argv[1], sample.leaf) && good;
        good = stowtest::WindowDriver::AnswerAlert(sample.answer) && good;
        asking.join();
    }
    // A file panel on the demo product's payload.
    {
        BFilePanel panel(B_OPEN_PANEL, nullptr, nullptr, B_FILE_NODE | B_DIRECTORY_NODE);
        panel.SetPanelDirectory(STOW_SOURCE_DIR "/samples/demo/payload");
        panel.Show();
        stowtest::WindowDriver inPanel(panel.Window());
        inPanel.SelectRow("entries", 2);
        good = Save(panel.Window(), argv[1], "file-panel") && good;
    }
    std::string cleanup = std::string("rm -rf '") + folder + "'";
    good = system(cleanup.c_str()) == 0 && good;
    gallery->Lock();
    gallery->Quit();
    return good ? 0 : 1;
}
