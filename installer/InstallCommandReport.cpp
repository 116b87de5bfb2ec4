#include "InstallCommand.h"

#include "BPath.h"
#include "InstallConfig.h"
#include "InstallPayloads.h"
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

bool IncludesDeinstaller(const InstallConfig& config)
{
    return !config.HasBool("opt_include_deinstall") || config.FindBool("opt_include_deinstall");
}

} // namespace

int InstallCommand::List(InstallConfig& config)
{
    printf("%s %s\n", config.FindString("app_name"), config.FindString("version"));
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
    int bad = 0;
    type_code type;
    int32 id;
    const char* name;
    size_t size;
    for (int32 i = 0; resources.GetResourceInfo(i, &type, &id, &name, &size); ++i) {
        if (resources.VerifyResource(type, id) != B_OK) {
            printf("resource %d \"%s\": damaged (its checksum does not match)\n", int(id), name);
            ++bad;
        }
    }
    InstallPayloads payloads(resources);
    uint64 bytes = 0;
    std::vector<int32> ids;
    if (IncludesDeinstaller(config))
        ids.push_back(kDeinstallerPayloadId);
    BMessage instructions;
    config.FindMessage("install_instructions", &instructions);
    for (int32 i = 0; instructions.HasMessage("install_file", i); ++i)
        ids.push_back(kFirstItemPayloadId + i);
    for (int32 payload : ids) {
        if (payloads.Check(payload, bytes) != B_OK) {
            printf("%s\n", payloads.ErrorMessage().c_str());
            ++bad;
        }
    }
    if (bad > 0) {
        fprintf(stderr, "Stowfast: the installer is damaged: %d problem(s)\n", bad);
        return kExitDamaged;
    }
    printf("%d resource(s) and %d payload item(s): all sound\n", int(resources.CountResources()),
        int(ids.size()));
    return kExitInstalled;
}
