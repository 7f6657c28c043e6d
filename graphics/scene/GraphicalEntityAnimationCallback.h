#pragma once

#include <IAnimatedMeshSceneNode.h>

namespace Graphics
{

namespace Scene
{
class CGraphicalEntity;
}

// Tells the system when a non-looping animation of an entity's node ends:
// sets its ended flag and publishes AnimationComplete with the entity's id.
// Irrlicht's nodes hold it by reference count, so it is dropped, never
// deleted; an entity that goes away first cuts the link with ReleaseOwner.
class CGraphicalEntityAnimationCallback : public irr::scene::IAnimationEndCallBack
{
public:
    explicit CGraphicalEntityAnimationCallback(Scene::CGraphicalEntity* owner) : m_owner(owner) {}

    void OnAnimationEnd(irr::scene::IAnimatedMeshSceneNode* node) override;

    // Nodes still holding the callback report nothing from now on.
    void ReleaseOwner() { m_owner = nullptr; }
    bool HasEnded() const { return m_ended; }
    void SetEnded(bool ended) { m_ended = ended; }
    // The node it was last given to.
    irr::scene::IAnimatedMeshSceneNode* GetInstalledNode() const { return m_installedNode; }
    void SetInstalledNode(irr::scene::IAnimatedMeshSceneNode* node) { m_installedNode = node; }

private:
    Scene::CGraphicalEntity* m_owner;
    bool m_ended = false;
    irr::scene::IAnimatedMeshSceneNode* m_installedNode = nullptr;
};

} // namespace Graphics
