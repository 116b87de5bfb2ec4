// Stowclear: the deinstaller that an installation places beside the product.
#include "StowclearCommand.h"
#include "StowclearOptions.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    StowclearOptions options;
    std::string error;
    if (!ParseStowclearOptions(argc, argv, options, error)) {
        fprintf(stderr, "Stowclear: %s\n%s", error.c_str(), kStowclearUsage);
        return kExitUsage;
    }
    return RunStowclear(options);
}
