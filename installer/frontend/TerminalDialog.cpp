#include "TerminalDialog.h"

#include "AlertService.h"
#include "BPath.h"
#include "FindDirectory.h"
#include "TerminalInfo.h"
#include "TextAlertPresenter.h"

#include <algorithm>
#include <iostream>
#include <streambuf>

namespace {

constexpr int kTabWidth = 8;

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Characters, not bytes: a UTF-8 sequence counts once.
size_t Width(const std::string& text)
{
    return size_t(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

// The byte offset after `characters` characters of `text`.
size_t OffsetOf(const std::string& text, size_t characters)
{
    size_t offset = 0;
    for (size_t seen = 0; offset < text.size(); ++offset) {
        if (!IsContinuation(text[offset]) && seen++ == characters)
            break;
    }
    return offset;
}

std::string ExpandTabs(const std::string& line)
{
    std::string out;
    for (char c : line) {
        if (c == '\t')
            out.append(size_t(kTabWidth) - Width(out) % kTabWidth, ' ');
        else
            out += c;
    }
    return out;
}

// The answer to an alert, read through the dialog one line at a time, so
// that a stop or the end of the input ends the alert's wait too.
class AlertInputBuffer : public std::streambuf {
public:
    explicit AlertInputBuffer(TerminalDialog& dialog)
        : fDialog(dialog)
    { }

protected:
    int_type underflow() override
    {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        std::string line;
        if (fDialog.ReadAlertLine(line) != TerminalInput::Read::Line)
            return traits_type::eof();
        fLine = line + "\n";
        setg(fLine.data(), fLine.data(), fLine.data() + fLine.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    TerminalDialog& fDialog;
    std::string fLine;
};

// The text presenter on the dialog's input and standard output.
class DialogAlertPresenter : public AlertPresenter {
public:
    explicit DialogAlertPresenter(TerminalDialog& dialog)
        : fDialog(dialog)
        , fBuffer(dialog)
        , fIn(&fBuffer)
        , fText(fIn, std::cout, TextPrompting::Ask)
    { }

    AlertAnswer Ask(const AlertRequest& request) override
    {
        fDialog.BeforeAlert();
        AlertAnswer answer = fText.Ask(Wrapped(request));
        fDialog.AfterAlert();
        return answer;
    }

    void Show(const AlertRequest& request) override
    {
        fDialog.BeforeAlert();
        fText.Show(Wrapped(request));
        fDialog.AfterAlert();
    }

private:
    AlertRequest Wrapped(const AlertRequest& request) const
    {
        AlertRequest wrapped = request;
        wrapped.text = fDialog.Wrapped(request.text);
        return wrapped;
    }

    TerminalDialog& fDialog;
    AlertInputBuffer fBuffer;
    std::istream fIn;
    TextAlertPresenter fText;
};

} // namespace

TerminalDialog::TerminalDialog()
    : fInput(0)
    , fOwner(std::this_thread::get_id())
    , fPresenter(std::make_shared<DialogAlertPresenter>(*this))
{
    fPrevious = AlertService::Default().SetPresenter(fPresenter);
}

TerminalDialog::~TerminalDialog()
{
    AlertService::Default().SetPresenter(fPrevious);
}

void TerminalDialog::Print(const std::string& text)
{
    std::cout << Wrapped(text) << std::flush;
}

void TerminalDialog::PrintLine(const std::string& line)
{
    std::cout << line << '\n' << std::flush;
}

void TerminalDialog::PrintWrapped(const std::string& text, int indent)
{
    PrintLine(Wrapped(text, indent));
}

std::string TerminalDialog::Wrapped(const std::string& text, int indent) const
{
    const int width = Columns() - 1;
    std::vector<std::string> lines = Wrap(text, width);
    indent = std::clamp(indent, 0, std::max(width - 20, 0));
    if (indent > 0 && lines.size() > 1 && text.find_first_of("\n\t") == std::string::npos) {
        // A table row: what the first line leaves is wrapped again inside
        // the indent.
        size_t rest = text.find_first_not_of(' ', lines[0].size());
        std::vector<std::string> more = Wrap(text.substr(rest), width - indent);
        lines.resize(1);
        for (const std::string& line : more)
            lines.push_back(std::string(size_t(indent), ' ') + line);
    }
    std::string wrapped;
    for (const std::string& line : lines)
        wrapped += (wrapped.empty() && &line == &lines.front() ? "" : "\n") + line;
    return wrapped;
}

void TerminalDialog::NotUnderstood(const std::string& typed)
{
    PrintLine("? " + typed);
}

bool TerminalDialog::Read(std::string& line)
{
    TerminalInput::Read result = fInput.ReadLine(line, fSignals);
    if (result == TerminalInput::Read::Line)
        return true;
    if (result == TerminalInput::Read::Interrupted)
        fInterrupted = true;
    // Whatever asks after this gets no answer either.
    fInput.Cancel();
    return false;
}

bool TerminalDialog::Ask(const std::string& prompt, std::string& answer)
{
    Print(prompt);
    std::string line;
    if (!Read(line)) {
        PrintLine(); // the shell's prompt starts on a line of its own
        return false;
    }
    answer = Trimmed(line);
    return true;
}

int32 TerminalDialog::Choose(const std::vector<std::string>& labels, int32 defaultIndex)
{
    AlertRequest choice;
    choice.buttons = labels;
    std::string prompt;
    for (const std::string& label : labels)
        prompt += (prompt.empty() ? "" : " / ") + label;
    bool hasDefault = defaultIndex >= 0 && size_t(defaultIndex) < labels.size();
    if (hasDefault)
        prompt += " [" + labels[size_t(defaultIndex)] + "]";
    prompt += ": ";
    std::string answer;
    while (Ask(prompt, answer)) {
        if (answer.empty() && hasDefault)
            return defaultIndex;
        if (answer.empty())
            continue;
        int32 index = TextAlertPresenter::MatchButton(choice, answer);
        if (index >= 0)
            return index;
        NotUnderstood(answer);
    }
    return -1;
}

bool TerminalDialog::Page(const std::string& text, const std::string& more, std::string& typed)
{
    typed.clear();
    std::vector<std::string> lines = Wrap(text, Columns() - 1);
    // One line of each screen is the prompt's.
    size_t screen = size_t(std::max(Rows() - 1, 1));
    for (size_t i = 0; i < lines.size(); ++i) {
        PrintLine(lines[i]);
        bool screenFull = (i + 1) % screen == 0;
        if (screenFull && i + 1 < lines.size()) {
            if (!Ask(more, typed))
                return false;
            if (!typed.empty())
                return true;
        }
    }
    return true;
}

bool TerminalDialog::WaitUntil(const std::function<bool()>& done)
{
    while (!done()) {
        if (fSignals.Wait(-1) == StopSignals::Event::Interrupted) {
            fInterrupted = true;
            fInput.Cancel();
            return false;
        }
    }
    return true;
}

void TerminalDialog::SetAlertHooks(std::function<void()> before, std::function<void()> after)
{
    fBeforeAlert = std::move(before);
    fAfterAlert = std::move(after);
}

void TerminalDialog::BeforeAlert()
{
    if (fBeforeAlert)
        fBeforeAlert();
}

void TerminalDialog::AfterAlert()
{
    if (fAfterAlert)
        fAfterAlert();
}

TerminalInput::Read TerminalDialog::ReadAlertLine(std::string& line)
{
    if (std::this_thread::get_id() != fOwner)
        return fInput.ReadLine(line);
    // Asked by the flow's own thread: a stop signal must end this wait too.
    TerminalInput::Read result = fInput.ReadLine(line, fSignals);
    if (result == TerminalInput::Read::Interrupted) {
        fInterrupted = true;
        fInput.Cancel();
    }
    return result;
}

int TerminalDialog::Columns() const
{
    return terminal_columns(1);
}

int TerminalDialog::Rows() const
{
    return terminal_rows(1);
}

bool TerminalDialog::ParseNumbers(
    const std::string& text, int32 count, std::vector<int32>& indexes, std::string& wrong)
{
    indexes.clear();
    std::string spaced = text;
    std::replace(spaced.begin(), spaced.end(), ',', ' ');
    size_t at = 0;
    while ((at = spaced.find_first_not_of(" \t", at)) != std::string::npos) {
        size_t end = spaced.find_first_of(" \t", at);
        std::string word = spaced.substr(at, end == std::string::npos ? end : end - at);
        at = end;
        size_t dash = word.find('-');
        std::string first = word.substr(0, dash);
        std::string last = dash == std::string::npos ? first : word.substr(dash + 1);
        auto number = [count](const std::string& digits) -> int32 {
            if (digits.empty() || digits.size() > 9
                || digits.find_first_not_of("0123456789") != std::string::npos)
                return -1;
            int32 value = int32(std::stol(digits));
            return value >= 1 && value <= count ? value : -1;
        };
        int32 from = number(first);
        int32 to = number(last);
        if (from < 0 || to < from) {
            wrong = word;
            return false;
        }
        for (int32 n = from; n <= to; ++n)
            indexes.push_back(n - 1);
    }
    return true;
}

std::string TerminalDialog::ExpandHome(const std::string& typed)
{
    if (typed != "~" && typed.rfind("~/", 0) != 0)
        return typed;
    BPath home;
    if (find_directory(B_USER_DIRECTORY, &home) != B_OK)
        return typed;
    return std::string(home.Path()) + typed.substr(1);
}

std::vector<std::string> TerminalDialog::Wrap(const std::string& text, int columns)
{
    size_t width = size_t(std::max(columns, 10));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string rest
            = ExpandTabs(text.substr(start, end == std::string::npos ? end : end - start));
        while (Width(rest) > width) {
            size_t cut = OffsetOf(rest, width);
            size_t space = rest.rfind(' ', cut);
            bool atSpace = space != std::string::npos && space > 0;
            lines.push_back(rest.substr(0, atSpace ? space : cut));
            rest.erase(0, atSpace ? space + 1 : cut);
        }
        lines.push_back(rest);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    // A text ending in a newline has no empty last line.
    if (lines.size() > 1 && lines.back().empty() && !text.empty() && text.back() == '\n')
        lines.pop_back();
    return lines;
}
