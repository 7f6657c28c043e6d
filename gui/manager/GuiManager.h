#pragma once

#include "core/events/GuiEventType.h"
#include "core/foundation/Color.h"
#include "core/foundation/Point.h"
#include "core/foundation/Rect.h"
#include "gui/input/GuiShortcuts.h"

#include <irrTypes.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace irr
{
class CFontTool;
class IrrlichtDevice;
namespace core
{
template <class T> class rect;
template <class T> class vector2d;
} // namespace core
namespace gui
{
class IGUIButton;
class IGUICheckBox;
class IGUIContextMenu;
class IGUIEditBox;
class IGUIElement;
class IGUIEnvironment;
class IGUIFont;
class IGUIImage;
class IGUIInOutFader;
class IGUIScrollBar;
class IGUISpinBox;
class IGUIStaticText;
class IGUITab;
class IGUITabControl;
class IGUIToolBar;
class IGUIWindow;
} // namespace gui
namespace io
{
class IFileSystem;
}
namespace video
{
class ITexture;
}
} // namespace irr

namespace Graphics
{
class CGraphicsEngine;
namespace Sprite
{
class CGuiKVOSpriteBank;
}
} // namespace Graphics

namespace Misc::Serialization
{
class IArchive;
}

namespace Graphics::GUI
{

class CGuiComboBoxOperations;
class CGuiElementProperties;
class CGuiElementVisitor;
class CGuiEventQueue;
class CGuiMenuOperations;
class CGuiScrollBarOperations;
class CGuiScrollers;
class CFontToolRegistry;
class CGuiLayoutReader;
class CGuiTabOperations;
class CGUIComboBoxEx;
class CGUIListBoxEx;
class CGUITableEx;
class CInputKeyMap;
class CScroller;
class CSkinManager;
class IGuiHost;
struct SGuiMenuItem;

// The GUI manager of the graphics engine: it stands between the scripts and
// Irrlicht's GUI environment. The graphics engine creates it with itself,
// attaches it to every new device, fades the GUI in when the loop starts and
// waits for its fade-out when the loop stops. It keeps the element names,
// the keyboard shortcuts, the fader, the skin with the fonts and the sprite
// bank; finds, moves, sizes and removes elements; moves the focus; and
// builds check boxes, message boxes and the file-open dialog.
//
// This header is the manager's face: its operations, then what its owner
// and its parts use of it. The parts themselves and their state live behind
// it (GuiManagerParts.h); the operations on element kinds that are not the
// manager's own are the parts' (GetTabs, GetElementProperties, ...).
//
// Every element the manager creates has a unique name beside its numeric id;
// scripts address elements by name. Coordinates that come from scripts are
// converted by the screen-coordinate rules (ScreenCoordinates.h) before they
// reach the operations here, which take pixels; getters answer in fractions
// of the screen. Main thread only: GUI events are published synchronously,
// and their subscribers may re-enter the manager.
class CGuiManager final
{
public:
    // A keyboard shortcut's key (GuiShortcuts.h).
    using SShortcutKey = CGuiShortcuts::SShortcutKey;
    using ShortcutMap = CGuiShortcuts::ShortcutMap;

    // Fades the whole screen from a colour to transparent and back
    // (FaderManager.h).
    class CFaderManager;

    explicit CGuiManager(IGuiHost* host);
    ~CGuiManager();
    CGuiManager(const CGuiManager&) = delete;
    CGuiManager& operator=(const CGuiManager&) = delete;

    // Attaches the manager to a new device (null keeps the current one):
    // takes its GUI environment and file system and clears the GUI.
    void SetDevice(irr::IrrlichtDevice* device);
    // Lets go of the device before it is dropped: the GUI, the fonts and
    // every pointer into the environment go, so nothing dangles afterwards.
    void DetachDevice();

    // Removes the whole GUI: the fader, every element, the element names
    // and the shortcuts. Nothing without a GUI environment.
    void Clear();
    // Empties the sprite bank (nothing before there is one).
    void ClearSpriteBank();
    // The cache clearing's part of the skins: the registered fonts go. The
    // skin itself belongs to the GUI environment.
    void ClearSkins();

    // The loop starts: fade in with the configured colour and in-time.
    void Start();
    // The loop stops: when started, fade out with the out-time and take the
    // focus from the element that has it (SetFocus, with its events).
    void Stop();

    // Tests of GUI event types (EGuiEventType) that group more than one.
    static bool IsButtonClickedEvent(uint32_t type)
    {
        return type == kGuiButtonClicked || type == kGuiMenuItemSelected;
    }
    static bool IsScrollBarChangedEvent(uint32_t type) { return type == kGuiScrollBarChanged; }
    static bool IsListBoxChangedEvent(uint32_t type)
    {
        return type == kGuiListBoxChanged || type == kGuiListBoxSelectedAgain;
    }
    static bool IsListBoxSelectedAgainEvent(uint32_t type) { return type == kGuiListBoxSelectedAgain; }
    static bool IsFileSelectedEvent(uint32_t type) { return type == kGuiFileSelected; }
    static bool IsFileDialogCancelledEvent(uint32_t type) { return type == kGuiFileDialogCancelled; }
    static bool IsMessageBoxYesEvent(uint32_t type) { return type == kGuiMessageBoxYes; }
    static bool IsMessageBoxNoEvent(uint32_t type) { return type == kGuiMessageBoxNo; }
    static bool IsMessageBoxOkEvent(uint32_t type) { return type == kGuiMessageBoxOk; }
    static bool IsMessageBoxCancelEvent(uint32_t type) { return type == kGuiMessageBoxCancel; }
    static bool IsEditBoxEnterEvent(uint32_t type) { return type == kGuiEditBoxEnter; }
    static bool IsTabChangedEvent(uint32_t type) { return type == kGuiTabChanged; }
    static bool IsMenuItemSelectedEvent(uint32_t type) { return type == kGuiMenuItemSelected; }
    static bool IsComboBoxChangedEvent(uint32_t type) { return type == kGuiComboBoxChanged; }
    static bool IsSpinBoxChangedEvent(uint32_t type) { return type == kGuiSpinBoxChanged; }
    static bool IsTableChangedEvent(uint32_t type) { return type == kGuiTableChanged; }
    static bool IsTableHeaderChangedEvent(uint32_t type) { return type == kGuiTableHeaderChanged; }
    static bool IsTableSelectedAgainEvent(uint32_t type) { return type == kGuiTableSelectedAgain; }
    static bool IsIdConflictEvent(uint32_t type) { return type == kGuiIdConflict; }

    // The GUI parent.

    // The element under which new elements are created: the environment's
    // root (id 0) unless set otherwise; null without a GUI environment.
    /// The manager holds one reference while it is the GUI parent: do not drop it.
    irr::gui::IGUIElement* GetGuiParent();
    // Makes the element the GUI parent; null makes the root the parent
    // again.
    void SetGuiParent(irr::gui::IGUIElement* element);

    // Ids and names.

    // The first id, from the requested one upward (a random start for 0),
    // then from the lowest id up to it, that no element has; 2147483647 is
    // never handed out.
    int32_t GetNextAvailableId(int32_t requested);
    // The step before every element is created: gives the name an id. A
    // name in use publishes the name conflict event (type 100) with the
    // candidate name + "::" + a fresh UUID; when a subscriber handles it,
    // the new element takes the candidate, else the name moves to the new
    // element (the older one keeps its id-to-name entry).
    int32_t RegisterElementName(const std::wstring& name, int32_t requestedId);
    void SetElementName(const std::wstring& name, int32_t id);
    // Forgets the id's name; false when it had none. The name stays with
    // another id it has moved to.
    bool RemoveElementName(int32_t id);
    // The name registered for the id; "" when there is none, or with
    // throwIfMissing "[CGuiManager::GetElementName] Cannot find gui element:%i".
    std::wstring GetElementName(int32_t id, bool throwIfMissing) const;
    // The id of the name; 0 when unknown, or with throwIfMissing
    // "[CGuiManager::GetElementId] Gui element not found: %s". A name whose
    // id has been given another name since is unknown.
    int32_t GetElementId(const std::wstring& name, bool throwIfMissing);
    // Gives the element's id the new name; its shortcuts follow.
    void ChangeElementId(irr::gui::IGUIElement* element, const std::wstring& newName);

    // Lookup.

    // The element with the id below the GUI parent, else below the root
    // (menu items resolve to their menu, or their sub-menu); null or, with
    // throwIfMissing, "[CGuiManager::GetElement] Cannot find gui element:%i".
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetElement(int32_t id, bool throwIfMissing);
    // The element of the name; the empty name is the GUI parent. Null or,
    // with throwIfMissing, "[CGuiManager::GetElement] Cannot find gui
    // element:%s". A name whose element is gone is forgotten here.
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetElement(const std::wstring& name, bool throwIfMissing);
    bool ElementExists(const std::wstring& name);
    bool ElementIdExists(int32_t id);
    // The top-most visible element under the pixel point, below start (the
    // GUI parent when null): an open context menu first, else the last drawn
    // element that contains the point, start itself included.
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetElementAtPoint(irr::gui::IGUIElement* start, const CPoint& pixelPoint);
    // Brings the element of the id to the front of its siblings.
    void BringToFront(int32_t id);
    // Visits the elements below start (the root when null) depth first, in
    // child order, parents before children; sub-elements, elements the
    // visitor hides and what lies below them are left out. A visit that
    // answers true ends its level.
    void ForEachElement(CGuiElementVisitor& visitor, irr::gui::IGUIElement* start);
    // Appends the element's children that are not sub-elements.
    void CollectChildren(irr::gui::IGUIElement* element, std::vector<irr::gui::IGUIElement*>& children);
    // The element or its nearest ancestor that is a tab group; null if none.
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetTabGroupOwner(irr::gui::IGUIElement* element);

    // Element accessors. Each accepts a null element and then changes
    // nothing and answers 0, false or "".

    // The scripts' type number (IrrlichtGuiAdapter.h).
    int32_t GetElementType(irr::gui::IGUIElement* element) const;
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetElementParent(irr::gui::IGUIElement* element) const;
    int32_t GetIdOfElement(irr::gui::IGUIElement* element) const;
    void SetElementText(irr::gui::IGUIElement* element, const std::wstring& text);
    std::wstring GetElementText(irr::gui::IGUIElement* element) const;
    // The caption as "%i" and "%f".
    void SetElementInt(irr::gui::IGUIElement* element, int32_t value);
    void SetElementFloat(irr::gui::IGUIElement* element, float value);
    // The caption's leading decimal integer (0 when none, limited to 32
    // bits); the caption as a float (0 when it does not read).
    int32_t GetElementInt(irr::gui::IGUIElement* element) const;
    float GetElementFloat(irr::gui::IGUIElement* element) const;
    bool IsElementEnabled(irr::gui::IGUIElement* element) const;
    void SetElementEnabled(irr::gui::IGUIElement* element, bool enabled);
    bool IsElementVisible(irr::gui::IGUIElement* element) const;
    void SetElementVisible(irr::gui::IGUIElement* element, bool visible);
    // Clipped: not the element's no-clip flag.
    bool IsElementClipped(irr::gui::IGUIElement* element) const;
    void SetElementClipped(irr::gui::IGUIElement* element, bool clipped);
    // Edge alignments (0 upper-left, 1 lower-right, 2 centre, 3 scale).
    int32_t GetElementAlignmentLeft(irr::gui::IGUIElement* element) const;
    int32_t GetElementAlignmentRight(irr::gui::IGUIElement* element) const;
    int32_t GetElementAlignmentTop(irr::gui::IGUIElement* element) const;
    int32_t GetElementAlignmentBottom(irr::gui::IGUIElement* element) const;
    // Throws "[CGuiManager::SetElementAlignment] Invalid alignment:%i" for a
    // number that is no alignment.
    void SetElementAlignment(irr::gui::IGUIElement* element, int32_t left, int32_t top, int32_t right,
                             int32_t bottom);
    void SetElementAlignmentRaw(irr::gui::IGUIElement* element, int32_t left, int32_t right, int32_t top,
                                int32_t bottom);
    bool GetElementTabStop(irr::gui::IGUIElement* element) const;
    void SetElementTabStop(irr::gui::IGUIElement* element, bool enable);
    bool GetElementTabGroup(irr::gui::IGUIElement* element) const;
    void SetElementTabGroup(irr::gui::IGUIElement* element, bool enable);
    int32_t GetElementTabOrder(irr::gui::IGUIElement* element) const;
    // A negative order takes the next of the manager's counter (1, 2, ...
    // after each Clear).
    void SetElementTabOrder(irr::gui::IGUIElement* element, int32_t order);
    int32_t NextTabOrder() { return ++m_tabOrder; }
    void ApplyTabOrder(irr::gui::IGUIElement* element, int32_t order);

    // Position and size; pixels in, fractions of the screen out. False for
    // a null element.
    bool MoveElement(irr::gui::IGUIElement* element, float dx, float dy);
    // Moves the upper-left corner, relative to the parent, keeping the size.
    bool SetElementPosition(irr::gui::IGUIElement* element, const CPoint& pixelPoint);
    // Keeps the upper-left corner; a negative size is 0.
    bool SetElementSize(irr::gui::IGUIElement* element, const CPoint& pixelSize);
    bool GetElementPosition(irr::gui::IGUIElement* element, CPoint& fractions) const;
    bool GetElementAbsolutePosition(irr::gui::IGUIElement* element, CPoint& fractions) const;
    bool GetElementSize(irr::gui::IGUIElement* element, CPoint& fractions) const;
    // Sizes by the size rule: below 1 a fraction of the screen, else
    // pixels. The minimum is at least 1 pixel each way; a maximum of 0 is
    // no maximum.
    void SetElementMinSize(irr::gui::IGUIElement* element, float width, float height);
    void SetElementMaxSize(irr::gui::IGUIElement* element, float width, float height);
    CPoint GetElementMinSize(irr::gui::IGUIElement* element) const;
    CPoint GetElementMaxSize(irr::gui::IGUIElement* element) const;
    // The relative rectangle in pixels, as the element's relative-position
    // setter stores it (scaled edges keep proportions of the parent).
    void SetElementRelativeRect(irr::gui::IGUIElement* element, const irr::core::rect<irr::s32>& rect);

    // Message boxes and the file-open dialog (GuiManagerDialogs.cpp).

    // A modal message box (caption, text, Irrlicht message box flags) under
    // the GUI parent with the id; with single, an element of that id that
    // exists already is kept and none created. Returns the id; 0 without a
    // GUI environment.
    int32_t AddMessageBox(const std::wstring& text, const std::wstring& caption, int32_t flags, int32_t id,
                          bool single);
    // The same named: with single and an element of the name present, that
    // element's id.
    int32_t AddMessageBoxNamed(const std::wstring& text, const std::wstring& caption, int32_t flags,
                               const std::wstring& name, bool single);
    int32_t AddMessageBoxYesNo(const std::wstring& text, const std::wstring& caption,
                               const std::wstring& name, bool single);
    int32_t AddMessageBoxOk(const std::wstring& text, const std::wstring& caption, const std::wstring& name,
                            bool single);
    int32_t AddMessageBoxOkCancel(const std::wstring& text, const std::wstring& caption,
                                  const std::wstring& name, bool single);
    // A file-open dialog in the rectangle (screen rule), listing the
    // starting folder (the current directory when empty or not found). The
    // directory current before it is current again when the dialog goes.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* AddFileOpenDialogNamed(const std::wstring& title, bool modal, const CRect& rect,
                                                  const std::wstring& startFolder, const std::wstring& name);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* AddFileOpenDialog(int32_t id, const std::wstring& title, bool modal,
                                             const irr::core::rect<irr::s32>& pixelRect,
                                             const std::wstring& startFolder);

    // Check boxes (GuiManagerCheckBox.cpp).

    // A check box under the GUI parent in the rectangle (screen rule); null
    // without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUICheckBox* AddCheckBoxNamed(const std::wstring& name, const std::wstring& caption,
                                             bool checked, const CRect& rect);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUICheckBox* AddCheckBox(int32_t id, const std::wstring& caption, bool checked,
                                        const CRect& pixelRect);
    // Sets the state, then publishes the check box event (type 7), also
    // when the state does not change. An element that is no check box
    // throws "[CGuiManager::SetCheckBoxChecked] Gui element is not a check
    // box:%s".
    void SetCheckBoxChecked(irr::gui::IGUIElement* element, bool checked);
    // The file chosen in the file-open dialog of the id.
    std::wstring GetOpenDialogFileName(int32_t id);
    // The "Checkbox" layout block: id and name, position, label, state.
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadCheckBox(Misc::Serialization::IArchive& archive);
    bool WriteCheckBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Menus and tool bars (GuiManagerMenus.cpp). A menu item is named like
    // an element: the id registered for its name is its command id, and the
    // sub-menu an item opens carries the same id. Menus are laid out again
    // after every change. Each operation that takes an element refuses one
    // of another kind ("[CGuiManager::<method>] Gui element is not a
    // menu:%s", "... tool bar:%s").

    // A menu bar under the GUI parent; null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* AddMenu(int32_t id);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* AddMenuNamed(const std::wstring& name);
    // A context menu in the rectangle (pixels; the named one takes the
    // screen rule).
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* AddContextMenu(int32_t id, const CRect& pixelRect);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIContextMenu* AddContextMenuNamed(const std::wstring& name, const CRect& rect);
    // An item that opens a sub-menu, appended, then moved to the index when
    // 0 <= position < the count before; returns the sub-menu. A null menu
    // throws "CGuiManager::addSubMenu] Parent context menu is not defined."
    /// The new sub-menu, or null: its menu owns it (do not drop it) until the item goes.
    irr::gui::IGUIContextMenu* addSubMenu(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                          bool enabled, int32_t position);
    /// The new sub-menu, or null: its menu owns it (do not drop it) until the item goes.
    irr::gui::IGUIContextMenu* AddSubMenuNamed(irr::gui::IGUIElement* menu, const std::wstring& name,
                                               const std::wstring& text, bool enabled, int32_t position);
    // An item placed as addSubMenu places it; an empty text makes a
    // separator. A null menu throws "CGuiManager::addMenuItem] Parent
    // context menu is not defined."
    bool addMenuItem(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                     bool checked, int32_t position);
    bool AddMenuItem(irr::gui::IGUIElement* menu, const std::wstring& name, const std::wstring& text,
                     bool enabled, bool checked, int32_t position);
    bool AddMenuSeparator(irr::gui::IGUIElement* menu, const std::wstring& name, int32_t position);

    // A menu item: the menu that holds it and its index there.
    using SMenuItem = SGuiMenuItem;
    // Searches the element's items when it is a menu, then its parent's,
    // up to the root.
    bool FindMenuItem(irr::gui::IGUIElement* element, int32_t commandId, SMenuItem& item);
    // The item of the name; an unknown name throws the lookup errors, a
    // name of no menu item "Menu item not found:%s".
    SMenuItem GetMenuItem(const std::wstring& name);
    uint32_t GetMenuItemCount(irr::gui::IGUIElement* menu);
    // The name registered for the command id of the item at the index; ""
    // for an index past the items or an id without a name.
    std::wstring GetMenuItemName(irr::gui::IGUIElement* menu, int32_t index);
    // Removes the menu's child elements and every item (the sub-menus, their
    // items' names and shortcuts with them).
    void ClearMenu(irr::gui::IGUIElement* menu);
    // Sizes the menu to its items in the menu font, keeps it on the screen,
    // then does the same for each sub-menu. Nothing while a layout's menu
    // is being read: it is sized once, whole, at the end.
    void RecalculateMenuSize(irr::gui::IGUIContextMenu* menu);
    // The skin's menu font; null without a skin.
    /// Not to be dropped: the GUI environment keeps the font until the device goes.
    irr::gui::IGUIFont* GetMenuFont() const;

    // A tool bar under the GUI parent; a rectangle with a width and a
    // height above 0.000001 places it, else the library's placement stays.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIToolBar* AddToolbar(int32_t id, const CRect& pixelRect);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIToolBar* AddToolbarNamed(const std::wstring& name, const CRect& rect);
    // A button after the tool bar's other buttons (3 pixels apart), sized to
    // its image, else to its text in the skin's button font. A null tool
    // bar throws "[CGuiManager::addToolbarButton] Toolbar not defined."
    /// The new button, or null: the tool bar owns it (do not drop it) until it is removed.
    irr::gui::IGUIButton* addToolbarButton(irr::gui::IGUIElement* toolbar, int32_t id,
                                           const std::wstring& text, const std::wstring& font,
                                           const std::wstring& image, const std::wstring& pressedImage,
                                           bool pushButton, bool useAlpha, bool border);
    /// The new button, or null: the tool bar owns it (do not drop it) until it is removed.
    irr::gui::IGUIButton* AddToolbarButtonNamed(irr::gui::IGUIElement* toolbar, const std::wstring& name,
                                                const std::wstring& text, const std::wstring& font,
                                                const std::wstring& image, const std::wstring& pressedImage,
                                                bool pushButton, bool useAlpha, bool border);

    // Menus and tool bars in layouts (CGuiLayoutReader, CGuiLayoutWriter): the
    // "Menu", "ContextMenu" and "Toolbar" blocks.
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadMenu(Misc::Serialization::IArchive& archive);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadMenu(Misc::Serialization::IArchive& archive, bool context);
    // The items: from version 1019 inside "MenuItems{", before up to the
    // block's "}" (or a sub-menu's tooltip block). "Item{", "Separator{"
    // and "SubMenu{" entries; another throws "[CGuiManager::loadMenuItems]
    // Unknown menu item:%s".
    void loadMenuItems(irr::gui::IGUIContextMenu* menu, Misc::Serialization::IArchive& archive);
    bool WriteMenu(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "MenuItems{" with an "Item{" per item (separators with an empty
    // label) or a "SubMenu{" with its own items.
    bool WriteMenuItems(Misc::Serialization::IArchive& archive, irr::gui::IGUIContextMenu* menu);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadToolbar(Misc::Serialization::IArchive& archive);
    // The "Button{" entries of a tool bar block (version 1019 on).
    void ReadToolbarButtons(irr::gui::IGUIElement* toolbar, Misc::Serialization::IArchive& archive);
    // The id, name and position; the buttons are written as the tool bar's
    // children.
    bool WriteToolbar(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Tab controls, tabs and scroll bars (GuiManagerTabs.cpp). Each
    // operation that takes an element refuses one of another kind
    // ("[CGuiManager::<method>] Gui element is not a tab control:%s", "...
    // tab:%s", "... scroll bar:%s").

    // A tab control under the GUI parent (pixels; the named one takes the
    // screen rule); null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITabControl* AddTabControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                            bool border);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITabControl* AddTabControlNamed(const std::wstring& name, const CRect& rect,
                                                 bool fillBackground, bool border);
    // A page of the tab control with the colour rule. A null tab control
    // throws "[CGuiManager::addTabPage] Parent tab control not defined."
    /// The new page, or null: its tab control owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* addTabPage(irr::gui::IGUIElement* tabControl, int32_t id, const std::wstring& caption,
                                  const CColor& color, bool drawBackground);
    /// The new page, or null: its tab control owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* AddTabPageNamed(irr::gui::IGUIElement* tabControl, const std::wstring& name,
                                       const std::wstring& caption, const CColor& color, bool drawBackground);
    // A free-standing tab under the GUI parent.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* AddTab(int32_t id, const CRect& pixelRect, bool drawBackground, const CColor& color);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUITab* AddTabNamed(const std::wstring& name, const CRect& rect, bool drawBackground,
                                   const CColor& color);
    // A colour with an alpha above 0.000001 becomes the background colour,
    // else the skin's 3D face colour does.
    void SetTabPageColor(irr::gui::IGUIElement* tab, const CColor& color);

    // Tab controls, tabs and scroll bars in layouts
    // (CGuiLayoutReader, CGuiLayoutWriter): the "TabControl", "Tab" (also "TabColor"
    // and "TabPage") and "Scrollbar" blocks.
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadTabControl(Misc::Serialization::IArchive& archive);
    // A "TabPage{" entry of a tab control block, after its opening token.
    void ReadTabPage(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* tabControl);
    bool WriteTabControl(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // A page of the tab control that is the GUI parent (or that "-TabControl"
    // names), else a free-standing tab.
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadTab(Misc::Serialization::IArchive& archive);
    bool WriteTab(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadScrollBar(Misc::Serialization::IArchive& archive);
    bool WriteScrollBar(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // A scroll bar under the GUI parent; non-zero button ids go to its up
    // (left) and down (right) buttons. Steps of a tenth and a fifth of the
    // maximum, then the position (with its event).
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIScrollBar* AddScrollBar(int32_t id, bool horizontal, const CRect& pixelRect,
                                          uint32_t maximum, int32_t position, int32_t upButtonId,
                                          int32_t downButtonId);
    // Registers the bar's name, then each non-empty button name with the
    // bar's id + 1 (up) and + 2 (down) as preferred ids.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIScrollBar* AddScrollBarNamed(const std::wstring& name, bool horizontal, const CRect& rect,
                                               uint32_t maximum, int32_t position, const std::wstring& upName,
                                               const std::wstring& downName);
    // The maximum (at most 2147483647), and each step as the maximum times
    // its fraction, truncated, at least 1: a fraction at or below 0 (or not
    // a number) takes 0.1 (small) or 0.2 (large), one above 1 takes 1.
    void SetScrollBarLimit(irr::gui::IGUIElement* bar, uint32_t maximum, float smallFraction,
                           float largeFraction);
    // Sets the position, then publishes the scroll bar event (type 6).
    void SetScrollBarPos(irr::gui::IGUIElement* bar, int32_t position);

    // Removal.

    // Removes the element of the name with its children; a miss throws
    // "[CGuiManager::Remove] Cannot find gui element:%s". A menu item's
    // name removes the item from its menu. A part of another element (a
    // combo box's button, a scroll bar's arrow) throws "[CGuiManager::Remove]
    // Gui element is part of another element:%s": it goes with its element.
    void Remove(const std::wstring& name);
    // Publishes the element closed event (type 4) with the element's name;
    // a subscriber that handles it keeps the element. Otherwise removes the
    // children the same way, the element's shortcuts, its focus (with
    // removeFocus), its name and the element. Subscribers may remove the
    // element themselves meanwhile. The root is never removed; removing the
    // GUI parent makes the root the GUI parent again.
    void RemoveElement(irr::gui::IGUIElement* element, bool removeFocus);
    // RemoveElement for each child that is not a sub-element. Throws for a
    // part of another element (sub-menus excepted), as Remove does.
    void RemoveChildren(irr::gui::IGUIElement* element);

    // Focus (GuiManagerFocus.cpp).

    // The focused element; null without a GUI environment.
    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* GetFocus();
    // Moves the focus (null clears it): publishes focus lost (type 0) for
    // the element that has the focus, where a subscriber that handles it
    // keeps the focus there (result true); then moves the focus and
    // publishes focused (type 1) with the new element's name ("" for none;
    // the root stands for none).
    // The result is whether a subscriber handled the last event published;
    // false when the focus could not move. Each change reaches subscribers
    // once: the library's own focus events during the move are not passed
    // on.
    bool SetFocus(irr::gui::IGUIElement* element);

    // Keyboard shortcuts (CGuiShortcuts): a key bound to the GUI event of
    // an element (flag 1), by the element's name.
    uint16_t AddShortcut(uint16_t keyCode, bool shift, bool control, const std::wstring& elementName,
                         uint32_t eventType, bool unique)
    {
        return m_shortcuts.Add(keyCode, shift, control, elementName, eventType, unique);
    }
    /// Owned by the shortcuts, valid until the key is bound again or unbound.
    const CGuiEvent* FindShortcut(const SShortcutKey& key) const { return m_shortcuts.Find(key); }
    size_t ClearShortcuts() { return m_shortcuts.Clear(); }

    // Skins, fonts and the sprite bank (GuiManagerSkins.cpp).

    // Layout blocks. "Skin": the skin body of skin files; "Font"/"Fonts":
    // font lines up to, not including, the closing "}"; "Sprites": the
    // bank's "Sprite{" blocks (false for an archive older than 1019).
    void ReadSkin(Misc::Serialization::IArchive& archive);
    bool WriteSkin(Misc::Serialization::IArchive& archive);
    void ReadFonts(Misc::Serialization::IArchive& archive);

    // The one font registry (the skin manager's). GetFont: the font of that
    // name: a file of that name (through the application's file system)
    // loaded by the GUI environment, else the font registered under the
    // name as key, else the environment's built-in font. Null when a file
    // opens and is no font. With registerFont, a loaded font is registered
    // under the name. Throws without a GUI environment.
    /// Not to be dropped: the GUI environment keeps the font until the device goes.
    irr::gui::IGUIFont* GetFont(const std::wstring& name, bool registerFont);
    // Registers the font loaded from the file under the key; the keys "0" to
    // "4" also set the skin's fonts. Throws when the file gives no font, and
    // for other decimal keys ("7", "-1"): the skin has no such font.
    bool SetFont(const std::wstring& key, const std::wstring& file);
    // Drops every registered font.
    void ClearFonts();

    // Tables, extended list boxes and combo boxes, and the element factory
    // that makes the boxes (GuiManagerTable.cpp, GuiManagerListBox.cpp,
    // GuiManagerComboBox.cpp). Each operation on an element refuses an
    // element of another kind with "[CGuiManager::<method>] Gui element is
    // not a <kind>:<name>"; indices outside the items, rows or columns
    // change nothing and read as "", -1 or 0.

    // Registers the factory with the current GUI environment (once per
    // environment).
    void RegisterElementFactory();

    // A table under the GUI parent in the rectangle (screen rule) with its
    // tab stop set; null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUITableEx* AddTableNamed(const std::wstring& name, const CRect& rect, bool drawBackground);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUITableEx* AddTable(int32_t id, const CRect& pixelRect, bool drawBackground);
    // An index below 0 or past the end appends; answers the index used.
    int32_t AddTableColumn(irr::gui::IGUIElement* table, const std::wstring& caption, int32_t index);
    void RemoveTableColumn(irr::gui::IGUIElement* table, int32_t column);
    int32_t GetTableColumnCount(irr::gui::IGUIElement* table);
    std::wstring GetTableColumnText(irr::gui::IGUIElement* table, int32_t column);
    void SetTableColumnText(irr::gui::IGUIElement* table, int32_t column, const std::wstring& text);
    // The width as a fraction of the screen width.
    float GetTableColumnWidth(irr::gui::IGUIElement* table, int32_t column);
    // Above 2.0 pixels (truncated), else a fraction of the screen width.
    void SetTableColumnWidth(irr::gui::IGUIElement* table, int32_t column, float width);
    int32_t GetTableColumnOrdering(irr::gui::IGUIElement* table, int32_t column);
    // A mode that is no column ordering throws "[CGuiManager::
    // SetTableColumnOrdering] Invalid column ordering:%i".
    void SetTableColumnOrdering(irr::gui::IGUIElement* table, int32_t column, int32_t mode);
    int32_t GetTableActiveColumn(irr::gui::IGUIElement* table);
    bool SetTableActiveColumn(irr::gui::IGUIElement* table, int32_t column, bool order);
    bool GetTableResizableColumns(irr::gui::IGUIElement* table);
    void SetTableResizableColumns(irr::gui::IGUIElement* table, bool resizable);
    int32_t GetTableSelectedRow(irr::gui::IGUIElement* table);
    // Selects the row (outside the rows: none), then publishes the table
    // changed event (type 21).
    void SetTableSelectedRow(irr::gui::IGUIElement* table, int32_t row);
    int32_t GetTableRowCount(irr::gui::IGUIElement* table);
    int32_t AddTableRow(irr::gui::IGUIElement* table, int32_t index);
    void RemoveTableRow(irr::gui::IGUIElement* table, int32_t row);
    // Every row, then SetTableSelectedRow with -1.
    void RemoveTableAllRows(irr::gui::IGUIElement* table);
    void SwapTableRows(irr::gui::IGUIElement* table, int32_t a, int32_t b);
    // A mode that is no ordering mode throws "[CGuiManager::OrderTable]
    // Invalid ordering mode:%i".
    void OrderTable(irr::gui::IGUIElement* table, int32_t column, int32_t mode);
    std::wstring GetTableCellText(irr::gui::IGUIElement* table, int32_t row, int32_t column);
    void SetTableCellText(irr::gui::IGUIElement* table, int32_t row, int32_t column,
                          const std::wstring& text);
    std::wstring GetTableCellData(irr::gui::IGUIElement* table, int32_t row, int32_t column);
    void SetTableCellData(irr::gui::IGUIElement* table, int32_t row, int32_t column,
                          const std::wstring& data);
    CColor GetTableCellColor(irr::gui::IGUIElement* table, int32_t row, int32_t column);
    void SetTableCellColor(irr::gui::IGUIElement* table, int32_t row, int32_t column, const CColor& color);
    int32_t GetTableDrawFlags(irr::gui::IGUIElement* table);
    void SetTableDrawFlags(irr::gui::IGUIElement* table, int32_t flags);
    bool GetTableBackground(irr::gui::IGUIElement* table);
    void SetTableBackground(irr::gui::IGUIElement* table, bool draw);
    bool GetTableMoveOverSelect(irr::gui::IGUIElement* table);
    void SetTableMoveOverSelect(irr::gui::IGUIElement* table, bool moveOverSelect);
    // Columns and rows.
    void ClearTable(irr::gui::IGUIElement* table);

    // An extended list box (through the factory) under the GUI parent; the
    // non-empty sub-names are registered with ids one, two and three after
    // the list box's and given to the scroll bar and its up and down
    // buttons. Null without a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUIListBoxEx* AddListBox(const std::wstring& name, const CRect& rect, bool background,
                              const std::wstring& scrollBarName, const std::wstring& upButtonName,
                              const std::wstring& downButtonName);
    // The icon is a sprite bank entry's name (-1 when unknown).
    int32_t AddListBoxItem(irr::gui::IGUIElement* list, const std::wstring& text, const std::wstring& data,
                           const std::wstring& iconName, int32_t index);
    void SetListBoxItemIcon(irr::gui::IGUIElement* list, int32_t index, const std::wstring& iconName);
    // The sprite bank's name of the item's icon; "" when none.
    std::wstring GetListBoxItemIcon(irr::gui::IGUIElement* list, int32_t index);
    // Select, then publish the list box events 8 and 9 with the list box's
    // name, also when nothing matched.
    void SelectListBoxItem(irr::gui::IGUIElement* list, int32_t index);
    void SelectListBoxItemByText(irr::gui::IGUIElement* list, const std::wstring& text);
    void SelectListBoxItemByData(irr::gui::IGUIElement* list, const std::wstring& data);
    bool SetListBoxItemColor(irr::gui::IGUIElement* list, int32_t index, const CColor& color, int32_t kind);
    bool ClearListBoxItemColor(irr::gui::IGUIElement* list, int32_t index, int32_t kind);
    CColor GetListBoxItemColor(irr::gui::IGUIElement* list, int32_t index, int32_t kind);
    bool HasListBoxItemColor(irr::gui::IGUIElement* list, int32_t index, int32_t kind);
    int32_t GetListBoxSelected(irr::gui::IGUIElement* list);
    void SetListBoxItemText(irr::gui::IGUIElement* list, int32_t index, const std::wstring& text);
    int32_t FindListBoxItemText(irr::gui::IGUIElement* list, const std::wstring& text);
    int32_t FindListBoxItemData(irr::gui::IGUIElement* list, const std::wstring& data);
    void RemoveListBoxItem(irr::gui::IGUIElement* list, int32_t index);
    void ClearListBox(irr::gui::IGUIElement* list);
    void SetListBoxBackgroundVisible(irr::gui::IGUIElement* list, bool visible);
    bool IsListBoxBackgroundVisible(irr::gui::IGUIElement* list);
    void MakeListBoxItemVisible(irr::gui::IGUIElement* list, int32_t index);
    // These serve extended list boxes and combo boxes alike.
    int32_t GetListBoxItemCount(irr::gui::IGUIElement* list);
    std::wstring GetListBoxItemText(irr::gui::IGUIElement* list, int32_t index);
    std::wstring GetListBoxItemData(irr::gui::IGUIElement* list, int32_t index);
    void SetListItemData(irr::gui::IGUIElement* list, int32_t index, const std::wstring& data);

    // An extended combo box (through the factory) under the GUI parent; a
    // non-empty button name is registered with the id one after the combo
    // box's, a non-empty list name with the id two after it. Null without
    // a GUI environment.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    CGUIComboBoxEx* AddComboBox(const std::wstring& name, const CRect& rect, const std::wstring& buttonName,
                                const std::wstring& listName);
    int32_t AddComboBoxItem(irr::gui::IGUIElement* combo, const std::wstring& text, const std::wstring& data,
                            int32_t index);
    int32_t AppendComboBoxItem(irr::gui::IGUIElement* combo, const std::wstring& text,
                               const std::wstring& data);
    // Select (no match: nothing), then publish the combo box event 19.
    void SelectComboBoxItem(irr::gui::IGUIElement* combo, int32_t index);
    void SelectComboBoxItemByText(irr::gui::IGUIElement* combo, const std::wstring& text);
    void SelectComboBoxItemByData(irr::gui::IGUIElement* combo, const std::wstring& data);
    int32_t GetComboBoxSelected(irr::gui::IGUIElement* combo);
    void SetComboBoxItemText(irr::gui::IGUIElement* combo, int32_t index, const std::wstring& text);
    int32_t FindComboBoxItemText(irr::gui::IGUIElement* combo, const std::wstring& text);
    int32_t FindComboBoxItemData(irr::gui::IGUIElement* combo, const std::wstring& data);
    void RemoveComboBoxItem(irr::gui::IGUIElement* combo, int32_t index);
    void ClearComboBox(irr::gui::IGUIElement* combo);
    void SetComboBoxMaxItems(irr::gui::IGUIElement* combo, uint32_t rows);

    // Their layout blocks "List", "Combobox" and "Table"
    // (CGuiLayoutReader, CGuiLayoutWriter). A table's
    // cell outside its rows or columns throws "[CGuiManager::ReadTable]
    // Cell outside the table:%u %u".
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadTable(Misc::Serialization::IArchive& archive);
    bool WriteTable(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Element builders: buttons, images, static texts, edit boxes, spin
    // boxes and windows (GuiManagerBuilders.cpp), and their properties
    // (GuiManagerBuilderProperties.cpp). The named creators register the
    // name (preferred id 0) and convert the rectangle by the screen rule;
    // the others take the id and pixels. Each creates under the GUI parent
    // and returns null without a GUI environment. Property operations
    // refuse an element of another kind with "[CGuiManager::<method>] Gui
    // element is not a <kind>:<name>".

    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIButton* AddButtonNamed(const std::wstring& name, const std::wstring& text,
                                         const CRect& rect, const std::wstring& font,
                                         const std::wstring& image, const std::wstring& pressedImage,
                                         bool push, bool alpha, bool border);
    // Uses the manager's sprite bank; images by texture file name (a
    // missing file: no image); an empty font name keeps the skin's font.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIButton* AddButton(int32_t id, const std::wstring& text,
                                    const irr::core::rect<irr::s32>& rect, const std::wstring& font,
                                    const std::wstring& image, const std::wstring& pressedImage, bool push,
                                    bool alpha, bool border);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIImage* AddImageNamed(const std::wstring& name, const std::wstring& file, const CRect& rect,
                                       bool alpha, bool scale);
    // A missing texture shows the transparent placeholder
    // "___NULL_IMAGE___"; without even that, "[CGuiManager::addImage] Image
    // not found '<file>'". A rectangle whose right or bottom edge is not
    // above 0 places the image at the texture's own size at (x1, y1).
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIImage* addImage(int32_t id, const std::wstring& file, const irr::core::rect<irr::s32>& rect,
                                  bool alpha, bool scale);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIStaticText* AddStaticTextNamed(const std::wstring& name, const std::wstring& text,
                                                 const CRect& rect, bool border, bool wordWrap,
                                                 bool background, const CColor& color,
                                                 const std::wstring& font);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIStaticText* AddStaticText(int32_t id, const std::wstring& text,
                                            const irr::core::rect<irr::s32>& rect, bool border, bool wordWrap,
                                            bool background, const CColor& color, const std::wstring& font);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIEditBox* AddEditBoxNamed(const std::wstring& name, const std::wstring& text,
                                           const CRect& rect, bool border, const std::wstring& font,
                                           uint32_t maxChars);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIEditBox* AddEditBox(int32_t id, const std::wstring& text,
                                      const irr::core::rect<irr::s32>& rect, bool border,
                                      const std::wstring& font, uint32_t maxChars);
    // The up and down button names take the ids spin id + 2 and + 3 when
    // not empty. With an empty text the value is set (and published as the
    // spin box event 20); otherwise the text stands as the value.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUISpinBox* AddSpinBoxNamed(const std::wstring& name, const std::wstring& text,
                                           const CRect& rect, float minimum, float maximum, float value,
                                           int32_t decimals, const std::wstring& upName,
                                           const std::wstring& downName);
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUISpinBox* AddSpinBox(int32_t id, const std::wstring& text,
                                      const irr::core::rect<irr::s32>& rect, int32_t upId, int32_t downId,
                                      float minimum, float maximum, float value, int32_t decimals);
    // Under the parent (the GUI parent when null). The title-bar buttons
    // with a name are shown and take the ids window id + 1 (close), + 2
    // (minimize) and + 3 (maximize); a modal window's modal screen covers
    // the screen.
    /// The new element, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIWindow* AddWindowNamed(const std::wstring& name, irr::gui::IGUIElement* parent,
                                         const std::wstring& caption, const CRect& rect, bool modal,
                                         const std::wstring& closeName, const std::wstring& minimizeName,
                                         const std::wstring& maximizeName);

    // The element's override font: the font of that name (GetFont), none
    // for an empty name. Buttons, static texts and edit boxes have one.
    void SetElementFont(irr::gui::IGUIElement* element, const std::wstring& fontName);

    // Buttons.
    void SetButtonImage(irr::gui::IGUIElement* element, const std::wstring& file);
    void SetButtonActiveImage(irr::gui::IGUIElement* element, const std::wstring& file);
    std::wstring GetButtonImage(irr::gui::IGUIElement* element);
    std::wstring GetButtonActiveImage(irr::gui::IGUIElement* element);
    // The sprite bank entry of that name for the button state, in white.
    void SetButtonSprite(irr::gui::IGUIElement* element, int32_t state, const std::wstring& spriteName,
                         bool loop);

    // Static texts. A colour whose alpha is at most 0.000001 switches the
    // override colour off.
    void SetStaticTextColor(irr::gui::IGUIElement* element, const CColor& color);

    // Edit boxes.
    void SetEditBoxPassword(irr::gui::IGUIElement* element, bool password, wchar_t character);
    // Switching multi-line on first switches password mode off.
    void SetEditBoxMultiline(irr::gui::IGUIElement* element, bool multiline);

    // Spin boxes. Their numbers stay within -1e9 to 1e9 (not a number is
    // 0) and 8 decimal places (a negative count: the library's default).
    // Sets the value, then publishes the spin box event (type 20).
    void SetSpinBoxValue(irr::gui::IGUIElement* element, float value);
    // The smaller value is the minimum; without decimal places both are
    // truncated to whole numbers first.
    void SetSpinBoxRange(irr::gui::IGUIElement* element, float a, float b);

    // Images. A texture that cannot be had leaves the image without one.
    void SetImageTexture(irr::gui::IGUIElement* element, const std::wstring& file);
    void SetImageAlpha(irr::gui::IGUIElement* element, bool alpha);
    void SetImageScale(irr::gui::IGUIElement* element, bool scale);

    // Their layout blocks (CGuiLayoutReader, CGuiLayoutWriter): "Button", "Image",
    // "Text" (and "Text2"), "EditText" and "Spinbox". A button read under a
    // tool bar becomes one of its buttons. Values that do not read throw
    // "[CGuiManager::Read] Invalid value for key:<key>"; text alignments
    // past the library's throw "[CGuiManager::Read<kind>] Invalid
    // alignment:<number>".
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadButton(Misc::Serialization::IArchive& archive);
    bool WriteButton(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadImage(Misc::Serialization::IArchive& archive);
    bool WriteImage(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadStaticText(Misc::Serialization::IArchive& archive);
    bool WriteStaticText(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadEditBox(Misc::Serialization::IArchive& archive);
    bool WriteEditBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    /// The element read, or null: the GUI environment owns it (do not drop it) until it is removed.
    irr::gui::IGUIElement* ReadSpinBox(Misc::Serialization::IArchive& archive);
    bool WriteSpinBox(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Layout files: the manager hands each call to its layout reader or
    // writer (gui/layout), which work through its layout host calls.

    // Reads "-IdName" (wide name) or "-Id" (integer, the name is it in
    // "%i"), registers the name (RegisterElementName(name, 0)) and returns
    // the new id.
    int32_t ReadElementIdName(Misc::Serialization::IArchive& archive);
    // "-IdName" with the element's name, or "-Id" with its id when it has
    // none.
    bool WriteElementIdName(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "-Position" x1 y1 x2 y2 of the relative rectangle (fractions when the
    // archive attribute "useRelativeCoordinates" is true, else pixels).
    bool WriteElementPosition(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "-Label" with the caption.
    bool WriteElementLabel(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Optional "-Shortcut" key: binds it (AddShortcutText, not unique) to
    // the GUI event type for the element name. True when a key was bound.
    bool ReadShortcut(Misc::Serialization::IArchive& archive, uint32_t eventType, const std::wstring& name);
    // "-Shortcut" with the text of the element's first binding; nothing
    // when it has none.
    bool WriteShortcut(const std::wstring& name, Misc::Serialization::IArchive& archive);
    uint16_t AddShortcutText(const std::string& text, const std::wstring& name, uint32_t eventType,
                             bool unique)
    {
        return m_shortcuts.AddText(text, name, eventType, unique);
    }

    // An optional "Tooltip{" block: sets the element's tooltip. False when
    // there was none (or no element).
    bool ReadToolTip(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The "Tooltip{" block of an element that has a tooltip.
    bool WriteToolTip(irr::gui::IGUIElement* element, Misc::Serialization::IArchive& archive);

    // Makes the element the GUI parent for a nested Read, then restores the
    // previous parent (also when the read throws).
    bool ReadUnder(irr::gui::IGUIElement* element, Misc::Serialization::IArchive& archive);
    // A GUI: an optional "Fader{" block, then an optional "Gui{" block whose
    // entries are created under the GUI parent. Archive errors and unknown
    // element kinds throw.
    bool Read(Misc::Serialization::IArchive& archive);
    // The entries of a "Gui{" block up to its "}".
    void ReadElements(Misc::Serialization::IArchive& archive);
    // The "Fader{" block's keys: "-Id", "-Color", "-InTime", "-OutTime".
    void ReadFader(Misc::Serialization::IArchive& archive);
    bool WriteFader(Misc::Serialization::IArchive& archive);
    // Stores the fader's id, colour and times (auto-clear on).
    void SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime);
    // The "TooltipInfo" entry of older layouts: read, without effect.
    void ReadTooltipInfo(Misc::Serialization::IArchive& archive);
    // The optional "TabStopInfo{" block; without it an element named by an
    // integer takes it as its tab order. Then applies the tab settings.
    void ReadTabStopInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteTabStopInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The optional "AlignmentInfo{" block: alignment, sizes, clipping.
    void ReadAlignmentInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    bool WriteAlignmentInfo(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // The whole GUI below the GUI parent: a "Fader{" block, then its
    // children; nothing without a GUI parent.
    bool Write(Misc::Serialization::IArchive& archive);
    // "Gui{", the element's block, "}"; nothing for a null element.
    bool WriteOneElement(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // "Gui{", the block of each child, "}".
    bool WriteChildren(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);
    // The element's block: its kind's keys and the shared blocks. Internal
    // elements, sub-elements and kinds without a writer (windows, message
    // boxes, ...) are left out with everything below them.
    bool WriteElement(Misc::Serialization::IArchive& archive, irr::gui::IGUIElement* element);

    // Loads a layout file (by name, also with ".kvogui" appended, through
    // the application's file system) under the GUI parent. A missing file
    // is logged and answers false; damaged files and a layout that
    // includes itself throw.
    bool Load(const std::wstring& fileName);
    // Saves the whole GUI, or the element with its children, to the file:
    // mode "COMPRESSED", "BINARY" or a text encoding name.
    bool Save(const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates,
              irr::gui::IGUIElement* element);

    bool ShortcutExists(const std::wstring& name) const { return m_shortcuts.FindOf(name) != nullptr; }
    bool ShortcutKeyExists(uint16_t keyCode, bool shift, bool control) const
    {
        return m_shortcuts.KeyExists(keyCode, shift, control);
    }
    size_t RemoveShortcuts(const std::wstring& name) { return m_shortcuts.Remove(name); }

    // Tooltips.

    // Sets the tooltip text (a spin box's on its parts too); an empty text
    // removes it.
    void SetElementToolTip(irr::gui::IGUIElement* element, const std::wstring& text);
    std::wstring GetElementToolTip(irr::gui::IGUIElement* element) const;
    bool HasElementToolTip(irr::gui::IGUIElement* element) const;

    // The sprite bank's front end. Screen rectangles follow the screen
    // rule (ScreenCoordinates.h); clip rectangles are pixels. Without a
    // bank each throws "[CGuiManager::<method>] Graphics engine not
    // initialised." (ScreenSpriteExists names AddSpriteToScreen).
    std::wstring AddSpriteBankEntry(const std::wstring& id, const std::wstring& textureName,
                                    const std::vector<CRect>& rectangles, uint32_t frameTime);
    std::wstring AddSpriteToScreen(const std::wstring& spriteId, const CRect& rectangle, uint32_t startFrame,
                                   bool loop, bool oneShot, int32_t zOrder, const CColor& color,
                                   bool beforeGui, const CRect& clip);
    bool ScreenSpriteExists(const std::wstring& screenSpriteId);
    CRect GetSpritePosition(const std::wstring& screenSpriteId, bool absolute);
    void MoveSprite(const std::wstring& screenSpriteId, const CRect& rectangle);
    void ChangeSpriteColor(const std::wstring& screenSpriteId, const CColor& color);
    void RemoveSprite(const std::wstring& screenSpriteId);
    void RemoveAllScreenSprites();
    uint32_t GetSpriteBankCount();
    bool SpriteBankEntryExists(const std::wstring& id);
    // Reads or writes the bank (null: the manager's own) in an open archive.
    bool loadSpriteBank(Misc::Serialization::IArchive& archive, Graphics::Sprite::CGuiKVOSpriteBank* bank);
    bool saveSpriteBank(Misc::Serialization::IArchive& archive, Graphics::Sprite::CGuiKVOSpriteBank* bank);
    // The file of the name (or with ".kvosprites") through the application's
    // file lookup; false when none is found or it is no sprite bank.
    bool LoadSpriteBankFile(const std::wstring& name);
    // "COMPRESSED" or "BINARY" a binary archive, else a text archive in that
    // encoding; true when the file was written and put in place.
    bool SaveSpriteBankFile(const std::wstring& path, const char* mode);

    // Key map and scrollers (GuiManagerScrollers.cpp).

    // The process's key map: named key actions that follow the key events
    // (InputKeyMapOf.h gives it).
    using CInputKeyMap = Graphics::GUI::CInputKeyMap;

    // Moves the children of one parent element across it each graphics tick.
    using CScroller = Graphics::GUI::CScroller;
    // Makes the scroller of the parent (replacing one it had) and starts it
    // with the graphics engine's next due time. Speeds are screen widths and
    // heights per second, the period milliseconds. A null parent throws
    // "[CGuiManager::AddScroller] Invalid parent element", a speed that is no
    // finite number "[CGuiManager::AddScroller] Invalid scroller speed".
    bool AddScroller(irr::gui::IGUIElement* parent, float speedX, float speedY, uint32_t period,
                     bool removeWhenOut);
    // Hands the element to the parent's scroller, which makes it a child of
    // the parent entering behind the children there. Throws
    // "[CGuiManager::AddToScroller] Invalid parent element", "... Invalid
    // element" or "... Scroller does not exist".
    void AddToScroller(irr::gui::IGUIElement* element, irr::gui::IGUIElement* parent);

    // ---- What the owner and the manager's parts use ----------------------
    // None of these is an operation of the GUI. The graphics engine drives
    // the manager with them; the parts that hold each element kind's
    // operations (gui/elements), the layout reader and writer and the script
    // bindings reach the device, the screen and each other through them.

    /// The engine that owns the manager and that GUI events name as their
    /// source; valid as long as the manager.
    Graphics::CGraphicsEngine* GetGraphicsEngine() const { return m_source; }
    /// The device given to SetDevice, owned by the graphics engine; valid
    /// until DetachDevice (null before a device and after).
    irr::IrrlichtDevice* GetDevice() const { return m_device; }
    /// The device's GUI environment, owned by the device; valid until
    /// DetachDevice (null without a device).
    irr::gui::IGUIEnvironment* GetGuiEnvironment() const { return m_environment; }
    // Whether Start ran and Stop has not since.
    bool IsStarted() const { return m_started; }

    // The GUI events Irrlicht raises while the manager adds or removes
    // elements wait here (the engine's receiver puts them in); the GUI's
    // generation changes with every clear and every new environment.
    CGuiEventQueue& GetEventQueue();
    uint64_t GetGeneration() const;
    // Lets go of the file-open dialog that puts the folder back once it has
    // left the GUI: its destruction restores the folder from before it. The
    // dialog closes itself when the user answers, so the engine calls this
    // on every frame it draws; a single pointer test while none is open.
    void ForgetClosedDialogs();

    // The screen size in pixels that fractions refer to.
    uint32_t GetScreenWidth() const;
    uint32_t GetScreenHeight() const;
    // A rectangle from a script or layout in pixels of this screen, by the
    // rectangle rule (ScreenCoordinates.h); as whole pixels in the second.
    CRect ScreenRectToPixels(const CRect& rect) const;
    irr::core::rect<irr::s32> ScreenRectToPixelRect(const CRect& rect) const;

    /// The name registered for the id, or null; owned by the manager's
    /// registry, valid until the id's name changes or goes or the GUI is
    /// cleared.
    const std::pmr::wstring* FindElementName(int32_t id) const;
    // Refuses an element of another kind (or none) where the caller needs
    // one kind: "[CGuiManager::<method>] Gui element is not <kind>:<name>",
    // the kind with its article ("a check box"). As<T> (GuiElementKinds.h)
    // is the one way the operations ask for a kind.
    [[noreturn]] void ThrowNotKind(irr::gui::IGUIElement* element, const wchar_t* method,
                                   const wchar_t* kind) const;

    /// The texture of the file, without creating one, or null when missing;
    /// owned by the video driver (do not drop it), valid until the driver
    /// lets go of it or the device goes.
    irr::video::ITexture* FindTextureFile(const std::wstring& file) const;
    // The texture's file name; "" for none.
    std::wstring GetTextureFile(irr::video::ITexture* texture) const;

    // The shortcuts themselves, for what the operations above do not ask:
    // the binding of an element's name, every binding.
    const CGuiShortcuts& GetShortcuts() const { return m_shortcuts; }
    // The skin and font state, attached to the GUI environment while the
    // manager has a device. Its messages name the GUI manager.
    CSkinManager& GetSkins();
    const CSkinManager& GetSkins() const;
    /// The GUI's sprite bank, made anew on every device, or null without
    /// one; the manager holds it (do not drop it), valid until the device
    /// goes.
    Graphics::Sprite::CGuiKVOSpriteBank* GetSpriteBank() const;
    // The fader (FaderManager.h).
    CFaderManager& GetFader();

    // The parts that hold the operations on each element kind that are not
    // the manager's own; scripts call them there.
    CGuiTabOperations& GetTabs();
    CGuiScrollBarOperations& GetScrollBars();
    CGuiMenuOperations& GetMenus();
    CGuiComboBoxOperations& GetComboBoxes();
    CGuiElementProperties& GetElementProperties();
    CGuiScrollers& GetScrollers();
    // Bitmap-font builders made for scripts, known by their handle ids; each
    // goes when the device goes at the latest (it draws on its driver).
    CFontToolRegistry& GetFontTools();
    // Layout files, for what the manager's layout operations do not offer
    // (a load under another parent).
    CGuiLayoutReader& GetLayoutReader();

private:
    // The parts of the manager, with their own members (GuiManagerParts.h),
    // and the layout reader's and writer's view of the manager
    // (GuiManagerLayoutHost.h).
    struct SParts;
    class CLayoutHost;
    friend CInputKeyMap& InputKeyMapOf(CGuiManager& manager);

    /// Not to be dropped: the GUI environment owns the element, valid until it is removed.
    irr::gui::IGUIElement* FindElementAtPoint(irr::gui::IGUIElement* start,
                                              const irr::core::vector2d<irr::s32>& point) const;
    // Whether the element hangs below the environment's root.
    bool IsAttached(const irr::gui::IGUIElement* element) const;
    // Removes the menu item of the id from the menu that holds it; false
    // when the element is no such menu.
    bool RemoveMenuItem(irr::gui::IGUIElement* element, int32_t id);

    IGuiHost* m_host;
    Graphics::CGraphicsEngine* m_source;
    irr::IrrlichtDevice* m_device = nullptr;
    irr::gui::IGUIEnvironment* m_environment = nullptr;
    irr::io::IFileSystem* m_fileSystem = nullptr;
    // Holds one reference while set.
    irr::gui::IGUIElement* m_guiParent = nullptr;
    bool m_started = false;
    int32_t m_tabOrder = 0;
    CGuiShortcuts m_shortcuts;
    std::unique_ptr<SParts> m_parts;
};

} // namespace Graphics::GUI
