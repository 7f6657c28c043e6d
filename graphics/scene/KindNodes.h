#pragma once

// The scene nodes of each kind of entity: how the graphics engine builds
// (or applies an entity's values to) the node of a kind, takes it away and
// pushes the entity's settings into it. The engine finds a kind's row by
// the entity's kind id and calls it with its scene lock held; every
// builder ends in the engine's BindNode. Node names are entity ids, node
// ids kind ids (the camera -1).

#include <cstdint>

namespace irr::scene
{
class ISceneNode;
}

namespace Graphics
{
class CGraphicsEngine;
}

namespace Graphics::Scene
{

class CGraphicalEntity;

// What the engine does with the entities of one kind.
struct SKindNodes
{
    uint32_t typeId;
    void (*add)(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
    void (*remove)(CGraphicsEngine& engine, CGraphicalEntity* entity);
    void (*update)(CGraphicsEngine& engine, CGraphicalEntity* entity);
};

// The row of the kind id; null for an id that is no kind.
const SKindNodes* FindKindNodes(uint32_t typeId);

// The entity as the class of its kind; a null entity or one of another
// class throws the message.
[[noreturn]] void ThrowInvalidKind(const wchar_t* message);
template <class Kind> Kind* RequireKind(CGraphicalEntity* entity, const wchar_t* message)
{
    if (auto* kind = dynamic_cast<Kind*>(entity))
        return kind;
    ThrowInvalidKind(message);
}

// An animated mesh (a cube without a model); with shadows enabled at
// Init, the agent's shadow option is applied again.
void AddAgentNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
// A mesh node, or with the octree option an octree node (256 polygons per
// node), from frame 0 of the model; a Quake 3 map (".bsp" or ".BSP") adds
// its shader nodes. Material 0 of type 17 and above (normal and parallax
// maps) builds from a copy with tangents. A cube without a model. A null
// entity or one of another class throws "[CGraphicsEngine::Add] Invalid
// unit pointer".
void AddUnitNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
// A sky dome (node id -1) or a sky box (node id 0), unlit and without fog.
void AddSkyNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
// A terrain node from the height map found through the application's file
// lookup (a cube when there is none); "[CGraphicsEngine::Add] Invalid
// terrain pointer" for another class.
void AddTerrainNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
// A water surface from frame 0 of the model (a cube without a model);
// "[CGraphicsEngine::Add] Invalid Water pointer" for another class,
// "Unable to create water from mesh" when the surface cannot be made.
void AddWaterNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
void AddParticleSystemNode(CGraphicsEngine& engine, CGraphicalEntity* entity,
                           irr::scene::ISceneNode* parentNode);
void AddLightNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
// Waypoints, triggers and cursors have no node of their own: with flags
// they show as marker cubes.
void AddWaypointNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
void AddTriggerNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
void AddCursorNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
void AddBillboardNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
void AddCameraNode(CGraphicsEngine& engine, CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);

// A particle system's emitter and affectors go before its node.
void RemoveParticleSystemNode(CGraphicsEngine& engine, CGraphicalEntity* entity);
// Every other kind's node goes as the engine removes nodes.
void RemoveEntityNode(CGraphicsEngine& engine, CGraphicalEntity* entity);

// A particle system gets its emitter and affectors anew, a terrain its
// texture scales; every other kind its UpdateNode.
void UpdateParticleSystemNode(CGraphicsEngine& engine, CGraphicalEntity* entity);
void UpdateTerrainNode(CGraphicsEngine& engine, CGraphicalEntity* entity);
void UpdateEntityNode(CGraphicsEngine& engine, CGraphicalEntity* entity);

} // namespace Graphics::Scene
