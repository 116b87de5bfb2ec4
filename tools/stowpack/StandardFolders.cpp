#include "StandardFolders.h"

namespace {

struct Row {
    int32 which;
    const char* name;
};

// Within each block the values count up by one.
const Row kRows[] = {
    {0, "Desktop"},
    {1, "Trash"},
    {1000, "BeOS"},
    {1001, "BeOS System"},
    {1002, "BeOS Add-Ons"},
    {1003, "BeOS Boot"},
    {1004, "BeOS Fonts"},
    {1005, "BeOS Libraries"},
    {1006, "BeOS Servers"},
    {1007, "BeOS Applications"},
    {1008, "BeOS Bin"},
    {1009, "BeOS Etc"},
    {1010, "BeOS Documentation"},
    {1011, "BeOS Preferences"},
    {1012, "BeOS Translators"},
    {1013, "BeOS Media Nodes"},
    {1014, "BeOS Sounds"},
    {2000, "Common"},
    {2001, "Common System"},
    {2002, "Common Add-Ons"},
    {2003, "Common Boot"},
    {2004, "Common Fonts"},
    {2005, "Common Libraries"},
    {2006, "Common Servers"},
    {2007, "Common Bin"},
    {2008, "Common Etc"},
    {2009, "Common Documentation"},
    {2010, "Common Settings"},
    {2011, "Common Develop"},
    {2012, "Common Log"},
    {2013, "Common Spool"},
    {2014, "Common Temporary"},
    {2015, "Common Var"},
    {2016, "Common Translators"},
    {2017, "Common Media Nodes"},
    {2018, "Common Sounds"},
    {3000, "User"},
    {3001, "User Configuration"},
    {3002, "User Add-Ons"},
    {3003, "User Boot"},
    {3004, "User Fonts"},
    {3005, "User Libraries"},
    {3006, "User Settings"},
    {3007, "User Deskbar"},
    {3008, "User Printers"},
    {3009, "User Translators"},
    {3010, "User Media Nodes"},
    {3011, "User Sounds"},
    {4000, "Applications"},
    {4001, "Preferences"},
    {4002, "Utilities"},
};

} // namespace

namespace StandardFolders {

bool ValueOf(const std::string& name, int32& which)
{
    for (const Row& row : kRows) {
        if (name == row.name) {
            which = row.which;
            return true;
        }
    }
    return false;
}

bool IsValue(int32 which)
{
    for (const Row& row : kRows) {
        if (row.which == which)
            return true;
    }
    return false;
}

} // namespace StandardFolders
