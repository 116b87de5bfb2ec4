// deinstallgallery OUTDIR LANGUAGE INSTALLER: starts a private X server and
// pictures the deinstaller's windows in LANGUAGE with the record of the
// installer file INSTALLER (its picture and texts): the main window at
// rest, searching and done, the alert that nothing was found, the removal
// window with long paths, and the collision question. Writes
// OUTDIR/deinstaller-<state>-<language>-<scale>x.png; the scale comes from
// STOW_SCALE, as for every program. Everything it makes lies in a fresh
// temporary folder (STOW_ROOT), which it removes.
#include "BFile.h"
#include "BResources.h"
#include "DeinstallFilesWin.h"
#include "DeinstallRecord.h"
#include "DeinstallerWin.h"
#include "RecordReader.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"
#include "oLocalize.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using stowtest::TestApplication;
using stowtest::WindowDriver;

namespace {

struct Gallery {
    std::string folder;
    std::string language;
    bool good = true;

    void Save(BWindow* window, const std::string& state)
    {
        char scale[16];
        snprintf(scale, sizeof(scale), "%gx", double(ui_scale()));
        std::string path = folder + "/deinstaller-" + state + "-" + language + "-" + scale + ".png";
        bool saved = window != nullptr && stowtest::SaveWindow(window, path);
        printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
        good = good && saved;
    }
};

// Keeps the end of the program from ending the gallery.
class QuitCatcher : public BLooper {
public:
    QuitCatcher()
        : BLooper("quit catcher")
    { }
    bool QuitRequested() override { return false; }
};

void Touch(const fs::path& path, const std::string& key)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
    BNode(path.c_str()).WriteAttr("InstallBy", B_STRING_TYPE, 0, key.data(), key.size());
}

// The placed files of a product with long folder names.
void MakeProduct(const fs::path& root, const std::string& key)
{
    fs::path product = root / "home/tester/Applications/Stowdemo";
    for (const char* leaf : {"Stowdemo", "README.txt", "Documentation/Getting started.html",
             "Documentation/Reference manual for the command line options.html",
             "Documentation/Release notes for version 1.0.txt"})
        Touch(product / leaf, key);
    Touch(root / "home/tester/.local/share/applications/Stowdemo.desktop", key);
    Touch(root / "home/tester/Desktop/Stowdemo", key);
    Touch(root / "usr/local/share/stowdemo/samples/A sample document with a long name.sdoc", key);
}

// A file carrying `record` as a deinstaller would.
bool WriteRecord(const fs::path& path, const BMessage& record)
{
    BFile file(path.c_str(), B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE);
    BResources resources(&file, true);
    std::string flat = record.Flatten();
    return resources.AddResource(B_STRING_TYPE, 2002, flat.data(), flat.size(), "STK:configuration")
        == B_OK
        && resources.Sync() == B_OK;
}

bool WaitUntil(const std::function<bool()>& done)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < limit) {
        TestApplication::Settle();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

DeinstallerWin* OpenWindow(const fs::path& recordFile, BLooper* catcher)
{
    DeinstallerWin* window = nullptr;
    TestApplication::Call([&] {
        window = new DeinstallerWin;
        window->SetQuitTarget(BMessenger(catcher));
        window->Run();
        BResources resources(recordFile.c_str());
        window->Load(resources);
        window->SetPosition(LibWindow::kCenter, nullptr);
        window->Show();
    });
    return window;
}

void Close(BWindow* window)
{
    window->Lock();
    window->Quit();
}

void Picture(Gallery& gallery, const BMessage& record, const fs::path& root)
{
    auto* catcher = new QuitCatcher;
    catcher->Run();
    fs::path recordFile = root / "record";
    WriteRecord(recordFile, record);
    MakeProduct(root, static_cast<const char*>(DeinstallKey(record)));

    DeinstallerWin* window = OpenWindow(recordFile, catcher);
    WindowDriver main(window);
    main.Settle();
    gallery.Save(window, "rest");

    // A search under way, as its progress shows it.
    TestApplication::Call([&] {
        window->Lock();
        window->ShowSearching(true);
        BMessage progress('snfi');
        progress.AddFloat("size", 40); // of the 100 a fresh bar holds
        progress.AddString("folder", "Documentation");
        progress.AddString("found", "5");
        window->SearchingNewFile(&progress);
        window->Unlock();
    });
    main.Settle();
    gallery.Save(window, "searching");
    TestApplication::Call([&] {
        window->Lock();
        window->ShowSearching(false);
        window->Unlock();
    });

    main.Click("search_btn");
    WaitUntil(
        [&] { return window->FilesWindow() != nullptr && !window->FilesWindow()->IsHidden(); });
    // The main window on its own first: the removal window comes up over it.
    window->FilesWindow()->Hide();
    main.Settle();
    gallery.Save(window, "done");
    window->FilesWindow()->Show();
    main.Settle();
    gallery.Save(window->FilesWindow(), "files");

    // The collision question, over the main window counting down.
    fs::path old = root / "home/tester/Old";
    fs::create_directories(old);
    std::ofstream(old / "README.txt") << "the user's own";
    TestApplication::Call([&] {
        window->Session().SetMovePath(old.c_str());
        window->FilesWindow()->SetMovePath(old.c_str());
    });
    WindowDriver(window->FilesWindow()).Click("deinstall");
    if (BWindow* alert = WindowDriver::WaitForAlert()) {
        gallery.Save(alert, "collision");
        WindowDriver::AnswerAlert("Don't Replace");
    }
    WaitUntil([&] { return !window->Session().IsRemoving(); });
    Close(window);

    // A product of which nothing is there: the alert that says so.
    BMessage other(record);
    other.ReplaceString("app_name", "Nothing");
    WriteRecord(recordFile, other);
    window = OpenWindow(recordFile, catcher);
    WindowDriver(window).Click("search_btn");
    if (BWindow* alert = WindowDriver::WaitForAlert()) {
        gallery.Save(alert, "nothing-found");
        WindowDriver::AnswerAlert("OK");
    }
    Close(window);
    catcher->Lock();
    catcher->Quit();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: deinstallgallery OUTDIR LANGUAGE INSTALLER\n");
        return 2;
    }
    BMessage config;
    BResources installer(argv[3]);
    if (RecordReader::Read(installer, config) != RecordReader::Result::Read) {
        fprintf(stderr, "deinstallgallery: %s carries no record\n", argv[3]);
        return 1;
    }
    char pattern[] = "/tmp/stowgallery-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return 1;
    fs::path root = pattern;
    setenv("STOW_ROOT", pattern, 1);
    setenv("HOME", "/home/tester", 1);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    std::string problem;
    if (!TestApplication::Start(true, &problem)) {
        fprintf(stderr, "deinstallgallery: no display: %s\n", problem.c_str());
        return 1;
    }
    Gallery gallery {argv[1], argv[2]};
    oLocalize().SetLanguage(argv[2]);
    Picture(gallery, MakeDeinstallRecord(config), root);
    fs::remove_all(root);
    return gallery.good ? 0 : 1;
}
