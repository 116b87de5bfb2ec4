#include "WidgetGallery.h"

#include "BBox.h"
#include "BMenuItem.h"
#include "BScrollView.h"
#include "BitmapView.h"
#include "FileListItem.h"
#include "LibLabelControl.h"
#include "LibListView.h"
#include "LibMenuButton.h"
#include "LibPictureButton.h"
#include "LibStringView.h"
#include "LibTipManager.h"
#include "LibVolumeMenu.h"
#include "LibWindow.h"
#include "TestApplication.h"

#include <vector>

namespace stowtest {

namespace {

constexpr float kWidth = 520;
constexpr float kHeight = 470;
constexpr uint32 kTipCommand = 'stip';
constexpr char kLongPath[] = "/boot/home/Applications/Stowsmith/Documentation/Getting started";

BView* Panel()
{
    auto* panel
        = new BView(BRect(0, 0, kWidth - 1, kHeight - 1), "panel", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    panel->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    return panel;
}

BBox* Box(BView* parent, BRect frame, const char* name, const char* label)
{
    auto* box = new BBox(frame, name);
    box->SetLabel(label);
    parent->AddChild(box);
    return box;
}

// Palette entries of the system colour map.
constexpr uint8 kPanelGrey = 27; // 216, 216, 216
constexpr uint8 kWhite = 31;
constexpr uint8 kBlue = 36; // 0, 0, 204

// A 16 by 16 colour-mapped face: a cross of `ink` on `paper`.
std::vector<uint8> Cross(uint8 ink, uint8 paper)
{
    std::vector<uint8> bits(16 * 16, paper);
    for (int i = 2; i < 14; ++i) {
        for (int width = 7; width <= 8; ++width) {
            bits[size_t(i * 16 + width)] = ink;
            bits[size_t(width * 16 + i)] = ink;
        }
    }
    return bits;
}

LibPictureButton* FolderButton(
    BView* box, float x, const char* name, const char* bitmapName = "folder")
{
    auto* button = new LibPictureButton(BPoint(x, 25), 24, 24, name, bitmapName, 'fold',
        B_ONE_STATE_BUTTON, B_FOLLOW_LEFT | B_FOLLOW_TOP);
    box->AddChild(button);
    return button;
}

void AddPictureButtons(BView* panel)
{
    BBox* box = Box(panel, BRect(10, 10, 250, 95), "picture_buttons", "Picture buttons");
    FolderButton(box, 12, "folder")->AddTip(kTipCommand, "Change destination folder");
    FolderButton(box, 46, "folder_on")->SetValue(B_CONTROL_ON);
    FolderButton(box, 80, "folder_disabled")->SetEnabled(false);
    LibPictureButton* both = FolderButton(box, 114, "folder_disabled_on");
    both->SetValue(B_CONTROL_ON);
    both->SetEnabled(false);
    FolderButton(box, 148, "no_picture", "no such picture");
    std::vector<uint8> off = Cross(kBlue, kPanelGrey), on = Cross(kWhite, kBlue);
    box->AddChild(new LibPictureButton(BPoint(190, 29), 16, 16, "raw_bits", off.data(), on.data(),
        'bits', nullptr, B_TWO_STATE_BUTTON, B_FOLLOW_LEFT | B_FOLLOW_TOP));
    auto* names = new BStringView(
        BRect(12, 55, 230, 70), "picture_names", "raised  pressed  disabled  both  empty  bits");
    box->AddChild(names);
}

void AddLabels(BView* panel)
{
    BBox* box = Box(panel, BRect(260, 10, 510, 170), "labels", "Labels");
    box->AddChild(new LibLabelControl(
        BRect(10, 25, 240, 50), 60, "label_enabled", "Disk", 3, ":", B_FOLLOW_LEFT | B_FOLLOW_TOP));
    auto* disabled = new LibLabelControl(BRect(10, 50, 240, 75), 60, "label_disabled", "Folder", 3,
        ":", B_FOLLOW_LEFT | B_FOLLOW_TOP);
    box->AddChild(disabled);
    disabled->SetEnabled(false);
    struct Shortened {
        const char* name;
        uint32 mode;
        float top;
    };
    for (Shortened s : {Shortened {"path_beginning", B_TRUNCATE_BEGINNING, 85},
             Shortened {"path_middle", B_TRUNCATE_MIDDLE, 105},
             Shortened {"path_end", B_TRUNCATE_END, 125}}) {
        auto* view = new LibStringView(BRect(10, s.top, 160, s.top + 15), s.name, "");
        box->AddChild(view);
        view->SetTruncatedText(kLongPath, s.mode);
    }
}

void AddMenus(BView* panel)
{
    BBox* box = Box(panel, BRect(10, 105, 250, 215), "menus", "Menus");
    auto* volume = new LibVolumeMenu(BPoint(10, 22), "volume", 'vol ', 60);
    box->AddChild(volume);
    volume->Update();
    auto* folders = new LibMenuButton(
        BPoint(10, 50), "folders", "Folder", 60, 150, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, true);
    box->AddChild(folders);
    LibMenuField* field = folders->MenuField();
    for (directory_which which : {B_DESKTOP_DIRECTORY, B_APPS_DIRECTORY, B_PREFERENCES_DIRECTORY,
             B_UTILITIES_DIRECTORY, B_TRASH_DIRECTORY})
        field->AddStdFolder(which, 'fold');
    for (long i = 0; i < field->CountItems() - 1; ++i)
        field->SetBitmap(field->ItemAt(i)->Label(), "folder");
    field->SetItem(1);
    auto* encodings = new LibMenuField(BRect(67, 80, 227, 103), "encodings", 0, true);
    box->AddChild(encodings);
    encodings->AddEncodingChoices('enco');
    encodings->SetEncodingSelection(21);
}

// A list view holds its rows for its owner; this one's rows go with it.
class FileList : public LibListView {
public:
    FileList()
        : LibListView(BRect(0, 0, 300, 180), "file_list")
    { }
    ~FileList() override
    {
        while (BListItem* item = RemoveItem(int32(0)))
            delete item;
    }
};

// Rows of files every Debian system has: folders in dark grey before the
// leaf in black, leaf names alone, a path shortened at its beginning.
void AddFileList(BView* panel)
{
    BBox* box = Box(panel, BRect(10, 225, 510, 460), "files", "File lists and icons");
    auto* list = new FileList;
    box->AddChild(new BScrollView(
        "file_scroll", list, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true, B_FANCY_BORDER));
    list->Parent()->MoveTo(12, 25);
    list->AddItem(new FileListItem("/usr/share/doc", false, true));
    list->AddItem(new FileListItem("/usr/bin/env", false, true));
    list->AddItem(new FileListItem("/etc/hostname", true, false));
    list->AddItem(new FileListItem("/etc/os-release", true, false));
    auto* shortened = new FileListItem(
        "/usr/share/doc/Stowsmith/Documentation/Getting started/Installing a product.txt", false,
        true);
    shortened->SetTruncateMode(B_TRUNCATE_BEGINNING);
    list->AddItem(shortened);
    list->AddItem(new FileListItem("/no/such/file", true, false));
    list->Select(1);
    struct Icon {
        const char* name;
        const char* path;
        float top;
    };
    for (Icon icon : {Icon {"icon_folder", "/usr/share/doc", 30},
             Icon {"icon_program", "/usr/bin/env", 80}, Icon {"icon_text", "/etc/hostname", 130}}) {
        box->AddChild(new BitmapView(BPoint(340, icon.top), icon.name, icon.path));
        box->AddChild(new BStringView(BRect(380, icon.top + 8, 490, icon.top + 24), "", icon.path));
    }
}

} // namespace

BWindow* MakeWidgetGalleryWindow()
{
    auto* window = new LibWindow(BRect(20, 20, 20 + kWidth - 1, 20 + kHeight - 1), "Widget gallery",
        B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL, B_NOT_RESIZABLE | B_NOT_ZOOMABLE,
        B_CURRENT_WORKSPACE);
    BView* panel = Panel();
    window->AddChild(panel);
    AddPictureButtons(panel);
    AddLabels(panel);
    AddMenus(panel);
    AddFileList(panel);
    return window;
}

void ShowGalleryTip(BWindow* gallery, LibTipManager& tips)
{
    BMessage tip(kTipCommand);
    TestApplication::Call([&] {
        gallery->Lock();
        BView* button = gallery->FindView("folder");
        BRect bounds = button->Bounds();
        tip.AddBool("show", true);
        tip.AddString("tip", "Change destination folder");
        tip.AddPoint("loc", button->ConvertToScreen(BPoint(bounds.right + 5, bounds.top + 1)));
        tip.AddInt16("sdelay", 0);
        gallery->Unlock();
        tips.MessageReceived(&tip);
    });
}

} // namespace stowtest
