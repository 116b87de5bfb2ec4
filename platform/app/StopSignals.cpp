#include "StopSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};
constexpr char kWakeByte = 0;

// The handler reaches the pipe through these; only one object exists.
std::atomic<int> sWriteEnd {-1};
std::atomic<int> sLastSignal {0};
int sReadEnd = -1;
struct sigaction sPrevious[2];

void OnSignal(int signal)
{
    int savedErrno = errno;
    sLastSignal.store(signal);
    char byte = char(signal);
    int fd = sWriteEnd.load();
    if (fd >= 0)
        (void)!write(fd, &byte, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals()
{
    if (sWriteEnd.load() >= 0) {
        fStatus = B_NOT_ALLOWED;
        return;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        fStatus = status_from_errno(errno);
        return;
    }
    sReadEnd = fds[0];
    sWriteEnd.store(fds[1]);
    sLastSignal.store(0);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < 2; ++i)
        sigaction(kSignals[i], &action, &sPrevious[i]);
    fStatus = B_OK;
}

StopSignals::~StopSignals()
{
    if (fStatus != B_OK)
        return;
    for (size_t i = 0; i < 2; ++i)
        sigaction(kSignals[i], &sPrevious[i], nullptr);
    close(sWriteEnd.exchange(-1));
    close(sReadEnd);
    sReadEnd = -1;
}

StopSignals::Event StopSignals::Wait(bigtime_t timeout)
{
    return Wait(timeout, -1);
}

StopSignals::Event StopSignals::Wait(bigtime_t timeout, int input)
{
    if (fStatus != B_OK)
        return Event::TimedOut;
    // poll() skips an entry whose descriptor is negative.
    struct pollfd pollers[2] = {{sReadEnd, POLLIN, 0}, {input, POLLIN, 0}};
    int milliseconds = timeout < 0 ? -1 : int((timeout + 999) / 1000);
    int ready;
    while ((ready = poll(pollers, 2, milliseconds)) < 0 && errno == EINTR) { }
    if (ready <= 0)
        return Event::TimedOut;
    if (pollers[0].revents == 0)
        return Event::Readable;
    bool interrupted = false;
    char bytes[64];
    ssize_t got;
    while ((got = read(sReadEnd, bytes, sizeof(bytes))) > 0) {
        for (ssize_t i = 0; i < got; ++i)
            interrupted = interrupted || bytes[i] != kWakeByte;
    }
    // A ready input stays ready for the next wait.
    return interrupted ? Event::Interrupted : Event::Woken;
}

void StopSignals::Wake()
{
    int fd = sWriteEnd.load();
    if (fd >= 0)
        (void)!write(fd, &kWakeByte, 1);
}

int StopSignals::LastSignal() const
{
    return sLastSignal.load();
}
