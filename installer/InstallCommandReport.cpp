#include "InstallCommand.h"

#include "BPath.h"
#include "InstallConfig.h"
#include "InstallerCheck.h"
#include "LibAppResource.h"
#include "LibBytes.h"
#include "LibString.h"

#include <cstdio>
#include <string>

namespace {

std::string Bytes(int64 count)
{
    LibString text;
    LibBytesToString((unsigned long)(count < 0 ? 0 : count), text, 1);
    return static_cast<const char*>(text);
}

std::string Leaf(const char* path)
{
    BPath named(path);
    return named.InitCheck() == B_OK && named.Leaf() != nullptr ? named.Leaf() : "";
}

} // namespace

int InstallCommand::List(InstallConfig& config)
{
    printf("%s %s\n", config.FindString(kAppNameKey), config.FindString(kVersionKey));
    BMessage groups;
    config.FindMessage("groups", &groups);
    printf("Groups:\n");
    const char* name;
    for (int32 i = 0; groups.FindString("group_name", i, &name) == B_OK; ++i) {
        const char* description = "";
        groups.FindString("group_description", i, &description);
        printf("  %s%s%s\n", name, *description != '\0' ? ": " : "", description);
    }
    printf("Files:\n");
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    BMessage entry;
    int64 total = 0;
    for (int32 i = 0; instructions.FindMessage("install_file", i, &entry) == B_OK; ++i) {
        int32 size = entry.FindInt32("file_size");
        total += size;
        printf("  %-28s %10s  %s\n", Leaf(entry.FindString("file_name")).c_str(),
            Bytes(size).c_str(), entry.FindString("groups"));
    }
    printf("Total: %s\n", Bytes(total).c_str());
    return kExitInstalled;
}

int InstallCommand::Check(InstallConfig& config)
{
    LibAppResource resources(B_READ_ONLY);
    InstallerCheck check(resources);
    if (!check.Run(config)) {
        for (const std::string& problem : check.Problems())
            printf("%s\n", problem.c_str());
        fprintf(stderr, "Stowfast: the installer is damaged: %d problem(s)\n",
            int(check.Problems().size()));
        return kExitDamaged;
    }
    printf("%d resource(s) and %d payload item(s): all sound\n", int(check.ResourceCount()),
        int(check.PayloadCount()));
    return kExitInstalled;
}
