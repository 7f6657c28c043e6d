#pragma once

// The groups of IGraphics functions, registered by RegisterIGraphics in the
// order of its list. A group lives in its own file beside this one
// (IGraphics<Group>.cpp); adding one takes its declaration here and one line
// in RegisterIGraphics.

#include "core/script/lua/ScriptMetaTable.h"

// init ... queryFeature: opening and closing the device, the sub-engine's
// lock and frame counter, the window, the desktop and the video modes.
void RegisterIGraphicsDeviceFunctions(CScriptMetaTable& table);
// draw ... getWorldMax: drawing a frame on request, the buffer flags, screen
// shots and the world box.
void RegisterIGraphicsFrameFunctions(CScriptMetaTable& table);
// rayCast ... isInLineOfSight: picking scene nodes with rays between two
// points or through the cursor (IGraphicsRayCasts.cpp).
void RegisterIGraphicsRayCasts(CScriptMetaTable& table);
// getEntityAmbientColor ... setEntityZBufferWriteEnabled: the materials,
// visibility and render flags of world entities.
void RegisterIGraphicsEntityMaterials(CScriptMetaTable& table);
// getMeshId ... setBillboardVertexUV: mesh handles, vertices, faces and
// bounding boxes of world entities, billboard corners.
void RegisterIGraphicsEntityMeshes(CScriptMetaTable& table);
// setEntityAnimation ... getEntityAbsoluteScale: animation, joints and
// attachments of world entities.
void RegisterIGraphicsEntityAnimation(CScriptMetaTable& table);
