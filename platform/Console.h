#pragma once

// The log console: the process's standard output, which the engine writes
// to only while the console is shown. Until Show, and again after Hide,
// console text is discarded (as if written to the null device), so what a
// user sees follows the visibility of a console window. Text is UTF-8 and is
// flushed at once. Thread-safe.

#include <functional>
#include <string_view>

namespace Platform
{

void ShowConsole();
void HideConsole();
bool IsConsoleShown();

// Writes the UTF-8 text while the console is shown; otherwise drops it.
void WriteConsole(std::string_view text);

// Sets the terminal's title (UTF-8), only while the console is shown and
// standard output is a terminal. Control characters in the title (C0, DEL
// and C1) are left out.
void SetConsoleTitle(std::string_view title);

// Test hook: while set, console text goes to the function (as UTF-8)
// instead of standard output, and the console never counts as a terminal.
// An empty function restores standard output.
void SetConsoleSink(std::function<void(std::string_view)> sink);

} // namespace Platform
