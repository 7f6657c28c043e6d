#pragma once

// The narrow faces of the graphics engine that the world and the physics
// see: only what they call, so that neither includes the whole engine.

#include "core/foundation/Color.h"
#include "core/foundation/Vector.h"

#include <string>

namespace Misc::Serialization
{
class IArchive;
}

namespace Simulation
{
class CSimulationManager;
}

namespace Graphics
{

class CGraphicsEngine;
class IParentEntityLookup;

namespace Scene
{
class CGraphicalEntity;
}

// Where debug outlines go: lines in world coordinates, unlit, drawn over the
// scene just drawn.
class ILineSink
{
public:
    virtual void Draw3DLine(const CVector& start, const CVector& end, const CColor& color) = 0;

protected:
    ~ILineSink() = default;
};

// What the world asks of the graphics engine: its entities' nodes in and out
// of the scene, the scene's fog and colours, the attachment tree saved with
// the world, and the guides its cameras and waypoints draw.
class IWorldGraphics : public ILineSink
{
public:
    virtual bool IsRunning() = 0;
    virtual void Add(Scene::CGraphicalEntity* entity, Scene::CGraphicalEntity* parent,
                     const std::string& jointName) = 0;
    virtual void Remove(Scene::CGraphicalEntity* entity) = 0;
    // Forgets the entity's node without taking it out of the scene: for a
    // scene about to be cleared in one pass.
    virtual void LetGo(Scene::CGraphicalEntity* entity) = 0;
    virtual void ClearScene() = 0;
    virtual void ResolveParents(IParentEntityLookup& world) = 0;
    virtual void SetBackColor(const CColor& color) = 0;
    virtual void SetAmbientColor(const CColor& color) = 0;
    virtual void SetFog(const CColor& color, float start, float end) = 0;
    virtual bool Write(Misc::Serialization::IArchive& archive) = 0;
    virtual bool Read(Misc::Serialization::IArchive& archive) = 0;

protected:
    ~IWorldGraphics() = default;
};

// The engine seen through its world face; null for null. For code that
// holds the engine's pointer (from a part's link or an event) but must not
// see the whole engine.
IWorldGraphics* WorldGraphicsOf(CGraphicsEngine* engine);
// The graphics engine the manager adopted, through its world face; null
// when it has none.
IWorldGraphics* WorldGraphicsOf(const Simulation::CSimulationManager& manager);

} // namespace Graphics
