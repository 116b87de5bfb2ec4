// A menu item that can show a bitmap from the program's resources in front
// of its label.
#pragma once

#include "BBitmap.h"
#include "BMenuItem.h"

#include <memory>

class oMenuItem : public BMenuItem {
public:
    oMenuItem(
        const char* label, BMessage* message, const char& shortcut, const unsigned long& modifiers);
    ~oMenuItem() override;

    // The 'BBMP' resource of that name; null (or a missing one) shows no
    // bitmap.
    void SetBitmap(const char* name);
    const BBitmap* Bitmap() const { return fBitmap.get(); }

protected:
    void DrawContent() override;
    void GetContentSize(float* width, float* height) override;

private:
    std::unique_ptr<BBitmap> fBitmap;
};
