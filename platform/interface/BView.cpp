#include "BView.h"

#include "AppDefs.h"
#include "BBitmap.h"
#include "BScrollBar.h"
#include "BWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The rules of a resizing mode: which parent edge each edge follows.
enum : uint32 {
    kRuleTop = 1,
    kRuleLeft = 2,
    kRuleBottom = 3,
    kRuleRight = 4,
    kRuleCenter = 5,
};

float Follow(uint32 rule, uint32 farRule, float delta)
{
    if (rule == farRule)
        return delta;
    if (rule == kRuleCenter)
        return delta / 2;
    return 0;
}

} // namespace

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
    : BHandler(name)
    , fFrame(frame)
    , fResizingMode(resizingMode)
    , fFlags(flags)
{ }

BView::~BView()
{
    if (fParent != nullptr)
        fParent->RemoveChild(this);
    while (!fChildren.empty()) {
        BView* child = fChildren.back();
        RemoveChild(child);
        delete child;
    }
    for (BScrollBar* bar : fScrollBars) {
        if (bar != nullptr && bar->fTarget == this)
            bar->fTarget = nullptr;
    }
}

void BView::AttachedToWindow() { }
void BView::AllAttached() { }
void BView::DetachedFromWindow() { }
void BView::AllDetached() { }
void BView::Draw(BRect) { }
void BView::DrawAfterChildren(BRect) { }
void BView::MouseDown(BPoint) { }
void BView::MouseUp(BPoint) { }
void BView::MouseMoved(BPoint, uint32, const BMessage*) { }
void BView::KeyUp(const char*, int32) { }
void BView::FrameMoved(BPoint) { }
void BView::FrameResized(float, float) { }
void BView::Pulse() { }
void BView::WindowActivated(bool) { }

// Keys a view does not take go to its parent: the window's top view then
// offers them to the window (Tab navigation, the default button).
void BView::KeyDown(const char* bytes, int32 numBytes)
{
    if (fParent != nullptr)
        fParent->KeyDown(bytes, numBytes);
}

// The wheel scrolls the view through its scroll bar.
void BView::MessageReceived(BMessage* message)
{
    if (message->what == B_MOUSE_WHEEL_CHANGED) {
        BScrollBar* bar = fScrollBars[B_VERTICAL] != nullptr ? fScrollBars[B_VERTICAL]
                                                             : fScrollBars[B_HORIZONTAL];
        if (bar != nullptr) {
            bar->MessageReceived(message);
            return;
        }
    }
    BHandler::MessageReceived(message);
}

void BView::MakeFocus(bool focus)
{
    if (fWindow != nullptr)
        fWindow->SetFocusView(this, focus);
}

bool BView::IsFocus() const
{
    return fWindow != nullptr && fWindow->CurrentFocus() == this;
}

void BView::AddChild(BView* child, BView* before)
{
    if (child == nullptr || child == this)
        return;
    if (child->fParent != nullptr || (child->fWindow != nullptr && child->fWindow != fWindow)) {
        fprintf(
            stderr, "BView::AddChild(): \"%s\" belongs to another parent already\n", child->Name());
        return;
    }
    auto at = std::find(fChildren.begin(), fChildren.end(), before);
    fChildren.insert(at, child);
    child->fParent = this;
    if (fWindow != nullptr || fBitmap != nullptr) {
        child->SetOwner(fWindow, fBitmap);
        if (fWindow != nullptr)
            child->CallAttached();
    }
    child->Invalidate();
}

bool BView::RemoveChild(BView* child)
{
    if (child == nullptr || child->fParent != this)
        return false;
    BRect area = child->Frame();
    if (child->fWindow != nullptr) {
        child->CallDetached();
        child->fWindow->ViewRemoved(child);
    }
    child->SetOwner(nullptr, nullptr);
    std::erase(fChildren, child);
    child->fParent = nullptr;
    if (fWindow != nullptr)
        Invalidate(area);
    return true;
}

bool BView::RemoveSelf()
{
    return fParent != nullptr && fParent->RemoveChild(this);
}

BView* BView::ChildAt(int32 index) const
{
    if (index < 0 || index >= CountChildren())
        return nullptr;
    return fChildren[size_t(index)];
}

BView* BView::NextSibling() const
{
    if (fParent == nullptr)
        return nullptr;
    auto& siblings = fParent->fChildren;
    auto at = std::find(siblings.begin(), siblings.end(), this);
    return at == siblings.end() || at + 1 == siblings.end() ? nullptr : *(at + 1);
}

BView* BView::PreviousSibling() const
{
    if (fParent == nullptr)
        return nullptr;
    auto& siblings = fParent->fChildren;
    auto at = std::find(siblings.begin(), siblings.end(), this);
    return at == siblings.begin() || at == siblings.end() ? nullptr : *(at - 1);
}

BView* BView::FindView(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    if (strcmp(Name(), name) == 0)
        return const_cast<BView*>(this);
    for (BView* child : fChildren) {
        if (BView* found = child->FindView(name))
            return found;
    }
    return nullptr;
}

void BView::SetOwner(BWindow* window, BBitmap* bitmap)
{
    if (fWindow != nullptr && fWindow != window)
        fWindow->RemoveHandler(this);
    if (window != nullptr && fWindow != window)
        window->AddHandler(this);
    fWindow = window;
    fBitmap = bitmap;
    for (BView* child : fChildren)
        child->SetOwner(window, bitmap);
}

void BView::CallAttached()
{
    AttachedToWindow();
    for (BView* child : fChildren)
        child->CallAttached();
    AllAttached();
}

void BView::CallDetached()
{
    DetachedFromWindow();
    for (BView* child : fChildren)
        child->CallDetached();
    AllDetached();
}

BRect BView::Frame() const
{
    return fFrame;
}

BRect BView::Bounds() const
{
    return BRect(fOrigin.x, fOrigin.y, fOrigin.x + fFrame.Width(), fOrigin.y + fFrame.Height());
}

void BView::MoveTo(BPoint where)
{
    if (where == fFrame.LeftTop())
        return;
    BRect old = fFrame;
    fFrame.OffsetTo(where.x, where.y);
    FrameChanged(old);
}

void BView::MoveBy(float dx, float dy)
{
    MoveTo(BPoint(fFrame.left + dx, fFrame.top + dy));
}

void BView::ResizeTo(float width, float height)
{
    if (width == fFrame.Width() && height == fFrame.Height())
        return;
    BRect old = fFrame;
    fFrame.right = fFrame.left + width;
    fFrame.bottom = fFrame.top + height;
    FrameChanged(old);
}

void BView::ResizeBy(float dw, float dh)
{
    ResizeTo(fFrame.Width() + dw, fFrame.Height() + dh);
}

void BView::FrameChanged(BRect old)
{
    float dw = fFrame.Width() - old.Width();
    float dh = fFrame.Height() - old.Height();
    if (fParent != nullptr) {
        fParent->Invalidate(old);
        fParent->Invalidate(fFrame);
    }
    if (dw != 0 || dh != 0) {
        for (BView* child : fChildren)
            child->ApplyParentResize(dw, dh);
    }
    if (!(fFlags & B_FRAME_EVENTS))
        return;
    if (fFrame.LeftTop() != old.LeftTop())
        FrameMoved(fFrame.LeftTop());
    if (dw != 0 || dh != 0)
        FrameResized(fFrame.Width(), fFrame.Height());
}

void BView::ApplyParentResize(float dw, float dh)
{
    BRect frame = fFrame;
    frame.left += Follow((fResizingMode >> 8) & 0xf, kRuleRight, dw);
    frame.right += Follow(fResizingMode & 0xf, kRuleRight, dw);
    frame.top += Follow((fResizingMode >> 12) & 0xf, kRuleBottom, dh);
    frame.bottom += Follow((fResizingMode >> 4) & 0xf, kRuleBottom, dh);
    if (frame == fFrame)
        return;
    BRect old = fFrame;
    fFrame = frame;
    FrameChanged(old);
}

void BView::ScrollTo(BPoint where)
{
    if (where == fOrigin)
        return;
    fOrigin = where;
    Invalidate();
    if (fScrollBars[B_HORIZONTAL] != nullptr)
        fScrollBars[B_HORIZONTAL]->SetValue(where.x);
    if (fScrollBars[B_VERTICAL] != nullptr)
        fScrollBars[B_VERTICAL]->SetValue(where.y);
}

void BView::ScrollBy(float dx, float dy)
{
    ScrollTo(BPoint(fOrigin.x + dx, fOrigin.y + dy));
}

void BView::GetPreferredSize(float* width, float* height)
{
    if (width != nullptr)
        *width = fFrame.Width();
    if (height != nullptr)
        *height = fFrame.Height();
}

void BView::ResizeToPreferred()
{
    float width = 0, height = 0;
    GetPreferredSize(&width, &height);
    ResizeTo(width, height);
}

BPoint BView::ConvertToParent(BPoint point) const
{
    return BPoint(point.x - fOrigin.x + fFrame.left, point.y - fOrigin.y + fFrame.top);
}

BPoint BView::ConvertFromParent(BPoint point) const
{
    return BPoint(point.x - fFrame.left + fOrigin.x, point.y - fFrame.top + fOrigin.y);
}

BRect BView::ConvertToParent(BRect rect) const
{
    return BRect(ConvertToParent(rect.LeftTop()), ConvertToParent(rect.RightBottom()));
}

BRect BView::ConvertFromParent(BRect rect) const
{
    return BRect(ConvertFromParent(rect.LeftTop()), ConvertFromParent(rect.RightBottom()));
}

BPoint BView::ConvertToWindow(BPoint point) const
{
    for (const BView* view = this; view != nullptr; view = view->fParent)
        point = view->ConvertToParent(point);
    return point;
}

BPoint BView::ConvertFromWindow(BPoint point) const
{
    if (fParent != nullptr)
        point = fParent->ConvertFromWindow(point);
    return ConvertFromParent(point);
}

BRect BView::ConvertToWindow(BRect rect) const
{
    return BRect(ConvertToWindow(rect.LeftTop()), ConvertToWindow(rect.RightBottom()));
}

BRect BView::ConvertFromWindow(BRect rect) const
{
    return BRect(ConvertFromWindow(rect.LeftTop()), ConvertFromWindow(rect.RightBottom()));
}

void BView::ConvertToScreen(BPoint* point) const
{
    if (point != nullptr)
        *point = ConvertToScreen(*point);
}

BPoint BView::ConvertToScreen(BPoint point) const
{
    point = ConvertToWindow(point);
    return fWindow != nullptr ? fWindow->ConvertToScreen(point) : point;
}

void BView::ConvertToScreen(BRect* rect) const
{
    if (rect != nullptr)
        *rect = ConvertToScreen(*rect);
}

BRect BView::ConvertToScreen(BRect rect) const
{
    return BRect(ConvertToScreen(rect.LeftTop()), ConvertToScreen(rect.RightBottom()));
}

void BView::ConvertFromScreen(BPoint* point) const
{
    if (point != nullptr)
        *point = ConvertFromScreen(*point);
}

BPoint BView::ConvertFromScreen(BPoint point) const
{
    if (fWindow != nullptr)
        point = fWindow->ConvertFromScreen(point);
    return ConvertFromWindow(point);
}

BRect BView::ConvertFromScreen(BRect rect) const
{
    return BRect(ConvertFromScreen(rect.LeftTop()), ConvertFromScreen(rect.RightBottom()));
}

void BView::SetResizingMode(uint32 mode)
{
    fResizingMode = mode;
}

void BView::SetFlags(uint32 flags)
{
    fFlags = flags;
}

// Showing and hiding nest: a view hidden twice needs two Show() calls.
// A Show() too many is ignored rather than making a later Hide() void.
void BView::Show()
{
    if (fHideLevel == 0)
        return;
    if (--fHideLevel == 0)
        Invalidate();
}

void BView::Hide()
{
    if (fHideLevel++ == 0 && fParent != nullptr)
        fParent->Invalidate(fFrame);
    if (fWindow != nullptr)
        fWindow->ViewHidden(this);
}

bool BView::IsHidden() const
{
    return IsHidden(nullptr);
}

bool BView::IsHidden(const BView* lookingFrom) const
{
    for (const BView* view = this; view != nullptr && view != lookingFrom; view = view->fParent) {
        if (view->fHideLevel > 0)
            return true;
    }
    return false;
}

BView* BView::ChildUnder(BPoint point)
{
    for (auto it = fChildren.rbegin(); it != fChildren.rend(); ++it) {
        BView* child = *it;
        if (child->fHideLevel == 0 && child->fFrame.Contains(point))
            return child;
    }
    return nullptr;
}

status_t BView::SetMouseEventMask(uint32 mask, uint32)
{
    if (fWindow == nullptr)
        return B_ERROR;
    fWindow->SetMouseCapture(this, (mask & B_POINTER_EVENTS) != 0);
    return B_OK;
}

status_t BView::SetEventMask(uint32 mask, uint32)
{
    fEventMask = mask;
    return B_OK;
}

void BView::GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue)
{
    BPoint where;
    uint32 held = 0;
    if (fWindow != nullptr)
        fWindow->CurrentMouse(&where, &held, checkMessageQueue);
    if (location != nullptr)
        *location = ConvertFromWindow(where);
    if (buttons != nullptr)
        *buttons = held;
}

void BView::BeginRectTracking(BRect startRect, uint32)
{
    if (fWindow != nullptr)
        fWindow->SetTrackingRect(ConvertToWindow(startRect), true);
}

void BView::EndRectTracking()
{
    if (fWindow != nullptr)
        fWindow->SetTrackingRect(BRect(), false);
}

BScrollBar* BView::ScrollBar(orientation direction) const
{
    return direction == B_VERTICAL ? fScrollBars[B_VERTICAL] : fScrollBars[B_HORIZONTAL];
}

void BView::Invalidate(BRect rect)
{
    if (fWindow != nullptr && !IsHidden())
        fWindow->InvalidateArea(ConvertToWindow(rect & Bounds()));
}

void BView::Invalidate()
{
    Invalidate(Bounds());
}
