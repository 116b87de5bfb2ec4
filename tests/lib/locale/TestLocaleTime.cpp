#include "BMessage.h"
#include "LibLocaleDateTime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const LibString& text)
{
    const char* value = text;
    return value != nullptr ? value : "(null)";
}

void ExpectTime(const LibTime& time, long hours, long minutes, long seconds)
{
    EXPECT_EQ(time.GetHours(), hours);
    EXPECT_EQ(time.GetMinutes(), minutes);
    EXPECT_EQ(time.GetSeconds(), seconds);
}

} // namespace

TEST(LocaleTime, TwelveAndTwentyFourHourClocks)
{
    LibLocaleTime locale;
    EXPECT_EQ(Text(locale.Format(LibTime(14, 5, 30))), "2:05 PM");
    EXPECT_EQ(Text(locale.Format(LibTime(0, 0, 0))), "12:00 AM");
    EXPECT_EQ(Text(locale.Format(LibTime(12, 0, 0))), "12:00 PM");
    EXPECT_EQ(Text(locale.Format(LibTime(11, 59, 59))), "11:59 AM");
    locale.SetShowSeconds(true);
    EXPECT_EQ(Text(locale.Format(LibTime(14, 5, 30))), "2:05:30 PM");
    locale.Set24Clock(true);
    EXPECT_EQ(Text(locale.Format(LibTime(9, 5, 3))), "09:05:03");
    locale.Set24ClockSuffix(" Uhr");
    locale.SetSeperator('.');
    EXPECT_EQ(Text(locale.Format(LibTime(21, 5, 3))), "21.05.03 Uhr");
    locale.SetShowMinutes(false);
    locale.SetShowSuffix(false);
    EXPECT_EQ(Text(locale.Format(LibTime(21, 5, 3))), "21.03");
    locale.SetSeperator('\0');
    locale.SetShowMinutes(true);
    EXPECT_EQ(Text(locale.Format(LibTime(21, 5, 3))), "210503");

    EXPECT_TRUE(locale.Has12ClockSuffix());
    locale.Set12ClockBeforeNoonSuffix("");
    locale.Set12ClockAfterNoonSuffix(nullptr);
    EXPECT_FALSE(locale.Has12ClockSuffix());
}

TEST(LocaleTime, ReadingTimesBack)
{
    LibLocaleTime twelve;
    ExpectTime(twelve.GetTime("7:15 pm"), 19, 15, 0);
    ExpectTime(twelve.GetTime("12:10"), 0, 10, 0);
    ExpectTime(twelve.GetTime("12:10 PM"), 12, 10, 0);
    ExpectTime(twelve.GetTime("12:10 a.m."), 0, 10, 0);
    ExpectTime(twelve.GetTime("9:05:07 AM"), 9, 5, 7);
    ExpectTime(twelve.GetTime("3P"), 15, 0, 0);
    ExpectTime(twelve.GetTime(""), 0, 0, 0);
    ExpectTime(twelve.GetTime(nullptr), 0, 0, 0);
    ExpectTime(twelve.GetTime("1:2:3:4"), 1, 2, 3);
    ExpectTime(twelve.GetTime("1234"), 3, 4, 0); // runs of three digits at most
    LibLocaleTime twentyFour;
    twentyFour.Set24Clock(true);
    ExpectTime(twentyFour.GetTime("12:10"), 12, 10, 0);
    ExpectTime(twentyFour.GetTime("23:59:59"), 23, 59, 59);
    ExpectTime(twentyFour.GetTime("3:00 pm"), 15, 0, 0);

    LibLocaleTime german;
    german.Set12ClockAfterNoonSuffix(" nachm.");
    german.Set12ClockBeforeNoonSuffix(" vorm.");
    ExpectTime(german.GetTime("3:00 NACHM."), 15, 0, 0);
    ExpectTime(german.GetTime("3:00 vorm."), 3, 0, 0);
    // An empty suffix does not make every time an afternoon.
    LibLocaleTime bare;
    bare.Set12ClockAfterNoonSuffix("");
    ExpectTime(bare.GetTime("3:00"), 3, 0, 0);
}

TEST(LocaleTime, FormattedTimesReadBackOnBothClocks)
{
    for (bool clock24 : {false, true}) {
        LibLocaleTime locale;
        locale.Set24Clock(clock24);
        locale.SetShowSeconds(true);
        for (long seconds = 0; seconds < 86400; seconds += 7) {
            LibTime time(0, 0, seconds);
            LibString text = locale.Format(time);
            ASSERT_TRUE(locale.GetTime(text) == time) << Text(text);
        }
    }
}

TEST(LocaleTime, ArchiveAndPrint)
{
    LibLocaleTime original;
    original.Set24Clock(true);
    original.SetShowSeconds(true);
    original.SetSeperator('h');
    original.Set24ClockSuffix(" Uhr");
    BMessage archive;
    ASSERT_EQ(original.Archive(archive), B_OK);
    EXPECT_EQ(archive.FindInt16("seperator"), 'h');
    EXPECT_STREQ(archive.FindString("12_hour_after_noon_suffix"), " PM");
    LibLocaleTime restored;
    restored.Restore(archive);
    EXPECT_EQ(Text(restored.Format(LibTime(8, 5, 1))), "08h05h01 Uhr");
    BMessage partial;
    partial.AddBool("show_minutes", false);
    restored.Restore(partial);
    EXPECT_EQ(Text(restored.Format(LibTime(8, 5, 1))), "08h01 Uhr");

    testing::internal::CaptureStderr();
    restored.PrintToStream();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "show sec 1, min 0\n");
}

TEST(LocaleDateTime, DialogAndLogLayouts)
{
    LibDateTime value(5u, 3u, 2001u);
    value.SetTime(14, 7, 9);
    LibLocaleDateTime dialog;
    dialog.LibLocaleDate::SetFormat("W, M D Y");
    dialog.SetSeperator(", ");
    dialog.SetShowSeconds(true);
    EXPECT_EQ(Text(dialog.Format(value)), "Mon, Mar 5 2001, 2:07:09 PM");
    LibLocaleDateTime log;
    log.SetShowSeconds(true);
    EXPECT_EQ(Text(log.Format(value)), "5 Mar 2001 2:07:09 PM");
    log.SetSeperator('.');
    log.SetLanguage(LibLocaleDate::kFrench);
    EXPECT_EQ(Text(log.Format(value)), "5 Mar 2001 2.07.09 PM");

    BMessage archive;
    ASSERT_EQ(dialog.Archive(archive), B_OK);
    EXPECT_STREQ(archive.FindString("field_seperator"), ", ");
    LibLocaleDateTime restored;
    restored.Restore(archive);
    EXPECT_EQ(Text(restored.Format(value)), "Mon, Mar 5 2001, 2:07:09 PM");
    LibLocaleDateTime copy;
    copy = restored;
    EXPECT_EQ(Text(copy.Format(value)), "Mon, Mar 5 2001, 2:07:09 PM");
    EXPECT_STREQ(copy.FieldSeperator(), ", ");
}
