#include "BScrollBar.h"

#include "AppDefs.h"
#include "ControlLook.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kMinKnob = 12;

} // namespace

BScrollBar::BScrollBar(
    BRect frame, const char* name, BView* target, float min, float max, orientation direction)
    : BView(frame, name,
        direction == B_VERTICAL ? B_FOLLOW_TOP_BOTTOM | B_FOLLOW_RIGHT
                                : B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM,
        B_WILL_DRAW | B_FRAME_EVENTS)
    , fOrientation(direction)
    , fMin(min)
    , fMax(std::max(min, max))
    , fValue(min)
{
    SetViewColor(ControlLook::Panel());
    SetTarget(target);
}

BScrollBar::~BScrollBar()
{
    SetTarget(static_cast<BView*>(nullptr));
}

void BScrollBar::SetTarget(BView* target)
{
    if (fTarget != nullptr && fTarget->fScrollBars[fOrientation] == this)
        fTarget->fScrollBars[fOrientation] = nullptr;
    fTarget = target;
    if (target != nullptr)
        target->fScrollBars[fOrientation] = this;
}

void BScrollBar::SetTarget(const char* targetName)
{
    BView* root = this;
    while (root->Parent() != nullptr)
        root = root->Parent();
    SetTarget(root->FindView(targetName));
}

void BScrollBar::SetValue(float value)
{
    value = std::clamp(std::round(value), fMin, fMax);
    if (value == fValue)
        return;
    fValue = value;
    Invalidate();
    ValueChanged(value);
}

void BScrollBar::ValueChanged(float newValue)
{
    if (fTarget == nullptr)
        return;
    BPoint origin = fTarget->Bounds().LeftTop();
    if (fOrientation == B_VERTICAL)
        origin.y = newValue;
    else
        origin.x = newValue;
    fTarget->ScrollTo(origin);
}

void BScrollBar::SetProportion(float proportion)
{
    fProportion = std::clamp(proportion, 0.0f, 1.0f);
    Invalidate();
}

void BScrollBar::SetRange(float min, float max)
{
    fMin = min;
    fMax = std::max(min, max);
    Invalidate();
    if (fValue < fMin || fValue > fMax)
        SetValue(std::clamp(fValue, fMin, fMax));
}

void BScrollBar::GetRange(float* min, float* max) const
{
    if (min != nullptr)
        *min = fMin;
    if (max != nullptr)
        *max = fMax;
}

void BScrollBar::SetSteps(float smallStep, float largeStep)
{
    fSmallStep = smallStep;
    fLargeStep = largeStep;
}

void BScrollBar::GetSteps(float* smallStep, float* largeStep) const
{
    if (smallStep != nullptr)
        *smallStep = fSmallStep;
    if (largeStep != nullptr)
        *largeStep = fLargeStep;
}

float BScrollBar::Along(BPoint point) const
{
    return fOrientation == B_VERTICAL ? point.y : point.x;
}

float BScrollBar::Length() const
{
    BRect bounds = Bounds();
    return (fOrientation == B_VERTICAL ? bounds.Height() : bounds.Width()) + 1;
}

float BScrollBar::ArrowSize() const
{
    BRect bounds = Bounds();
    return (fOrientation == B_VERTICAL ? bounds.Width() : bounds.Height()) + 1;
}

BRect BScrollBar::KnobFrame() const
{
    BRect bounds = Bounds();
    float arrow = ArrowSize();
    float trough = Length() - 2 * arrow;
    float range = fMax - fMin;
    float knob = fProportion > 0 ? trough * fProportion : trough / 4;
    knob = std::clamp(std::floor(knob), std::min(kMinKnob, trough), trough);
    float start = arrow + (range > 0 ? std::floor((trough - knob) * (fValue - fMin) / range) : 0);
    if (fOrientation == B_VERTICAL)
        return BRect(bounds.left, start, bounds.right, start + knob - 1);
    return BRect(start, bounds.top, start + knob - 1, bounds.bottom);
}

void BScrollBar::Draw(BRect)
{
    BRect bounds = Bounds();
    bool enabled = fMax > fMin;
    float arrow = ArrowSize();
    SetHighColor(tint_color(ControlLook::Panel(), B_DARKEN_1_TINT));
    FillRect(bounds);
    SetHighColor(ControlLook::Shadow());
    StrokeRect(bounds);
    BRect first = bounds, last = bounds;
    if (fOrientation == B_VERTICAL) {
        first.bottom = first.top + arrow - 1;
        last.top = last.bottom - arrow + 1;
    } else {
        first.right = first.left + arrow - 1;
        last.left = last.right - arrow + 1;
    }
    DrawArrow(first, false, enabled);
    DrawArrow(last, true, enabled);
    if (!enabled)
        return;
    BRect knob = KnobFrame();
    ControlLook::DrawButton(this, knob, false, true, false);
}

void BScrollBar::DrawArrow(BRect box, bool forward, bool enabled)
{
    ControlLook::DrawButton(this, box, false, enabled, false);
    float cx = std::floor((box.left + box.right) / 2), cy = std::floor((box.top + box.bottom) / 2);
    float size = std::max(2.0f, std::floor(std::min(box.Width(), box.Height()) / 4));
    BPoint a, b, c;
    if (fOrientation == B_VERTICAL) {
        float tip = forward ? cy + size / 2 : cy - size / 2;
        float base = forward ? tip - size : tip + size;
        a = BPoint(cx, tip), b = BPoint(cx - size, base), c = BPoint(cx + size, base);
    } else {
        float tip = forward ? cx + size / 2 : cx - size / 2;
        float base = forward ? tip - size : tip + size;
        a = BPoint(tip, cy), b = BPoint(base, cy - size), c = BPoint(base, cy + size);
    }
    SetHighColor(enabled ? make_color(0, 0, 0) : ControlLook::Shadow());
    FillTriangle(a, b, c);
}

void BScrollBar::MouseDown(BPoint where)
{
    if (fMax <= fMin)
        return;
    float at = Along(where), arrow = ArrowSize();
    if (at < arrow) {
        SetValue(fValue - fSmallStep);
        return;
    }
    if (at > Length() - arrow) {
        SetValue(fValue + fSmallStep);
        return;
    }
    BRect knob = KnobFrame();
    float knobStart = Along(knob.LeftTop()), knobEnd = Along(knob.RightBottom());
    if (at < knobStart) {
        SetValue(fValue - fLargeStep);
    } else if (at > knobEnd) {
        SetValue(fValue + fLargeStep);
    } else {
        fDragging = true;
        fDragOffset = at - knobStart;
        SetMouseEventMask(B_POINTER_EVENTS);
    }
}

void BScrollBar::MouseMoved(BPoint where, uint32, const BMessage*)
{
    if (!fDragging)
        return;
    BRect knob = KnobFrame();
    float knobLength = Along(knob.RightBottom()) - Along(knob.LeftTop()) + 1;
    float travel = Length() - 2 * ArrowSize() - knobLength;
    if (travel <= 0)
        return;
    float start = Along(where) - fDragOffset - ArrowSize();
    SetValue(fMin + (fMax - fMin) * std::clamp(start / travel, 0.0f, 1.0f));
}

void BScrollBar::MouseUp(BPoint)
{
    fDragging = false;
}

void BScrollBar::MessageReceived(BMessage* message)
{
    if (message->what == B_MOUSE_WHEEL_CHANGED) {
        float delta = message->FindFloat(
            fOrientation == B_VERTICAL ? "be:wheel_delta_y" : "be:wheel_delta_x");
        SetValue(fValue + delta * fSmallStep * 3);
        return;
    }
    BView::MessageReceived(message);
}
