// A modal alert: a text and up to three buttons, answered through the
// process's alert service (AlertService). Unlike the classic kit's window,
// an alert here is a plain object: Go() does not delete it.
#pragma once

#include "AlertRequest.h"

class AlertService;

class BAlert {
public:
    BAlert(const char* title, const char* text, const char* button0, const char* button1 = nullptr,
        const char* button2 = nullptr, button_width width = B_WIDTH_AS_USUAL,
        alert_type type = B_INFO_ALERT);

    void SetShortcut(int32 index, char key);
    char Shortcut(int32 index) const;
    int32 CountButtons() const { return int32(fRequest.buttons.size()); }

    // What answers the alert when nobody is asked; the last button unless set.
    void SetDefaultButton(int32 index);
    // The tag by which a program answers alerts in advance (docs/alerts.md).
    void SetPurpose(const char* purpose);
    void AddDetail(const char* line);
    // Lays the detail area out view by view for a windowed presenter, which
    // makes the window `height` points taller for it.
    void AddDetailView(const AlertDetailView& view);
    void SetDetailHeight(float height);
    void SetCheckBox(const char* label, bool checked);
    // The check box's state: as offered before Go(), as answered after it.
    bool CheckBoxValue() const;

    // Waits for the answer: the chosen button's index, or -1 when the alert
    // could not be shown (asked from inside a presenter).
    int32 Go();
    int32 Go(AlertService& service);
    // Shows the alert and returns at once (the kit's Go with no invoker).
    status_t GoWithoutWaiting();
    status_t GoWithoutWaiting(AlertService& service);

    const AlertRequest& Request() const { return fRequest; }

private:
    AlertRequest fRequest;
};
