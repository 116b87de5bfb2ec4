// The picture at the left of an alert: a red stop sign, a yellow warning
// triangle, a blue information disc or a light bulb, drawn as shapes so that
// it is sharp at every scale.
#pragma once

#include "AlertRequest.h"
#include "BView.h"

class AlertIconView : public BView {
public:
    AlertIconView(BPoint where, alert_type type);

    void Draw(BRect updateRect) override;

private:
    void DrawStop();
    void DrawWarning();
    void DrawInfo();
    void DrawIdea();

    alert_type fType;
};
