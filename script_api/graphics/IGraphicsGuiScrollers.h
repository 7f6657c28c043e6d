#pragma once

// The IGraphics functions of the GUI scrollers: createScroller,
// removeScroller and addToScroller.

class CScriptMetaTable;

void RegisterIGraphicsGuiScrollers(CScriptMetaTable& table);
