// The window of one alert: its type's icon, the text, the detail rows (as
// the caller laid them out, or one line each), the check box and the
// buttons. Return presses the default answer's button, Escape answers the
// default too (the cautious choice), and a button's shortcut letter presses
// it. Whoever waits learns the answer through the shared state.
#pragma once

#include "AlertRequest.h"
#include "BWindow.h"

#include <condition_variable>
#include <memory>
#include <mutex>

class BCheckBox;

// How an alert ended, for the thread that waits.
struct AlertState {
    std::mutex lock;
    std::condition_variable_any answered;
    bool done = false;
    AlertAnswer answer;
};

class AlertWindow : public BWindow {
public:
    enum : uint32 {
        kButtonPressed = FourCC('a', 'l', 'B', 'P'),
        kCancelled = FourCC('a', 'l', 'C', 'X'),
    };

    AlertWindow(const AlertRequest& request, std::shared_ptr<AlertState> state);
    ~AlertWindow() override;

    void MessageReceived(BMessage* message) override;
    void DispatchMessage(BMessage* message, BHandler* handler) override;
    bool QuitRequested() override;

private:
    void Build();
    float AddDetails(float top, float textLeft, float width);
    void AddButtons(float bottom);
    void Answer(int32 button);

    AlertRequest fRequest;
    std::shared_ptr<AlertState> fState;
    BCheckBox* fCheckBox = nullptr;
    bool fAnswered = false;
};
