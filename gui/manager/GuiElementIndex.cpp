#include "gui/manager/GuiElementIndex.h"

#include <irrlicht.h>

#include <algorithm>
#include <vector>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

bool IsMenu(const gui::IGUIElement* element)
{
    const gui::EGUI_ELEMENT_TYPE type = element->getType();
    return type == gui::EGUIET_MENU || type == gui::EGUIET_CONTEXT_MENU;
}

} // namespace

CGuiElementIndex::~CGuiElementIndex()
{
    Clear();
}

gui::IGUIElement* CGuiElementIndex::Find(int32_t id, const gui::IGUIElement* root)
{
    const auto found = m_elements.find(id);
    if (found == m_elements.end())
        return nullptr;
    gui::IGUIElement* element = found->second;
    if (AnswersTo(element, id) && IsBelow(element, root))
        return element;
    m_elements.erase(found);
    element->drop();
    return nullptr;
}

void CGuiElementIndex::Remember(int32_t id, gui::IGUIElement* element, const gui::IGUIElement* root)
{
    element->grab();
    const auto [entry, added] = m_elements.try_emplace(id, element);
    if (!added)
    {
        entry->second->drop();
        entry->second = element;
    }
    // Elements that close themselves (message boxes, windows) leave without
    // the manager: their entries go now and then, so that they do not
    // pile up.
    if (m_elements.size() >= m_sweepAt)
        Sweep(root);
}

void CGuiElementIndex::Forget(int32_t id)
{
    const auto found = m_elements.find(id);
    if (found == m_elements.end())
        return;
    gui::IGUIElement* element = found->second;
    m_elements.erase(found);
    element->drop();
}

bool CGuiElementIndex::CatchUp(gui::IGUIElement* root)
{
    if (!m_idsKnown)
        return false;
    // New children go to the end of the list: back from there to the child
    // seen last. Moved to the end, or gone, that child leaves the count
    // short of what it should be, and everything is gathered again.
    const auto& children = root->getChildren();
    size_t added = 0;
    auto child = children.getLast();
    for (; child != children.end() && *child != m_lastRootChild; --child)
        ++added;
    const bool found = m_lastRootChild == nullptr || child != children.end();
    if (!found || children.size() != m_rootChildren + added)
        return false;
    if (added == 0)
        return true;
    // Forward again over the children added: no list of them is made, as
    // this runs for every element made.
    child = child == children.end() ? children.begin() : ++child;
    for (; child != children.end(); ++child)
    {
        m_ids.Add((*child)->getID());
        CollectIds(*child, m_ids);
    }
    MarkRootChildren(root);
    return true;
}

void CGuiElementIndex::GatherIds(gui::IGUIElement* root)
{
    m_ids.Clear();
    m_ids.Add(root->getID());
    CollectIds(root, m_ids);
    m_idsKnown = true;
    m_removals = 0;
    MarkRootChildren(root);
}

void CGuiElementIndex::MarkRootChildren(gui::IGUIElement* root)
{
    const auto& children = root->getChildren();
    gui::IGUIElement* last = children.empty() ? nullptr : *children.getLast();
    if (last != nullptr)
        last->grab();
    if (m_lastRootChild != nullptr)
        m_lastRootChild->drop();
    m_lastRootChild = last;
    m_rootChildren = children.size();
}

void CGuiElementIndex::ForgetIds()
{
    m_ids.Clear();
    m_idsKnown = false;
    m_removals = 0;
    if (m_lastRootChild != nullptr)
        m_lastRootChild->drop();
    m_lastRootChild = nullptr;
    m_rootChildren = 0;
}

void CGuiElementIndex::NoteId(int32_t id)
{
    if (m_idsKnown)
        m_ids.Add(id);
}

void CGuiElementIndex::NoteFree(int32_t id)
{
    m_ids.Erase(id);
}

void CGuiElementIndex::NoteRemoval(bool rootChild)
{
    if (rootChild && m_rootChildren > 0)
        --m_rootChildren;
    // The ids of removed elements stay until a search finds them free; when
    // they may have become many, the next need gathers them afresh (a walk
    // for at least as many removals).
    if (++m_removals > std::max(kMinimumRegather, m_ids.Size() / 2))
        ForgetIds();
}

void CGuiElementIndex::Clear()
{
    // Moved out first: dropping an element may run code that looks here.
    std::unordered_map<int32_t, gui::IGUIElement*> elements;
    elements.swap(m_elements);
    for (const auto& [id, element] : elements)
        element->drop();
    m_sweepAt = kMinimumSweep;
    ForgetIds();
}

void CGuiElementIndex::Sweep(const gui::IGUIElement* root)
{
    std::vector<gui::IGUIElement*> detached;
    for (auto entry = m_elements.begin(); entry != m_elements.end();)
    {
        if (IsBelow(entry->second, root))
        {
            ++entry;
            continue;
        }
        detached.push_back(entry->second);
        entry = m_elements.erase(entry);
    }
    for (gui::IGUIElement* element : detached)
        element->drop();
    m_sweepAt = std::max(kMinimumSweep, 2 * m_elements.size());
}

bool CGuiElementIndex::IsBelow(const gui::IGUIElement* element, const gui::IGUIElement* root)
{
    for (; element != nullptr; element = element->getParent())
    {
        if (element == root)
            return true;
    }
    return false;
}

bool CGuiElementIndex::AnswersTo(gui::IGUIElement* element, int32_t id)
{
    if (element->getID() == id)
        return true;
    // A menu answers to the command ids of its items without a sub-menu
    // (the search hands out the sub-menu for the others).
    if (!IsMenu(element))
        return false;
    auto* menu = static_cast<gui::IGUIContextMenu*>(element);
    for (u32 item = 0; item < menu->getItemCount(); ++item)
    {
        if (menu->getItemCommandId(item) == id)
            return menu->getSubMenu(item) == nullptr;
    }
    return false;
}

void CGuiElementIndex::CollectIds(gui::IGUIElement* start, CGuiIdSet& ids)
{
    if (start == nullptr)
        return;
    if (IsMenu(start))
    {
        auto* menu = static_cast<gui::IGUIContextMenu*>(start);
        for (u32 item = 0; item < menu->getItemCount(); ++item)
        {
            ids.Add(menu->getItemCommandId(item));
            CollectIds(menu->getSubMenu(item), ids);
        }
    }
    for (gui::IGUIElement* child : start->getChildren())
    {
        ids.Add(child->getID());
        CollectIds(child, ids);
    }
}

} // namespace Graphics::GUI
