#pragma once

#include "core/foundation/Color.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace irr::gui
{
class IGUIButton;
class IGUIElement;
class IGUISpinBox;
} // namespace irr::gui

namespace Graphics::GUI
{

class CGuiManager;

// What scripts read and change on the library's buttons, check boxes,
// static texts, edit boxes, spin boxes and images beyond the manager's own
// operations. Scripts name elements without saying their kind, so each
// operation first makes sure the element is of its kind, refusing another
// with "[CGuiManager::<method>] Gui element is not <kind>:<name>" (the
// method is the operation's name). Settings that the library keeps without
// a getter are read from the element's serialized attributes.
class CGuiElementProperties
{
public:
    // The manager names the screen, the device, the fonts and the textures.
    explicit CGuiElementProperties(CGuiManager& manager) : m_manager(manager) {}

    // A colour whose alpha is at most this switches an override colour off.
    static constexpr float kNoColorAlpha = 0.000001f;

    // The file registered for the element's override font; null when the
    // element has no override font, "" when the font is not registered.
    // Buttons, static texts and edit boxes have one; another element throws
    // "[CGuiManager::GetElementFontFile] Gui element has no font:%s".
    std::optional<std::wstring> GetElementFontFile(irr::gui::IGUIElement* element);

    // Buttons.
    bool IsButtonPressed(irr::gui::IGUIElement* element);
    void SetButtonPressed(irr::gui::IGUIElement* element, bool pressed);
    bool IsButtonPushButton(irr::gui::IGUIElement* element);
    void SetButtonPushButton(irr::gui::IGUIElement* element, bool push);
    bool IsButtonAlphaEnabled(irr::gui::IGUIElement* element);
    void SetButtonAlphaEnabled(irr::gui::IGUIElement* element, bool alpha);
    bool IsButtonBorderEnabled(irr::gui::IGUIElement* element);
    void SetButtonBorderEnabled(irr::gui::IGUIElement* element, bool border);

    // Check boxes.
    bool IsCheckBoxChecked(irr::gui::IGUIElement* element) const;

    // Static texts. The colour getter answers (0, 0, 0, 0) while the
    // override colour is off.
    CColor GetStaticTextColor(irr::gui::IGUIElement* element);
    void SetStaticTextBackgroundColor(irr::gui::IGUIElement* element, const CColor& color);
    CColor GetStaticTextBackgroundColor(irr::gui::IGUIElement* element);
    void SetStaticTextWordWrap(irr::gui::IGUIElement* element, bool wordWrap);
    bool GetStaticTextWordWrap(irr::gui::IGUIElement* element);
    void SetStaticTextBorder(irr::gui::IGUIElement* element, bool border);
    bool GetStaticTextBorder(irr::gui::IGUIElement* element);
    void SetStaticTextBackground(irr::gui::IGUIElement* element, bool background);
    bool GetStaticTextBackground(irr::gui::IGUIElement* element);
    // EGUI_ALIGNMENT numbers; another number throws.
    void SetStaticTextAlignment(irr::gui::IGUIElement* element, int32_t horizontal, int32_t vertical);
    int32_t GetStaticTextAlignmentHorizontal(irr::gui::IGUIElement* element);
    int32_t GetStaticTextAlignmentVertical(irr::gui::IGUIElement* element);
    // The text's size as fractions of the screen.
    float GetStaticTextWidth(irr::gui::IGUIElement* element);
    float GetStaticTextHeight(irr::gui::IGUIElement* element);

    // Edit boxes. The colour rule is the static text's.
    void SetEditBoxColor(irr::gui::IGUIElement* element, const CColor& color);
    CColor GetEditBoxColor(irr::gui::IGUIElement* element);
    void SetEditBoxBorder(irr::gui::IGUIElement* element, bool border);
    bool GetEditBoxBorder(irr::gui::IGUIElement* element);
    void SetEditBoxMaxChars(irr::gui::IGUIElement* element, uint32_t maxChars);
    uint32_t GetEditBoxMaxChars(irr::gui::IGUIElement* element);
    // The library keeps the selection to itself: this holds the one scripts
    // set, limited to the text (both ends from 0 to its length).
    void SetEditBoxSelection(irr::gui::IGUIElement* element, int32_t start, int32_t end);
    std::pair<int32_t, int32_t> GetEditBoxSelection(irr::gui::IGUIElement* element);
    bool GetEditBoxPassword(irr::gui::IGUIElement* element);
    void SetEditBoxAutoScroll(irr::gui::IGUIElement* element, bool autoScroll);
    bool GetEditBoxMultiline(irr::gui::IGUIElement* element);
    void SetEditBoxAlignment(irr::gui::IGUIElement* element, int32_t horizontal, int32_t vertical);
    int32_t GetEditBoxAlignmentHorizontal(irr::gui::IGUIElement* element);
    int32_t GetEditBoxAlignmentVertical(irr::gui::IGUIElement* element);
    // The selection of an element that goes, and every selection when the
    // GUI is cleared.
    void ForgetEditBoxSelection(irr::gui::IGUIElement* element);
    void ClearEditBoxSelections();

    // Spin boxes. Their numbers stay within -1e9 to 1e9 (not a number is
    // 0) and 8 decimal places (a negative count: the library's default).
    float GetSpinBoxValue(irr::gui::IGUIElement* element);
    float GetSpinBoxMin(irr::gui::IGUIElement* element);
    float GetSpinBoxMax(irr::gui::IGUIElement* element);
    void SetSpinBoxStepSize(irr::gui::IGUIElement* element, float step);
    float GetSpinBoxStepSize(irr::gui::IGUIElement* element);
    void SetSpinBoxDecimals(irr::gui::IGUIElement* element, int32_t decimals);
    int32_t GetSpinBoxDecimals(irr::gui::IGUIElement* element);
    // A number as a spin box can hold it.
    static float ToSpinBoxNumber(float value);
    /// The spin box's up or down button (a child of its own), owned by the
    /// spin box and valid while it lives; null when missing.
    static irr::gui::IGUIButton* GetSpinBoxButton(irr::gui::IGUISpinBox* spinBox, bool up);

    // Images: the texture's file name ("" for none) and the flags.
    std::wstring GetImageTexture(irr::gui::IGUIElement* element);
    bool GetImageAlpha(irr::gui::IGUIElement* element);
    bool GetImageScale(irr::gui::IGUIElement* element);

private:
    CGuiManager& m_manager;

    // The edit box selections scripts set, by element (with the element's
    // id, so that a later element at the same address does not inherit one).
    struct SEditSelection
    {
        int32_t id = 0;
        int32_t start = 0;
        int32_t end = 0;
    };
    std::map<irr::gui::IGUIElement*, SEditSelection> m_editSelections;
};

} // namespace Graphics::GUI
