#include "gui/GuiManager.h"

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "graphics/engine/GraphicsEngine.h"

#include <irrlicht.h>

#include <cerrno>
#include <cwchar>

namespace Graphics::GUI
{

using namespace irr;

bool CGuiManager::SShortcutKey::operator<(const SShortcutKey& other) const
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

CGuiManager::CGuiManager(Graphics::CGraphicsEngine* engine) : m_engine(engine), m_fader(this) {}

CGuiManager::~CGuiManager()
{
    DetachDevice();
}

void CGuiManager::SetDevice(IrrlichtDevice* device)
{
    if (device != nullptr)
        m_device = device;
    if (m_device == nullptr)
        return;
    m_environment = m_device->getGUIEnvironment();
    m_fileSystem = m_device->getFileSystem();
    Clear();
}

void CGuiManager::DetachDevice()
{
    Clear();
    ClearFonts();
    m_fader.Clear(false);
    m_environment = nullptr;
    m_fileSystem = nullptr;
    m_device = nullptr;
    m_started = false;
}

void CGuiManager::Clear()
{
    if (m_environment == nullptr)
        return;
    m_fader.Clear(true);
    if (m_guiParent != nullptr)
    {
        m_guiParent->drop();
        m_guiParent = nullptr;
    }
    // The environment's own clear also lets go of the focused and hovered
    // elements, which removing the children one by one would leave behind.
    m_environment->clear();
    m_shortcuts.clear();
    m_nameToId.clear();
    m_idToName.clear();
}

void CGuiManager::Start()
{
    m_fader.FadeIn(m_fader.GetColor(), m_fader.GetInTime(), true);
    m_started = true;
}

void CGuiManager::Stop()
{
    if (m_started)
    {
        m_fader.FadeOut(m_fader.GetColor(), m_fader.GetOutTime(), true);
        if (m_environment != nullptr)
            m_environment->setFocus(nullptr);
    }
    m_started = false;
}

gui::IGUIElement* CGuiManager::GetGuiParent()
{
    if (m_guiParent == nullptr && m_environment != nullptr)
    {
        m_guiParent = m_environment->getRootGUIElement();
        m_guiParent->setID(0);
        m_guiParent->setTabGroup(false);
        m_guiParent->grab();
    }
    return m_guiParent;
}

void CGuiManager::SetElementName(const std::wstring& name, int32_t id)
{
    m_nameToId[name] = id;
    m_idToName[id] = name;
}

std::wstring CGuiManager::GetElementName(int32_t id, bool throwIfMissing) const
{
    const auto found = m_idToName.find(id);
    if (found != m_idToName.end())
        return found->second;
    if (throwIfMissing)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::GetElementName] Cannot find gui element:%i", id);
    return std::wstring();
}

uint16_t CGuiManager::AddShortcut(uint16_t keyCode, bool shift, bool control, const std::wstring& elementName,
                                  uint32_t eventType, bool unique)
{
    const SShortcutKey key{keyCode, false, shift, control};
    if (unique && m_shortcuts.count(key) != 0)
        return 0;
    m_shortcuts[key] = CGuiEvent{m_engine, elementName, eventType, 1};
    return keyCode;
}

const CGuiEvent* CGuiManager::FindShortcut(const SShortcutKey& key) const
{
    const auto found = m_shortcuts.find(key);
    return found == m_shortcuts.end() ? nullptr : &found->second;
}

size_t CGuiManager::ClearShortcuts()
{
    const size_t count = m_shortcuts.size();
    m_shortcuts.clear();
    return count;
}

gui::IGUIFont* CGuiManager::GetFont(const std::wstring& name, bool registerFont)
{
    if (m_environment == nullptr)
        throw Misc::Error::CKVOError(
            L"[CGuiManager::GetFont] Font not available. Gui manager not initialised.");

    CApplication* application = nullptr;
    if (m_engine != nullptr && m_engine->GetOwner() != nullptr)
        application = m_engine->GetOwner()->GetApplication();
    IFile* file = application != nullptr ? application->OpenFile(name) : nullptr;
    if (file != nullptr)
    {
        const std::wstring path = file->GetPath();
        file->drop();
        // The environment reads the font (and its textures) through the
        // engine's file system, which finds the name as the lookup above did.
        gui::IGUIFont* font = m_environment->getFont(io::path(Misc::Text::WideToUtf8(name).c_str()));
        if (font != nullptr && registerFont)
            SetFont(name, path);
        return font;
    }
    const auto registered = m_fonts.find(name);
    if (registered != m_fonts.end())
        return registered->second;
    return m_environment->getBuiltInFont();
}

bool CGuiManager::SetFont(const std::wstring& key, const std::wstring& file)
{
    gui::IGUIFont* font = GetFont(file, false);
    if (font == nullptr)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::SetFont] Failed to load font:%s", file.c_str());

    // A key that is the decimal text of a number names a skin font slot.
    errno = 0;
    wchar_t* end = nullptr;
    const long long slot = std::wcstoll(key.c_str(), &end, 10);
    if (errno == 0 && end != nullptr && *end == L'\0' && std::to_wstring(slot) == key && slot >= 0 &&
        slot < gui::EGDF_COUNT && m_environment->getSkin() != nullptr)
    {
        m_environment->getSkin()->setFont(font, static_cast<gui::EGUI_DEFAULT_FONT>(slot));
    }

    const auto old = m_fonts.find(key);
    if (old != m_fonts.end())
    {
        old->second->drop();
        m_fonts.erase(old);
    }
    m_fontFiles.erase(key);
    if (font != m_environment->getBuiltInFont())
    {
        font->grab();
        m_fonts[key] = font;
    }
    m_fontFiles[key] = file;
    return true;
}

void CGuiManager::ClearFonts()
{
    for (auto& entry : m_fonts)
        entry.second->drop();
    m_fonts.clear();
    m_fontFiles.clear();
}

} // namespace Graphics::GUI
