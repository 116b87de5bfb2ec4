// Shows alerts to the user. The alert service calls one presenter at a time
// and never from two threads at once; a presenter must not ask alerts itself.
#pragma once

#include "AlertRequest.h"

class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;

    // Shows the alert and waits for the user's answer.
    virtual AlertAnswer Ask(const AlertRequest& request) = 0;
    // Shows the alert and returns at once; nobody waits for its answer.
    virtual void Show(const AlertRequest& request) = 0;
};
