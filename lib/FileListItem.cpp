#include "FileListItem.h"

#include "BEntry.h"
#include "BMessage.h"
#include "BView.h"
#include "LibBitmap.h"
#include "LibColors.h"
#include "LibDesktop.h"
#include "LibFileOperations.h"

#include <cstring>
#include <string>

namespace {

constexpr float kRowHeight = 18;
// From the margin to the text: the icon and the gap after it.
constexpr float kTextOffset = 21;

// See-through until an icon is drawn into it.
std::unique_ptr<LibBitmap> BlankIcon()
{
    auto icon = std::make_unique<LibBitmap>(BRect(0, 0, 15, 15), B_CMAP8, false, false);
    memset(icon->Bits(), B_TRANSPARENT_MAGIC_CMAP8, size_t(icon->BitsLength()));
    return icon;
}

} // namespace

FileListItem::FileListItem(const bool& indented, const bool& showFullPath)
    : BListItem(0, true)
{
    Init();
    fIndented = indented;
    fShowFullPath = showFullPath;
}

FileListItem::FileListItem(const char* path, const bool& indented, const bool& showFullPath)
    : FileListItem(indented, showFullPath)
{
    SetPath(path);
}

FileListItem::FileListItem(const FileListItem& other, const bool& indented)
    : FileListItem(indented, other.fShowFullPath)
{
    fType = other.fType;
    fPath = other.fPath;
    fIcon->ImportBits(other.fIcon.get());
    SetDisplayText();
}

FileListItem::~FileListItem() = default;

void FileListItem::Init()
{
    fShowFullPath = false;
    fIndented = true;
    fIcon = BlankIcon();
    fPath.Unset();
    fType = 0;
    fDisplayText = "";
    fTruncateMode = 0;
}

void FileListItem::SetPath(const char* path)
{
    fIcon = BlankIcon();
    if (path != nullptr)
        fIcon->SetTo(path, B_MINI_ICON);
    fPath.SetTo(path);
    SetDisplayText();
}

void FileListItem::SetShowFullPath(const bool& show)
{
    fShowFullPath = show;
    SetDisplayText();
}

void FileListItem::SetTruncateMode(const unsigned long& mode)
{
    fTruncateMode = uint32(mode);
    SetDisplayText();
}

void FileListItem::SetType(const FileListItem::FileType& type)
{
    fType = type;
}

void FileListItem::SetDisplayText()
{
    const char* leaf = fPath.Leaf();
    fDisplayText = fShowFullPath ? Path() : leaf != nullptr ? leaf : "";
}

// The text is shortened afresh from the whole path or name each time, so a
// list that grows shows more of it again.
void FileListItem::Update(BView* owner, const BFont* font)
{
    BListItem::Update(owner, font);
    SetHeight(kRowHeight);
    if (fTruncateMode == 0 || owner == nullptr)
        return;
    SetDisplayText();
    BFont ownerFont;
    owner->GetFont(&ownerFont);
    std::string text(fDisplayText);
    ownerFont.TruncateString(&text, fTruncateMode, owner->Frame().Width() - Margin() - kTextOffset);
    fDisplayText = text.c_str();
}

void FileListItem::DrawItem(BView* owner, BRect frame, bool)
{
    owner->SetHighColor(IsSelected() ? grey_color : owner->ViewColor());
    owner->FillRect(frame);
    owner->SetHighColor(black_color);
    owner->SetDrawingMode(B_OP_OVER);
    owner->DrawBitmap(fIcon.get(), BPoint(Margin() - 1, frame.top + 1));
    DrawText(owner, BPoint(Margin() + kTextOffset, frame.bottom - 4));
    owner->SetDrawingMode(B_OP_COPY);
}

// A full path shows its folders in dark grey and its leaf in black.
void FileListItem::DrawText(BView* owner, BPoint where)
{
    const char* text = fDisplayText;
    const char* slash = fShowFullPath ? strrchr(text, '/') : nullptr;
    if (slash == nullptr) {
        owner->DrawString(text, where);
        return;
    }
    int32 folders = int32(slash - text) + 1;
    owner->SetHighColor(dark_grey_color);
    owner->DrawString(text, folders, where);
    owner->SetHighColor(black_color);
    owner->DrawString(text + folders, BPoint(where.x + owner->StringWidth(text, folders), where.y));
}

void FileListItem::Write(BMessage& message)
{
    message.AddString("file_name", Path());
    message.AddInt8("file_type", int8(fType));
    message.AddInt32("file_size", LibEntrySize(Path(), false));
    BEntry entry(Path(), true);
    time_t creation = 0, modified = 0, accessed = 0;
    entry.GetCreationTime(&creation);
    entry.GetModificationTime(&modified);
    entry.GetAccessTime(&accessed);
    message.AddInt64("file_creation", int64(creation));
    message.AddInt64("file_modified", int64(modified));
    message.AddInt64("file_accessed", int64(accessed));
    BMessage icon;
    if (fIcon->Archive(&icon, true) == B_OK)
        message.AddMessage("file_icon", &icon);
}

void FileListItem::Read(BMessage& message)
{
    const char* name = nullptr;
    if (message.FindString("file_name", &name) == B_OK)
        SetPath(name);
    int8 type = 0;
    if (message.FindInt8("file_type", &type) == B_OK)
        fType = FileListItem::FileType(type);
    BMessage archive;
    if (message.FindMessage("file_icon", &archive) == B_OK) {
        auto icon = std::make_unique<LibBitmap>(&archive);
        // An archive that holds no whole bitmap keeps the icon there is.
        if (icon->IsValid())
            fIcon = std::move(icon);
    }
    SetDisplayText();
}

bool FileListItem::Execute()
{
    return fPath.Path() != nullptr && LibOpenEntry(fPath.Path());
}
