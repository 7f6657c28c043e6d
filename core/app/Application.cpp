#include "core/app/Application.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/TimeStamp.h"
#include "platform/Console.h"

void CApplication::SetExePath(const std::wstring& path)
{
    m_exePath = path;
    m_exeFolder = ExtractFilenameComponents(path, true, true, false, false);
}

uint32_t CApplication::GetTime() const
{
    // 64-bit milliseconds narrowed last, so the clock never loses precision.
    return static_cast<uint32_t>(m_timer.GetTime());
}

void CApplication::ShowConsoleWindow(uint32_t outputCodePage, uint32_t inputCodePage)
{
    m_console.Show(outputCodePage, inputCodePage);
    PrintEngineInfo();
    m_consoleVisible = true;
}

void CApplication::HideConsoleWindow()
{
    m_console.Hide();
    m_consoleVisible = false;
}

bool CApplication::SetConsoleCaption(const std::wstring& caption)
{
    if (m_consoleVisible)
        m_console.SetTitle(caption.c_str());
    return true;
}

std::wstring CApplication::GetEngineInfo() const
{
    const std::wstring dashes(60, L'-');
    std::wstring text;
    text += dashes + L"\n";
    text += L"- " + m_appName + L" " + std::to_wstring(m_majorVersion) + L"." + std::to_wstring(m_minorVersion) +
            L"\n";
    text += L"- " + m_appCopyright + L"\n";
    text += dashes + L"\n";
    text += L"- Build: " + m_buildDate + L" " + m_buildTime + L" " + m_buildNote1 + L" " + m_buildNote2 + L"\n";
    // The local time ends in its own line break.
    text += L"- Run: " + Misc::Text::CurrentLocalTime();
    text += L"- Visit " + m_appWebsite + L" for more information...\n";
    text += dashes + L"\n";
    return text;
}

void CApplication::PrintEngineInfo() const
{
    Platform::WriteConsole(GetEngineInfo());
}
