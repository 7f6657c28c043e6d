#pragma once

#include "platform/Console.h"

#include <string>
#include <string_view>

// Captures what reaches the log console while it lives.
class CConsoleCapture
{
public:
    CConsoleCapture()
    {
        Platform::SetConsoleSink([this](std::string_view text) { output.append(text); });
    }
    ~CConsoleCapture() { Platform::SetConsoleSink(nullptr); }
    CConsoleCapture(const CConsoleCapture&) = delete;
    CConsoleCapture& operator=(const CConsoleCapture&) = delete;

    // What arrived since the last look.
    std::string Take()
    {
        std::string text;
        text.swap(output);
        return text;
    }

    std::string output;
};
