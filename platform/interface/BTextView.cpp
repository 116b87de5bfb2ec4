#include "BTextView.h"

#include "BScrollBar.h"
#include "BWindow.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool IsContinuation(char byte)
{
    return (uint8(byte) & 0xc0) == 0x80;
}

// Where the text's width would break a run of characters: after the last
// space that lets the line fit, else (one long word) after the last fitting
// character, but always after at least one character.
int32 BreakPoint(const std::string& text, int32 start, int32 end, const BFont& font, float width)
{
    int32 lastSpace = -1;
    int32 at = start;
    while (at < end) {
        int32 next = at + 1;
        while (next < end && IsContinuation(text[size_t(next)]))
            ++next;
        if (font.StringWidth(text.c_str() + start, next - start) > width) {
            if (lastSpace > start)
                return lastSpace;
            return at > start ? at : next;
        }
        if (text[size_t(at)] == ' ')
            lastSpace = next;
        at = next;
    }
    return end;
}

} // namespace

BTextView::BTextView(
    BRect frame, const char* name, BRect textRect, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
{
    Init(textRect, nullptr, nullptr);
}

BTextView::BTextView(BRect frame, const char* name, BRect textRect, const BFont* font,
    const rgb_color* color, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
{
    Init(textRect, font, color);
}

BTextView::~BTextView() = default;

void BTextView::Init(BRect textRect, const BFont* font, const rgb_color* color)
{
    fTextRect = textRect;
    if (font != nullptr)
        BView::SetFont(font);
    if (color != nullptr)
        fTextColor = *color;
    Relayout();
}

void BTextView::SetText(const char* text, const text_run_array* runs)
{
    SetText(text, text != nullptr ? int32(strlen(text)) : 0, runs);
}

void BTextView::SetText(const char* text, int32 length, const text_run_array* runs)
{
    if (!fText.empty())
        DeleteText(0, TextLength());
    fSelectionStart = fSelectionEnd = fAnchor = 0;
    if (text != nullptr && length > 0)
        InsertText(text, int32(strnlen(text, size_t(length))), 0, runs);
    ScrollTo(BPoint(Bounds().left, 0));
}

void BTextView::Insert(const char* text, const text_run_array* runs)
{
    if (text != nullptr)
        Insert(fSelectionStart, text, int32(strlen(text)), runs);
}

void BTextView::Insert(int32 offset, const char* text, int32 length, const text_run_array* runs)
{
    if (text == nullptr || length <= 0)
        return;
    offset = std::clamp(offset, 0, TextLength());
    length = int32(strnlen(text, size_t(length)));
    length = std::min(length, fMaxBytes - TextLength());
    if (length <= 0)
        return;
    InsertText(text, length, offset, runs);
}

void BTextView::Delete()
{
    Delete(fSelectionStart, fSelectionEnd);
}

void BTextView::Delete(int32 start, int32 finish)
{
    start = std::clamp(start, 0, TextLength());
    finish = std::clamp(finish, start, TextLength());
    if (finish > start)
        DeleteText(start, finish);
}

void BTextView::InsertText(const char* text, int32 length, int32 offset, const text_run_array*)
{
    fText.insert(size_t(offset), text, size_t(length));
    auto shift = [&](int32& at) {
        if (at >= offset)
            at += length;
    };
    shift(fSelectionStart);
    shift(fSelectionEnd);
    shift(fAnchor);
    Relayout();
    Invalidate();
}

void BTextView::DeleteText(int32 start, int32 finish)
{
    fText.erase(size_t(start), size_t(finish - start));
    auto shift = [&](int32& at) {
        if (at >= finish)
            at -= finish - start;
        else if (at > start)
            at = start;
    };
    shift(fSelectionStart);
    shift(fSelectionEnd);
    shift(fAnchor);
    Relayout();
    Invalidate();
}

void BTextView::Select(int32 start, int32 finish)
{
    start = std::clamp(start, 0, TextLength());
    finish = std::clamp(finish, start, TextLength());
    while (start > 0 && IsContinuation(fText[size_t(start)]))
        --start;
    while (finish < TextLength() && IsContinuation(fText[size_t(finish)]))
        ++finish;
    fSelectionStart = fAnchor = start;
    fSelectionEnd = finish;
    Invalidate();
}

void BTextView::SelectAll()
{
    Select(0, TextLength());
}

void BTextView::GetSelection(int32* start, int32* finish) const
{
    if (start != nullptr)
        *start = fSelectionStart;
    if (finish != nullptr)
        *finish = fSelectionEnd;
}

void BTextView::SetTextRect(BRect rect)
{
    fTextRect = rect;
    Relayout();
    Invalidate();
}

void BTextView::SetWordWrap(bool wrap)
{
    fWordWrap = wrap;
    Relayout();
    Invalidate();
}

void BTextView::MakeEditable(bool editable)
{
    fEditable = editable;
    Invalidate();
}

void BTextView::MakeSelectable(bool selectable)
{
    fSelectable = selectable;
    if (!selectable)
        fSelectionEnd = fSelectionStart;
    Invalidate();
}

void BTextView::SetAlignment(alignment align)
{
    fAlign = align;
    Invalidate();
}

void BTextView::SetFontAndColor(const BFont* font, uint32 mode, const rgb_color* color)
{
    if (font != nullptr)
        BView::SetFont(font, mode);
    if (color != nullptr)
        fTextColor = *color;
    Relayout();
    Invalidate();
}

void BTextView::GetFontAndColor(
    BFont* font, uint32* sameProperties, rgb_color* color, bool* sameColor) const
{
    GetFont(font);
    if (sameProperties != nullptr)
        *sameProperties = B_FONT_ALL;
    if (color != nullptr)
        *color = fTextColor;
    if (sameColor != nullptr)
        *sameColor = true;
}

void BTextView::SetFont(const BFont* font, uint32 mask)
{
    BView::SetFont(font, mask);
    Relayout();
    Invalidate();
}

float BTextView::LineHeight(int32) const
{
    font_height height;
    GetFontHeight(&height);
    return std::ceil(height.ascent + height.descent + height.leading);
}

float BTextView::TextHeight(int32 startLine, int32 endLine) const
{
    startLine = std::max(startLine, 0);
    endLine = std::min(endLine, CountLines() - 1);
    return endLine < startLine ? 0 : LineHeight() * float(endLine - startLine + 1);
}

void BTextView::Relayout()
{
    fLines.clear();
    float width = fWordWrap ? fTextRect.Width() + 1 : 1e9f;
    int32 start = 0;
    for (int32 at = 0; at <= TextLength(); ++at) {
        if (at == TextLength() || fText[size_t(at)] == '\n') {
            BreakParagraph(start, at, width);
            start = at + 1;
        }
    }
    UpdateScrollBar();
}

void BTextView::BreakParagraph(int32 start, int32 end, float width)
{
    BFont font;
    GetFont(&font);
    do {
        int32 split = BreakPoint(fText, start, end, font, width);
        fLines.push_back(Line {start, split});
        start = split;
    } while (start < end);
}

// The scroll bar covers the text and the text rectangle's margins.
void BTextView::UpdateScrollBar()
{
    BScrollBar* bar = ScrollBar(B_VERTICAL);
    if (bar == nullptr)
        return;
    float visible = Bounds().Height() + 1;
    float total = fTextRect.top * 2 + TextHeight(0, CountLines() - 1);
    bar->SetRange(0, std::max(0.0f, total - visible));
    bar->SetProportion(total > 0 ? std::min(1.0f, visible / total) : 1);
    bar->SetSteps(LineHeight(), std::max(LineHeight(), visible - LineHeight()));
}

void BTextView::AttachedToWindow()
{
    Relayout();
}

void BTextView::FrameResized(float, float)
{
    UpdateScrollBar();
    Invalidate();
}

float BTextView::LineLeft(const Line& line) const
{
    float width = StringWidth(fText.c_str() + line.start, line.end - line.start);
    float room = fTextRect.Width() + 1;
    switch (fAlign) {
    case B_ALIGN_RIGHT:
        return fTextRect.left + room - width;
    case B_ALIGN_CENTER:
        return fTextRect.left + std::floor((room - width) / 2);
    default:
        return fTextRect.left;
    }
}

void BTextView::Draw(BRect updateRect)
{
    font_height height;
    GetFontHeight(&height);
    float lineHeight = LineHeight();
    bool showSelection = fSelectable && fSelectionEnd > fSelectionStart;
    bool showCaret = fEditable && IsFocus() && Window() != nullptr && Window()->IsActive()
        && fSelectionStart == fSelectionEnd;
    for (int32 i = 0; i < CountLines(); ++i) {
        const Line& line = fLines[size_t(i)];
        float top = fTextRect.top + lineHeight * float(i);
        if (top > updateRect.bottom || top + lineHeight < updateRect.top)
            continue;
        float left = LineLeft(line);
        if (showSelection && fSelectionStart < std::max(line.end, line.start + 1)
            && fSelectionEnd > line.start) {
            int32 from = std::max(fSelectionStart, line.start);
            int32 to = std::min(fSelectionEnd, line.end);
            float x0 = left + StringWidth(fText.c_str() + line.start, from - line.start);
            float x1 = left + StringWidth(fText.c_str() + line.start, to - line.start);
            SetHighColor(tint_color(ViewColor(), B_HIGHLIGHT_BACKGROUND_TINT));
            FillRect(BRect(x0, top, std::max(x0, x1 - 1), top + lineHeight - 1));
        }
        SetHighColor(fTextColor);
        SetDrawingMode(B_OP_OVER);
        DrawString(fText.c_str() + line.start, line.end - line.start,
            BPoint(left, top + std::ceil(height.ascent) - 1));
        SetDrawingMode(B_OP_COPY);
    }
    if (showCaret) {
        float caretHeight = 0;
        BPoint caret = PointAt(fSelectionStart, &caretHeight);
        SetHighColor(make_color(0, 0, 0));
        StrokeLine(caret, BPoint(caret.x, caret.y + caretHeight - 1));
    }
}

int32 BTextView::LineAt(int32 offset) const
{
    for (int32 i = CountLines() - 1; i >= 0; --i) {
        if (offset >= fLines[size_t(i)].start)
            return i;
    }
    return 0;
}

int32 BTextView::OffsetAt(BPoint point) const
{
    if (fLines.empty())
        return 0;
    int32 index = std::clamp(
        int32(std::floor((point.y - fTextRect.top) / LineHeight())), 0, CountLines() - 1);
    const Line& line = fLines[size_t(index)];
    float left = LineLeft(line);
    int32 at = line.start;
    while (at < line.end) {
        int32 next = at + 1;
        while (next < line.end && IsContinuation(fText[size_t(next)]))
            ++next;
        float before = StringWidth(fText.c_str() + line.start, at - line.start);
        float after = StringWidth(fText.c_str() + line.start, next - line.start);
        if (point.x < left + (before + after) / 2)
            return at;
        at = next;
    }
    return line.end;
}

BPoint BTextView::PointAt(int32 offset, float* height) const
{
    if (height != nullptr)
        *height = LineHeight();
    if (fLines.empty())
        return fTextRect.LeftTop();
    int32 index = LineAt(offset);
    const Line& line = fLines[size_t(index)];
    offset = std::clamp(offset, line.start, line.end);
    return BPoint(LineLeft(line) + StringWidth(fText.c_str() + line.start, offset - line.start),
        fTextRect.top + LineHeight() * float(index));
}

void BTextView::ScrollToOffset(int32 offset)
{
    float height = 0;
    BPoint point = PointAt(offset, &height);
    BRect bounds = Bounds();
    if (point.y < bounds.top)
        ScrollTo(BPoint(bounds.left, point.y - fTextRect.top));
    else if (point.y + height > bounds.bottom + 1)
        ScrollTo(BPoint(bounds.left, point.y + height - bounds.Height() - 1 + fTextRect.top));
}

void BTextView::ScrollToSelection()
{
    ScrollToOffset(fSelectionStart);
}

void BTextView::MakeFocus(bool focus)
{
    BView::MakeFocus(focus);
    Invalidate();
}

void BTextView::WindowActivated(bool)
{
    if (IsFocus())
        Invalidate();
}
