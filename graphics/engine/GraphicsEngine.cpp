#include "graphics/engine/GraphicsEngine.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "graphics/engine/FileSystemEx.h"
#include "graphics/engine/GraphicsEngineEventHandler.h"
#include "graphics/engine/IrrlichtLogRoute.h"
#include "irrlicht/ImageGate.h"
#include "graphics/meshes/MeshGate.h"
#include "irrlicht/IrrlichtConversions.h"
#include "graphics/engine/RenderTarget.h"
#include "graphics/engine/TextureLocks.h"
#include "graphics/scene/GraphicalEntity.h"
#include "gui/manager/FaderManager.h"
#include "gui/manager/GuiManager.h"
#include "platform/X11Window.h"

#include <irrlicht.h>

#include <algorithm>
#include <exception>

namespace Graphics
{

using namespace irr;
using Misc::Multicast::CMulticast;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// Keeps a device alive for a scope: a subscriber may close the engine's
// device while the engine is inside one of the device's calls.
class CDeviceHold
{
public:
    explicit CDeviceHold(IrrlichtDevice* device) : m_device(device) { m_device->grab(); }
    ~CDeviceHold() { m_device->drop(); }
    CDeviceHold(const CDeviceHold&) = delete;
    CDeviceHold& operator=(const CDeviceHold&) = delete;

private:
    IrrlichtDevice* m_device;
};

// Ends a begun scene when a subscriber's error leaves the frame early, so
// the next frame can begin again.
class CSceneEnd
{
public:
    explicit CSceneEnd(video::IVideoDriver* driver) : m_driver(driver) {}
    ~CSceneEnd()
    {
        if (m_driver != nullptr)
            m_driver->endScene();
    }
    CSceneEnd(const CSceneEnd&) = delete;
    CSceneEnd& operator=(const CSceneEnd&) = delete;

    // Ends the scene now.
    void End()
    {
        video::IVideoDriver* driver = m_driver;
        m_driver = nullptr;
        driver->endScene();
    }

private:
    video::IVideoDriver* m_driver;
};

// The driver for a driver name; false for a name that is none.
bool DriverTypeFromName(const std::string& name, video::E_DRIVER_TYPE& type)
{
    // Direct3D does not exist here: its names open OpenGL.
    if (name == "DX" || name == "DX8" || name == "DX9" || name == "OPENGL")
        type = video::EDT_OPENGL;
    else if (name == "SOFTWARE")
        type = video::EDT_BURNINGSVIDEO;
    else if (name == "NULL")
        type = video::EDT_NULL;
    else
        return false;
    return true;
}

// The largest window side the X protocol carries.
constexpr uint32_t kMaxWindowSize = Misc::kWindowPixelLimit;

// A pixel coordinate of the screen, kept on the screen.
s32 ScreenPixel(uint32_t size, float fraction)
{
    return std::clamp<s32>(Misc::FractionToPixels(size, fraction), 0,
                           static_cast<s32>(std::min<uint32_t>(size, INT32_MAX)));
}

} // namespace

CGraphicsEngine::CGraphicsEngine(Simulation::CSimulationManager* owner)
    : Simulation::CSubEngine(owner), m_eventHandler(std::make_unique<CGraphicsEngineEventHandler>(this)),
      m_guiManager(std::make_unique<GUI::CGuiManager>(this)),
      m_textureLocks(std::make_unique<CTextureLocks>())
{
}

CGraphicsEngine::~CGraphicsEngine()
{
    // A device left open would outlive the GUI manager that points into it.
    CloseDevice();
    m_eventHandler->TakeError();
}

bool CGraphicsEngine::Init(const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen,
                           uint8_t bits, bool useShadows, bool useAntiAliasing, bool useVSync,
                           uint32_t frameRate, WindowHandle windowId, uint32_t windowStyle,
                           int32_t windowLeft, int32_t windowTop, bool throwOnError)
{
    Destroy();

    video::E_DRIVER_TYPE driverType = video::EDT_NULL;
    if (!DriverTypeFromName(driverName, driverType))
        throw Misc::Error::CKVOError::Format(L"[CGraphicsEngine::Init] Invalid video driver specified:%S",
                                             driverName.c_str());

    SIrrlichtCreationParameters parameters;
    parameters.DriverType = driverType;
    parameters.WindowSize = core::dimension2d<u32>(width, height);
    parameters.Bits = bits;
    parameters.Fullscreen = fullScreen;
    parameters.Stencilbuffer = useShadows;
    parameters.Vsync = useVSync;
    // A sample count here; the switch asked for multisampling.
    parameters.AntiAlias = useAntiAliasing ? 4 : 0;
    parameters.WindowId = reinterpret_cast<void*>(windowId);
    // The library's greeting, notes and errors go into the engine's log,
    // its errors to standard error as well, from the first line on.
    parameters.LoggingLevel = ELL_INFORMATION;
    parameters.EventReceiver = CIrrlichtLogRoute::Instance();
    if (windowId != 0)
        m_backgroundRendering = true;
    m_windowStyle = windowStyle;

    CApplication* application = GetOwner() != nullptr ? GetOwner()->GetApplication() : nullptr;
    try
    {
        // The X server ends the process for a window it cannot make: a size
        // the protocol does not carry, or a parent window that does not
        // exist. No such device is made.
        const bool windowPossible =
            driverType == video::EDT_NULL ||
            (width >= 1 && width <= kMaxWindowSize && height >= 1 && height <= kMaxWindowSize &&
             (windowId == 0 || Platform::IsWindow(windowId)));
        m_device = windowPossible ? createDeviceEx(parameters) : nullptr;
        m_loaderFolder.reset();
        if (m_device != nullptr)
        {
            InstallImageGate();
            InstallMeshGate();
        }
        if (m_device != nullptr && application != nullptr)
        {
            // The device's file system drops the archive when it goes.
            m_device->getFileSystem()->addFileArchive(new CFileSystemEx(&application->GetFileSystem()));
        }
        if (IsRunning())
        {
            m_driverName = driverName;
            const core::dimension2d<u32> size = m_device->getVideoDriver()->getScreenSize();
            m_screenWidth = size.Width;
            m_screenHeight = size.Height;
            m_fullScreen = fullScreen;
            m_colorBits = bits;
            m_shadows = useShadows;
            m_vsync = useVSync;
        }
        SetDesiredFrameRate(frameRate);
    }
    catch (const Misc::Error::CKVOError&)
    {
        CloseDevice();
    }
    catch (const std::exception&)
    {
        CloseDevice();
    }

    if (IsRunning())
    {
        m_device->setWindowCaption(m_windowCaption.c_str());
        m_guiManager->SetDevice(m_device);
        ClearScene();
        ClearCaches();
        m_device->setEventReceiver(m_eventHandler.get());
        // The creation record has no window position: place the window now,
        // unless it is the caller's own or covers the screen.
        if (windowId == 0 && !fullScreen && GetWindowHandle() != 0)
            SetWindowParams(windowStyle, windowLeft, windowTop, 0, 0);
    }
    if (!IsRunning() && throwOnError)
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::Init] Failed to create the graphics device.");
    RethrowReceiverError();
    return IsRunning();
}

void CGraphicsEngine::Destroy()
{
    CloseDevice();
    RethrowReceiverError();
}

void CGraphicsEngine::CloseDevice()
{
    // The entities' nodes and meshes belong to the device.
    m_parts.DetachAll();
    ClearCaches();
    SetDesiredFrameRate(0);
    ResetWorldBox();
    ForgetSceneNodes();
    if (m_device == nullptr)
        return;
    // The GUI manager lets go of the environment before the device goes.
    m_guiManager->DetachDevice();
    m_sceneTree.Release();
    IrrlichtDevice* device = m_device;
    m_device = nullptr;
    m_imageGate = nullptr;
    m_meshGate = nullptr;
    m_loaderFolder.reset();
    device->closeDevice();
    // Once more, so that the window handles the close.
    device->run();
    device->setEventReceiver(CIrrlichtLogRoute::Instance());
    device->drop();
}

void CGraphicsEngine::InstallImageGate()
{
    video::IVideoDriver* driver = m_device->getVideoDriver();
    const core::dimension2du largest = driver->getMaxTextureSize();
    // A driver without a limit of its own (Burnings) answers 0.
    const u32 side = std::min(largest.Width, largest.Height);
    // Irrlicht asks the loader added last first.
    m_imageGate = new CImageGate(driver, side != 0 ? side : CImageLoader::kMaxSide);
    driver->addExternalImageLoader(m_imageGate);
    m_imageGate->drop();
}

void CGraphicsEngine::InstallMeshGate()
{
    scene::ISceneManager* scene = m_device->getSceneManager();
    // Irrlicht asks the loader added last first.
    m_meshGate = new CMeshGate(scene, CMeshReaderClient::SSettings());
    scene->addExternalMeshLoader(m_meshGate);
    m_meshGate->drop();
}

void CGraphicsEngine::ClearCache()
{
    ClearCaches();
    RethrowReceiverError();
}

void CGraphicsEngine::ClearCaches()
{
    if (m_device == nullptr)
        return;
    m_guiManager->ClearSpriteBank();
    m_guiManager->Clear();
    m_guiManager->ClearSkins();

    scene::ISceneManager* scene = m_device->getSceneManager();
    scene->clear();
    // The nodes are gone: nothing may keep pointing at them.
    ForgetSceneNodes();
    scene::IMeshCache* meshes = scene->getMeshCache();
    for (u32 index = meshes->getMeshCount(); index > 0; --index)
        meshes->removeMesh(meshes->getMeshByIndex(index - 1));

    // The render targets and the scripts' texture locks end before the
    // textures go.
    m_renderTargets.clear();
    m_textureLocks->ReleaseAll();
    // No texture may stay bound while the textures go.
    video::IVideoDriver* driver = m_device->getVideoDriver();
    driver->setMaterial(video::SMaterial());
    driver->removeAllTextures();
}

bool CGraphicsEngine::Draw(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice)
{
    return RenderFrame(skipBackBufferClear, skipZBufferClear, checkDevice);
}

bool CGraphicsEngine::OnStart()
{
    m_guiManager->Start();
    return true;
}

bool CGraphicsEngine::OnStop()
{
    if (m_guiManager->IsStarted())
        m_guiManager->Stop();
    return m_guiManager->GetFader().IsComplete();
}

bool CGraphicsEngine::Step()
{
    if (!CheckDevice())
        return false;
    const bool drawn = RenderFrame(!m_clearBackBuffer, !m_clearZBuffer, false);
    if (drawn)
    {
        const Graphics::Multicast::CEvtGraphicsTick tick{this, GetCurrentTime(), GetLastStepTime(),
                                                         m_device != nullptr && m_device->isWindowActive()};
        CMulticast<Graphics::Multicast::CEvtGraphicsTick>::Publish(tick);
    }
    return drawn;
}

bool CGraphicsEngine::IsRunning()
{
    return m_device != nullptr && m_device->getVideoDriver() != nullptr;
}

bool CGraphicsEngine::CheckDevice()
{
    if (m_device == nullptr)
        return true;
    IrrlichtDevice* device = m_device;
    bool running = false;
    {
        CDeviceHold hold(device);
        running = device->run();
    }
    if (device != m_device)
    {
        // A subscriber closed or replaced the device meanwhile.
        RethrowReceiverError();
        return m_device != nullptr;
    }
    if (running)
    {
        RethrowReceiverError();
        return true;
    }
    // The user closed the window.
    CloseDevice();
    if (GetOwner() != nullptr)
        GetOwner()->Quit(1);
    RethrowReceiverError();
    return false;
}

bool CGraphicsEngine::RenderFrame(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice)
{
    if (checkDevice && !CheckDevice())
        return false;
    if (m_device == nullptr)
        return false;
    if (!m_fullScreen && !IsWindowActive())
        return false;

    IrrlichtDevice* device = m_device;
    CDeviceHold hold(device);
    // Nodes that removals left in their parents' lists go before the scene
    // is walked.
    m_sceneTree.Sweep();
    video::IVideoDriver* driver = device->getVideoDriver();
    driver->beginScene(!skipBackBufferClear, !skipZBufferClear, ToIrrlichtColor(m_backColor),
                       video::SExposedVideoData(), nullptr);
    CSceneEnd sceneEnd(driver);
    if (m_activeCamera != nullptr)
        CameraPass(device, m_activeCamera);
    // By index: a subscriber of a pass may change the list.
    for (size_t index = 0; index < m_secondaryCameras.size(); ++index)
        CameraPass(device, m_secondaryCameras[index]);
    if (m_activeCamera != nullptr)
        device->getSceneManager()->setActiveCamera(m_activeCamera->GetCameraNode());
    GuiPass(device);
    sceneEnd.End();

    // The nodes take their entities' moves for the next frame.
    std::set<IFrameEntity*> pending;
    pending.swap(m_pendingNodeUpdates);
    for (IFrameEntity* entity : pending)
        entity->UpdateTransformation();
    const std::vector<IFrameEntity*> animated(m_autoAnimatedEntities.begin(), m_autoAnimatedEntities.end());
    for (IFrameEntity* entity : animated)
    {
        if (m_autoAnimatedEntities.count(entity) != 0)
            entity->AnimateJoints();
    }
    RethrowReceiverError();
    return true;
}

void CGraphicsEngine::CameraPass(IrrlichtDevice* device, IFrameCamera* camera)
{
    video::IVideoDriver* driver = device->getVideoDriver();
    scene::ISceneManager* scene = device->getSceneManager();
    scene->setActiveCamera(camera->GetCameraNode());
    driver->clearZBuffer();
    const CRect viewPort = camera->GetViewPort();
    const s32 left = ScreenPixel(m_screenWidth, viewPort.x1);
    const s32 top = ScreenPixel(m_screenHeight, viewPort.y1);
    driver->setViewPort(core::rect<s32>(left, top, std::max(left, ScreenPixel(m_screenWidth, viewPort.x2)),
                                        std::max(top, ScreenPixel(m_screenHeight, viewPort.y2))));
    CMulticast<Graphics::Multicast::CEvtGraphicsDrawPreScene>::Publish({this});
    scene->drawAll();
    CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostScene>::Publish({this});
}

void CGraphicsEngine::GuiPass(IrrlichtDevice* device)
{
    device->getVideoDriver()->setViewPort(
        core::rect<s32>(0, 0, static_cast<s32>(m_screenWidth), static_cast<s32>(m_screenHeight)));
    CMulticast<Graphics::Multicast::CEvtGraphicsDrawPreGui>::Publish({this});
    device->getGUIEnvironment()->drawAll();
    // A file-open dialog the user has closed puts the folder back now, not
    // when a script next touches the GUI.
    m_guiManager->ForgetClosedDialogs();
    CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostGui>::Publish({this});
}

void CGraphicsEngine::ClearScene()
{
    if (m_device != nullptr)
        m_device->getSceneManager()->clear();
    m_sceneTree.Release();
    ForgetSceneNodes();
    ResetWorldBox();
    m_jointMap.clear();
}

void CGraphicsEngine::ForgetSceneNodes()
{
    m_activeCamera = nullptr;
    m_secondaryCameras.clear();
    m_pendingNodeUpdates.clear();
    m_autoAnimatedEntities.clear();
}

void CGraphicsEngine::ResetWorldBox()
{
    m_worldMin = CVector(-1.0f, -1.0f, -1.0f);
    m_worldMax = CVector(1.0f, 1.0f, 1.0f);
}

void CGraphicsEngine::SetActiveCamera(IFrameCamera* camera)
{
    if (m_device != nullptr)
        m_device->getSceneManager()->setActiveCamera(camera != nullptr ? camera->GetCameraNode() : nullptr);
    IFrameCamera* previous = m_activeCamera;
    m_activeCamera = camera;
    CEvtEntityPair change;
    change.sender = this;
    change.nameA = camera != nullptr ? camera->GetCameraId() : std::string();
    change.nameB = previous != nullptr ? previous->GetCameraId() : std::string();
    CMulticastOf<Kind::CameraChange>::Publish(change);
}

bool CGraphicsEngine::AddSecondaryCamera(IFrameCamera* camera)
{
    if (camera == nullptr ||
        std::find(m_secondaryCameras.begin(), m_secondaryCameras.end(), camera) != m_secondaryCameras.end())
        return false;
    m_secondaryCameras.push_back(camera);
    return true;
}

bool CGraphicsEngine::RemoveSecondaryCamera(IFrameCamera* camera)
{
    const auto found = std::find(m_secondaryCameras.begin(), m_secondaryCameras.end(), camera);
    if (found == m_secondaryCameras.end())
        return false;
    m_secondaryCameras.erase(found);
    return true;
}

void CGraphicsEngine::ClearSecondaryCameras()
{
    m_secondaryCameras.clear();
}

void CGraphicsEngine::AddPendingNodeUpdate(IFrameEntity* entity)
{
    if (entity != nullptr)
        m_pendingNodeUpdates.insert(entity);
}

void CGraphicsEngine::AddAutoAnimatedEntity(IFrameEntity* entity)
{
    if (entity != nullptr)
        m_autoAnimatedEntities.insert(entity);
}

bool CGraphicsEngine::RemoveAutoAnimatedEntity(IFrameEntity* entity)
{
    return m_autoAnimatedEntities.erase(entity) != 0;
}

void CGraphicsEngine::ForgetEntity(IFrameEntity* entity)
{
    m_pendingNodeUpdates.erase(entity);
    m_autoAnimatedEntities.erase(entity);
}

void CGraphicsEngine::ForgetPart(CGraphicsEngine& engine, CGraphicsLink& link)
{
    // Only pointers are compared here: the entity may be half destroyed.
    auto* entity = static_cast<Scene::CGraphicalEntity*>(link.GetPart());
    engine.ForgetEntity(entity);
    if (IFrameCamera* camera = entity->GetFrameCamera())
        engine.ForgetCamera(camera);
}

void CGraphicsEngine::ForgetCamera(IFrameCamera* camera)
{
    if (m_activeCamera == camera)
        m_activeCamera = nullptr;
    RemoveSecondaryCamera(camera);
    for (auto& target : m_renderTargets)
        target.second->ForgetCamera(camera);
}

void CGraphicsEngine::RethrowReceiverError()
{
    if (std::exception_ptr error = m_eventHandler->TakeError())
        std::rethrow_exception(error);
}

} // namespace Graphics
