#include "StowclearFlowTexts.h"

#include "oLocalize.h"

std::string StowclearString(long number)
{
    // A fresh object each time, so that the language chosen last counts.
    return static_cast<const char*>(oLocalize().GetString(number));
}
