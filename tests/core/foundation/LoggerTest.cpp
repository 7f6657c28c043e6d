#include "core/events/Multicast.h"
#include "core/foundation/LogConsole.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "platform/Console.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace
{

// Captures what reaches the console while the test runs.
class LoggerTest : public ::testing::Test
{
protected:
    void TearDown() override { Platform::HideConsole(); }

    std::string Take() { return m_console.Take(); }

    CConsoleCapture m_console;
};

} // namespace

TEST_F(LoggerTest, PrintsOnlyWhenTheOutputLevelAllowsAndTheConsoleIsShown)
{
    Misc::CLogger logger;
    EXPECT_EQ(logger.GetOutputLevel(), -1);
    EXPECT_EQ(logger.GetSystemLevel(), 9);

    CLogConsole console;
    console.Show(0, 0);
    logger.Write(0, false, L"level %i", 0);
    EXPECT_EQ(Take(), "");

    logger.SetOutputLevel(0);
    logger.Write(0, false, L"level %i %s", 0, L"\u00e9t\u00e9");
    EXPECT_EQ(Take(), "level 0 \xc3\xa9t\xc3\xa9\n");
    logger.Write(1, false, L"level 1");
    EXPECT_EQ(Take(), "");
    logger.Write(-5, false, L"100%");
    EXPECT_EQ(Take(), "100%\n");

    // The usage line at the system level stays invisible with the start values.
    logger.SetOutputLevel(-1);
    logger.Write(logger.GetSystemLevel(), false, L"[Usage] %s script_entry_file\n", L"halvane");
    EXPECT_EQ(Take(), "");

    // Hidden again: the line is dropped although the level allows it.
    logger.SetOutputLevel(9);
    console.Hide();
    logger.Write(0, false, L"hidden");
    EXPECT_EQ(Take(), "");
}

TEST_F(LoggerTest, TimeStampedLine)
{
    Misc::CLogger logger;
    logger.SetOutputLevel(3);
    Platform::ShowConsole();
    logger.Write(3, true, L"loaded %S", "menu.lua");
    const std::regex form("Real Time:(Mon|Tue|Wed|Thu|Fri|Sat|Sun) "
                          "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-3][0-9] "
                          "[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\nloaded menu\\.lua\n\n\n");
    const std::string line = Take();
    EXPECT_TRUE(std::regex_match(line, form)) << line;
}

TEST_F(LoggerTest, LongLinesAreCutNotOverflowed)
{
    Misc::CLogger logger;
    logger.SetOutputLevel(0);
    Platform::ShowConsole();
    const std::wstring huge(200000, L'x');
    logger.Write(0, false, L"%s", huge.c_str());
    EXPECT_EQ(Take(), std::string(65535, 'x') + "\n");
    logger.Write(0, false, nullptr);
    EXPECT_EQ(Take(), "\n");
}

namespace
{

class CLogListener : public Misc::Multicast::CSubscriberOf<Misc::Multicast::Kind::Log>
{
public:
    bool OnEvent(const Misc::Multicast::CEvtLog& event) override
    {
        lines.push_back(event);
        return true;
    }
    std::vector<Misc::Multicast::CEvtLog> lines;
};

} // namespace

TEST_F(LoggerTest, WritePublishReachesOnlyTheListenersAndOnlyWhenTheLevelAllows)
{
    using Channel = Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Log>;
    Misc::CLogger logger;
    CLogListener listener;
    Channel::Subscribe(&listener, 0);
    Platform::ShowConsole();

    logger.WritePublish(0, true, L"hidden %i", 1); // output level -1
    EXPECT_TRUE(listener.lines.empty());

    logger.SetOutputLevel(2);
    logger.WritePublish(2, true, L"score %i%%", 10);
    logger.WritePublish(3, false, L"too detailed");
    ASSERT_EQ(listener.lines.size(), 1u);
    EXPECT_EQ(listener.lines[0].message, L"score 10%"); // no time stamp, no line break
    EXPECT_EQ(listener.lines[0].level, 2);
    EXPECT_EQ(Take(), ""); // never printed
    Channel::Unsubscribe(&listener);
}

TEST_F(LoggerTest, SystemWritesGoThroughTheProcessLoggerAtItsSystemLevel)
{
    Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    const int32_t outputLevel = logger->GetOutputLevel();
    const int32_t systemLevel = logger->GetSystemLevel();
    Platform::ShowConsole();
    logger->SetOutputLevel(4);
    logger->SetSystemLevel(4);
    Misc::CLogger::WriteSystem(L"[T::M] loaded %s (%S) %d"_fmt, L"caf\u00e9", "menu.lua", 2);
    EXPECT_EQ(Take(), "[T::M] loaded caf\xc3\xa9 (menu.lua) 2\n");
    logger->SetSystemLevel(5);
    Misc::CLogger::WriteSystem(L"above the output level");
    EXPECT_EQ(Take(), "");
    logger->SetOutputLevel(outputLevel);
    logger->SetSystemLevel(systemLevel);
}
