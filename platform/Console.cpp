#include "platform/Console.h"

#include "core/foundation/StringConversion.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <unistd.h>

namespace Platform
{

namespace
{

struct ConsoleState
{
    std::mutex mutex;
    bool shown = false;
    std::function<void(std::string_view)> sink;
};

ConsoleState& State()
{
    // Never destroyed: a worker or an exit handler may still log at exit.
    static ConsoleState* state = new ConsoleState;
    return *state;
}

// Caller holds the state's mutex.
void Emit(ConsoleState& state, std::string_view bytes)
{
    if (state.sink)
    {
        state.sink(bytes);
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

} // namespace

void ShowConsole()
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.shown = true;
}

void HideConsole()
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.shown = false;
}

bool IsConsoleShown()
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.shown;
}

void WriteConsole(std::wstring_view text)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.shown)
        Emit(state, Misc::Text::WideToUtf8(text));
}

void SetConsoleTitle(std::wstring_view title)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.shown || state.sink || ::isatty(STDOUT_FILENO) != 1)
        return;

    std::wstring clean;
    for (const wchar_t c : title)
    {
        if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0))
            clean += c;
    }
    Emit(state, "\033]0;" + Misc::Text::WideToUtf8(clean) + "\007");
}

void SetConsoleSink(std::function<void(std::string_view)> sink)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.sink = std::move(sink);
}

} // namespace Platform
