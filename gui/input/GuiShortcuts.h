#pragma once

#include "core/events/Events.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace Graphics
{
class CGraphicsEngine;
}

namespace Graphics::GUI
{

// The keyboard shortcuts of the GUI: keys bound to the GUI event of an
// element, by the element's name. The engine's receiver publishes the bound
// event (flag 1) when its key is pressed; layouts store a binding as text
// ("0x41+0x10+0x11": the key, shift, control).
class CGuiShortcuts
{
public:
    // Key code, pressed, shift and control must all be equal for a key event
    // to match. Keys order by code, then by each flag in turn, a set flag
    // before an unset one.
    struct SShortcutKey
    {
        uint16_t keyCode = 0;
        bool pressed = false;
        bool shift = false;
        bool control = false;

        bool operator<(const SShortcutKey& other) const;
    };
    using ShortcutMap = std::map<SShortcutKey, CGuiEvent>;
    using Binding = std::pair<const SShortcutKey, CGuiEvent>;

    // source: the engine that the bound events name as their source.
    explicit CGuiShortcuts(Graphics::CGraphicsEngine* source) : m_source(source) {}

    // Binds the key (not pressed, with shift and control) to a GUI event of
    // the element. With unique, a key that is bound already stays as it is
    // and the result is 0; otherwise the result is the key code.
    uint16_t Add(uint16_t keyCode, bool shift, bool control, const std::wstring& elementName,
                 uint32_t eventType, bool unique);
    // Binds the shortcut text: Add's result, or 0 and nothing bound when a
    // part of the text is no hexadecimal code or no key remains.
    uint16_t AddText(const std::string& text, const std::wstring& elementName, uint32_t eventType,
                     bool unique);
    // The text of a binding, as layouts store it.
    static std::string Text(const SShortcutKey& key);

    // The GUI event bound to exactly this key, or null.
    const CGuiEvent* Find(const SShortcutKey& key) const;
    // The first binding in key order that names the element, or null.
    const Binding* FindOf(const std::wstring& elementName) const;
    // Whether the key (not pressed, with shift and control) is bound.
    bool KeyExists(uint16_t keyCode, bool shift, bool control) const;

    // Erases every binding that names the element; how many there were.
    size_t Remove(const std::wstring& elementName);
    // The element's bindings follow it to its new name.
    void Rename(const std::wstring& oldName, const std::wstring& newName);
    // Removes every binding; how many there were.
    size_t Clear();
    const ShortcutMap& GetAll() const { return m_shortcuts; }

private:
    Graphics::CGraphicsEngine* m_source;
    ShortcutMap m_shortcuts;
};

} // namespace Graphics::GUI
