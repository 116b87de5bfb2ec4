// The choices of the guided flow: the group, the files, the destination and
// the summary that confirms them.
#include "InstallFlow.h"

#include "BVolume.h"
#include "FillIn.h"
#include "InstallFlowTexts.h"
#include "InstallSession.h"
#include "InstallTexts.h"
#include "LibBytes.h"
#include "TerminalDialog.h"
#include "TextAlertPresenter.h"

#include <cstdio>

namespace {

std::string Bytes(int64 count)
{
    LibString text;
    LibBytesToString((unsigned long)(count < 0 ? 0 : count), text, 1);
    return static_cast<const char*>(text);
}

std::string Columns(
    const char* format, int number, const std::string& text, const std::string& right)
{
    char line[512];
    snprintf(line, sizeof line, format, number, text.c_str(), right.c_str());
    return line;
}

} // namespace

InstallFlow::Step InstallFlow::ChooseGroup()
{
    int32 count = fSession->CountGroups();
    if (count == 0)
        return Step::Next;
    fDialog->PrintLine();
    fDialog->PrintLine(FlowString(kTextGroup));
    for (int32 i = 0; i < count; ++i) {
        const InstallGroup& group = *fSession->GroupAt(i);
        std::string line = Columns("  %2d  %-16s %12s", i + 1, group.name, Bytes(group.size));
        fDialog->PrintWrapped(line + (group.description.empty() ? "" : "  " + group.description),
            int(line.size()) + 2);
    }
    // Loading selected the first group, as the window's list starts.
    std::string prompt = fill_in(FlowString(kFlowGroupPrompt), {"1"}) + ": ";
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        std::vector<int32> picked;
        std::string wrong;
        if (answer.empty())
            return Step::Next;
        if (TerminalDialog::ParseNumbers(answer, count, picked, wrong) && picked.size() == 1) {
            fSession->SelectGroup(picked[0]);
            return Step::Next;
        }
        fDialog->NotUnderstood(answer);
    }
    return Step::Cancelled;
}

void InstallFlow::ListFiles()
{
    fDialog->PrintLine();
    fDialog->PrintLine(FlowString(kTextFiles));
    for (int32 i = 0; i < fSession->CountFiles(); ++i) {
        const InstallFile& file = *fSession->FileAt(i);
        const char* format = file.selected ? "  %2d [x] %-28s %12s" : "  %2d [ ] %-28s %12s";
        fDialog->PrintLine(Columns(format, i + 1, file.leaf, Bytes(file.size)));
    }
    fDialog->PrintLine(fill_in(FlowString(kFlowTotal), {Bytes(fSession->SelectionTotal())}));
}

InstallFlow::Step InstallFlow::ChooseFiles()
{
    AlertRequest words;
    words.buttons = {FlowString(kFlowAll), FlowString(kFlowNone)};
    std::string prompt = fill_in(FlowString(kFlowFilesPrompt), words.buttons) + ": ";
    ListFiles();
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        std::vector<int32> picked;
        std::string wrong;
        int32 word = TextAlertPresenter::MatchButton(words, answer);
        if (answer.empty()) {
            // As the window's Install button, going on needs a file.
            if (fSession->CountSelected() > 0)
                return Step::Next;
            fDialog->PrintLine(FlowString(kFlowSelectAFile));
            continue;
        }
        if (word >= 0) {
            fSession->SelectAll(word == 0);
        } else if (TerminalDialog::ParseNumbers(answer, fSession->CountFiles(), picked, wrong)) {
            for (int32 index : picked)
                fSession->ToggleFile(index);
        } else {
            fDialog->NotUnderstood(wrong);
            continue;
        }
        ListFiles();
    }
    return Step::Cancelled;
}

InstallFlow::Step InstallFlow::ChooseDestination()
{
    std::string preset
        = fOptions.destination.empty() ? fSession->DefaultDestination() : fOptions.destination;
    std::string prompt = fill_in(FlowString(kFlowDestinationPrompt), {preset}) + ": ";
    fDialog->PrintLine();
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        std::string folder = answer.empty() ? preset : TerminalDialog::ExpandHome(answer);
        // Both tell the user through their alerts why a folder will not do;
        // Cancel in the question about an existing product folder asks for
        // another destination.
        if (!folder.empty() && fSession->SetDestination(folder.c_str())
            && fSession->CheckDestinationWritable() && fSession->CheckDestinationFolder(true))
            return Step::Next;
    }
    return Step::Cancelled;
}

InstallFlow::Step InstallFlow::Confirm()
{
    const InstallConfig& record = fSession->Record();
    std::string header = FlowString(kTextInstallation);
    fDialog->PrintLine();
    if (!header.empty())
        fDialog->PrintLine(header);
    fDialog->PrintLine("  "
        + fill_in(FlowString(kFlowSummaryFiles),
            {std::to_string(fSession->CountSelected()), Bytes(fSession->SelectionTotal())}));
    std::string productFolder
        = std::string(fSession->Destination()) + "/" + record.FindString("opt_created_folder");
    fDialog->PrintLine("  " + fill_in(FlowString(kFlowSummaryFolder), {productFolder}));
    BVolume volume;
    if (volume.SetToVolumeOf(fSession->Destination()) == B_OK)
        fDialog->PrintLine(
            "  " + fill_in(FlowString(kFlowSummaryFree), {Bytes(volume.FreeBytes())}));
    int32 answer = fDialog->Choose({FlowString(kTextInstall), FlowString(kTextCancel)}, 0);
    return answer == 0 ? Step::Next : Step::Cancelled;
}
