// A single-selection list that tells its window which row the pointer rests
// on (the hover command, "item" = the row or -1), lets the user drag a
// selected row to another place (ItemReordered, then the reorder command),
// scrolling while the pointer is at an edge, and hides its window on Escape
// or Tab.
#pragma once

#include "BListView.h"

class BScrollBar;

class LibListView : public BListView {
public:
    LibListView(BRect frame, const char* name);
    ~LibListView() override;

    // `scrollBar` (may be null) scrolls the list while a row is dragged to
    // its top or bottom edge.
    void AllowReorder(const bool& allow, BScrollBar* scrollBar);
    // 0 posts nothing.
    void SetReorderCommand(const unsigned long& command);
    void SetHoverCommand(const unsigned long& command);

    void KeyDown(const char* bytes, int32 numBytes) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    bool InitiateDrag(BPoint where, int32 index, bool wasSelected) override;
    // A row was dragged from `from` to `to`: derived lists move their data.
    virtual void ItemReordered(const long& from, const long& to);

private:
    void PostHover(int32 index);
    bool Outside(BPoint where) const;
    void AutoScroll(BPoint where);

    unsigned long fReorderCommand = 0;
    bool fAllowReorder = false;
    unsigned long fHoverCommand = 0;
    int32 fHoverIndex = -1;
    BScrollBar* fScrollBar = nullptr;
};
