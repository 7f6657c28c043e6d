#include "script_api/core/EngineAccess.h"
#include "script_api/core/RectScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/world/EntityArguments.h"
#include "script_api/world/WorldAccess.h"
#include "script_api/world/kinds/KindFunctions.h"

#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalCamera.h"
#include "world/World.h"

#include <cmath>
#include <cstdio>
#include <string>

using Graphics::Scene::CGraphicalCamera;
using Graphics::Scene::CGraphicalEntity;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace
{

using Camera = ScriptWorld::Unit<Misc::World::kTypeIdCamera, CGraphicalCamera>;

// A projection value that would make the camera's projection infinite or
// not a number is refused with the value: "[IWorld::setCameraFOV] Invalid
// field of view: 0".
[[noreturn]] void RefuseProjection(const char* noun, float value, const char* reason = "")
{
    char text[32] = "nan";
    if (!std::isnan(value))
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    throw LuaPlus::ScriptArgumentError(std::string("Invalid ") + noun + ": " + text + reason);
}

// A finite number other than 0: what the projection divides by.
bool IsDivisor(float value)
{
    return std::isfinite(value) && value != 0.0f;
}

CVector getCameraLookAtVector(LuaState*, Camera camera)
{
    const CVector& target = camera->GetLookAt();
    const CVector& position = camera->GetPosition();
    return CVector(target.x - position.x, target.y - position.y, target.z - position.z);
}

// The ray through a screen position of this camera, as {start=, end=};
// nil when none can be made (no device, no camera node).
LuaObject getCameraLookVector(LuaState* state, Camera camera, float x, float y, bool orthogonal)
{
    Graphics::CGraphicsEngine* engine = FindScriptGraphicsEngine();
    CVector start;
    CVector end;
    if (engine == nullptr || !engine->GetRayFromScreenPos(x, y, camera.Get(), start, end, orthogonal))
        return LuaObject();
    LuaObject ray;
    ray.AssignNewTable(state, 0, 2);
    ray.Set("start", start);
    ray.Set("end", end);
    return ray;
}

// The entity's own up vector, from its rotation; the camera's stored up
// vector is what setCameraUpVector changes and the entity interface gives.
CVector getCameraUpVector(LuaState*, Camera camera)
{
    const CGraphicalEntity& entity = *camera;
    return entity.CGraphicalEntity::GetUpVector();
}

// Each clip distance is a finite number above 0. Near against far is the
// camera's check where it builds the projection, so that a script may set
// the two in either order.
void setCameraNearClip(LuaState*, Camera camera, float distance)
{
    if (!std::isfinite(distance) || !(distance > 0.0f))
        RefuseProjection("near clip distance", distance, " (must be above 0)");
    camera->SetNear(distance);
}

void setCameraFarClip(LuaState*, Camera camera, float distance)
{
    if (!std::isfinite(distance) || !(distance > 0.0f))
        RefuseProjection("far clip distance", distance, " (must be above 0)");
    camera->SetFar(distance);
}

void setCameraAspectRatio(LuaState*, Camera camera, float ratio)
{
    if (!IsDivisor(ratio))
        RefuseProjection("aspect ratio", ratio);
    camera->SetAspectRatio(ratio);
}

// The node's angle is pi divided by the value.
void setCameraFOV(LuaState*, Camera camera, float value)
{
    if (!IsDivisor(value))
        RefuseProjection("field of view", value);
    camera->SetFOV(value);
}

void setCameraOrthogonal(LuaState*, Camera camera, float width, float height)
{
    if (!IsDivisor(width))
        RefuseProjection("width", width);
    if (!IsDivisor(height))
        RefuseProjection("height", height);
    camera->SetOrthogonal(width, height);
}

// The active camera made active again takes its new type at once.
void setCameraType(LuaState*, Camera camera, const std::wstring& type)
{
    camera->SetTypeName(type);
    CWorld& world = ScriptWorld::GetScriptWorld();
    if (world.GetActiveCameraId() == camera->GetId())
        world.SetActiveCamera(camera->GetId());
}

bool addSecondaryCamera(LuaState*, Camera camera)
{
    return GetScriptGraphicsEngine().AddSecondaryCamera(camera.Get());
}

bool removeSecondaryCamera(LuaState*, Camera camera)
{
    return GetScriptGraphicsEngine().RemoveSecondaryCamera(camera.Get());
}

void setActiveCameraId(LuaState*, Camera camera)
{
    ScriptWorld::GetScriptWorld().SetActiveCamera(camera->GetId());
}

std::string getActiveCameraId(LuaState*)
{
    return ScriptWorld::GetScriptWorld().GetActiveCameraId();
}

std::wstring getActiveCameraName(LuaState*)
{
    const std::string& id = ScriptWorld::GetScriptWorld().GetActiveCameraId();
    Misc::World::IEntityInterface* camera = ScriptWorld::FindUnit(Misc::World::kTypeIdCamera, id);
    if (camera == nullptr)
        ScriptWorld::ThrowUnitNotFound(id);
    return camera->GetName();
}

void changeActiveCameraId(LuaState*, bool forward)
{
    ScriptWorld::GetScriptWorld().ChangeActiveCamera(forward);
}

void clearSecondaryCameras(LuaState*)
{
    GetScriptGraphicsEngine().ClearSecondaryCameras();
}

} // namespace

void RegisterIWorldCameraFunctions(CScriptMetaTable& table)
{
    using C = CGraphicalCamera;
    table.RegisterMethod<Camera>("getCameraLookAt", &C::GetLookAt);
    table.RegisterHelper("getCameraLookAtVector", &getCameraLookAtVector);
    table.RegisterMethod<Camera>("setCameraLookAt", &C::SetLookAt);
    table.RegisterHelper("getCameraLookVector", &getCameraLookVector);
    table.RegisterHelper("getCameraUpVector", &getCameraUpVector);
    table.RegisterMethod<Camera>("setCameraUpVector", &C::SetUp);
    table.RegisterMethod<Camera>("getCameraOffset", &C::GetOffset);
    table.RegisterMethod<Camera>("setCameraOffset", &C::SetOffset);
    table.RegisterMethod<Camera>("getCameraNearClip", &C::GetNear);
    table.RegisterHelper("setCameraNearClip", &setCameraNearClip);
    table.RegisterMethod<Camera>("getCameraFarClip", &C::GetFar);
    table.RegisterHelper("setCameraFarClip", &setCameraFarClip);
    table.RegisterMethod<Camera>("getCameraAspectRatio", &C::GetAspectRatio);
    table.RegisterHelper("setCameraAspectRatio", &setCameraAspectRatio);
    table.RegisterMethod<Camera>("getCameraFOV", &C::GetFOV);
    table.RegisterHelper("setCameraFOV", &setCameraFOV);
    table.RegisterHelper("setCameraOrthogonal", &setCameraOrthogonal);
    table.RegisterMethod<Camera>("setCameraPerspective", &C::SetPerspective);
    table.RegisterMethod<Camera>("getCameraOrthogonal", &C::IsOrthogonal);
    table.RegisterMethod<Camera>("getCameraType", &C::GetCameraTypeName);
    table.RegisterHelper("setCameraType", &setCameraType);
    table.RegisterMethod<Camera>("getCameraViewPort", &C::GetViewPortRect);
    table.RegisterMethod<Camera>("setCameraViewPort", &C::SetViewPort);
    table.RegisterMethod<Camera>("cameraMoveForward", &C::MoveForward);
    table.RegisterMethod<Camera>("cameraStrafeLeft", &C::StrafeLeft);
    table.RegisterMethod<Camera>("cameraStrafeUp", &C::StrafeUp);
    table.RegisterMethod<Camera>("cameraRotateLeft", &C::RotateLeft);
    table.RegisterMethod<Camera>("cameraRotateUp", &C::RotateUp);
    table.RegisterHelper("addSecondaryCamera", &addSecondaryCamera);
    table.RegisterHelper("removeSecondaryCamera", &removeSecondaryCamera);
    table.RegisterHelper("setActiveCameraId", &setActiveCameraId);
    table.RegisterHelper("getActiveCameraId", &getActiveCameraId);
    table.RegisterHelper("getActiveCameraName", &getActiveCameraName);
    table.RegisterHelper("changeActiveCameraId", &changeActiveCameraId);
    table.RegisterHelper("clearSecondaryCameras", &clearSecondaryCameras);
}
