// Decides which entries a file panel shows (and lets the user choose).
#pragma once

#include "BNode.h"
#include "entry_ref.h"

#include <sys/stat.h>

class BRefFilter {
public:
    virtual ~BRefFilter();
    // `node` and `stat` describe the entry itself (a link is not followed);
    // `mimeType` is its file type ("application/x-vnd.Be-directory" for a
    // folder, "application/x-vnd.Be-volume" for a volume's mount point).
    virtual bool Filter(const entry_ref* ref, BNode* node, struct stat* stat, const char* mimeType)
        = 0;
};
