// A file's large icon, as a file manager shows it (BNodeInfo's tracker
// icon).
#pragma once

#include "BView.h"

#include <memory>

class BBitmap;

class EntryIconView : public BView {
public:
    EntryIconView(BRect frame, const char* name, const char* path);
    ~EntryIconView() override;

    void Draw(BRect updateRect) override;

private:
    std::unique_ptr<BBitmap> fIcon;
};
