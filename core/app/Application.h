#pragma once

#include "core/foundation/LogConsole.h"
#include "core/foundation/Timer.h"

#include <cstdint>
#include <string>

// What belongs to the running program as a whole: its product information,
// the executable's path, the log console and the clock. The engine object
// creates it first and deletes it last.
class CApplication
{
public:
    CApplication() = default;
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;
    virtual ~CApplication() = default;

    void SetAppName(const std::wstring& name) { m_appName = name; }
    const std::wstring& GetAppName() const { return m_appName; }
    void SetAppCopyright(const std::wstring& copyright) { m_appCopyright = copyright; }
    const std::wstring& GetAppCopyright() const { return m_appCopyright; }
    void SetAppWebsite(const std::wstring& website) { m_appWebsite = website; }
    const std::wstring& GetAppWebsite() const { return m_appWebsite; }
    void SetAppMajorVersion(int32_t version) { m_majorVersion = version; }
    int32_t GetAppMajorVersion() const { return m_majorVersion; }
    void SetAppMinorVersion(int32_t version) { m_minorVersion = version; }
    int32_t GetAppMinorVersion() const { return m_minorVersion; }
    // The two further build texts, printed after the build time.
    void SetAppBuildNote(const std::wstring& first, const std::wstring& second)
    {
        m_buildNote1 = first;
        m_buildNote2 = second;
    }
    const std::wstring& GetAppBuildNote1() const { return m_buildNote1; }
    const std::wstring& GetAppBuildNote2() const { return m_buildNote2; }
    void SetAppBuildDate(const std::wstring& date) { m_buildDate = date; }
    const std::wstring& GetAppBuildDate() const { return m_buildDate; }
    void SetAppBuildTime(const std::wstring& time) { m_buildTime = time; }
    const std::wstring& GetAppBuildTime() const { return m_buildTime; }

    // Stores the path and, as the executable folder, its folder part with
    // the trailing separator.
    void SetExePath(const std::wstring& path);
    const std::wstring& GetExePath() const { return m_exePath; }
    const std::wstring& GetExeFolder() const { return m_exeFolder; }

    // Milliseconds since start-up, wrapping around: the main loop's clock.
    uint32_t GetTime() const;

    // Shows the log console and prints the engine information block on it.
    // The code pages are accepted and not used (the console is UTF-8).
    void ShowConsoleWindow(uint32_t outputCodePage, uint32_t inputCodePage);
    void HideConsoleWindow();
    // Sets the console's title while it is visible; returns true.
    bool SetConsoleCaption(const std::wstring& caption);
    bool IsConsoleWindowVisible() const { return m_consoleVisible; }

    // The engine information block as PrintEngineInfo prints it.
    std::wstring GetEngineInfo() const;
    // Prints the engine information block on the log console.
    void PrintEngineInfo() const;

private:
    std::wstring m_appName;
    std::wstring m_appCopyright;
    std::wstring m_appWebsite;
    int32_t m_majorVersion = 99;
    int32_t m_minorVersion = 88;
    std::wstring m_buildNote1;
    std::wstring m_buildNote2;
    std::wstring m_buildDate;
    std::wstring m_buildTime;
    std::wstring m_exePath;
    std::wstring m_exeFolder;
    CLogConsole m_console;
    bool m_consoleVisible = false;
    CTimer m_timer;
};
