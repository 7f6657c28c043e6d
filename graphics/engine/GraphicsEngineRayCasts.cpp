// The graphics engine's rays: the segment through a screen position, and
// segments cast against the nodes' bounding boxes or against the triangles
// of chosen entities.

#include "graphics/engine/GraphicsEngine.h"

#include "graphics/scene/GraphicalEntity.h"
#include "irrlicht/IrrlichtConversions.h"

#include <irrlicht.h>

#include <cmath>
#include <vector>

namespace Graphics
{

using namespace irr;

namespace
{

// Brings the absolute transformations of the node and its ancestors up to
// date, root first: entities moved since the last frame are found where
// they are now.
void UpdateAbsoluteChain(scene::ISceneNode* node)
{
    std::vector<scene::ISceneNode*> chain;
    for (scene::ISceneNode* step = node; step != nullptr; step = step->getParent())
        chain.push_back(step);
    for (auto step = chain.rbegin(); step != chain.rend(); ++step)
        (*step)->updateAbsolutePosition();
}

// The camera's view frustum as the camera stands now. Irrlicht refreshes
// its own only when the camera draws, so a camera moved since the last
// frame, or carried by an entity that moved, would cast from where it was.
scene::SViewFrustum CurrentFrustum(scene::ICameraSceneNode* camera)
{
    UpdateAbsoluteChain(camera);
    const core::vector3df position = camera->getAbsolutePosition();
    const core::vector3df& target = camera->getTarget();
    core::vector3df up = camera->getUpVector();
    up.normalize();
    core::vector3df direction = target - position;
    direction.normalize();
    // An up vector along the view has no plane with it: tilted a little,
    // as the camera does when it draws.
    if (core::equals(std::fabs(direction.dotProduct(up)), 1.0f))
        up.X += 0.5f;
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(position, target, up);
    view *= camera->getViewMatrixAffector();
    core::matrix4 projectionView(core::matrix4::EM4CONST_NOTHING);
    projectionView.setbyproduct_nocheck(camera->getProjectionMatrix(), view);
    scene::SViewFrustum frustum;
    frustum.setFrom(projectionView);
    frustum.cameraPosition = position;
    return frustum;
}

// Node kinds a box cast never hits.
bool IsRayCandidate(scene::ESCENE_NODE_TYPE type)
{
    return type != scene::ESNT_EMPTY && type != scene::ESNT_DUMMY_TRANSFORMATION &&
           type != scene::ESNT_SKY_BOX && type != scene::ESNT_SHADOW_VOLUME && type != scene::ESNT_UNKNOWN;
}

// Walks the nodes below the node as CollectRayHits describes and hands
// each hit to the sink as (distance, node), in the order of the walk.
template <class Sink>
void WalkRayHits(scene::ISceneNode* node, const CVector& start, const CVector& end, uint32_t filter,
                 Sink&& sink)
{
    if (node == nullptr)
        return;
    const core::line3df segment(ToIrrlicht(start), ToIrrlicht(end));
    // Depth first in child order, without recursion: deep attachment trees
    // must not use up the stack. Children go on the stack last first.
    std::vector<scene::ISceneNode*> pending;
    auto pushChildren = [&pending](scene::ISceneNode* parent)
    {
        const core::list<scene::ISceneNode*>& children = parent->getChildren();
        for (auto child = children.getLast(); child != children.end(); --child)
            pending.push_back(*child);
    };
    UpdateAbsoluteChain(node);
    pushChildren(node);
    while (!pending.empty())
    {
        scene::ISceneNode* child = pending.back();
        pending.pop_back();
        // Parents come first, so each node is placed as it stands now.
        child->updateAbsolutePosition();
        const u32 id = static_cast<u32>(child->getID());
        if (child->isVisible() && !child->isDebugObject() && IsRayCandidate(child->getType()) &&
            (filter == 0 || (id & filter) == id))
        {
            const core::aabbox3df box = child->getTransformedBoundingBox();
            const float distance =
                CGraphicsEngine::GetBoxHitDistance(ToVector(box.MinEdge), ToVector(box.MaxEdge), start, end);
            if (distance > 0.0f && box.intersectsWithLine(segment))
                sink(distance, child);
        }
        // Hidden, filtered and debug nodes are walked through as well.
        pushChildren(child);
    }
}

} // namespace

bool CGraphicsEngine::GetRayFromScreenPos(float x, float y, IFrameCamera* camera, CVector& start,
                                          CVector& end, bool orthogonal) const
{
    if (m_device == nullptr || camera == nullptr)
        return false;
    scene::ICameraSceneNode* node = camera->GetCameraNode();
    if (node == nullptr)
        return false;
    const scene::SViewFrustum frustum = CurrentFrustum(node);
    const core::vector3df farLeftUp = frustum.getFarLeftUp();
    const core::vector3df leftToRight = frustum.getFarRightUp() - farLeftUp;
    const core::vector3df upToDown = frustum.getFarLeftDown() - farLeftUp;
    // The position within the camera's part of the screen.
    const CRect viewPort = camera->GetViewPort();
    const float u = (x - viewPort.x1) / std::fabs(viewPort.x2 - viewPort.x1);
    const float v = (y - viewPort.y1) / std::fabs(viewPort.y2 - viewPort.y1);
    const core::vector3df farPoint = farLeftUp + leftToRight * u + upToDown * v;
    core::vector3df nearPoint = frustum.cameraPosition;
    // An orthogonal view casts parallel rays: from under the position on
    // the camera's plane, the viewport's centre being the camera itself.
    if (orthogonal)
        nearPoint += leftToRight * (u - 0.5f) + upToDown * (v - 0.5f);
    start = ToVector(nearPoint);
    end = ToVector(farPoint);
    return true;
}

bool CGraphicsEngine::GetRayFromMousePosition(IFrameCamera* camera, CVector& start, CVector& end,
                                              bool orthogonal) const
{
    const CPoint cursor = GetCursorPosition();
    return GetRayFromScreenPos(cursor.x, cursor.y, camera, start, end, orthogonal);
}

float CGraphicsEngine::GetBoxHitDistance(const CVector& minimum, const CVector& maximum, const CVector& start,
                                         const CVector& end)
{
    const float low[3] = {minimum.x, minimum.y, minimum.z};
    const float high[3] = {maximum.x, maximum.y, maximum.z};
    const float origin[3] = {start.x, start.y, start.z};
    const float direction[3] = {end.x - start.x, end.y - start.y, end.z - start.z};
    const float length =
        std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] + direction[2] * direction[2]);
    float nearest = -1.0f;
    // The six faces, each two triangles of the box's twelve: a face counts
    // when it has an area and looks against the ray (its outward normal
    // against the direction), and the ray meets it ahead of its start.
    for (int axis = 0; axis < 3; ++axis)
    {
        const int b = (axis + 1) % 3;
        const int c = (axis + 2) % 3;
        if (!(high[b] - low[b] > 0.0f) || !(high[c] - low[c] > 0.0f))
            continue;
        for (const bool maximumSide : {false, true})
        {
            const float facing = maximumSide ? direction[axis] : -direction[axis];
            if (!(facing < 0.0f))
                continue;
            const float plane = maximumSide ? high[axis] : low[axis];
            const float t = (plane - origin[axis]) / direction[axis];
            if (!(t > 0.0f))
                continue;
            const float pb = origin[b] + t * direction[b];
            const float pc = origin[c] + t * direction[c];
            if (!(pb >= low[b] && pb <= high[b] && pc >= low[c] && pc <= high[c]))
                continue;
            const float distance = t * length;
            if (nearest < 0.0f || distance < nearest)
                nearest = distance;
        }
    }
    return nearest;
}

void CGraphicsEngine::CollectRayHits(scene::ISceneNode* node, const CVector& start, const CVector& end,
                                     uint32_t filter, CRayHitList& hits)
{
    WalkRayHits(node, start, end, filter,
                [&hits](float distance, scene::ISceneNode* hit) { hits.Insert(distance, hit->getName()); });
}

bool CGraphicsEngine::RayCastFilter(const CVector& start, const CVector& end, uint32_t filter,
                                    std::string& name) const
{
    if (m_device == nullptr)
        return false;
    // Only the nearest hit is kept; of equally near ones the first found,
    // as in the sorted list.
    scene::ISceneNode* nearest = nullptr;
    float nearestDistance = 0.0f;
    WalkRayHits(m_device->getSceneManager()->getRootSceneNode(), start, end, filter,
                [&](float distance, scene::ISceneNode* hit)
                {
                    if (nearest == nullptr || distance < nearestDistance)
                    {
                        nearest = hit;
                        nearestDistance = distance;
                    }
                });
    if (nearest == nullptr)
        return false;
    name = nearest->getName();
    return true;
}

bool CGraphicsEngine::RayCastAll(const CVector& start, const CVector& end, uint32_t filter,
                                 CRayHitList& hits) const
{
    if (m_device == nullptr)
        return false;
    CollectRayHits(m_device->getSceneManager()->getRootSceneNode(), start, end, filter, hits);
    return !hits.IsEmpty();
}

bool CGraphicsEngine::RayCastPolygon(const CVector& start, const CVector& end,
                                     const std::vector<Scene::CGraphicalEntity*>& entities, CRayHitList& hits,
                                     bool rebuild)
{
    if (m_device == nullptr)
        return !hits.IsEmpty();
    scene::ISceneManager* scene = m_device->getSceneManager();
    scene::ISceneCollisionManager* collisions = scene->getSceneCollisionManager();
    const core::line3df segment(ToIrrlicht(start), ToIrrlicht(end));
    for (Scene::CGraphicalEntity* entity : entities)
    {
        if (entity == nullptr)
            continue;
        ForgetStaleNode(entity);
        scene::ISceneNode* node = entity->GetSceneNode();
        if (node == nullptr)
            continue;
        if (node->getTriangleSelector() == nullptr || rebuild)
        {
            scene::ITriangleSelector* selector = nullptr;
            scene::IMesh* mesh = entity->GetMesh();
            if (node->getType() == scene::ESNT_TERRAIN)
                selector =
                    scene->createTerrainTriangleSelector(static_cast<scene::ITerrainSceneNode*>(node), 0);
            else if (node->getType() == scene::ESNT_OCTREE && mesh != nullptr)
                selector = scene->createOctreeTriangleSelector(mesh, node, 32);
            else if (mesh != nullptr)
                selector = scene->createTriangleSelector(mesh, node);
            else
                selector = scene->createTriangleSelectorFromBoundingBox(node);
            if (selector != nullptr)
            {
                node->setTriangleSelector(selector);
                selector->drop();
            }
        }
        scene::ITriangleSelector* selector = node->getTriangleSelector();
        if (selector == nullptr)
            continue;
        UpdateAbsoluteChain(node);
        core::vector3df point;
        core::triangle3df triangle;
        scene::ISceneNode* hitNode = nullptr;
        if (collisions->getCollisionPoint(segment, selector, point, triangle, hitNode))
            hits.Insert(static_cast<float>(point.getDistanceFrom(ToIrrlicht(start))), entity->GetId());
    }
    return !hits.IsEmpty();
}

} // namespace Graphics
