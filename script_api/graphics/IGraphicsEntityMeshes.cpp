// IGraphics functions on mesh geometry: handles to one frame of a mesh file,
// single vertices of such a mesh or of an entity's current mesh, all the
// vertices and triangles of an entity, its bounding box, and the four
// corners of a billboard.
//
// Mesh handles are ids of the handle registry, never addresses: a number
// the script did not get from getMeshId, or the handle of a mesh the engine
// no longer holds (its cache was cleared, the device closed), is refused on
// use with "Invalid mesh handle: <number>". Handle 0 is "no mesh": the
// getters answer their defaults and the setters do nothing.

#include "core/foundation/HandleRegistry.h"
#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalBillboard.h"
#include "graphics/scene/GraphicalEntity.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/PointScript.h"
#include "script_api/core/VectorScript.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/world/EntityArguments.h"

#include <irrlicht.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using Graphics::CGraphicsEngine;
using Graphics::Scene::CGraphicalBillboard;
using Graphics::Scene::CGraphicalEntity;
using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using ScriptWorld::AnyUnit;
using ScriptWorld::GraphicalPart;

namespace
{

// One frame of a loaded mesh file as a script holds it. The entry keeps a
// reference on the file's mesh, so that the frame stays readable memory
// until the entry goes, but it is only used while the engine still holds
// the mesh in its cache.
struct SMeshHandle
{
    irr::scene::IAnimatedMesh* owner = nullptr;
    irr::scene::IMesh* frame = nullptr;
    uint32_t id = 0;
};

class CMeshHandles
{
public:
    ~CMeshHandles()
    {
        for (auto& entry : m_byFrame)
            Release(entry.second);
    }

    // The handle of the frame; the same frame keeps its handle.
    uint32_t Issue(irr::scene::IAnimatedMesh* owner, irr::scene::IMesh* frame)
    {
        auto found = m_byFrame.find(frame);
        if (found != m_byFrame.end() && found->second.owner == owner)
            return found->second.id;
        if (found != m_byFrame.end())
            Forget(found);
        SMeshHandle& handle = m_byFrame[frame];
        owner->grab();
        handle.owner = owner;
        handle.frame = frame;
        handle.id = Misc::CHandleRegistry::GetInstance().Add(&handle);
        return handle.id;
    }

    // The frame of a handle the engine still holds; null for 0. Any other
    // number throws the invalid-handle error.
    irr::scene::IMesh* Find(lua_Number number)
    {
        if (number == 0)
            return nullptr;
        SMeshHandle* handle = Misc::CHandleRegistry::GetInstance().Get<SMeshHandle>(number);
        if (handle == nullptr)
            Refuse(number);
        if (!IsHeld(handle->owner))
        {
            Forget(m_byFrame.find(handle->frame));
            Refuse(number);
        }
        return handle->frame;
    }

private:
    using Map = std::map<irr::scene::IMesh*, SMeshHandle>;

    static bool IsHeld(irr::scene::IAnimatedMesh* owner)
    {
        const Graphics::CGraphicsEngine* engine = FindScriptGraphicsEngine();
        irr::IrrlichtDevice* device = engine != nullptr ? engine->GetDevice() : nullptr;
        return device != nullptr && device->getSceneManager()->getMeshCache()->getMeshIndex(owner) >= 0;
    }

    [[noreturn]] static void Refuse(lua_Number number)
    {
        char text[64];
        std::snprintf(text, sizeof text, "Invalid mesh handle: %.14g", number);
        throw LuaPlus::ScriptArgumentError(text);
    }

    static void Release(SMeshHandle& handle)
    {
        Misc::CHandleRegistry::GetInstance().Remove(handle.id);
        handle.owner->drop();
    }

    void Forget(Map::iterator entry)
    {
        Release(entry->second);
        m_byFrame.erase(entry);
    }

    Map m_byFrame;
};

CMeshHandles& MeshHandles()
{
    static CMeshHandles handles;
    return handles;
}

// The first argument of the vertex functions: a mesh handle (a number) or
// an entity (any other text), whose current mesh is used.
struct SMeshOrEntity
{
    irr::scene::IMesh* mesh = nullptr;
    CGraphicalEntity* entity = nullptr;
};

} // namespace

template <> struct LuaPlus::ScriptArg<SMeshOrEntity> : LuaPlus::ScriptArgHeld<SMeshOrEntity>
{
    static SMeshOrEntity Get(lua_State* L, int index)
    {
        SMeshOrEntity source;
        switch (lua_type(L, index))
        {
        case LUA_TNUMBER:
            source.mesh = MeshHandles().Find(lua_tonumber(L, index));
            break;
        case LUA_TSTRING:
            source.entity = ScriptArg<GraphicalPart>::Get(L, index).Get();
            break;
        default:
            throw ScriptArgumentError(std::string("Mesh handle or entity id expected, got ") +
                                      lua_typename(L, lua_type(L, index)));
        }
        return source;
    }
};

namespace
{

uint32_t getMeshId(LuaState*, const std::wstring& fileName, int32_t frame)
{
    CGraphicsEngine& engine = GetScriptGraphicsEngine();
    irr::scene::IMesh* mesh = engine.GetMeshId(fileName, frame);
    if (mesh == nullptr)
        return 0;
    return MeshHandles().Issue(engine.LoadMesh(fileName), mesh);
}

uint32_t getNumberOfMeshVertices(LuaState*, SMeshOrEntity source)
{
    if (source.entity != nullptr)
        return source.entity->GetNumberOfVertices();
    return CGraphicsEngine::GetNumberOfMeshVertices(source.mesh);
}

CColor getMeshVertexColor(LuaState*, SMeshOrEntity source, uint32_t vertex)
{
    CColor color(0.0f, 0.0f, 0.0f, 1.0f);
    if (source.entity != nullptr)
        source.entity->GetVertexColor(vertex, color);
    else
        CGraphicsEngine::GetMeshVertexColor(source.mesh, vertex, color);
    return color;
}

void setMeshVertexColor(LuaState*, SMeshOrEntity source, uint32_t vertex, const CColor& color)
{
    if (source.entity != nullptr)
        source.entity->SetVertexColor(vertex, color);
    else
        CGraphicsEngine::SetMeshVertexColor(source.mesh, vertex, color);
}

CVector getMeshVertexPosition(LuaState*, SMeshOrEntity source, uint32_t vertex)
{
    CVector position;
    if (source.entity != nullptr)
        source.entity->GetVertexPosition(vertex, position);
    else
        CGraphicsEngine::GetMeshVertexPosition(source.mesh, vertex, position);
    return position;
}

void setMeshVertexPosition(LuaState*, SMeshOrEntity source, uint32_t vertex, const CVector& position)
{
    if (source.entity != nullptr)
        source.entity->SetVertexPosition(vertex, position);
    else
        CGraphicsEngine::SetMeshVertexPosition(source.mesh, vertex, position);
}

CVector getMeshVertexNormal(LuaState*, SMeshOrEntity source, uint32_t vertex)
{
    CVector normal;
    if (source.entity != nullptr)
        source.entity->GetVertexNormal(vertex, normal);
    else
        CGraphicsEngine::GetMeshVertexNormal(source.mesh, vertex, normal);
    return normal;
}

void setMeshVertexNormal(LuaState*, SMeshOrEntity source, uint32_t vertex, const CVector& normal)
{
    if (source.entity != nullptr)
        source.entity->SetVertexNormal(vertex, normal);
    else
        CGraphicsEngine::SetMeshVertexNormal(source.mesh, vertex, normal);
}

// Set 0 is the first texture coordinate set; any set above 0 the second,
// where the vertex has one.
CPoint getMeshVertexUV(LuaState*, SMeshOrEntity source, uint32_t vertex, int32_t set)
{
    CPoint uv;
    if (source.entity != nullptr)
        source.entity->GetVertexUV(vertex, set > 0, uv);
    else
        CGraphicsEngine::GetMeshVertexUV(source.mesh, vertex, set > 0, uv);
    return uv;
}

void setMeshVertexUV(LuaState*, SMeshOrEntity source, uint32_t vertex, int32_t set, const CPoint& uv)
{
    if (source.entity != nullptr)
        source.entity->SetVertexUV(vertex, set > 0, uv);
    else
        CGraphicsEngine::SetMeshVertexUV(source.mesh, vertex, set > 0, uv);
}

LuaObject VectorArray(LuaState* state, const std::vector<CVector>& points)
{
    LuaObject table;
    table.AssignNewTable(state, static_cast<int>(points.size()));
    lua_Number key = 0;
    for (const CVector& point : points)
        table.Set(++key, CVectorScript::CreateLuaObject(state, point));
    return table;
}

LuaObject getBoundingBox(LuaState* state, AnyUnit<> entity)
{
    CVector minimum;
    CVector maximum;
    entity->GetBoundingBox(minimum, maximum);
    LuaObject table;
    table.AssignNewTable(state, 0, 2);
    table.Set("min", CVectorScript::CreateLuaObject(state, minimum));
    table.Set("max", CVectorScript::CreateLuaObject(state, maximum));
    return table;
}

LuaObject getEntityVertices(LuaState* state, SMeshOrEntity source)
{
    std::vector<CVector> points;
    if (source.entity != nullptr)
    {
        CVector size;
        CVector centre;
        source.entity->GetVertices(points, size, centre);
    }
    else if (source.mesh != nullptr)
    {
        CGraphicsEngine::GetEntityVertices(source.mesh, CVector(1.0f, 1.0f, 1.0f), points, nullptr);
    }
    return VectorArray(state, points);
}

LuaObject getEntityFaces(LuaState* state, SMeshOrEntity source, float minimum)
{
    std::vector<CVector> points;
    if (source.entity != nullptr)
    {
        std::vector<Misc::World::CTriangle> faces;
        CVector size;
        CVector centre;
        source.entity->GetFaces(faces, size, centre, minimum, 0);
        points.reserve(faces.size() * 3);
        for (const Misc::World::CTriangle& face : faces)
            points.insert(points.end(), face.begin(), face.end());
    }
    else if (source.mesh != nullptr)
    {
        CGraphicsEngine::GetEntityFaces(source.mesh, CVector(1.0f, 1.0f, 1.0f), points, minimum, nullptr);
    }
    return VectorArray(state, points);
}

// Billboards are looked up among the billboards alone.
using Billboard = ScriptWorld::Unit<Misc::World::kTypeIdBillboard, CGraphicalBillboard>;

void CheckCorner(uint32_t corner, const wchar_t* operation)
{
    if (corner > 3)
        throw Misc::Error::CKVOError::Format(L"[CGraphicalBillboard::%s] Invalid billboard vertex:%u",
                                             operation, corner);
}

CColor getBillboardVertexColor(LuaState*, Billboard billboard, uint32_t corner)
{
    CheckCorner(corner, L"GetVertexColor");
    CColor color;
    billboard->GetVertexColor(corner, color);
    return color;
}

void setBillboardVertexColor(LuaState*, Billboard billboard, uint32_t corner, const CColor& color)
{
    CheckCorner(corner, L"SetVertexColor");
    billboard->SetVertexColor(corner, color);
}

CPoint getBillboardVertexUV(LuaState*, Billboard billboard, uint32_t corner)
{
    CheckCorner(corner, L"GetVertexUV");
    CPoint uv;
    billboard->GetVertexUV(corner, uv);
    return uv;
}

void setBillboardVertexUV(LuaState*, Billboard billboard, uint32_t corner, const CPoint& uv)
{
    CheckCorner(corner, L"SetVertexUV");
    billboard->SetVertexUV(corner, uv);
}

} // namespace

void RegisterIGraphicsEntityMeshes(CScriptMetaTable& table)
{
    table.RegisterHelper("getMeshId", &getMeshId);
    table.RegisterHelper("getNumberOfMeshVertices", &getNumberOfMeshVertices);
    table.RegisterHelper("getMeshVertexColor", &getMeshVertexColor);
    table.RegisterHelper("setMeshVertexColor", &setMeshVertexColor);
    table.RegisterHelper("getMeshVertexPosition", &getMeshVertexPosition);
    table.RegisterHelper("setMeshVertexPosition", &setMeshVertexPosition);
    table.RegisterHelper("getMeshVertexNormal", &getMeshVertexNormal);
    table.RegisterHelper("setMeshVertexNormal", &setMeshVertexNormal);
    table.RegisterHelper("getMeshVertexUV", &getMeshVertexUV);
    table.RegisterHelper("setMeshVertexUV", &setMeshVertexUV);
    table.RegisterHelper("getBoundingBox", &getBoundingBox);
    table.RegisterHelper("getEntityVertices", &getEntityVertices);
    table.RegisterHelper("getEntityFaces", &getEntityFaces);
    table.RegisterHelper("getBillboardVertexColor", &getBillboardVertexColor);
    table.RegisterHelper("setBillboardVertexColor", &setBillboardVertexColor);
    table.RegisterHelper("getBillboardVertexUV", &getBillboardVertexUV);
    table.RegisterHelper("setBillboardVertexUV", &setBillboardVertexUV);
}
