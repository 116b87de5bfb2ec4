#include "KitGallery.h"

#include "BBitmap.h"
#include "BBox.h"
#include "BButton.h"
#include "BCheckBox.h"
#include "BListView.h"
#include "BMenuBar.h"
#include "BMenuField.h"
#include "BMenuItem.h"
#include "BPicture.h"
#include "BPictureButton.h"
#include "BPopUpMenu.h"
#include "BScrollView.h"
#include "BSeparatorItem.h"
#include "BStatusBar.h"
#include "BStringItem.h"
#include "BStringView.h"
#include "BTextView.h"
#include "BWindow.h"

#include <cmath>
#include <string>

namespace stowtest {

namespace {

constexpr float kWidth = 600;
constexpr float kHeight = 560;

const char* const kLicense
    = "This license text wraps at word boundaries inside its text rectangle. "
      "It is neither editable nor selectable, and the scroll bar beside it "
      "follows its height.\n\nA second paragraph after an empty line.";

BBox* AddBox(BView* panel, BRect frame, const char* name, const char* label,
    border_style border = B_FANCY_BORDER)
{
    auto* box = new BBox(frame, name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW, border);
    box->SetLabel(label);
    panel->AddChild(box);
    return box;
}

void AddButtons(BView* panel)
{
    BBox* box = AddBox(panel, BRect(10, 10, 150, 160), "buttons", "Buttons");
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

void AddCheckBoxes(BView* panel)
{
    BBox* box = AddBox(panel, BRect(160, 10, 330, 160), "checkboxes", "Check boxes");
    box->AddChild(new BCheckBox(BRect(10, 25, 160, 42), "check_off", "Off", new BMessage('chk0')));
    auto* on = new BCheckBox(BRect(10, 50, 160, 67), "check_on", "On", new BMessage('chk1'));
    on->SetValue(B_CONTROL_ON);
    box->AddChild(on);
    auto* disabled = new BCheckBox(BRect(10, 75, 160, 92), "check_disabled", "Disabled", nullptr);
    disabled->SetEnabled(false);
    box->AddChild(disabled);
    auto* both
        = new BCheckBox(BRect(10, 100, 160, 117), "check_disabled_on", "Disabled, on", nullptr);
    both->SetValue(B_CONTROL_ON);
    both->SetEnabled(false);
    box->AddChild(both);
}

void AddLabels(BView* panel)
{
    BBox* box = AddBox(panel, BRect(340, 10, 590, 160), "labels", "String views", B_PLAIN_BORDER);
    box->AddChild(new BStringView(BRect(10, 25, 240, 40), "left", "Left aligned"));
    auto* center = new BStringView(BRect(10, 45, 240, 60), "center", "Centred");
    center->SetAlignment(B_ALIGN_CENTER);
    box->AddChild(center);
    auto* right = new BStringView(BRect(10, 65, 240, 80), "right", "402.0 KB");
    right->SetAlignment(B_ALIGN_RIGHT);
    box->AddChild(right);
    auto* bold = new BStringView(BRect(10, 85, 240, 102), "bold", "Bold 12 points");
    bold->SetFont(be_bold_font);
    box->AddChild(bold);
    box->AddChild(new BStringView(BRect(10, 107, 240, 122), "accents", "Größe · Créé · Tamaño"));
    std::string path = "/home/user/Applications/Stowdemo/manual/chapters/1-start.txt";
    BFont font;
    font.TruncateString(&path, B_TRUNCATE_BEGINNING, 230);
    box->AddChild(new BStringView(BRect(10, 127, 240, 142), "truncated", path.c_str()));
}

BScrollView* ListIn(BRect frame, const char* name, list_view_type type)
{
    auto* list = new BListView(frame, name, type);
    const char* rows[] = {"Typical", "Documents", "Examples", "Manual", "Programs", "Scripts",
        "Extras", "Sounds", "Pictures", "Everything"};
    for (const char* row : rows)
        list->AddItem(new BStringItem(row));
    return new BScrollView((std::string(name) + "_scroll").c_str(), list,
        B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true);
}

void AddLists(BView* panel)
{
    BBox* box = AddBox(panel, BRect(10, 170, 330, 330), "lists", "Lists");
    BScrollView* single = ListIn(BRect(10, 25, 130, 145), "single_list", B_SINGLE_SELECTION_LIST);
    box->AddChild(single);
    static_cast<BListView*>(single->Target())->Select(1);
    BScrollView* multiple
        = ListIn(BRect(170, 25, 290, 145), "multiple_list", B_MULTIPLE_SELECTION_LIST);
    box->AddChild(multiple);
    auto* list = static_cast<BListView*>(multiple->Target());
    list->Select(0);
    list->Select(2, true);
    list->Select(3, true);
}

void AddText(BView* panel)
{
    BBox* box = AddBox(panel, BRect(340, 170, 590, 330), "texts", "Text view");
    BRect frame(10, 25, 224, 145);
    auto* text = new BTextView(frame, "license_text", BRect(3, 3, frame.Width() - 3, 1000),
        B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    text->SetText(kLicense);
    text->MakeEditable(false);
    text->MakeSelectable(false);
    box->AddChild(
        new BScrollView("license_view", text, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true));
}

BPopUpMenu* LanguageMenu()
{
    auto* menu = new BPopUpMenu("languages");
    const char* names[] = {"English", "Français", "Español", "Deutsch"};
    for (const char* name : names)
        menu->AddItem(new BMenuItem(name, new BMessage('lang')));
    menu->AddSeparatorItem();
    auto* disabled = new BMenuItem("Klingon", nullptr);
    disabled->SetEnabled(false);
    menu->AddItem(disabled);
    menu->ItemAt(0)->SetMarked(true);
    return menu;
}

void AddMenus(BView* panel)
{
    BBox* box = AddBox(panel, BRect(10, 340, 330, 430), "menus", "Menus");
    auto* bar = new BMenuBar(BRect(10, 22, 310, 40), "MenuBar");
    auto* file = new BMenu("File");
    file->AddItem(new BMenuItem("Open", new BMessage('open'), 'O'));
    file->AddItem(new BMenuItem("Quit", new BMessage('quit'), 'Q'));
    bar->AddItem(file);
    bar->AddItem(new BMenu("Format"));
    box->AddChild(bar);
    box->AddChild(new BMenuField(BRect(10, 48, 200, 70), "language", "Language:", LanguageMenu()));
    auto* disabled
        = new BMenuField(BRect(210, 48, 310, 70), "disabled_field", nullptr, LanguageMenu());
    disabled->SetEnabled(false);
    box->AddChild(disabled);
}

void AddStatus(BView* panel)
{
    BBox* box = AddBox(panel, BRect(340, 340, 590, 430), "progress", "Status bar");
    auto* bar = new BStatusBar(BRect(10, 22, 240, 52), "status_bar", ".../", " found");
    bar->SetMaxValue(200);
    bar->Update(130, "manual/chapters", "12");
    box->AddChild(bar);
    auto* empty = new BStatusBar(BRect(10, 56, 240, 80), "status_empty");
    empty->SetBarHeight(12);
    box->AddChild(empty);
}

// A button face as the foundation library records them: a raised or
// pressed bevel around a small folder.
BPicture* Face(bool raised, bool enabled)
{
    BView recorder(BRect(0, 0, 23, 23), "recorder", B_FOLLOW_NONE, 0);
    auto* picture = new BPicture;
    recorder.BeginPicture(picture);
    BRect frame(0, 0, 23, 23);
    recorder.SetHighColor(raised ? make_color(232, 232, 232) : ui_color(B_PANEL_BACKGROUND_COLOR));
    recorder.FillRect(frame);
    recorder.SetHighColor(96, 96, 96);
    recorder.StrokeRoundRect(frame, 2, 2);
    recorder.SetHighColor(raised ? make_color(255, 255, 255) : make_color(152, 152, 152));
    recorder.StrokeLine(BPoint(1, 1), BPoint(22, 1));
    recorder.StrokeLine(BPoint(1, 1), BPoint(1, 22));
    recorder.SetHighColor(raised ? make_color(152, 152, 152) : make_color(255, 255, 255));
    recorder.StrokeLine(BPoint(2, 22), BPoint(22, 22));
    recorder.StrokeLine(BPoint(22, 2), BPoint(22, 22));
    float shift = raised ? 0 : 1;
    recorder.SetHighColor(225, 180, 60);
    recorder.FillRect(BRect(6 + shift, 8 + shift, 17 + shift, 16 + shift));
    recorder.FillRect(BRect(6 + shift, 6 + shift, 10 + shift, 8 + shift));
    recorder.SetHighColor(48, 48, 48);
    recorder.StrokeRect(BRect(6 + shift, 8 + shift, 17 + shift, 16 + shift));
    if (!enabled) {
        recorder.SetDrawingMode(B_OP_OVER);
        recorder.SetLowColor(B_TRANSPARENT_COLOR);
        recorder.SetHighColor(232, 232, 232, 125);
        recorder.FillRect(BRect(2, 2, 20, 20), B_MIXED_COLORS);
    }
    recorder.EndPicture();
    return picture;
}

void AddPictureButtons(BView* panel)
{
    BBox* box = AddBox(panel, BRect(10, 440, 150, 550), "pictures", "Picture buttons");
    const char* names[] = {"picture_off", "picture_on", "picture_disabled"};
    for (int i = 0; i < 3; ++i) {
        BPicture* off = Face(true, true);
        BPicture* on = Face(false, true);
        auto* button = new BPictureButton(BRect(10 + 40 * i, 30, 33 + 40 * i, 53), names[i], off,
            on, new BMessage('fold'), B_TWO_STATE_BUTTON);
        BPicture* disabledOff = Face(true, false);
        button->SetDisabledOff(disabledOff);
        delete off;
        delete on;
        delete disabledOff;
        if (i == 1)
            button->SetValue(B_CONTROL_ON);
        if (i == 2)
            button->SetEnabled(false);
        box->AddChild(button);
    }
}

// Drawing calls: bitmaps in three colour spaces, text rotated upward, the
// mixed pattern and shapes.
class DrawingView : public BView {
public:
    DrawingView(BRect frame)
        : BView(frame, "drawing", B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW)
        , fRgb(BRect(0, 0, 31, 31), B_RGB32)
        , fRgba(BRect(0, 0, 31, 31), B_RGBA32)
        , fCmap(BRect(0, 0, 31, 31), B_CMAP8)
    {
        SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
        for (int32 y = 0; y < 32; ++y) {
            for (int32 x = 0; x < 32; ++x) {
                fRgb.SetPixel(x, y, make_color(uint8(x * 8), uint8(y * 8), 160));
                float dx = float(x) - 15.5f, dy = float(y) - 15.5f;
                uint8 alpha = uint8(std::max(0.0f, 255 - std::hypot(dx, dy) * 16));
                fRgba.SetPixel(x, y, make_color(200, 30, 30, alpha));
                fCmap.SetPixel(x, y,
                    fCmap.ColorSpace() == B_CMAP8 && (x + y) % 8 < 4 ? make_color(0, 0, 255)
                                                                     : make_color(255, 255, 0));
            }
        }
    }

    void Draw(BRect) override
    {
        DrawBitmap(&fRgb, BPoint(0, 0));
        SetDrawingMode(B_OP_ALPHA);
        DrawBitmap(&fRgba, BPoint(40, 0));
        SetDrawingMode(B_OP_COPY);
        DrawBitmap(&fCmap, BPoint(80, 0));
        SetHighColor(0, 0, 0);
        FillRect(BRect(0, 40, 31, 71), B_MIXED_COLORS);
        SetHighColor(0, 0, 255);
        FillRoundRect(BRect(40, 40, 71, 71), 6, 6);
        SetHighColor(0, 128, 0);
        StrokeEllipse(BRect(80, 40, 111, 71));
        SetHighColor(96, 96, 96);
        StrokeLine(BPoint(120, 0), BPoint(160, 71));
        BFont font(be_bold_font);
        font.SetRotation(90);
        font.SetSize(14);
        SetFont(&font);
        SetHighColor(0, 0, 255);
        DrawString("Upward", BPoint(190, 71));
        font.SetRotation(0);
        SetFont(&font);
    }

private:
    BBitmap fRgb;
    BBitmap fRgba;
    BBitmap fCmap;
};

void AddDrawing(BView* panel)
{
    BBox* box = AddBox(panel, BRect(160, 440, 590, 550), "draw", "Drawing");
    box->AddChild(new DrawingView(BRect(10, 25, 240, 100)));
}

} // namespace

BWindow* MakeGalleryWindow()
{
    auto* window = new BWindow(BRect(10, 10, 10 + kWidth - 1, 10 + kHeight - 1),
        "Window kit gallery", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE);
    FillGallery(window);
    return window;
}

void FillGallery(BWindow* window)
{
    auto* panel
        = new BView(BRect(0, 0, kWidth - 1, kHeight - 1), "panel", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    window->AddChild(panel);
    AddButtons(panel);
    AddCheckBoxes(panel);
    AddLabels(panel);
    AddLists(panel);
    AddText(panel);
    AddMenus(panel);
    AddStatus(panel);
    AddPictureButtons(panel);
    AddDrawing(panel);
}

} // namespace stowtest
