#include "gui/manager/GuiManagerParts.h"
#include "gui/manager/InputKeyMapOf.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
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

void Walk(CGuiElementVisitor& visitor, gui::IGUIElement* start)
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

} // namespace

CGuiManager::CGuiManager(IGuiHost* host)
    : m_host(host), m_source(host != nullptr ? host->GetEventSource() : nullptr), m_shortcuts(m_source),
      m_parts(std::make_unique<SParts>(*this, host))
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
        m_parts->DetachSkins();
    if (device != nullptr)
        m_device = device;
    if (m_device == nullptr)
        return;
    m_parts->events.NextGeneration();
    m_environment = m_device->getGUIEnvironment();
    m_parts->registry.SetRoot(m_environment->getRootGUIElement());
    m_fileSystem = m_device->getFileSystem();
    m_parts->inputKeyMap.Reset();
    m_parts->AttachSkins(*this);
    Clear();
    RegisterElementFactory();
}

void CGuiManager::DetachDevice()
{
    Clear();
    m_parts->events.NextGeneration();
    m_parts->fader.Clear(false);
    m_parts->inputKeyMap.Reset();
    m_parts->DetachSkins();
    m_environment = nullptr;
    m_parts->registry.SetRoot(nullptr);
    m_parts->factoryEnvironment = nullptr;
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
    const CGuiEventQueue::CHold hold(m_parts->events);
    m_parts->fader.Clear(true);
    m_parts->scrollers.Clear();
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
    m_parts->properties.ClearEditBoxSelections();
    m_parts->registry.Clear();
    m_tabOrder = 0;
    m_parts->events.NextGeneration();
}

CGuiEventQueue& CGuiManager::GetEventQueue()
{
    return m_parts->events;
}

uint64_t CGuiManager::GetGeneration() const
{
    return m_parts->events.GetGeneration();
}

CGuiManager::CFaderManager& CGuiManager::GetFader()
{
    return m_parts->fader;
}

CInputKeyMap& InputKeyMapOf(CGuiManager& manager)
{
    return manager.m_parts->inputKeyMap;
}

CGuiTabOperations& CGuiManager::GetTabs()
{
    return m_parts->tabs;
}

CGuiScrollBarOperations& CGuiManager::GetScrollBars()
{
    return m_parts->scrollBars;
}

CGuiMenuOperations& CGuiManager::GetMenus()
{
    return m_parts->menus;
}

CGuiComboBoxOperations& CGuiManager::GetComboBoxes()
{
    return m_parts->comboBoxes;
}

CGuiElementProperties& CGuiManager::GetElementProperties()
{
    return m_parts->properties;
}

CGuiScrollers& CGuiManager::GetScrollers()
{
    return m_parts->scrollers;
}

CFontToolRegistry& CGuiManager::GetFontTools()
{
    return m_parts->fontTools;
}

CGuiLayoutReader& CGuiManager::GetLayoutReader()
{
    return m_parts->layoutReader;
}

void CGuiManager::Start()
{
    m_parts->fader.FadeIn(m_parts->fader.GetColor(), m_parts->fader.GetInTime(), true);
    m_started = true;
}

void CGuiManager::Stop()
{
    if (m_started)
    {
        m_parts->fader.FadeOut(m_parts->fader.GetColor(), m_parts->fader.GetOutTime(), true);
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
    return m_parts->registry.GetNextAvailableId(requested);
}

int32_t CGuiManager::RegisterElementName(const std::wstring& name, int32_t requestedId)
{
    return m_parts->registry.RegisterElementName(name, requestedId);
}

void CGuiManager::SetElementName(const std::wstring& name, int32_t id)
{
    m_parts->registry.SetElementName(name, id);
}

bool CGuiManager::RemoveElementName(int32_t id)
{
    return m_parts->registry.RemoveElementName(id);
}

std::wstring CGuiManager::GetElementName(int32_t id, bool throwIfMissing) const
{
    return m_parts->registry.GetElementName(id, throwIfMissing);
}

const std::pmr::wstring* CGuiManager::FindElementName(int32_t id) const
{
    return m_parts->registry.FindElementName(id);
}

int32_t CGuiManager::GetElementId(const std::wstring& name, bool throwIfMissing)
{
    return m_parts->registry.GetElementId(name, throwIfMissing);
}

void CGuiManager::ChangeElementId(gui::IGUIElement* element, const std::wstring& newName)
{
    if (element == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::ChangeElementId] Input GUI element not defined.");
    m_shortcuts.Rename(m_parts->registry.RenameElement(element->getID(), newName), newName);
}

gui::IGUIElement* CGuiManager::GetElement(int32_t id, bool throwIfMissing)
{
    return m_parts->registry.GetElement(id, throwIfMissing);
}

gui::IGUIElement* CGuiManager::GetElement(const std::wstring& name, bool throwIfMissing)
{
    return m_parts->registry.GetElement(name, throwIfMissing);
}

bool CGuiManager::ElementExists(const std::wstring& name)
{
    return GetElement(name, false) != nullptr;
}

bool CGuiManager::ElementIdExists(int32_t id)
{
    return GetElement(id, false) != nullptr;
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
    const int32_t* id = m_parts->registry.FindNamedId(name);
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
        m_parts->menus.RemoveItemAt(*menu, item);
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
    if (m_parts->removing.count(element) != 0)
        return;
    const CGuiEventQueue::CHold events(m_parts->events);
    CGuiElementHold hold(element);
    const CRemoval removal(m_parts->removing, element);
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
    m_parts->registry.NoteRemoval(element->getParent() == m_environment->getRootGUIElement());
    element->remove();
    m_parts->scrollers.Remove(element);
    m_parts->properties.ForgetEditBoxSelection(element);
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
