#pragma once

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

// Called by CGuiManager::ForEachElement for every element of the walk.
class CGuiElementVisitor
{
public:
    virtual ~CGuiElementVisitor() = default;

    // True ends the walk at the element's level: its children and its
    // remaining siblings are not visited.
    virtual bool Visit(irr::gui::IGUIElement* element) = 0;
    // True passes the element by, with everything below it; the walk goes
    // on with its next sibling.
    virtual bool IsHidden(irr::gui::IGUIElement* element)
    {
        (void)element;
        return false;
    }
};

} // namespace Graphics::GUI
