// One row of the installer's file list: a payload file as the record names
// it, with the size the builder measured and the install groups it belongs
// to. A long path keeps its end visible.
#pragma once

#include "FileListItem.h"
#include "LibStringList.h"

class InstallListItem : public FileListItem {
public:
    explicit InstallListItem(const bool& showFullPath);
    InstallListItem(const char* path, const bool& indented, const bool& showFullPath);
    // The other row's file and groups; the size starts at 0.
    InstallListItem(InstallListItem& other, const bool& indented);

    void SetSize(const long& size) { fSize = int32(size); }
    int32 Size() const { return fSize; }
    LibStringList& Groups() { return fGroups; }

    // An "install_file" entry: "groups" ("Typical;Documents;") and the first
    // "file_size", besides the file's own fields.
    void Read(BMessage& message) override;
    void Write(BMessage& message) override;

private:
    int32 fSize = 0;
    LibStringList fGroups;
};
