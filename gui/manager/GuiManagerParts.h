#pragma once

// The GUI manager's own members: the parts it is made of and the state
// they keep. Only the manager's files include this; everyone else knows
// the manager by its face (GuiManager.h).

#include "gui/elements/GuiComboBoxOperations.h"
#include "gui/elements/GuiElementProperties.h"
#include "gui/elements/GuiListBoxOperations.h"
#include "gui/elements/GuiMenuOperations.h"
#include "gui/elements/GuiScrollBarOperations.h"
#include "gui/elements/GuiTabOperations.h"
#include "gui/elements/GuiTableOperations.h"
#include "gui/elements/GuiToolBarOperations.h"
#include "gui/fonts/FontToolRegistry.h"
#include "gui/input/InputKeyMap.h"
#include "gui/layout/GuiLayoutReader.h"
#include "gui/layout/GuiLayoutWriter.h"
#include "gui/manager/FaderManager.h"
#include "gui/manager/GuiElementRegistry.h"
#include "gui/manager/GuiEventQueue.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/GuiManagerLayoutHost.h"
#include "gui/manager/GuiScrollers.h"
#include "gui/manager/IGuiElementTree.h"
#include "gui/manager/IGuiHost.h"
#include "gui/manager/Scroller.h"
#include "gui/skin/SkinManager.h"
#include "gui/sprites/GuiSpriteBankFront.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace Graphics::GUI
{

// In the order they are made (and the reverse of the order they go).
struct CGuiManager::SParts
{
    SParts(CGuiManager& manager, IGuiHost* host)
        : fader(&manager), registryTree(manager), tables(manager), listBoxes(manager), comboBoxes(manager),
          tabs(manager), scrollBars(manager), menus(manager), toolBars(manager, host), properties(manager),
          layoutHost(manager), sprites(host), inputKeyMap(host != nullptr ? host->GetApplication() : nullptr)
    {
    }
    SParts(const SParts&) = delete;
    SParts& operator=(const SParts&) = delete;

    // Attaches the skins and a new sprite bank to the manager's environment.
    void AttachSkins(CGuiManager& manager);
    // Lets go of the bank, the font builders and the environment before the
    // device goes.
    void DetachSkins();

    CFaderManager fader;

    // The registry's view of this manager's GUI.
    class CRegistryTree final : public IGuiElementTree
    {
    public:
        explicit CRegistryTree(CGuiManager& manager) : m_manager(manager) {}
        /// The manager's GUI parent (it holds the reference): do not drop it.
        irr::gui::IGUIElement* GetGuiParent() override { return m_manager.GetGuiParent(); }
        uint64_t GetGeneration() const override { return m_manager.GetGeneration(); }
        /// The engine that owns the manager; valid as long as the manager.
        Graphics::CGraphicsEngine* GetEventSource() const override { return m_manager.m_source; }

    private:
        CGuiManager& m_manager;
    };
    CRegistryTree registryTree;
    // The element names and ids, and the lookups by either.
    CGuiElementRegistry registry{registryTree};
    CGuiEventQueue events;
    // Elements whose removal is under way: a subscriber of their closed
    // event that removes them again does not start a second removal.
    std::set<irr::gui::IGUIElement*> removing;
    // The first of the file-open dialogs open at one time, held until it has
    // left the GUI; then the folder that was current before it is current
    // again. Those opened while it lives leave the folder alone, so closing
    // them in any order ends in that folder.
    irr::gui::IGUIElement* restoringDialog = nullptr;
    std::string folderBeforeDialogs;
    // Tables, list boxes and combo boxes: the environment the element
    // factory was registered with.
    irr::gui::IGUIEnvironment* factoryEnvironment = nullptr;
    // The operations of each element kind, working through the manager's
    // face on elements checked here.
    CGuiTableOperations tables;
    CGuiListBoxOperations listBoxes;
    CGuiComboBoxOperations comboBoxes;
    CGuiTabOperations tabs;
    CGuiScrollBarOperations scrollBars;
    CGuiMenuOperations menus;
    CGuiToolBarOperations toolBars;

    // The properties of the library's own element kinds, with the edit box
    // selections scripts set.
    CGuiElementProperties properties;

    // Layout files: read and written by the reader and the writer through
    // the layout host, which is the manager as they see it.
    CLayoutHost layoutHost;
    CGuiLayoutReader layoutReader{layoutHost};
    CGuiLayoutWriter layoutWriter{layoutHost};
    // Set while a layout's menu is read.
    bool menuSizingHeld = false;

    // Skins, fonts and the sprite bank.
    CSkinManager skins;
    CGuiSpriteBankFront sprites;
    CFontToolRegistry fontTools;

    // Key map and scrollers.
    CInputKeyMap inputKeyMap;
    CGuiScrollers scrollers;
};

} // namespace Graphics::GUI
