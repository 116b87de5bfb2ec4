// LibStringIterator and LibStringList: field splitting and message round trips.
#include "BMessage.h"
#include "LibStringIterator.h"
#include "LibStringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(const char* text, char separator)
{
    LibStringIterator it(text);
    LibString field;
    std::vector<std::string> fields;
    while (it.GetNextField(separator, field))
        fields.push_back(std::string(field));
    EXPECT_STREQ(field, "");
    return fields;
}

std::vector<std::string> Items(LibStringList& list)
{
    std::vector<std::string> items;
    for (LibString* item = list.First(); item != nullptr; item = list.Next())
        items.push_back(std::string(*item));
    return items;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(StringIterator, NextFieldBySeparator)
{
    EXPECT_EQ(Fields("a;b", ';'), (Texts {"a", "b"}));
    EXPECT_EQ(Fields("a;", ';'), (Texts {"a"}));
    EXPECT_EQ(Fields("a;;b", ';'), (Texts {"a", "", "b"}));
    EXPECT_EQ(Fields(";", ';'), (Texts {""}));
    EXPECT_EQ(Fields("", ';'), Texts {});
    EXPECT_EQ(Fields(nullptr, ';'), Texts {});
    EXPECT_EQ(Fields("a;b", '\0'), (Texts {"a;b"}));

    LibStringIterator it("ab;cd");
    LibString field("old");
    it.Reset(2);
    EXPECT_TRUE(it.GetNextField(';', field));
    EXPECT_STREQ(field, "");
    EXPECT_TRUE(it.GetNextField(';', field));
    EXPECT_STREQ(field, "cd");
    EXPECT_FALSE(it.GetNextField(';', field));
    it.Reset(-4); // refused
    EXPECT_EQ(it.Position(), 5);
    it.Reset(99);
    EXPECT_FALSE(it.GetNextField(';', field));

    // A new text starts from the front; a copy keeps the position.
    it = "x;y";
    EXPECT_EQ(it.Position(), 0);
    it.GetNextField(';', field);
    LibStringIterator copy(it);
    EXPECT_EQ(copy.Position(), 2);
    LibString& self = it;
    it = self;
    EXPECT_EQ(it.Position(), 2);
    it = LibString("p;q");
    EXPECT_EQ(it.Position(), 0);
    // Cutting the text under the position is harmless.
    it.Reset(3);
    it.ToIndex(0);
    EXPECT_FALSE(it.GetNextField(';', field));
}

TEST(StringIterator, NextFieldByAnySeparator)
{
    LibStringIterator it("a:b,c");
    LibString field;
    EXPECT_TRUE(it.GetNextField(":,", field));
    EXPECT_STREQ(field, "a");
    EXPECT_TRUE(it.GetNextField(":,", field));
    EXPECT_STREQ(field, "b");
    EXPECT_FALSE(it.GetNextField(":,", field));
    EXPECT_STREQ(field, "c");
    EXPECT_EQ(it.Position(), 4); // not moved by the last field
    EXPECT_FALSE(it.GetNextField(":,", field));

    LibStringIterator whole("a:b");
    EXPECT_FALSE(whole.GetNextField("", field));
    EXPECT_STREQ(field, "a:b");
    EXPECT_FALSE(whole.GetNextField(static_cast<const char*>(nullptr), field));
    EXPECT_STREQ(field, "a:b");
}

TEST(StringIterator, IndexField)
{
    LibStringIterator it("x;y;z");
    LibString field("keep");
    EXPECT_TRUE(it.GetIndexField(';', 1, field));
    EXPECT_STREQ(field, "y");
    EXPECT_EQ(it.Position(), 4);
    field = "keep";
    EXPECT_FALSE(it.GetIndexField(';', 3, field));
    EXPECT_STREQ(field, "keep");
    EXPECT_FALSE(it.GetIndexField(';', -1, field));
    EXPECT_FALSE(it.GetIndexField(';', 0x100000000L, field));
    EXPECT_STREQ(field, "keep");
    EXPECT_TRUE(it.GetIndexField(';', 2, field));
    EXPECT_STREQ(field, "z");
    EXPECT_TRUE(it.GetIndexField(';', 0, it)); // into its own text
    EXPECT_STREQ(it, "x");
}

TEST(StringList, MessageRoundTrip)
{
    LibStringList list;
    list.Add("old");
    BMessage other;
    other.AddInt32("names", 3);
    list.SetTo(other, "names"); // no strings under the name: unchanged
    list.SetTo(BMessage(), "names");
    EXPECT_EQ(Items(list), (Texts {"old"}));

    BMessage message;
    for (const char* text : {"one", "", "three"})
        message.AddString("names", text);
    list.SetTo(message, "names");
    EXPECT_EQ(Items(list), (Texts {"one", "", "three"}));
    list.Append(message, "names");
    EXPECT_EQ(list.Size(), 6);

    BMessage written;
    list.GetFrom(written, "out");
    EXPECT_EQ(Items(list).size(), 6u); // the list is unchanged
    LibStringList back;
    back.SetTo(written, "out");
    EXPECT_EQ(Items(back), Items(list));
    EXPECT_FALSE(list.Add(nullptr));
    list.SetTo(message, nullptr);
    EXPECT_EQ(list.Size(), 6);
}

TEST(StringList, FindRemoveAndCopy)
{
    LibStringList list;
    for (const char* text : {"a", "b", "a", "docs"})
        list.Add(text);
    EXPECT_TRUE(list.InList("docs"));
    EXPECT_EQ(list.CursorIndex(), 3);
    EXPECT_FALSE(list.InList("Docs"));
    EXPECT_NE(list.Find("Doc", true, 3), nullptr);
    EXPECT_EQ(list.Find("Doc", true, -1), nullptr);
    EXPECT_EQ(list.Find("Doc", false, 3), nullptr);
    EXPECT_STREQ(*list.Find("DOCS", true, -1), "docs");
    EXPECT_EQ(list.Find(nullptr, false, -1), nullptr);

    EXPECT_TRUE(list.Remove("a"));
    EXPECT_EQ(Items(list), (Texts {"b", "a", "docs"}));
    EXPECT_TRUE(list.Remove(LibString("docs")));
    EXPECT_FALSE(list.Remove("zzz"));
    EXPECT_TRUE(list.Remove(*list.Get(0))); // an item of its own
    EXPECT_EQ(Items(list), (Texts {"a"}));

    LibStringList copy;
    copy.Add("x");
    copy = list;
    EXPECT_EQ(Items(copy), (Texts {"a"}));
    EXPECT_NE(copy.First(), list.First());
    LibStringList& alias = copy;
    copy = alias;
    EXPECT_EQ(copy.Size(), 1);
}
