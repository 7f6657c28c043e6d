// Keyboard shortcuts of the GUI and their text form in layouts.

#include "gui/input/GuiShortcuts.h"

#include <cstdio>

namespace Graphics::GUI
{

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

bool CGuiShortcuts::SShortcutKey::operator<(const SShortcutKey& other) const
{
    if (keyCode != other.keyCode)
        return keyCode < other.keyCode;
    // A set flag sorts before an unset one.
    if (pressed != other.pressed)
        return pressed;
    if (shift != other.shift)
        return shift;
    if (control != other.control)
        return control;
    return false;
}

uint16_t CGuiShortcuts::Add(uint16_t keyCode, bool shift, bool control, const std::wstring& elementName,
                            uint32_t eventType, bool unique)
{
    const SShortcutKey key{keyCode, false, shift, control};
    if (unique && m_shortcuts.count(key) != 0)
        return 0;
    m_shortcuts[key] = CGuiEvent{m_source, elementName, eventType, 1};
    return keyCode;
}

uint16_t CGuiShortcuts::AddText(const std::string& text, const std::wstring& elementName, uint32_t eventType,
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
    return Add(keyCode, shift, control, elementName, eventType, unique);
}

std::string CGuiShortcuts::Text(const SShortcutKey& key)
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

const CGuiEvent* CGuiShortcuts::Find(const SShortcutKey& key) const
{
    const auto found = m_shortcuts.find(key);
    return found == m_shortcuts.end() ? nullptr : &found->second;
}

const CGuiShortcuts::Binding* CGuiShortcuts::FindOf(const std::wstring& elementName) const
{
    for (const Binding& binding : m_shortcuts)
    {
        if (binding.second.elementName == elementName)
            return &binding;
    }
    return nullptr;
}

bool CGuiShortcuts::KeyExists(uint16_t keyCode, bool shift, bool control) const
{
    return Find(SShortcutKey{keyCode, false, shift, control}) != nullptr;
}

size_t CGuiShortcuts::Remove(const std::wstring& elementName)
{
    size_t count = 0;
    for (auto binding = m_shortcuts.begin(); binding != m_shortcuts.end();)
    {
        if (binding->second.elementName == elementName)
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

void CGuiShortcuts::Rename(const std::wstring& oldName, const std::wstring& newName)
{
    for (auto& binding : m_shortcuts)
    {
        if (binding.second.elementName == oldName)
            binding.second.elementName = newName;
    }
}

size_t CGuiShortcuts::Clear()
{
    const size_t count = m_shortcuts.size();
    m_shortcuts.clear();
    return count;
}

} // namespace Graphics::GUI
