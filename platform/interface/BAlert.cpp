#include "BAlert.h"

#include "AlertService.h"

BAlert::BAlert(const char* title, const char* text, const char* button0, const char* button1,
    const char* button2, button_width width, alert_type type)
{
    fRequest.title = title != nullptr ? title : "";
    fRequest.text = text != nullptr ? text : "";
    fRequest.width = width;
    fRequest.type = type;
    // A missing label ends the row, as the kit's alert takes them.
    for (const char* label : {button0, button1, button2}) {
        if (label == nullptr)
            break;
        fRequest.buttons.push_back(label);
        fRequest.shortcuts.push_back(0);
    }
    fRequest.defaultButton = int32(fRequest.buttons.size()) - 1;
}

void BAlert::SetShortcut(int32 index, char key)
{
    if (index >= 0 && index < CountButtons())
        fRequest.shortcuts[size_t(index)] = key;
}

char BAlert::Shortcut(int32 index) const
{
    if (index < 0 || index >= CountButtons())
        return 0;
    return fRequest.shortcuts[size_t(index)];
}

void BAlert::SetDefaultButton(int32 index)
{
    fRequest.defaultButton = index;
}

void BAlert::SetPurpose(const char* purpose)
{
    fRequest.purpose = purpose != nullptr ? purpose : "";
}

void BAlert::AddDetail(const char* line)
{
    fRequest.details.push_back(line != nullptr ? line : "");
}

void BAlert::AddDetailView(const AlertDetailView& view)
{
    fRequest.detailViews.push_back(view);
}

void BAlert::SetDetailHeight(float height)
{
    fRequest.detailHeight = height;
}

void BAlert::SetCheckBox(const char* label, bool checked)
{
    fRequest.checkBox = AlertCheckBox {label != nullptr ? label : "", checked};
}

bool BAlert::CheckBoxValue() const
{
    return fRequest.checkBox.has_value() && fRequest.checkBox->checked;
}

int32 BAlert::Go()
{
    return Go(AlertService::Default());
}

int32 BAlert::Go(AlertService& service)
{
    AlertAnswer answer = service.Ask(fRequest);
    if (answer.button >= 0 && fRequest.checkBox.has_value())
        fRequest.checkBox->checked = answer.checked;
    return answer.button;
}

status_t BAlert::GoWithoutWaiting()
{
    return GoWithoutWaiting(AlertService::Default());
}

status_t BAlert::GoWithoutWaiting(AlertService& service)
{
    if (fRequest.buttons.empty())
        return B_BAD_VALUE;
    service.Show(fRequest);
    return B_OK;
}
