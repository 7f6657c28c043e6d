#pragma once

#include <cstdint>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics
{
class CGraphicsEngine;
}

namespace Graphics::GUI
{

// What the element registry needs of the GUI whose elements it names:
// where searches start, whether the GUI was replaced meanwhile, and the
// source its events name. (The root it is given: it changes only with the
// GUI environment.)
class IGuiElementTree
{
public:
    // The element under which new elements are created; null without a GUI.
    /// Owned by the GUI environment (do not drop it).
    virtual irr::gui::IGUIElement* GetGuiParent() = 0;
    // Changes whenever the GUI is cleared or replaced.
    virtual uint64_t GetGeneration() const = 0;
    /// Not to be deleted: the graphics engine, which owns the GUI manager.
    virtual Graphics::CGraphicsEngine* GetEventSource() const = 0;

protected:
    ~IGuiElementTree() = default;
};

} // namespace Graphics::GUI
