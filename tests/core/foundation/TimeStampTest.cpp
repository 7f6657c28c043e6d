#include "core/foundation/TimeStamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

TEST(TimeStamp, ClassicFormWithTwoDigitDay)
{
    const char* saved = std::getenv("TZ");
    const std::string savedZone = saved ? saved : "";
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    EXPECT_EQ(Misc::Text::FormatLocalTime(315626635), L"Wed Jan 02 02:03:55 1980\n");
    EXPECT_EQ(Misc::Text::FormatLocalTime(0), L"Thu Jan 01 00:00:00 1970\n");
    EXPECT_EQ(Misc::Text::FormatLocalTime(4102444799LL), L"Thu Dec 31 23:59:59 2099\n");
    if (saved)
        ::setenv("TZ", savedZone.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}
