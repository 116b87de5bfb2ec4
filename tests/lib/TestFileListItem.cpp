#include "BPicture.h"
#include "BitmapView.h"
#include "FileListItem.h"
#include "LibBitmap.h"
#include "LibColors.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace {

using stowtest::TempDir;

// The texts a row draws, each with the high colour it was drawn in.
std::vector<std::pair<std::string, rgb_color>> DrawnTexts(FileListItem& item)
{
    BView view(BRect(0, 0, 299, 17), "owner", B_FOLLOW_NONE, B_WILL_DRAW);
    BPicture picture;
    view.BeginPicture(&picture);
    item.DrawItem(&view, BRect(0, 0, 299, 17), true);
    view.EndPicture();
    std::vector<std::pair<std::string, rgb_color>> texts;
    rgb_color high = {0, 0, 0, 255};
    for (int32 i = 0; i < picture.CountOps(); ++i) {
        const PictureOp& op = picture.OpAt(i);
        if (op.kind == PictureOp::kHighColor)
            high = op.color;
        else if (op.kind == PictureOp::kString)
            texts.emplace_back(op.text, high);
    }
    return texts;
}

bool Same(rgb_color a, rgb_color b)
{
    return lib_is_same_color(a, b);
}

bool SameIcons(const LibBitmap* a, const LibBitmap* b)
{
    return a->BitsLength() == b->BitsLength()
        && memcmp(a->Bits(), b->Bits(), size_t(a->BitsLength())) == 0;
}

} // namespace

TEST(FileListItem, FullPathInDarkGreyBeforeTheLeafInBlack)
{
    TempDir temp;
    std::string folder = temp.Str() + "/home/";
    std::filesystem::create_directories(folder);
    stowtest::WriteFile(folder + "file", "data");

    FileListItem full((folder + "file").c_str(), true, true);
    auto texts = DrawnTexts(full);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].first, folder);
    EXPECT_TRUE(Same(texts[0].second, dark_grey_color));
    EXPECT_EQ(texts[1].first, "file");
    EXPECT_TRUE(Same(texts[1].second, black_color));

    FileListItem leaf((folder + "file").c_str(), true, false);
    texts = DrawnTexts(leaf);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].first, "file");
    EXPECT_TRUE(Same(texts[0].second, black_color));

    // Shortened at its beginning to the list's width, the path keeps its
    // leaf; the colours still split at the last "/".
    BView narrow(BRect(0, 0, 119, 17), "narrow", B_FOLLOW_NONE, B_WILL_DRAW);
    full.SetTruncateMode(B_TRUNCATE_BEGINNING);
    BFont font;
    full.Update(&narrow, &font);
    EXPECT_EQ(full.Height(), 18);
    std::string shown = full.DisplayText();
    EXPECT_EQ(shown.rfind(B_UTF8_ELLIPSIS, 0), 0u) << shown;
    EXPECT_LE(narrow.StringWidth(shown.c_str()), 119 - 16 - 21);
    EXPECT_EQ(DrawnTexts(full).back().first, "file");
    BView wide(BRect(0, 0, 999, 17), "wide", B_FOLLOW_NONE, B_WILL_DRAW);
    full.Update(&wide, &font);
    EXPECT_EQ(std::string(full.DisplayText()), folder + "file") << "a wider list shows it all";
}

TEST(FileListItem, WriteAndReadCarryPathTypeIconAndTheFileFacts)
{
    TempDir temp;
    std::string path = temp.Str() + "/readme.txt";
    stowtest::WriteFile(path, std::string(1234, 'x'));
    FileListItem item(path.c_str(), true, true);
    item.SetType(7);
    struct timeval times[2] = {{1000000000, 0}, {1200000000, 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
    EXPECT_NE(item.Icon()->PixelAt(8, 8).alpha, 0) << "the file's icon was drawn";
    BMessage archive;
    item.Write(archive);
    EXPECT_STREQ(archive.FindString("file_name"), path.c_str());
    EXPECT_EQ(archive.FindInt8("file_type"), 7);
    EXPECT_EQ(archive.FindInt32("file_size"), 1234);
    EXPECT_EQ(archive.FindInt64("file_accessed"), 1000000000);
    EXPECT_EQ(archive.FindInt64("file_modified"), 1200000000);
    EXPECT_TRUE(archive.HasInt64("file_creation"));

    // The reader shows the path its own way.
    FileListItem reader(false, false);
    std::filesystem::remove(path);
    reader.Read(archive);
    EXPECT_STREQ(reader.Path(), path.c_str());
    EXPECT_EQ(reader.Type(), 7);
    EXPECT_STREQ(reader.DisplayText(), "readme.txt");
    EXPECT_TRUE(SameIcons(reader.Icon(), item.Icon())) << "the icon comes from the archive";

    // A damaged icon archive keeps the icon the row has.
    BMessage damaged = archive;
    BMessage icon;
    archive.FindMessage("file_icon", &icon);
    icon.ReplaceData("_data", B_RAW_TYPE, "x", 1);
    damaged.ReplaceMessage("file_icon", &icon);
    FileListItem kept(false, true);
    kept.Read(damaged);
    EXPECT_TRUE(kept.Icon()->IsValid());
    EXPECT_EQ(std::string(kept.DisplayText()), path);

    FileListItem copy(item, false);
    EXPECT_STREQ(copy.Path(), path.c_str());
    EXPECT_EQ(copy.Type(), 7);
    EXPECT_TRUE(copy.ShowsFullPath());
    EXPECT_TRUE(SameIcons(copy.Icon(), item.Icon()));
}

TEST(FileListItem, ExecuteOpensTheFileWithTheDesktopsOpener)
{
    TempDir temp;
    std::string opened = temp.Str() + "/opened";
    std::string opener = temp.Str() + "/opener";
    stowtest::WriteFile(opener, "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened + "'\n");
    chmod(opener.c_str(), 0755);
    stowtest::ScopedEnv command("STOW_OPEN_COMMAND", opener);
    std::string path = temp.Str() + "/doc.txt";
    stowtest::WriteFile(path, "text");
    FileListItem item(path.c_str(), true, false);
    EXPECT_TRUE(item.Execute());
    EXPECT_EQ(stowtest::ReadFile(opened), path);
    EXPECT_FALSE(FileListItem(true, false).Execute()) << "a row without a file opens nothing";
}

TEST(BitmapView, ShowsTheLargeIcon)
{
    TempDir temp;
    BitmapView view(BPoint(5, 6), "to_image", temp.Str().c_str());
    EXPECT_EQ(view.Frame(), BRect(5, 6, 36, 37));
    ASSERT_EQ(view.Icon()->Bounds(), BRect(0, 0, 31, 31));
    EXPECT_NE(view.Icon()->PixelAt(16, 16).alpha, 0);
    BitmapView missing(BPoint(0, 0), "none", (temp.Str() + "/missing").c_str());
    EXPECT_EQ(missing.Icon()->PixelAt(16, 16).alpha, 0) << "nothing there draws nothing";
}
