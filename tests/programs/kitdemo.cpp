// kitdemo: a small program of the window kit for out-of-process checks. Its
// window "Window kit demo" has a name field, a check box and a Greet button;
// greeting prints "greeted <name>" (and "loud" when the box is ticked) on
// standard output. Ctrl+Q or the close box ends it. It finds its display
// module the way the real programs do, inside its own file.
#include "AppDefs.h"
#include "BApplication.h"
#include "BButton.h"
#include "BCheckBox.h"
#include "BScrollView.h"
#include "BStringView.h"
#include "BTextView.h"
#include "BWindow.h"
#include "UiDisplay.h"

#include <cstdio>
#include <string>

namespace {

constexpr uint32 kGreet = 'grt!';

class DemoWindow : public BWindow {
public:
    DemoWindow()
        : BWindow(BRect(100, 100, 379, 219), "Window kit demo", B_TITLED_WINDOW,
            B_NOT_RESIZABLE | B_NOT_ZOOMABLE)
    {
        auto* panel = new BView(Bounds(), "panel", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
        panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
        AddChild(panel);
        panel->AddChild(new BStringView(BRect(10, 10, 59, 29), "label", "Name:"));
        fName = new BTextView(BRect(62, 12, 267, 27), "name", BRect(2, 1, 202, 14),
            B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
        fName->SetWordWrap(false);
        panel->AddChild(new BScrollView("name_frame", fName));
        fLoud = new BCheckBox(BRect(10, 40, 200, 58), "loud", "Loud", nullptr);
        panel->AddChild(fLoud);
        fGreeting = new BStringView(BRect(10, 62, 269, 80), "greeting", "");
        panel->AddChild(fGreeting);
        auto* greet = new BButton(BRect(184, 88, 269, 111), "greet", "Greet", new BMessage(kGreet));
        panel->AddChild(greet);
        greet->MakeDefault(true);
    }

    void MessageReceived(BMessage* message) override
    {
        if (message->what != kGreet) {
            BWindow::MessageReceived(message);
            return;
        }
        std::string name = fName->Text();
        fGreeting->SetText(("Hello, " + name).c_str());
        printf("greeted %s%s\n", name.c_str(), fLoud->Value() == B_CONTROL_ON ? " loud" : "");
        fflush(stdout);
    }

    bool QuitRequested() override
    {
        be_app->PostMessage(B_QUIT_REQUESTED);
        return true;
    }

private:
    BTextView* fName;
    BCheckBox* fLoud;
    BStringView* fGreeting;
};

} // namespace

int main()
{
    BApplication application("application/x-vnd.Stowfast-kitdemo");
    if (!UiDisplay::Connect()) {
        fprintf(stderr, "kitdemo: no display: %s\n", UiDisplay::Problem().c_str());
        return 1;
    }
    (new DemoWindow)->Show();
    application.Run();
    printf("bye\n");
    return 0;
}
