#pragma once

#include <cstdint>

// The console window of the log: the process's standard output, which the
// logger writes to only while the console is shown.
class CLogConsole
{
public:
    CLogConsole() = default;
    CLogConsole(const CLogConsole&) = delete;
    CLogConsole& operator=(const CLogConsole&) = delete;
    // Hides the console when it is shown.
    virtual ~CLogConsole();

    // Shows the console; nothing when it is shown already. Output is UTF-8
    // whatever code pages are asked for.
    void Show(uint32_t outputCodePage, uint32_t inputCodePage);
    // Hides the console; nothing when it is not shown.
    void Hide();
    // Sets the console's caption (a terminal title); nothing for null text.
    void SetTitle(const wchar_t* text);

    bool IsShown() const { return m_shown; }

private:
    bool m_shown = false;
};
