#pragma once

#include "gui/manager/GuiIdSet.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

// Answers the GUI manager's lookups by id without walking the element tree.
//
// The manager hands each id to one element (it asks for a free one first),
// so the element a depth-first search found for an id stays its answer as
// long as that element still carries the id and hangs below the root: no
// other element can come before it in the search with the same id. Entries
// are remembered from searches and checked on every use; one that fails the
// check is let go and the caller searches again. Entries hold their
// elements, so a check never touches freed memory.
//
// Beside them it keeps the ids that may be in use below the root, for the
// search for a free id: those it found by one walk of the tree, and every
// id handed out or given to an element since. An id outside them is free
// without a search. Ids leave it only when a search has found them free,
// or when the walk is redone.
class CGuiElementIndex
{
public:
    CGuiElementIndex() = default;
    ~CGuiElementIndex();
    CGuiElementIndex(const CGuiElementIndex&) = delete;
    CGuiElementIndex& operator=(const CGuiElementIndex&) = delete;

    // Whether lookups of the id may use the index. The root carries 0 and
    // the library's own parts -1, so those ids name many elements and are
    // always searched.
    static bool IsIndexable(int32_t id) { return id != 0 && id != -1; }

    // The element remembered for the id when it still answers to the id
    // (an element with the id, or a menu with an item of that command id)
    // and hangs below the root; else null, and a stale entry goes.
    /// Not to be dropped: the GUI environment owns the element; the index holds no reference.
    irr::gui::IGUIElement* Find(int32_t id, const irr::gui::IGUIElement* root);
    // Remembers a search's first hit for the id.
    void Remember(int32_t id, irr::gui::IGUIElement* element, const irr::gui::IGUIElement* root);
    void Forget(int32_t id);

    // Brings the ids in use up to date with the root's children: those
    // added at its end since are gathered. False when they are not known,
    // or the root's children changed otherwise; then GatherIds walks the
    // tree for them, and the caller notes the ids it has handed out for
    // elements still to be made. Elements added below other elements are
    // seen only through the ids they were given (NoteId).
    bool CatchUp(irr::gui::IGUIElement* root);
    void GatherIds(irr::gui::IGUIElement* root);
    // False when no element below the root can carry the id: known ids only.
    bool MayBeInUse(int32_t id) const { return m_ids.Contains(id); }
    // An element has been given the id (or is about to be).
    void NoteId(int32_t id);
    // A search found no element with the id.
    void NoteFree(int32_t id);
    // An element has left the GUI (a child of the root, or not). Its ids
    // stay among those in use (another element may share one); after many
    // removals the ids are gathered afresh.
    void NoteRemoval(bool rootChild);

    // Lets go of every entry and of the ids in use.
    void Clear();

private:
    // Lets go of the entries whose elements have left the GUI.
    void Sweep(const irr::gui::IGUIElement* root);
    static bool IsBelow(const irr::gui::IGUIElement* element, const irr::gui::IGUIElement* root);
    static bool AnswersTo(irr::gui::IGUIElement* element, int32_t id);
    static void CollectIds(irr::gui::IGUIElement* start, CGuiIdSet& ids);
    // Marks the root's last child, and how many it has, as seen.
    void MarkRootChildren(irr::gui::IGUIElement* root);
    void ForgetIds();

    // Each element held.
    std::unordered_map<int32_t, irr::gui::IGUIElement*> m_elements;
    // Past this many entries the detached ones are let go.
    size_t m_sweepAt = kMinimumSweep;
    static constexpr size_t kMinimumSweep = 256;

    CGuiIdSet m_ids;
    bool m_idsKnown = false;
    size_t m_removals = 0;
    static constexpr size_t kMinimumRegather = 256;
    // The root's last child when the ids were last brought up to date
    // (held, so that no later element can be taken for it), and the number
    // of children the root should have now.
    irr::gui::IGUIElement* m_lastRootChild = nullptr;
    size_t m_rootChildren = 0;
};

} // namespace Graphics::GUI
