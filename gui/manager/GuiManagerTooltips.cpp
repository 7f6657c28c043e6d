// Tooltips on elements and the text form of keyboard shortcuts.

#include "gui/manager/GuiManager.h"

#include <irrlicht.h>

#include <cstdio>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

constexpr uint16_t kShiftCode = 0x10;
constexpr uint16_t kControlCode = 0x11;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One "0x.." code: the two characters of the prefix are skipped, the rest
// must be hexadecimal digits of a 16-bit code. False for anything else.
bool ParseKeyCode(std::string token, uint16_t& code)
{
    const size_t first = token.find_first_not_of(" \t\r\n");
    const size_t last = token.find_last_not_of(" \t\r\n");
    token = first == std::string::npos ? std::string() : token.substr(first, last - first + 1);
    if (token.size() < 3 || token.size() > 6)
        return false;
    uint32_t value = 0;
    for (size_t i = 2; i < token.size(); ++i)
    {
        const int digit = HexDigit(token[i]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    if (value > 0xFFFF)
        return false;
    code = static_cast<uint16_t>(value);
    return true;
}

} // namespace

uint16_t CGuiManager::AddShortcutText(const std::string& text, const std::wstring& name, uint32_t eventType,
                                      bool unique)
{
    uint16_t keyCode = 0;
    bool shift = false;
    bool control = false;
    size_t start = 0;
    for (;;)
    {
        const size_t plus = text.find('+', start);
        uint16_t code = 0;
        // A text that does not read binds nothing: a key code of 0 would
        // fire on key events that carry no key.
        if (!ParseKeyCode(text.substr(start, plus == std::string::npos ? std::string::npos : plus - start),
                          code))
            return 0;
        if (code == kShiftCode)
            shift = true;
        else if (code == kControlCode)
            control = true;
        else
            keyCode = code;
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    if (keyCode == 0)
        return 0;
    return AddShortcut(keyCode, shift, control, name, eventType, unique);
}

std::string CGuiManager::ShortcutText(const SShortcutKey& key)
{
    char part[8];
    std::snprintf(part, sizeof(part), "0x%02X", key.keyCode);
    std::string text = part;
    if (key.shift)
        text += "+0x10";
    if (key.control)
        text += "+0x11";
    return text;
}

const std::pair<const CGuiManager::SShortcutKey, CGuiEvent>*
CGuiManager::FindShortcutOf(const std::wstring& name) const
{
    for (const auto& binding : m_shortcuts)
    {
        if (binding.second.elementName == name)
            return &binding;
    }
    return nullptr;
}

bool CGuiManager::ShortcutKeyExists(uint16_t keyCode, bool shift, bool control) const
{
    return FindShortcut(SShortcutKey{keyCode, false, shift, control}) != nullptr;
}

size_t CGuiManager::RemoveShortcuts(const std::wstring& name)
{
    size_t count = 0;
    for (auto binding = m_shortcuts.begin(); binding != m_shortcuts.end();)
    {
        if (binding->second.elementName == name)
        {
            binding = m_shortcuts.erase(binding);
            ++count;
        }
        else
        {
            ++binding;
        }
    }
    return count;
}

void CGuiManager::SetElementToolTip(gui::IGUIElement* element, const std::wstring& text)
{
    if (element == nullptr)
        return;
    element->setToolTipText(text.c_str());
    // A spin box is drawn by its edit box and buttons, which show their own
    // tooltips.
    if (element->getType() == gui::EGUIET_SPIN_BOX)
    {
        for (gui::IGUIElement* part : element->getChildren())
            part->setToolTipText(text.c_str());
    }
}

std::wstring CGuiManager::GetElementToolTip(gui::IGUIElement* element) const
{
    if (element == nullptr)
        return std::wstring();
    const wchar_t* text = element->getToolTipText().c_str();
    return text != nullptr ? std::wstring(text) : std::wstring();
}

bool CGuiManager::HasElementToolTip(gui::IGUIElement* element) const
{
    return !GetElementToolTip(element).empty();
}

} // namespace Graphics::GUI
