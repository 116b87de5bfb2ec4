// What a command-line install shows on standard error while the run goes:
// the run's status lines and, on a terminal, a progress bar in bytes with
// an estimate of the time left, redrawn at most ten times a second. Without
// a terminal only the status lines are written, one per line. It receives
// the run's 'isud', 'ispr' and 'LThC' messages.
#pragma once

#include "BLooper.h"
#include "BMessage.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

// The words of the bar; a guided flow gives them in the user's language.
struct ProgressBarWords {
    std::string ofTotal = "%s of %s";
    std::string left = "%s left";
    std::string done = "done";
};

class InstallProgress;

// While it lives, every alert first lets the progress show the status lines
// the run sent before it.
class AlertsAfterProgress {
public:
    explicit AlertsAfterProgress(InstallProgress& progress);
    ~AlertsAfterProgress();
    AlertsAfterProgress(const AlertsAfterProgress&) = delete;
    AlertsAfterProgress& operator=(const AlertsAfterProgress&) = delete;
};

class InstallProgress : public BLooper {
public:
    enum class Display { Bar, Lines };

    InstallProgress(FILE* out, Display display, int columns);

    void MessageReceived(BMessage* message) override;

    // Whether the run has ended, and its 'LThC'.
    bool Finished() const { return fFinished; }
    const BMessage& EndMessage() const { return fEnd; }
    // Ends the bar's line, so that later text starts on a line of its own.
    void EndLine();
    void SetWords(const ProgressBarWords& words) { fWords = words; }
    // While paused (an alert is on the terminal) the bar is not drawn;
    // pausing ends the bar's line. Called with the looper locked.
    void Pause(bool paused);
    // Returns once every message sent to the looper before the call has been
    // shown (at once on the thread that dispatches them), so that an alert
    // the run asks next cannot overtake the status lines before it.
    void CatchUp();

    // The bar's line for `done` of `total` bytes after `elapsed`, at most
    // `columns` characters: "[=====>    ]  45%  4.5 MB of 10.0 MB  0:12 left".
    static std::string BarText(uint64 done, uint64 total, std::chrono::milliseconds elapsed,
        int columns, const ProgressBarWords& words = ProgressBarWords());

private:
    void ShowStatus(const char* text);
    void ShowProgress(uint64 done, uint64 total);
    void DrawBar();

    FILE* fOut;
    Display fDisplay;
    int fColumns;
    bool fFinished = false;
    BMessage fEnd;
    bool fBarShown = false;
    uint64 fDone = 0;
    uint64 fTotal = 0;
    std::chrono::steady_clock::time_point fStart;
    std::chrono::steady_clock::time_point fLastDraw;
    bool fStarted = false;
    bool fComplete = false; // every byte is in place: the bar is drawn no more
    bool fPaused = false;
    ProgressBarWords fWords;
    std::mutex fCaughtUpLock;
    std::condition_variable fCaughtUp;
    uint64 fCatchUpAsked = 0;
    uint64 fCatchUpDone = 0;
};
