#include "gui/manager/GuiElementRegistry.h"

#include "core/events/GuiEventType.h"
#include "core/events/Multicast.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Uuid.h"
#include "gui/elements/GuiElementKinds.h"

#include <irrlicht.h>

#include <climits>
#include <cstdlib>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

int32_t CGuiElementRegistry::GetNextAvailableId(int32_t requested)
{
    // The pseudo-random generator is seeded once at start-up.
    const int32_t start = requested != 0 ? requested : static_cast<int32_t>(std::rand());
    for (int64_t id = start; id < INT32_MAX; ++id)
    {
        if (!IsIdInUse(static_cast<int32_t>(id)))
            return static_cast<int32_t>(id);
    }
    for (int64_t id = INT32_MIN; id < start; ++id)
    {
        if (!IsIdInUse(static_cast<int32_t>(id)))
            return static_cast<int32_t>(id);
    }
    throw Misc::Error::CKVOError(L"[CGuiManager::GetNextAvailableId] No gui element ids available");
}

bool CGuiElementRegistry::IsIdInUse(int32_t id)
{
    gui::IGUIElement* root = m_root;
    if (root == nullptr)
        return FindElement(id) != nullptr;
    // Each new element asks for a free id: the ids in use answer without a
    // walk of the tree. They were gathered from the tree, and every id
    // handed out or given to an element since is among them, as are those
    // of elements made at the root beside the manager.
    if (!m_index.CatchUp(root))
    {
        m_index.GatherIds(root);
        // Ids handed out for elements still to be made count as in use.
        for (const auto& named : m_idToName)
            m_index.NoteId(named.first);
    }
    if (CGuiElementIndex::IsIndexable(id) && !m_index.MayBeInUse(id))
        return false;
    return FindElement(id) != nullptr;
}

int32_t CGuiElementRegistry::RegisterElementName(const std::wstring& name, int32_t requestedId)
{
    std::wstring candidate;
    bool takeCandidate = false;
    if (GetElement(name, false) != nullptr)
    {
        // The candidate is the name the new element takes when a subscriber
        // takes the conflict on: the event tells it the name to use.
        candidate = name + L"::" + Misc::Text::Utf8ToWide(CUuid().GetId());
        const uint64_t generation = m_tree.GetGeneration();
        takeCandidate = CMulticastOf<Kind::Gui>::Publish(
            CGuiEvent{m_tree.GetEventSource(), candidate, kGuiIdConflict, 0});
        // The caller goes on building in the GUI it had.
        if (m_tree.GetGeneration() != generation)
            throw Misc::Error::CKVOError::Format(
                L"[CGuiManager::RegisterElementName] The GUI was cleared while adding gui element:%s",
                name.c_str());
    }
    const int32_t id = GetNextAvailableId(requestedId);
    SetElementName(takeCandidate ? candidate : name, id);
    return id;
}

void CGuiElementRegistry::SetElementName(const std::wstring& name, int32_t id)
{
    // A named id is in use from now on, also before its element is made.
    m_index.NoteId(id);
    // An id has one name: the one it had before (left by an element that
    // closed itself) no longer leads to it.
    const auto [entry, added] = m_idToName.try_emplace(id);
    if (added)
    {
        entry->second.assign(name);
    }
    else if (std::wstring_view(entry->second) != name)
    {
        const auto named = m_nameToId.find(entry->second);
        if (named != m_nameToId.end() && named->second == id)
            m_nameToId.erase(named);
        entry->second.assign(name);
    }
    // The key is the text held for the id the name leads to, so it lives
    // as long as the entry: a name that moves on to this id takes it.
    const std::wstring_view key = entry->second;
    const auto [named, inserted] = m_nameToId.try_emplace(key, id);
    if (!inserted)
    {
        auto node = m_nameToId.extract(named);
        node.key() = key;
        node.mapped() = id;
        m_nameToId.insert(std::move(node));
    }
    m_lastNameFound = {};
}

bool CGuiElementRegistry::RemoveElementName(int32_t id)
{
    const auto found = m_idToName.find(id);
    if (found == m_idToName.end())
        return false;
    // After a name conflict the name may have moved on to a newer element:
    // it stays with that one.
    const auto named = m_nameToId.find(found->second);
    if (named != m_nameToId.end() && named->second == id)
        m_nameToId.erase(named);
    m_idToName.erase(found);
    m_lastNameFound = {};
    m_index.Forget(id);
    return true;
}

std::wstring CGuiElementRegistry::RenameElement(int32_t id, const std::wstring& newName)
{
    std::wstring oldName = GetElementName(id, false);
    RemoveElementName(id);
    SetElementName(newName, id);
    return oldName;
}

std::wstring CGuiElementRegistry::GetElementName(int32_t id, bool throwIfMissing) const
{
    const std::pmr::wstring* name = FindElementName(id);
    if (name != nullptr)
        return std::wstring(*name);
    if (throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementName] Cannot find gui element:%i", id);
    return std::wstring();
}

const std::pmr::wstring* CGuiElementRegistry::FindElementName(int32_t id) const
{
    // Events of one element come in runs (press, release, click): the last
    // name found answers without a lookup until the names change.
    if (m_lastNameFound.name != nullptr && m_lastNameFound.id == id)
        return m_lastNameFound.name;
    const auto found = m_idToName.find(id);
    if (found == m_idToName.end())
        return nullptr;
    m_lastNameFound = {id, &found->second};
    return &found->second;
}

const int32_t* CGuiElementRegistry::FindNamedId(const std::wstring& name) const
{
    // Elements that close themselves (message boxes, dialogs) leave their
    // names behind, and their ids are handed out again: a name counts only
    // while its id still carries it. The map keeps to that by itself: each
    // key views the text its id holds, and an id that takes another name
    // (or none) takes its old key out first.
    const auto found = m_nameToId.find(name);
    return found == m_nameToId.end() ? nullptr : &found->second;
}

int32_t CGuiElementRegistry::GetElementId(const std::wstring& name, bool throwIfMissing) const
{
    const int32_t* id = FindNamedId(name);
    if (id != nullptr)
        return *id;
    if (throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementId] Gui element not found: %s",
                                             name.c_str());
    return 0;
}

gui::IGUIElement* CGuiElementRegistry::GetElement(int32_t id, bool throwIfMissing)
{
    gui::IGUIElement* found = FindElement(id);
    if (found == nullptr && throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElement] Cannot find gui element:%i", id);
    return found;
}

gui::IGUIElement* CGuiElementRegistry::GetElement(const std::wstring& name, bool throwIfMissing)
{
    if (name.empty() && m_root != nullptr)
        return m_tree.GetGuiParent();
    gui::IGUIElement* found = nullptr;
    if (const int32_t* id = FindNamedId(name))
        found = FindElement(*id);
    if (found == nullptr && throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElement] Cannot find gui element:%s",
                                             name.c_str());
    return found;
}

gui::IGUIElement* CGuiElementRegistry::FindElement(int32_t id)
{
    gui::IGUIElement* parent = m_tree.GetGuiParent();
    if (parent == nullptr || parent->getID() == id || !CGuiElementIndex::IsIndexable(id))
        return SearchElement(id);
    if (gui::IGUIElement* found = m_index.Find(id, m_root))
        return found;
    gui::IGUIElement* found = SearchElement(id);
    if (found != nullptr)
        m_index.Remember(id, found, m_root);
    else if (m_idToName.count(id) == 0)
        m_index.NoteFree(id);
    return found;
}

gui::IGUIElement* CGuiElementRegistry::SearchElement(int32_t id)
{
    gui::IGUIElement* found = nullptr;
    gui::IGUIElement* parent = m_tree.GetGuiParent();
    if (parent != nullptr)
        found = parent->getID() == id ? parent : FindElementById(parent, id);
    if (found == nullptr && m_root != nullptr && m_root != parent)
        found = m_root->getID() == id ? m_root : FindElementById(m_root, id);
    return found;
}

gui::IGUIElement* CGuiElementRegistry::FindElementById(gui::IGUIElement* start, int32_t id)
{
    if (start == nullptr)
        return nullptr;
    if (gui::IGUIContextMenu* menu = SElementKind<gui::IGUIContextMenu>::Cast(start))
    {
        for (u32 item = 0; item < menu->getItemCount(); ++item)
        {
            gui::IGUIContextMenu* subMenu = menu->getSubMenu(item);
            if (menu->getItemCommandId(item) == id)
                return subMenu != nullptr ? subMenu : start;
            if (gui::IGUIElement* found = FindElementById(subMenu, id))
                return found;
        }
    }
    for (gui::IGUIElement* child : start->getChildren())
    {
        if (child->getID() == id)
            return child;
        if (gui::IGUIElement* found = FindElementById(child, id))
            return found;
    }
    return nullptr;
}

void CGuiElementRegistry::NoteElementId(int32_t id)
{
    m_index.NoteId(id);
    // The element may come before the one remembered for the id.
    m_index.Forget(id);
}

void CGuiElementRegistry::Clear()
{
    m_nameToId.clear();
    m_idToName.clear();
    m_lastNameFound = {};
    m_index.Clear();
}

} // namespace Graphics::GUI
