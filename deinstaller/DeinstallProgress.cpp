#include "DeinstallProgress.h"

#include "DeinstallRemoval.h"
#include "DeinstallSearch.h"
#include "LibThread.h"

#include <algorithm>

namespace {

constexpr uint32 kFlushMessage = 'Dflu';
// Plain lines of the search come at most this often.
constexpr std::chrono::seconds kLineInterval {2};

} // namespace

DeinstallProgress::DeinstallProgress(ProgressStyle style, FILE* out, int columns)
    : BLooper("progress")
    , fStyle(style)
    , fOut(out)
    , fColumns(columns)
{ }

void DeinstallProgress::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kSearchProgressMessage:
        if (message->FindFloat("size") < 0)
            RemovalProgress(*message);
        else
            SearchProgress(*message);
        break;
    case kRemovalLimitMessage:
        // The bar starts full and counts down.
        fMaximum = fValue = message->FindInt32("size");
        break;
    case kRemovalProblemMessage:
        ShowProblem(message->FindString("message"));
        break;
    case kLibThreadCompleted: {
        std::function<void()> hook;
        {
            std::lock_guard<std::mutex> guard(fLock);
            fEnded.insert(message->FindString("name"));
            hook = fEndHook;
        }
        if (hook)
            hook();
        break;
    }
    case kFlushMessage: {
        EndLine();
        std::lock_guard<std::mutex> guard(fLock);
        ++fFlushesDone;
        fChanged.notify_all();
        break;
    }
    default:
        BLooper::MessageReceived(message);
    }
}

void DeinstallProgress::SearchProgress(const BMessage& message)
{
    const char* folder = message.FindString("folder");
    const char* found = message.FindString("found");
    {
        std::lock_guard<std::mutex> guard(fLock);
        fEntries = message.FindInt64("entries");
        fFound = found != nullptr ? found : "0";
    }
    std::string line = std::to_string(Entries()) + " searched, " + Found() + " found";
    if (fStyle == ProgressStyle::StatusBar) {
        fValue += int64(message.FindFloat("size"));
        DrawStatusBar(
            std::string(".../") + (folder != nullptr ? folder : ""), Found() + " " + fFoundWord);
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (fLastLine == std::chrono::steady_clock::time_point())
        fLastLine = now; // the first plain line after an interval
    if (fStyle == ProgressStyle::Terminal) {
        Show(line + "  " + (folder != nullptr ? folder : ""));
    } else if (Entries() > 0 && now - fLastLine >= kLineInterval) {
        fLastLine = now;
        fprintf(fOut, "%s\n", line.c_str());
        fflush(fOut);
    }
}

void DeinstallProgress::RemovalProgress(const BMessage& message)
{
    const char* leaf = message.FindString("folder");
    const char* left = message.FindString("found");
    if (fStyle == ProgressStyle::StatusBar) {
        // A folder that left whole counts down by everything it took along.
        fValue = std::max<int64>(fValue + int64(message.FindFloat("size")), 0);
        DrawStatusBar(leaf != nullptr ? leaf : "", left != nullptr ? left : "");
        return;
    }
    std::string line = std::string("Removing ") + (leaf != nullptr ? leaf : "") + " ("
        + (left != nullptr ? left : "?") + " left)";
    if (fStyle == ProgressStyle::Terminal) {
        Show(line);
        return;
    }
    fprintf(fOut, "%s\n", line.c_str());
    fflush(fOut);
}

void DeinstallProgress::DrawStatusBar(const std::string& text, const std::string& trailing)
{
    constexpr int64 kBarWidth = 20;
    int64 filled
        = fMaximum > 0 ? std::clamp<int64>(fValue * kBarWidth / fMaximum, 0, kBarWidth) : 0;
    std::string bar = "[" + std::string(size_t(filled), '=')
        + std::string(size_t(kBarWidth - filled), ' ') + "] ";
    Show(bar + trailing + "  " + text);
}

void DeinstallProgress::Pause(bool paused)
{
    if (paused)
        EndLine();
    fPaused = paused;
}

void DeinstallProgress::ShowProblem(const char* text)
{
    EndLine();
    fprintf(fOut, "%s\n", text);
    fflush(fOut);
}

void DeinstallProgress::Show(const std::string& line)
{
    if (fPaused)
        return;
    // Cut to the terminal's width so the line never wraps; the cut never
    // splits a character.
    size_t width = size_t(fColumns > 1 ? fColumns - 1 : 79);
    std::string shown = line;
    if (shown.size() > width) {
        size_t cut = width;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown.resize(cut);
    }
    fprintf(fOut, "\r%s\x1b[K", shown.c_str());
    fflush(fOut);
    fLineOpen = true;
}

void DeinstallProgress::EndLine()
{
    if (!fLineOpen)
        return;
    // The line made way for what the program writes next.
    fputs("\r\x1b[K", fOut);
    fflush(fOut);
    fLineOpen = false;
}

void DeinstallProgress::SetEndHook(std::function<void()> hook)
{
    std::lock_guard<std::mutex> guard(fLock);
    fEndHook = std::move(hook);
}

bool DeinstallProgress::Ended(const std::string& name) const
{
    std::lock_guard<std::mutex> guard(fLock);
    return fEnded.count(name) > 0;
}

void DeinstallProgress::Flush()
{
    int64 ticket;
    {
        std::lock_guard<std::mutex> guard(fLock);
        ticket = ++fFlushesAsked;
    }
    if (BMessenger(this).SendMessage(kFlushMessage) != B_OK)
        return;
    std::unique_lock<std::mutex> guard(fLock);
    fChanged.wait(guard, [&] { return fFlushesDone >= ticket; });
}

int64 DeinstallProgress::Entries() const
{
    std::lock_guard<std::mutex> guard(fLock);
    return fEntries;
}

std::string DeinstallProgress::Found() const
{
    std::lock_guard<std::mutex> guard(fLock);
    return fFound;
}
