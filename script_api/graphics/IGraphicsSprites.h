#pragma once

// The IGraphics groups of the sprite bank, the screen sprites and the fonts
// (the font builder), and what ISkin shares with them.

#include "core/foundation/Rect.h"
#include "core/script/lua/LuaStackTable.h"

#include <vector>

class CScriptMetaTable;

namespace IGraphicsGui
{

// The frame rectangles of a script's frame table: its elements 1 to its
// length, each a rectangle or the rectangle's text form. No frames for a
// value that is not a table.
std::vector<CRect> ReadFrameRectangles(const LuaPlus::LuaStackTable& frames);

} // namespace IGraphicsGui

void RegisterIGraphicsSpriteFunctions(CScriptMetaTable& table);
void RegisterIGraphicsFontFunctions(CScriptMetaTable& table);
