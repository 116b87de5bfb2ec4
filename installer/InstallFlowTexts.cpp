#include "InstallFlowTexts.h"

#include "oLocalize.h"

std::string FlowString(long number)
{
    // A fresh object each time, as every lookup of the installer does.
    return static_cast<const char*>(oLocalize().GetString(number));
}
