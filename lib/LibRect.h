// Rectangles built from a size: at a point, or against an edge of another.
#pragma once

#include "BRect.h"
#include "SupportDefs.h"

// An edge of a rectangle, for LibLayoutRect.
enum Edge : int32 {
    kTopEdge = 0,
    kBottomEdge = 1,
    kLeftEdge = 2,
    kRightEdge = 3,
};

// BRect(x, y, x + width, y + height).
BRect LibRect(const float& x, const float& y, const float& width, const float& height);

// A width by height rectangle whose `alignEdge` lies `gap` beyond the
// `referenceEdge` of `reference`: top or bottom against top or bottom
// (left edges lined up), left or right against left or right (top edges
// lined up). Other pairs give the rectangle at (0, 0).
BRect LibLayoutRect(const BRect& reference, const Edge& referenceEdge, const Edge& alignEdge,
    const float& gap, const float& width, const float& height);
