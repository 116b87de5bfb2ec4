// Alerts as text: on a terminal the alert is printed and the user types a
// button's label (any letter case; a unique beginning is enough); without
// one the default answer is taken and reported. docs/alerts.md shows the form.
#pragma once

#include "AlertPresenter.h"

#include <iosfwd>

enum class TextPrompting {
    Ask,         // read answers from the input
    TakeDefault, // answer every alert with its default, as unattended
};

class TextAlertPresenter : public AlertPresenter {
public:
    // Standard input and error; asks when standard input is a terminal.
    TextAlertPresenter();
    TextAlertPresenter(std::istream& in, std::ostream& out, TextPrompting prompting);

    AlertAnswer Ask(const AlertRequest& request) override;
    void Show(const AlertRequest& request) override;

    // The button whose label `typed` names: the label itself (letter case
    // ignored), else the only label that begins with it; -1 otherwise.
    static int32 MatchButton(const AlertRequest& request, const std::string& typed);

private:
    void PrintAlert(const AlertRequest& request);
    int32 ReadButton(const AlertRequest& request);
    bool ReadCheckBox(const AlertCheckBox& checkBox);
    bool ReadLine(std::string& line);

    std::istream& fIn;
    std::ostream& fOut;
    TextPrompting fPrompting;
};
