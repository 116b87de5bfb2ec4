#include "TerminalInput.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr size_t kChunk = 4096;

} // namespace

TerminalInput::TerminalInput(int fd)
    : fFd(fd)
{
    if (pipe2(fCancelPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        fCancelPipe[0] = fCancelPipe[1] = -1;
}

TerminalInput::~TerminalInput()
{
    for (int end : fCancelPipe) {
        if (end >= 0)
            close(end);
    }
}

TerminalInput::Read TerminalInput::ReadLine(std::string& line, StopSignals& signals)
{
    return Next(line, &signals);
}

TerminalInput::Read TerminalInput::ReadLine(std::string& line)
{
    return Next(line, nullptr);
}

void TerminalInput::Cancel()
{
    fCancelled.store(true);
    char byte = 0;
    if (fCancelPipe[1] >= 0)
        (void)!write(fCancelPipe[1], &byte, 1);
}

TerminalInput::Read TerminalInput::Next(std::string& line, StopSignals* signals)
{
    std::lock_guard<std::mutex> reading(fLock);
    while (true) {
        if (fCancelled.load())
            return Read::Cancelled;
        if (TakeLine(line))
            return Read::Line;
        if (fEnded) {
            // What was typed before the end without a newline is still a line.
            if (fPending.empty())
                return Read::End;
            line.swap(fPending);
            fPending.clear();
            return Read::Line;
        }
        if (signals != nullptr) {
            StopSignals::Event event = signals->Wait(-1, fFd);
            if (event == StopSignals::Event::Interrupted)
                return Read::Interrupted;
            if (event != StopSignals::Event::Readable)
                continue;
        } else {
            struct pollfd pollers[2] = {{fFd, POLLIN, 0}, {fCancelPipe[0], POLLIN, 0}};
            int ready = poll(pollers, 2, -1);
            if (ready < 0 && errno != EINTR)
                return Read::End;
            if (ready <= 0 || pollers[0].revents == 0)
                continue;
        }
        fEnded = !Fill();
    }
}

bool TerminalInput::TakeLine(std::string& line)
{
    size_t end = fPending.find('\n');
    if (end == std::string::npos)
        return false;
    line = fPending.substr(0, end);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    fPending.erase(0, end + 1);
    return true;
}

bool TerminalInput::Fill()
{
    char bytes[kChunk];
    ssize_t got;
    while ((got = read(fFd, bytes, sizeof bytes)) < 0 && errno == EINTR) { }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return true; // nothing after all; the next wait sees more
    if (got <= 0)
        return false;
    fPending.append(bytes, size_t(got));
    return true;
}
