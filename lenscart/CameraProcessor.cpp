#include "lenscart/CameraProcessor.h"

#include "core/app/SimulationManager.h"
#include "core/world/TypeId.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalCamera.h"
#include "gui/GuiManager.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/world/EntityArguments.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace LensCart
{

namespace
{

using Graphics::Scene::CGraphicalCamera;
using Misc::World::IEntityInterface;

CVector Scaled(const CVector& v, float factor)
{
    return CVector(v.x * factor, v.y * factor, v.z * factor);
}

CVector Plus(const CVector& a, const CVector& b)
{
    return CVector(a.x + b.x, a.y + b.y, a.z + b.z);
}

CVector Minus(const CVector& a, const CVector& b)
{
    return CVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

// The unit vector along v; (0, 0, 0) for a vector without length.
CVector Unit(const CVector& v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0f) || !std::isfinite(length))
        return CVector(0.0f, 0.0f, 0.0f);
    return Scaled(v, 1.0f / length);
}

IEntityInterface* FindCamera(const std::string& id)
{
    return ScriptWorld::FindUnit(Misc::World::kTypeIdCamera, id);
}

CGraphicalCamera* GraphicalCamera(IEntityInterface* entity)
{
    return entity != nullptr ? dynamic_cast<CGraphicalCamera*>(entity->GetGraphicalPart()) : nullptr;
}

// The key map the scripts' IKey works on; null before the graphics engine
// has its GUI.
const Graphics::GUI::CInputKeyMap* KeyMap(Simulation::CSimulationManager* engine)
{
    auto* graphics = engine != nullptr ? engine->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    Graphics::GUI::CGuiManager* gui = graphics != nullptr ? graphics->GetGuiManager() : nullptr;
    return gui != nullptr ? &gui->GetInputKeyMap() : nullptr;
}

} // namespace

CCameraProcessor::CCameraProcessor()
{
    for (const wchar_t* action : {kMoveForward, kMoveBackward, kMoveLeft, kMoveRight, kMoveUp, kMoveDown})
        m_keyActions[action] = action;
}

void CCameraProcessor::SetFrameRate(double rate)
{
    // Truncated toward zero as the rate's whole ticks per second.
    uint32_t whole = 0;
    if (rate >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        whole = std::numeric_limits<uint32_t>::max();
    else if (rate >= 1.0)
        whole = static_cast<uint32_t>(rate);
    m_period = whole == 0 ? 1 : 1000 / whole;
}

void CCameraProcessor::SetRotateThreshold(float threshold)
{
    const float clamped = std::isnan(threshold) ? 0.0f : std::clamp(threshold, 0.0f, 1.0f);
    m_rotateThreshold = clamped / 2.0f;
}

void CCameraProcessor::SetKeyAction(const std::wstring& cameraAction, const std::wstring& keyAction)
{
    m_keyActions[cameraAction] = keyAction;
}

void CCameraProcessor::Start(const std::string& cameraId, uint32_t now)
{
    IEntityInterface* camera = FindCamera(cameraId);
    if (GraphicalCamera(camera) == nullptr)
        ScriptWorld::ThrowUnitNotFound(cameraId);
    m_cameraId = cameraId;

    Simulation::CSimulationManager* engine = Simulation::CSimulationManager::GetEngineObject();
    auto* physics = engine != nullptr ? engine->GetPart<CPhysicsEngine>() : nullptr;
    const CPhysicalEntity* body = camera->GetPhysicalPart();
    const float minimum = physics != nullptr ? physics->GetMinMass() : 0.0f;
    m_physicsMode = body != nullptr && body->GetMass() > minimum;
    m_lastTime = now;
}

bool CCameraProcessor::OnEvent(const Event& tick)
{
    // Due when the period has passed since the last reference time (in 64
    // bits: the sum must not wrap).
    if (static_cast<uint64_t>(tick.time) < static_cast<uint64_t>(m_lastTime) + m_period)
        return false;
    const float elapsed = static_cast<float>(tick.time - m_lastTime) / 1000.0f;
    // The tick before this one, not this one: scripts tune their speeds to
    // the steps this gives.
    m_lastTime = tick.previousTime;

    IEntityInterface* entity = FindCamera(m_cameraId);
    CGraphicalCamera* camera = GraphicalCamera(entity);
    if (camera == nullptr)
        return false;

    SAxes axes{camera->GetForwardDirection(), camera->GetLeftDirection(), Unit(camera->GetUpVector())};
    if (m_verticalSuppressed)
    {
        // Not normalised again: looking down moves slower over the ground.
        axes.facing.y = 0.0f;
        axes.side.y = 0.0f;
    }

    CPhysicalEntity* body = entity->GetPhysicalPart();
    if (m_physicsMode && body != nullptr)
        MovePhysical(*body, axes, elapsed);
    else
        MoveDirect(*camera, axes, elapsed);
    RotateByMouse(*camera, elapsed);
    return false;
}

bool CCameraProcessor::IsOn(const wchar_t* cameraAction) const
{
    const Graphics::GUI::CInputKeyMap* keys = KeyMap(Simulation::CSimulationManager::GetEngineObject());
    const auto binding = m_keyActions.find(cameraAction);
    return keys != nullptr && binding != m_keyActions.end() && keys->IsActionOn(binding->second);
}

void CCameraProcessor::MoveDirect(CGraphicalCamera& camera, const SAxes& axes, float elapsed)
{
    const float distance = m_moveSpeed * elapsed;
    const CVector start = camera.GetPosition();

    // Forward and backward carry the target along the same step.
    const bool forward = IsOn(kMoveForward);
    if (forward || IsOn(kMoveBackward))
    {
        const CVector step = Scaled(axes.facing, forward ? distance : -distance);
        const CVector target = camera.GetLookAt();
        camera.SetPosition(Plus(start, step));
        camera.SetLookAt(Plus(camera.GetPosition(), Minus(target, start)));
    }

    // Sideways and up and down move the target first, then the camera.
    const auto shift = [&camera](const CVector& step)
    {
        camera.SetLookAt(Plus(camera.GetLookAt(), step));
        camera.SetPosition(Plus(camera.GetPosition(), step));
    };
    const bool left = IsOn(kMoveLeft);
    if (left || IsOn(kMoveRight))
        shift(Scaled(axes.side, left ? distance : -distance));
    const bool up = IsOn(kMoveUp);
    if (up || IsOn(kMoveDown))
        shift(Scaled(axes.up, up ? distance : -distance));
}

void CCameraProcessor::MovePhysical(CPhysicalEntity& body, const SAxes& axes, float elapsed)
{
    CVector velocity;
    body.GetVelocity(velocity);
    if (m_verticalSuppressed)
        velocity.y = 0.0f;

    CVector wanted(0.0f, 0.0f, 0.0f);
    bool moved = false;
    if (IsOn(kMoveForward) || IsOn(kMoveBackward))
    {
        wanted = Scaled(axes.facing, IsOn(kMoveForward) ? m_moveSpeed : -m_moveSpeed);
        moved = true;
    }
    if (IsOn(kMoveLeft) || IsOn(kMoveRight))
    {
        wanted = Plus(wanted, Scaled(axes.side, IsOn(kMoveLeft) ? m_moveSpeed : -m_moveSpeed));
        moved = true;
    }
    if (IsOn(kMoveUp) || IsOn(kMoveDown))
        wanted = Plus(wanted, Scaled(axes.up, IsOn(kMoveUp) ? m_moveSpeed : -m_moveSpeed));
    else if (!moved)
        return;

    // The impulse that changes the velocity to the wanted one within the
    // elapsed time; a tick without time between has nothing to divide by.
    if (!(elapsed > 0.0f))
        return;
    body.AddImpulseForce(Scaled(Minus(wanted, velocity), body.GetMass() / elapsed));
}

void CCameraProcessor::RotateByMouse(CGraphicalCamera& camera, float elapsed)
{
    if (!(m_rotateSpeed > 0.0f))
        return;
    Simulation::CSimulationManager* engine = Simulation::CSimulationManager::GetEngineObject();
    auto* graphics = engine != nullptr ? engine->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    if (graphics == nullptr)
        return;
    const CPoint cursor = graphics->GetCursorPosition();
    const float t = m_rotateThreshold;
    if (cursor.x > 0.5f + t || cursor.x < 0.5f - t)
        camera.RotateLeft((0.5f - cursor.x) * m_rotateSpeed, elapsed);
    if (cursor.y > 0.5f + t || cursor.y < 0.5f - t)
    {
        const float offset = m_mouseInverted ? cursor.y - 0.5f : 0.5f - cursor.y;
        camera.RotateUp(offset * m_rotateSpeed, elapsed);
    }
}

} // namespace LensCart
