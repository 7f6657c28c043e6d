#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace irr::scene
{
class IAnimatedMesh;
class ISceneManager;
} // namespace irr::scene

namespace Graphics
{

// A mesh as a flat description: what the model reader process sends back
// after Irrlicht's loader has read a file, and what the engine rebuilds the
// mesh from with Irrlicht's public interface. Two kinds:
// - frames: one mesh per frame (every mesh that is not skinned);
// - skinned: the buffers in their rest pose and the joints (name, parent,
//   matrices, position, rotation and scale keys, weights, attached
//   buffers).
// Both carry the animation speed and Irrlicht's mesh type; every buffer
// carries its vertex layout, vertices, indices and material, the material
// its textures by name.
class CMeshDescription
{
public:
    // The largest description the engine reads.
    static constexpr size_t kMaxBytes = 256u * 1024 * 1024;
    // The first words of a description ("HVMD" and the form's version).
    static constexpr uint32_t kMagic = 0x444d5648;
    static constexpr uint32_t kVersion = 1;
    // The two kinds.
    static constexpr uint8_t kFrames = 0;
    static constexpr uint8_t kSkinned = 1;
    // Longest texture or joint name.
    static constexpr uint32_t kMaxName = 4096;

    // Vertex positions that are not finite become the origin. Irrlicht's
    // COLLADA loader takes some positions from past the data it read (what
    // memory holds there); such a vertex would otherwise refuse the whole
    // mesh, or not, by chance.
    static void ClearUnreadablePositions(irr::scene::IAnimatedMesh* mesh);

    // The description of the mesh; false (with the reason) when it cannot
    // be described within kMaxBytes.
    static bool Describe(irr::scene::IAnimatedMesh* mesh, std::string& bytes, std::string& reason);

    // The mesh the description gives, built through the scene manager (the
    // caller drops it); textures are loaded by name through the video
    // driver. Nothing of the description is trusted: every count is checked
    // against the bytes left, every index against what it indexes (vertex
    // indices, the buffers and vertices of weights, attached buffers), a
    // joint's parent comes before it, floats are finite (normals and texture
    // coordinates that are not read as 0) and enumerations in range. Null with the reason when the
    // description fails a check.
    static irr::scene::IAnimatedMesh* Rebuild(irr::scene::ISceneManager* scene, std::string_view bytes,
                                              std::string& reason);
};

} // namespace Graphics
