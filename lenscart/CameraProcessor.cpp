#include "lenscart/CameraProcessor.h"

#include "core/app/SimulationManager.h"
#include "core/world/EngineLink.h"
#include "core/world/TypeId.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalCamera.h"
#include "gui/manager/GuiManager.h"
#include "physics/PhysicalEntity.h"
#include "physics/PhysicsEngine.h"
#include "script_api/world/EntityArguments.h"

#include <algorithm>
#include <cmath>
#include <cstring>
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
    // Found again on the next tick.
    m_boundMap = nullptr;
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

    IEntityInterface* entity = FindCachedCamera();
    CGraphicalCamera* camera = m_castCamera;
    if (camera == nullptr)
        return false;

    Simulation::CSimulationManager* engine = Simulation::CSimulationManager::GetEngineObject();
    auto* graphics = engine != nullptr ? engine->GetPart<Graphics::CGraphicsEngine>() : nullptr;
    const SMoves moves = ReadKeys(graphics);
    // Only the directions the keys ask for, all before anything moves.
    SAxes axes;
    if (moves.forward != 0)
        axes.facing = camera->GetForwardDirection();
    if (moves.left != 0)
        axes.side = camera->GetLeftDirection();
    if (moves.up != 0)
        axes.up = Unit(camera->GetUpVector());
    if (m_verticalSuppressed)
    {
        // Not normalised again: looking down moves slower over the ground.
        axes.facing.y = 0.0f;
        axes.side.y = 0.0f;
    }

    CPhysicalEntity* body = m_physicsMode ? entity->GetPhysicalPart() : nullptr;
    if (body != nullptr)
        MovePhysical(*body, axes, moves, elapsed);
    else
        MoveDirect(*camera, axes, moves, elapsed);
    RotateByMouse(*camera, graphics, elapsed);
    return false;
}

IEntityInterface* CCameraProcessor::FindCachedCamera()
{
    // While no part came or went, the camera found last is still there and
    // still the one its id finds, unless it was given another id.
    const uint64_t stamp = Misc::World::GetEngineLinkStamp();
    if (m_castEntity != nullptr && stamp == m_castStamp &&
        std::strcmp(m_castEntity->GetId(), m_cameraId.c_str()) == 0)
        return m_castEntity;
    IEntityInterface* entity = FindCamera(m_cameraId);
    if (entity != m_castEntity)
    {
        // The cast is asked again only when the lookup finds another object.
        m_castEntity = entity;
        m_castCamera = GraphicalCamera(entity);
    }
    m_castStamp = stamp;
    return entity;
}

CCameraProcessor::SMoves CCameraProcessor::ReadKeys(const Graphics::CGraphicsEngine* graphics)
{
    SMoves moves;
    Graphics::GUI::CGuiManager* gui = graphics != nullptr ? graphics->GetGuiManager() : nullptr;
    const Graphics::GUI::CInputKeyMap* keys = gui != nullptr ? &gui->GetInputKeyMap() : nullptr;
    if (keys == nullptr)
        return moves;
    static constexpr const wchar_t* kActions[] = {kMoveForward, kMoveBackward, kMoveLeft,
                                                  kMoveRight,   kMoveUp,       kMoveDown};
    if (keys != m_boundMap || keys->GetLayoutStamp() != m_boundStamp)
    {
        for (size_t index = 0; index < m_bindings.size(); ++index)
        {
            const auto binding = m_keyActions.find(kActions[index]);
            m_bindings[index] = binding != m_keyActions.end() ? keys->FindBindings(binding->second) : nullptr;
        }
        m_boundMap = keys;
        m_boundStamp = keys->GetLayoutStamp();
    }
    const auto isOn = [this](size_t index)
    { return m_bindings[index] != nullptr && Graphics::GUI::CInputKeyMap::IsAnyOn(*m_bindings[index]); };
    const auto pair = [&isOn](size_t positive) { return isOn(positive) ? 1 : isOn(positive + 1) ? -1 : 0; };
    moves.forward = pair(0);
    moves.left = pair(2);
    moves.up = pair(4);
    return moves;
}

void CCameraProcessor::MoveDirect(CGraphicalCamera& camera, const SAxes& axes, const SMoves& moves,
                                  float elapsed)
{
    const float distance = m_moveSpeed * elapsed;
    const CVector start = camera.GetPosition();

    // Forward and backward carry the target along the same step.
    if (moves.forward != 0)
    {
        const CVector step = Scaled(axes.facing, static_cast<float>(moves.forward) * distance);
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
    if (moves.left != 0)
        shift(Scaled(axes.side, static_cast<float>(moves.left) * distance));
    if (moves.up != 0)
        shift(Scaled(axes.up, static_cast<float>(moves.up) * distance));
}

void CCameraProcessor::MovePhysical(CPhysicalEntity& body, const SAxes& axes, const SMoves& moves,
                                    float elapsed)
{
    // No key, no force (also none that would brake the body).
    if (moves.forward == 0 && moves.left == 0 && moves.up == 0)
        return;
    // The impulse that changes the velocity to the wanted one within the
    // elapsed time; a tick without time between has nothing to divide by.
    if (!(elapsed > 0.0f))
        return;

    CVector velocity;
    body.GetVelocity(velocity);
    if (m_verticalSuppressed)
        velocity.y = 0.0f;
    CVector wanted = Scaled(axes.facing, static_cast<float>(moves.forward) * m_moveSpeed);
    wanted = Plus(wanted, Scaled(axes.side, static_cast<float>(moves.left) * m_moveSpeed));
    wanted = Plus(wanted, Scaled(axes.up, static_cast<float>(moves.up) * m_moveSpeed));
    body.AddImpulseForce(Scaled(Minus(wanted, velocity), body.GetMass() / elapsed));
}

void CCameraProcessor::RotateByMouse(CGraphicalCamera& camera, const Graphics::CGraphicsEngine* graphics,
                                     float elapsed)
{
    if (!(m_rotateSpeed > 0.0f) || graphics == nullptr)
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
