#include "InstallByteProgress.h"

#include "BMessenger.h"

#include <algorithm>

InstallByteProgress::InstallByteProgress(const BMessenger* target, uint64 total)
    : fTarget(target)
    , fTotal(total)
{ }

void InstallByteProgress::StartItem(uint64 itemBytes)
{
    fItemBytes = itemBytes;
    fItemDone = 0;
    Send(!fSentOnce);
}

void InstallByteProgress::ItemProgress(uint64 done)
{
    fItemDone = std::min(done, fItemBytes);
    Send(false);
}

void InstallByteProgress::FinishItem()
{
    fBase += fItemBytes;
    fItemBytes = 0;
    fItemDone = 0;
    // Each finished item is reported at once: placing it may ask the user a
    // question for as long as the user takes, and the bar should show what
    // arrived meanwhile. One message an item, as the status line sends.
    Send(true);
}

void InstallByteProgress::Send(bool force)
{
    if (fTarget == nullptr)
        return;
    auto now = std::chrono::steady_clock::now();
    if (!force && fSentOnce && now - fLastSent < kInterval)
        return;
    fLastSent = now;
    fSentOnce = true;
    BMessage message(kInstallProgressMessage);
    message.AddInt64("done", int64(Done()));
    message.AddInt64("total", int64(fTotal));
    fTarget->SendMessage(&message);
}
