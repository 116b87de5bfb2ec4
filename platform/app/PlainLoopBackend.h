// The loop's wait when there is no display: a condition that Wake() sets.
#pragma once

#include "LoopBackend.h"

// Waits on a condition; nothing to draw.
class PlainLoopBackend final : public LoopBackend {
public:
    void Wait(bigtime_t timeout) override;
    void Wake() override;

private:
    struct State;
    State& Shared();
};
