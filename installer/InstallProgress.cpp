#include "InstallProgress.h"

#include "AlertService.h"
#include "FillIn.h"
#include "InstallByteProgress.h"
#include "InstallConfig.h"
#include "LibBytes.h"
#include "LibString.h"
#include "LibThread.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds kRedrawInterval {100};
constexpr uint32 kCatchUpMessage = 'ipcu';
// A front end that stopped dispatching does not hold an alert up for long.
constexpr std::chrono::seconds kCatchUpLimit {5};
// Too early for the rate to mean anything.
constexpr std::chrono::milliseconds kEstimateAfter {1000};

std::string Bytes(uint64 count)
{
    LibString text;
    LibBytesToString((unsigned long)count, text, 1);
    return static_cast<const char*>(text);
}

// In characters: a translated word may hold letters of several bytes.
int Width(const std::string& text)
{
    int width = 0;
    for (char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return width;
}

std::string Duration(int64 seconds)
{
    char text[32];
    if (seconds >= 3600)
        snprintf(text, sizeof text, "%lld:%02lld:%02lld", (long long)(seconds / 3600),
            (long long)(seconds / 60 % 60), (long long)(seconds % 60));
    else
        snprintf(
            text, sizeof text, "%lld:%02lld", (long long)(seconds / 60), (long long)(seconds % 60));
    return text;
}

} // namespace

InstallProgress::InstallProgress(FILE* out, Display display, int columns)
    : BLooper("install progress")
    , fOut(out)
    , fDisplay(display)
    , fColumns(std::max(columns, 20))
{ }

AlertsAfterProgress::AlertsAfterProgress(InstallProgress& progress)
{
    AlertService::Default().SetBeforeAlert([&progress] { progress.CatchUp(); });
}

AlertsAfterProgress::~AlertsAfterProgress()
{
    AlertService::Default().SetBeforeAlert(nullptr);
}

void InstallProgress::CatchUp()
{
    if (Thread() == find_thread(nullptr))
        return;
    uint64 ticket;
    {
        std::lock_guard<std::mutex> lock(fCaughtUpLock);
        ticket = ++fCatchUpAsked;
    }
    BMessage marker(kCatchUpMessage);
    marker.AddInt64("ticket", int64(ticket));
    if (PostMessage(&marker) != B_OK)
        return;
    std::unique_lock<std::mutex> lock(fCaughtUpLock);
    fCaughtUp.wait_for(lock, kCatchUpLimit, [&] { return fCatchUpDone >= ticket; });
}

void InstallProgress::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kCatchUpMessage: {
        std::lock_guard<std::mutex> lock(fCaughtUpLock);
        fCatchUpDone = std::max(fCatchUpDone, uint64(message->FindInt64("ticket")));
        fCaughtUp.notify_all();
        break;
    }
    case kInstallStatusMessage:
        ShowStatus(message->FindString("message"));
        break;
    case kInstallProgressMessage:
        ShowProgress(uint64(message->FindInt64("done")), uint64(message->FindInt64("total")));
        break;
    case kLibThreadCompleted:
        EndLine();
        fEnd = *message;
        fFinished = true;
        break;
    default:
        BLooper::MessageReceived(message);
    }
}

void InstallProgress::EndLine()
{
    if (!fBarShown)
        return;
    fputc('\n', fOut);
    fflush(fOut);
    fBarShown = false;
}

void InstallProgress::Pause(bool paused)
{
    if (paused)
        EndLine();
    fPaused = paused;
}

void InstallProgress::ShowStatus(const char* text)
{
    if (fBarShown)
        fputs("\r\033[K", fOut);
    fprintf(fOut, "%s\n", text);
    fBarShown = false;
    if (fDisplay == Display::Bar && fStarted && !fComplete && !fPaused)
        DrawBar();
    fflush(fOut);
}

void InstallProgress::ShowProgress(uint64 done, uint64 total)
{
    auto now = std::chrono::steady_clock::now();
    if (!fStarted) {
        fStart = now;
        fStarted = true;
    }
    fDone = done;
    fTotal = total;
    if (fDisplay != Display::Bar || fComplete || fPaused)
        return;
    if (total > 0 && done >= total) {
        // The last bar keeps its line; later texts start below it.
        DrawBar();
        EndLine();
        fComplete = true;
        return;
    }
    if (fBarShown && now - fLastDraw < kRedrawInterval)
        return;
    DrawBar();
}

void InstallProgress::DrawBar()
{
    auto now = std::chrono::steady_clock::now();
    fLastDraw = now;
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - fStart);
    std::string line = BarText(fDone, fTotal, elapsed, fColumns - 1, fWords);
    fprintf(fOut, "\r\033[K%s", line.c_str());
    fflush(fOut);
    fBarShown = true;
}

std::string InstallProgress::BarText(uint64 done, uint64 total, std::chrono::milliseconds elapsed,
    int columns, const ProgressBarWords& words)
{
    done = std::min(done, total);
    int percent = total == 0 ? 100 : int(done * 100 / total);
    std::string tail = "  " + std::to_string(percent) + "%  "
        + fill_in(words.ofTotal, {Bytes(done), Bytes(total)});
    if (done == total && total > 0) {
        tail += "  " + words.done;
    } else if (elapsed >= kEstimateAfter && done > 0) {
        double rate = double(done) / double(elapsed.count());
        auto left = int64(double(total - done) / rate / 1000.0 + 0.5);
        tail += "  " + fill_in(words.left, {Duration(left)});
    }
    int width = std::min(columns - int(Width(tail)) - 2, 50);
    if (width < 5) {
        // No room for the bar: the text alone, never cut inside a character.
        std::string text = tail.substr(2);
        size_t cut = std::min(text.size(), size_t(std::max(columns, 0)));
        while (
            cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        return text.substr(0, cut);
    }
    int filled = total == 0 ? width : int(done * uint64(width) / total);
    std::string bar(size_t(filled), '=');
    if (filled < width) {
        bar += '>';
        bar.resize(size_t(width), ' ');
    }
    return "[" + bar + "]" + tail;
}
