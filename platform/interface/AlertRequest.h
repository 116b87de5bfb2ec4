// What an alert asks and what its answer was: the one description that the
// alert service hands to whichever presenter shows it (a terminal prompt now,
// a window later). docs/alerts.md lists the purposes and default answers.
#pragma once

#include "BRect.h"
#include "SupportDefs.h"

#include <optional>
#include <string>
#include <vector>

enum alert_type {
    B_EMPTY_ALERT = 0,
    B_INFO_ALERT,
    B_IDEA_ALERT,
    B_WARNING_ALERT,
    B_STOP_ALERT,
};

enum button_width {
    B_WIDTH_AS_USUAL,
    B_WIDTH_FROM_WIDEST,
    B_WIDTH_FROM_LABEL,
};

// An option the user may tick besides choosing a button ("apply to all").
struct AlertCheckBox {
    std::string label;
    bool checked = false;
};

// A view of a dialog's detail area, placed as the caller lays it out (the
// collision dialog's rows): its frame is relative to the top left of the
// alert's text.
struct AlertDetailView {
    enum Kind {
        kText,     // one line of text
        kIcon,     // the large icon of the file at `text`
        kCheckBox, // where the check box goes
    };
    std::string name;
    BRect frame;
    std::string text;
    Kind kind = kText;
    float fontSize = 10;
};

struct AlertRequest {
    std::string title;
    std::string text;
    std::vector<std::string> buttons; // left to right; the answer is an index
    std::vector<char> shortcuts;      // parallel to buttons, 0 for none
    alert_type type = B_INFO_ALERT;
    button_width width = B_WIDTH_AS_USUAL;
    // The answer taken without asking (unattended, or no terminal). Chosen
    // by the caller; an index outside the buttons means button 0.
    int32 defaultButton = 0;
    // Names what the alert is for ("message", "requirement", ...), so that
    // a program can answer it in advance without matching its text.
    std::string purpose;
    // Lines shown under the text (the two entries of a name collision).
    std::vector<std::string> details;
    std::optional<AlertCheckBox> checkBox;
    // When given, a windowed presenter shows these instead of the detail
    // lines, in a window that many points taller.
    std::vector<AlertDetailView> detailViews;
    float detailHeight = 0;

    // defaultButton made valid; -1 when there are no buttons.
    int32 DefaultAnswer() const;
};

struct AlertAnswer {
    int32 button = -1; // -1: not answered (no buttons, or asked from a presenter)
    bool checked = false;
};

// The answer an alert gets without asking: its default button, the check
// box as it was offered.
AlertAnswer alert_default_answer(const AlertRequest& request);

// The lines that record an alert and the answer it got without the user:
// the title (when there is one), the text, each detail indented by four
// spaces, the check box as "[x] label" or "[ ] label", and "-> <button>".
std::string alert_answer_report(const AlertRequest& request, const AlertAnswer& answer);
