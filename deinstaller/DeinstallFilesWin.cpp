#include "DeinstallFilesWin.h"

#include "AppDefs.h"
#include "BButton.h"
#include "BEntry.h"
#include "BListView.h"
#include "BPath.h"
#include "BScrollView.h"
#include "DeinstallSession.h"
#include "DeinstallerWin.h"
#include "FileListItem.h"
#include "LibFilePanel.h"
#include "LibPictureButton.h"
#include "LibRect.h"
#include "LibStringView.h"
#include "StowclearFlowTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kWidth = 490;
constexpr float kHeight = 230;
constexpr float kListFontSize = 10;
constexpr float kButtonWidth = 65;
// How long one slice of new rows may take.
constexpr bigtime_t kRowSliceTime = 8000;
// Room beside a button's label for its frame.
constexpr float kButtonPadding = 20;

const char* const kFolderTypes[]
    = {"application/x-vnd.Be-volume", "application/x-vnd.Be-directory"};

} // namespace

DeinstallFilesWin::DeinstallFilesWin(BLooper* parent, DeinstallSession& session)
    : LibWindow(LibRect(0, 0, kWidth - 1, kHeight - 1), StowclearString(kTextItemsTitle).c_str(),
        B_TITLED_WINDOW_LOOK, B_NORMAL_WINDOW_FEEL,
        B_NOT_ZOOMABLE | B_NOT_CLOSABLE | B_NOT_RESIZABLE, B_CURRENT_WORKSPACE)
    , fParent(parent)
    , fSession(session)
{
    SetName("DeinstallFilesWin");
    BuildViews();
    SetMovePath(fSession.MovePath());
}

DeinstallFilesWin::~DeinstallFilesWin()
{
    delete fPanel;
    fList->MakeEmpty();
    // The rows are the window's; the list only shows them.
    for (BListItem* item : fItems)
        delete item;
}

void DeinstallFilesWin::BuildViews()
{
    const float W = kWidth;
    const float H = kHeight;
    auto* background = new BView(Bounds(), "view", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
    background->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    AddChild(background);

    // Buttons grow to their longest label; the list gives up the room.
    float buttonWidth = ButtonWidth();
    float grown = buttonWidth - kButtonWidth;
    fList = new BListView(LibRect(10, 10, W - 110 - grown, H - 45), "list",
        B_MULTIPLE_SELECTION_LIST, B_FOLLOW_ALL_SIDES);
    BFont font;
    fList->GetFont(&font);
    font.SetSize(kListFontSize);
    fList->SetFont(&font);
    fList->SetSelectionMessage(new BMessage(kSelectionChanged));
    fScroll = new BScrollView("list_scroll", fList, B_FOLLOW_ALL_SIDES, 0, false, true);
    background->AddChild(fScroll);
    float scrollBottom = fScroll->Frame().bottom;

    fFolderButton = new LibPictureButton(BPoint(9, scrollBottom + 4), 24, 24, "folder", "folder",
        kFolderPressed, B_ONE_STATE_BUTTON, B_FOLLOW_LEFT | B_FOLLOW_BOTTOM);
    fFolderButton->AddTip(kTipCommand, StowclearString(kTextChangeFolder).c_str());
    background->AddChild(fFolderButton);

    fDestination
        = new LibStringView(LibRect(fFolderButton->Frame().right + 5, scrollBottom + 10, 150, 15),
            "destination_path", "");
    background->AddChild(fDestination);

    float left = W - 8 - buttonWidth;
    fAll = new BButton(LibRect(left, 10, buttonWidth, 20), "all", StowclearString(kTextAll).c_str(),
        new BMessage(kAllPressed));
    fNone = new BButton(LibRect(left, 40, buttonWidth, 20), "none",
        StowclearString(kTextNone).c_str(), new BMessage(kNonePressed));
    fDeinstall = new BButton(LibRect(left, H - 37, buttonWidth, 20), "deinstall",
        StowclearString(kTextDeinstall).c_str(), new BMessage(kDeinstallPressed));
    for (BButton* button : {fAll, fNone, fDeinstall})
        background->AddChild(button);
    SetDefaultButton(fDeinstall);
}

float DeinstallFilesWin::ButtonWidth()
{
    BFont font(be_plain_font);
    float width = kButtonWidth;
    for (long text : {kTextAll, kTextNone, kTextDeinstall})
        width = std::max(
            width, std::ceil(font.StringWidth(StowclearString(text).c_str())) + kButtonPadding);
    return width;
}

void DeinstallFilesWin::SetPaths()
{
    if (!Lock())
        return;
    fList->MakeEmpty();
    for (BListItem* item : fItems)
        delete item;
    fItems.clear();
    // The choice waits until every row is there.
    for (BButton* button : {fAll, fNone, fDeinstall})
        button->SetEnabled(false);
    AddSomeRows();
    Unlock();
}

// Rows are made a slice at a time, each slice in its own turn of the
// window's loop: a row reads its file's type and icon, and thousands of
// them at once would hold up drawing and input for a good part of a second.
void DeinstallFilesWin::AddSomeRows()
{
    bigtime_t deadline = system_time() + kRowSliceTime;
    int32 count = fSession.CountFound();
    while (int32(fItems.size()) < count && system_time() < deadline) {
        auto* item = new FileListItem(fSession.FoundAt(int32(fItems.size())), false, true);
        // Shortened in the middle, so that both the place and the leaf show.
        item->SetTruncateMode(B_TRUNCATE_MIDDLE);
        item->Select();
        fItems.push_back(item);
        fList->AddItem(item);
    }
    if (int32(fItems.size()) < count) {
        PostMessage(kMoreRows);
        return;
    }
    fAll->SetEnabled(true);
    fNone->SetEnabled(true);
    fDeinstall->SetEnabled(fList->CurrentSelection() >= 0);
}

bool DeinstallFilesWin::IsFilled()
{
    return int32(fItems.size()) == fSession.CountFound();
}

void DeinstallFilesWin::SelectAll(bool select)
{
    if (fList->IsEmpty())
        return;
    if (select)
        fList->Select(0, fList->CountItems() - 1);
    else
        fList->DeselectAll();
}

void DeinstallFilesWin::SelectMoveDestination()
{
    if (fPanel == nullptr) {
        fPanel = new LibFilePanel(B_OPEN_PANEL, this, kFolderChosen, B_DIRECTORY_NODE, false);
        for (const char* type : kFolderTypes)
            fPanel->Filter().AddType(type);
        // The parent, so that the destination itself shows as an item.
        fPanel->SetPanelDirectory(fSession.MovePath(), true);
    }
    fPanel->Show();
}

void DeinstallFilesWin::MoveDestinationChoosen()
{
    if (fPanel == nullptr)
        return;
    entry_ref ref;
    fPanel->Rewind();
    if (fPanel->GetNextSelectedRef(&ref) == B_OK) {
        BPath path(&ref);
        if (path.InitCheck() == B_OK && fSession.SetMovePath(path.Path()))
            SetMovePath(fSession.MovePath());
    }
    delete fPanel;
    fPanel = nullptr;
}

void DeinstallFilesWin::SetMovePath(const char* path)
{
    if (!Lock())
        return;
    fDestination->SetTruncatedText(path, B_TRUNCATE_BEGINNING);
    Unlock();
}

void DeinstallFilesWin::DeinstallFiles()
{
    if (!IsFilled())
        return;
    for (int32 i = 0; i < fList->CountItems(); ++i)
        fSession.SetSelected(i, fList->IsItemSelected(i));
    Hide();
    BMessenger(fParent).SendMessage(DeinstallerWin::kDeinstallPressed);
}

// The window has no close box; a window manager's close only hides it.
bool DeinstallFilesWin::QuitRequested()
{
    Hide();
    return false;
}

void DeinstallFilesWin::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kSelectionChanged:
        fDeinstall->SetEnabled(fList->CurrentSelection() >= 0);
        break;
    case kAllPressed:
        SelectAll(true);
        break;
    case kNonePressed:
        SelectAll(false);
        break;
    case kFolderPressed:
        SelectMoveDestination();
        break;
    case kFolderChosen:
        MoveDestinationChoosen();
        break;
    case B_CANCEL:
        // The next press opens a fresh panel at the destination.
        delete fPanel;
        fPanel = nullptr;
        break;
    case kDeinstallPressed:
        DeinstallFiles();
        break;
    case kMoreRows:
        AddSomeRows();
        break;
    default:
        LibWindow::MessageReceived(message);
    }
}
