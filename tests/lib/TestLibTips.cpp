#include "AppDefs.h"
#include "BApplication.h"
#include "LibTipManager.h"
#include "LibTipString.h"
#include "LibTipWin.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

namespace {

using stowtest::TestApplication;

constexpr uint32 kTip = 'stip';

BMessage Tip(const char* text)
{
    BMessage message(kTip);
    message.AddBool("show", true);
    message.AddString("tip", text);
    message.AddPoint("loc", BPoint(300, 200));
    return message;
}

BMessage HideMessage()
{
    BMessage message(kTip);
    message.AddBool("show", false);
    return message;
}

// The tip manager lives on the application thread; every step of a test
// runs there, so no pulse of a real timer can come in between.
struct Tips {
    LibTipManager manager;

    void Send(BMessage message)
    {
        TestApplication::Call([&] { manager.MessageReceived(&message); });
    }
    void ApplicationPulse()
    {
        TestApplication::Call([&] { manager.PostPending(); });
    }
    // The tip window's pulse, as its timer would post it.
    void WindowPulse()
    {
        manager.TipWindow()->PostMessage(B_PULSE);
        TestApplication::Settle();
    }
    bool Hidden()
    {
        bool hidden = false;
        TestApplication::Call([&] { hidden = manager.TipWindow()->IsHidden(); });
        return hidden;
    }
    BRect Bounds()
    {
        BRect bounds;
        TestApplication::Call([&] { bounds = manager.TipWindow()->Bounds(); });
        return bounds;
    }
};

void StartApp()
{
    std::string problem;
    ASSERT_TRUE(TestApplication::Start(true, &problem)) << problem;
}

} // namespace

TEST(LibTips, OneLineTipAfterTheStartDelayUntilTheWindowPulse)
{
    StartApp();
    Tips tips;
    tips.Send(HideMessage());
    ASSERT_NE(tips.manager.TipWindow(), nullptr) << "any tip message makes the window";
    EXPECT_TRUE(tips.Hidden());

    const char* text = "Change destination folder";
    tips.Send(Tip(text));
    EXPECT_TRUE(tips.Hidden()) << "the default start delay is one second";
    EXPECT_EQ(be_app->PulseRate(), 1000000);
    BFont font(be_plain_font);
    font.SetSize(10);
    EXPECT_EQ(tips.Bounds(), BRect(0, 0, font.StringWidth(text) + 3, 13));
    EXPECT_EQ(tips.manager.TipWindow()->TextView()->CountLines(), 1);
    EXPECT_EQ(tips.manager.TipWindow()->Frame().LeftTop(), BPoint(300, 200));

    tips.ApplicationPulse();
    EXPECT_FALSE(tips.Hidden());
    EXPECT_EQ(tips.manager.TipWindow()->PulseRate(), 4000000) << "up for the default 4 seconds";
    tips.ApplicationPulse();
    EXPECT_FALSE(tips.Hidden());

    tips.WindowPulse();
    EXPECT_TRUE(tips.Hidden());
    EXPECT_EQ(tips.manager.TipWindow()->PulseRate(), 0);
}

// A group's description of 10 bytes: shown at once, wrapped at 160 points,
// up for 3 seconds.
TEST(LibTips, GroupDescriptionShowsAtOnceAndHidesAfterItsEndDelay)
{
    StartApp();
    Tips tips;
    BMessage message = Tip("0123456789");
    message.AddInt16("sdelay", 0);
    message.AddInt16("edelay", 3);
    message.AddInt32("width", 160);
    tips.Send(message);
    EXPECT_FALSE(tips.Hidden());
    EXPECT_FALSE(tips.manager.IsPending());
    EXPECT_EQ(tips.manager.TipWindow()->PulseRate(), 3000000);
    LibTipString* view = tips.manager.TipWindow()->TextView();
    EXPECT_EQ(tips.Bounds(), BRect(0, 0, 163, view->LineHeight(0) + 2));
    tips.WindowPulse();
    EXPECT_TRUE(tips.Hidden());

    // A long text wraps at the width and the window holds every line.
    std::string words;
    for (int i = 0; i < 12; ++i)
        words += "description ";
    message.ReplaceString("tip", words.c_str());
    tips.Send(message);
    int32 lines = view->CountLines();
    EXPECT_GT(lines, 2);
    EXPECT_EQ(tips.Bounds(), BRect(0, 0, 163, float(lines) * view->LineHeight(0) + 2));
    EXPECT_LE(view->TextRect().Width(), 160);
    tips.Send(HideMessage());
    EXPECT_TRUE(tips.Hidden());
    EXPECT_EQ(be_app->PulseRate(), 0);
}

TEST(LibTips, SwitchedOffTipsChangeNothingAndDeactivationHides)
{
    StartApp();
    Tips tips;
    BMessage now = Tip("now");
    now.AddInt16("sdelay", 0);
    tips.Send(now);
    ASSERT_FALSE(tips.Hidden());

    tips.manager.ToggleTips();
    tips.Send(HideMessage());
    EXPECT_FALSE(tips.Hidden()) << "tips switched off leave even a showing tip alone";
    tips.Send(Tip("other"));
    EXPECT_STREQ(tips.manager.TipWindow()->TextView()->Text(), "now");
    tips.manager.SetShowTips(true);

    TestApplication::Call([&] {
        LibTipWin* window = tips.manager.TipWindow();
        window->Lock();
        window->WindowActivated(false);
        window->Unlock();
    });
    EXPECT_TRUE(tips.Hidden());
}
