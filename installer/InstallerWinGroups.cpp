// The install groups and the file list: a group selects its files, the
// selection gives the total and whether Install can be pressed, and the
// pointer resting on a group shows its description.
#include "InstallerWin.h"

#include "BButton.h"
#include "BListView.h"
#include "BScrollBar.h"
#include "BStringItem.h"
#include "BStringView.h"
#include "InstallSession.h"
#include "LibBytes.h"
#include "LibListView.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32 kTipMessage = 'stip';
constexpr int32 kTipWidth = 160;

} // namespace

void InstallerWin::AddGroup(const char* name)
{
    if (!Lock())
        return;
    fGroupList->AddItem(new BStringItem(name, 0, true));
    Unlock();
}

void InstallerWin::InstallTypeSelected()
{
    if (!Lock())
        return;
    ShowGroupDescription(-1);
    // The rows change one by one below; one total afterwards is enough.
    fFileList->SetSelectionMessage(nullptr);
    int32 row = fGroupList->CurrentSelection();
    if (row >= 0) {
        auto* item = static_cast<BStringItem*>(fGroupList->ItemAt(row));
        fSession->SelectGroup(fSession->FindGroup(item->Text()));
        for (int32 i = 0; i < fFileList->CountItems(); ++i) {
            bool selected = fSession->FileAt(i) != nullptr && fSession->FileAt(i)->selected;
            if (selected && !fFileList->IsItemSelected(i))
                fFileList->Select(i, true);
            else if (!selected)
                fFileList->Deselect(i);
        }
    } else {
        fGroupList->Select(0);
    }
    fFileList->SetSelectionMessage(new BMessage(kFilesSelected));
    CustomItemSelected();
    Unlock();
}

// The main button follows the selection only where it installs: "Agree"
// and "Stop" must always be there to press.
void InstallerWin::CustomItemSelected()
{
    if (!Lock())
        return;
    for (int32 i = 0; i < fFileList->CountItems(); ++i)
        fSession->SetFileSelected(i, fFileList->IsItemSelected(i));
    LibString total;
    LibBytesToString((unsigned long)fSession->SelectionTotal(), total, 1);
    fInstallSize->SetText(total);
    fButton->SetEnabled(fState != kReady || fSession->CountSelected() > 0);
    Unlock();
}

void InstallerWin::ShowGroupDescription(const long& index)
{
    BMessage tip(kTipMessage);
    if (index < 0) {
        tip.AddBool("show", false);
        PostToApplication(&tip);
        return;
    }
    GroupContext* group = fGroups.Get(index);
    if (group == nullptr)
        return;
    // A group without a description hides any tip: a message without "show".
    if (*group->Description() != '\0') {
        size_t length = std::min<size_t>(strlen(group->Description()), INT16_MAX);
        BRect list = fGroupList->Frame();
        BScrollBar* bar = fGroupList->ScrollBar(B_VERTICAL);
        BPoint where(
            fGroupList->Parent()->Frame().left + 99 + fGroupList->Bounds().Width() + list.right,
            fGroupList->ItemFrame(int32(index)).top + list.top + 42
                - (bar != nullptr ? bar->Value() : 0));
        ConvertToScreen(&where);
        tip.AddBool("show", true);
        tip.AddInt16("sdelay", 0);
        tip.AddInt16("edelay", int16((length + 3) / 4));
        tip.AddPoint("loc", where);
        tip.AddInt32("width", kTipWidth);
        tip.AddString("tip", group->Description());
    }
    PostToApplication(&tip);
}
