// The installer's list of install groups: a LibListView that tells its
// window the row under the pointer. Escape does not hide the window here:
// the installer's only window would vanish with the program still running.
#pragma once

#include "LibListView.h"

class GroupListView : public LibListView {
public:
    GroupListView(BRect frame, const char* name);

    void KeyDown(const char* bytes, int32 numBytes) override;
};
