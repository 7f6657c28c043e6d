#pragma once

#include "gui/manager/GuiElementIndex.h"
#include "gui/manager/IGuiElementTree.h"

#include <cstdint>
#include <memory_resource>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

// The names and ids of the GUI's elements, and the lookups of elements by
// either. Every element the GUI manager creates gets a unique name beside
// its numeric id; scripts address elements by name. Ids are handed out
// free (no element below the root carries them), names map to ids and back,
// and the elements of ids are found through an index that gives the same
// first hit as a depth-first search of the tree.
//
// Errors name the GUI manager's methods: the manager forwards to these.
class CGuiElementRegistry
{
public:
    explicit CGuiElementRegistry(IGuiElementTree& tree) : m_tree(tree) {}
    CGuiElementRegistry(const CGuiElementRegistry&) = delete;
    CGuiElementRegistry& operator=(const CGuiElementRegistry&) = delete;

    // The first id, from the requested one upward (a random start for 0),
    // then from the lowest id up to it, that no element has; 2147483647 is
    // never handed out.
    int32_t GetNextAvailableId(int32_t requested);
    // Gives the name an id. A name in use publishes the name conflict event
    // (type 100) with the candidate name + "::" + a fresh UUID; when a
    // subscriber handles it, the id takes the candidate, else the name moves
    // to the new id (the older one keeps its id-to-name entry).
    int32_t RegisterElementName(const std::wstring& name, int32_t requestedId);
    void SetElementName(const std::wstring& name, int32_t id);
    // Forgets the id's name; false when it had none.
    bool RemoveElementName(int32_t id);
    // Gives the id the new name; answers the name it had ("" for none).
    std::wstring RenameElement(int32_t id, const std::wstring& newName);
    std::wstring GetElementName(int32_t id, bool throwIfMissing) const;
    // The name registered for the id, or null.
    /// Owned by the registry, valid until the id's name changes or goes or the registry is cleared.
    const std::pmr::wstring* FindElementName(int32_t id) const;
    int32_t GetElementId(const std::wstring& name, bool throwIfMissing) const;
    // The id of the name when the id still carries that name; null else.
    /// Owned by the registry, valid until the name changes or goes or the registry is cleared.
    const int32_t* FindNamedId(const std::wstring& name) const;

    // The element with the id below the GUI parent, else below the root;
    // the element of the name, the empty name being the GUI parent.
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetElement(int32_t id, bool throwIfMissing);
    irr::gui::IGUIElement* GetElement(const std::wstring& name, bool throwIfMissing);

    // An element has been given the id outside RegisterElementName.
    void NoteElementId(int32_t id);
    // An element is leaving the GUI (a child of the root, or not).
    void NoteRemoval(bool rootChild) { m_index.NoteRemoval(rootChild); }
    // Forgets every name and what the index holds.
    void Clear();
    // The GUI's root element, null without a GUI (the caller clears first).
    void SetRoot(irr::gui::IGUIElement* root) { m_root = root; }

private:
    // The element of the id through the index, else by the search.
    /// The element finders answer elements the GUI environment owns (not to be dropped).
    irr::gui::IGUIElement* FindElement(int32_t id);
    // The search: the GUI parent, below it, the root, below the root.
    irr::gui::IGUIElement* SearchElement(int32_t id);
    // Depth-first search for the id below start (itself not included).
    static irr::gui::IGUIElement* FindElementById(irr::gui::IGUIElement* start, int32_t id);
    // Whether an element has the id, for GetNextAvailableId: ids outside
    // those in use are free without a search.
    bool IsIdInUse(int32_t id);

    IGuiElementTree& m_tree;
    irr::gui::IGUIElement* m_root = nullptr;
    // The maps' entries and the names' texts: pooled, so that a GUI of
    // thousands of elements takes them from a few blocks that outlive a
    // clear, and leaves no litter between the elements' own allocations (a
    // small allocation is slow to find in a heap that a clear has just
    // filled with freed elements, and a text kept in that heap keeps the
    // freed elements from merging again).
    std::pmr::unsynchronized_pool_resource m_entries;
    // Looked up and filled for every element a layout loads, and for every
    // GUI event: hashed. Each name is held once, by the id it belongs to;
    // the name's key views it.
    std::pmr::unordered_map<std::wstring_view, int32_t> m_nameToId{&m_entries};
    std::pmr::unordered_map<int32_t, std::pmr::wstring> m_idToName{&m_entries};
    // FindElementName's last answer; reset whenever m_idToName changes.
    struct SNameFound
    {
        int32_t id = 0;
        const std::pmr::wstring* name = nullptr;
    };
    mutable SNameFound m_lastNameFound;
    // Lookups by id, and the ids that may be in use, without a walk of the
    // tree: a GUI of thousands of elements is built and addressed by name.
    CGuiElementIndex m_index;
};

} // namespace Graphics::GUI
