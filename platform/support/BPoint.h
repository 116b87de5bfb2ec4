// A point in a view's coordinate system.
#pragma once

class BPoint {
public:
    float x = 0;
    float y = 0;

    BPoint() = default;
    BPoint(float px, float py)
        : x(px)
        , y(py)
    { }

    void Set(float px, float py)
    {
        x = px;
        y = py;
    }
    BPoint operator+(const BPoint& other) const { return BPoint(x + other.x, y + other.y); }
    BPoint operator-(const BPoint& other) const { return BPoint(x - other.x, y - other.y); }
    bool operator==(const BPoint& other) const = default;
};
