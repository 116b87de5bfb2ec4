#include "LibRect.h"

BRect LibRect(const float& x, const float& y, const float& width, const float& height)
{
    return BRect(x, y, x + width, y + height);
}

namespace {

bool IsVertical(Edge edge)
{
    return edge == kTopEdge || edge == kBottomEdge;
}

bool IsHorizontal(Edge edge)
{
    return edge == kLeftEdge || edge == kRightEdge;
}

} // namespace

BRect LibLayoutRect(const BRect& reference, const Edge& referenceEdge, const Edge& alignEdge,
    const float& gap, const float& width, const float& height)
{
    BRect rect(0, 0, width, height);
    if (IsVertical(referenceEdge) && IsVertical(alignEdge)) {
        float top = (referenceEdge == kTopEdge ? reference.top : reference.bottom) + gap;
        if (alignEdge == kBottomEdge)
            top -= height;
        rect.OffsetTo(reference.left, top);
    } else if (IsHorizontal(referenceEdge) && IsHorizontal(alignEdge)) {
        float left = (referenceEdge == kLeftEdge ? reference.left : reference.right) + gap;
        if (alignEdge == kRightEdge)
            left -= width;
        rect.OffsetTo(left, reference.top);
    }
    return rect;
}
