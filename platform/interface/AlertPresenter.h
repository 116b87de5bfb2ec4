// Shows alerts to the user. The alert service calls one presenter at a time
// and never from two threads at once; a presenter must not ask alerts itself.
#pragma once

#include "AlertRequest.h"

#include <functional>

class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;

    // Shows the alert and waits for the user's answer.
    virtual AlertAnswer Ask(const AlertRequest& request) = 0;
    // Shows the alert and returns at once; nobody waits for its answer.
    virtual void Show(const AlertRequest& request) = 0;

    // Whether the calling thread must go on serving while it waits for its
    // turn (the UI thread, which draws and answers the alert before it).
    virtual bool KeepsServing() const { return false; }
    // Serves on the calling thread until `ready()` holds.
    virtual void ServeUntil(const std::function<bool()>& ready) { }
};
