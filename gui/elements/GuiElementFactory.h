#pragma once

#include <IGUIElementFactory.h>

namespace irr::gui
{
class IGUIEnvironment;
}

namespace Graphics::GUI
{

// Creates the engine's own elements by type name through the GUI
// environment: "CGUIComboBoxEx" and "CGUIListBoxEx". The environment owns
// the factory once it is registered; the factory keeps no reference to what
// it makes (the parent holds it).
class CGuiElementFactory : public irr::gui::IGUIElementFactory
{
public:
    explicit CGuiElementFactory(irr::gui::IGUIEnvironment* environment) : m_environment(environment) {}

    // Null for a name or type the factory does not make. A null parent is
    // the environment's root.
    irr::gui::IGUIElement* addGUIElement(const irr::c8* typeName, irr::gui::IGUIElement* parent) override;
    irr::gui::IGUIElement* addGUIElement(irr::gui::EGUI_ELEMENT_TYPE type,
                                         irr::gui::IGUIElement* parent) override;
    irr::s32 getCreatableGUIElementTypeCount() const override;
    // EGUIET_COUNT for an index outside the table.
    irr::gui::EGUI_ELEMENT_TYPE getCreateableGUIElementType(irr::s32 index) const override;
    // Null for an index or type outside the table.
    const irr::c8* getCreateableGUIElementTypeName(irr::s32 index) const override;
    const irr::c8* getCreateableGUIElementTypeName(irr::gui::EGUI_ELEMENT_TYPE type) const override;

private:
    // Not grabbed: the environment owns the factory.
    irr::gui::IGUIEnvironment* m_environment;
};

} // namespace Graphics::GUI
