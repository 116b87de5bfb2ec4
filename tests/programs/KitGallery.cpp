#include "KitGallery.h"

#include "BBox.h"
#include "BButton.h"
#include "BStringView.h"
#include "BWindow.h"

namespace stowtest {

namespace {

constexpr float kWidth = 520;
constexpr float kHeight = 360;

BView* Panel()
{
    auto* panel
        = new BView(BRect(0, 0, kWidth - 1, kHeight - 1), "panel", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    return panel;
}

void AddButtons(BView* panel)
{
    auto* box = new BBox(BRect(10, 10, 170, 160), "buttons");
    box->SetLabel("Buttons");
    panel->AddChild(box);
    box->AddChild(
        new BButton(BRect(10, 25, 105, 44), "button_plain", "Install", new BMessage('bpln')));
    auto* deflt
        = new BButton(BRect(10, 55, 105, 74), "button_default", "Agree", new BMessage('bdef'));
    box->AddChild(deflt);
    deflt->MakeDefault(true);
    auto* disabled = new BButton(BRect(10, 85, 105, 104), "button_disabled", "Stop", nullptr);
    disabled->SetEnabled(false);
    box->AddChild(disabled);
    auto* pressed = new BButton(BRect(10, 115, 105, 134), "button_pressed", "Pressed", nullptr);
    pressed->SetValue(B_CONTROL_ON);
    box->AddChild(pressed);
}

void AddLabels(BView* panel)
{
    auto* box = new BBox(BRect(180, 10, 360, 160), "labels", B_FOLLOW_LEFT | B_FOLLOW_TOP,
        B_WILL_DRAW, B_PLAIN_BORDER);
    box->SetLabel("String views");
    panel->AddChild(box);
    box->AddChild(new BStringView(BRect(10, 25, 170, 40), "left", "Left aligned"));
    auto* center = new BStringView(BRect(10, 45, 170, 60), "center", "Centred");
    center->SetAlignment(B_ALIGN_CENTER);
    box->AddChild(center);
    auto* right = new BStringView(BRect(10, 65, 170, 80), "right", "402.0 KB");
    right->SetAlignment(B_ALIGN_RIGHT);
    box->AddChild(right);
    auto* bold = new BStringView(BRect(10, 85, 170, 102), "bold", "Bold 12 points");
    bold->SetFont(be_bold_font);
    box->AddChild(bold);
    auto* accents = new BStringView(BRect(10, 107, 170, 122), "accents", "Größe · Créé · Tamaño");
    box->AddChild(accents);
}

} // namespace

BWindow* MakeGalleryWindow()
{
    auto* window = new BWindow(BRect(20, 20, 20 + kWidth - 1, 20 + kHeight - 1),
        "Window kit gallery", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE);
    BView* panel = Panel();
    window->AddChild(panel);
    AddButtons(panel);
    AddLabels(panel);
    return window;
}

} // namespace stowtest
