// The choices of Stowclear's guided flow: the disk, the entries to remove,
// where they go, and the confirmation.
#include "StowclearFlow.h"

#include "DeinstallSession.h"
#include "FillIn.h"
#include "StowclearFlowTexts.h"
#include "TerminalDialog.h"
#include "TextAlertPresenter.h"

#include <cstdio>
#include <vector>

namespace {

std::string Row(const char* format, int number, const std::string& text, const std::string& more)
{
    char line[4096];
    snprintf(line, sizeof line, format, number, text.c_str(), more.c_str());
    return line;
}

// The volume's own name, when it has one besides its folder.
std::string Label(const BVolume& volume)
{
    std::string name = volume.Name();
    if (name.empty() || name == volume.RootPath() || name == volume.MountPoint())
        return "";
    return "  (" + name + ")";
}

// Whether `typed` is `word` itself, in any letter case.
bool IsWord(const std::string& typed, const std::string& word)
{
    AlertRequest one;
    one.buttons = {word};
    return typed.size() == word.size() && TextAlertPresenter::MatchButton(one, typed) == 0;
}

} // namespace

StowclearFlow::Step StowclearFlow::ChooseVolume()
{
    std::vector<BVolume> volumes = DeinstallSession::Volumes();
    const BVolume& chosen = fSession->Volume();
    int32 preset = -1;
    for (size_t i = 0; i < volumes.size(); ++i) {
        if (volumes[i] == chosen)
            preset = int32(i);
    }
    if (preset < 0) {
        volumes.push_back(chosen);
        preset = int32(volumes.size()) - 1;
    }
    fDialog->PrintLine();
    fDialog->PrintLine(StowclearString(kTextDisk));
    for (size_t i = 0; i < volumes.size(); ++i)
        fDialog->PrintLine(
            Row("  %2d  %s%s", int(i) + 1, volumes[i].RootPath(), Label(volumes[i])));
    std::string prompt
        = fill_in(StowclearString(kFlowDiskPrompt), {std::to_string(preset + 1)}) + ": ";
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        std::vector<int32> picked;
        std::string wrong;
        if (answer.empty())
            return Step::Next;
        if (TerminalDialog::ParseNumbers(answer, int32(volumes.size()), picked, wrong)
            && picked.size() == 1) {
            fSession->SetVolume(volumes[size_t(picked[0])]);
            return Step::Next;
        }
        fDialog->NotUnderstood(answer);
    }
    return Step::Cancelled;
}

void StowclearFlow::ListEntries()
{
    fDialog->PrintLine();
    fDialog->PrintLine(StowclearString(kTextResults));
    for (int32 i = 0; i < fSession->CountFound(); ++i) {
        const char* format = fSession->IsSelected(i) ? "  %3d [x] %s%s" : "  %3d [ ] %s%s";
        fDialog->PrintLine(Row(format, int(i) + 1, fSession->FoundAt(i), ""));
    }
}

StowclearFlow::Step StowclearFlow::ChooseEntries()
{
    AlertRequest words;
    words.buttons = {StowclearString(kTextAll), StowclearString(kTextNone)};
    std::string prompt = fill_in(StowclearString(kFlowEntriesPrompt), words.buttons) + ": ";
    ListEntries();
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        std::vector<int32> picked;
        std::string wrong;
        if (answer.empty()) {
            // As the removal window's Deinstall button, going on needs an entry.
            if (fSession->CountSelected() > 0)
                return Step::Next;
            fDialog->PrintLine(StowclearString(kFlowSelectAnEntry));
            continue;
        }
        int32 word = TextAlertPresenter::MatchButton(words, answer);
        if (word >= 0) {
            fSession->SelectAll(word == 0);
        } else if (TerminalDialog::ParseNumbers(answer, fSession->CountFound(), picked, wrong)) {
            for (int32 index : picked)
                fSession->SetSelected(index, !fSession->IsSelected(index));
        } else {
            fDialog->NotUnderstood(wrong);
            continue;
        }
        ListEntries();
    }
    return Step::Cancelled;
}

std::string StowclearFlow::DestinationText() const
{
    if (!fSession->MovesToTrash())
        return fSession->MovePath();
    return StowclearString(kFlowTrash) + " (" + fSession->MovePath() + ")";
}

StowclearFlow::Step StowclearFlow::ChooseDestination()
{
    std::string trash = StowclearString(kFlowTrash);
    std::string preset = fSession->MovesToTrash() ? trash : fSession->MovePath();
    std::string prompt = fill_in(StowclearString(kFlowDestinationPrompt), {trash, preset}) + ": ";
    fDialog->PrintLine();
    std::string answer;
    while (fDialog->Ask(prompt, answer)) {
        if (answer.empty())
            return Step::Next;
        if (IsWord(answer, trash)) {
            fSession->SetMovePath(nullptr);
            return Step::Next;
        }
        if (fSession->SetMovePath(TerminalDialog::ExpandHome(answer).c_str()))
            return Step::Next;
        fDialog->PrintLine(fill_in(StowclearString(kFlowNotAFolder), {answer}));
    }
    return Step::Cancelled;
}

StowclearFlow::Step StowclearFlow::Confirm()
{
    fDialog->PrintLine(fill_in(StowclearString(kFlowSummary),
        {std::to_string(fSession->CountSelected()), DestinationText()}));
    int32 answer
        = fDialog->Choose({StowclearString(kTextDeinstall), StowclearString(kFlowCancel)}, 0);
    return answer == 0 ? Step::Next : Step::Cancelled;
}
