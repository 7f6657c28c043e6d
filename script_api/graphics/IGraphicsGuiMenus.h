#pragma once

// IGraphics groups of menus and tool bars, and of tab controls, tabs and
// scroll bars.

class CScriptMetaTable;

void RegisterIGraphicsGuiMenus(CScriptMetaTable& table);
void RegisterIGraphicsGuiTabs(CScriptMetaTable& table);
