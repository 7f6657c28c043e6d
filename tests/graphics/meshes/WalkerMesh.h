#pragma once

#include <irrlicht.h>

#include <utility>

// A skinned mesh of 20 frames with the joints "root" and "hand"; the hand
// rises from y = 2 at frame 0 to y = 4 at frame 20 (3 at frame 10). One triangle on
// the root gives it a shape. Cached under the name "walker.x".
inline void CacheWalker(irr::scene::ISceneManager* scene)
{
    irr::scene::ISkinnedMesh* mesh = scene->createSkinnedMesh();
    irr::scene::SSkinMeshBuffer* buffer = mesh->addMeshBuffer();
    const irr::video::SColor white(255, 255, 255, 255);
    buffer->Vertices_Standard.push_back(irr::video::S3DVertex(0, 0, 0, 0, 0, -1, white, 0, 0));
    buffer->Vertices_Standard.push_back(irr::video::S3DVertex(1, 0, 0, 0, 0, -1, white, 1, 0));
    buffer->Vertices_Standard.push_back(irr::video::S3DVertex(0, 1, 0, 0, 0, -1, white, 0, 1));
    for (irr::u16 index : {0, 1, 2})
        buffer->Indices.push_back(index);
    buffer->recalculateBoundingBox();
    irr::scene::ISkinnedMesh::SJoint* root = mesh->addJoint(nullptr);
    root->Name = "root";
    for (irr::u32 vertex = 0; vertex < 3; ++vertex)
    {
        irr::scene::ISkinnedMesh::SWeight* weight = mesh->addWeight(root);
        weight->buffer_id = 0;
        weight->vertex_id = vertex;
        weight->strength = 1.0f;
    }
    irr::scene::ISkinnedMesh::SJoint* hand = mesh->addJoint(root);
    hand->Name = "hand";
    for (const auto& [frame, y] : {std::pair{0.0f, 2.0f}, std::pair{20.0f, 4.0f}})
    {
        irr::scene::ISkinnedMesh::SPositionKey* key = mesh->addPositionKey(hand);
        key->frame = frame;
        key->position.set(0, y, 0);
    }
    mesh->setAnimationSpeed(10.0f);
    mesh->finalize();
    scene->getMeshCache()->addMesh("walker.x", mesh);
    mesh->drop();
}
