#include "BListView.h"

#include "BListItem.h"
#include "BScrollBar.h"
#include "BWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

BListView::BListView(
    BRect frame, const char* name, list_view_type type, uint32 resizingMode, uint32 flags)
    : BView(frame, name, resizingMode, flags | B_FRAME_EVENTS)
    , BInvoker(nullptr, nullptr, nullptr)
    , fType(type)
{
    SetSource(this);
}

BListView::~BListView()
{
    for (BListItem* item : fItems)
        delete item;
    delete fSelectionMessage;
}

bool BListView::AddItem(BListItem* item)
{
    return AddItem(item, CountItems());
}

bool BListView::AddItem(BListItem* item, int32 index)
{
    if (item == nullptr || index < 0 || index > CountItems() || HasItem(item))
        return false;
    fItems.insert(fItems.begin() + index, item);
    BFont font;
    GetFont(&font);
    item->Update(this, &font);
    FixupScrollBar();
    Invalidate();
    return true;
}

bool BListView::RemoveItem(BListItem* item)
{
    return RemoveItem(IndexOf(item)) != nullptr;
}

BListItem* BListView::RemoveItem(int32 index)
{
    BListItem* item = ItemAt(index);
    if (item == nullptr)
        return nullptr;
    bool wasSelected = item->IsSelected();
    fItems.erase(fItems.begin() + index);
    item->Deselect();
    FixupScrollBar();
    Invalidate();
    if (wasSelected)
        SelectionWasChanged();
    return item;
}

bool BListView::RemoveItems(int32 index, int32 count)
{
    if (index < 0 || count < 0 || index + count > CountItems())
        return false;
    bool selectionChanged = false;
    for (int32 i = index; i < index + count; ++i) {
        selectionChanged |= fItems[size_t(i)]->IsSelected();
        fItems[size_t(i)]->Deselect();
    }
    fItems.erase(fItems.begin() + index, fItems.begin() + index + count);
    FixupScrollBar();
    Invalidate();
    if (selectionChanged)
        SelectionWasChanged();
    return true;
}

void BListView::MakeEmpty()
{
    if (fItems.empty())
        return;
    RemoveItems(0, CountItems());
    ScrollTo(BPoint(0, 0));
}

bool BListView::ReplaceItem(int32 index, BListItem* item)
{
    if (item == nullptr || ItemAt(index) == nullptr)
        return false;
    fItems[size_t(index)]->Deselect();
    fItems[size_t(index)] = item;
    BFont font;
    GetFont(&font);
    item->Update(this, &font);
    FixupScrollBar();
    Invalidate();
    return true;
}

bool BListView::SwapItems(int32 a, int32 b)
{
    if (ItemAt(a) == nullptr || ItemAt(b) == nullptr)
        return false;
    std::swap(fItems[size_t(a)], fItems[size_t(b)]);
    Invalidate();
    return true;
}

bool BListView::MoveItem(int32 from, int32 to)
{
    if (ItemAt(from) == nullptr || ItemAt(to) == nullptr)
        return false;
    BListItem* item = fItems[size_t(from)];
    fItems.erase(fItems.begin() + from);
    fItems.insert(fItems.begin() + to, item);
    Invalidate();
    return true;
}

BListItem* BListView::ItemAt(int32 index) const
{
    if (index < 0 || index >= CountItems())
        return nullptr;
    return fItems[size_t(index)];
}

int32 BListView::IndexOf(const BListItem* item) const
{
    auto found = std::find(fItems.begin(), fItems.end(), item);
    return found == fItems.end() ? -1 : int32(found - fItems.begin());
}

float BListView::ItemTop(int32 index) const
{
    float top = 0;
    for (int32 i = 0; i < index && i < CountItems(); ++i)
        top += std::floor(fItems[size_t(i)]->Height()) + 1;
    return top;
}

int32 BListView::IndexOf(BPoint point) const
{
    float top = 0;
    for (int32 i = 0; i < CountItems(); ++i) {
        float bottom = top + std::floor(fItems[size_t(i)]->Height());
        if (point.y >= top && point.y <= bottom)
            return i;
        top = bottom + 1;
    }
    return -1;
}

BRect BListView::ItemFrame(int32 index) const
{
    BListItem* item = ItemAt(index);
    if (item == nullptr)
        return BRect();
    float top = ItemTop(index);
    return BRect(0, top, Bounds().Width(), top + std::floor(item->Height()));
}

void BListView::InvalidateItem(int32 index)
{
    if (ItemAt(index) != nullptr)
        Invalidate(ItemFrame(index));
}

void BListView::SortItems(int (*compare)(const void*, const void*))
{
    if (compare == nullptr || fItems.empty())
        return;
    qsort(fItems.data(), fItems.size(), sizeof(BListItem*), compare);
    Invalidate();
}

void BListView::SetListType(list_view_type type)
{
    fType = type;
    if (type == B_SINGLE_SELECTION_LIST && CurrentSelection(1) >= 0)
        SelectOnly(CurrentSelection(0));
}

void BListView::Select(int32 index, bool extend)
{
    BListItem* item = ItemAt(index);
    if (item == nullptr)
        return;
    if (!extend || fType == B_SINGLE_SELECTION_LIST) {
        SelectOnly(index);
        return;
    }
    fAnchor = index;
    if (item->IsSelected())
        return;
    item->Select();
    InvalidateItem(index);
    SelectionWasChanged();
}

void BListView::Select(int32 start, int32 finish, bool extend)
{
    if (fType == B_SINGLE_SELECTION_LIST) {
        Select(finish, false);
        return;
    }
    start = std::max(start, 0);
    finish = std::min(finish, CountItems() - 1);
    bool changed = false;
    for (int32 i = 0; i < CountItems(); ++i) {
        bool wanted = (i >= start && i <= finish) || (extend && fItems[size_t(i)]->IsSelected());
        if (wanted == fItems[size_t(i)]->IsSelected())
            continue;
        if (wanted)
            fItems[size_t(i)]->Select();
        else
            fItems[size_t(i)]->Deselect();
        InvalidateItem(i);
        changed = true;
    }
    if (changed)
        SelectionWasChanged();
}

void BListView::SelectOnly(int32 index)
{
    bool changed = false;
    for (int32 i = 0; i < CountItems(); ++i) {
        bool wanted = i == index;
        if (wanted == fItems[size_t(i)]->IsSelected())
            continue;
        if (wanted)
            fItems[size_t(i)]->Select();
        else
            fItems[size_t(i)]->Deselect();
        InvalidateItem(i);
        changed = true;
    }
    fAnchor = index;
    if (changed)
        SelectionWasChanged();
}

void BListView::Deselect(int32 index)
{
    BListItem* item = ItemAt(index);
    if (item == nullptr || !item->IsSelected())
        return;
    item->Deselect();
    InvalidateItem(index);
    SelectionWasChanged();
}

void BListView::DeselectAll()
{
    DeselectExcept(0, -1);
}

void BListView::DeselectExcept(int32 start, int32 finish)
{
    bool changed = false;
    for (int32 i = 0; i < CountItems(); ++i) {
        if ((i >= start && i <= finish) || !fItems[size_t(i)]->IsSelected())
            continue;
        fItems[size_t(i)]->Deselect();
        InvalidateItem(i);
        changed = true;
    }
    if (changed)
        SelectionWasChanged();
}

bool BListView::IsItemSelected(int32 index) const
{
    BListItem* item = ItemAt(index);
    return item != nullptr && item->IsSelected();
}

int32 BListView::CurrentSelection(int32 which) const
{
    if (which < 0)
        return -1;
    for (int32 i = 0; i < CountItems(); ++i) {
        if (fItems[size_t(i)]->IsSelected() && which-- == 0)
            return i;
    }
    return -1;
}

void BListView::ScrollToSelection()
{
    int32 index = CurrentSelection();
    if (index < 0)
        return;
    BRect frame = ItemFrame(index);
    BRect bounds = Bounds();
    if (frame.top < bounds.top)
        ScrollTo(BPoint(bounds.left, frame.top));
    else if (frame.bottom > bounds.bottom)
        ScrollTo(BPoint(bounds.left, frame.bottom - bounds.Height()));
}

void BListView::SetSelectionMessage(BMessage* message)
{
    if (message == fSelectionMessage)
        return;
    delete fSelectionMessage;
    fSelectionMessage = message;
}

uint32 BListView::SelectionCommand() const
{
    return fSelectionMessage != nullptr ? fSelectionMessage->what : 0;
}

void BListView::SetInvocationMessage(BMessage* message)
{
    SetMessage(message);
}

// Both messages carry the selected rows as "index".
status_t BListView::Invoke(BMessage* message)
{
    if (message == nullptr)
        message = Message();
    if (message == nullptr)
        return B_BAD_VALUE;
    BMessage copy(*message);
    for (int32 i = 0; CurrentSelection(i) >= 0; ++i)
        copy.AddInt32("index", CurrentSelection(i));
    return Send(copy);
}

void BListView::SelectionChanged() { }

bool BListView::InitiateDrag(BPoint, int32, bool)
{
    return false;
}

void BListView::SelectionWasChanged()
{
    SelectionChanged();
    if (fSelectionMessage != nullptr)
        Invoke(fSelectionMessage);
}

void BListView::AttachedToWindow()
{
    if (!HasTarget())
        SetTarget(Window());
    UpdateItems();
}

void BListView::SetFont(const BFont* font, uint32 mask)
{
    BView::SetFont(font, mask);
    UpdateItems();
}

void BListView::FrameResized(float, float)
{
    UpdateItems();
}

void BListView::UpdateItems()
{
    BFont font;
    GetFont(&font);
    for (BListItem* item : fItems)
        item->Update(this, &font);
    FixupScrollBar();
    Invalidate();
}

void BListView::FixupScrollBar()
{
    BScrollBar* bar = ScrollBar(B_VERTICAL);
    if (bar == nullptr)
        return;
    float total = ItemTop(CountItems());
    float visible = Bounds().Height() + 1;
    bar->SetRange(0, std::max(0.0f, total - visible));
    bar->SetProportion(total > 0 ? std::min(1.0f, visible / total) : 1);
    float row = fItems.empty() ? 16 : std::floor(fItems.front()->Height()) + 1;
    bar->SetSteps(row, std::max(row, visible - row));
}

void BListView::Draw(BRect updateRect)
{
    for (int32 i = 0; i < CountItems(); ++i) {
        BRect frame = ItemFrame(i);
        if (frame.bottom < updateRect.top)
            continue;
        if (frame.top > updateRect.bottom)
            break;
        PushState();
        fItems[size_t(i)]->DrawItem(this, frame, true);
        PopState();
    }
}
