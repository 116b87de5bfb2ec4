#include "AlertRequest.h"

int32 AlertRequest::DefaultAnswer() const
{
    if (buttons.empty())
        return -1;
    if (defaultButton < 0 || size_t(defaultButton) >= buttons.size())
        return 0;
    return defaultButton;
}

AlertAnswer alert_default_answer(const AlertRequest& request)
{
    AlertAnswer answer;
    answer.button = request.DefaultAnswer();
    answer.checked = request.checkBox.has_value() && request.checkBox->checked;
    return answer;
}

namespace {

void AppendLine(std::string& out, const std::string& line)
{
    out += line;
    if (out.empty() || out.back() != '\n')
        out += '\n';
}

} // namespace

std::string alert_answer_report(const AlertRequest& request, const AlertAnswer& answer)
{
    std::string out;
    if (!request.title.empty())
        AppendLine(out, request.title);
    AppendLine(out, request.text);
    for (const std::string& detail : request.details)
        AppendLine(out, "    " + detail);
    if (request.checkBox.has_value())
        AppendLine(out, (answer.checked ? "[x] " : "[ ] ") + request.checkBox->label);
    std::string label;
    if (answer.button >= 0 && size_t(answer.button) < request.buttons.size())
        label = request.buttons[size_t(answer.button)];
    AppendLine(out, "-> " + label);
    return out;
}
