// The conversation of a guided flow on a terminal, line by line: prompts on
// standard output and answers from standard input, a text shown a screenful
// at a time, choices typed as their labels, numbers picked from a list. While
// it lives, every alert of the process is asked here too (through the text
// presenter), and Ctrl-C or the end of the input cancels the prompt or the
// alert being asked and every later one, so that a flow never waits for an
// answer that cannot come.
#pragma once

#include "StopSignals.h"
#include "TerminalInput.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class AlertPresenter;

class TerminalDialog {
public:
    TerminalDialog();
    ~TerminalDialog();
    TerminalDialog(const TerminalDialog&) = delete;
    TerminalDialog& operator=(const TerminalDialog&) = delete;

    // B_OK when stop signals can be caught.
    status_t InitCheck() const { return fSignals.InitCheck(); }

    // A prompt, wrapped at spaces to the terminal's width; the cursor stays
    // after it.
    void Print(const std::string& text);
    // A line as it is: paths in it stay whole for copying.
    void PrintLine(const std::string& line = {});
    // A text wrapped at spaces to the terminal's width, the lines after its
    // first `indent` columns in (a table row's last column stays in its
    // column).
    void PrintWrapped(const std::string& text, int indent = 0);
    // "? <typed>": the answer was not understood and the prompt comes again.
    void NotUnderstood(const std::string& typed);

    // Shows `prompt` and reads the answer, without surrounding blanks. False
    // when the user ended the input or pressed Ctrl-C, then and ever after.
    bool Ask(const std::string& prompt, std::string& answer);
    // Asks for one of `labels` as an alert does ("Agree / Cancel [Cancel]: ";
    // a label or the only label that begins with the typed text, in any
    // letter case). An empty line takes `defaultIndex`, or asks again when it
    // is -1. -1 when cancelled.
    int32 Choose(const std::vector<std::string>& labels, int32 defaultIndex);
    // Shows `text` wrapped to the terminal's width, a screenful at a time,
    // with `more` as the prompt between screens. Paging ends early at the
    // first non-empty line typed at that prompt, which lands in `typed`.
    // False when cancelled.
    bool Page(const std::string& text, const std::string& more, std::string& typed);

    // While workers go: calls `done` first and after every Wake() until it
    // holds. False when a stop signal came first; then the input is
    // cancelled, so that a question a worker asks meanwhile takes its
    // default answer at once.
    bool WaitUntil(const std::function<bool()>& done);
    // From any thread (and from a worker's completion hook).
    void Wake() { fSignals.Wake(); }
    // Whether Ctrl-C (or a termination signal) ended a wait or a prompt.
    bool Interrupted() const { return fInterrupted; }

    // Called around every alert shown here, on the alert's thread: a
    // progress line being redrawn makes way and waits.
    void SetAlertHooks(std::function<void()> before, std::function<void()> after);

    int Columns() const;
    int Rows() const;
    // `text` as the lines it takes at the terminal's width.
    std::string Wrapped(const std::string& text, int indent = 0) const;

    // The line of an alert's answer, read on whichever thread asks.
    TerminalInput::Read ReadAlertLine(std::string& line);
    void BeforeAlert();
    void AfterAlert();

    // "3", "1 4,6" or "2-5" (counting from 1) as indexes counting from 0,
    // in the order given; false, with the first word that names no number
    // from 1 to `count` in `wrong`, otherwise.
    static bool ParseNumbers(
        const std::string& text, int32 count, std::vector<int32>& indexes, std::string& wrong);
    // A typed folder with "~" or "~/..." made the home folder's, as a shell
    // would have it.
    static std::string ExpandHome(const std::string& typed);
    // The lines of `text` at most `columns` characters wide, broken at
    // spaces where a line has one.
    static std::vector<std::string> Wrap(const std::string& text, int columns);

private:
    bool Read(std::string& line);

    StopSignals fSignals;
    TerminalInput fInput;
    std::atomic<bool> fInterrupted {false};
    std::thread::id fOwner;
    std::function<void()> fBeforeAlert;
    std::function<void()> fAfterAlert;
    std::shared_ptr<AlertPresenter> fPresenter;
    std::shared_ptr<AlertPresenter> fPrevious;
};
