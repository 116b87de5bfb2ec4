// The window's views and where they sit. Sizes are points; the picture's
// place and size, the lists', the bottom box's and the buttons' sizes are
// the design's, the rest is laid out around them.
#include "InstallerWin.h"

#include "BBox.h"
#include "BButton.h"
#include "BScrollView.h"
#include "BStringView.h"
#include "BTextView.h"
#include "BackgroundView.h"
#include "ByteProgressBar.h"
#include "GroupListView.h"
#include "InstallImage.h"
#include "LibMenuField.h"
#include "LibPictureButton.h"
#include "LibStringView.h"
#include "LibVolumeMenu.h"

namespace {

// Both boxes take the room right of the picture, down to its bottom edge,
// and leave the right edge to the banner.
const BRect kBoxFrame(166, 8, 443, 216);
const BRect kInstBoxFrame(10, 224, 319, 248);
constexpr float kSmallFontSize = 10;
// The volume menu's label gets the room the longest translation needs
// ("Laufwerke"), right-aligned against the menu, so that the row keeps its
// place in every language.
constexpr float kVolumeDivider = 106;

BStringView* BoldLabel(BRect frame, const char* name)
{
    auto* label = new BStringView(frame, name, "");
    label->SetFont(be_bold_font);
    return label;
}

// A scroll view with a vertical bar around `target`.
BScrollView* Scrolled(const char* name, BView* target)
{
    return new BScrollView(name, target, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, false, true);
}

} // namespace

void InstallerWin::BuildViews()
{
    auto* background = new BackgroundView(Bounds());
    AddChild(background);
    fImage = new InstallImage(BPoint(10, 16), false);
    background->AddChild(fImage);
    BuildLicenseBox(background);
    BuildInstallBox(background);
    BuildBottomRow(background);
    fInstallBox->Hide();
}

void InstallerWin::BuildLicenseBox(BView* background)
{
    fLicenseBox = new BBox(kBoxFrame, "license_box");
    background->AddChild(fLicenseBox);
    BRect textFrame(9, 20, 255, 200);
    BRect textRect(3, 3, textFrame.Width() - 3, textFrame.Height() - 3);
    BFont font(be_plain_font);
    font.SetSize(kSmallFontSize);
    fLicenseText = new BTextView(textFrame, "license_text", textRect, &font, nullptr,
        B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_FRAME_EVENTS);
    fLicenseText->MakeEditable(false);
    fLicenseText->MakeSelectable(false);
    fLicenseBox->AddChild(Scrolled("license_view", fLicenseText));
}

void InstallerWin::BuildInstallBox(BView* background)
{
    fInstallBox = new BBox(kBoxFrame, "install_box");
    background->AddChild(fInstallBox);
    fGroupLabel = BoldLabel(BRect(8, 15, 94, 31), "install_type_label");
    fInstallBox->AddChild(fGroupLabel);
    fGroupList = new GroupListView(BRect(9, 34, 78, 140), "install_type");
    fGroupList->SetResizingMode(B_FOLLOW_LEFT | B_FOLLOW_TOP);
    fGroupList->SetSelectionMessage(new BMessage(kGroupSelected));
    fGroupList->SetHoverCommand(kGroupHovered);
    fInstallBox->AddChild(Scrolled("install_type_scroll", fGroupList));

    fFileLabel = BoldLabel(BRect(102, 15, 271, 31), "file_label");
    fInstallBox->AddChild(fFileLabel);
    fFileList = new BListView(BRect(103, 34, 255, 140), "custom_list", B_MULTIPLE_SELECTION_LIST);
    fFileList->SetSelectionMessage(new BMessage(kFilesSelected));
    fInstallBox->AddChild(Scrolled("custom_scroll_view", fFileList));

    fInstallSize = new BStringView(BRect(101, 143, 271, 157), "install_size", "0 bytes");
    fInstallSize->SetAlignment(B_ALIGN_RIGHT);
    fInstallBox->AddChild(fInstallSize);
    BuildVolumeRow(fInstallBox);
}

// The disk menu and the folder button, then the destination with the free
// space of its volume.
void InstallerWin::BuildVolumeRow(BBox* box)
{
    fVolumeMenu = new LibVolumeMenu(BPoint(7, 159), "volume", kVolumeChosen, kVolumeDivider);
    if (auto* label = dynamic_cast<BStringView*>(fVolumeMenu->FindView("label")))
        label->SetAlignment(B_ALIGN_RIGHT);
    box->AddChild(fVolumeMenu);
    fFolderButton = new LibPictureButton(BPoint(244, 159), 24, 24, "folder", "folder",
        kFolderButton, B_ONE_STATE_BUTTON, B_FOLLOW_LEFT | B_FOLLOW_TOP);
    box->AddChild(fFolderButton);
    fDestinationView = new LibStringView(BRect(8, 188, 196, 202), "destination", "");
    box->AddChild(fDestinationView);
    fVolumeSize = new BStringView(BRect(200, 188, 271, 202), "volume_size", "");
    fVolumeSize->SetAlignment(B_ALIGN_RIGHT);
    box->AddChild(fVolumeSize);
}

void InstallerWin::BuildBottomRow(BView* background)
{
    fInstBox = new BBox(kInstBoxFrame, "inst_box");
    background->AddChild(fInstBox);
    fInstruction = new BStringView(BRect(6, 3, 303, 17), "instruction", "");
    fInstruction->SetFontSize(kSmallFontSize);
    fInstBox->AddChild(fInstruction);
    fProgress = new ByteProgressBar(BRect(4, 19, 305, 21), "progress");
    fInstBox->AddChild(fProgress);
    fProgress->Hide();

    fButton = new BButton(BRect(330, 227, 424, 246), "button", "", new BMessage(kMainButton));
    fButton->SetFontSize(kSmallFontSize);
    background->AddChild(fButton);
    SetDefaultButton(fButton);
    fOptions = new LibMenuField(BRect(431, 227, 450, 246), "options", int(kSmallFontSize), false);
    background->AddChild(fOptions);
}
