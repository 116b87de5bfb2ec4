// One element's place in a LinkList: the links to its neighbours and the
// element itself, which the list (not the node) deletes.
#pragma once

template<typename T> class LinkList;

template<typename T> class ListNode {
public:
    explicit ListNode(T* item)
        : fItem(item)
    { }
    virtual ~ListNode() = default;
    ListNode(const ListNode&) = delete;
    ListNode& operator=(const ListNode&) = delete;

    ListNode<T>* Previous() const { return fPrevious; }
    T* Item() const { return fItem; }
    ListNode<T>* Next() const { return fNext; }

private:
    friend class LinkList<T>;

    ListNode<T>* fPrevious = nullptr;
    T* fItem;
    ListNode<T>* fNext = nullptr;
};
