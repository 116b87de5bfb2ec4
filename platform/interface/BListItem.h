// One row of a list view: its height and width, selected or not, enabled or
// not; subclasses draw it.
#pragma once

#include "BFont.h"
#include "BRect.h"
#include "SupportDefs.h"

class BView;

class BListItem {
public:
    explicit BListItem(uint32 outlineLevel = 0, bool expanded = true);
    virtual ~BListItem();

    float Height() const { return fHeight; }
    float Width() const { return fWidth; }
    void SetHeight(float height) { fHeight = height; }
    void SetWidth(float width) { fWidth = width; }
    bool IsSelected() const { return fSelected; }
    void Select() { fSelected = true; }
    void Deselect() { fSelected = false; }
    void SetEnabled(bool enabled) { fEnabled = enabled; }
    bool IsEnabled() const { return fEnabled; }
    void SetExpanded(bool expanded) { fExpanded = expanded; }
    bool IsExpanded() const { return fExpanded; }
    uint32 OutlineLevel() const { return fLevel; }

    // Draws the row into `owner` within `frame`; `complete` asks for the
    // background too.
    virtual void DrawItem(BView* owner, BRect frame, bool complete = false) = 0;
    // The owner's font or width changed: the row takes its size from them.
    virtual void Update(BView* owner, const BFont* font);

private:
    float fHeight = 0;
    float fWidth = 0;
    uint32 fLevel;
    bool fSelected = false;
    bool fEnabled = true;
    bool fExpanded;
};
