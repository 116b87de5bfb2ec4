// A line between groups of menu items; never chosen.
#pragma once

#include "BMenuItem.h"

class BSeparatorItem : public BMenuItem {
public:
    BSeparatorItem();
    ~BSeparatorItem() override;

    void SetEnabled(bool enabled) override;

protected:
    void DrawContent() override;
    void GetContentSize(float* width, float* height) override;
    void Draw() override;
};
