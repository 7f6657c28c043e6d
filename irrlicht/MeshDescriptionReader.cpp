// The rebuilding side, run in the engine on what the model reader process
// sent: checked as it is read, built with Irrlicht's public mesh classes.
#include "irrlicht/MeshDescription.h"

#include "irrlicht/MeshWire.h"

#include <CDynamicMeshBuffer.h>
#include <irrlicht.h>

#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

namespace Graphics
{

using namespace irr;

namespace
{

// Key frames and the animation speed stay within this, so that Irrlicht's
// frame arithmetic (which turns frames into integers) never overflows.
constexpr float kMaxFrame = 1.0e6f;
// The least bytes of one record of each kind, for counts against the bytes
// left: a vertex (position, normal, colour, coordinates), a material (nine
// words, seven bytes, the flags; per layer an empty name and seven bytes), a
// buffer (layout, index form, material, two counts), a joint (name, parent,
// two matrices, five counts).
constexpr size_t kVertexBytes = 36;
constexpr size_t kMaterialBytes = 4 * 9 + 7 + 4 + video::MATERIAL_MAX_TEXTURES * (4 + 7);
constexpr size_t kBufferBytes = 2 + kMaterialBytes + 8;
constexpr size_t kJointBytes = 4 + 4 + 2 * 64 + 5 * 4;

// Mesh types a mesh of frames may carry: those of Irrlicht's own meshes of
// frames that the engine reads through the reader. The others (MD2, MD3,
// skinned, BSP, Half-Life) make Irrlicht cast the mesh to their classes.
bool IsFramesType(u32 type)
{
    switch (type)
    {
    case scene::EAMT_UNKNOWN:
    case scene::EAMT_OBJ:
    case scene::EAMT_3DS:
    case scene::EAMT_MY3D:
    case scene::EAMT_LMTS:
    case scene::EAMT_CSM:
    case scene::EAMT_OCT:
        return true;
    default:
        return false;
    }
}

struct SKeys
{
    core::array<scene::ISkinnedMesh::SPositionKey> positions;
    core::array<scene::ISkinnedMesh::SScaleKey> scales;
    core::array<scene::ISkinnedMesh::SRotationKey> rotations;
};

struct STextureName
{
    video::SMaterial* material;
    u32 layer;
    std::string name;
};

class CRebuild
{
public:
    CRebuild(std::string_view bytes, std::string& reason) : m_in(bytes), m_reason(reason) {}

    bool Fail(const std::string& reason)
    {
        if (m_reason.empty())
            m_reason = reason;
        m_in.Fail();
        return false;
    }
    bool Truncated()
    {
        return m_in.Failed() ? Fail("the description ends early or holds an oversized count") : true;
    }

    float Finite()
    {
        const float value = m_in.F32();
        if (!std::isfinite(value))
            Fail("a number in the description is not finite");
        return value;
    }
    core::vector3df Vector()
    {
        const float x = Finite();
        const float y = Finite();
        return core::vector3df(x, y, Finite());
    }
    void Matrix(core::matrix4& matrix)
    {
        for (u32 at = 0; at < 16; ++at)
            matrix[at] = Finite();
    }
    u8 Enum(u8 last, const char* what)
    {
        const u8 value = m_in.U8();
        if (value > last)
            Fail(std::string("the ") + what + " is out of range");
        return value;
    }
    std::string Name()
    {
        std::string name = m_in.Text(CMeshDescription::kMaxName);
        if (name.find('\0') != std::string::npos)
            Fail("a name holds a zero byte");
        return name;
    }

    bool Material(video::SMaterial& material)
    {
        const u32 type = m_in.U32();
        if (type > video::EMT_ONETEXTURE_BLEND)
            return Fail("the material type is out of range");
        material.MaterialType = static_cast<video::E_MATERIAL_TYPE>(type);
        material.MaterialTypeParam = Finite();
        material.MaterialTypeParam2 = Finite();
        material.AmbientColor.color = m_in.U32();
        material.DiffuseColor.color = m_in.U32();
        material.EmissiveColor.color = m_in.U32();
        material.SpecularColor.color = m_in.U32();
        material.Shininess = Finite();
        material.Thickness = Finite();
        material.ZBuffer = Enum(video::ECFN_ALWAYS, "depth comparison");
        material.AntiAliasing = m_in.U8();
        material.ColorMask = Enum(video::ECP_ALL, "colour mask");
        material.ColorMaterial = Enum(video::ECM_DIFFUSE_AND_AMBIENT, "colour material");
        material.BlendOperation =
            static_cast<video::E_BLEND_OPERATION>(Enum(video::EBO_MAX_ALPHA, "blend operation"));
        material.PolygonOffsetFactor = Enum(7, "polygon offset");
        material.PolygonOffsetDirection =
            static_cast<video::E_POLYGON_OFFSET>(Enum(1, "polygon offset direction"));
        const u32 bits = m_in.U32();
        if (bits >= 1u << 10)
            return Fail("unknown material flags");
        material.Wireframe = (bits & 1u) != 0;
        material.PointCloud = (bits & 2u) != 0;
        material.GouraudShading = (bits & 4u) != 0;
        material.Lighting = (bits & 8u) != 0;
        material.ZWriteEnable = (bits & 16u) != 0;
        material.BackfaceCulling = (bits & 32u) != 0;
        material.FrontfaceCulling = (bits & 64u) != 0;
        material.FogEnable = (bits & 128u) != 0;
        material.NormalizeNormals = (bits & 256u) != 0;
        material.UseMipMaps = (bits & 512u) != 0;
        for (u32 layer = 0; layer < video::MATERIAL_MAX_TEXTURES; ++layer)
        {
            video::SMaterialLayer& texture = material.TextureLayer[layer];
            std::string name = Name();
            // Drivers draw a wrap mode they do not know as repeat; the field
            // holds four bits.
            texture.TextureWrapU = Enum(15, "texture wrap");
            texture.TextureWrapV = Enum(15, "texture wrap");
            texture.BilinearFilter = Enum(1, "filter switch") != 0;
            texture.TrilinearFilter = Enum(1, "filter switch") != 0;
            texture.AnisotropicFilter = m_in.U8();
            texture.LODBias = static_cast<s8>(m_in.U8());
            if (Enum(1, "texture matrix switch") != 0)
            {
                core::matrix4 transform;
                Matrix(transform);
                texture.setTextureMatrix(transform);
            }
            if (!name.empty())
                m_textures.push_back(STextureName{&material, layer, std::move(name)});
        }
        return Truncated();
    }

    // A buffer's layout, index size and material, and where its vertices
    // and indices lie in the description. The counts are checked against
    // the bytes left, so both blocks are whole; every index is checked
    // against the vertex count here.
    struct SBufferData
    {
        u8 type = 0;
        bool wide = false;
        u32 count = 0;
        u32 indexCount = 0;
        const char* vertices = nullptr;
        const char* indices = nullptr;
    };
    bool BufferData(SBufferData& data, video::SMaterial& material)
    {
        data.type = Enum(video::EVT_TANGENTS, "vertex layout");
        data.wide = Enum(1, "index size") != 0;
        if (!Truncated() || !Material(material))
            return false;
        const size_t vertexBytes = VertexBytes(data.type);
        data.count = m_in.Count(vertexBytes);
        data.vertices = m_in.Raw(static_cast<size_t>(data.count) * vertexBytes).data();
        const size_t indexBytes = data.wide ? 4 : 2;
        data.indexCount = m_in.Count(indexBytes);
        data.indices = m_in.Raw(static_cast<size_t>(data.indexCount) * indexBytes).data();
        if (!Truncated())
            return false;
        for (u32 at = 0; at < data.indexCount; ++at)
        {
            if (IndexAt(data, at) >= data.count)
                return Fail("an index is past its buffer's vertices");
        }
        return true;
    }

    static u32 LoadU32(const char* bytes)
    {
        u32 value = 0;
        for (int at = 0; at < 4; ++at)
            value |= static_cast<u32>(static_cast<u8>(bytes[at])) << (8 * at);
        return value;
    }
    static float LoadF32(const char* bytes)
    {
        const u32 bits = LoadU32(bytes);
        float value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    static u32 IndexAt(const SBufferData& data, u32 at)
    {
        if (data.wide)
            return LoadU32(data.indices + 4 * static_cast<size_t>(at));
        const char* bytes = data.indices + 2 * static_cast<size_t>(at);
        return static_cast<u32>(static_cast<u8>(bytes[0]) | (static_cast<u8>(bytes[1]) << 8));
    }
    // Normals and texture coordinates that a loader left unset (Irrlicht's
    // X loader leaves them uninitialised for files without them) read as 0.
    static float AttributeAt(const char* bytes)
    {
        const float value = LoadF32(bytes);
        return std::isfinite(value) ? value : 0.0f;
    }

    // The buffer's vertices into an array of its layout; false when a
    // position is not finite.
    template <typename TVertex> bool DecodeVertices(const SBufferData& data, TVertex* vertices)
    {
        const size_t vertexBytes = VertexBytes(data.type);
        bool finite = true;
        for (u32 index = 0; index < data.count; ++index)
        {
            const char* at = data.vertices + vertexBytes * index;
            TVertex& vertex = vertices[index];
            vertex.Pos.set(LoadF32(at), LoadF32(at + 4), LoadF32(at + 8));
            finite = finite && std::isfinite(vertex.Pos.X) && std::isfinite(vertex.Pos.Y) &&
                     std::isfinite(vertex.Pos.Z);
            vertex.Normal.set(AttributeAt(at + 12), AttributeAt(at + 16), AttributeAt(at + 20));
            vertex.Color.color = LoadU32(at + 24);
            vertex.TCoords.set(AttributeAt(at + 28), AttributeAt(at + 32));
            if constexpr (std::is_same_v<TVertex, video::S3DVertex2TCoords>)
                vertex.TCoords2.set(AttributeAt(at + 36), AttributeAt(at + 40));
            if constexpr (std::is_same_v<TVertex, video::S3DVertexTangents>)
            {
                vertex.Tangent.set(AttributeAt(at + 36), AttributeAt(at + 40), AttributeAt(at + 44));
                vertex.Binormal.set(AttributeAt(at + 48), AttributeAt(at + 52), AttributeAt(at + 56));
            }
        }
        return finite ? true : Fail("a number in the description is not finite");
    }
    template <typename TVertex> bool DecodeVertices(const SBufferData& data, core::array<TVertex>& vertices)
    {
        vertices.set_used(data.count);
        return data.count == 0 || DecodeVertices(data, vertices.pointer());
    }
    void DecodeIndices(const SBufferData& data, core::array<u16>& indices)
    {
        indices.set_used(data.indexCount);
        for (u32 at = 0; at < data.indexCount; ++at)
            indices[at] = static_cast<u16>(IndexAt(data, at));
    }

    // A buffer of any layout into an Irrlicht buffer: 16-bit indices in the
    // buffer class of the layout, 32-bit ones in a dynamic buffer.
    scene::IMeshBuffer* FramesBuffer()
    {
        video::SMaterial material;
        const size_t firstTexture = m_textures.size();
        SBufferData data;
        if (!BufferData(data, material))
            return nullptr;
        const u8 type = data.type;
        scene::IMeshBuffer* buffer = nullptr;
        bool decoded = false;
        if (data.wide)
        {
            auto* dynamic =
                new scene::CDynamicMeshBuffer(static_cast<video::E_VERTEX_TYPE>(type), video::EIT_32BIT);
            scene::IVertexBuffer& target = dynamic->getVertexBuffer();
            target.reallocate(data.count);
            // The vertex buffer copies a vertex of its own layout from the
            // object it is given.
            if (type == video::EVT_STANDARD)
                decoded = PushVertices<video::S3DVertex>(data, target);
            else if (type == video::EVT_2TCOORDS)
                decoded = PushVertices<video::S3DVertex2TCoords>(data, target);
            else
                decoded = PushVertices<video::S3DVertexTangents>(data, target);
            scene::IIndexBuffer& targetIndices = dynamic->getIndexBuffer();
            targetIndices.reallocate(data.indexCount);
            for (u32 at = 0; at < data.indexCount; ++at)
                targetIndices.push_back(IndexAt(data, at));
            dynamic->getMaterial() = material;
            buffer = dynamic;
        }
        else if (type == video::EVT_STANDARD)
            buffer = Fill(new scene::SMeshBuffer(), data, material, decoded);
        else if (type == video::EVT_2TCOORDS)
            buffer = Fill(new scene::SMeshBufferLightMap(), data, material, decoded);
        else
            buffer = Fill(new scene::SMeshBufferTangents(), data, material, decoded);
        if (!decoded)
        {
            buffer->drop();
            m_textures.resize(firstTexture);
            return nullptr;
        }
        buffer->recalculateBoundingBox();
        // The textures go into the buffer's own material.
        for (size_t at = firstTexture; at < m_textures.size(); ++at)
            m_textures[at].material = &buffer->getMaterial();
        return buffer;
    }

    template <typename TVertex> bool PushVertices(const SBufferData& data, scene::IVertexBuffer& target)
    {
        std::vector<TVertex> vertices(data.count);
        if (data.count != 0 && !DecodeVertices(data, vertices.data()))
            return false;
        for (const TVertex& vertex : vertices)
            target.push_back(vertex);
        return true;
    }

    template <typename TBuffer>
    TBuffer* Fill(TBuffer* buffer, const SBufferData& data, const video::SMaterial& material, bool& decoded)
    {
        decoded = DecodeVertices(data, buffer->Vertices);
        DecodeIndices(data, buffer->Indices);
        buffer->Material = material;
        return buffer;
    }

    static size_t VertexBytes(u8 type)
    {
        return type == video::EVT_2TCOORDS   ? kVertexBytes + 8
               : type == video::EVT_TANGENTS ? kVertexBytes + 24
                                             : kVertexBytes;
    }

    scene::IAnimatedMesh* Frames(u32 meshType, float speed)
    {
        if (!IsFramesType(meshType))
            meshType = scene::EAMT_UNKNOWN;
        const u32 frames = m_in.Count(4);
        if (!Truncated())
            return nullptr;
        // No frames: a mesh with nothing to show, as Irrlicht's loader made it.
        auto* animated = new scene::SAnimatedMesh();
        for (u32 frame = 0; frame < frames; ++frame)
        {
            const u32 count = m_in.Count(kBufferBytes);
            if (!Truncated())
                break;
            auto* mesh = new scene::SMesh();
            animated->addMesh(mesh);
            mesh->drop();
            for (u32 index = 0; index < count; ++index)
            {
                scene::IMeshBuffer* buffer = FramesBuffer();
                if (buffer == nullptr)
                    break;
                mesh->addMeshBuffer(buffer);
                buffer->drop();
            }
            if (m_in.Failed())
                break;
            mesh->recalculateBoundingBox();
        }
        if (m_in.Failed())
        {
            animated->drop();
            return nullptr;
        }
        animated->Type = static_cast<scene::E_ANIMATED_MESH_TYPE>(meshType);
        animated->setAnimationSpeed(speed);
        animated->recalculateBoundingBox();
        return animated;
    }

    bool SkinBuffer(scene::SSkinMeshBuffer* buffer)
    {
        SBufferData data;
        if (!BufferData(data, buffer->Material))
            return false;
        if (data.wide)
            return Fail("a skinned buffer has 32-bit indices");
        buffer->VertexType = static_cast<video::E_VERTEX_TYPE>(data.type);
        const bool decoded =
            data.type == video::EVT_STANDARD   ? DecodeVertices(data, buffer->Vertices_Standard)
            : data.type == video::EVT_2TCOORDS ? DecodeVertices(data, buffer->Vertices_2TCoords)
                                               : DecodeVertices(data, buffer->Vertices_Tangents);
        if (!decoded)
            return false;
        DecodeIndices(data, buffer->Indices);
        Matrix(buffer->Transformation);
        buffer->recalculateBoundingBox();
        return Truncated();
    }

    template <typename TKey> bool Keys(core::array<TKey>& keys, bool rotation)
    {
        const u32 count = m_in.Count(rotation ? 20 : 16);
        keys.reallocate(count);
        for (u32 at = 0; at < count && !m_in.Failed(); ++at)
        {
            TKey key;
            key.frame = Finite();
            if (std::fabs(key.frame) > kMaxFrame)
                return Fail("a key frame is out of range");
            if constexpr (std::is_same_v<TKey, scene::ISkinnedMesh::SRotationKey>)
            {
                const float x = Finite();
                const float y = Finite();
                const float z = Finite();
                key.rotation.set(x, y, z, Finite());
            }
            else if constexpr (std::is_same_v<TKey, scene::ISkinnedMesh::SPositionKey>)
                key.position = Vector();
            else
                key.scale = Vector();
            keys.push_back(key);
        }
        return Truncated();
    }

    // Whether the parents make a tree: every chain of parents ends at a
    // root. Each joint is walked once.
    bool Hierarchy(const std::vector<u32>& parents)
    {
        enum : u8
        {
            kUnseen,
            kWalking,
            kRooted
        };
        std::vector<u8> state(parents.size(), kUnseen);
        std::vector<u32> chain;
        for (u32 start = 0; start < parents.size(); ++start)
        {
            chain.clear();
            u32 at = start;
            while (at != ~0u && state[at] == kUnseen)
            {
                state[at] = kWalking;
                chain.push_back(at);
                at = parents[at];
            }
            if (at != ~0u && state[at] == kWalking)
                return Fail("a joint is its own ancestor");
            for (u32 walked : chain)
                state[walked] = kRooted;
        }
        return true;
    }

    scene::IAnimatedMesh* Skinned(scene::ISceneManager* scene, float speed)
    {
        scene::ISkinnedMesh* mesh = scene->createSkinnedMesh();
        const u32 buffers = m_in.Count(kBufferBytes);
        for (u32 index = 0; index < buffers && !m_in.Failed(); ++index)
        {
            scene::SSkinMeshBuffer* buffer = mesh->addMeshBuffer();
            SkinBuffer(buffer);
        }
        core::array<scene::SSkinMeshBuffer*>& made = mesh->getMeshBuffers();
        const u32 joints = Truncated() ? m_in.Count(kJointBytes) : 0;
        std::vector<scene::ISkinnedMesh::SJoint*> added;
        std::vector<u32> parents;
        for (u32 index = 0; index < joints && !m_in.Failed(); ++index)
        {
            std::string name = Name();
            const u32 parent = m_in.U32();
            if (!Truncated())
                break;
            if (parent != ~0u && parent >= joints)
            {
                Fail("a joint names a parent that does not exist");
                break;
            }
            // Linked once all are read: Irrlicht's X loader lists a joint a
            // skin names before the frame that holds it, so a parent may
            // come after its child.
            scene::ISkinnedMesh::SJoint* joint = mesh->addJoint(nullptr);
            added.push_back(joint);
            parents.push_back(parent);
            joint->Name = name.c_str();
            Matrix(joint->LocalMatrix);
            Matrix(joint->GlobalInversedMatrix);
            SKeys& keys = m_keys.emplace_back();
            if (!Keys(keys.positions, false) || !Keys(keys.scales, false) || !Keys(keys.rotations, true))
                break;
            joint->PositionKeys = keys.positions;
            joint->ScaleKeys = keys.scales;
            joint->RotationKeys = keys.rotations;
            const u32 weights = m_in.Count(12);
            joint->Weights.reallocate(weights);
            for (u32 at = 0; at < weights && !m_in.Failed(); ++at)
            {
                const u32 bufferId = m_in.U32();
                const u32 vertexId = m_in.U32();
                const float strength = Finite();
                if (m_in.Failed())
                    break;
                if (bufferId >= made.size() || vertexId >= made[bufferId]->getVertexCount())
                {
                    Fail("a weight names a vertex that no buffer has");
                    break;
                }
                scene::ISkinnedMesh::SWeight* weight = mesh->addWeight(joint);
                weight->buffer_id = static_cast<u16>(bufferId);
                weight->vertex_id = vertexId;
                weight->strength = strength;
            }
            const u32 attached = Truncated() ? m_in.Count(4) : 0;
            for (u32 at = 0; at < attached && !m_in.Failed(); ++at)
            {
                const u32 bufferId = m_in.U32();
                if (bufferId >= made.size())
                {
                    Fail("a joint carries a buffer that does not exist");
                    break;
                }
                joint->AttachedMeshes.push_back(bufferId);
            }
            Truncated();
        }
        if (!m_in.Failed() && Hierarchy(parents))
        {
            for (u32 index = 0; index < parents.size(); ++index)
                if (parents[index] != ~0u)
                    added[parents[index]]->Children.push_back(added[index]);
        }
        if (m_in.Failed() || made.size() > 0xffff)
        {
            if (!m_in.Failed())
                Fail("the mesh has more buffers than weights can name");
            mesh->drop();
            return nullptr;
        }
        mesh->setAnimationSpeed(speed);
        mesh->finalize();
        // Finalizing drops keys a loader left out of order (Irrlicht's MS3D
        // loader does), which the loader's own mesh keeps and plays: the
        // keys as described, as in the mesh Irrlicht made.
        core::array<scene::ISkinnedMesh::SJoint*>& all = mesh->getAllJoints();
        for (u32 index = 0; index < all.size() && index < m_keys.size(); ++index)
        {
            all[index]->PositionKeys = m_keys[index].positions;
            all[index]->ScaleKeys = m_keys[index].scales;
            all[index]->RotationKeys = m_keys[index].rotations;
        }
        return mesh;
    }

    bool AtEnd() { return m_in.Left() == 0 ? true : Fail("the description has bytes after its end"); }

    CWireReader m_in;
    std::string& m_reason;
    std::vector<STextureName> m_textures;
    std::vector<SKeys> m_keys;
};

} // namespace

scene::IAnimatedMesh* CMeshDescription::Rebuild(scene::ISceneManager* scene, std::string_view bytes,
                                                std::string& reason)
{
    reason.clear();
    if (bytes.size() > kMaxBytes)
    {
        reason = "the description is too large";
        return nullptr;
    }
    CRebuild rebuild(bytes, reason);
    CWireReader& in = rebuild.m_in;
    if (in.U32() != kMagic || in.U32() != kVersion)
    {
        reason = "not a mesh description";
        return nullptr;
    }
    const u8 kind = in.U8();
    const u32 meshType = in.U32();
    const float speed = rebuild.Finite();
    if (!rebuild.Truncated())
        return nullptr;
    if (std::fabs(speed) > kMaxFrame)
    {
        reason = "the animation speed is out of range";
        return nullptr;
    }
    scene::IAnimatedMesh* mesh = nullptr;
    if (kind == kFrames)
        mesh = rebuild.Frames(meshType, speed);
    else if (kind == kSkinned)
        mesh = rebuild.Skinned(scene, speed);
    else
        rebuild.Fail("unknown mesh kind");
    if (mesh != nullptr && !rebuild.AtEnd())
    {
        mesh->drop();
        mesh = nullptr;
    }
    if (mesh == nullptr)
        return nullptr;
    // Only a description that passed every check has its textures loaded,
    // through the driver's image loaders (the engine's image gate).
    video::IVideoDriver* driver = scene->getVideoDriver();
    for (const STextureName& texture : rebuild.m_textures)
        texture.material->setTexture(texture.layer,
                                     driver != nullptr ? driver->getTexture(texture.name.c_str()) : nullptr);
    return mesh;
}

} // namespace Graphics
