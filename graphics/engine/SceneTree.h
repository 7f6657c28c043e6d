#pragma once

// What the graphics engine keeps of its scene's tree, so that taking nodes
// out and asking whether a node still hangs below the root cost the same
// however large or deep the scene is.
//
// Irrlicht takes a node out of its parent by searching the parent's list of
// children from the front, so removing the entities of a large scene in
// any other order than they were added costs the square of their number. A
// node found near the front goes at once; any other is emptied (its own
// children cut off), hidden, unnamed and left in its parent's list, and a
// parent's left nodes all go in one pass over its list once they are a
// good part of it. Until then they are inert: no walk of the scene that
// the engine makes (drawing, animating, ray casts, saving the attachment
// tree, lookups by name) sees a hidden node without a name.
//
// Whether a node hangs below the root is answered by walking up from it;
// what a walk learns is kept until the tree may have lost a node
// (Changed), so that building a long chain of entities is not quadratic.

#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace irr::scene
{
class ISceneNode;
}

namespace Graphics
{

class CSceneTree
{
public:
    CSceneTree() = default;
    CSceneTree(const CSceneTree&) = delete;
    CSceneTree& operator=(const CSceneTree&) = delete;
    ~CSceneTree() { Release(); }

    // Takes the node out of its parent (nothing without one), as
    // ISceneNode::remove does.
    void Remove(irr::scene::ISceneNode* node);
    // Every node left in a list goes now.
    void Sweep();
    // Lets go of the nodes left in lists without touching the lists: the
    // scene is being cleared or its device goes.
    void Release();
    // True when the node hangs below the root, the root included.
    bool Reaches(const irr::scene::ISceneNode* node, const irr::scene::ISceneNode* root);
    // The tree may have lost nodes: what the walks learnt is forgotten.
    void Changed() { m_reached.clear(); }

private:
    void Sweep(irr::scene::ISceneNode* parent, std::vector<irr::scene::ISceneNode*>& left);

    // The nodes left in each parent's list; both are held.
    std::unordered_map<irr::scene::ISceneNode*, std::vector<irr::scene::ISceneNode*>> m_byParent;
    std::unordered_set<const irr::scene::ISceneNode*> m_left;
    // Nodes known to hang below the root since the last change.
    std::unordered_set<const irr::scene::ISceneNode*> m_reached;
};

} // namespace Graphics
