#pragma once

// References held on GUI elements for a scope: GUI event subscribers called
// meanwhile may remove any element from the GUI, and what the caller still
// uses must stay valid until it is done.

#include <IGUIElement.h>

#include <vector>

namespace Graphics::GUI
{

class CGuiElementHold
{
public:
    explicit CGuiElementHold(irr::gui::IGUIElement* element) : m_element(element)
    {
        if (m_element != nullptr)
            m_element->grab();
    }
    ~CGuiElementHold()
    {
        if (m_element != nullptr)
            m_element->drop();
    }
    CGuiElementHold(const CGuiElementHold&) = delete;
    CGuiElementHold& operator=(const CGuiElementHold&) = delete;

private:
    irr::gui::IGUIElement* m_element;
};

// A copy of an element's child list, each child held.
class CGuiHeldChildren
{
public:
    explicit CGuiHeldChildren(const irr::gui::IGUIElement* element)
    {
        for (irr::gui::IGUIElement* child : element->getChildren())
        {
            child->grab();
            m_children.push_back(child);
        }
    }
    ~CGuiHeldChildren()
    {
        for (irr::gui::IGUIElement* child : m_children)
            child->drop();
    }
    CGuiHeldChildren(const CGuiHeldChildren&) = delete;
    CGuiHeldChildren& operator=(const CGuiHeldChildren&) = delete;

    std::vector<irr::gui::IGUIElement*>::const_iterator begin() const { return m_children.begin(); }
    std::vector<irr::gui::IGUIElement*>::const_iterator end() const { return m_children.end(); }

private:
    std::vector<irr::gui::IGUIElement*> m_children;
};

} // namespace Graphics::GUI
