#include "InstallCommand.h"

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

} // namespace

int InstallCommand::List(const InstallSession& session)
{
    const InstallConfig& record = session.Record();
    printf("%s %s\n", record.FindString(kAppNameKey), record.FindString(kVersionKey));
    printf("Groups:\n");
    for (int32 i = 0; i < session.CountGroups(); ++i) {
        const InstallGroup& group = *session.GroupAt(i);
        printf("  %s%s%s\n", group.name.c_str(), group.description.empty() ? "" : ": ",
            group.description.c_str());
    }
    printf("Files:\n");
    int64 total = 0;
    for (int32 i = 0; i < session.CountFiles(); ++i) {
        const InstallFile& file = *session.FileAt(i);
        total += file.size;
        printf(
            "  %-28s %10s  %s\n", file.leaf.c_str(), Bytes(file.size).c_str(), file.groups.c_str());
    }
    printf("Total: %s\n", Bytes(total).c_str());
    return kExitInstalled;
}

int InstallCommand::Check(const InstallSession& session)
{
    LibAppResource resources(B_READ_ONLY);
    InstallerCheck check(resources);
    if (!check.Run(session.Record())) {
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
