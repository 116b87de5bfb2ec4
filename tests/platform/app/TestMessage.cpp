#include "BMessage.h"

#include <gtest/gtest.h>

TEST(Message, MissingFieldsReadAsEmptyFalseOrZero)
{
    BMessage message;
    EXPECT_STREQ(message.FindString("nothing"), "");
    EXPECT_FALSE(message.FindBool("nothing"));
    EXPECT_EQ(message.FindInt32("nothing"), 0);
    EXPECT_EQ(message.FindDouble("nothing"), 0.0);
    message.AddString("text", "value");
    EXPECT_EQ(message.FindInt32("text"), 0); // wrong type reads as 0 too
    EXPECT_EQ(message.AddInt32("text", 3), B_BAD_TYPE);
}

TEST(Message, RoundTripsEveryKindOfField)
{
    BMessage inner('innr');
    inner.AddString("leaf", "x");
    BMessage message('test');
    message.AddString("names", "");
    message.AddString("names", "abc");
    message.AddString("names", "abcd");
    message.AddBool("flag", true);
    message.AddInt8("byte", -3);
    message.AddInt16("short", -300);
    message.AddInt32("long", 123456);
    message.AddInt64("llong", -1234567890123LL);
    message.AddFloat("float", 1.5f);
    message.AddDouble("double", 0.1);
    message.AddRect("rect", BRect(1, 2, 3, 4));
    message.AddPoint("point", BPoint(5, 6));
    message.AddMessage("inner", &inner);
    message.AddData("raw", B_RAW_TYPE, "abc", 3);
    message.AddData("raw", B_RAW_TYPE, "de", 2);

    BMessage copy;
    ASSERT_EQ(copy.Unflatten(message.Flatten()), B_OK);
    EXPECT_EQ(copy.what, uint32('test'));
    EXPECT_STREQ(copy.FindString("names", 1), "abc");
    EXPECT_STREQ(copy.FindString("names", 0), "");
    EXPECT_TRUE(copy.FindBool("flag"));
    EXPECT_EQ(copy.FindInt8("byte"), -3);
    EXPECT_EQ(copy.FindInt16("short"), -300);
    EXPECT_EQ(copy.FindInt32("long"), 123456);
    EXPECT_EQ(copy.FindInt64("llong"), -1234567890123LL);
    EXPECT_EQ(copy.FindFloat("float"), 1.5f);
    EXPECT_EQ(copy.FindDouble("double"), 0.1);
    EXPECT_EQ(copy.FindRect("rect"), BRect(1, 2, 3, 4));
    EXPECT_EQ(copy.FindPoint("point"), BPoint(5, 6));
    BMessage innerCopy;
    ASSERT_EQ(copy.FindMessage("inner", &innerCopy), B_OK);
    EXPECT_STREQ(innerCopy.FindString("leaf"), "x");
    const void* data;
    ssize_t size;
    ASSERT_EQ(copy.FindData("raw", B_RAW_TYPE, 1, &data, &size), B_OK);
    EXPECT_EQ(std::string(static_cast<const char*>(data), size_t(size)), "de");
    EXPECT_EQ(copy.Flatten(), message.Flatten());
}

TEST(Message, ReplaceAndRemove)
{
    BMessage message;
    EXPECT_EQ(message.ReplaceBool("install_to_system", true), B_NAME_NOT_FOUND);
    message.AddBool("install_to_system", false);
    EXPECT_EQ(message.ReplaceBool("install_to_system", true), B_OK);
    EXPECT_TRUE(message.FindBool("install_to_system"));
    message.AddString("s", "a");
    message.AddString("s", "b");
    EXPECT_EQ(message.ReplaceString("s", 1, "longer text"), B_OK);
    EXPECT_STREQ(message.FindString("s", 1), "longer text");
    EXPECT_EQ(message.RemoveData("s", 0), B_OK);
    EXPECT_STREQ(message.FindString("s", 0), "longer text");
    EXPECT_EQ(message.RemoveData("s", 0), B_OK);
    EXPECT_FALSE(message.HasString("s"));
}

TEST(Message, LayoutFollowsTheItemsNotTheirHistory)
{
    // Raw items of one size are fixed whatever the caller hinted; a differing
    // item makes the field variable until it is gone again.
    BMessage message;
    bool fixed = false;
    message.AddData("raw", B_RAW_TYPE, "ab", 2, false);
    ASSERT_EQ(message.GetInfo("raw", nullptr, &fixed), B_OK);
    EXPECT_TRUE(fixed);
    message.AddData("raw", B_RAW_TYPE, "cde", 3);
    message.GetInfo("raw", nullptr, &fixed);
    EXPECT_FALSE(fixed);
    std::string variable = message.Flatten();
    EXPECT_EQ(message.ReplaceData("raw", B_RAW_TYPE, 1, "cd", 2), B_OK);
    message.GetInfo("raw", nullptr, &fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(message.ReplaceData("raw", B_RAW_TYPE, 0, "xyz", 3), B_OK);
    EXPECT_EQ(message.RemoveData("raw", 0), B_OK);
    message.GetInfo("raw", nullptr, &fixed);
    EXPECT_TRUE(fixed);

    BMessage same;
    same.AddData("raw", B_RAW_TYPE, "cd", 2);
    EXPECT_EQ(message.Flatten(), same.Flatten());
    EXPECT_NE(variable.size(), same.Flatten().size());
}

TEST(Message, AddAndReplaceCheckTheirItems)
{
    BMessage message;
    EXPECT_EQ(message.AddData("n", B_INT32_TYPE, "abc", 3), B_BAD_VALUE);
    EXPECT_EQ(message.AddData("s", B_STRING_TYPE, "abc", 3), B_BAD_VALUE); // no zero
    EXPECT_EQ(message.AddData("m", B_MESSAGE_TYPE, "garbage", 7), B_BAD_VALUE);
    EXPECT_EQ(message.AddInt32(std::string(256, 'x').c_str(), 1), B_BAD_VALUE);
    EXPECT_EQ(message.AddInt32("", 1), B_BAD_VALUE);
    EXPECT_TRUE(message.IsEmpty());
    EXPECT_EQ(message.AddInt32(std::string(255, 'x').c_str(), 1), B_OK);

    // Untyped data is a type of its own ("data" of a sound record).
    EXPECT_EQ(message.AddData("data", B_ANY_TYPE, "\x01\x02", 2), B_OK);
    type_code type = 0;
    message.GetInfo("data", &type);
    EXPECT_EQ(type, B_ANY_TYPE);

    BMessage inner;
    inner.AddInt32("n", 1);
    message.AddMessage("m", &inner);
    EXPECT_EQ(message.ReplaceData("m", B_MESSAGE_TYPE, 0, "garbage", 7), B_BAD_VALUE);
    message.AddInt32("long", 5);
    // Replacing through any type still checks against the field's own type.
    EXPECT_EQ(message.ReplaceData("long", B_ANY_TYPE, 0, "ab", 2), B_BAD_VALUE);
    EXPECT_EQ(message.FindInt32("long"), 5);
    BMessage read;
    ASSERT_EQ(read.Unflatten(message.Flatten()), B_OK);
    ASSERT_EQ(read.FindMessage("m", &inner), B_OK);
    EXPECT_EQ(inner.FindInt32("n"), 1);
}

TEST(Message, EntryRefsTravelWithTheirFolderPath)
{
    entry_ref first(2049, 131, "Stowsmith", "/boot/home/apps");
    entry_ref second(7, 9, "x", "");
    BMessage message('refs');
    ASSERT_EQ(message.AddRef("refs", &first), B_OK);
    ASSERT_EQ(message.AddRef("refs", &second), B_OK);
    BMessage read;
    ASSERT_EQ(read.Unflatten(message.Flatten()), B_OK);
    entry_ref found;
    ASSERT_EQ(read.FindRef("refs", 0, &found), B_OK);
    EXPECT_EQ(found, first);
    EXPECT_EQ(found.directoryPath, "/boot/home/apps");
    ASSERT_EQ(read.FindRef("refs", 1, &found), B_OK);
    EXPECT_EQ(found.name, "x");
    EXPECT_EQ(read.ReplaceRef("refs", 1, &first), B_OK);
    ASSERT_EQ(read.FindRef("refs", 1, &found), B_OK);
    EXPECT_EQ(found.directoryPath, "/boot/home/apps");
    EXPECT_FALSE(read.HasRef("refs", 2));
    EXPECT_EQ(read.FindRef("nothing", &found), B_NAME_NOT_FOUND);

    // A reference item too short to hold one is reported, not misread.
    read.AddData("bad", B_REF_TYPE, "short", 5);
    EXPECT_EQ(read.FindRef("bad", &found), B_BAD_DATA);
}
