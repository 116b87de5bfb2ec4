// A list row for one file: its mini icon and its leaf name or full path
// (the folders in dark grey, the leaf in black), shortened to the list's
// width when asked. It travels in a message (Write, Read) and opens its file
// with the desktop's opener (Execute).
#pragma once

#include "BListItem.h"
#include "BPath.h"
#include "LibString.h"

#include <memory>

class BMessage;
class LibBitmap;

class FileListItem : public BListItem {
public:
    // A kind of file that the list's owner gives its rows.
    using FileType = uint8;

    FileListItem(const bool& indented, const bool& showFullPath);
    FileListItem(const char* path, const bool& indented, const bool& showFullPath);
    // Another row's path, type, icon and way of showing the path.
    FileListItem(const FileListItem& other, const bool& indented);
    ~FileListItem() override;
    FileListItem& operator=(const FileListItem&) = delete;

    // Back to an empty row with a blank icon.
    void Init();
    // The file's mini icon (links followed), path and text.
    void SetPath(const char* path);
    void SetShowFullPath(const bool& show);
    // 0 never shortens; another B_TRUNCATE_* mode shortens the text to the
    // list's width there.
    void SetTruncateMode(const unsigned long& mode);
    void SetType(const FileListItem::FileType& type);
    void SetDisplayText();

    const char* Path() const { return fPath.Path() != nullptr ? fPath.Path() : ""; }
    FileListItem::FileType Type() const { return fType; }
    const char* DisplayText() const { return fDisplayText; }
    const LibBitmap* Icon() const { return fIcon.get(); }
    bool ShowsFullPath() const { return fShowFullPath; }

    void DrawItem(BView* owner, BRect frame, bool complete = false) override;
    void Update(BView* owner, const BFont* font) override;
    // "file_name", "file_type", "file_size", "file_creation",
    // "file_modified", "file_accessed" (links followed) and "file_icon".
    virtual void Write(BMessage& message);
    // Takes "file_name", "file_type" and "file_icon" when present; the text
    // follows this row's own way of showing the path.
    virtual void Read(BMessage& message);
    // Opens the file with the desktop's opener.
    bool Execute();

private:
    float Margin() const { return fIndented ? 16 : 3; }
    void DrawText(BView* owner, BPoint where);

    bool fShowFullPath = false;
    bool fIndented = true;
    std::unique_ptr<LibBitmap> fIcon;
    BPath fPath;
    FileListItem::FileType fType = 0;
    LibString fDisplayText;
    uint32 fTruncateMode = 0;
};
