#include "TextAlertPresenter.h"

#include <cstring>
#include <iostream>
#include <unistd.h>

namespace {

// Letter case is folded for ASCII only; other bytes must match exactly.
bool EqualFolded(const std::string& a, const std::string& b, size_t length)
{
    if (a.size() < length || b.size() < length)
        return false;
    for (size_t i = 0; i < length; i++) {
        unsigned char x = (unsigned char)a[i];
        unsigned char y = (unsigned char)b[i];
        if (x < 0x80 && y < 0x80) {
            x = (unsigned char)tolower(x);
            y = (unsigned char)tolower(y);
        }
        if (x != y)
            return false;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string ButtonChoices(const AlertRequest& request)
{
    std::string out;
    for (size_t i = 0; i < request.buttons.size(); i++) {
        if (i > 0)
            out += " / ";
        out += request.buttons[i];
    }
    return out;
}

} // namespace

TextAlertPresenter::TextAlertPresenter()
    : TextAlertPresenter(
        std::cin, std::cerr, isatty(STDIN_FILENO) ? TextPrompting::Ask : TextPrompting::TakeDefault)
{ }

TextAlertPresenter::TextAlertPresenter(std::istream& in, std::ostream& out, TextPrompting prompting)
    : fIn(in)
    , fOut(out)
    , fPrompting(prompting)
{ }

int32 TextAlertPresenter::MatchButton(const AlertRequest& request, const std::string& typed)
{
    if (typed.empty())
        return -1;
    int32 prefixMatch = -1;
    int32 prefixCount = 0;
    for (size_t i = 0; i < request.buttons.size(); i++) {
        const std::string& label = request.buttons[i];
        if (label.size() == typed.size() && EqualFolded(label, typed, typed.size()))
            return int32(i);
        if (EqualFolded(label, typed, typed.size())) {
            prefixMatch = int32(i);
            prefixCount++;
        }
    }
    return prefixCount == 1 ? prefixMatch : -1;
}

AlertAnswer TextAlertPresenter::Ask(const AlertRequest& request)
{
    AlertAnswer answer = alert_default_answer(request);
    if (fPrompting == TextPrompting::TakeDefault) {
        fOut << alert_answer_report(request, answer) << std::flush;
        return answer;
    }
    PrintAlert(request);
    answer.button = ReadButton(request);
    if (request.checkBox.has_value())
        answer.checked = ReadCheckBox(*request.checkBox);
    return answer;
}

void TextAlertPresenter::Show(const AlertRequest& request)
{
    PrintAlert(request);
    fOut << std::flush;
}

void TextAlertPresenter::PrintAlert(const AlertRequest& request)
{
    if (!request.title.empty())
        fOut << request.title << '\n';
    fOut << request.text << '\n';
    for (const std::string& detail : request.details)
        fOut << "    " << detail << '\n';
}

bool TextAlertPresenter::ReadLine(std::string& line)
{
    if (!std::getline(fIn, line))
        return false;
    line = Trimmed(line);
    return true;
}

int32 TextAlertPresenter::ReadButton(const AlertRequest& request)
{
    int32 fallback = request.DefaultAnswer();
    std::string prompt = ButtonChoices(request) + " [" + request.buttons[size_t(fallback)] + "]: ";
    while (true) {
        fOut << prompt << std::flush;
        std::string line;
        if (!ReadLine(line)) {
            fOut << "-> " << request.buttons[size_t(fallback)] << '\n' << std::flush;
            return fallback;
        }
        if (line.empty())
            return fallback;
        int32 button = MatchButton(request, line);
        if (button >= 0)
            return button;
        fOut << "? " << line << '\n';
    }
}

bool TextAlertPresenter::ReadCheckBox(const AlertCheckBox& checkBox)
{
    std::string prompt = "[" + std::string(checkBox.checked ? "x" : " ") + "] " + checkBox.label
        + "? y/n [" + (checkBox.checked ? "y" : "n") + "]: ";
    while (true) {
        fOut << prompt << std::flush;
        std::string line;
        if (!ReadLine(line) || line.empty())
            return checkBox.checked;
        for (const char* yes : {"y", "yes"}) {
            if (line.size() == strlen(yes) && EqualFolded(line, yes, line.size()))
                return true;
        }
        for (const char* no : {"n", "no"}) {
            if (line.size() == strlen(no) && EqualFolded(line, no, line.size()))
                return false;
        }
        fOut << "? " << line << '\n';
    }
}
