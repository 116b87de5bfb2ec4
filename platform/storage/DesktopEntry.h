// A desktop entry (freedesktop.org Desktop Entry Specification): the file
// through which Linux application menus show a program. Where the design
// places a link into the applications menu folder, the entry takes the
// link's place, since menus show entries and ignore bare links.
#pragma once

#include "SupportDefs.h"

#include <string>

class DesktopEntry {
public:
    // The entry for `target`: an Application that runs it when it is an
    // executable file, otherwise a Link that opens it. `name` is what the
    // menu shows; `icon` a path or theme name, empty for none.
    DesktopEntry(const std::string& target, const std::string& name, const std::string& icon = {});

    // The file's text.
    std::string Text() const;
    // A file name for the entry made from `name`: the characters a desktop
    // file id may hold, ".desktop" at the end.
    static std::string FileName(const std::string& name);
    // Writes the entry at `path` beside itself first, then renames it there.
    status_t Write(const std::string& path) const;

private:
    static std::string ExecArgument(const std::string& path);
    static std::string Escaped(const std::string& value);
    static std::string FileUrl(const std::string& path);

    std::string fTarget;
    std::string fName;
    std::string fIcon;
    bool fApplication;
};
