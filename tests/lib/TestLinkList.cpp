// LinkList: ownership, the cursor through walks and removals, searches and
// the shortest-walk positioning.
#include "LibString.h"
#include "LinkList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An element that counts how many of its kind are alive.
struct Item {
    static int sAlive;
    int value;
    explicit Item(int v)
        : value(v)
    {
        sAlive++;
    }
    Item(const Item& other)
        : value(other.value)
    {
        sAlive++;
    }
    virtual ~Item() { sAlive--; }
    bool operator==(const Item& other) const { return value == other.value; }
    bool operator>(const Item& other) const { return value > other.value; }
};
int Item::sAlive = 0;

std::vector<int> Values(LinkList<Item>& list)
{
    std::vector<int> values;
    for (Item* item = list.First(); item != nullptr; item = list.Next())
        values.push_back(item->value);
    return values;
}

void Fill(LinkList<Item>& list, std::initializer_list<int> values)
{
    for (int v : values)
        ASSERT_TRUE(list.Insert(new Item(v)));
}

} // namespace

TEST(LinkList, OwnsAndDeletesItsElements)
{
    {
        LinkList<Item> list;
        EXPECT_EQ(list.First(), nullptr);
        EXPECT_EQ(list.CursorIndex(), 0);
        EXPECT_FALSE(list.Remove());
        EXPECT_FALSE(list.Insert(nullptr));
        Fill(list, {1, 2, 3});
        EXPECT_EQ(Item::sAlive, 3);
        EXPECT_EQ(list.Size(), 3);
        list.Clear();
        EXPECT_EQ(Item::sAlive, 0);
        EXPECT_EQ(list.Size(), 0);
        EXPECT_EQ(list.First(), nullptr);
        Fill(list, {4, 5});
    }
    EXPECT_EQ(Item::sAlive, 0); // the destructor deleted the rest
}

TEST(LinkList, CursorWalkAndRemoval)
{
    LinkList<Item> list;
    Fill(list, {10, 20, 30});
    EXPECT_EQ(list.First()->value, 10);
    EXPECT_EQ(list.Next()->value, 20);
    EXPECT_EQ(list.Next()->value, 30);
    EXPECT_EQ(list.Next(), nullptr);
    EXPECT_EQ(list.Next(), nullptr); // past the end stays harmless
    EXPECT_EQ(list.Current(), nullptr);

    // Removing the middle element during a walk goes on with the next one.
    list.First();
    list.Next();
    EXPECT_TRUE(list.Remove());
    EXPECT_EQ(list.Current()->value, 10);
    EXPECT_EQ(list.Next()->value, 30);
    EXPECT_EQ(list.Size(), 2);
    EXPECT_EQ(Values(list), (std::vector<int> {10, 30}));

    // Removing the head leaves the cursor on the new head, index 0.
    list.Insert(new Item(40));
    list.First();
    EXPECT_TRUE(list.Remove());
    EXPECT_EQ(list.Current()->value, 30);
    EXPECT_EQ(list.CursorIndex(), 0);

    // Removing the tail: the next element after the cursor is gone, and a
    // new element goes after the remaining ones.
    list.Position(1);
    EXPECT_TRUE(list.Remove());
    EXPECT_EQ(list.Current()->value, 30);
    list.Insert(new Item(50));
    EXPECT_EQ(Values(list), (std::vector<int> {30, 50}));

    // Removing every element in one walk.
    for (Item* item = list.First(); item != nullptr; item = list.Next())
        list.Remove();
    EXPECT_EQ(list.Size(), 1); // the walk passes over the landing head
    list.First();
    list.Remove();
    EXPECT_EQ(list.Size(), 0);
    EXPECT_FALSE(list.Remove());
    list.Insert(new Item(60));
    EXPECT_EQ(Values(list), (std::vector<int> {60}));
}

TEST(LinkList, PositionWalksAndBounds)
{
    LinkList<Item> list;
    EXPECT_EQ(list.Position(0), nullptr);
    Fill(list, {0, 1, 2, 3, 4, 5, 6, 7});
    // Every index from every starting cursor lands on the right element.
    Item missing(99);
    for (int from = -1; from < 8; from++) {
        for (int to = 0; to < 8; to++) {
            if (from < 0)
                list.Get(&missing); // a failed search empties the cursor
            else
                list.Position(from);
            ListNode<Item>* node = list.Position(to);
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(node->Item()->value, to);
            EXPECT_EQ(list.CursorIndex(), to);
        }
    }
    list.Position(3);
    EXPECT_EQ(list.Position(8), nullptr);
    EXPECT_EQ(list.Position(-1), nullptr);
    EXPECT_EQ(list.Position(0x100000000L), nullptr);
    EXPECT_EQ(list.CursorIndex(), 3);
    EXPECT_EQ(list.Current()->value, 3);
    EXPECT_EQ(list.Get(7)->value, 7);
    EXPECT_EQ(list.Get(9), nullptr);
    EXPECT_EQ(list.Current()->value, 7);
}

TEST(LinkList, Searches)
{
    LinkList<Item> list;
    Fill(list, {1, 2, 3, 2});
    Item two(2);
    Item missing(9);
    EXPECT_TRUE(list.InList(&two));
    EXPECT_EQ(list.CursorIndex(), 1);
    ASSERT_NE(list.Next(), nullptr);
    ListNode<Item>* again = list.FindNext(&two);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(list.CursorIndex(), 3);
    EXPECT_EQ(list.Get(&two), list.Get(1L));
    EXPECT_EQ(list.Position(&two), 1);

    EXPECT_EQ(list.Get(&missing), nullptr);
    EXPECT_EQ(list.CursorIndex(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_EQ(list.Position(&missing), -1);
    EXPECT_EQ(list.FindNext(nullptr), nullptr);
    EXPECT_TRUE(list.SortCompare(&two, list.Get(0)));
    EXPECT_FALSE(list.SortCompare(list.Get(0), &two));
    EXPECT_FALSE(list.SortCompare(nullptr, &two));
}

TEST(LinkList, TextElementsCompareByContent)
{
    LinkList<LibString> list;
    for (const char* text : {"a", "b", "a", "a"})
        list.Insert(new LibString(text));
    LibString a("a");
    EXPECT_TRUE(list.InList(&a));
    EXPECT_FALSE(list.Remove(&a, true)); // with `all` the answer is false
    EXPECT_EQ(list.Size(), 1);
    EXPECT_STREQ(*list.First(), "b");

    list.Insert(new LibString("c"));
    LibString* own = list.Get(1);
    EXPECT_TRUE(list.Remove(own, false)); // one of its own elements
    EXPECT_EQ(list.Size(), 1);
    LibString b("b");
    LibString c("c");
    EXPECT_TRUE(list.SortCompare(&c, &b));
    EXPECT_FALSE(list.SortCompare(&b, &c));
}

TEST(LinkList, CopyMakesSeparateEqualElements)
{
    LinkList<LibString> three;
    LinkList<LibString> five;
    for (const char* text : {"x", "y", "z"})
        three.Insert(new LibString(text));
    for (const char* text : {"1", "2", "3", "4", "5"})
        five.Insert(new LibString(text));
    EXPECT_EQ(five.Copy(three), 3);
    LibString* a = three.First();
    LibString* b = five.First();
    for (; a != nullptr && b != nullptr; a = three.Next(), b = five.Next()) {
        EXPECT_NE(a, b);
        EXPECT_NE(static_cast<const char*>(*a), static_cast<const char*>(*b));
        EXPECT_EQ(a->Compare(*b), 0);
    }
    EXPECT_EQ(a, b);

    EXPECT_EQ(three.Copy(three), 3); // copying onto itself keeps it
    LinkList<LibString>& alias = five;
    five = alias;
    EXPECT_EQ(five.Size(), 3);
    EXPECT_TRUE(three.Insert(three)); // appends its own elements once
    EXPECT_EQ(three.Size(), 6);
    EXPECT_STREQ(*three.Get(5), "z");
}
