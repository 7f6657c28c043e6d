#include "FakeClock.h"

#include "core/app/Application.h"

#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace
{

void FillProductInfo(CApplication& app)
{
    app.SetAppName(L"Halvane 2010: 3D Engine");
    app.SetAppCopyright(L"(c) Halvane makers");
    app.SetAppWebsite(L"https://halvane.example");
    app.SetAppMajorVersion(3);
    app.SetAppMinorVersion(16);
    app.SetAppBuildNote(L"", L"");
    app.SetAppBuildDate(L"Jan 14 2010");
    app.SetAppBuildTime(L"14:32:15");
}

} // namespace

TEST(ApplicationTest, ProductInformationStartsUnsetAndIsStored)
{
    CApplication app;
    EXPECT_EQ(app.GetAppMajorVersion(), 99);
    EXPECT_EQ(app.GetAppMinorVersion(), 88);
    EXPECT_EQ(app.GetAppName(), L"");
    EXPECT_FALSE(app.IsConsoleWindowVisible());

    FillProductInfo(app);
    app.SetAppBuildNote(L"beta", L"x64");
    EXPECT_EQ(app.GetAppName(), L"Halvane 2010: 3D Engine");
    EXPECT_EQ(app.GetAppMajorVersion(), 3);
    EXPECT_EQ(app.GetAppBuildNote1(), L"beta");
    EXPECT_EQ(app.GetAppBuildNote2(), L"x64");
}

TEST(ApplicationTest, ExecutableFolderIsThePathsFolderWithItsSeparator)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* folder;
    } cases[] = {
        {L"/opt/halvane/bin/halvane", L"/opt/halvane/bin/"},
        {L"C:\\Games\\Halvane\\Halvane.exe", L"C:/Games/Halvane/"},
        {L"./halvane", L""},
        {L"halvane", L""},
    };
    for (const auto& c : cases)
    {
        CApplication app;
        app.SetExePath(c.path);
        EXPECT_EQ(app.GetExePath(), c.path);
        EXPECT_EQ(app.GetExeFolder(), c.folder) << std::string(c.path, c.path + wcslen(c.path));
    }
}

TEST(ApplicationTest, EngineInformationBlockIsPrintedExactlyWhenTheConsoleShows)
{
    CConsoleCapture capture;
    CApplication app;
    FillProductInfo(app);
    app.PrintEngineInfo();
    EXPECT_EQ(capture.output, "") << "nothing shows before the console does";

    app.ShowConsoleWindow(0, 0);
    EXPECT_TRUE(app.IsConsoleWindowVisible());
    const std::string dashes(60, '-');
    const std::regex expected(dashes +
                              "\n"
                              "- Halvane 2010: 3D Engine 3\\.16\n"
                              "- \\(c\\) Halvane makers\n" +
                              dashes +
                              "\n"
                              "- Build: Jan 14 2010 14:32:15  \n"
                              "- Run: (Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
                              "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                              "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\n"
                              "- Visit https://halvane\\.example for more information\\.\\.\\.\n" +
                              dashes + "\n");
    EXPECT_TRUE(std::regex_match(capture.output, expected)) << capture.output;

    EXPECT_TRUE(app.SetConsoleCaption(L"caption"));
    app.HideConsoleWindow();
    EXPECT_FALSE(app.IsConsoleWindowVisible());
    EXPECT_TRUE(app.SetConsoleCaption(L"caption"));
    capture.output.clear();
    app.PrintEngineInfo();
    EXPECT_EQ(capture.output, "");
}

TEST(ApplicationTest, ClockIsTheProgramTimerNarrowedTo32Bits)
{
    CFakeClock clock((uint64_t(1) << 32) + 5);
    CApplication app;
    EXPECT_EQ(app.GetTime(), 5u);
    clock.Advance(uint64_t(0xFFFFFFFF));
    EXPECT_EQ(app.GetTime(), 4u);
}
