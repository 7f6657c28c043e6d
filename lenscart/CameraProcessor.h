#pragma once

// The free-fly control of one camera of the world map. Six key actions move
// the camera, and the mouse turns it while the cursor is outside a dead
// zone around the middle of the window. The processor listens to the
// simulation tick and moves the camera on every due tick: by setting its
// position (direct mode) or, when the camera has a body heavier than the
// physics engine's minimum mass, by impulse forces on that body.
//
// The camera is held by its id, so a camera that is deleted or unloaded
// while the control runs is simply not moved: the pointer found is kept
// only while no part joins or leaves an engine (see GetEngineLinkStamp).

#include "core/events/Multicast.h"
#include "core/foundation/Vector.h"

#include "gui/input/InputKeyMap.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace Graphics
{
class CGraphicsEngine;
}
namespace Graphics::Scene
{
class CGraphicalCamera;
}
namespace Misc::World
{
class IEntityInterface;
}
class CPhysicalEntity;

namespace LensCart
{

class CCameraProcessor : public Misc::Multicast::CSubscriberOf<Misc::Multicast::Kind::Tick>
{
public:
    // The camera actions, each bound to a key action of the same name
    // until a script binds it to another.
    static constexpr const wchar_t* kMoveForward = L"cameraMoveForward";
    static constexpr const wchar_t* kMoveBackward = L"cameraMoveBackward";
    static constexpr const wchar_t* kMoveLeft = L"cameraMoveLeft";
    static constexpr const wchar_t* kMoveRight = L"cameraMoveRight";
    static constexpr const wchar_t* kMoveUp = L"cameraMoveUp";
    static constexpr const wchar_t* kMoveDown = L"cameraMoveDown";

    CCameraProcessor();

    // Ticks per second: the period is 1000 / rate whole milliseconds, 1 ms
    // for a rate of 0. Negative and NaN rates count as 0, rates beyond the
    // 32-bit range as its largest value.
    void SetFrameRate(double rate);
    uint32_t GetPeriod() const { return m_period; }

    void SetMoveSpeed(float speed) { m_moveSpeed = speed; }
    float GetMoveSpeed() const { return m_moveSpeed; }
    // 0 or less switches mouse rotation off.
    void SetRotateSpeed(float speed) { m_rotateSpeed = speed; }
    float GetRotateSpeed() const { return m_rotateSpeed; }
    // The dead zone's full width in window fractions, clamped to [0, 1];
    // half of it is kept and answered (0.4 reads back as 0.2).
    void SetRotateThreshold(float threshold);
    float GetRotateThreshold() const { return m_rotateThreshold; }
    void InvertMouse(bool on) { m_mouseInverted = on; }
    bool IsMouseInverted() const { return m_mouseInverted; }
    void EnableYComponent(bool on) { m_verticalSuppressed = !on; }
    bool IsYComponentEnabled() const { return !m_verticalSuppressed; }
    // Binds a camera action to a key action name; only the six camera
    // actions above are ever asked.
    void SetKeyAction(const std::wstring& cameraAction, const std::wstring& keyAction);

    // Takes the camera of the id in the world's cameras: throws
    // "[CWorldMap::GetUnit] Unit not found [id]" (keeping the camera it
    // had) when there is none. Chooses physical flight when the camera's
    // body is heavier than the physics minimum, and starts the elapsed
    // time at now.
    void Start(const std::string& cameraId, uint32_t now);
    const std::string& GetCameraId() const { return m_cameraId; }
    bool IsPhysicsMode() const { return m_physicsMode; }

    // The tick: moves the camera when due. Never handles the tick, so the
    // subscribers after it still see it.
    bool OnEvent(const Event& tick) override;

private:
    // The directions the camera moves along.
    struct SAxes
    {
        CVector facing{0.0f, 0.0f, 0.0f};
        CVector side{0.0f, 0.0f, 0.0f};
        CVector up{0.0f, 0.0f, 0.0f};
    };
    // Each axis's key pair as the sign of its move: forward wins over
    // backward, left over right, up over down; 0 when neither is on.
    struct SMoves
    {
        int forward = 0;
        int left = 0;
        int up = 0;
    };

    SMoves ReadKeys(const Graphics::CGraphicsEngine* graphics);
    void MoveDirect(Graphics::Scene::CGraphicalCamera& camera, const SAxes& axes, const SMoves& moves,
                    float elapsed);
    void MovePhysical(CPhysicalEntity& body, const SAxes& axes, const SMoves& moves, float elapsed);
    void RotateByMouse(Graphics::Scene::CGraphicalCamera& camera, const Graphics::CGraphicsEngine* graphics,
                       float elapsed);

    uint32_t m_period = 25;
    uint32_t m_lastTime = 0;
    std::map<std::wstring, std::wstring, std::less<>> m_keyActions;
    float m_moveSpeed = 10.0f;
    bool m_verticalSuppressed = true;
    bool m_physicsMode = true;
    float m_rotateSpeed = 100.0f;
    float m_rotateThreshold = 0.1f;
    bool m_mouseInverted = false;
    std::string m_cameraId;
    // The camera of the id: the last object the lookup found, looked up
    // again only when parts came or went since (by the engine link stamp).
    Misc::World::IEntityInterface* FindCachedCamera();

    // The last object the lookup found, what it is as a camera, and the
    // engine link stamp of that lookup.
    Misc::World::IEntityInterface* m_castEntity = nullptr;
    Graphics::Scene::CGraphicalCamera* m_castCamera = nullptr;
    uint64_t m_castStamp = 0;

    // The bindings of the six camera actions' key actions, found once per
    // layout of the key map (see CInputKeyMap::FindBindings).
    const Graphics::GUI::CInputKeyMap* m_boundMap = nullptr;
    uint64_t m_boundStamp = 0;
    std::array<const Graphics::GUI::CInputKeyMap::KeyCodeList*, 6> m_bindings{};
};

} // namespace LensCart
