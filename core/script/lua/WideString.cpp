#include "core/script/lua/WideString.h"

#include "core/foundation/StringConversion.h"

namespace LuaPlus
{

void lua_pushwstring(lua_State* L, std::wstring_view text)
{
    // Names and captions, the usual text, are encoded on the stack: no
    // allocation for an event's element name.
    constexpr size_t kShortText = 64;
    if (text.size() <= kShortText)
    {
        char bytes[kShortText * 4];
        size_t length = 0;
        for (const wchar_t c : text)
            length += Misc::Text::EncodeUtf8(static_cast<uint32_t>(c), bytes + length);
        lua_pushlstring(L, bytes, length);
        return;
    }
    const std::string utf8 = Misc::Text::WideToUtf8(text);
    lua_pushlstring(L, utf8.data(), utf8.size());
}

void lua_pushwstring(lua_State* L, const wchar_t* text)
{
    if (text)
        lua_pushwstring(L, std::wstring_view(text));
    else
        lua_pushnil(L);
}

std::wstring lua_towstring(lua_State* L, int index)
{
    // lua_isstring is also true for numbers, which lua_tolstring converts.
    if (!lua_isstring(L, index))
        return std::wstring();
    size_t size = 0;
    const char* text = lua_tolstring(L, index, &size);
    return Misc::Text::Utf8ToWide(std::string_view(text, size));
}

} // namespace LuaPlus
