// The main screen as the X server describes it, and none without a display.
#include "TestSupport.h"

#include "ScreenInfo.h"

#include <gtest/gtest.h>

TEST(Screen, NoScreenWithoutADisplay)
{
    stowtest::ScopedEnv noDisplay("DISPLAY", "");
    BRect frame(1, 2, 3, 4);
    color_space space = B_RGB32;
    EXPECT_EQ(get_main_screen(&frame, &space), B_ERROR);
    EXPECT_EQ(space, B_NO_COLOR_SPACE);
    EXPECT_EQ(frame, BRect());
    EXPECT_EQ(color_space_for_depth(24), B_RGB32);
    EXPECT_EQ(color_space_for_depth(16), B_RGB16);
    EXPECT_EQ(color_space_for_depth(15), B_RGB15);
    EXPECT_EQ(color_space_for_depth(8), B_CMAP8);
    EXPECT_EQ(color_space_for_depth(30), B_NO_COLOR_SPACE);
}
