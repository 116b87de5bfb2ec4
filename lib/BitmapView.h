// A 32 by 32 view showing a file's large icon, as the file manager shows it.
#pragma once

#include "BView.h"

#include <memory>

class LibBitmap;

class BitmapView : public BView {
public:
    BitmapView(BPoint where, const char* name, const char* path);
    ~BitmapView() override;

    void Draw(BRect updateRect) override;
    const LibBitmap* Icon() const { return fIcon.get(); }

private:
    std::unique_ptr<LibBitmap> fIcon;
};
