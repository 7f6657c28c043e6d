#include "core/foundation/LogConsole.h"
#include "core/foundation/Logger.h"
#include "platform/Console.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

TEST(LogConsole, ShowAndHideAreIdempotent)
{
    CConsoleCapture captured;
    Misc::CLogger logger;
    logger.SetOutputLevel(0);
    {
        CLogConsole console;
        console.Hide(); // nothing shown: nothing happens
        EXPECT_FALSE(Platform::IsConsoleShown());
        console.Show(65001, 65001);
        console.Show(0, 0);
        EXPECT_TRUE(console.IsShown());
        console.SetTitle(L"Halvane"); // not a terminal: no escape in the output
        console.SetTitle(nullptr);
        logger.Write(0, false, L"visible");
        EXPECT_EQ(captured.Take(), "visible\n");
    }
    // Destroying the console hides it.
    EXPECT_FALSE(Platform::IsConsoleShown());
    logger.Write(0, false, L"gone");
    EXPECT_EQ(captured.Take(), "");
}
