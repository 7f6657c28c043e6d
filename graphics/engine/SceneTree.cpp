#include "graphics/engine/SceneTree.h"

#include <irrlicht.h>

namespace Graphics
{

using namespace irr;

namespace
{

// How many children from the front of a list a removal searches before it
// leaves the node for a sweep.
constexpr int kFrontSearch = 16;
// A parent's left nodes go once there are this many and they make up half
// of its list: each pass is paid for by the removals before it, and a frame
// sweeps what is left anyway.
constexpr size_t kSweepAtLeast = 64;
constexpr size_t kSweepShare = 2;

// A node's list of children and its parent link, which Irrlicht keeps to
// its nodes: a sweep takes many nodes out of one list in one pass.
struct CNodeInternals : scene::ISceneNode
{
    static core::list<scene::ISceneNode*>& ListOf(scene::ISceneNode& node)
    {
        return node.*(&CNodeInternals::Children);
    }
    static void Unparent(scene::ISceneNode& node) { node.*(&CNodeInternals::Parent) = nullptr; }
};

} // namespace

void CSceneTree::Remove(scene::ISceneNode* node)
{
    if (node == nullptr)
        return;
    Changed();
    scene::ISceneNode* parent = node->getParent();
    if (parent == nullptr)
        return;
    const core::list<scene::ISceneNode*>& children = parent->getChildren();
    int searched = 0;
    for (auto at = children.begin(); at != children.end() && searched < kFrontSearch; ++at, ++searched)
    {
        if (*at == node)
        {
            node->remove();
            // What is left in the list may now be left nodes only.
            const auto left = m_byParent.find(parent);
            if (left != m_byParent.end() && left->second == children.getSize())
            {
                Sweep(parent, left->second);
                m_byParent.erase(left);
            }
            return;
        }
    }
    // Left in the list, inert: what hangs below it goes now, as it would
    // with the node; nodes left in its own list first, so that the count
    // of them stays true.
    if (const auto own = m_byParent.find(node); own != m_byParent.end())
    {
        Sweep(node, own->second);
        m_byParent.erase(own);
    }
    node->removeAll();
    node->removeAnimators();
    node->setVisible(false);
    node->setName("");
    node->setID(-1);
    node->grab();
    size_t& left = m_byParent[parent];
    if (left++ == 0)
        parent->grab();
    m_left.insert(node);
    // A list of nothing but left nodes goes too: an emptied scene keeps none.
    if (left == children.getSize() || (left >= kSweepAtLeast && left * kSweepShare >= children.getSize()))
    {
        Sweep(parent, left);
        m_byParent.erase(parent);
    }
}

void CSceneTree::Sweep(scene::ISceneNode* parent, size_t left)
{
    core::list<scene::ISceneNode*>& children = CNodeInternals::ListOf(*parent);
    // The walk ends at the last left node.
    for (auto at = children.begin(); at != children.end() && left > 0;)
    {
        scene::ISceneNode* child = *at;
        const auto found = m_left.find(child);
        if (found == m_left.end())
        {
            ++at;
            continue;
        }
        m_left.erase(found);
        --left;
        // What ISceneNode::removeChild does with one child, and the hold
        // taken when it was left.
        at = children.erase(at);
        CNodeInternals::Unparent(*child);
        child->drop();
        child->drop();
    }
    parent->drop();
}

void CSceneTree::Sweep()
{
    for (auto& [parent, left] : m_byParent)
        Sweep(parent, left);
    m_byParent.clear();
}

void CSceneTree::Release()
{
    Changed();
    for (scene::ISceneNode* node : m_left)
        node->drop();
    for (auto& [parent, left] : m_byParent)
        parent->drop();
    m_byParent.clear();
    m_left.clear();
}

bool CSceneTree::Reaches(const scene::ISceneNode* node, const scene::ISceneNode* root)
{
    std::vector<const scene::ISceneNode*> path;
    bool learnt = true;
    for (const scene::ISceneNode* step = node; step != nullptr; step = step->getParent())
    {
        if (step == root || m_reached.count(step) != 0)
        {
            // A node on a joint is not kept: Irrlicht may take joints away
            // by itself when the mesh changes.
            if (learnt && path.size() > 1)
                m_reached.insert(path.begin(), path.end());
            return true;
        }
        if (dynamic_cast<const scene::IBoneSceneNode*>(step) != nullptr)
            learnt = false;
        path.push_back(step);
    }
    return false;
}

} // namespace Graphics
