#include "InstallerCheck.h"

#include "BMessage.h"
#include "BResources.h"

InstallerCheck::InstallerCheck(BResources& resources, InstallPayloads::Pause pause)
    : fResources(resources)
    , fPause(std::move(pause))
{ }

bool InstallerCheck::Run(const BMessage& config)
{
    fProblems.clear();
    CheckResources();
    CheckPayloads(config);
    return fProblems.empty();
}

void InstallerCheck::CheckResources()
{
    fResourceCount = fResources.CountResources();
    type_code type;
    int32 id;
    const char* name;
    size_t size;
    for (int32 i = 0; fResources.GetResourceInfo(i, &type, &id, &name, &size); ++i) {
        if (fPause)
            fPause();
        if (fResources.VerifyResource(type, id) != B_OK)
            fProblems.push_back("resource " + std::to_string(id) + " \"" + name
                + "\": damaged (its checksum does not match)");
    }
}

void InstallerCheck::CheckPayloads(const BMessage& config)
{
    InstallPayloads payloads(fResources, fPause);
    std::vector<int32> ids = InstallPayloads::Named(config);
    fPayloadCount = int32(ids.size());
    for (int32 id : ids) {
        uint64 bytes = 0;
        if (payloads.Verify(id, bytes) != B_OK)
            fProblems.push_back(payloads.ErrorMessage());
    }
}
