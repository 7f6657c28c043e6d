#pragma once

#include "core/app/ActiveCamera.h"
#include "core/app/SubEngine.h"
#include "core/foundation/CriticalSection.h"
#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"
#include "core/foundation/Vector.h"
#include "core/io/Serializable.h"
#include "core/world/EngineLink.h"
#include "graphics/engine/FrameEntity.h"
#include "graphics/engine/GraphicsPorts.h"
#include "graphics/engine/ParentEntityLookup.h"
#include "graphics/engine/RayHitList.h"
#include "graphics/engine/SceneTree.h"
#include "gui/manager/IGuiHost.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace irr::video
{
class ITexture;
}
namespace irr::scene
{
class ISceneNode;
class IMesh;
class IMeshBuffer;
class IAnimatedMesh;
} // namespace irr::scene
namespace Graphics::Scene
{
class CGraphicalEntity;
struct CMeshBox;
} // namespace Graphics::Scene

namespace irr
{
class IrrlichtDevice;
namespace video
{
class ITexture;
}
namespace scene
{
class ISceneNode;
}
} // namespace irr
class CApplication;

namespace Graphics
{

namespace GUI
{
class CGuiManager;
}
class CGraphicsEngineEventHandler;
class CImageGate;
class CMeshGate;
class CTextureLocks;

// A native window: the X11 window id; 0 for none.
using WindowHandle = uintptr_t;

class CGraphicsEngine;
// How a graphical entity is linked to the engine that built its node, and
// the engine's side of those links.
using CGraphicsLink = Misc::World::CEngineLink<CGraphicsEngine>;
using CGraphicsParts = Misc::World::CEngineParts<CGraphicsEngine>;

// The graphics sub-engine. It owns the Irrlicht device (window, video
// driver, scene manager, GUI environment), the GUI manager and the event
// receiver, and draws one frame per step of the simulation loop.
//
// A frame publishes, for each camera pass (the active camera, then each
// secondary camera), DrawPreScene, draws the scene and publishes
// DrawPostScene; then DrawPreGui, the GUI, DrawPostGui; a frame drawn by the
// loop's step ends with TickGraphics. No event precedes the first scene pass.
//
// Without a device (before Init, after Destroy, or after the user closed the
// window) the engine is not running: the loop does not step it, the drawing
// and the device queries do nothing or give neutral answers, and the
// system-information queries throw "... Graphics Engine not initialised".
//
// Saved ("KVOGRAPHICSENGINE"), the engine keeps the scene's attachment tree:
// which entity hangs under which, and on which joint.
class CGraphicsEngine : public Simulation::CSubEngine,
                        public Misc::Serialization::ISerializable,
                        public GUI::IGuiHost,
                        public Simulation::IActiveCamera,
                        public IWorldGraphics
{
public:
    explicit CGraphicsEngine(Simulation::CSimulationManager* owner);
    // Closes a device that is still open; the GUI manager and the event
    // receiver go with the engine.
    ~CGraphicsEngine() override;
    CGraphicsEngine(const CGraphicsEngine&) = delete;
    CGraphicsEngine& operator=(const CGraphicsEngine&) = delete;

    // Lifecycle.

    // Opens a device, closing any open one first. Driver names (exact case):
    // "OPENGL"; "SOFTWARE" (the Burnings renderer); "NULL" (no window, no
    // pixels); "DX", "DX8" and "DX9" have no driver here and open OpenGL.
    // Any other name throws "[CGraphicsEngine::Init] Invalid video driver
    // specified:%s" whatever throwOnError says. When the device cannot be
    // created (OpenGL or SOFTWARE without a display, a window side of 0 or
    // above 32767 pixels, a window id that names no window) the result is false,
    // or with throwOnError "[CGraphicsEngine::Init] Failed to create the
    // graphics device.". A window id renders into that window and switches
    // background rendering on. Left and top -1 centre the window.
    bool Init(const std::string& driverName, uint32_t width, uint32_t height, bool fullScreen, uint8_t bits,
              bool useShadows, bool useAntiAliasing, bool useVSync, uint32_t frameRate, WindowHandle windowId,
              uint32_t windowStyle, int32_t windowLeft, int32_t windowTop, bool throwOnError);
    // Lets go of every entity (each loses its node, meshes and device
    // objects), clears the caches, stops the stepping and closes the device.
    void Destroy();
    // Empties the GUI, the scene, the mesh cache, the render targets and
    // the driver's textures; nothing without a device.
    void ClearCache();
    // Draws one frame now (no TickGraphics). With checkDevice the device
    // first handles its window messages; false when nothing was drawn.
    bool Draw(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice);

    // The loop starts: the GUI fades in.
    bool OnStart() override;
    // The loop stops: the GUI fades out; false while the fade-out runs.
    bool OnStop() override;
    // One frame; true when it was drawn.
    bool Step() override;
    // True while a device with a video driver exists.
    bool IsRunning() override;

    // Scene state the frame uses.

    // Removes every scene node and forgets the cameras and the entities
    // that follow their nodes; the world box becomes (-1,-1,-1)-(1,1,1).
    void ClearScene() final;
    // Makes the camera the active one (drawn first) and publishes the
    // camera change with the new and the previous camera's ids.
    void SetActiveCamera(IFrameCamera* camera);
    IFrameCamera* GetActiveCamera() const { return m_activeCamera; }
    // The active camera as the sound engine's listener follows it.
    bool GetActiveCameraView(CVector& position, CVector& target, CVector& up) const override;
    // Secondary cameras are drawn after the active one, in list order.
    bool AddSecondaryCamera(IFrameCamera* camera);
    bool RemoveSecondaryCamera(IFrameCamera* camera);
    void ClearSecondaryCameras();
    const std::vector<IFrameCamera*>& GetSecondaryCameras() const { return m_secondaryCameras; }
    // The entity's node takes its position, rotation and scale after the
    // next frame.
    void AddPendingNodeUpdate(IFrameEntity* entity);
    // The entity's joints are animated after every frame.
    void AddAutoAnimatedEntity(IFrameEntity* entity);
    bool RemoveAutoAnimatedEntity(IFrameEntity* entity);
    // A frame entity or camera going away leaves every list of the engine.
    // A graphical entity does so through its link.
    void ForgetEntity(IFrameEntity* entity);
    void ForgetCamera(IFrameCamera* camera);
    // The graphical entities linked to the engine: those it built a node
    // for (BindNode), until they go or leave.
    CGraphicsParts& GetParts() { return m_parts; }
    // The box around everything in the scene.
    CVector GetWorldMin() const { return m_worldMin; }
    CVector GetWorldMax() const { return m_worldMax; }

    // Scene entities: their nodes are built, re-applied and removed here.
    // Node names are entity ids, node ids kind ids (the camera -1). Nothing
    // happens without a device.

    // Builds the entity's node, or applies its values to the node it has,
    // under the parent entity's node or, with a joint name, under that
    // joint of the parent (which must be an agent: "[CGraphicsEngine::Add]
    // When specifying a parent joint, the parent must be an Agent."; a
    // missing joint throws "Joint not found:%s"). A kind without a builder
    // throws "[CGraphicsEngine::Add] Typeid not recognised". Add, Remove and
    // Update find what to do for a kind in its row of the kinds' nodes
    // (graphics/scene/KindNodes.h), which build with the calls below.
    void Add(Scene::CGraphicalEntity* entity, Scene::CGraphicalEntity* parent,
             const std::string& jointName) final;
    void AddByType(Scene::CGraphicalEntity* entity, irr::scene::ISceneNode* parentNode);
    // The common last step: marker cubes (where allowed and the entity's
    // flags are not 0), the device's objects and the node handed to the
    // entity (which links it to the engine), the node named after it, then
    // the entity's UpdateNode.
    void BindNode(Scene::CGraphicalEntity* entity, irr::scene::ISceneNode* node,
                  irr::scene::ISceneNode* parentNode, bool markersAllowed);
    // Takes the entity's node out of the scene and the entity out of the
    // update lists; entities attached to the node move to the scene root.
    // A null entity throws "[CGraphicsEngine::Remove] Graphical entity not
    // initialised".
    void Remove(Scene::CGraphicalEntity* entity) final;
    // Takes the entity out of the update lists and lets go of its node, which
    // stays where it hangs: for a scene about to be cleared, whose nodes all
    // go in one pass then. A null entity is ignored.
    void LetGo(Scene::CGraphicalEntity* entity) final;
    void RemoveNode(Scene::CGraphicalEntity* entity);
    // Moves the node's attached entities (IsAttachedEntity) under the scene
    // root.
    void DetachChildren(irr::scene::ISceneNode* node);
    // Whether the child is another entity's node hung below the owner's
    // node (or one of its joints): entity nodes carry their entity's id as
    // name and their kind id as node id, cameras id -1; marker cubes and
    // shadow volumes carry their owner's name; joints, skies and the root
    // ids of 0 or below.
    static bool IsAttachedEntity(const irr::scene::ISceneNode* child, const irr::scene::ISceneNode* owner);
    // Removes the entity's node and builds it again under the same parent.
    void Rebuild(Scene::CGraphicalEntity* entity);
    // Pushes the entity's settings into its node by its kind: a particle
    // system gets its emitter and affectors anew, a terrain its texture
    // scales, the other kinds their UpdateNode. Only the node changes.
    void Update(Scene::CGraphicalEntity* entity);
    // The loop's Update stays in reach beside the entity update.
    using Simulation::CSubEngine::Update;
    // The animated mesh of the file, found through the application's file
    // lookup (or already in the mesh cache under that name); null when
    // there is none, and when the mesh gate refuses the file (logged as
    // "[CGraphicsEngine::LoadMesh] Mesh file refused [%s]: ...").
    irr::scene::IAnimatedMesh* LoadMesh(const std::wstring& fileName);
    // The texture for a material's texture name (GetTexture without
    // creation), else the texture of the render target of that name; null
    // without a device or when neither exists.
    irr::video::ITexture* FindEntityTexture(const std::wstring& name);
    // The loaders' texture folders become the model's folder.
    void SetModelLoaderParameters(const std::wstring& modelName);
    // Grows the world box by the node's own bounding box.
    void GrowWorldBox(irr::scene::ISceneNode* node);
    // The gate every image the device decodes passes; null without a
    // device. The driver owns it.
    CImageGate* GetImageGate() const { return m_imageGate; }

    // Frame `frame` of the file's animated mesh; null when the mesh cannot be
    // loaded or the frame lies outside it.
    irr::scene::IMesh* GetMeshId(const std::wstring& fileName, int32_t frame);

    // The mesh helpers of graphics/scene/MeshGeometry.h under the engine's
    // names: single vertices counted across a mesh's buffers, and a mesh's
    // vertices and triangles as point lists.
    static uint32_t GetNumberOfMeshVertices(irr::scene::IMesh* mesh);
    static bool GetMeshVertexColor(irr::scene::IMesh* mesh, uint32_t index, CColor& color);
    static bool SetMeshVertexColor(irr::scene::IMesh* mesh, uint32_t index, const CColor& color);
    static bool GetMeshVertexPosition(irr::scene::IMesh* mesh, uint32_t index, CVector& position);
    static bool SetMeshVertexPosition(irr::scene::IMesh* mesh, uint32_t index, const CVector& position);
    static bool GetMeshVertexNormal(irr::scene::IMesh* mesh, uint32_t index, CVector& normal);
    static bool SetMeshVertexNormal(irr::scene::IMesh* mesh, uint32_t index, const CVector& normal);
    static bool GetMeshVertexUV(irr::scene::IMesh* mesh, uint32_t index, bool secondSet, CPoint& uv);
    static bool SetMeshVertexUV(irr::scene::IMesh* mesh, uint32_t index, bool secondSet, const CPoint& uv);
    static uint32_t GetMeshVerticesFromBuffer(const irr::scene::IMeshBuffer* buffer, const CVector& scale,
                                              std::vector<CVector>& points, Scene::CMeshBox* box);
    static uint32_t GetEntityVertices(irr::scene::IMesh* mesh, const CVector& scale,
                                      std::vector<CVector>& points, Scene::CMeshBox* box);
    static uint32_t GetMeshFaces(const irr::scene::IMeshBuffer* buffer, const CVector& scale,
                                 std::vector<CVector>& points, float minimumArea, Scene::CMeshBox* box);
    static uint32_t GetEntityFaces(irr::scene::IMesh* mesh, const CVector& scale,
                                   std::vector<CVector>& points, float minimumArea, Scene::CMeshBox* box);

    // Rays and ray casts (GraphicsEngineRayCasts.cpp).

    // The segment from the camera through the screen position (fractions of
    // the screen, read within the camera's viewport) to the far plane; with
    // orthogonal it starts on the camera's plane under the position. Taken
    // from the camera node as it stands now. False, with the outputs
    // unchanged, without a device or a camera node.
    bool GetRayFromScreenPos(float x, float y, IFrameCamera* camera, CVector& start, CVector& end,
                             bool orthogonal) const;
    // The same through the cursor's position.
    bool GetRayFromMousePosition(IFrameCamera* camera, CVector& start, CVector& end, bool orthogonal) const;
    // The name of the nearest node whose box the segment enters (see
    // CollectRayHits); false, name unchanged, when there is none.
    bool RayCastFilter(const CVector& start, const CVector& end, uint32_t filter, std::string& name) const;
    // Every such hit, nearest first, added to the list; whether the list
    // holds any.
    bool RayCastAll(const CVector& start, const CVector& end, uint32_t filter, CRayHitList& hits) const;
    // The segment against the triangles of the entities (entities without
    // a node are passed over); each hit entity once, at the distance of
    // its nearest triangle, by its id. A node gets a triangle selector the
    // first time or, with rebuild, anew: a terrain's, an octree's (32
    // polygons per node), its mesh's, else its bounding box's.
    bool RayCastPolygon(const CVector& start, const CVector& end,
                        const std::vector<Scene::CGraphicalEntity*>& entities, CRayHitList& hits,
                        bool rebuild);
    // Walks every node below the node (in child order, depth first) and
    // adds the visible ones that are not debug objects, not empty, dummy,
    // sky box, shadow volume or unknown nodes, whose id lies within the
    // filter (id & filter == id; a filter of 0 takes every id) and whose
    // transformed box the segment enters at a distance above 0.
    static void CollectRayHits(irr::scene::ISceneNode* node, const CVector& start, const CVector& end,
                               uint32_t filter, CRayHitList& hits);
    // How far along the segment it enters the box through a face that
    // looks against it; -1 when it does not (also when it starts inside).
    static float GetBoxHitDistance(const CVector& minimum, const CVector& maximum, const CVector& start,
                                   const CVector& end);

    // Persistence: the attachment tree of the scene.

    // A child entity's parent entity and, when it hangs on a joint, the
    // joint's name.
    struct SJointLink
    {
        std::string parentId;
        std::string joint;
    };
    using JointMap = std::map<std::string, SJointLink>;
    // "GraphicsTypes{" with one "Joint{" block ("-Id", "-ParentId" and, for
    // a joint, "-Joint") per entity that hangs under another entity or on
    // its joint.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Reads the links into the joint map (from version 1010; the links
    // from 1019); a later link of the same id replaces the earlier one.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOGRAPHICSENGINE"; }
    // Writes the links of the entity nodes below the node (below the joint
    // of the node, when one is given) and of everything below them.
    void WriteJointTree(Misc::Serialization::IArchive& archive, irr::scene::ISceneNode* node,
                        irr::scene::ISceneNode* joint);
    // One "Joint{" block; the joint name may be null.
    static void WriteJointLink(Misc::Serialization::IArchive& archive, const char* id, const char* parentId,
                               const char* joint);
    // The links of the entities on the joints below the node, for the
    // animated node that owns the joints.
    void WriteJointLinks(Misc::Serialization::IArchive& archive, irr::scene::ISceneNode* owner,
                         irr::scene::ISceneNode* node);
    // The links read last; ClearScene empties it.
    const JointMap& GetJointMap() const { return m_jointMap; }
    // Hangs the child of every link read under its parent (or the parent's
    // joint) and forgets the link. A link whose child or parent the world
    // lacks is dropped and logged, so that one stale link does not stop a
    // load half-way; an attachment that fails throws AttachChild's error.
    void ResolveParents(IParentEntityLookup& world) final;
    // An entity's node was hung below another node: what the engine knows
    // of which nodes hang below the root is checked again.
    void NoteSceneTreeChange() { m_sceneTree.Changed(); }
    // The nodes that removals left in their parents' lists (inert until the
    // next frame, or until enough of them gather).
    size_t GetLeftNodeCount() const { return m_sceneTree.GetLeftCount(); }

    // Device state.
    irr::IrrlichtDevice* GetDevice() const { return m_device; }
    GUI::CGuiManager* GetGuiManager() const { return m_guiManager.get(); }
    CGraphicsEngineEventHandler* GetEventHandler() const { return m_eventHandler.get(); }
    // The name given to the last successful Init; "" before.
    const std::string& GetDriverName() const { return m_driverName; }
    // The screen size in pixels: 640 by 480 until a device gives its own.
    uint32_t GetScreenWidth() const final { return m_screenWidth; }
    uint32_t GetScreenHeight() const final { return m_screenHeight; }
    // The application's file lookup; null in an engine without one.
    ::CApplication* GetApplication() const final;
    uint32_t GetNextDueTime() const final { return CSubEngine::GetNextDueTime(); }
    CGraphicsEngine* GetEventSource() final { return this; }
    uint32_t GetScreenBits() const { return m_colorBits; }
    bool IsFullScreen() const { return m_fullScreen; }
    bool IsShadowsEnabled() const { return m_shadows; }
    bool IsVSyncEnabled() const { return m_vsync; }

    // Switches and colours.

    // Frames are drawn while the window is inactive.
    void SetBackgroundRenderingEnabled(bool enable) { m_backgroundRendering = enable; }
    bool GetBackgroundRenderingEnabled() const { return m_backgroundRendering; }
    // Whether each step clears the back buffer and the z-buffer (both on at
    // the start).
    void EnableBackBuffer(bool enable) { m_clearBackBuffer = enable; }
    void EnableZBuffer(bool enable) { m_clearZBuffer = enable; }
    bool IsBackBufferEnabled() const { return m_clearBackBuffer; }
    bool IsZBufferEnabled() const { return m_clearZBuffer; }
    // True while background rendering is on, else the device's window state;
    // false without a device.
    bool IsWindowActive() const;
    // The clear colour of each frame.
    void SetBackColor(const CColor& color) final { m_backColor = color; }
    const CNamedColor& GetBackColor() const { return m_backColor; }
    // The scene's ambient light; nothing / all zero without a device.
    void SetAmbientColor(const CColor& color) final;
    CColor GetAmbientColor() const;
    // Linear fog from start to end (density 0.01, no pixel or range fog).
    void SetFog(const CColor& color, float start, float end) final;

    // Window.

    // The X11 window the driver renders into; 0 when the driver exposes
    // none (NULL, SOFTWARE) or without a device.
    WindowHandle GetWindowHandle() const;
    // Stored and, with a device, shown; every new device gets it.
    void SetWindowCaption(const std::wstring& caption);
    const std::wstring& GetWindowCaption() const { return m_windowCaption; }
    // Window icons are not supported by the X11 device: false.
    bool SetWindowIcon(const std::wstring& fileName);
    // The style bits last given to Init or SetWindowParams (X11 windows have
    // no style of their own).
    uint32_t GetWindowStyle() const { return m_windowStyle; }
    // Places the window: width and height below 1 keep the screen size, left
    // and top below 0 centre it on the desktop. Nothing without a window.
    void SetWindowParams(uint32_t style, int32_t left, int32_t top, int32_t width, int32_t height);
    // The desktop's size in pixels; 0 without a display.
    uint32_t GetDesktopWidth() const;
    uint32_t GetDesktopHeight() const;

    // Cursor; each does nothing (or answers false, (0, 0)) without a device.
    void SetCursorVisible(bool visible);
    bool IsCursorVisible() const;
    // Positions as fractions of the window (0 to 1).
    void SetCursorPosition(float x, float y);
    CPoint GetCursorPosition() const;
    CPoint GetCursorPixelPosition() const;
    // One of the 14 cursor names ("ARROW", "WAIT", "IBEAM", ...; exact case);
    // another name changes nothing.
    void SetCursorType(const std::string& name);

    // Text, clipboard, statistics.

    // The size of the text in the GUI manager's font of that name, in pixels
    // and as fractions of the screen; (0, 0) when no font results.
    CPoint GetTextPixelDimensions(const std::wstring& fontName, const std::wstring& text);
    CPoint GetTextDimensions(const std::wstring& fontName, const std::wstring& text);
    // The system clipboard; nothing (no text) without a window.
    void WriteClipboard(const std::string& text);
    std::optional<std::string> ReadClipboard() const;
    // Frames per second and primitives of the last frame; 0 without a device.
    int32_t GetFrameRate() const;
    uint32_t GetNumberOfTris() const;
    uint32_t GetNumberOfLoadedTextures() const;
    // Writes the screen to the file (the parameter goes to the image writer,
    // the quality for JPEG); false without a device or when the driver has
    // no screen shot (NULL).
    bool ScreenShot(const std::wstring& fileName, uint32_t parameter);

    // Texture creation flags; nothing / false without a device.
    void SetTextureQualityOptimized(bool enable);
    bool GetTextureQualityOptimized() const;
    void SetTextureSpeedOptimized(bool enable);
    bool GetTextureSpeedOptimized() const;
    void SetTextureMipMapping(bool enable);
    bool GetTextureMipMapping() const;

    // The machine; each throws "[CGraphicsEngine::<name>] Graphics Engine not
    // initialised" without a device.
    std::wstring GetOperatingSystemVersion();
    uint32_t GetOperatingSystemMHz();
    uint32_t GetOperatingSystemMemoryTotal();
    uint32_t GetOperatingSystemMemoryFree();
    uint32_t GetNumberOfVideoModes();
    // An index past the last mode reads the last mode; 0 without modes.
    uint32_t GetVideoModeDepth(uint32_t index);
    uint32_t GetVideoModeWidth(uint32_t index);
    uint32_t GetVideoModeHeight(uint32_t index);
    // Whether the driver has the Irrlicht driver feature; false for a code
    // that is no feature.
    bool QueryFeature(uint32_t feature);

    // Textures. Names are file names (wide; Irrlicht gets them as UTF-8).
    // Without a device each answers null, false or nothing.

    // The texture of that name: one the driver holds, else one loaded
    // through the application's file lookup, else (with create) a new empty
    // 1 x 1 A8R8G8B8 texture of that name. The device's log is silent
    // meanwhile: a missing file is a null answer, not a message.
    irr::video::ITexture* GetTexture(const std::wstring& name, bool create) final;
    // GetTexture without creation; whether a texture came back.
    bool LoadTexture(const std::wstring& name);
    // Removes the texture of that name from the driver when it holds one
    // (ending the scripts' locks of it first); loads nothing.
    void UnloadTexture(const std::wstring& name);
    // Whether the driver holds a texture of that name, or of the path the
    // file lookup finds for it; loads nothing.
    bool TextureExists(const std::wstring& name);
    // An empty texture of the format. A width below 1 is a fraction of the
    // screen width, then a width of 0 or less, above the screen width or not
    // a number is the screen width; the same for the height. False for a
    // format code Irrlicht does not know or when the driver makes none.
    bool CreateTexture(const std::wstring& name, const CPoint& size, int32_t format);
    // 2, 2, 3 or 4 for A1R5G5B5 (0), R5G6B5 (1), R8G8B8 (2), A8R8G8B8 (3);
    // any other code throws "[CGraphicsEngine::GetBytesPerPixel] Unknown
    // color format".
    static uint32_t GetBytesPerPixel(int32_t format);
    // Writes raw image data (dataSize bytes: height rows of rowLength pixels;
    // R8G8B8 stored blue, green, red) into the texture whose locked memory
    // is lockedMemory (what the texture's lock returned). Mode 0 writes
    // unscaled into the upper-left corner, as much as fits; mode 1 scales by
    // texture width / width, mode 2 by texture height / height, mode 3 each
    // axis to the texture's size; another mode writes nothing. With flip the
    // last source row is written first. Throws for null data or texture,
    // for formats it cannot convert ("Only A1R5G5B5, R8G8B8, A8R8G8B8
    // supported." in, "Only A1R5G5B5, A8R8G8B8 supported." out), and when
    // the data is shorter than its rows or rowLength below width. Null
    // locked memory writes nothing.
    void WriteTexture(const void* data, size_t dataSize, uint32_t width, uint32_t rowLength, uint32_t height,
                      int32_t sourceFormat, irr::video::ITexture* texture, void* lockedMemory, int32_t mode,
                      bool flip);
    // The same with scale factors; the source must be R8G8B8.
    void writeToTextureWithScale(const void* data, size_t dataSize, uint32_t width, uint32_t rowLength,
                                 uint32_t height, int32_t sourceFormat, irr::video::ITexture* texture,
                                 void* lockedMemory, float scaleX, float scaleY, bool flip);
    // Copies the width x height block at (x, y) of the source to (destX,
    // destY) of the destination, converting as WriteTexture mode 0; the
    // block is cut to what lies inside both textures. Throws for a null
    // texture and for a start position outside its texture.
    void CopyTexture(irr::video::ITexture* source, int32_t x, int32_t y, int32_t width, int32_t height,
                     irr::video::ITexture* destination, int32_t destX, int32_t destY);
    // Writes the texture's image to the file (the parameter goes to the
    // image writer); false when nothing was written. Throws for a null
    // texture.
    bool TextureWriteToFile(irr::video::ITexture* texture, const std::wstring& fileName, uint32_t parameter);
    // The named texture (loaded when needed) at the position in screen
    // fractions, unscaled, in white; nothing when there is no texture.
    void Draw2DImage(const std::wstring& name, const CPoint& position, bool useAlpha);
    // The source rectangle (texture pixels) of the named texture scaled into
    // the destination (screen fractions), clipped to the clip rectangle
    // (screen fractions; all zero: none), tinted on all four corners.
    void Draw2DImageScaled(const std::wstring& name, const CRect& source, const CRect& destination,
                           const CRect& clip, const CColor& tint, bool useAlpha);
    // Files ending in the new extension ("." added in front when missing)
    // load as files of the known one do; false when no image reader of the
    // engine takes the known one.
    bool MapTextureExtension(const std::wstring& newExtension, const std::wstring& knownExtension);
    // The same for mesh loaders.
    bool MapMeshExtension(const std::wstring& newExtension, const std::wstring& knownExtension);
    // The driver makes the texels of the colour (or of the colour at the
    // pixel) transparent, or turns the texture into a normal map. Each
    // throws "[CGraphicsEngine::<name>] Input texture not defined" for null.
    void TextureCreateAlphaChannelFromColor(irr::video::ITexture* texture, const CColor& color);
    void TextureCreateAlphaChannelFromPos(irr::video::ITexture* texture, int32_t x, int32_t y);
    void TextureCreateNormalMap(irr::video::ITexture* texture, float amplitude);
    // The scene manager's count of loaded meshes; 0 without a device.
    uint32_t GetNumberOfLoadedMeshes() const;

    // Texture properties and pixels; a null texture gives 0, false, (0, 0)
    // or "".
    uint32_t GetTexturePitch(irr::video::ITexture* texture) const;
    int32_t GetTextureColorFormat(irr::video::ITexture* texture) const;
    bool GetTextureMipMapsExist(irr::video::ITexture* texture) const;
    // True, also for a null texture.
    bool TextureMipMapsRegenerate(irr::video::ITexture* texture);
    // Locks for reading and writing: the pixel memory, null for a null
    // texture or where the driver keeps no pixels (NULL driver).
    void* TextureLock(irr::video::ITexture* texture);
    // Unlocks and regenerates the mip maps.
    void TextureUnlock(irr::video::ITexture* texture);
    CPoint GetTextureOriginalSize(irr::video::ITexture* texture) const;
    CPoint GetTextureSize(irr::video::ITexture* texture) const;
    // The texture's name; with nameOnly its file name and extension.
    std::wstring GetTextureFilename(irr::video::ITexture* texture, bool nameOnly) const final;
    // The pixel at (x, y) of the texture's locked memory as a colour
    // (channels 0 to 255 through the component rule; 24-bit pixels read
    // alpha 0). False for a null texture or memory, or a format other than
    // the four; a position outside the texture throws "[CGraphicsEngine::
    // TextureGetPixel] Pixel position outside the texture: (x, y)".
    bool TextureGetPixel(irr::video::ITexture* texture, const void* data, int32_t x, int32_t y,
                         CColor& color);
    // Writes the colour (each component x 255, truncated) into the pixel, in
    // the texture's format; the same answers and bounds as TextureGetPixel.
    bool TextureSetPixel(irr::video::ITexture* texture, void* data, int32_t x, int32_t y,
                         const CColor& color);
    // The locks scripts hold by handle; they end before their texture or
    // the device goes.
    CTextureLocks& GetTextureLocks() { return *m_textureLocks; }

    // Immediate drawing, while a frame is drawn. 2D values are screen
    // fractions (pixels = screen size x fraction, truncated). Nothing
    // without a device.

    void Draw2DLine(const CPoint& start, const CPoint& end, const CColor& color);
    void Draw2DRectangle(const CRect& rect, const CColor& color);
    // Corner colours upper left, upper right, lower left, lower right.
    void Draw2DRectangleGradient(const CRect& rect, const CColor& upperLeft, const CColor& upperRight,
                                 const CColor& lowerLeft, const CColor& lowerRight);
    // An all-zero clip rectangle draws unclipped.
    void Draw2DRectangleClipped(const CRect& rect, const CColor& color, const CRect& clip);
    void Draw2DRectangleGradientClipped(const CRect& rect, const CColor& upperLeft, const CColor& upperRight,
                                        const CColor& lowerLeft, const CColor& lowerRight, const CRect& clip);
    // A polygon of vertexCount corners around the centre; the radius is a
    // fraction of the screen width on both axes. Fewer than 2 corners draw
    // nothing; more than 65536 throw "[CGraphicsEngine::Draw2DCircle] Too
    // many vertices: %d".
    void Draw2DCircle(const CPoint& centre, float radius, const CColor& color, int32_t vertexCount);
    // The text in the GUI manager's font of that name inside the rectangle.
    void DrawText(const std::wstring& fontName, const std::wstring& text, const CRect& rect,
                  const CColor& color, bool centreHorizontally, bool centreVertically);
    // World coordinates, unlit, in the colour.
    void Draw3DLine(const CVector& start, const CVector& end, const CColor& color) final;
    void Draw3DBox(const CVector& minimum, const CVector& maximum, const CColor& color);
    void Draw3DTriangle(const CVector& a, const CVector& b, const CVector& c, const CColor& color);
    // The screen position of the world position through the camera (the
    // active scene camera when null), in screen fractions; (0, 0) without a
    // device.
    CPoint GetScreenPosFrom3DPos(const CVector& position, IFrameCamera* camera = nullptr) const;
    // Puts the node directly under the scene's root; a null node throws
    // "[CGraphicsEngine::RemoveChild] Graphical entity not initialised".
    void RemoveChild(irr::scene::ISceneNode* node);

    // Render targets: textures the scene is drawn into from a camera, at
    // most at a frame rate, before each camera pass of the frame.

    class CRenderTarget;
    // Replaces any target of the name. The size is in pixels, each side
    // reduced to a power of two (at most 65536); a side below 1, or larger
    // than the driver's largest texture (8192 where the driver names none),
    // makes no texture: false, and the
    // target stays without one. Frame rate 0 draws at every camera pass.
    bool CreateRenderTarget(const std::wstring& name, const CPoint& size, IFrameCamera* camera,
                            uint32_t frameRate);
    // Throws "[CGraphicsEngine::GetRenderTarget] Render target id not found".
    CRenderTarget& GetRenderTarget(const std::wstring& name);
    bool RenderTargetExists(const std::wstring& name) const;
    void RemoveRenderTarget(const std::wstring& name);
    void RemoveAllRenderTargets();

    // Shader materials from files: the new material type, or -1 (no device,
    // a driver without shaders, such as NULL and Burnings, files that do not
    // compile, a material or shader type Irrlicht does not know). Only
    // OpenGL's languages exist here: ARB assembly for the low-level kind,
    // GLSL for the high-level kind; an HLSL program does not compile: -1.
    int32_t AddLowLevelShader(const std::wstring& vertexShaderFile, const std::wstring& pixelShaderFile,
                              int32_t baseMaterial, int32_t userData);
    int32_t AddHighLevelShader(const std::wstring& vertexShaderFile, const std::string& vertexEntryPoint,
                               int32_t vertexShaderType, const std::wstring& pixelShaderFile,
                               const std::string& pixelEntryPoint, int32_t pixelShaderType,
                               int32_t baseMaterial, int32_t userData);

private:
    // What the engine keeps of a graphical entity that leaves it.
    static void ForgetPart(CGraphicsEngine& engine, CGraphicsLink& link);

    // Without a device, or while it runs: true. When the user closed the
    // window: Destroy, quit with status 1, false.
    bool CheckDevice();
    // Destroy without raising what subscribers raised meanwhile.
    void CloseDevice();
    // Puts the engine's image readers in front of the new device's.
    void InstallImageGate();
    void InstallMeshGate();
    // A model that did not load: one line naming the file and why.
    static void ReportModelRefusal(const std::wstring& fileName, const std::string& reason);
    // ClearCache without raising what subscribers raised meanwhile.
    void ClearCaches();
    bool RenderFrame(bool skipBackBufferClear, bool skipZBufferClear, bool checkDevice);
    void CameraPass(irr::IrrlichtDevice* device, IFrameCamera* camera);
    void GuiPass(irr::IrrlichtDevice* device);
    // Forgets every pointer into the scene: cameras and following entities.
    void ForgetSceneNodes();
    void ResetWorldBox();
    // Forgets an entity's node that is no longer in this device's scene (a
    // scene reset or another device let go of it).
    void ForgetStaleNode(Scene::CGraphicalEntity* entity) const;
    // The wireframe marker cubes of an entity; with a null node they become
    // its node.
    irr::scene::ISceneNode* BuildMarkers(Scene::CGraphicalEntity* entity, irr::scene::ISceneNode* node,
                                         irr::scene::ISceneNode* parentNode);
    // Removes the node's children named like the node (its marker cubes).
    static void RemoveMarkers(irr::scene::ISceneNode* node);
    // Raises again what an event subscriber raised inside Irrlicht.
    void RethrowReceiverError();
    void RequireDevice(const wchar_t* message) const;
    bool SetTextureFlag(uint32_t flag, bool enable);
    bool GetTextureFlag(uint32_t flag) const;
    // The texture the driver holds under the name or its found path; null.
    irr::video::ITexture* FindTexture(const std::wstring& name) const;
    // Ends the scripts' locks of the texture and removes it from the driver.
    void RemoveTexture(irr::video::ITexture* texture);

    irr::IrrlichtDevice* m_device = nullptr;
    // Every image the device decodes passes here; the driver owns it.
    CImageGate* m_imageGate = nullptr;
    // Owned by the scene manager.
    CMeshGate* m_meshGate = nullptr;
    // The folder the device's loader parameters were last set to; nothing
    // while they hold Irrlicht's own values. A world loads thousands of
    // entities of a few models, and setting the same values again costs a
    // search of the parameters for each.
    std::optional<std::string> m_loaderFolder;
    std::unique_ptr<CGraphicsEngineEventHandler> m_eventHandler;
    std::unique_ptr<GUI::CGuiManager> m_guiManager;
    std::wstring m_windowCaption;
    std::string m_driverName;
    uint32_t m_screenWidth = 640;
    uint32_t m_screenHeight = 480;
    uint32_t m_colorBits = 16;
    bool m_shadows = false;
    bool m_vsync = false;
    bool m_backgroundRendering = false;
    bool m_clearBackBuffer = true;
    bool m_clearZBuffer = true;
    bool m_fullScreen = false;
    uint32_t m_windowStyle = 0;
    CNamedColor m_backColor{0.0f, 0.0f, 0.0f, 0.0f, "-BackColor"};
    IFrameCamera* m_activeCamera = nullptr;
    std::vector<IFrameCamera*> m_secondaryCameras;
    // Held while entities' nodes are built or removed.
    CCriticalSection m_sceneLock;
    // Nodes on their way out and nodes known to hang below the root.
    mutable CSceneTree m_sceneTree;
    // Held by value: reading it before Init or after Destroy is safe.
    CVector m_worldMin{-1.0f, -1.0f, -1.0f};
    CVector m_worldMax{1.0f, 1.0f, 1.0f};
    std::set<IFrameEntity*> m_pendingNodeUpdates;
    std::set<IFrameEntity*> m_autoAnimatedEntities;
    std::unique_ptr<CTextureLocks> m_textureLocks;
    std::map<std::wstring, std::unique_ptr<CRenderTarget>> m_renderTargets;
    JointMap m_jointMap;
    // Last, so that it goes first: the entities' leaving reaches the lists
    // above.
    CGraphicsParts m_parts{*this, &CGraphicsEngine::ForgetPart};
};

} // namespace Graphics
