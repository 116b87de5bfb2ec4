#include "LibTipManager.h"

#include "BApplication.h"
#include "LibTipWin.h"

#include <algorithm>

namespace {

constexpr bigtime_t kSecond = 1000000;
constexpr int32 kCentered = 4;

} // namespace

LibTipManager::LibTipManager() = default;

LibTipManager::~LibTipManager() = default;

void LibTipManager::MessageReceived(BMessage* message)
{
    if (!fShowTips || message == nullptr)
        return;
    if (fTipWin == nullptr) {
        fTipWin = new LibTipWin;
        fTipWin->Run();
    }
    if (message->FindBool("show"))
        ShowTip(message);
    else
        HideTip();
}

void LibTipManager::ShowTip(BMessage* message)
{
    int32 width = 0;
    message->FindInt32("width", &width);
    fTipWin->SetText(message->FindString("tip"), width);
    fTipWin->PopTo(message->FindPoint("loc"), kCentered);
    int16 delay = 0;
    // A delay below 0 counts as none.
    fStartDelay = message->FindInt16("sdelay", &delay) == B_OK ? std::max<int16>(delay, 0) : 1;
    fEndDelay = message->FindInt16("edelay", &delay) == B_OK ? std::max<int16>(delay, 0) : 4;
    fPending = true;
    if (be_app != nullptr)
        be_app->SetPulseRate(bigtime_t(fStartDelay) * kSecond);
    if (fStartDelay == 0)
        PopTip();
}

void LibTipManager::HideTip()
{
    if (fTipWin->Lock()) {
        if (!fTipWin->IsHidden())
            fTipWin->Hide();
        fTipWin->Unlock();
    }
    fPending = false;
    if (be_app != nullptr)
        be_app->SetPulseRate(0);
}

void LibTipManager::PostPending()
{
    if (fPending)
        PopTip();
}

void LibTipManager::PopTip()
{
    fTipWin->Pop();
    fTipWin->SetPulseRate(bigtime_t(fEndDelay) * kSecond);
    fPending = false;
}

void LibTipManager::ToggleTips()
{
    fShowTips = !fShowTips;
}

void LibTipManager::SetShowTips(const bool& show)
{
    fShowTips = show;
}
