#pragma once

#include "core/script/lua/LuaObject.h"

#include <memory_resource>
#include <string>
#include <vector>

// Text results as script functions hand them out: the text, or nil when it
// is empty; the text, or nil for no text at all (null); a table of the texts
// indexed from 1.
LuaPlus::LuaObject EmptyAsNil(LuaPlus::LuaState* state, const std::wstring& text);
LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::wstring* text);
LuaPlus::LuaObject TextOrNil(LuaPlus::LuaState* state, const std::pmr::wstring* text);
LuaPlus::LuaObject TextList(LuaPlus::LuaState* state, const std::vector<std::wstring>& texts);
