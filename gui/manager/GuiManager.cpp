#include "gui/manager/GuiManager.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "core/io/Uuid.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiElementVisitor.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwchar>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticastOf;
namespace Kind = Misc::Multicast::Kind;

namespace
{

// Marks an element's removal as under way for a scope.
class CRemoval
{
public:
    CRemoval(std::set<gui::IGUIElement*>& removing, gui::IGUIElement* element)
        : m_removing(removing), m_element(element)
    {
        m_removing.insert(m_element);
    }
    ~CRemoval() { m_removing.erase(m_element); }
    CRemoval(const CRemoval&) = delete;
    CRemoval& operator=(const CRemoval&) = delete;

private:
    std::set<gui::IGUIElement*>& m_removing;
    gui::IGUIElement* m_element;
};

bool IsMenu(const gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    const gui::EGUI_ELEMENT_TYPE type = element->getType();
    return type == gui::EGUIET_MENU || type == gui::EGUIET_CONTEXT_MENU;
}

} // namespace

CGuiManager::CGuiManager(IGuiHost* host)
    : m_host(host), m_source(host != nullptr ? host->GetEventSource() : nullptr), m_shortcuts(m_source),
      m_fader(this), m_sprites(host), m_inputKeyMap(host != nullptr ? host->GetApplication() : nullptr)
{
}

CGuiManager::~CGuiManager()
{
    DetachDevice();
}

void CGuiManager::SetDevice(IrrlichtDevice* device)
{
    // What was made on another device goes with it.
    if (device != nullptr && device != m_device)
        DetachSkins();
    if (device != nullptr)
        m_device = device;
    if (m_device == nullptr)
        return;
    m_events.NextGeneration();
    m_environment = m_device->getGUIEnvironment();
    m_fileSystem = m_device->getFileSystem();
    m_inputKeyMap.Reset();
    AttachSkins();
    Clear();
    RegisterElementFactory();
}

void CGuiManager::DetachDevice()
{
    Clear();
    m_events.NextGeneration();
    m_fader.Clear(false);
    m_inputKeyMap.Reset();
    DetachSkins();
    m_environment = nullptr;
    m_factoryEnvironment = nullptr;
    m_fileSystem = nullptr;
    m_device = nullptr;
    m_started = false;
}

void CGuiManager::Clear()
{
    if (m_environment == nullptr)
        return;
    // Events the clearing raises belong to the elements it removes: the new
    // generation drops them.
    const CGuiEventQueue::CHold hold(m_events);
    m_fader.Clear(true);
    ClearScrollers();
    if (m_guiParent != nullptr)
    {
        m_guiParent->drop();
        m_guiParent = nullptr;
    }
    // The library removes from the back of the child list while each
    // removal searches it from the front: quadratic in the elements. From
    // the front, each one is found at once.
    const auto& children = m_environment->getRootGUIElement()->getChildren();
    while (!children.empty())
        (*children.begin())->remove();
    // The environment's own clear also lets go of the focused and hovered
    // elements, which removing the children one by one would leave behind.
    m_environment->clear();
    ForgetClosedDialogs();
    m_shortcuts.Clear();
    m_editSelections.clear();
    m_nameToId.clear();
    m_idToName.clear();
    m_lastNameFound = {};
    m_index.Clear();
    m_tabOrder = 0;
    m_events.NextGeneration();
}

void CGuiManager::Start()
{
    m_fader.FadeIn(m_fader.GetColor(), m_fader.GetInTime(), true);
    m_started = true;
}

void CGuiManager::Stop()
{
    if (m_started)
    {
        m_fader.FadeOut(m_fader.GetColor(), m_fader.GetOutTime(), true);
        // Only a focus there is is taken: a loop that ends with nothing
        // focused tells the scripts of no change.
        if (GetFocus() != nullptr)
            SetFocus(nullptr);
    }
    m_started = false;
}

uint32_t CGuiManager::GetScreenWidth() const
{
    return m_host != nullptr ? m_host->GetScreenWidth() : 0;
}

uint32_t CGuiManager::GetScreenHeight() const
{
    return m_host != nullptr ? m_host->GetScreenHeight() : 0;
}

CRect CGuiManager::ScreenRectToPixels(const CRect& rect) const
{
    return Layout::ToPixels(rect, GetScreenWidth(), GetScreenHeight());
}

core::rect<s32> CGuiManager::ScreenRectToPixelRect(const CRect& rect) const
{
    return ToPixelRect(ScreenRectToPixels(rect));
}

gui::IGUIElement* CGuiManager::GetGuiParent()
{
    if (m_guiParent == nullptr && m_environment != nullptr)
    {
        m_guiParent = m_environment->getRootGUIElement();
        m_guiParent->setID(0);
        m_guiParent->setTabGroup(false);
        m_guiParent->grab();
    }
    return m_guiParent;
}

void CGuiManager::SetGuiParent(gui::IGUIElement* element)
{
    if (element != nullptr)
        element->grab();
    if (m_guiParent != nullptr)
        m_guiParent->drop();
    m_guiParent = element;
    if (m_guiParent == nullptr)
        GetGuiParent();
}

int32_t CGuiManager::GetNextAvailableId(int32_t requested)
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

bool CGuiManager::IsIdInUse(int32_t id)
{
    if (m_environment == nullptr)
        return ElementIdExists(id);
    // Each new element asks for a free id: the ids in use answer without a
    // walk of the tree. They were gathered from the tree, and every id
    // handed out or given to an element since is among them, as are those
    // of elements made at the root beside the manager.
    gui::IGUIElement* root = m_environment->getRootGUIElement();
    if (!m_index.CatchUp(root))
    {
        m_index.GatherIds(root);
        // Ids handed out for elements still to be made count as in use.
        for (const auto& named : m_idToName)
            m_index.NoteId(named.first);
    }
    if (CGuiElementIndex::IsIndexable(id) && !m_index.MayBeInUse(id))
        return false;
    return ElementIdExists(id);
}

int32_t CGuiManager::RegisterElementName(const std::wstring& name, int32_t requestedId)
{
    std::wstring candidate;
    bool takeCandidate = false;
    if (ElementExists(name))
    {
        // The candidate is the name the new element takes when a subscriber
        // takes the conflict on: the event tells it the name to use.
        candidate = name + L"::" + Misc::Text::Utf8ToWide(CUuid().GetId());
        const uint64_t generation = GetGeneration();
        takeCandidate = CMulticastOf<Kind::Gui>::Publish(CGuiEvent{m_source, candidate, kGuiIdConflict, 0});
        // The caller goes on building in the GUI it had.
        if (GetGeneration() != generation)
            throw Misc::Error::CKVOError::Format(
                L"[CGuiManager::RegisterElementName] The GUI was cleared while adding gui element:%s",
                name.c_str());
    }
    const int32_t id = GetNextAvailableId(requestedId);
    SetElementName(takeCandidate ? candidate : name, id);
    return id;
}

void CGuiManager::SetElementName(const std::wstring& name, int32_t id)
{
    // A named id is in use from now on, also before its element is made.
    m_index.NoteId(id);
    // An id has one name: the one it had before (left by an element that
    // closed itself) no longer leads to it.
    const auto [entry, added] = m_idToName.try_emplace(id, name);
    if (!added && entry->second != name)
    {
        const auto named = m_nameToId.find(entry->second);
        if (named != m_nameToId.end() && named->second == id)
            m_nameToId.erase(named);
        entry->second = name;
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

bool CGuiManager::RemoveElementName(int32_t id)
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

std::wstring CGuiManager::GetElementName(int32_t id, bool throwIfMissing) const
{
    const std::wstring* name = FindElementName(id);
    if (name != nullptr)
        return *name;
    if (throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementName] Cannot find gui element:%i", id);
    return std::wstring();
}

const std::wstring* CGuiManager::FindElementName(int32_t id) const
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

const int32_t* CGuiManager::FindNamedId(const std::wstring& name) const
{
    // Elements that close themselves (message boxes, dialogs) leave their
    // names behind, and their ids are handed out again: a name counts only
    // while its id still carries it. The map keeps to that by itself: each
    // key views the text its id holds, and an id that takes another name
    // (or none) takes its old key out first.
    const auto found = m_nameToId.find(name);
    return found == m_nameToId.end() ? nullptr : &found->second;
}

int32_t CGuiManager::GetElementId(const std::wstring& name, bool throwIfMissing)
{
    const int32_t* id = FindNamedId(name);
    if (id != nullptr)
        return *id;
    if (throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementId] Gui element not found: %s",
                                             name.c_str());
    return 0;
}

void CGuiManager::ChangeElementId(gui::IGUIElement* element, const std::wstring& newName)
{
    if (element == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ChangeElementId] Input GUI element not defined.");
    const int32_t id = element->getID();
    const std::wstring oldName = GetElementName(id, false);
    RemoveElementName(id);
    SetElementName(newName, id);
    m_shortcuts.Rename(oldName, newName);
}

gui::IGUIElement* CGuiManager::GetElement(int32_t id, bool throwIfMissing)
{
    gui::IGUIElement* found = FindElement(id);
    if (found == nullptr && throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElement] Cannot find gui element:%i", id);
    return found;
}

gui::IGUIElement* CGuiManager::FindElement(int32_t id)
{
    gui::IGUIElement* parent = GetGuiParent();
    if (parent == nullptr || parent->getID() == id || !CGuiElementIndex::IsIndexable(id))
        return SearchElement(id);
    gui::IGUIElement* root = m_environment->getRootGUIElement();
    if (gui::IGUIElement* found = m_index.Find(id, root))
        return found;
    gui::IGUIElement* found = SearchElement(id);
    if (found != nullptr)
        m_index.Remember(id, found, root);
    else if (m_idToName.count(id) == 0)
        m_index.NoteFree(id);
    return found;
}

gui::IGUIElement* CGuiManager::SearchElement(int32_t id)
{
    gui::IGUIElement* found = nullptr;
    gui::IGUIElement* parent = GetGuiParent();
    if (parent != nullptr)
        found = parent->getID() == id ? parent : FindElementById(parent, id);
    if (found == nullptr && m_environment != nullptr)
    {
        gui::IGUIElement* root = m_environment->getRootGUIElement();
        if (root != parent)
            found = root->getID() == id ? root : FindElementById(root, id);
    }
    return found;
}

void CGuiManager::NoteElementId(int32_t id)
{
    m_index.NoteId(id);
    // The element may come before the one remembered for the id.
    m_index.Forget(id);
}

gui::IGUIElement* CGuiManager::FindElementById(gui::IGUIElement* start, int32_t id) const
{
    if (start == nullptr)
        return nullptr;
    if (IsMenu(start))
    {
        auto* menu = static_cast<gui::IGUIContextMenu*>(start);
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

gui::IGUIElement* CGuiManager::GetElement(const std::wstring& name, bool throwIfMissing)
{
    if (name.empty() && m_environment != nullptr)
        return GetGuiParent();
    gui::IGUIElement* found = nullptr;
    if (const int32_t* id = FindNamedId(name))
        found = GetElement(*id, false);
    if (found == nullptr && throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElement] Cannot find gui element:%s",
                                             name.c_str());
    return found;
}

bool CGuiManager::ElementExists(const std::wstring& name)
{
    return GetElement(name, false) != nullptr;
}

bool CGuiManager::ElementIdExists(int32_t id)
{
    return FindElement(id) != nullptr;
}

gui::IGUIElement* CGuiManager::GetElementAtPoint(gui::IGUIElement* start, const CPoint& pixelPoint)
{
    if (start == nullptr)
        start = GetGuiParent();
    if (start == nullptr)
        return nullptr;
    const core::position2di point(Misc::ToPixels(pixelPoint.x), Misc::ToPixels(pixelPoint.y));
    // An open context menu is above everything else.
    for (gui::IGUIElement* child : start->getChildren())
    {
        if (child->getType() != gui::EGUIET_CONTEXT_MENU || !child->isVisible())
            continue;
        if (child->isPointInside(point))
            return child;
        if (gui::IGUIElement* found = FindElementAtPoint(child, point))
            return found;
    }
    return FindElementAtPoint(start, point);
}

gui::IGUIElement* CGuiManager::FindElementAtPoint(gui::IGUIElement* start,
                                                  const core::position2di& point) const
{
    if (!start->isVisible())
        return nullptr;
    // Children are drawn in list order: the last one that holds the point
    // is on top.
    const auto& children = start->getChildren();
    for (auto child = children.getLast(); child != children.end(); --child)
    {
        if (gui::IGUIElement* found = FindElementAtPoint(*child, point))
            return found;
    }
    return start->isPointInside(point) ? start : nullptr;
}

void CGuiManager::BringToFront(int32_t id)
{
    gui::IGUIElement* element = GetElement(id, true);
    if (element->getParent() != nullptr)
        element->getParent()->bringToFront(element);
}

void CGuiManager::ForEachElement(CGuiElementVisitor& visitor, gui::IGUIElement* start)
{
    if (start == nullptr && m_environment != nullptr)
        start = m_environment->getRootGUIElement();
    if (start == nullptr)
        return;
    CGuiElementHold hold(start);
    Walk(visitor, start);
}

void CGuiManager::Walk(CGuiElementVisitor& visitor, gui::IGUIElement* start)
{
    // The visitor may change the GUI: the walk goes over a held copy and
    // passes by children that have left start meanwhile.
    const CGuiHeldChildren children(start);
    for (gui::IGUIElement* child : children)
    {
        if (child->getParent() != start || child->isSubElement() || visitor.IsHidden(child))
            continue;
        if (visitor.Visit(child))
            return;
        Walk(visitor, child);
    }
}

void CGuiManager::CollectChildren(gui::IGUIElement* element, std::vector<gui::IGUIElement*>& children)
{
    if (element == nullptr)
        return;
    for (gui::IGUIElement* child : element->getChildren())
    {
        if (!child->isSubElement())
            children.push_back(child);
    }
}

gui::IGUIElement* CGuiManager::GetTabGroupOwner(gui::IGUIElement* element)
{
    for (; element != nullptr; element = element->getParent())
    {
        if (element->isTabGroup())
            return element;
    }
    return nullptr;
}

bool CGuiManager::IsAttached(const gui::IGUIElement* element) const
{
    if (m_environment == nullptr)
        return false;
    const gui::IGUIElement* root = m_environment->getRootGUIElement();
    for (; element != nullptr; element = element->getParent())
    {
        if (element == root)
            return true;
    }
    return false;
}

void CGuiManager::Remove(const std::wstring& name)
{
    gui::IGUIElement* element = GetElement(name, false);
    if (element == nullptr)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::Remove] Cannot find gui element:%s",
                                             name.c_str());
    const int32_t* id = FindNamedId(name);
    if (id != nullptr && !name.empty() && RemoveMenuItem(element, *id))
        return;
    // The parts of a combo box or a scroll bar go with their element only:
    // it keeps using them.
    if (element->isSubElement())
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::Remove] Gui element is part of another element:%s", name.c_str());
    RemoveElement(element, true);
}

bool CGuiManager::RemoveMenuItem(gui::IGUIElement* element, int32_t id)
{
    // The name of an item that opens a sub-menu resolves to the sub-menu,
    // which carries the item's id and hangs below the menu that holds the
    // item. A menu of that id with no menu above is itself the element.
    while (IsMenu(element) && element->getID() == id)
    {
        if (!IsMenu(element->getParent()))
        {
            RemoveElement(element, true);
            return true;
        }
        element = element->getParent();
    }
    if (!IsMenu(element))
        return false;
    auto* menu = static_cast<gui::IGUIContextMenu*>(element);
    for (u32 item = 0; item < menu->getItemCount(); ++item)
    {
        if (menu->getItemCommandId(item) != id)
            continue;
        m_menus.RemoveItemAt(*menu, item);
        RecalculateMenuSize(menu);
        return true;
    }
    return false;
}

void CGuiManager::RemoveElement(gui::IGUIElement* element, bool removeFocus)
{
    if (element == nullptr || m_environment == nullptr || element == m_environment->getRootGUIElement())
        return;
    // A subscriber of the closed event may remove the element itself: it
    // stays valid through the hold, and its removal, already under way, is
    // not started a second time (it would publish again, without end).
    if (m_removing.count(element) != 0)
        return;
    const CGuiEventQueue::CHold events(m_events);
    CGuiElementHold hold(element);
    const CRemoval removal(m_removing, element);
    const std::wstring name = GetElementName(element->getID(), false);
    const uint64_t generation = GetGeneration();
    // A subscriber that cleared the GUI or replaced the device took the
    // element with it.
    if (CMulticastOf<Kind::Gui>::Publish(CGuiEvent{m_source, name, kGuiElementClosed, 0}) ||
        GetGeneration() != generation)
        return;

    if (!element->getChildren().empty())
        RemoveChildren(element);
    m_shortcuts.Remove(name);
    // The environment's removeFocus takes the focus from whichever element
    // has it: asked only when the element, or what is left below it, does.
    gui::IGUIElement* focus = m_environment->getFocus();
    if (removeFocus && focus != nullptr && (focus == element || element->isMyChild(focus)))
        m_environment->removeFocus(focus);
    RemoveElementName(element->getID());
    m_index.NoteRemoval(element->getParent() == m_environment->getRootGUIElement());
    element->remove();
    RemoveScroller(element);
    m_editSelections.erase(element);
    // New elements must not be created below a removed parent.
    if (m_guiParent != nullptr && !IsAttached(m_guiParent))
        SetGuiParent(nullptr);
    ForgetClosedDialogs();
}

void CGuiManager::RemoveChildren(gui::IGUIElement* element)
{
    if (element == nullptr)
        return;
    // A sub-menu is a part of its menu, but holds items of its own.
    if (element->isSubElement() && !IsMenu(element))
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::RemoveChildren] Gui element is part of another element:%s",
            GetElementName(element->getID(), false).c_str());
    const CGuiHeldChildren children(element);
    const uint64_t generation = GetGeneration();
    for (gui::IGUIElement* child : children)
    {
        if (GetGeneration() != generation)
            return;
        // A child that a subscriber has removed or moved meanwhile is not
        // removed from here.
        if (child->getParent() == element && !child->isSubElement())
            RemoveElement(child, true);
    }
}

} // namespace Graphics::GUI
