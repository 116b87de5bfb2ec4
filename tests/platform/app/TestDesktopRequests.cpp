#include "DesktopRequests.h"

#include <gtest/gtest.h>

TEST(DesktopRequests, FileUrisCarryNoQuoteOrSpace)
{
    EXPECT_EQ(file_uri("/home/u/plain-name_1.~txt"), "file:///home/u/plain-name_1.~txt");
    EXPECT_EQ(
        file_uri("/a b/it's \"q\"\n%\xc3\xa9]"), "file:///a%20b/it%27s%20%22q%22%0A%25%C3%A9%5D");
    EXPECT_EQ(open_with_desktop(""), B_BAD_VALUE);
    EXPECT_EQ(show_entry_info(nullptr), B_BAD_VALUE);
}
