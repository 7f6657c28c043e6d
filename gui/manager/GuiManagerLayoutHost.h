#pragma once

#include "gui/layout/IGuiLayoutHost.h"
#include "gui/manager/GuiManager.h"

namespace Graphics::GUI
{

// The manager as its layout reader and writer see it: each call is the
// manager's own (or that of the part that holds it), so a layout block does
// what the same call from a script does.
/// Each call answers as the manager's call of that name (or its part's)
/// does: a pointer it gives is owned as that call's comment says
/// (GuiManager.h, gui/elements).
class CGuiManager::CLayoutHost final : public IGuiLayoutHost
{
public:
    explicit CLayoutHost(CGuiManager& manager) : m_manager(manager) {}
    CLayoutHost(const CLayoutHost&) = delete;
    CLayoutHost& operator=(const CLayoutHost&) = delete;

    irr::IrrlichtDevice* GetDevice() const override;
    irr::gui::IGUIEnvironment* GetGuiEnvironment() const override;
    CGuiEventQueue& GetEventQueue() override;
    ::CApplication* GetLayoutApplication() const override;
    irr::gui::IGUIElement* GetGuiParent() override;
    void SetGuiParent(irr::gui::IGUIElement* element) override;
    bool IsAttached(const irr::gui::IGUIElement* element) const override;
    void RemoveChildren(irr::gui::IGUIElement* element) override;
    int32_t RegisterElementName(const std::wstring& name, int32_t requestedId) override;
    std::wstring GetElementName(int32_t id, bool throwIfMissing) const override;
    const std::pmr::wstring* FindElementName(int32_t id) const override;
    irr::gui::IGUIElement* GetElement(int32_t id, bool throwIfMissing) override;
    irr::gui::IGUIElement* GetElement(const std::wstring& name, bool throwIfMissing) override;
    bool ElementIdExists(int32_t id) override;
    int32_t GetElementType(irr::gui::IGUIElement* element) const override;
    uint32_t GetScreenWidth() const override;
    uint32_t GetScreenHeight() const override;
    CRect ScreenRectToPixels(const CRect& rect) const override;
    irr::core::rect<irr::s32> ScreenRectToPixelRect(const CRect& rect) const override;
    std::wstring GetElementText(irr::gui::IGUIElement* element) const override;
    void SetElementToolTip(irr::gui::IGUIElement* element, const std::wstring& text) override;
    std::wstring GetElementToolTip(irr::gui::IGUIElement* element) const override;
    bool HasElementToolTip(irr::gui::IGUIElement* element) const override;
    bool GetElementTabStop(irr::gui::IGUIElement* element) const override;
    void SetElementTabStop(irr::gui::IGUIElement* element, bool enable) override;
    bool GetElementTabGroup(irr::gui::IGUIElement* element) const override;
    void SetElementTabGroup(irr::gui::IGUIElement* element, bool enable) override;
    int32_t GetElementTabOrder(irr::gui::IGUIElement* element) const override;
    void SetElementTabOrder(irr::gui::IGUIElement* element, int32_t order) override;
    void SetElementAlignment(irr::gui::IGUIElement* element, int32_t left, int32_t top, int32_t right,
                             int32_t bottom) override;
    void SetElementMinSize(irr::gui::IGUIElement* element, float width, float height) override;
    void SetElementMaxSize(irr::gui::IGUIElement* element, float width, float height) override;
    bool IsElementClipped(irr::gui::IGUIElement* element) const override;
    void SetElementClipped(irr::gui::IGUIElement* element, bool clipped) override;
    void SetElementRelativeRect(irr::gui::IGUIElement* element,
                                const irr::core::rect<irr::s32>& rect) override;
    std::optional<std::wstring> GetElementFontFile(irr::gui::IGUIElement* element) override;
    std::wstring GetTextureFile(irr::video::ITexture* texture) const override;
    uint16_t AddShortcutText(const std::string& text, const std::wstring& name, uint32_t eventType,
                             bool unique) override;
    const CGuiShortcuts::Binding* FindShortcutOf(const std::wstring& name) const override;
    void ReadSkin(Misc::Serialization::IArchive& archive) override;
    void ReadFonts(Misc::Serialization::IArchive& archive) override;
    bool ReadSpriteBank(Misc::Serialization::IArchive& archive) override;
    void SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime) override;
    SGuiFaderSettings GetFaderSettings() const override;
    irr::gui::IGUIButton* AddButton(int32_t id, const std::wstring& text,
                                    const irr::core::rect<irr::s32>& rect, const std::wstring& font,
                                    const std::wstring& image, const std::wstring& pressedImage, bool push,
                                    bool alpha, bool border) override;
    irr::gui::IGUIImage* addImage(int32_t id, const std::wstring& file, const irr::core::rect<irr::s32>& rect,
                                  bool alpha, bool scale) override;
    irr::gui::IGUIStaticText* AddStaticText(int32_t id, const std::wstring& text,
                                            const irr::core::rect<irr::s32>& rect, bool border, bool wordWrap,
                                            bool background, const CColor& color,
                                            const std::wstring& font) override;
    CColor GetStaticTextColor(irr::gui::IGUIElement* element) override;
    CColor GetStaticTextBackgroundColor(irr::gui::IGUIElement* element) override;
    irr::gui::IGUIEditBox* AddEditBox(int32_t id, const std::wstring& text,
                                      const irr::core::rect<irr::s32>& rect, bool border,
                                      const std::wstring& font, uint32_t maxChars) override;
    void SetEditBoxMultiline(irr::gui::IGUIElement* element, bool multiline) override;
    void SetEditBoxColor(irr::gui::IGUIElement* element, const CColor& color) override;
    CColor GetEditBoxColor(irr::gui::IGUIElement* element) override;
    irr::gui::IGUISpinBox* AddSpinBox(int32_t id, const std::wstring& text,
                                      const irr::core::rect<irr::s32>& rect, int32_t upId, int32_t downId,
                                      float minimum, float maximum, float value, int32_t decimals) override;
    void SetSpinBoxStepSize(irr::gui::IGUIElement* element, float step) override;
    int32_t GetSpinBoxDecimals(irr::gui::IGUIElement* element) override;
    irr::gui::IGUIButton* GetSpinBoxButton(irr::gui::IGUISpinBox* spinBox, bool up) const override;
    irr::gui::IGUICheckBox* AddCheckBox(int32_t id, const std::wstring& caption, bool checked,
                                        const CRect& pixelRect) override;
    bool IsCheckBoxChecked(irr::gui::IGUIElement* element) const override;
    irr::gui::IGUIContextMenu* AddMenu(int32_t id) override;
    irr::gui::IGUIContextMenu* AddContextMenu(int32_t id, const CRect& pixelRect) override;
    irr::gui::IGUIContextMenu* addSubMenu(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id,
                                          bool enabled, int32_t position) override;
    bool addMenuItem(irr::gui::IGUIElement* menu, const std::wstring& text, int32_t id, bool enabled,
                     bool checked, int32_t position) override;
    bool AddMenuSeparator(irr::gui::IGUIElement* menu, const std::wstring& name, int32_t position) override;
    void RecalculateMenuSize(irr::gui::IGUIContextMenu* menu) override;
    bool HoldMenuSizing(bool held) override;
    irr::gui::IGUIToolBar* AddToolbar(int32_t id, const CRect& pixelRect) override;
    irr::gui::IGUIButton* addToolbarButton(irr::gui::IGUIElement* toolbar, int32_t id,
                                           const std::wstring& text, const std::wstring& font,
                                           const std::wstring& image, const std::wstring& pressedImage,
                                           bool pushButton, bool useAlpha, bool border) override;
    irr::gui::IGUITabControl* AddTabControl(int32_t id, const CRect& pixelRect, bool fillBackground,
                                            bool border) override;
    irr::gui::IGUITab* addTabPage(irr::gui::IGUIElement* tabControl, int32_t id, const std::wstring& caption,
                                  const CColor& color, bool drawBackground) override;
    irr::gui::IGUITab* AddTab(int32_t id, const CRect& pixelRect, bool drawBackground,
                              const CColor& color) override;
    irr::gui::IGUIScrollBar* AddScrollBar(int32_t id, bool horizontal, const CRect& pixelRect,
                                          uint32_t maximum, int32_t position, int32_t upButtonId,
                                          int32_t downButtonId) override;
    void SetScrollBarLimit(irr::gui::IGUIElement* bar, uint32_t maximum, float smallFraction,
                           float largeFraction) override;
    bool GetScrollBarHorizontal(irr::gui::IGUIElement* bar) override;
    float GetScrollBarSmallStep(irr::gui::IGUIElement* bar) override;
    float GetScrollBarLargeStep(irr::gui::IGUIElement* bar) override;
    int32_t GetScrollBarUpButtonId(irr::gui::IGUIElement* bar) override;
    int32_t GetScrollBarDownButtonId(irr::gui::IGUIElement* bar) override;
    CGUIListBoxEx* AddListBox(const std::wstring& name, const CRect& rect, bool background,
                              const std::wstring& scrollBarName, const std::wstring& upButtonName,
                              const std::wstring& downButtonName) override;
    CGUIComboBoxEx* AddComboBox(const std::wstring& name, const CRect& rect, const std::wstring& buttonName,
                                const std::wstring& listName) override;
    CGUITableEx* AddTableNamed(const std::wstring& name, const CRect& rect, bool drawBackground) override;
    void SetTableColumnWidth(irr::gui::IGUIElement* table, int32_t column, float width) override;
    void SetTableSelectedRow(irr::gui::IGUIElement* table, int32_t row) override;

private:
    CGuiManager& m_manager;
};

} // namespace Graphics::GUI
