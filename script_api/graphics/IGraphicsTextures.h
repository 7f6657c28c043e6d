#pragma once

// The groups of IGraphics functions on textures, render targets, shaders
// and immediate drawing.

#include "core/script/lua/ScriptMetaTable.h"

// clearCache ... setTextureMipMapping (caches, loaders, texture options),
// then textureExists ... textureWriteToFile.
void RegisterIGraphicsTextureFunctions(CScriptMetaTable& table);
// getRenderTargetDimensions ... removeAllRenderTarget, the shaders and
// getEngineDevice.
void RegisterIGraphicsRenderTargetFunctions(CScriptMetaTable& table);
// The colours, then the 2D and 3D drawing and text functions.
void RegisterIGraphicsDrawingFunctions(CScriptMetaTable& table);
