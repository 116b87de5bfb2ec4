// The file type ("BEOS:TYPE", kept as user.mime_type) and the preferred
// application of a node.
#pragma once

#include "BNode.h"

class BBitmap;
struct entry_ref;

enum icon_size {
    B_LARGE_ICON = 32,
    B_MINI_ICON = 16,
};

class BNodeInfo {
public:
    BNodeInfo();
    explicit BNodeInfo(BNode* node);
    virtual ~BNodeInfo();

    status_t SetTo(BNode* node);
    status_t InitCheck() const;

    // `type` receives at most B_MIME_TYPE_LENGTH bytes, zero included.
    status_t GetType(char* type) const;
    // A null type removes it.
    status_t SetType(const char* type);
    status_t GetPreferredApp(char* signature) const;
    status_t SetPreferredApp(const char* signature);

    // The node's icon as a file manager shows it, drawn into `icon` (any
    // size; a 32 or 16 pixel bitmap as `size` says): from the desktop's icon
    // theme when a display is at hand, else the kit's own folder, file,
    // program and link icons. Links show their target's icon. Defined by
    // the interface kit (a program that calls them links it).
    status_t GetTrackerIcon(BBitmap* icon, icon_size size = B_LARGE_ICON) const;
    static status_t GetTrackerIcon(
        const entry_ref* ref, BBitmap* icon, icon_size size = B_LARGE_ICON);

private:
    status_t GetString(const char* name, char* buffer) const;
    status_t SetString(const char* name, const char* value);

    BNode* fNode = nullptr;
};
