// The payload archives an install run is going to unpack, checked before
// anything is written: each one is present, matches its checksum and holds
// one safe item (no absolute or climbing names, no link leading out). A
// damaged or hostile installer is so refused before it has touched the disk.
#pragma once

#include "RecordKeys.h"
#include "SupportDefs.h"

#include <functional>
#include <string>
#include <vector>

class BMessage;
class BResources;

class InstallPayloads {
public:
    // Asked between chunks of a long check; may unwind (a cancellation point).
    using Pause = std::function<void()>;

    explicit InstallPayloads(BResources& resources, Pause pause = {});

    // Checks payload `id`; on success `fileBytes` receives the bytes its
    // files hold once unpacked. B_ENTRY_NOT_FOUND when it is missing,
    // B_BAD_DATA when damaged, B_NOT_ALLOWED when its item is unsafe.
    status_t Check(int32 id, uint64& fileBytes);
    // Checks payload `id` as Check does, then decompresses every member and
    // checks its sizes and CRC, writing nothing: what unpacking it would
    // meet, found before anything is unpacked.
    status_t Verify(int32 id, uint64& fileBytes);

    // Every payload the record `config` names: the deinstaller's unless the
    // record leaves it out, then one per "install_file" entry.
    static std::vector<int32> Named(const BMessage& config);

    // Why the last check failed, for people ("payload 2103: ...").
    const std::string& ErrorMessage() const { return fError; }

private:
    status_t Examine(int32 id, uint64& fileBytes, bool decompress);
    status_t VerifyChecksum(int32 id, uint64 offset, uint64 size);
    status_t Fail(int32 id, status_t status, const std::string& message);

    BResources& fResources;
    Pause fPause;
    std::string fError;
};
