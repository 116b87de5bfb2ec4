#include "AlertIconView.h"

#include <cmath>

AlertIconView::AlertIconView(BPoint where, alert_type type)
    : BView(BRect(where.x, where.y, where.x + 31, where.y + 31), "alert_icon",
        B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW)
    , fType(type)
{
    SetViewColor(B_TRANSPARENT_COLOR);
}

void AlertIconView::Draw(BRect)
{
    switch (fType) {
    case B_STOP_ALERT:
        DrawStop();
        break;
    case B_WARNING_ALERT:
        DrawWarning();
        break;
    case B_INFO_ALERT:
        DrawInfo();
        break;
    case B_IDEA_ALERT:
        DrawIdea();
        break;
    default:
        break;
    }
}

void AlertIconView::DrawStop()
{
    BPoint octagon[8];
    for (int i = 0; i < 8; ++i) {
        float angle = float(M_PI) / 8 + float(i) * float(M_PI) / 4;
        octagon[i] = BPoint(15.5f + 15 * std::cos(angle), 15.5f + 15 * std::sin(angle));
    }
    SetHighColor(200, 20, 20);
    FillPolygon(octagon, 8);
    SetHighColor(100, 0, 0);
    StrokePolygon(octagon, 8);
    SetHighColor(255, 255, 255);
    FillRect(BRect(7, 13, 24, 18));
}

void AlertIconView::DrawWarning()
{
    BPoint corners[3] = {BPoint(15.5f, 1), BPoint(30, 29), BPoint(1, 29)};
    SetHighColor(255, 203, 0);
    FillPolygon(corners, 3);
    SetHighColor(120, 90, 0);
    StrokePolygon(corners, 3);
    SetHighColor(0, 0, 0);
    FillRect(BRect(14, 10, 17, 21));
    FillRect(BRect(14, 24, 17, 26));
}

void AlertIconView::DrawInfo()
{
    SetHighColor(40, 90, 200);
    FillEllipse(BRect(0, 0, 31, 31));
    SetHighColor(20, 50, 130);
    StrokeEllipse(BRect(0, 0, 31, 31));
    SetHighColor(255, 255, 255);
    FillRect(BRect(14, 7, 17, 10));
    FillRect(BRect(14, 13, 17, 25));
    FillRect(BRect(12, 13, 15, 14));
    FillRect(BRect(12, 24, 19, 25));
}

void AlertIconView::DrawIdea()
{
    SetHighColor(255, 230, 60);
    FillEllipse(BRect(6, 1, 25, 20));
    SetHighColor(130, 110, 0);
    StrokeEllipse(BRect(6, 1, 25, 20));
    SetHighColor(150, 150, 150);
    FillRect(BRect(11, 20, 20, 28));
    SetHighColor(90, 90, 90);
    StrokeLine(BPoint(11, 23), BPoint(20, 23));
    StrokeLine(BPoint(11, 26), BPoint(20, 26));
}
