// What a file panel lists: the entries of one folder that its node flavors
// and its filter admit, folders first, each group by name. A link is listed
// as the entry it is (the filter judges it), but going through it is
// allowed only when the filter also admits the entry it leads to, so a link
// never takes the user out of what the filter admits.
#pragma once

#include "FileTypes.h"
#include "StorageDefs.h"
#include "SupportDefs.h"
#include "entry_ref.h"

#include <string>
#include <sys/types.h>
#include <vector>

class BRefFilter;

struct PanelEntry {
    entry_ref ref;
    std::string path;
    std::string name;
    bool folder = false; // leads to a folder (links: their target)
    bool link = false;
};

class PanelEntries {
public:
    PanelEntries(uint32 nodeFlavors, BRefFilter* filter);

    std::vector<PanelEntry> List(const std::string& folder) const;
    // The entry at `path` as the panel would list it; false when the
    // flavors or the filter refuse it, or (for a link) the entry it leads
    // to.
    bool Admit(const std::string& path, PanelEntry& entry) const;

private:
    bool Judge(const std::string& path, const struct stat& info, bool followed) const;

    uint32 fFlavors;
    BRefFilter* fFilter;
};

// The file type the panel hands the filter for the entry at `path`.
std::string panel_mime_type(const std::string& path, const struct stat& info);
