// installershots INSTALLER OUTDIR: starts a private X server and writes the
// installer's window, as the installer INSTALLER (the demo product) shows
// it, into OUTDIR/installer-<what>-<language>-<scale>x.png: the license page,
// the about texts, the existing-folder alert over the window, the ready
// state, a group's tip, the run (state 3) and the collision dialog over the
// window, in English and German. Everything the run places goes into a
// temporary trial root. The scale comes from STOW_SCALE.
#include "BApplication.h"
#include "BScreen.h"
#include "BWindow.h"
#include "Inbox.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "InstallerWin.h"
#include "LibTipManager.h"
#include "RunningExecutable.h"
#include "Screenshot.h"
#include "TestApplication.h"
#include "UiScale.h"
#include "WindowDriver.h"
#include "oLocalize.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using stowtest::Pixels;
using stowtest::TestApplication;
using stowtest::WindowDriver;

namespace {

std::string gFolder;
bool gGood = true;

std::string Leaf(const std::string& what, const char* language)
{
    char scale[16];
    snprintf(scale, sizeof(scale), "%gx", double(ui_scale()));
    return gFolder + "/installer-" + what + "-" + language + "-" + scale + ".png";
}

void Report(bool saved, const std::string& path)
{
    printf("%s %s\n", saved ? "wrote" : "could not write", path.c_str());
    gGood = saved && gGood;
}

void Save(BWindow* window, const std::string& what, const char* language)
{
    std::string path = Leaf(what, language);
    Report(stowtest::SaveWindow(window, path), path);
}

BRect FrameOf(BWindow* window)
{
    BRect frame;
    TestApplication::Call([&] {
        if (window->Lock()) {
            frame = window->Frame();
            window->Unlock();
        }
    });
    return frame;
}

// The screen's pixels around both windows, with a margin.
void SaveOver(BWindow* window, BWindow* alert, const std::string& what, const char* language)
{
    BRect area = FrameOf(window) | FrameOf(alert);
    area.InsetBy(-10, -30);
    float scale = ui_scale();
    Pixels screen = stowtest::CaptureScreen();
    Pixels part;
    int left = std::max(0, int(std::lround(area.left * scale)));
    int top = std::max(0, int(std::lround(area.top * scale)));
    part.width = std::min(screen.width - left, int(std::lround((area.Width() + 1) * scale)));
    part.height = std::min(screen.height - top, int(std::lround((area.Height() + 1) * scale)));
    for (int y = 0; y < part.height; ++y) {
        auto row = screen.rgba.begin() + (long(top + y) * screen.width + left) * 4;
        part.rgba.insert(part.rgba.end(), row, row + long(part.width) * 4);
    }
    std::string path = Leaf(what, language);
    Report(stowtest::WritePng(path, part), path);
}

void MoveWindow(BWindow* window, LibWindow::ScreenPosition position)
{
    TestApplication::Call([&] {
        if (window->Lock()) {
            static_cast<LibWindow*>(window)->SetPosition(position, nullptr);
            window->Unlock();
        }
    });
    TestApplication::Settle();
}

// Presses button `index` of the alert on screen.
void Answer(int index)
{
    BWindow* alert = WindowDriver::WaitForAlert();
    std::string name = "alert_button_" + std::to_string(index);
    gGood = alert != nullptr && WindowDriver(alert).Click(name.c_str()) && gGood;
}

// Hands what the window sent the application to a tip manager, as the
// installer's application does.
void ShowTips(stowtest::AppInbox& inbox, LibTipManager& tips)
{
    inbox.Drain();
    for (BMessage& message : inbox.received) {
        if (message.what == 'stip')
            TestApplication::Call([&] { tips.MessageReceived(&message); });
    }
    inbox.received.clear();
    TestApplication::Settle();
}

void Shoot(const char* language, const fs::path& root)
{
    oLocalize().SetLanguage(language);
    auto inbox = stowtest::MakeAppInbox();
    LibTipManager tips;
    auto* window = new InstallerWin(BMessenger(inbox.get()));
    window->SetPosition(LibWindow::kCenter, nullptr);
    gGood = window->LoadResources() && gGood;
    window->Show();
    WindowDriver driver(window);
    driver.Settle();
    Save(window, "license", language);
    driver.Click("InstallImage");
    Save(window, "about", language);
    driver.Click("InstallImage");

    // A product folder already at the destination: Agree warns.
    fs::path existing = fs::path(window->DestinationFolder()) / "Stowdemo";
    fs::create_directories(existing);
    driver.Click("button");
    if (BWindow* alert = WindowDriver::WaitForAlert())
        SaveOver(window, alert, "folder-check", language);
    Answer(0);
    fs::remove_all(existing);
    Save(window, "ready", language);

    driver.HoverRow("install_type", 1);
    ShowTips(*inbox, tips);
    Save(window, "tip", language);
    driver.MoveMouseOut();
    ShowTips(*inbox, tips);

    // The product's settings file is there already: the run asks.
    std::ofstream(root / "home/demo/.config/stowdemo.conf") << "greeting = mine\n";
    driver.Click("button");
    if (BWindow* alert = WindowDriver::WaitForAlert()) {
        SaveOver(window, alert, "collision", language);
        // The window alone: the dialog moves out of its way meanwhile.
        MoveWindow(window, LibWindow::kTopLeft);
        TestApplication::Call([&] {
            if (alert->Lock()) {
                BRect screen = BScreen().Frame();
                BRect frame = alert->Frame();
                alert->MoveTo(
                    screen.right - frame.Width() - 10, screen.bottom - frame.Height() - 10);
                alert->Unlock();
            }
        });
        Save(window, "installing", language);
    }
    Answer(0); // keep the settings
    Answer(0); // run the welcome script later
    Answer(0); // the completion
    // The run's end: the window asks the application to quit.
    for (int turn = 0; turn < 4000 && inbox->quitRequests == 0; ++turn) {
        inbox->Drain();
        usleep(5000);
    }
    window->QuitRunning();
    window->Lock();
    window->Quit();
    fs::remove_all(root / "home/demo/.config/stowdemo.conf");
}

// A trial root standing for a small Linux system, as scripts/demo makes it.
fs::path MakeRoot(const fs::path& base)
{
    fs::path root = base / "root";
    for (const char* folder : {"home/demo/.config", "opt", "usr/lib"})
        fs::create_directories(root / folder);
    for (const char* libc : {"/lib/x86_64-linux-gnu/libc.so.6",
             "/usr/lib/x86_64-linux-gnu/libc.so.6", "/lib64/libc.so.6", "/usr/lib/libc.so.6"}) {
        if (fs::exists(libc)) {
            fs::create_symlink(libc, root / "usr/lib/libc.so.6");
            break;
        }
    }
    setenv("STOW_ROOT", root.c_str(), 1);
    setenv("HOME", "/home/demo", 1);
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("XDG_DATA_HOME", "", 1);
    return root;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: installershots INSTALLER OUTDIR\n");
        return 2;
    }
    gFolder = argv[2];
    char base[] = "/tmp/installershots-XXXXXX";
    if (mkdtemp(base) == nullptr)
        return 1;
    fs::path root = MakeRoot(base);
    // A copy takes the language choices; its name is the window's title.
    fs::path installer = fs::path(base) / "Stowdemo Installer";
    fs::copy_file(argv[1], installer);
    set_running_executable_path(installer.c_str());
    std::string problem;
    if (!TestApplication::Start(true, &problem)) {
        fprintf(stderr, "installershots: no display: %s\n", problem.c_str());
        return 1;
    }
    for (const char* language : {"en", "de"})
        Shoot(language, root);
    fs::remove_all(base);
    return gGood ? 0 : 1;
}
