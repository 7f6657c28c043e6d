#pragma once

// The IGraphics groups of buttons, images, static texts, edit boxes, spin
// boxes and windows: their creation and their properties; and the render
// window, the clipboard and the frame statistics.

class CScriptMetaTable;

void RegisterIGraphicsGuiBuilders(CScriptMetaTable& table);
void RegisterIGraphicsGuiBuilderProperties(CScriptMetaTable& table);
void RegisterIGraphicsWindowFunctions(CScriptMetaTable& table);
