#include "platform/Console.h"

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

void WriteConsole(std::string_view text)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.shown)
        Emit(state, text);
}

void SetConsoleTitle(std::string_view title)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.shown || state.sink || ::isatty(STDOUT_FILENO) != 1)
        return;

    // C1 controls (U+0080 to U+009F) are 0xC2 0x80..0x9F in UTF-8.
    std::string clean;
    for (size_t i = 0; i < title.size(); ++i)
    {
        const auto c = static_cast<unsigned char>(title[i]);
        if (c < 0x20 || c == 0x7F)
            continue;
        if (c == 0xC2 && i + 1 < title.size() && static_cast<unsigned char>(title[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(title[i + 1]) < 0xA0)
        {
            ++i;
            continue;
        }
        clean += static_cast<char>(c);
    }
    Emit(state, "\033]0;" + clean + "\007");
}

void SetConsoleSink(std::function<void(std::string_view)> sink)
{
    ConsoleState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.sink = std::move(sink);
}

} // namespace Platform
