// What the deinstaller shows on standard error while it searches and
// removes, from the same 'snfi', 'slmt', 'srpb' and 'LThC' messages a window
// would get: on a terminal one line redrawn in place (entries searched,
// entries found, the folder being read; then the count-down of the removal),
// else plain lines a log can keep. Problems of the removal get a line of
// their own either way.
#pragma once

#include "BLooper.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <set>
#include <string>

enum class ProgressStyle {
    Terminal, // a line redrawn in place
    Lines,    // a line now and then, one per removed entry
};

class DeinstallProgress : public BLooper {
public:
    // `columns`: the terminal's width, which a redrawn line never exceeds.
    DeinstallProgress(ProgressStyle style, FILE* out, int columns = 80);

    void MessageReceived(BMessage* message) override;

    // Called on the looper's thread when a worker's completion message
    // arrives (to wake a thread that also waits for stop signals).
    void SetEndHook(std::function<void()> hook);
    // Whether the worker thread of that name ("search", "remove") has ended.
    bool Ended(const std::string& name) const;
    // Waits until every message sent so far has been shown, then clears the
    // line being redrawn.
    void Flush();

    // The search's last counts.
    int64 Entries() const;
    std::string Found() const;

private:
    void SearchProgress(const BMessage& message);
    void RemovalProgress(const BMessage& message);
    void ShowProblem(const char* text);
    void Show(const std::string& line);
    void EndLine();

    ProgressStyle fStyle;
    FILE* fOut;
    int fColumns;
    bool fLineOpen = false;
    std::chrono::steady_clock::time_point fLastLine;

    mutable std::mutex fLock;
    std::condition_variable fChanged;
    std::set<std::string> fEnded;
    std::function<void()> fEndHook;
    int64 fFlushesAsked = 0;
    int64 fFlushesDone = 0;
    int64 fEntries = 0;
    std::string fFound = "0";
};
