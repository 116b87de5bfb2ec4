// What the deinstaller shows while it searches and removes, from the same
// 'snfi', 'slmt', 'srpb' and 'LThC' messages a window would get: on a
// terminal one line redrawn in place (entries searched, entries found, the
// folder being read; then the count-down of the removal), else plain lines a
// log can keep; or, for the guided flow, the window's status bar drawn as a
// line (the bytes searched of the volume's used bytes, the folder and the
// found count; then the entries still to move, counting down). Problems of
// the removal get a line of their own in every style.
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
    Terminal,  // a line redrawn in place
    Lines,     // a line now and then, one per removed entry
    StatusBar, // the window's status bar as a line redrawn in place
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

    // The status bar: where a search's bar is full, and the word after the
    // found count ("found" in the user's language). Set before the search.
    void SetSearchMaximum(int64 bytes) { fMaximum = bytes; }
    void SetFoundWord(const std::string& word) { fFoundWord = word; }
    // While paused (an alert is on the terminal) nothing is redrawn; pausing
    // clears the line being redrawn. Called with the looper locked.
    void Pause(bool paused);

private:
    void SearchProgress(const BMessage& message);
    void RemovalProgress(const BMessage& message);
    void DrawStatusBar(const std::string& text, const std::string& trailing);
    void ShowProblem(const char* text);
    void Show(const std::string& line);
    void EndLine();

    ProgressStyle fStyle;
    FILE* fOut;
    int fColumns;
    bool fLineOpen = false;
    std::chrono::steady_clock::time_point fLastLine;
    bool fPaused = false;
    // The status bar's state.
    int64 fMaximum = 0;
    int64 fValue = 0;
    std::string fFoundWord = "found";

    mutable std::mutex fLock;
    std::condition_variable fChanged;
    std::set<std::string> fEnded;
    std::function<void()> fEndHook;
    int64 fFlushesAsked = 0;
    int64 fFlushesDone = 0;
    int64 fEntries = 0;
    std::string fFound = "0";
};
