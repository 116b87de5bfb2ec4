// A rectangle given by its edges; right and bottom are inclusive, so a
// rectangle from 0 to 9 is ten pixels wide and Width() answers 9.
#pragma once

#include "BPoint.h"

#include <algorithm>

class BRect {
public:
    float left = 0;
    float top = 0;
    float right = -1;
    float bottom = -1;

    BRect() = default;
    BRect(float l, float t, float r, float b)
        : left(l)
        , top(t)
        , right(r)
        , bottom(b)
    { }
    BRect(BPoint leftTop, BPoint rightBottom)
        : BRect(leftTop.x, leftTop.y, rightBottom.x, rightBottom.y)
    { }

    void Set(float l, float t, float r, float b) { *this = BRect(l, t, r, b); }
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    int32_t IntegerWidth() const { return int32_t(right - left); }
    int32_t IntegerHeight() const { return int32_t(bottom - top); }
    bool IsValid() const { return left <= right && top <= bottom; }
    BPoint LeftTop() const { return BPoint(left, top); }
    BPoint RightBottom() const { return BPoint(right, bottom); }

    BRect& OffsetBy(float dx, float dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    BRect& OffsetTo(float x, float y) { return OffsetBy(x - left, y - top); }
    BRect& InsetBy(float dx, float dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }
    bool Contains(BPoint p) const
    {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    bool Intersects(const BRect& r) const
    {
        return IsValid() && r.IsValid() && left <= r.right && r.left <= right && top <= r.bottom
            && r.top <= bottom;
    }
    BRect operator|(const BRect& r) const
    {
        return BRect(std::min(left, r.left), std::min(top, r.top), std::max(right, r.right),
            std::max(bottom, r.bottom));
    }
    BRect operator&(const BRect& r) const
    {
        return BRect(std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
            std::min(bottom, r.bottom));
    }
    bool operator==(const BRect& other) const = default;
};
