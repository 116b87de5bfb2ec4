// Filling the window from the record, and its texts in the chosen language.
#include "InstallerWin.h"

#include "BBox.h"
#include "BButton.h"
#include "BListView.h"
#include "BMenuItem.h"
#include "BStringView.h"
#include "BTextView.h"
#include "InstallImage.h"
#include "InstallListItem.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "LibListView.h"
#include "LibMenuField.h"
#include "LibPictureButton.h"
#include "LibStringIterator.h"
#include "LibVolumeMenu.h"
#include "oLocalize.h"

#include <cstring>

namespace {

constexpr uint32 kFolderTip = 'stip';

} // namespace

bool InstallerWin::LoadResources()
{
    if (!fSession->Load())
        return false;
    if (!Lock())
        return false;
    LoadAbout();
    fLicenseText->SetText(fSession->License());
    BMessage groups;
    if (fSession->Record().FindMessage("groups", &groups) == B_OK) {
        fGroups.Read(groups);
        for (GroupContext* group = fGroups.First(); group != nullptr; group = fGroups.Next())
            AddGroup(group->Name());
        fGroupList->Select(0);
    }
    LoadFileRows();
    LoadDefaultFolder();
    fVolumeMenu->AllowRemovable(fSession->Record().FindBool("req_removable_vol_ok"));
    fVolumeMenu->AllowShared(fSession->Record().FindBool("req_shared_vol_ok"));
    GetVolumes();
    InstallTypeSelected();
    SetDestinationPath();
    // Without a license there is nothing to agree to. Pressed once the
    // destination is settled, so that its check looks at the right folder.
    if (*fSession->License() == '\0')
        ButtonPressed();
    BMessage sound;
    if (fSession->Record().FindMessage("audio_data", &sound) == B_OK) {
        sound.what = kPlaySound;
        PostToApplication(&sound);
    }
    Unlock();
    return true;
}

void InstallerWin::LoadAbout()
{
    const InstallConfig& record = fSession->Record();
    BMessage picture;
    record.FindMessage("about_image", &picture);
    fImage->SetImage(picture);
    fImage->SetAppName(record.FindString("app_name"));
    fImage->SetVersion(record.FindString("version"));
    fImage->SetDate(record.FindString("release_date"));
    fImage->SetCompany(record.FindString("company"));
    fImage->SetEmail(record.FindString("support_email"));
}

// Row i is "install_file" i, as the session's file i is.
void InstallerWin::LoadFileRows()
{
    BMessage instructions;
    fSession->Record().FindMessage("install_instructions", &instructions);
    BMessage entry;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        auto* row = new InstallListItem(false);
        row->Read(entry);
        fFileList->AddItem(row);
    }
}

void InstallerWin::LoadDefaultFolder()
{
    if (!fSession->Record().HasString("opt_default_folder"))
        return;
    std::string folder = fSession->DefaultDestination();
    if (!folder.empty())
        UseDestination(folder.c_str());
}

void InstallerWin::SetLanguage()
{
    if (!Lock())
        return;
    fLicenseBox->SetLabel(InstallString(kTextLicense));
    fInstallBox->SetLabel(InstallString(kTextInstallation));
    fGroupLabel->SetText(InstallString(kTextGroup));
    fFileLabel->SetText(InstallString(kTextFiles));
    fFolderButton->AddTip(kFolderTip, InstallString(kTextFolderTip));
    fVolumeMenu->SetLabel(InstallString(kTextDisks));
    ApplyStateLabels();
    BuildLanguageMenu();
    Unlock();
}

// One item per line of text 1000, in the order of the language codes; the
// current language's is marked.
void InstallerWin::BuildLanguageMenu()
{
    fOptions->Clear();
    LibStringIterator names(InstallString(kTextLanguages));
    LibString name;
    while (names.GetNextField('\n', name))
        fOptions->Add(name, new BMessage(kLanguageChosen), -1);
    int32 current = lib_language_index(oLocalize().Language());
    if (BMenuItem* item = current >= 0 ? fOptions->ItemAt(current) : nullptr)
        item->SetMarked(true);
}

void InstallerWin::ChangeLaunguage()
{
    BMessage* message = CurrentMessage();
    int32 index = -1;
    if (message == nullptr || message->FindInt32("index", &index) != B_OK)
        index = int32(fOptions->CurrentSelection());
    // Anything beyond the ten languages is English.
    const char* code = index >= 0 && index < kLanguageCount ? kLanguageCodes[index] : "en";
    oLocalize().SetLanguage(code);
    SetLanguage();
}
