#include "DisplayLoopBackend.h"

namespace {

// Waits "for ever" in slices of an hour; a Wake() ends any of them.
constexpr double kLongWait = 3600;

} // namespace

DisplayLoopBackend::DisplayLoopBackend(native::Display* display)
    : fDisplay(display)
{ }

void DisplayLoopBackend::Wait(bigtime_t timeout)
{
    fDisplay->Wait(timeout == B_INFINITE_TIMEOUT ? kLongWait : double(timeout) / 1e6);
}

void DisplayLoopBackend::Wake()
{
    fDisplay->Wake();
}
