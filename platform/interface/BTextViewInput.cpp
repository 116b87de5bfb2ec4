// BTextView's mouse and keyboard: placing the caret, selecting, typing.
#include "BTextView.h"

#include "BWindow.h"

#include <algorithm>

namespace {

bool IsContinuation(char byte)
{
    return (uint8(byte) & 0xc0) == 0x80;
}

int32 NextCharacter(const char* text, int32 length, int32 offset)
{
    if (offset >= length)
        return length;
    ++offset;
    while (offset < length && IsContinuation(text[offset]))
        ++offset;
    return offset;
}

int32 PreviousCharacter(const char* text, int32 offset)
{
    if (offset <= 0)
        return 0;
    --offset;
    while (offset > 0 && IsContinuation(text[offset]))
        --offset;
    return offset;
}

} // namespace

void BTextView::MouseDown(BPoint where)
{
    if (fEditable)
        MakeFocus(true);
    if (!fSelectable && !fEditable)
        return;
    int32 offset = OffsetAt(where);
    fAnchor = fSelectionStart = fSelectionEnd = offset;
    fTracking = true;
    SetMouseEventMask(B_POINTER_EVENTS);
    Invalidate();
}

void BTextView::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (!fTracking || !fSelectable)
        return;
    int32 offset = OffsetAt(where);
    fSelectionStart = std::min(fAnchor, offset);
    fSelectionEnd = std::max(fAnchor, offset);
    Invalidate();
}

void BTextView::MouseUp(BPoint)
{
    fTracking = false;
}

void BTextView::ReplaceSelection(const char* bytes, int32 length)
{
    if (fSelectionEnd > fSelectionStart)
        DeleteText(fSelectionStart, fSelectionEnd);
    int32 room = fMaxBytes - TextLength();
    if (length > room)
        length = room;
    if (length > 0) {
        int32 at = fSelectionStart;
        InsertText(bytes, length, at, nullptr);
        fSelectionStart = fSelectionEnd = fAnchor = at + length;
    }
    ScrollToSelection();
}

void BTextView::MoveCaret(int32 offset, bool extend)
{
    offset = std::clamp(offset, 0, TextLength());
    if (extend) {
        fSelectionStart = std::min(fAnchor, offset);
        fSelectionEnd = std::max(fAnchor, offset);
    } else {
        fAnchor = fSelectionStart = fSelectionEnd = offset;
    }
    ScrollToOffset(offset);
    Invalidate();
}

int32 BTextView::LineStartOf(int32 offset) const
{
    return fLines.empty() ? 0 : fLines[size_t(LineAt(offset))].start;
}

int32 BTextView::LineEndOf(int32 offset) const
{
    return fLines.empty() ? 0 : fLines[size_t(LineAt(offset))].end;
}

void BTextView::KeyDown(const char* bytes, int32 numBytes)
{
    if (!fEditable || numBytes <= 0) {
        BView::KeyDown(bytes, numBytes);
        return;
    }
    BMessage* message = Window() != nullptr ? Window()->CurrentMessage() : nullptr;
    bool shift = message != nullptr && (message->FindInt32("modifiers") & B_SHIFT_KEY);
    const char* text = fText.c_str();
    int32 caret = fSelectionStart == fAnchor ? fSelectionEnd : fSelectionStart;
    switch (uint8(bytes[0])) {
    case B_BACKSPACE:
        if (fSelectionEnd == fSelectionStart)
            fSelectionStart = PreviousCharacter(text, fSelectionStart);
        ReplaceSelection("", 0);
        return;
    case B_DELETE:
        if (fSelectionEnd == fSelectionStart)
            fSelectionEnd = NextCharacter(text, TextLength(), fSelectionEnd);
        ReplaceSelection("", 0);
        return;
    case B_LEFT_ARROW:
        MoveCaret(shift || fSelectionEnd == fSelectionStart ? PreviousCharacter(text, caret)
                                                            : fSelectionStart,
            shift);
        return;
    case B_RIGHT_ARROW:
        MoveCaret(shift || fSelectionEnd == fSelectionStart
                ? NextCharacter(text, TextLength(), caret)
                : fSelectionEnd,
            shift);
        return;
    case B_UP_ARROW:
    case B_DOWN_ARROW: {
        float height = 0;
        BPoint point = PointAt(caret, &height);
        point.y += uint8(bytes[0]) == B_UP_ARROW ? -height / 2 : height * 1.5f;
        MoveCaret(OffsetAt(point), shift);
        return;
    }
    case B_HOME:
        MoveCaret(LineStartOf(caret), shift);
        return;
    case B_END:
        MoveCaret(LineEndOf(caret), shift);
        return;
    case B_TAB:
    case B_ESCAPE:
    case B_FUNCTION_KEY:
    case B_INSERT:
    case B_PAGE_UP:
    case B_PAGE_DOWN:
        BView::KeyDown(bytes, numBytes);
        return;
    default:
        break;
    }
    if (uint8(bytes[0]) < 0x20 && bytes[0] != '\n')
        return;
    ReplaceSelection(bytes, numBytes);
}
