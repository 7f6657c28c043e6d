#include "core/foundation/LogConsole.h"

#include "core/foundation/StringConversion.h"
#include "platform/Console.h"

CLogConsole::~CLogConsole()
{
    Hide();
}

void CLogConsole::Show(uint32_t outputCodePage, uint32_t inputCodePage)
{
    (void)outputCodePage;
    (void)inputCodePage;
    if (m_shown)
        return;
    Platform::ShowConsole();
    m_shown = true;
}

void CLogConsole::Hide()
{
    if (!m_shown)
        return;
    Platform::HideConsole();
    m_shown = false;
}

void CLogConsole::SetTitle(const wchar_t* text)
{
    if (text != nullptr)
        Platform::SetConsoleTitle(Misc::Text::WideToUtf8(text));
}
