#pragma once

// A physical part joined into a whole entity for tests and benchmarks,
// where no managed entity of the world is needed: the rest of the entity
// interface, with a mesh of its own instead of a graphical part.

#include "core/io/DataBag.h"
#include "core/io/Uuid.h"
#include "physics/PhysicalEntity.h"

#include <algorithm>
#include <string>
#include <vector>

// An entity whose mesh is a list of triangles in its own frame (a box by
// default). It keeps id, name, placement and flags and hands placement on
// to its physical part the way the world's managed entity does; a moved body
// writes back into it.
class CPhysicalTestEntity : public CPhysicalEntity
{
public:
    explicit CPhysicalTestEntity(const std::string& id = std::string())
    {
        if (!id.empty())
            m_id.SetId(id);
        SetBox(CVector(1.0f, 1.0f, 1.0f));
    }

    // The mesh: a box of the size around the centre, or a square of the
    // half-size in a plane y = height (two triangles).
    void SetBox(const CVector& size, const CVector& centre = CVector())
    {
        triangles.clear();
        const CVector h(size.x * 0.5f, size.y * 0.5f, size.z * 0.5f);
        auto corner = [&](int i)
        {
            return CVector(centre.x + (i & 1 ? h.x : -h.x), centre.y + (i & 2 ? h.y : -h.y),
                           centre.z + (i & 4 ? h.z : -h.z));
        };
        const int quads[6][4] = {{0, 2, 6, 4}, {1, 5, 7, 3}, {0, 4, 5, 1},
                                 {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 6, 7, 5}};
        for (const auto& quad : quads)
        {
            triangles.push_back({corner(quad[0]), corner(quad[1]), corner(quad[2])});
            triangles.push_back({corner(quad[0]), corner(quad[2]), corner(quad[3])});
        }
    }
    void SetGround(float halfSize, float height = 0.0f)
    {
        const float e = halfSize;
        const float h = height;
        triangles = {{CVector(-e, h, -e), CVector(-e, h, e), CVector(e, h, e)},
                     {CVector(-e, h, -e), CVector(e, h, e), CVector(e, h, -e)}};
    }

    // Body feedback.
    void OnBodyMoved(const CVector& position, const CVector& rotation, const CVector&) override
    {
        m_position = position;
        m_rotation = rotation;
        ++moves;
    }

    uint32_t GetTypeId() const override { return Misc::World::kTypeIdUnit; }
    const char* GetId() const override { return m_id.GetId().c_str(); }
    void SetId(const char* id) override { m_id.SetId(id); }
    void NewId() override { m_id.NewId(); }
    const std::wstring& GetName() const override { return m_name; }
    void SetName(const std::wstring& name) override { m_name = name; }
    const CVector& GetPosition() const override { return m_position; }
    void SetPosition(const CVector& position) override
    {
        m_position = position;
        CPhysicalEntity::SetPosition(position);
    }
    const CVector& GetRotation() const override { return m_rotation; }
    void SetRotation(const CVector& rotation) override
    {
        m_rotation = rotation;
        CPhysicalEntity::SetRotation(rotation);
    }
    const CVector& GetFrontVector() const override { return m_front; }
    const CVector& GetUpVector() const override { return m_up; }
    const CVector& GetScale() const override { return m_scale; }
    void SetScale(const CVector& scale) override
    {
        m_scale = scale;
        Refresh();
    }
    const std::wstring& GetScript() const override { return m_script; }
    void SetScript(const std::wstring& script) override { m_script = script; }
    void SetFlags(uint32_t flags) override
    {
        m_flags = flags;
        SetDebugFlags(flags);
    }
    uint32_t GetFlags() const override { return m_flags; }
    CDataBag& GetData() override { return m_data; }
    const CDataBag& GetData() const override { return m_data; }
    bool UpdateParts() override
    {
        ++updates;
        ApplyProperties();
        return true;
    }
    CPhysicalEntity* GetPhysicalPart() override { return this; }
    Graphics::Scene::CGraphicalEntity* GetGraphicalPart() override { return nullptr; }
    CSonicEntity* GetSonicPart() override { return nullptr; }

    uint32_t GetFaces(std::vector<Misc::World::CTriangle>& faces, CVector& collisionSize,
                      CVector& collisionCentre, float, uint32_t) override
    {
        faces = triangles;
        Bounds(collisionSize, collisionCentre);
        return static_cast<uint32_t>(faces.size());
    }
    uint32_t GetVertices(std::vector<CVector>& vertices, CVector& collisionSize,
                         CVector& collisionCentre) override
    {
        vertices.clear();
        vertices.reserve(triangles.size() * 3);
        for (const auto& triangle : triangles)
            vertices.insert(vertices.end(), triangle.begin(), triangle.end());
        Bounds(collisionSize, collisionCentre);
        return static_cast<uint32_t>(vertices.size());
    }
    void GetBoundingBox(CVector& minimum, CVector& maximum) override
    {
        CVector size;
        CVector centre;
        Bounds(size, centre);
        minimum = CVector(m_position.x + centre.x - size.x * 0.5f, m_position.y + centre.y - size.y * 0.5f,
                          m_position.z + centre.z - size.z * 0.5f);
        maximum = CVector(minimum.x + size.x, minimum.y + size.y, minimum.z + size.z);
    }
    void GetAbsolutePosition(CVector& position) override { position = m_position; }
    void GetAbsoluteRotation(CVector& rotation) override { rotation = m_rotation; }
    void GetAbsoluteScale(CVector& scale) override { scale = m_scale; }

    void Clear() override { CPhysicalEntity::Clear(); }
    bool Write(Misc::Serialization::IArchive& archive) override { return CPhysicalEntity::Write(archive); }
    bool Read(Misc::Serialization::IArchive& archive) override { return CPhysicalEntity::Read(archive); }

    std::vector<Misc::World::CTriangle> triangles;
    int moves = 0;
    int updates = 0;

private:
    void Bounds(CVector& size, CVector& centre) const
    {
        if (triangles.empty())
        {
            size = centre = CVector();
            return;
        }
        CVector low = triangles[0][0];
        CVector high = low;
        for (const auto& triangle : triangles)
            for (const CVector& v : triangle)
            {
                low = CVector(std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z));
                high = CVector(std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z));
            }
        size = CVector(high.x - low.x, high.y - low.y, high.z - low.z);
        centre = CVector((high.x + low.x) * 0.5f, (high.y + low.y) * 0.5f, (high.z + low.z) * 0.5f);
    }

    CUuid m_id;
    std::wstring m_name{L"test entity"};
    CVector m_position;
    CVector m_rotation;
    CVector m_front{0.0f, 0.0f, 1.0f};
    CVector m_up{0.0f, 1.0f, 0.0f};
    CVector m_scale{1.0f, 1.0f, 1.0f};
    std::wstring m_script;
    uint32_t m_flags = 0;
    CDataBag m_data;
};
