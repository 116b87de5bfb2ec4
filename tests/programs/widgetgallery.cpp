// widgetgallery OUTDIR: starts a private X server, shows the gallery of the
// library's widgets and writes its pictures to OUTDIR/widgets-<scale>x.png
// (widgets-menu-<scale>x.png with a menu open, widgets-tip-<scale>x.png
// with the folder button's tip up, widgets-panel-<scale>x.png with a folder
// panel). The scale
// comes from STOW_SCALE, as for every program.
#include "WidgetGallery.h"

#include "BMenu.h"
#include "BWindow.h"
#include "FileTypes.h"
#include "LibFilePanel.h"
#include "LibMenuButton.h"
#include "LibTipManager.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"

#include <cstdio>
#include <string>

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
        fprintf(stderr, "usage: widgetgallery OUTDIR\n");
        return 2;
    }
    std::string problem;
    if (!stowtest::TestApplication::Start(true, &problem)) {
        fprintf(stderr, "widgetgallery: no display: %s\n", problem.c_str());
        return 1;
    }
    BWindow* gallery = stowtest::MakeWidgetGalleryWindow();
    gallery->Show();
    bool good = Save(gallery, argv[1], "widgets");
    // The folder menu open, its items with their pictures.
    stowtest::WindowDriver driver(gallery);
    driver.Click("folders");
    good = Save(gallery, argv[1], "widgets-menu") && good;
    driver.Read([](BWindow* window) {
        static_cast<LibMenuButton*>(window->FindView("folders"))->MenuField()->Menu()->Close();
    });
    driver.Settle();
    LibTipManager tips;
    stowtest::ShowGalleryTip(gallery, tips);
    good = Save(gallery, argv[1], "widgets-tip") && good;
    gallery->Lock();
    gallery->Quit();

    // A folder panel as the programs make theirs, with a "Format" menu.
    LibFilePanel panel(
        B_OPEN_PANEL, static_cast<BMessenger*>(nullptr), 'dest', B_DIRECTORY_NODE, false);
    panel.Filter().AddType(kDirectoryMimeType);
    panel.Filter().AddType(kVolumeMimeType);
    panel.AddFormatMenuItem("Folder", true);
    panel.AddFormatMenuItem("Archive", false);
    panel.SetPanelDirectory("/usr/share/doc", true);
    panel.Show();
    good = Save(panel.Window(), argv[1], "widgets-panel") && good;
    return good ? 0 : 1;
}
