// What the requirements check asks of the machine: the destination volume,
// the physical memory, shared libraries and applications. The run asks the
// real machine; tests answer for it.
#pragma once

#include "LibString.h"
#include "entry_ref.h"

// The purpose of the missing library and application alerts (docs/alerts.md).
constexpr const char* kRequirementPurpose = "requirement";

class RequirementProbe {
public:
    virtual ~RequirementProbe() = default;

    // The name and free bytes of the volume that receives what is put into
    // the folder `destination` (InstallConfig::FolderVolume); false
    // (and no name, 0 bytes) when it cannot be read.
    virtual bool DestinationVolume(const entry_ref& destination, LibString& name, int64& freeBytes);
    // Physical memory in whole megabytes.
    virtual int32 MemoryMegabytes();
    // Found where the dynamic linker would find it.
    virtual bool HasSharedLibrary(const char* name);
    // An executable carries this signature.
    virtual bool HasApplication(const char* signature);
};
