// The foundation library's container: a doubly linked list that owns the
// objects handed to it, kept in insertion order, with a built-in cursor for
// walking it (First, Next, Remove at the cursor).
#pragma once

#include "ListNode.h"
#include "SupportDefs.h"

#include <new>
#include <type_traits>

class LibString;

// Element equality and order: the element's own operators, except for text,
// which compares by content (its pointer conversion must never be used).
template<typename T> bool LinkListEqual(const T& a, const T& b)
{
    if constexpr (std::is_base_of_v<LibString, T>)
        return a.Compare(b, false) == 0;
    else if constexpr (requires(const T& x, const T& y) { x == y; })
        return a == b;
    else
        return &a == &b;
}

template<typename T> bool LinkListAfter(const T& a, const T& b)
{
    if constexpr (std::is_base_of_v<LibString, T>)
        return a.Compare(b, false) > 0;
    else if constexpr (requires(const T& x, const T& y) { x > y; })
        return a > b;
    else
        return false;
}

template<typename T> class LinkList {
public:
    LinkList() = default;
    LinkList(const LinkList&) = delete;
    virtual ~LinkList() { LinkList<T>::Clear(); }

    virtual void Clear();
    virtual int32 Size() const { return fCount; }
    // Whether `a` sorts after `b`; a hook for derived lists.
    virtual bool SortCompare(T* a, T* b);

    // Appends at the tail and takes ownership; the cursor stays. A null item
    // is refused.
    bool Insert(T* item);
    T* First();
    T* Next();
    // Deletes the element at the cursor; the cursor steps back to the
    // previous node (or onto the new head), so a walk goes on with Next().
    bool Remove();

    // The cursor's element and index (-1 after a failed search).
    T* Current() const { return fCursor != nullptr ? fCursor->fItem : nullptr; }
    int32 CursorIndex() const { return fCursorIndex; }

    ListNode<T>* FindNext(const T* item);
    bool InList(T* item);
    T* Get(const T* item);
    int32 Position(T* item);
    ListNode<T>* Position(const long& index);
    ListNode<T>* Position(const int& index) { return Position(long(index)); }
    T* Get(const long& index);
    T* Get(const int& index) { return Get(long(index)); }

    bool Remove(T* item, bool all);
    bool Insert(LinkList<T>& other);
    int32 Copy(LinkList<T>& other);
    LinkList<T>& operator=(LinkList<T>& other);

private:
    ListNode<T>* fHead = nullptr;
    ListNode<T>* fTail = nullptr;
    ListNode<T>* fCursor = nullptr;
    int32 fCount = 0;
    int32 fCursorIndex = -1;
};

template<typename T> void LinkList<T>::Clear()
{
    First();
    while (Remove()) { }
}

template<typename T> bool LinkList<T>::SortCompare(T* a, T* b)
{
    return a != nullptr && b != nullptr && LinkListAfter(*a, *b);
}

template<typename T> bool LinkList<T>::Insert(T* item)
{
    if (item == nullptr)
        return false;
    ListNode<T>* node = new (std::nothrow) ListNode<T>(item);
    if (node == nullptr)
        return false;
    node->fPrevious = fTail;
    if (fTail != nullptr)
        fTail->fNext = node;
    else
        fHead = node;
    fTail = node;
    fCount++;
    return true;
}

template<typename T> T* LinkList<T>::First()
{
    fCursor = fHead;
    fCursorIndex = 0;
    return Current();
}

template<typename T> T* LinkList<T>::Next()
{
    if (fCursor == nullptr)
        return nullptr;
    fCursor = fCursor->fNext;
    fCursorIndex++;
    return Current();
}

template<typename T> bool LinkList<T>::Remove()
{
    ListNode<T>* node = fCursor;
    if (node == nullptr)
        return false;
    if (node->fNext != nullptr)
        node->fNext->fPrevious = node->fPrevious;
    else
        fTail = node->fPrevious;
    if (node->fPrevious != nullptr) {
        node->fPrevious->fNext = node->fNext;
        fCursor = node->fPrevious;
        fCursorIndex--;
    } else {
        fHead = node->fNext;
        fCursor = fHead;
        fCursorIndex = 0;
    }
    delete node->fItem;
    delete node;
    fCount--;
    return true;
}

template<typename T> ListNode<T>* LinkList<T>::FindNext(const T* item)
{
    for (ListNode<T>* node = fCursor; item != nullptr && node != nullptr; node = fCursor) {
        if (LinkListEqual(*node->fItem, *item))
            return node;
        Next();
    }
    fCursor = nullptr;
    fCursorIndex = -1;
    return nullptr;
}

template<typename T> bool LinkList<T>::InList(T* item)
{
    First();
    return FindNext(item) != nullptr;
}

template<typename T> T* LinkList<T>::Get(const T* item)
{
    First();
    ListNode<T>* node = FindNext(item);
    return node != nullptr ? node->fItem : nullptr;
}

template<typename T> int32 LinkList<T>::Position(T* item)
{
    if (item != nullptr)
        Get(item);
    return fCursorIndex;
}

// Walks to element `index` along the shortest way: from the cursor, the head
// or the tail.
template<typename T> ListNode<T>* LinkList<T>::Position(const long& index)
{
    if (fCount == 0 || index < 0 || index > fCount - 1)
        return nullptr;
    long distance = index - fCursorIndex;
    if (distance < 0)
        distance = -distance;
    ListNode<T>* node;
    if (fCursor != nullptr && distance < index) {
        node = fCursor;
        for (long step = 0; step < distance; step++)
            node = index >= fCursorIndex ? node->fNext : node->fPrevious;
    } else if (fCount - index < index) {
        node = fTail;
        for (long step = 0; step < fCount - index - 1; step++)
            node = node->fPrevious;
    } else {
        node = fHead;
        for (long step = 0; step < index; step++)
            node = node->fNext;
    }
    fCursor = node;
    fCursorIndex = int32(index);
    return node;
}

template<typename T> T* LinkList<T>::Get(const long& index)
{
    ListNode<T>* node = Position(index);
    return node != nullptr ? node->fItem : nullptr;
}

template<typename T> bool LinkList<T>::Remove(T* item, bool all)
{
    if (item == nullptr)
        return false;
    // The item may be one of the list's own elements, deleted on the way.
    const T probe(*item);
    for (;;) {
        First();
        if (FindNext(&probe) == nullptr)
            return false;
        Remove();
        if (!all)
            return true;
    }
}

template<typename T> bool LinkList<T>::Insert(LinkList<T>& other)
{
    // Counted first, so that a list appended to itself stops after its
    // original elements.
    int32 count = other.fCount;
    T* item = other.First();
    for (int32 i = 0; i < count && item != nullptr; i++) {
        T* copy = new T(*item);
        if (!Insert(copy)) {
            delete copy;
            return false;
        }
        item = other.Next();
    }
    return true;
}

template<typename T> int32 LinkList<T>::Copy(LinkList<T>& other)
{
    if (&other != this) {
        Clear();
        Insert(other);
    }
    return fCount;
}

template<typename T> LinkList<T>& LinkList<T>::operator=(LinkList<T>& other)
{
    Copy(other);
    return *this;
}
