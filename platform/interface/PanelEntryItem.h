// A row of a file panel: the entry's small icon and its name.
#pragma once

#include "BListItem.h"
#include "PanelEntries.h"

#include <memory>

class BBitmap;

class PanelEntryItem : public BListItem {
public:
    explicit PanelEntryItem(const PanelEntry& entry);
    ~PanelEntryItem() override;

    const PanelEntry& Entry() const { return fEntry; }
    void DrawItem(BView* owner, BRect frame, bool complete = false) override;
    void Update(BView* owner, const BFont* font) override;

private:
    PanelEntry fEntry;
    std::unique_ptr<BBitmap> fIcon;
};
