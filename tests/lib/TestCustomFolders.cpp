#include "BMessage.h"
#include "CustomFolders.h"

#include <gtest/gtest.h>

namespace {

CustomFolder* Make(
    const char* name, directory_which parent, const char* sub, bool replace, bool common)
{
    CustomFolder* folder = new CustomFolder(name);
    folder->ParentFolder(parent).SubFolder(sub).Replace(replace).CommonDef(common);
    return folder;
}

std::string Names(CustomFolders& folders)
{
    std::string names;
    for (CustomFolder* folder = folders.First(); folder != nullptr; folder = folders.Next())
        names += std::string(folder->Name()) + (folder->CommonDef() ? "(c)" : "") + ",";
    return names;
}

int32 CountOf(const BMessage& message, const char* name)
{
    type_code type;
    int32 count = 0;
    return message.GetInfo(name, &type, &count) == B_OK ? count : 0;
}

} // namespace

TEST(CustomFolder, AttributeTextRoundTrips)
{
    CustomFolder docs("Docs");
    docs.ParentFolder(B_COMMON_DOCUMENTATION_DIRECTORY).SubFolder("Stowsmith").Replace(true);
    EXPECT_STREQ(docs.AttrDescription(), "Docs;2009;Stowsmith;1;");

    CustomFolder read;
    read.CommonDef(true);
    ASSERT_TRUE(read.SetFromAttrDescription(docs.AttrDescription()));
    EXPECT_STREQ(read.Name(), "Docs");
    EXPECT_EQ(read.ParentFolder(), B_COMMON_DOCUMENTATION_DIRECTORY);
    EXPECT_STREQ(read.SubFolder(), "Stowsmith");
    EXPECT_TRUE(read.Replace());
    EXPECT_TRUE(read.CommonDef()) << "the common flag is not part of the text";

    docs.Replace(false).SubFolder("deep/er path");
    EXPECT_STREQ(docs.AttrDescription(), "Docs;2009;deep/er path;0;");
    ASSERT_TRUE(read.SetFromAttrDescription("X;3003;;7;"));
    EXPECT_EQ(read.ParentFolder(), B_USER_BOOT_DIRECTORY);
    EXPECT_STREQ(read.SubFolder(), "");
    EXPECT_TRUE(read.Replace()) << "any value but 0 sets it";

    // Text of another shape changes nothing.
    for (const char* bad : {"", "Only;", "N;abc;sub;1;", "N;2009;sub;", "N;2009;sub;yes;"}) {
        EXPECT_FALSE(read.SetFromAttrDescription(bad)) << bad;
        EXPECT_STREQ(read.Name(), "X") << bad;
        EXPECT_EQ(read.ParentFolder(), B_USER_BOOT_DIRECTORY) << bad;
    }

    // A long name is kept whole.
    std::string longName(700, 'n');
    CustomFolder big(longName.c_str());
    ASSERT_TRUE(read.SetFromAttrDescription(big.AttrDescription()));
    EXPECT_EQ(std::string(read.Name()), longName);
}

TEST(CustomFolder, ValuesCopyAndCompareByName)
{
    CustomFolder fresh;
    EXPECT_STREQ(fresh.Name(), "");
    EXPECT_TRUE(fresh.Replace());
    EXPECT_FALSE(fresh.CommonDef());

    CustomFolder a("Alpha");
    a.ParentFolder(B_USER_DIRECTORY).SubFolder("x").Replace(false).CommonDef(true);
    CustomFolder copy(a);
    EXPECT_STREQ(copy.Name(), "Alpha");
    EXPECT_EQ(copy.ParentFolder(), B_USER_DIRECTORY);
    EXPECT_FALSE(copy.Replace());
    EXPECT_TRUE(copy.CommonDef());
    copy = copy;
    EXPECT_STREQ(copy.SubFolder(), "x");

    CustomFolder other("alpha");
    EXPECT_FALSE(a == other) << "names compare case-sensitively";
    other.SetName("Alpha");
    EXPECT_TRUE(a == other);
    EXPECT_TRUE(CustomFolder("Beta") > a);
    EXPECT_FALSE(a > CustomFolder("Beta"));
}

TEST(CustomFolder, ConfigurationEntryAndPreferenceKeys)
{
    CustomFolder docs("Docs");
    docs.ParentFolder(B_COMMON_DOCUMENTATION_DIRECTORY).SubFolder("Stowsmith").Replace(false);
    BMessage entry;
    ASSERT_EQ(docs.Write(entry), B_OK);
    EXPECT_STREQ(entry.FindString("custom_folder_name"), "Docs");
    EXPECT_EQ(entry.FindInt32("custom_root_dir"), 2009);
    EXPECT_STREQ(entry.FindString("custom_sub_dir"), "Stowsmith");
    EXPECT_FALSE(entry.FindBool("custom_replace_existing"));
    EXPECT_EQ(entry.CountNames(B_ANY_TYPE), 4);

    CustomFolder read;
    read.Read(entry);
    EXPECT_STREQ(read.AttrDescription(), "Docs;2009;Stowsmith;0;");
    // Missing keys read as empty, 0 and false.
    read.Read(BMessage());
    EXPECT_STREQ(read.AttrDescription(), ";0;;0;");

    BMessage prefs;
    ASSERT_EQ(docs.WritePref(12, prefs), B_OK);
    EXPECT_STREQ(prefs.FindString("custom_folder_name_12"), "Docs");
    EXPECT_EQ(prefs.FindInt32("custom_folder_parent_12"), 2009);
    EXPECT_STREQ(prefs.FindString("custom_folder_sub_dir_12"), "Stowsmith");
    EXPECT_TRUE(prefs.HasBool("custom_folder_replace_12"));
    read.ReadPref(12, prefs);
    EXPECT_STREQ(read.AttrDescription(), "Docs;2009;Stowsmith;0;");

    testing::internal::CaptureStderr();
    docs.PrintToStream();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
        "CustomFolder name (Docs), sub (Stowsmith), replace 0, common 0\n");
}

TEST(CustomFolders, FindsByNameAndCountsTheCommonSet)
{
    CustomFolders folders;
    folders.Insert(Make("Docs", B_COMMON_DOCUMENTATION_DIRECTORY, "a", true, false));
    folders.Insert(Make("Docs", B_USER_DIRECTORY, "b", true, true));
    folders.Insert(Make("Bin", B_COMMON_BIN_DIRECTORY, "", false, true));
    EXPECT_TRUE(folders.IsCustom("Docs"));
    EXPECT_FALSE(folders.IsCustom("docs"));
    EXPECT_FALSE(folders.IsCustom(nullptr));
    ASSERT_NE(folders.Find("Docs"), nullptr);
    EXPECT_STREQ(folders.Find("Docs")->SubFolder(), "a") << "the first of that name";
    EXPECT_EQ(folders.Find("Missing"), nullptr);
    EXPECT_EQ(folders.CountCommonCustom(), 2);
}

TEST(CustomFolders, SetsAreSavedApartAndCommonNamesWin)
{
    CustomFolders saved;
    saved.Insert(Make("Mine", B_USER_DIRECTORY, "m", true, false));
    saved.Insert(Make("Shared", B_COMMON_DIRECTORY, "s", false, true));
    saved.Insert(Make("Also Mine", B_USER_BOOT_DIRECTORY, "", false, false));
    BMessage own;
    BMessage common;
    ASSERT_EQ(saved.WritePref(own, true), B_OK);
    ASSERT_EQ(saved.WritePref(common, false), B_OK);
    EXPECT_EQ(own.FindInt32("custom_folder_qty"), 2);
    EXPECT_STREQ(own.FindString("custom_folder_name_1"), "Also Mine");
    EXPECT_EQ(common.FindInt32("custom_folder_qty"), 1);
    EXPECT_STREQ(common.FindString("custom_folder_name_0"), "Shared");

    // The user already has a "Shared": it is renamed, the common one keeps
    // the name.
    CustomFolders loaded;
    loaded.Insert(Make("Shared", B_USER_DIRECTORY, "mine", true, false));
    loaded.ReadPref(own, true);
    loaded.ReadPref(common, false);
    EXPECT_EQ(Names(loaded), "Shared Renamed,Mine,Also Mine,Shared(c),");
    EXPECT_STREQ(loaded.Find("Shared")->SubFolder(), "s");
    EXPECT_FALSE(loaded.Find("Shared")->Replace());
    EXPECT_STREQ(loaded.Find("Shared Renamed")->SubFolder(), "mine");
    EXPECT_EQ(loaded.Find("Also Mine")->ParentFolder(), B_USER_BOOT_DIRECTORY);

    // Both sets in one message: every key twice, and reading finds the first.
    BMessage both;
    saved.WritePref(both, true);
    saved.WritePref(both, false);
    EXPECT_EQ(CountOf(both, "custom_folder_qty"), 2);
    EXPECT_EQ(CountOf(both, "custom_folder_name_0"), 2);
    CustomFolders fromBoth;
    fromBoth.ReadPref(both, false);
    EXPECT_EQ(Names(fromBoth), "Mine(c),Also Mine(c),");
}

TEST(CustomFolders, CountsBeyondWhatIsStoredStop)
{
    BMessage prefs;
    prefs.AddInt32("custom_folder_qty", 2000000000);
    CustomFolder("Only").WritePref(0, prefs);
    CustomFolders folders;
    folders.ReadPref(prefs, true);
    EXPECT_EQ(Names(folders), "Only,");
    BMessage negative;
    negative.AddInt32("custom_folder_qty", -4);
    folders.ReadPref(negative, false);
    BMessage empty;
    folders.ReadPref(empty, false);
    EXPECT_EQ(folders.Size(), 1);
}
