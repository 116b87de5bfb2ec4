// The install groups as the record keeps them: read in order with their
// descriptions, written back the same, and identifiers that stay unique.
#include "BMessage.h"
#include "GroupContextList.h"

#include <gtest/gtest.h>

TEST(GroupContextList, ReadWriteAndUniqueIdentifiers)
{
    BMessage groups;
    groups.AddString("group_name", "Typical");
    groups.AddString("group_description", "Everything.");
    groups.AddString("group_name", "Documents");
    groups.AddString("group_description", "Only the manual.");
    groups.AddString("group_name", "Extras"); // no description

    GroupContextList list;
    list.Add("Stale");
    list.Read(groups);
    ASSERT_EQ(list.Size(), 3);
    EXPECT_EQ(list.NextUid(), 3);
    EXPECT_STREQ(list.FindContext(1)->Name(), "Documents");
    EXPECT_STREQ(list.FindContext(1)->Description(), "Only the manual.");
    EXPECT_STREQ(list.FindContext(2)->Description(), "");
    EXPECT_FALSE(list.HasGroup("typical")) << "names match exactly";
    EXPECT_FALSE(list.HasGroup("Stale")) << "reading replaces the groups";

    BMessage written;
    list.Write(written);
    EXPECT_STREQ(written.FindString("group_name", 2), "Extras");
    EXPECT_STREQ(written.FindString("group_description", 2), "");
    EXPECT_STREQ(written.FindString("group_description", 1), "Only the manual.");

    // After a removal the count is a number in use: the next one is not.
    list.RemoveContext(0);
    EXPECT_EQ(list.FindContext(0), nullptr);
    list.Add("Documents");
    EXPECT_EQ(list.Size(), 2) << "an existing name is not added twice";
    list.Add("Sources");
    ASSERT_EQ(list.Size(), 3);
    EXPECT_EQ(list.FindContext(3)->Uid(), 3);
    EXPECT_STREQ(list.FindContext(2)->Name(), "Extras");
}
