#include "AlertWindow.h"

#include "AlertIconView.h"
#include "AppDefs.h"
#include "BButton.h"
#include "BCheckBox.h"
#include "BScreen.h"
#include "BStringView.h"
#include "BTextView.h"
#include "EntryIconView.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace {

constexpr float kWidth = 340;
constexpr float kMargin = 12;
constexpr float kTop = 10;
constexpr float kIconLeft = 14;
constexpr float kTextLeft = 58;
constexpr float kStripeWidth = 30;
constexpr float kButtonHeight = 24;
constexpr float kButtonGap = 10;
constexpr float kDetailRowHeight = 15;
// Where a caller's detail layout expects the text to end: rows start at 35.
constexpr float kLayoutTextHeight = 30;

float ButtonWidth(const AlertRequest& request, size_t index, const BFont& font)
{
    float widest = 0;
    for (const std::string& label : request.buttons)
        widest = std::max(widest, std::ceil(font.StringWidth(label.c_str())) + 20);
    float own = std::ceil(font.StringWidth(request.buttons[index].c_str())) + 20;
    switch (request.width) {
    case B_WIDTH_FROM_WIDEST:
        return std::max(widest, 75.0f);
    case B_WIDTH_FROM_LABEL:
        return own;
    default:
        return std::max(own, 75.0f);
    }
}

BStringView* DetailText(const AlertDetailView& detail, BRect frame)
{
    auto* view = new BStringView(frame, detail.name.c_str(), "");
    BFont font;
    font.SetSize(detail.fontSize);
    view->SetFont(&font);
    std::string text = detail.text;
    bool isPath
        = detail.name.size() >= 5 && detail.name.compare(detail.name.size() - 5, 5, "_path") == 0;
    font.TruncateString(&text, isPath ? B_TRUNCATE_MIDDLE : B_TRUNCATE_END, frame.Width() + 1);
    view->SetText(text.c_str());
    return view;
}

} // namespace

AlertWindow::AlertWindow(const AlertRequest& request, std::shared_ptr<AlertState> state)
    : BWindow(BRect(0, 0, kWidth - 1, 99), request.title.c_str(), B_MODAL_WINDOW_LOOK,
        B_MODAL_APP_WINDOW_FEEL,
        B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE | B_NOT_CLOSABLE)
    , fRequest(request)
    , fState(std::move(state))
{
    // A worker that asks builds its dialog on its own thread; the window is
    // already listed, and the UI thread leaves a locked window alone.
    Lock();
    SetPulseRate(0);
    Build();
    Unlock();
}

AlertWindow::~AlertWindow()
{
    if (!fAnswered)
        Answer(-1);
}

void AlertWindow::Build()
{
    float width = kWidth;
    for (const AlertDetailView& detail : fRequest.detailViews)
        width = std::max(width, kTextLeft + detail.frame.right + 1 + kMargin);
    bool withIcon = fRequest.type != B_EMPTY_ALERT;
    float textLeft = withIcon ? kTextLeft : kMargin;
    float textWidth = width - textLeft - kMargin;
    ResizeTo(width - 1, Bounds().Height());

    auto* text = new BTextView(BRect(textLeft, kTop, textLeft + textWidth - 1, kTop + 1000),
        "alert_text", BRect(0, 0, textWidth - 1, 1000), B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
    text->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
    text->SetText(fRequest.text.c_str());
    text->MakeEditable(false);
    text->MakeSelectable(false);
    float textHeight = std::max(text->TextHeight(0, text->CountLines() - 1), text->LineHeight());
    text->ResizeTo(textWidth - 1, textHeight - 1);

    float bottom = AddDetails(kTop + textHeight, textLeft, textWidth);
    float minimum = kTop + (withIcon ? 32 : 0);
    float height = std::max(bottom, minimum) + kMargin + kButtonHeight + kButtonGap;
    ResizeTo(width - 1, height - 1);
    if (withIcon) {
        auto* stripe = new BView(BRect(0, 0, kStripeWidth - 1, height - 1), "alert_stripe",
            B_FOLLOW_LEFT | B_FOLLOW_TOP_BOTTOM, B_WILL_DRAW);
        stripe->SetViewColor(tint_color(ui_color(B_PANEL_BACKGROUND_COLOR), B_DARKEN_1_TINT));
        AddChild(stripe);
        AddChild(new AlertIconView(BPoint(kIconLeft, kTop), fRequest.type));
    }
    AddChild(text);
    AddButtons(height - kButtonGap);
    BRect screen = BScreen().Frame();
    MoveTo(std::floor((screen.Width() - width) / 2), std::floor((screen.Height() - height) / 2.5f));
}

// The caller's layout when it gave one (moved down when the text is taller
// than it expects), else one line per detail; then the check box.
float AlertWindow::AddDetails(float top, float textLeft, float width)
{
    if (!fRequest.detailViews.empty()) {
        float origin = kTop + std::max(0.0f, top - kTop - kLayoutTextHeight);
        float bottom = top;
        for (const AlertDetailView& detail : fRequest.detailViews) {
            BRect frame = detail.frame;
            frame.OffsetBy(textLeft, origin);
            bottom = std::max(bottom, frame.bottom + 1);
            if (detail.kind == AlertDetailView::kIcon) {
                AddChild(new EntryIconView(frame, detail.name.c_str(), detail.text.c_str()));
            } else if (detail.kind == AlertDetailView::kCheckBox && fRequest.checkBox.has_value()) {
                fCheckBox = new BCheckBox(
                    frame, detail.name.c_str(), fRequest.checkBox->label.c_str(), nullptr);
                fCheckBox->SetValue(fRequest.checkBox->checked ? B_CONTROL_ON : B_CONTROL_OFF);
                AddChild(fCheckBox);
            } else if (detail.kind == AlertDetailView::kText) {
                AddChild(DetailText(detail, frame));
            }
        }
        return std::max(bottom, top + fRequest.detailHeight - kLayoutTextHeight);
    }
    float y = top + (fRequest.details.empty() ? 0 : 6);
    for (size_t i = 0; i < fRequest.details.size(); ++i) {
        AlertDetailView line {"detail_" + std::to_string(i), BRect(), fRequest.details[i]};
        AddChild(
            DetailText(line, BRect(textLeft, y, textLeft + width - 1, y + kDetailRowHeight - 1)));
        y += kDetailRowHeight;
    }
    if (fRequest.checkBox.has_value()) {
        y += 6;
        fCheckBox = new BCheckBox(BRect(textLeft, y, textLeft + width - 1, y + 19), "alert_check",
            fRequest.checkBox->label.c_str(), nullptr);
        fCheckBox->SetValue(fRequest.checkBox->checked ? B_CONTROL_ON : B_CONTROL_OFF);
        AddChild(fCheckBox);
        y += 20;
    }
    return y;
}

// Right to left from the window's right edge, as the kit's alerts place
// them; the default answer's button is the default button.
void AlertWindow::AddButtons(float bottom)
{
    BFont font;
    float right = Bounds().right - kMargin + 1;
    int32 defaultButton = fRequest.DefaultAnswer();
    for (size_t i = fRequest.buttons.size(); i-- > 0;) {
        float width = ButtonWidth(fRequest, i, font);
        BRect frame(right - width, bottom - kButtonHeight, right - 1, bottom - 1);
        auto* message = new BMessage(kButtonPressed);
        message->AddInt32("index", int32(i));
        auto* button = new BButton(frame, ("alert_button_" + std::to_string(i)).c_str(),
            fRequest.buttons[i].c_str(), message);
        AddChild(button);
        if (int32(i) == defaultButton)
            button->MakeDefault(true);
        right -= width + kButtonGap;
    }
}

void AlertWindow::MessageReceived(BMessage* message)
{
    switch (message->what) {
    case kButtonPressed:
        Answer(message->FindInt32("index"));
        Quit();
        return;
    case kCancelled:
        Answer(-1);
        Quit();
        return;
    default:
        BWindow::MessageReceived(message);
        return;
    }
}

// Escape and the buttons' letters work whatever has the focus.
void AlertWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
    if (message->what == B_KEY_DOWN && handler == this) {
        const char* bytes = message->FindString("bytes");
        int32 modifiers = message->FindInt32("modifiers");
        if (bytes[0] == B_ESCAPE && bytes[1] == '\0') {
            Answer(fRequest.DefaultAnswer());
            Quit();
            return;
        }
        bool plain = (modifiers & (B_COMMAND_KEY | B_OPTION_KEY)) == 0;
        for (size_t i = 0; plain && i < fRequest.shortcuts.size() && bytes[1] == '\0'; ++i) {
            char key = fRequest.shortcuts[i];
            if (key != 0 && tolower(uint8(key)) == tolower(uint8(bytes[0]))) {
                Answer(int32(i));
                Quit();
                return;
            }
        }
    }
    BWindow::DispatchMessage(message, handler);
}

bool AlertWindow::QuitRequested()
{
    if (!fAnswered)
        Answer(fRequest.DefaultAnswer());
    return true;
}

void AlertWindow::Answer(int32 button)
{
    if (fAnswered)
        return;
    fAnswered = true;
    if (fState == nullptr)
        return;
    std::lock_guard<std::mutex> hold(fState->lock);
    fState->answer.button = button;
    fState->answer.checked = fCheckBox != nullptr && fCheckBox->Value() == B_CONTROL_ON;
    fState->done = true;
    fState->answered.notify_all();
}
