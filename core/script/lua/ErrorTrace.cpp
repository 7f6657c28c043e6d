#include "core/script/lua/ErrorTrace.h"

#include "core/script/lua/LuaState.h"

#include <exception>

namespace LuaPlus
{

namespace
{

// The last noted error of this thread (each thread runs its own scripts).
thread_local SErrorTrace g_noted;

// Whether the text is the noted error's, as it is or raised again at
// another position ("file:line: " before it).
bool IsRaisedAgain(const std::string& text, const std::string& origin)
{
    if (origin.empty() || text.size() < origin.size() ||
        text.compare(text.size() - origin.size(), origin.size(), origin) != 0)
        return false;
    const size_t before = text.size() - origin.size();
    return before == 0 || (before >= 2 && text.compare(before - 2, 2, ": ") == 0);
}

void AppendFrame(std::string& out, lua_State* L, int level)
{
    lua_Debug frame;
    if (lua_getstack(L, level, &frame) == 0 || lua_getinfo(L, "Snl", &frame) == 0)
        return;
    const bool fromFile = frame.source != nullptr && frame.source[0] == '@';
    const std::string where = fromFile ? std::string(frame.source + 1) : std::string(frame.short_src);
    out += "\n\t" + where + ":";
    if (frame.currentline > 0)
        out += std::to_string(frame.currentline) + ":";
    if (frame.namewhat != nullptr && frame.namewhat[0] != '\0' && frame.name != nullptr)
        out += " in function '" + std::string(frame.name) + "'";
    else if (frame.what != nullptr && frame.what[0] == 'm')
        out += " in main chunk";
    else if (frame.what != nullptr && (frame.what[0] == 'C' || frame.what[0] == 't'))
        out += " ?";
    else
        out += " in function <" + where + ":" + std::to_string(frame.linedefined) + ">";
}

// The message handler: notes the error, returns it as it is.
int NoteError(lua_State* L)
{
    try
    {
        const std::string message = GetErrorText(L, 1);
        if (!IsRaisedAgain(message, g_noted.origin))
            g_noted = SErrorTrace{message, Traceback(L, 1)};
    }
    catch (const std::exception&)
    {
        // Out of memory: the error goes on without its note.
    }
    lua_settop(L, 1);
    return 1;
}

} // namespace

int PCallWithTrace(lua_State* L, int nargs, int nresults)
{
    const int function = lua_gettop(L) - nargs;
    lua_pushcfunction(L, &NoteError);
    lua_insert(L, function);
    const int status = lua_pcall(L, nargs, nresults, function);
    lua_remove(L, function);
    return status;
}

SErrorTrace FindErrorTrace(const std::string& message)
{
    if (IsRaisedAgain(message, g_noted.origin))
        return g_noted;
    return SErrorTrace{message, std::string()};
}

std::string Traceback(lua_State* L, int level)
{
    // Deep stacks (a runaway recursion) show their first and last frames.
    constexpr int kFirst = 12;
    constexpr int kLast = 10;
    lua_Debug frame;
    int depth = level;
    while (lua_getstack(L, depth, &frame) != 0)
        ++depth;
    std::string out = "stack traceback:";
    for (int at = level; at < depth; ++at)
    {
        if (at == level + kFirst && depth - at > kLast + 1)
        {
            out += "\n\t...";
            at = depth - kLast;
        }
        AppendFrame(out, L, at);
    }
    return out;
}

} // namespace LuaPlus
