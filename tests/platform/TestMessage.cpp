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
