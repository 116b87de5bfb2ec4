#include "LibFileOperations.h"

#include "BPath.h"
#include "LibStringIterator.h"

#include <cstdlib>

bool LibFindEnvFile(const char* variable, const char* fileName, BPath& location)
{
    if (variable == nullptr || fileName == nullptr || *fileName == '\0')
        return false;
    const char* value = getenv(variable);
    if (value == nullptr)
        return false;
    LibStringIterator folders(value);
    LibString folder;
    while (folders.GetNextField(':', folder)) {
        if (folder.Length() == 0)
            continue;
        BPath candidate(static_cast<const char*>(folder), fileName);
        if (candidate.InitCheck() == B_OK && LibExists(candidate.Path())) {
            location = candidate;
            return true;
        }
    }
    return false;
}
