// A rectangle of a window that draws itself and takes input: the node of
// the window's view tree. Frames and drawing are in points; the window's
// painter turns them into device pixels at the display's scale. A view
// draws only inside Draw() (or into a bitmap it is attached to, or into a
// picture it records); elsewhere it calls Invalidate() and is drawn on the
// UI thread's next turn.
#pragma once

#include "BFont.h"
#include "BHandler.h"
#include "BRect.h"
#include "GraphicsDefs.h"
#include "InterfaceDefs.h"

#include <string>
#include <vector>

namespace native {
class Painter;
}

class BBitmap;
class BPicture;
class BScrollBar;
class BWindow;
struct PictureOp;

// Rectangle tracking (BeginRectTracking).
enum : uint32 {
    B_TRACK_WHOLE_RECT,
    B_TRACK_RECT_CORNER,
};

// Which properties SetFont() takes.
enum : uint32 {
    B_FONT_FAMILY_AND_STYLE = 0x0001,
    B_FONT_SIZE = 0x0002,
    B_FONT_SHEAR = 0x0004,
    B_FONT_ROTATION = 0x0008,
    B_FONT_ALL = 0x01ff,
};

class BView : public BHandler {
public:
    BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
    ~BView() override;

    // Hooks.
    virtual void AttachedToWindow();
    virtual void AllAttached();
    virtual void DetachedFromWindow();
    virtual void AllDetached();
    virtual void Draw(BRect updateRect);
    virtual void DrawAfterChildren(BRect updateRect);
    virtual void MouseDown(BPoint where);
    virtual void MouseUp(BPoint where);
    virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
    virtual void KeyDown(const char* bytes, int32 numBytes);
    virtual void KeyUp(const char* bytes, int32 numBytes);
    virtual void FrameMoved(BPoint newPosition);
    virtual void FrameResized(float newWidth, float newHeight);
    virtual void Pulse();
    virtual void WindowActivated(bool active);
    virtual void MakeFocus(bool focus = true);
    void MessageReceived(BMessage* message) override;

    // The tree.
    void AddChild(BView* child, BView* before = nullptr);
    bool RemoveChild(BView* child);
    bool RemoveSelf();
    int32 CountChildren() const { return int32(fChildren.size()); }
    BView* ChildAt(int32 index) const;
    BView* NextSibling() const;
    BView* PreviousSibling() const;
    BView* Parent() const { return fParent; }
    BWindow* Window() const { return fWindow; }
    // This view or the first descendant of that name.
    BView* FindView(const char* name) const;

    // Geometry, in the parent's coordinates (Frame) and the view's own
    // (Bounds, whose top left moves when the view scrolls).
    BRect Frame() const;
    BRect Bounds() const;
    virtual void MoveTo(BPoint where);
    void MoveTo(float x, float y) { MoveTo(BPoint(x, y)); }
    void MoveBy(float dx, float dy);
    virtual void ResizeTo(float width, float height);
    void ResizeBy(float dw, float dh);
    virtual void ScrollTo(BPoint where);
    void ScrollTo(float x, float y) { ScrollTo(BPoint(x, y)); }
    void ScrollBy(float dx, float dy);
    virtual void GetPreferredSize(float* width, float* height);
    virtual void ResizeToPreferred();

    BPoint ConvertToParent(BPoint point) const;
    BPoint ConvertFromParent(BPoint point) const;
    BRect ConvertToParent(BRect rect) const;
    BRect ConvertFromParent(BRect rect) const;
    BPoint ConvertToWindow(BPoint point) const;
    BPoint ConvertFromWindow(BPoint point) const;
    BRect ConvertToWindow(BRect rect) const;
    BRect ConvertFromWindow(BRect rect) const;
    void ConvertToScreen(BPoint* point) const;
    BPoint ConvertToScreen(BPoint point) const;
    void ConvertToScreen(BRect* rect) const;
    BRect ConvertToScreen(BRect rect) const;
    void ConvertFromScreen(BPoint* point) const;
    BPoint ConvertFromScreen(BPoint point) const;
    BRect ConvertFromScreen(BRect rect) const;

    uint32 ResizingMode() const { return fResizingMode; }
    virtual void SetResizingMode(uint32 mode);
    uint32 Flags() const { return fFlags; }
    virtual void SetFlags(uint32 flags);

    virtual void Show();
    virtual void Hide();
    bool IsHidden() const;
    // Hidden itself, or inside a hidden parent (up to `lookingFrom`).
    bool IsHidden(const BView* lookingFrom) const;
    bool IsFocus() const;

    // Input.
    void GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue = true);
    // B_POINTER_EVENTS: the view keeps the mouse until the buttons are up.
    status_t SetMouseEventMask(uint32 mask, uint32 options = 0);
    status_t SetEventMask(uint32 mask, uint32 options = 0);
    uint32 EventMask() const { return fEventMask; }
    void BeginRectTracking(BRect startRect, uint32 style = B_TRACK_WHOLE_RECT);
    void EndRectTracking();
    BScrollBar* ScrollBar(orientation direction) const;

    // Colours and drawing state.
    virtual void SetViewColor(rgb_color color);
    void SetViewColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255);
    rgb_color ViewColor() const { return fViewColor; }
    virtual void SetHighColor(rgb_color color);
    void SetHighColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255);
    rgb_color HighColor() const { return fState.high; }
    virtual void SetLowColor(rgb_color color);
    void SetLowColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255);
    rgb_color LowColor() const { return fState.low; }
    virtual void SetDrawingMode(drawing_mode mode);
    drawing_mode DrawingMode() const { return fState.mode; }
    virtual void SetPenSize(float size);
    float PenSize() const { return fState.penSize; }
    void MovePenTo(BPoint point);
    void MovePenTo(float x, float y) { MovePenTo(BPoint(x, y)); }
    void MovePenBy(float dx, float dy);
    BPoint PenLocation() const { return fState.pen; }
    // Saves the drawing state (colours, mode, pen, font); PopState brings
    // it back.
    void PushState();
    void PopState();

    virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
    void GetFont(BFont* font) const;
    void SetFontSize(float size);
    void GetFontHeight(font_height* height) const;
    float StringWidth(const char* string) const;
    float StringWidth(const char* string, int32 length) const;

    // Drawing, in the view's coordinates.
    void StrokeLine(BPoint start, BPoint end, pattern p = B_SOLID_HIGH);
    void StrokeLine(BPoint end, pattern p = B_SOLID_HIGH);
    void StrokeRect(BRect rect, pattern p = B_SOLID_HIGH);
    void FillRect(BRect rect, pattern p = B_SOLID_HIGH);
    void StrokeRoundRect(BRect rect, float xRadius, float yRadius, pattern p = B_SOLID_HIGH);
    void FillRoundRect(BRect rect, float xRadius, float yRadius, pattern p = B_SOLID_HIGH);
    void StrokeEllipse(BRect rect, pattern p = B_SOLID_HIGH);
    void FillEllipse(BRect rect, pattern p = B_SOLID_HIGH);
    void StrokeTriangle(BPoint a, BPoint b, BPoint c, pattern p = B_SOLID_HIGH);
    void FillTriangle(BPoint a, BPoint b, BPoint c, pattern p = B_SOLID_HIGH);
    void StrokePolygon(
        const BPoint* points, int32 count, bool closed = true, pattern p = B_SOLID_HIGH);
    void FillPolygon(const BPoint* points, int32 count, pattern p = B_SOLID_HIGH);
    void InvertRect(BRect rect);
    // The baseline starts at `where` (at the pen without it); the pen moves
    // to the end of the text. A font rotated by 90 degrees writes upward.
    void DrawString(const char* string, BPoint where);
    void DrawString(const char* string);
    void DrawString(const char* string, int32 length, BPoint where);
    void DrawBitmap(const BBitmap* bitmap, BPoint where);
    void DrawBitmap(const BBitmap* bitmap);
    void DrawBitmap(const BBitmap* bitmap, BRect destination);
    void DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination);
    void DrawBitmapAsync(const BBitmap* bitmap, BPoint where) { DrawBitmap(bitmap, where); }
    void BeginLineArray(int32 count);
    void AddLine(BPoint start, BPoint end, rgb_color color);
    void EndLineArray();

    // Recording: between the two calls the drawing goes into the picture.
    void BeginPicture(BPicture* picture);
    BPicture* EndPicture();
    void DrawPicture(const BPicture* picture, BPoint where);
    void DrawPicture(const BPicture* picture);

    void Invalidate(BRect rect);
    void Invalidate();
    // Drawing happens on the UI thread's next turn; nothing to push.
    void Flush() const { }
    void Sync() const { }

private:
    friend class BWindow;
    friend class BBitmap;
    friend class BPicture;
    friend class BScrollBar;

    struct DrawState {
        rgb_color high = {0, 0, 0, 255};
        rgb_color low = {255, 255, 255, 255};
        drawing_mode mode = B_OP_COPY;
        float penSize = 1;
        BPoint pen;
        BFont font;
    };
    struct Line {
        BPoint start;
        BPoint end;
        rgb_color color;
    };

    // The window (or bitmap) takes the tree over or gives it up.
    void SetOwner(BWindow* window, BBitmap* bitmap);
    void CallAttached();
    void CallDetached();
    void ApplyParentResize(float dw, float dh);
    void FrameChanged(BRect oldFrame);

    // The window's drawing pass: this view and its children inside `clip`
    // (window coordinates).
    void DrawTree(native::Painter& painter, float scale, BRect clip);
    bool CanDraw();
    bool Record(const PictureOp& op);
    // Device pixels of view coordinates.
    int DeviceX(float x) const;
    int DeviceY(float y) const;
    void DeviceRect(BRect rect, int& x, int& y, int& width, int& height) const;
    void FillDeviceRect(BRect rect, rgb_color color);
    void FillPattern(BRect rect, const pattern& p);
    void FillShape(const std::vector<BPoint>& outline, const pattern& p);
    void StrokeShape(const std::vector<BPoint>& outline, bool closed, const pattern& p);
    void StrokeThinLine(BPoint start, BPoint end, rgb_color color);
    bool PatternColor(const pattern& p, rgb_color& color) const;
    rgb_color PaintColor(rgb_color color) const;
    void DrawText(const char* string, int32 length, BPoint where);
    BView* ChildUnder(BPoint point);

    BRect fFrame;   // in the parent
    BPoint fOrigin; // the top left of Bounds()
    uint32 fResizingMode;
    uint32 fFlags;
    int32 fHideLevel = 0;
    uint32 fEventMask = 0;
    BView* fParent = nullptr;
    BWindow* fWindow = nullptr;
    BBitmap* fBitmap = nullptr;
    std::vector<BView*> fChildren;
    rgb_color fViewColor = {255, 255, 255, 255};
    DrawState fState;
    std::vector<DrawState> fSavedStates;
    BPicture* fRecording = nullptr;
    BScrollBar* fScrollBars[2] = {nullptr, nullptr}; // horizontal, vertical
    std::vector<Line> fLineArray;
    bool fInLineArray = false;

    // Set while the view may draw: the painter, its scale and where the
    // view's origin lies in the painter's coordinates (points).
    native::Painter* fPainter = nullptr;
    float fScale = 1;
    BPoint fPainterOrigin;
};
