#include "InstallTexts.h"

#include "oLocalize.h"

LibString InstallString(InstallText number)
{
    // A fresh object each time, so that a language chosen meanwhile counts.
    oLocalize texts;
    return texts.GetString(long(number));
}
