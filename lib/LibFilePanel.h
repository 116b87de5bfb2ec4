// A file panel with its own LibRefFilter, started in a folder given by path
// or standard folder, that can step up to the parent folder, save and
// restore its folder and frame (lib_panel_state), and carry a "Format" menu
// whose marked item travels with its message as "marked".
#pragma once

#include "BFilePanel.h"
#include "BRect.h"
#include "FindDirectory.h"
#include "LibRefFilter.h"

class BLooper;
class BMenu;

// What a panel's place is made of, to reopen another panel there.
struct lib_panel_state {
    entry_ref directory;
    BRect frame;
};

class LibFilePanel : public BFilePanel {
public:
    // Sends `command` messages to `target`; not modal, and stays up when
    // done, in the platform's default folder.
    LibFilePanel(const file_panel_mode& mode, BLooper* target, const unsigned long& command,
        const unsigned long& nodeFlavors, const bool& allowMultiple);
    LibFilePanel(const file_panel_mode& mode, BMessenger* target, const unsigned long& command,
        const unsigned long& nodeFlavors, const bool& allowMultiple);
    ~LibFilePanel() override;

    LibRefFilter& Filter() { return fFilter; }

    // The folder `path`, or the folder holding it with `useParent` (a
    // file's path opens its folder); a null path changes nothing.
    void SetPanelDirectory(const char* path, const bool& useParent);
    void SetPanelDirectory(const directory_which& which);
    void SetToParentDirectory();
    void GetState(lib_panel_state& state);
    void SetState(lib_panel_state& state);

    // Adds `label` to the radio menu "Format" of the panel's menu bar (made
    // on the first call), marked when asked.
    void AddFormatMenuItem(const char* label, const bool& marked);
    void AddOptionMenu();

    // Adds "marked" = the marked format's label, when there is one.
    void SendMessage(const BMessenger* target, BMessage* message) override;

private:
    void Init(const unsigned long& command);

    BMenu* fFormatMenu = nullptr;
    LibRefFilter fFilter;
};
