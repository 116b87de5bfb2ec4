// Lines typed on a terminal (or read from any descriptor), read so that the
// wait can end without one: a guided flow reads its answers on the main
// thread, where a stop signal ends the wait, and a worker thread reads the
// answer to an alert, which another thread can cancel. One reader at a time.
#pragma once

#include "StopSignals.h"

#include <atomic>
#include <mutex>
#include <string>

class TerminalInput {
public:
    // Reads `fd`, which it does not own.
    explicit TerminalInput(int fd);
    ~TerminalInput();
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    enum class Read {
        Line,        // a whole line, without its end
        End,         // the input has ended (Ctrl-D on a terminal)
        Interrupted, // a stop signal came
        Cancelled,   // Cancel() was called
    };
    // Waits for the next line, or for a stop signal that `signals` catches.
    Read ReadLine(std::string& line, StopSignals& signals);
    // Waits for the next line, or for Cancel().
    Read ReadLine(std::string& line);
    // From any thread: the wait going on and every later one end as
    // Cancelled.
    void Cancel();
    bool IsCancelled() const { return fCancelled.load(); }

private:
    Read Next(std::string& line, StopSignals* signals);
    bool TakeLine(std::string& line);
    // Reads what the input holds; false at its end or on an error.
    bool Fill();

    int fFd;
    int fCancelPipe[2] = {-1, -1};
    std::atomic<bool> fCancelled {false};
    std::mutex fLock; // one reader at a time
    std::string fPending;
    bool fEnded = false;
};
