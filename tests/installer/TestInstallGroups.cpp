// The install groups and file rows as the record keeps them: groups read in
// order with their descriptions and identifiers that stay unique; file rows
// with their groups and sizes.
#include "BMessage.h"
#include "GroupContextList.h"
#include "InstallListItem.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// A file row reads its groups and the builder's size from its "install_file"
// entry; written out, each group ends with ";" and the row's size follows
// the size of the file found on disk, which reading takes first.
TEST(InstallListItem, ReadsGroupsAndSizeAndWritesThemBack)
{
    BMessage entry;
    entry.AddString("file_name", "payload/readme");
    entry.AddString("groups", "Typical;Documents;");
    entry.AddInt32("file_size", 411644);
    entry.AddInt32("file_size", 7);
    InstallListItem row(false);
    row.Read(entry);
    EXPECT_EQ(row.Size(), 411644);
    std::vector<std::string> groups;
    for (LibString* group = row.Groups().First(); group != nullptr; group = row.Groups().Next())
        groups.push_back(static_cast<const char*>(*group));
    EXPECT_EQ(groups, std::vector<std::string>({"Typical", "Documents"}));
    EXPECT_STREQ(row.DisplayText(), "readme");

    row.SetSize(99);
    BMessage written;
    row.Write(written);
    EXPECT_STREQ(written.FindString("groups"), "Typical;Documents;");
    EXPECT_EQ(written.FindInt32("file_size", 1), 99);
    InstallListItem copy(row, true);
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Groups().Size(), 2);
}
