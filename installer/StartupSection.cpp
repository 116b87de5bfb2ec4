#include "StartupSection.h"

#include <cstring>

namespace {

// Lines 1 to 17: the comment block.
constexpr char kHead[]
    = "#\n"
      "# This section was placed by Stowfast.\n"
      "# If you are having trouble with these commands,\n"
      "# please contact Tarnwick support at support@tarnwick.example.\n"
      "#\n"
      "# These commands gathers items in the start-up file at boot time\n"
      "# Applications that have an attribute of 'run_priority' get placed\n"
      "# in the first file, and all others are placed in the second file.\n"
      "# Those with a run_priority are sorted so those with the lowest priority\n"
      "# are run first.\n"
      "#\n"
      "# Thank you for choosing software installed with Stowfast.\n"
      "# We wish you many years of good use.\n"
      "#\n"
      "# Any alterations done in this section may be lost\n"
      "# during the next installation of this product.\n"
      "#\n";

// Lines 19 to 53; the last one has no newline.
constexpr char kBody[]
    = "if [ -d $startup_folder ]\n"
      "then\n"
      "\t#\n"
      "\t# Add items with attributes to file\n"
      "\t#\n"
      "\techo \"#!/bin/sh\" > /tmp/startup_pri_$$\n"
      "\t/bin/catattr run_priority \"$startup_folder\"/* 2>| /tmp/errs_$$ |\n"
      "\t/bin/awk -F: '{printf(\"%s~\\\"%s\\\"\\n\",$NF,substr($1,0,length($1)-1));}' |\n"
      "\tsort -n |\n"
      "\t/bin/awk -F '~' '{printf(\"%s &\\n\",$2)}' >> /tmp/startup_pri_$$\n"
      "\t#\n"
      "\t# get items that dont have the proper attributes\n"
      "\t#\n"
      "\techo \"#!/bin/sh\" > /tmp/startup_no_pri_$$\n"
      "\tsed -e 's/ file /~/' -e 's/ attribute /~/' /tmp/errs_$$ |\n"
      "\t/bin/awk -F '~' '{printf(\"\\\"\"$2\"\\\" &\\n\")}' >> /tmp/startup_no_pri_$$\n"
      "\t#\n"
      "\t# Change permission\n"
      "\t#\n"
      "\t/bin/chmod a+x /tmp/startup_pri_$$\n"
      "\t/bin/chmod a+x /tmp/startup_no_pri_$$\n"
      "\t#\n"
      "\t# Execute files in background\n"
      "\t#\n"
      "\t/tmp/startup_pri_$$\n"
      "\t/bin/sleep 1\n"
      "\t/tmp/startup_no_pri_$$\n"
      "\t#\n"
      "\t# Clean up files\n"
      "\t#\n"
      "\t/bin/rm -f /tmp/startup_pri_$$\n"
      "\t/bin/rm -f /tmp/startup_no_pri_$$\n"
      "\t/bin/rm -f /tmp/errs_$$\n"
      "fi\n"
      "#";

constexpr char kAssignment[] = "startup_folder=";

// Characters that stand for themselves in an unquoted shell word.
bool IsPlainPath(const char* path)
{
    for (const char* c = path; *c != '\0'; ++c) {
        bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z')
            || (*c >= '0' && *c <= '9') || strchr("/._-+,@%:", *c) != nullptr;
        if (!plain)
            return false;
    }
    return true;
}

// `path` as one shell word: unchanged when plain, else in single quotes with
// each quote in it written as '\''.
LibString ShellWord(const char* path)
{
    if (IsPlainPath(path))
        return LibString(path);
    LibString word("'");
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '\'')
            word.Concat("'\\''");
        else
            word.Concat(*c);
    }
    word.Concat("'");
    return word;
}

} // namespace

LibString StartupSectionText(const char* folder)
{
    LibString text(kHead);
    text.Concat(kAssignment);
    text.Concat(ShellWord(folder != nullptr ? folder : ""));
    text.Concat("\n");
    text.Concat(kBody);
    return text;
}
