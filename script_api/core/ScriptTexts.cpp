#include "script_api/core/ScriptTexts.h"

#include <algorithm>

LuaPlus::LuaObject EmptyAsNil(LuaPlus::LuaState* state, const std::wstring& text)
{
    return TextOrNil(state, text.empty() ? nullptr : &text);
}

LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::wstring* text)
{
    LuaPlus::LuaObject value;
    if (text != nullptr)
        value.Assign(state, std::wstring_view(*text));
    return value;
}

LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::pmr::wstring* text)
{
    LuaPlus::LuaObject value;
    if (text != nullptr)
        value.Assign(state, std::wstring_view(*text));
    return value;
}

LuaPlus::LuaObject TextList(LuaPlus::LuaState* state, const std::vector<std::wstring>& texts)
{
    LuaPlus::LuaObject table;
    table.AssignNewTable(state, static_cast<int>(std::min<size_t>(texts.size(), 0x7FFFFFFF)));
    for (size_t index = 0; index < texts.size(); ++index)
        table.Set(static_cast<lua_Number>(index + 1), std::wstring_view(texts[index]));
    return table;
}
