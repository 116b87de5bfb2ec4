// Checks a whole installer without writing anything, for the command line's
// --check and for the windows alike: every resource against its checksum,
// then every payload the record names, each member decompressed and checked
// (sizes, CRC) as unpacking it would be.
#pragma once

#include "InstallPayloads.h"

#include <string>
#include <vector>

class BMessage;
class BResources;

class InstallerCheck {
public:
    explicit InstallerCheck(BResources& resources, InstallPayloads::Pause pause = {});

    // True when nothing is damaged. Each damaged resource or payload adds
    // one line to Problems(), naming the first damage found in it.
    bool Run(const BMessage& config);

    const std::vector<std::string>& Problems() const { return fProblems; }
    int32 ResourceCount() const { return fResourceCount; }
    int32 PayloadCount() const { return fPayloadCount; }

private:
    void CheckResources();
    void CheckPayloads(const BMessage& config);

    BResources& fResources;
    InstallPayloads::Pause fPause;
    std::vector<std::string> fProblems;
    int32 fResourceCount = 0;
    int32 fPayloadCount = 0;
};
