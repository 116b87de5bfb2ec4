// Text in one font and colour, laid out in a text rectangle: broken at its
// newlines and, with word wrap, at spaces to fit the rectangle's width. It
// may be selectable (a click places the caret, a drag selects) and editable
// (typing, Backspace and Delete, arrows, Home and End). In a scroll view it
// keeps the vertical scroll bar's range in step with its text.
#pragma once

#include "BView.h"

#include <string>
#include <vector>

struct text_run_array;

class BTextView : public BView {
public:
    BTextView(BRect frame, const char* name, BRect textRect, uint32 resizingMode, uint32 flags);
    BTextView(BRect frame, const char* name, BRect textRect, const BFont* font,
        const rgb_color* color, uint32 resizingMode, uint32 flags);
    ~BTextView() override;

    void SetText(const char* text, const text_run_array* runs = nullptr);
    void SetText(const char* text, int32 length, const text_run_array* runs = nullptr);
    const char* Text() const { return fText.c_str(); }
    int32 TextLength() const { return int32(fText.size()); }
    void Insert(const char* text, const text_run_array* runs = nullptr);
    void Insert(int32 offset, const char* text, int32 length, const text_run_array* runs = nullptr);
    void Delete();
    void Delete(int32 start, int32 finish);

    void Select(int32 start, int32 finish);
    void SelectAll();
    void GetSelection(int32* start, int32* finish) const;

    void SetTextRect(BRect rect);
    BRect TextRect() const { return fTextRect; }
    void SetWordWrap(bool wrap);
    bool DoesWordWrap() const { return fWordWrap; }
    void MakeEditable(bool editable = true);
    bool IsEditable() const { return fEditable; }
    void MakeSelectable(bool selectable = true);
    bool IsSelectable() const { return fSelectable; }
    void SetAlignment(alignment align);
    alignment Alignment() const { return fAlign; }
    void SetMaxBytes(int32 maxBytes) { fMaxBytes = maxBytes; }

    void SetFontAndColor(
        const BFont* font, uint32 mode = B_FONT_ALL, const rgb_color* color = nullptr);
    void GetFontAndColor(BFont* font, uint32* sameProperties, rgb_color* color = nullptr,
        bool* sameColor = nullptr) const;

    int32 CountLines() const { return int32(fLines.size()); }
    int32 CurrentLine() const { return LineAt(fSelectionStart); }
    float LineHeight(int32 lineNumber = 0) const;
    float TextHeight(int32 startLine, int32 endLine) const;
    int32 LineAt(int32 offset) const;
    int32 OffsetAt(BPoint point) const;
    BPoint PointAt(int32 offset, float* height = nullptr) const;
    void ScrollToOffset(int32 offset);
    void ScrollToSelection();

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void MouseUp(BPoint where) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void FrameResized(float width, float height) override;
    void MakeFocus(bool focus = true) override;
    void WindowActivated(bool active) override;
    void SetFont(const BFont* font, uint32 mask = B_FONT_ALL) override;

protected:
    // Every change of the text goes through these two.
    virtual void InsertText(
        const char* text, int32 length, int32 offset, const text_run_array* runs);
    virtual void DeleteText(int32 start, int32 finish);

private:
    struct Line {
        int32 start;
        int32 end; // exclusive, without the newline
    };

    void Init(BRect textRect, const BFont* font, const rgb_color* color);
    void Relayout();
    void BreakParagraph(int32 start, int32 end, float width);
    void UpdateScrollBar();
    float LineLeft(const Line& line) const;
    void ReplaceSelection(const char* bytes, int32 length);
    void MoveCaret(int32 offset, bool extend);
    int32 LineStartOf(int32 offset) const;
    int32 LineEndOf(int32 offset) const;

    std::string fText;
    std::vector<Line> fLines;
    BRect fTextRect;
    rgb_color fTextColor = {0, 0, 0, 255};
    alignment fAlign = B_ALIGN_LEFT;
    bool fWordWrap = true;
    bool fEditable = true;
    bool fSelectable = true;
    int32 fMaxBytes = INT32_MAX;
    int32 fSelectionStart = 0;
    int32 fSelectionEnd = 0;
    int32 fAnchor = 0;
    bool fTracking = false;
};
