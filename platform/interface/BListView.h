// A list of rows (BListItem), one above the other, each Height() + 1 points
// tall, with single or multiple selection. A change of the selection sends
// the selection message with an "index" for every selected row; a double
// click or Return sends the invocation message. In a scroll view it keeps the
// vertical scroll bar's range in step with its rows.
#pragma once

#include "BInvoker.h"
#include "BView.h"

#include <vector>

class BListItem;

enum list_view_type : uint32 {
    B_SINGLE_SELECTION_LIST,
    B_MULTIPLE_SELECTION_LIST,
};

class BListView : public BView, public BInvoker {
public:
    BListView(BRect frame, const char* name, list_view_type type = B_SINGLE_SELECTION_LIST,
        uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
        uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE);
    ~BListView() override;

    // The list owns the rows it holds and deletes them when it goes (the
    // design's windows own their rows); RemoveItem, RemoveItems and
    // MakeEmpty hand rows back to the caller, as in the kit.
    virtual bool AddItem(BListItem* item);
    virtual bool AddItem(BListItem* item, int32 index);
    virtual bool RemoveItem(BListItem* item);
    virtual BListItem* RemoveItem(int32 index);
    virtual bool RemoveItems(int32 index, int32 count);
    virtual void MakeEmpty();
    bool ReplaceItem(int32 index, BListItem* item);
    bool SwapItems(int32 a, int32 b);
    bool MoveItem(int32 from, int32 to);
    int32 CountItems() const { return int32(fItems.size()); }
    bool IsEmpty() const { return fItems.empty(); }
    BListItem* ItemAt(int32 index) const;
    BListItem* FirstItem() const { return ItemAt(0); }
    BListItem* LastItem() const { return ItemAt(CountItems() - 1); }
    bool HasItem(const BListItem* item) const { return IndexOf(item) >= 0; }
    int32 IndexOf(const BListItem* item) const;
    // The row under a point of the view, or -1.
    int32 IndexOf(BPoint point) const;
    BRect ItemFrame(int32 index) const;
    void InvalidateItem(int32 index);
    void SortItems(int (*compare)(const void*, const void*));

    void SetListType(list_view_type type);
    list_view_type ListType() const { return fType; }
    void Select(int32 index, bool extend = false);
    void Select(int32 start, int32 finish, bool extend = false);
    void Deselect(int32 index);
    void DeselectAll();
    void DeselectExcept(int32 start, int32 finish);
    bool IsItemSelected(int32 index) const;
    // The index of the `which`-th selected row (in list order), or -1.
    int32 CurrentSelection(int32 which = 0) const;
    void ScrollToSelection();

    // Taken over; null sends nothing.
    virtual void SetSelectionMessage(BMessage* message);
    BMessage* SelectionMessage() const { return fSelectionMessage; }
    uint32 SelectionCommand() const;
    virtual void SetInvocationMessage(BMessage* message);
    BMessage* InvocationMessage() const { return Message(); }
    uint32 InvocationCommand() const { return Command(); }
    status_t Invoke(BMessage* message = nullptr) override;

    // Hooks.
    virtual void SelectionChanged();
    // Called when the user drags a row (`wasSelected`: it was selected
    // before the click); true when the drag was taken care of.
    virtual bool InitiateDrag(BPoint where, int32 index, bool wasSelected);

    void AttachedToWindow() override;
    void Draw(BRect updateRect) override;
    void MouseDown(BPoint where) override;
    void MouseUp(BPoint where) override;
    void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage) override;
    void KeyDown(const char* bytes, int32 numBytes) override;
    void FrameResized(float width, float height) override;
    void SetFont(const BFont* font, uint32 mask = B_FONT_ALL) override;
    void TargetedByScrollView() { FixupScrollBar(); }

private:
    void UpdateItems();
    void FixupScrollBar();
    float ItemTop(int32 index) const;
    void SelectionWasChanged();
    void SelectOnly(int32 index);

    std::vector<BListItem*> fItems;
    list_view_type fType;
    BMessage* fSelectionMessage = nullptr;
    int32 fAnchor = -1;
    // A click that may become a drag.
    bool fPressed = false;
    BPoint fPressPoint;
    int32 fPressIndex = -1;
    bool fPressWasSelected = false;
};
