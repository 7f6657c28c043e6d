// The describing side, run in the model reader process on what Irrlicht's
// loader made.
#include "irrlicht/MeshDescription.h"

#include "irrlicht/MeshWire.h"

#include <irrlicht.h>

#include <cmath>

namespace Graphics
{

using namespace irr;

namespace
{

void Matrix(CWireWriter& out, const core::matrix4& matrix)
{
    for (u32 at = 0; at < 16; ++at)
        out.F32(matrix[at]);
}

void Vector(CWireWriter& out, const core::vector3df& vector)
{
    out.F32(vector.X);
    out.F32(vector.Y);
    out.F32(vector.Z);
}

char* StoreVector(char* at, const core::vector3df& vector)
{
    at = CWireWriter::StoreF32(at, vector.X);
    at = CWireWriter::StoreF32(at, vector.Y);
    return CWireWriter::StoreF32(at, vector.Z);
}

void Material(CWireWriter& out, const video::SMaterial& material)
{
    out.U32(static_cast<u32>(material.MaterialType));
    out.F32(material.MaterialTypeParam);
    out.F32(material.MaterialTypeParam2);
    out.U32(material.AmbientColor.color);
    out.U32(material.DiffuseColor.color);
    out.U32(material.EmissiveColor.color);
    out.U32(material.SpecularColor.color);
    out.F32(material.Shininess);
    out.F32(material.Thickness);
    out.U8(material.ZBuffer);
    out.U8(material.AntiAliasing);
    out.U8(material.ColorMask);
    out.U8(material.ColorMaterial);
    out.U8(static_cast<u8>(material.BlendOperation));
    out.U8(material.PolygonOffsetFactor);
    out.U8(static_cast<u8>(material.PolygonOffsetDirection));
    const bool flags[] = {material.Wireframe,        material.PointCloud,   material.GouraudShading,
                          material.Lighting,         material.ZWriteEnable, material.BackfaceCulling,
                          material.FrontfaceCulling, material.FogEnable,    material.NormalizeNormals,
                          material.UseMipMaps};
    u32 bits = 0;
    for (u32 at = 0; at < sizeof flags / sizeof flags[0]; ++at)
        bits |= flags[at] ? 1u << at : 0u;
    out.U32(bits);
    for (u32 layer = 0; layer < video::MATERIAL_MAX_TEXTURES; ++layer)
    {
        const video::SMaterialLayer& texture = material.TextureLayer[layer];
        out.Text(texture.Texture != nullptr ? texture.Texture->getName().getPath().c_str() : "");
        out.U8(texture.TextureWrapU);
        out.U8(texture.TextureWrapV);
        out.U8(texture.BilinearFilter ? 1 : 0);
        out.U8(texture.TrilinearFilter ? 1 : 0);
        out.U8(texture.AnisotropicFilter);
        out.U8(static_cast<u8>(texture.LODBias));
        const core::matrix4& transform = texture.getTextureMatrix();
        const bool identity = transform.isIdentity();
        out.U8(identity ? 0 : 1);
        if (!identity)
            Matrix(out, transform);
    }
}

void Buffer(CWireWriter& out, const scene::IMeshBuffer* buffer)
{
    const video::E_VERTEX_TYPE type = buffer->getVertexType();
    out.U8(static_cast<u8>(type));
    out.U8(buffer->getIndexType() == video::EIT_32BIT ? 1 : 0);
    Material(out, buffer->getMaterial());
    const u32 count = buffer->getVertexCount();
    const u32 indices = buffer->getIndexCount();
    const size_t vertexBytes = type == video::EVT_2TCOORDS   ? 36 + 8
                               : type == video::EVT_TANGENTS ? 36 + 24
                                                             : 36;
    const bool wide = buffer->getIndexType() == video::EIT_32BIT;
    out.U32(count);
    char* at = out.Grow(count * vertexBytes);
    for (u32 index = 0; index < count; ++index)
    {
        const video::S3DVertex* vertex = nullptr;
        switch (type)
        {
        case video::EVT_2TCOORDS:
            vertex = static_cast<const video::S3DVertex2TCoords*>(buffer->getVertices()) + index;
            break;
        case video::EVT_TANGENTS:
            vertex = static_cast<const video::S3DVertexTangents*>(buffer->getVertices()) + index;
            break;
        default:
            vertex = static_cast<const video::S3DVertex*>(buffer->getVertices()) + index;
            break;
        }
        at = StoreVector(at, vertex->Pos);
        at = StoreVector(at, vertex->Normal);
        at = CWireWriter::StoreU32(at, vertex->Color.color);
        at = CWireWriter::StoreF32(at, vertex->TCoords.X);
        at = CWireWriter::StoreF32(at, vertex->TCoords.Y);
        if (type == video::EVT_2TCOORDS)
        {
            const auto* two = static_cast<const video::S3DVertex2TCoords*>(vertex);
            at = CWireWriter::StoreF32(at, two->TCoords2.X);
            at = CWireWriter::StoreF32(at, two->TCoords2.Y);
        }
        else if (type == video::EVT_TANGENTS)
        {
            const auto* tangents = static_cast<const video::S3DVertexTangents*>(vertex);
            at = StoreVector(at, tangents->Tangent);
            at = StoreVector(at, tangents->Binormal);
        }
    }
    out.U32(indices);
    at = out.Grow(static_cast<size_t>(indices) * (wide ? 4 : 2));
    if (wide)
    {
        const u32* values = reinterpret_cast<const u32*>(buffer->getIndices());
        for (u32 index = 0; index < indices; ++index)
            at = CWireWriter::StoreU32(at, values[index]);
    }
    else
    {
        const u16* values = buffer->getIndices();
        for (u32 index = 0; index < indices; ++index)
            at = CWireWriter::StoreU16(at, values[index]);
    }
}

void Skinned(CWireWriter& out, scene::ISkinnedMesh* mesh)
{
    core::array<scene::SSkinMeshBuffer*>& buffers = mesh->getMeshBuffers();
    out.U32(buffers.size());
    for (u32 index = 0; index < buffers.size(); ++index)
    {
        Buffer(out, buffers[index]);
        Matrix(out, buffers[index]->Transformation);
    }
    const core::array<scene::ISkinnedMesh::SJoint*>& joints = mesh->getAllJoints();
    out.U32(joints.size());
    for (u32 index = 0; index < joints.size(); ++index)
    {
        const scene::ISkinnedMesh::SJoint* joint = joints[index];
        out.Text(joint->Name.c_str());
        // The parent is the joint that lists this one among its children.
        u32 parent = ~0u;
        for (u32 other = 0; other < joints.size() && parent == ~0u; ++other)
        {
            for (u32 child = 0; child < joints[other]->Children.size(); ++child)
            {
                if (joints[other]->Children[child] == joint)
                {
                    parent = other;
                    break;
                }
            }
        }
        out.U32(parent);
        Matrix(out, joint->LocalMatrix);
        Matrix(out, joint->GlobalInversedMatrix);
        out.U32(joint->PositionKeys.size());
        for (u32 key = 0; key < joint->PositionKeys.size(); ++key)
        {
            out.F32(joint->PositionKeys[key].frame);
            Vector(out, joint->PositionKeys[key].position);
        }
        out.U32(joint->ScaleKeys.size());
        for (u32 key = 0; key < joint->ScaleKeys.size(); ++key)
        {
            out.F32(joint->ScaleKeys[key].frame);
            Vector(out, joint->ScaleKeys[key].scale);
        }
        out.U32(joint->RotationKeys.size());
        for (u32 key = 0; key < joint->RotationKeys.size(); ++key)
        {
            const core::quaternion& rotation = joint->RotationKeys[key].rotation;
            out.F32(joint->RotationKeys[key].frame);
            out.F32(rotation.X);
            out.F32(rotation.Y);
            out.F32(rotation.Z);
            out.F32(rotation.W);
        }
        out.U32(joint->Weights.size());
        char* at = out.Grow(static_cast<size_t>(joint->Weights.size()) * 12);
        for (u32 weight = 0; weight < joint->Weights.size(); ++weight)
        {
            at = CWireWriter::StoreU32(at, joint->Weights[weight].buffer_id);
            at = CWireWriter::StoreU32(at, joint->Weights[weight].vertex_id);
            at = CWireWriter::StoreF32(at, joint->Weights[weight].strength);
        }
        out.U32(joint->AttachedMeshes.size());
        for (u32 attached = 0; attached < joint->AttachedMeshes.size(); ++attached)
            out.U32(joint->AttachedMeshes[attached]);
    }
}

template <typename TVertex> void ClearPositions(TVertex* vertices, u32 count)
{
    for (u32 index = 0; index < count; ++index)
    {
        core::vector3df& position = vertices[index].Pos;
        if (!std::isfinite(position.X) || !std::isfinite(position.Y) || !std::isfinite(position.Z))
            position.set(0.0f, 0.0f, 0.0f);
    }
}

void ClearPositions(scene::IMeshBuffer* buffer)
{
    void* vertices = buffer->getVertices();
    const u32 count = buffer->getVertexCount();
    switch (buffer->getVertexType())
    {
    case video::EVT_2TCOORDS:
        ClearPositions(static_cast<video::S3DVertex2TCoords*>(vertices), count);
        break;
    case video::EVT_TANGENTS:
        ClearPositions(static_cast<video::S3DVertexTangents*>(vertices), count);
        break;
    default:
        ClearPositions(static_cast<video::S3DVertex*>(vertices), count);
        break;
    }
}

} // namespace

void CMeshDescription::ClearUnreadablePositions(scene::IAnimatedMesh* mesh)
{
    if (mesh->getMeshType() == scene::EAMT_SKINNED)
    {
        core::array<scene::SSkinMeshBuffer*>& buffers =
            static_cast<scene::ISkinnedMesh*>(mesh)->getMeshBuffers();
        for (u32 index = 0; index < buffers.size(); ++index)
            ClearPositions(buffers[index]);
        return;
    }
    for (u32 frame = 0; frame < mesh->getFrameCount(); ++frame)
    {
        scene::IMesh* shown = mesh->getMesh(static_cast<s32>(frame), 255, -1, -1);
        for (u32 index = 0; shown != nullptr && index < shown->getMeshBufferCount(); ++index)
            ClearPositions(shown->getMeshBuffer(index));
    }
}

bool CMeshDescription::Describe(scene::IAnimatedMesh* mesh, std::string& bytes, std::string& reason)
{
    CWireWriter out;
    out.U32(kMagic);
    out.U32(kVersion);
    const bool skinned = mesh->getMeshType() == scene::EAMT_SKINNED;
    out.U8(skinned ? kSkinned : kFrames);
    out.U32(static_cast<u32>(mesh->getMeshType()));
    out.F32(mesh->getAnimationSpeed());
    if (skinned)
    {
        Skinned(out, static_cast<scene::ISkinnedMesh*>(mesh));
    }
    else
    {
        // A mesh without frames (Irrlicht's COLLADA loader makes one of a
        // file that holds only cameras or lights) is described so.
        const u32 frames = mesh->getFrameCount() > 0                  ? mesh->getFrameCount()
                           : mesh->getMesh(0, 255, -1, -1) != nullptr ? 1
                                                                      : 0;
        out.U32(frames);
        for (u32 frame = 0; frame < frames; ++frame)
        {
            scene::IMesh* shown = mesh->getMesh(static_cast<s32>(frame), 255, -1, -1);
            const u32 count = shown != nullptr ? shown->getMeshBufferCount() : 0;
            out.U32(count);
            for (u32 index = 0; index < count; ++index)
                Buffer(out, shown->getMeshBuffer(index));
            if (out.Bytes().size() > kMaxBytes)
                break;
        }
    }
    if (out.Bytes().size() > kMaxBytes)
    {
        reason = "the mesh's description is larger than " + std::to_string(kMaxBytes) + " bytes";
        return false;
    }
    bytes = std::move(out.Bytes());
    return true;
}

} // namespace Graphics
