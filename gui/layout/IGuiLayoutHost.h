#pragma once

#include "core/foundation/Color.h"
#include "core/foundation/Rect.h"
#include "gui/input/GuiShortcuts.h"

#include <rect.h>

#include <cstdint>
#include <optional>
#include <memory_resource>
#include <string>

class CApplication;

namespace irr
{
class IrrlichtDevice;
namespace gui
{
class IGUIButton;
class IGUICheckBox;
class IGUIContextMenu;
class IGUIEditBox;
class IGUIElement;
class IGUIEnvironment;
class IGUIImage;
class IGUIScrollBar;
class IGUISpinBox;
class IGUIStaticText;
class IGUITab;
class IGUITabControl;
class IGUIToolBar;
} // namespace gui
namespace video
{
class ITexture;
}
} // namespace irr

namespace Misc::Serialization
{
class IArchive;
}

namespace Graphics::GUI
{

class CGuiEventQueue;
class CGUIComboBoxEx;
class CGUIListBoxEx;
class CGUITableEx;

// The fade a layout stores with its GUI.
struct SGuiFaderSettings
{
    int32_t id = -1;
    CColor color;
    uint32_t inTime = 0;
    uint32_t outTime = 0;
};

// What the layout reader and writer need of the GUI manager: the GUI
// parent, element names and lookups, the element properties a layout
// stores, the skin blocks, the fader, and for each element kind the calls
// that make it and read its state. The manager implements it; the calls
// keep the manager's names, so a layout block does what the same call from
// a script does (events, name registration, screen rules included).
/// No pointer it answers is the caller's: elements and fonts belong to the
/// GUI environment (do not drop them), the device and the application to
/// their owners, names and shortcuts to the manager until they change.
class IGuiLayoutHost
{
public:
    // The GUI and its environment.
    virtual irr::IrrlichtDevice* GetDevice() const = 0;
    virtual irr::gui::IGUIEnvironment* GetGuiEnvironment() const = 0;
    virtual CGuiEventQueue& GetEventQueue() = 0;
    // The application's file lookup; null for a manager on its own.
    virtual ::CApplication* GetLayoutApplication() const = 0;
    virtual irr::gui::IGUIElement* GetGuiParent() = 0;
    virtual void SetGuiParent(irr::gui::IGUIElement* element) = 0;
    virtual bool IsAttached(const irr::gui::IGUIElement* element) const = 0;
    virtual void RemoveChildren(irr::gui::IGUIElement* element) = 0;

    // Names and lookups.
    virtual int32_t RegisterElementName(const std::wstring& name, int32_t requestedId) = 0;
    virtual std::wstring GetElementName(int32_t id, bool throwIfMissing) const = 0;
    virtual const std::pmr::wstring* FindElementName(int32_t id) const = 0;
    virtual irr::gui::IGUIElement* GetElement(int32_t id, bool throwIfMissing) = 0;
    virtual irr::gui::IGUIElement* GetElement(const std::wstring& name, bool throwIfMissing) = 0;
    virtual bool ElementIdExists(int32_t id) = 0;
    virtual int32_t GetElementType(irr::gui::IGUIElement* element) const = 0;

    // Screen coordinates.
    virtual uint32_t GetScreenWidth() const = 0;
    virtual uint32_t GetScreenHeight() const = 0;
    virtual CRect ScreenRectToPixels(const CRect& rect) const = 0;
    virtual irr::core::rect<irr::s32> ScreenRectToPixelRect(const CRect& rect) const = 0;

    // Properties every element shares.
    virtual std::wstring GetElementText(irr::gui::IGUIElement* element) const = 0;
    virtual void SetElementToolTip(irr::gui::IGUIElement* element, const std::wstring& text) = 0;
    virtual std::wstring GetElementToolTip(irr::gui::IGUIElement* element) const = 0;
    virtual bool HasElementToolTip(irr::gui::IGUIElement* element) const = 0;
    virtual bool GetElementTabStop(irr::gui::IGUIElement* element) const = 0;
    virtual void SetElementTabStop(irr::gui::IGUIElement* element, bool enable) = 0;
    virtual bool GetElementTabGroup(irr::gui::IGUIElement* element) const = 0;
    virtual void SetElementTabGroup(irr::gui::IGUIElement* element, bool enable) = 0;
    virtual int32_t GetElementTabOrder(irr::gui::IGUIElement* element) const = 0;
    virtual void SetElementTabOrder(irr::gui::IGUIElement* element, int32_t order) = 0;
    virtual void SetElementAlignment(irr::gui::IGUIElement* element, int32_t left, int32_t top, int32_t right,
                                     int32_t bottom) = 0;
    virtual void SetElementMinSize(irr::gui::IGUIElement* element, float width, float height) = 0;
    virtual void SetElementMaxSize(irr::gui::IGUIElement* element, float width, float height) = 0;
    virtual bool IsElementClipped(irr::gui::IGUIElement* element) const = 0;
    virtual void SetElementClipped(irr::gui::IGUIElement* element, bool clipped) = 0;
    virtual void SetElementRelativeRect(irr::gui::IGUIElement* element,
                                        const irr::core::rect<irr::s32>& rect) = 0;
    virtual std::optional<std::wstring> GetElementFontFile(irr::gui::IGUIElement* element) = 0;
    virtual std::wstring GetTextureFile(irr::video::ITexture* texture) const = 0;

    // Shortcuts.
    virtual uint16_t AddShortcutText(const std::string& text, const std::wstring& name, uint32_t eventType,
                                     bool unique) = 0;
    virtual const CGuiShortcuts::Binding* FindShortcutOf(const std::wstring& name) const = 0;

    // The skin, fonts and sprite bank blocks; the fader.
    virtual void ReadSkin(Misc::Serialization::IArchive& archive) = 0;
    virtual void ReadFonts(Misc::Serialization::IArchive& archive) = 0;
    virtual bool ReadSpriteBank(Misc::Serialization::IArchive& archive) = 0;
    virtual void SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime) = 0;
    virtual SGuiFaderSettings GetFaderSettings() const = 0;

    // Buttons, images, static texts, edit boxes, spin boxes, check boxes.
    virtual irr::gui::IGUIButton* AddButton(int32_t id, const std::wstring& text,
                                            const irr::core::rect<irr::s32>& rect, const std::wstring& font,
                                            const std::wstring& image, const std::wstring& pressedImage,
                                            bool push, bool alpha, bool border) = 0;
    virtual irr::gui::IGUIImage* addImage(int32_t id, const std::wstring& file,
                                          const irr::core::rect<irr::s32>& rect, bool alpha, bool scale) = 0;
    virtual irr::gui::IGUIStaticText* AddStaticText(int32_t id, const std::wstring& text,
                                                    const irr::core::rect<irr::s32>& rect, bool border,
                                                    bool wordWrap, bool background, const CColor& color,
                                                    const std::wstring& font) = 0;
    virtual CColor GetStaticTextColor(irr::gui::IGUIElement* element) = 0;
    virtual CColor GetStaticTextBackgroundColor(irr::gui::IGUIElement* element) = 0;
    virtual irr::gui::IGUIEditBox* AddEditBox(int32_t id, const std::wstring& text,
                                              const irr::core::rect<irr::s32>& rect, bool border,
                                              const std::wstring& font, uint32_t maxChars) = 0;
    virtual void SetEditBoxMultiline(irr::gui::IGUIElement* element, bool multiline) = 0;
    virtual void SetEditBoxColor(irr::gui::IGUIElement* element, const CColor& color) = 0;
    virtual CColor GetEditBoxColor(irr::gui::IGUIElement* element) = 0;
    virtual irr::gui::IGUISpinBox* AddSpinBox(int32_t id, const std::wstring& text,
                                              const irr::core::rect<irr::s32>& rect, int32_t upId,
                                              int32_t downId, float minimum, float maximum, float value,
                                              int32_t decimals) = 0;
    virtual void SetSpinBoxStepSize(irr::gui::IGUIElement* element, float step) = 0;
    virtual int32_t GetSpinBoxDecimals(irr::gui::IGUIElement* element) = 0;
    virtual irr::gui::IGUIButton* GetSpinBoxButton(irr::gui::IGUISpinBox* spinBox, bool up) const = 0;
    virtual irr::gui::IGUICheckBox* AddCheckBox(int32_t id, const std::wstring& caption, bool checked,
                                                const CRect& pixelRect) = 0;
    virtual bool IsCheckBoxChecked(irr::gui::IGUIElement* element) const = 0;

    // Menus and tool bars. While menu sizing is held, items added leave
    // their menu's size alone; the previous setting is answered.
    virtual irr::gui::IGUIContextMenu* AddMenu(int32_t id) = 0;
    virtual irr::gui::IGUIContextMenu* AddContextMenu(int32_t id, const CRect& pixelRect) = 0;
    virtual irr::gui::IGUIContextMenu* addSubMenu(irr::gui::IGUIElement* menu, const std::wstring& text,
                                                  int32_t id, bool enabled, int32_t position) = 0;
    virtual bool addMenuItem(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                             bool checked, int32_t position) = 0;
    virtual bool AddMenuSeparator(irr::gui::IGUIElement* menu, const std::wstring& name,
                                  int32_t position) = 0;
    virtual void RecalculateMenuSize(irr::gui::IGUIContextMenu* menu) = 0;
    virtual bool HoldMenuSizing(bool held) = 0;
    virtual irr::gui::IGUIToolBar* AddToolbar(int32_t id, const CRect& pixelRect) = 0;
    virtual irr::gui::IGUIButton* addToolbarButton(irr::gui::IGUIElement* toolbar, int32_t id,
                                                   const std::wstring& text, const std::wstring& font,
                                                   const std::wstring& image,
                                                   const std::wstring& pressedImage, bool pushButton,
                                                   bool useAlpha, bool border) = 0;

    // Tab controls, tabs and scroll bars.
    virtual irr::gui::IGUITabControl* AddTabControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                                    bool border) = 0;
    virtual irr::gui::IGUITab* addTabPage(irr::gui::IGUIElement* tabControl, int32_t id,
                                          const std::wstring& caption, const CColor& color,
                                          bool drawBackground) = 0;
    virtual irr::gui::IGUITab* AddTab(int32_t id, const CRect& pixelRect, bool drawBackground,
                                      const CColor& color) = 0;
    virtual irr::gui::IGUIScrollBar* AddScrollBar(int32_t id, bool horizontal, const CRect& pixelRect,
                                                  uint32_t maximum, int32_t position, int32_t upButtonId,
                                                  int32_t downButtonId) = 0;
    virtual void SetScrollBarLimit(irr::gui::IGUIElement* bar, uint32_t maximum, float smallFraction,
                                   float largeFraction) = 0;
    virtual bool GetScrollBarHorizontal(irr::gui::IGUIElement* bar) = 0;
    virtual float GetScrollBarSmallStep(irr::gui::IGUIElement* bar) = 0;
    virtual float GetScrollBarLargeStep(irr::gui::IGUIElement* bar) = 0;
    virtual int32_t GetScrollBarUpButtonId(irr::gui::IGUIElement* bar) = 0;
    virtual int32_t GetScrollBarDownButtonId(irr::gui::IGUIElement* bar) = 0;

    // List boxes, combo boxes and tables.
    virtual CGUIListBoxEx* AddListBox(const std::wstring& name, const CRect& rect, bool background,
                                      const std::wstring& scrollBarName, const std::wstring& upButtonName,
                                      const std::wstring& downButtonName) = 0;
    virtual CGUIComboBoxEx* AddComboBox(const std::wstring& name, const CRect& rect,
                                        const std::wstring& buttonName, const std::wstring& listName) = 0;
    virtual CGUITableEx* AddTableNamed(const std::wstring& name, const CRect& rect, bool drawBackground) = 0;
    virtual void SetTableColumnWidth(irr::gui::IGUIElement* table, int32_t column, float width) = 0;
    virtual void SetTableSelectedRow(irr::gui::IGUIElement* table, int32_t row) = 0;

protected:
    ~IGuiLayoutHost() = default;
};

} // namespace Graphics::GUI
