// Byte-level progress of an install run, for a progress bar: 'ispr' with
// int64 "done" and "total" (the bytes of the selected items' files), sent
// within an item at most every kInterval so that a large item cannot flood
// the receiver, and whenever an item is finished.
// Windows may ignore it.
#pragma once

#include "SupportDefs.h"

#include <chrono>

class BMessenger;

constexpr uint32 kInstallProgressMessage = 'ispr';

class InstallByteProgress {
public:
    static constexpr std::chrono::milliseconds kInterval {100};

    // Nothing is sent without a target.
    InstallByteProgress(const BMessenger* target, uint64 total);

    // Work on the next item starts; its bytes count after those before it.
    void StartItem(uint64 itemBytes);
    // Bytes of the current item done so far.
    void ItemProgress(uint64 done);
    // The current item is complete.
    void FinishItem();

    uint64 Done() const { return fBase + fItemDone; }
    uint64 Total() const { return fTotal; }

private:
    void Send(bool force);

    const BMessenger* fTarget;
    uint64 fTotal;
    uint64 fBase = 0;
    uint64 fItemBytes = 0;
    uint64 fItemDone = 0;
    std::chrono::steady_clock::time_point fLastSent {};
    bool fSentOnce = false;
};
