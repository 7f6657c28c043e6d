// GUI layouts: the element-kind table, the blocks every element shares
// (id and name, position, label, tooltip, tab stops, alignment, children),
// and reading and writing whole GUIs.

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/ArchiveBin.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "core/io/DataBag.h"
#include "core/io/FileStd.h"
#include "core/io/Serializable.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/IrrlichtGuiAdapter.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace Graphics::GUI
{

using Layout::ReadKeyFloats;
using Layout::Require;
using Layout::UsesRelativeCoordinates;
using Layout::WriteBlockEnd;
using Layout::WriteBlockStart;
using Layout::WriteKeyFloats;

using namespace irr;
using Misc::Error::CKVOError;
using Misc::Serialization::IArchive;

namespace
{

// The element's name when it is the decimal form of an integer.
bool NameIsInteger(const std::wstring& name, int32_t& value)
{
    if (name.empty() || name.size() > 11)
        return false;
    wchar_t* end = nullptr;
    const long long parsed = std::wcstoll(name.c_str(), &end, 10);
    if (end != name.c_str() + name.size() || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    if (std::to_wstring(parsed) != name)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

Misc::CLogger* Logger()
{
    return Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
}

struct SFileDrop
{
    void operator()(IFile* file) const
    {
        if (file != nullptr)
            file->drop();
    }
};
using CFilePtr = std::unique_ptr<IFile, SFileDrop>;

// A layout file on disk, by name or with the extension appended; null
// when neither exists.
IFile* OpenDiskLayout(const std::wstring& name)
{
    for (const std::wstring& path : {name, name + L".kvogui"})
    {
        IFile* file = new CFileStd(path, L"rb");
        if (file->IsOk())
            return file;
        file->drop();
    }
    return nullptr;
}

} // namespace

// ---- shared element keys ----------------------------------------------------

int32_t CGuiManager::ReadElementIdName(IArchive& archive)
{
    return RegisterElementName(ReadElementIdNameText(archive), 0);
}

std::wstring CGuiManager::ReadElementIdNameText(IArchive& archive)
{
    std::wstring name;
    if (archive.TestToken("-IdName"))
    {
        Require(archive.ReadWString(name), "-IdName");
    }
    else
    {
        int32_t id = 0;
        Require(archive.ReadKeyInt("-Id", id), "-Id");
        name = std::to_wstring(id);
    }
    return name;
}

CRect CGuiManager::ReadElementPosition(IArchive& archive, const wchar_t* method)
{
    float values[4] = {};
    ReadKeyFloats(archive, "-Position", values, 4, method);
    return CRect(values[0], values[1], values[2], values[3]);
}

// ---- shortcuts and tooltips -------------------------------------------------

bool CGuiManager::ReadShortcut(IArchive& archive, uint32_t eventType, const std::wstring& name)
{
    if (!archive.TestToken("-Shortcut"))
        return false;
    std::string text;
    Require(archive.ReadString(text), "-Shortcut");
    return AddShortcutText(text, name, eventType, false) > 0;
}

bool CGuiManager::ReadToolTip(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr || !archive.TestToken("Tooltip{"))
        return false;
    std::wstring text;
    Require(archive.ReadKeyWString("-Label", text), "-Label");
    if (archive.TestToken("-Size"))
    {
        // Stored by older layouts; the tooltip sizes itself.
        float size[2] = {};
        Require(archive.ReadFloat(size[0]) && archive.ReadFloat(size[1]), "-Size");
    }
    archive.ExpectToken("}");
    SetElementToolTip(element, text);
    return true;
}

// ---- reading ----------------------------------------------------------------

// Makes an element the GUI parent for a scope. The previous parent is held
// meanwhile and is the parent again afterwards, also after an error, unless
// it left the GUI meanwhile (an event subscriber may remove it).
class CGuiManager::CGuiParentScope
{
public:
    CGuiParentScope(CGuiManager& manager, gui::IGUIElement* element)
        : m_manager(manager), m_previous(manager.GetGuiParent())
    {
        if (m_previous != nullptr)
            m_previous->grab();
        m_manager.SetGuiParent(element);
    }
    ~CGuiParentScope()
    {
        m_manager.SetGuiParent(m_manager.IsAttached(m_previous) ? m_previous : nullptr);
        if (m_previous != nullptr)
            m_previous->drop();
    }
    CGuiParentScope(const CGuiParentScope&) = delete;
    CGuiParentScope& operator=(const CGuiParentScope&) = delete;

private:
    CGuiManager& m_manager;
    gui::IGUIElement* m_previous;
};

bool CGuiManager::ReadUnder(gui::IGUIElement* element, IArchive& archive)
{
    const CGuiParentScope scope(*this, element);
    return Read(archive);
}

bool CGuiManager::LoadUnder(const std::wstring& fileName, gui::IGUIElement* parent)
{
    const CGuiEventQueue::CHold events(m_events);
    const CGuiParentScope scope(*this, parent);
    return Load(fileName);
}

CGuiManager::CReadLevel::CReadLevel(CGuiManager& manager, const wchar_t* method)
    : m_depth(manager.m_readDepth)
{
    if (m_depth >= kMaxLayoutDepth)
        throw CKVOError::Format(L"[CGuiManager::%s] Layout nested deeper than %i levels", method,
                                kMaxLayoutDepth);
    ++m_depth;
}

bool CGuiManager::Read(IArchive& archive)
{
    const CReadLevel level(*this, L"Read");

    if (archive.IsVersionAtLeast(1023) && archive.TestToken("Fader{"))
    {
        ReadFader(archive);
        archive.ExpectToken("}");
    }
    if (archive.TestToken("Gui{"))
        ReadElements(archive);
    return true;
}

void CGuiManager::ReadElements(IArchive& archive)
{
    while (!archive.TestToken("}"))
    {
        std::string block = archive.ReadToken(nullptr);
        if (block.empty())
            throw CKVOError(L"[CGuiManager::Read] Gui block not closed");
        if (block.back() != '{')
            throw CKVOError::Format(L"[CGuiManager::Read] Element type not availble for serialization:%s",
                                    Misc::Text::Utf8ToWide(block).c_str());
        block.pop_back();

        gui::IGUIElement* element = nullptr;
        // Element blocks (nearly every block) first: no other block shares
        // a name with an element kind.
        const SGuiLayoutKind* kind = CGuiLayoutKinds::FindByName(block);
        if (kind != nullptr && kind->reader != nullptr)
        {
            element = (this->*(kind->reader))(archive);
            if (element == nullptr)
            {
                // Nothing was created (no GUI environment): the block's
                // shared parts are read all the same.
                ReadDetachedBlocks(archive);
                archive.ExpectToken("}");
                continue;
            }
        }
        else if (block == "Include")
        {
            std::wstring file;
            Require(archive.ReadKeyWString("-File", file), "-File");
            Include(file);
        }
        else if (block == "BackColor")
        {
            float color[4] = {};
            ReadKeyFloats(archive, "-Color", color, 4);
        }
        else if (block == "Skin")
        {
            ReadSkin(archive);
        }
        else if (block == "Font" || block == "Fonts")
        {
            ReadFonts(archive);
        }
        else if (block == "Sprites")
        {
            ReadSpriteBank(archive);
        }
        else if (block == "TooltipInfo")
        {
            ReadTooltipInfo(archive);
        }
        else if (block == "Fader")
        {
            ReadFader(archive);
        }
        else if (block == "SubElement")
        {
            // The element exists already: its name is looked up, not
            // registered again (which would move it to a new id).
            element = GetElement(ReadElementIdNameText(archive), false);
            if (element == nullptr)
            {
                ReadDetachedBlocks(archive);
                archive.ExpectToken("}");
                continue;
            }
        }
        else
        {
            throw CKVOError::Format(L"[CGuiManager::Read] Element type not availble for serialization:%s",
                                    Misc::Text::Utf8ToWide(block).c_str());
        }
        if (element != nullptr)
            ReadElementBlocks(archive, element);
        archive.ExpectToken("}");
    }
}

void CGuiManager::ReadElementBlocks(IArchive& archive, gui::IGUIElement* element)
{
    // Held while its blocks load: a subscriber of an event raised meanwhile
    // may remove it.
    const CGuiElementHold hold(element);
    ReadToolTip(archive, element);
    ReadTabStopInfo(archive, element);
    ReadAlignmentInfo(archive, element);
    ReadUnder(element, archive);
}

void CGuiManager::ReadDetachedBlocks(IArchive& archive)
{
    // The blocks of an element that does not exist are read into a hidden
    // stand-in, which then goes with everything read below it.
    gui::IGUIEnvironment* environment = m_environment;
    if (environment == nullptr)
        throw CKVOError(L"[CGuiManager::Read] Gui manager not initialised.");
    gui::IGUIElement* standIn =
        environment->addStaticText(L"", core::rect<s32>(0, 0, 0, 0), false, false, GetGuiParent(), -1);
    standIn->setVisible(false);
    const CGuiElementHold hold(standIn);
    struct SRemove
    {
        CGuiManager* manager;
        gui::IGUIElement* element;
        ~SRemove()
        {
            manager->RemoveChildren(element);
            element->remove();
        }
    } remove{this, standIn};
    ReadElementBlocks(archive, standIn);
}

void CGuiManager::ReadTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    bool tabStop = true;
    bool tabGroup = false;
    int32_t tabOrder = -1;
    if (archive.TestToken("TabStopInfo{"))
    {
        if (archive.TestToken("-TabStop"))
            Require(archive.ReadBool(tabStop), "-TabStop");
        if (archive.TestToken("-TabGroup"))
            Require(archive.ReadBool(tabGroup), "-TabGroup");
        if (archive.TestToken("-TabOrder"))
            Require(archive.ReadInt(tabOrder), "-TabOrder");
        archive.ExpectToken("}");
    }
    else
    {
        // Elements named by number take the number as their place in the
        // tab order; a negative number keeps them out of it.
        int32_t number = 0;
        if (NameIsInteger(GetElementName(element->getID(), false), number))
        {
            tabOrder = number;
            if (number < 0)
                tabStop = false;
        }
    }
    SetElementTabStop(element, tabStop);
    SetElementTabGroup(element, tabGroup);
    SetElementTabOrder(element, tabOrder);
}

void CGuiManager::ReadAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    if (!archive.TestToken("AlignmentInfo{"))
        return;
    int32_t alignment[4] = {};
    archive.ExpectToken("-Alignment");
    for (int32_t& value : alignment)
        Require(archive.ReadInt(value), "-Alignment");
    float minSize[2] = {};
    float maxSize[2] = {};
    ReadKeyFloats(archive, "-MinSize", minSize, 2);
    ReadKeyFloats(archive, "-MaxSize", maxSize, 2);
    bool clipped = true;
    Require(archive.ReadKeyBool("-Clipped", clipped), "-Clipped");
    archive.ExpectToken("}");
    SetElementAlignment(element, alignment[0], alignment[1], alignment[2], alignment[3]);
    SetElementMinSize(element, minSize[0], minSize[1]);
    SetElementMaxSize(element, maxSize[0], maxSize[1]);
    SetElementClipped(element, clipped);
}

void CGuiManager::ReadFader(IArchive& archive)
{
    int32_t id = -1;
    int32_t inTime = 0;
    int32_t outTime = 0;
    archive.ExpectToken("-Id");
    Require(archive.ReadLong(id), "-Id");
    CNamedColor color(0, 0, 0, 0, "-Color");
    Require(color.Read(archive), "-Color");
    archive.ExpectToken("-InTime");
    Require(archive.ReadLong(inTime), "-InTime");
    archive.ExpectToken("-OutTime");
    Require(archive.ReadLong(outTime), "-OutTime");
    SetFader(id, color, static_cast<uint32_t>(inTime), static_cast<uint32_t>(outTime));
}

void CGuiManager::ReadTooltipInfo(IArchive& archive)
{
    // The tooltip look of older layouts; the skin draws tooltips now.
    bool background = false;
    Require(archive.ReadKeyBool("-Background", background), "-Background");
    CNamedColor backColor(0, 0, 0, 0, "-BackColor");
    Require(backColor.Read(archive), "-BackColor");
    CNamedColor textColor(0, 0, 0, 0, "-TextColor");
    Require(textColor.Read(archive), "-TextColor");
}

void CGuiManager::SetFader(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime)
{
    m_fader.Configure(id, color, inTime, outTime);
}

// ---- files ------------------------------------------------------------------

bool CGuiManager::Load(const std::wstring& fileName)
{
    const CGuiEventQueue::CHold events(m_events);
    GetGuiParent();
    CApplication* application = nullptr;
    if (m_host != nullptr)
        application = m_host->GetApplication();
    // Without an application (a manager on its own) the name is a path.
    const CFilePtr file(application != nullptr ? application->OpenFile(fileName, {L".kvogui"})
                                               : OpenDiskLayout(fileName));
    if (!file)
    {
        Logger()->Write(Logger()->GetSystemLevel(), false,
                        L"[CGuiManager::Load] Gui definition file not found: %s", fileName.c_str());
        return false;
    }
    // A layout that includes itself, directly or through others, would
    // load for ever.
    const std::wstring path = file->GetPath();
    if (m_loadingFiles.empty())
        m_includeCount = 0;
    if (std::find(m_loadingFiles.begin(), m_loadingFiles.end(), path) != m_loadingFiles.end())
        throw CKVOError::Format(L"[CGuiManager::Load] Gui definition includes itself: %s", path.c_str());
    m_loadingFiles.push_back(path);
    struct SPop
    {
        std::vector<std::wstring>& files;
        ~SPop() { files.pop_back(); }
    } pop{m_loadingFiles};

    Misc::Serialization::CArchiveHandle archive(
        file.get(), false, kLayoutTypeName, Misc::Serialization::kSerialMinimumVersion,
        application != nullptr ? &application->GetLanguage() : nullptr);
    if (!archive.IsOpen())
    {
        Logger()->Write(Logger()->GetSystemLevel(), false,
                        L"[CGuiManager::Load] Gui definition file not found: %s", fileName.c_str());
        return false;
    }
    Logger()->Write(Logger()->GetSystemLevel(), false, L"[CGuiManager::Load] Loading %s...",
                    fileName.c_str());
    return Read(archive);
}

void CGuiManager::Include(const std::wstring& fileName)
{
    // Files that include others more than once would load an exponential
    // number of times: one load includes a bounded number in all.
    if (++m_includeCount > kMaxIncludesPerLoad)
        throw CKVOError::Format(L"[CGuiManager::Load] Too many included gui definitions (more than %i): %s",
                                kMaxIncludesPerLoad, fileName.c_str());
    Load(fileName);
}

// ---- forwarders to the writer and the layout host's own calls ---------------

bool CGuiManager::Save(const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates,
                       gui::IGUIElement* element)
{
    return m_layoutWriter.Save(fileName, mode, useRelativeCoordinates, element);
}

bool CGuiManager::Write(IArchive& archive)
{
    return m_layoutWriter.Write(archive);
}

bool CGuiManager::WriteOneElement(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteOneElement(archive, element);
}

bool CGuiManager::WriteChildren(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteChildren(archive, element);
}

bool CGuiManager::WriteElement(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteElement(archive, element);
}

bool CGuiManager::WriteFader(IArchive& archive)
{
    return m_layoutWriter.WriteFader(archive);
}

bool CGuiManager::WriteTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteTabStopInfo(archive, element);
}

bool CGuiManager::WriteAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteAlignmentInfo(archive, element);
}

bool CGuiManager::WriteElementIdName(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteElementIdName(archive, element);
}

bool CGuiManager::WriteElementPosition(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteElementPosition(archive, element);
}

bool CGuiManager::WriteElementLabel(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteElementLabel(archive, element);
}

bool CGuiManager::WriteShortcut(const std::wstring& name, IArchive& archive)
{
    return m_layoutWriter.WriteShortcut(name, archive);
}

bool CGuiManager::WriteToolTip(gui::IGUIElement* element, IArchive& archive)
{
    return m_layoutWriter.WriteToolTip(element, archive);
}

bool CGuiManager::WriteButton(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteButton(archive, element);
}

bool CGuiManager::WriteImage(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteImage(archive, element);
}

bool CGuiManager::WriteStaticText(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteStaticText(archive, element);
}

bool CGuiManager::WriteEditBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteEditBox(archive, element);
}

bool CGuiManager::WriteSpinBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteSpinBox(archive, element);
}

bool CGuiManager::WriteCheckBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteCheckBox(archive, element);
}

bool CGuiManager::WriteMenu(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteMenu(archive, element);
}

bool CGuiManager::WriteMenuItems(IArchive& archive, gui::IGUIContextMenu* menu)
{
    return m_layoutWriter.WriteMenuItems(archive, menu);
}

bool CGuiManager::WriteToolbar(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteToolbar(archive, element);
}

bool CGuiManager::WriteTabControl(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteTabControl(archive, element);
}

bool CGuiManager::WriteTab(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteTab(archive, element);
}

bool CGuiManager::WriteScrollBar(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteScrollBar(archive, element);
}

bool CGuiManager::WriteListBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteListBox(archive, element);
}

bool CGuiManager::WriteComboBox(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteComboBox(archive, element);
}

bool CGuiManager::WriteTable(IArchive& archive, gui::IGUIElement* element)
{
    return m_layoutWriter.WriteTable(archive, element);
}

::CApplication* CGuiManager::GetLayoutApplication() const
{
    return m_host != nullptr ? m_host->GetApplication() : nullptr;
}

bool CGuiManager::HoldMenuSizing(bool held)
{
    const bool previous = m_menuSizingHeld;
    m_menuSizingHeld = held;
    return previous;
}

SGuiFaderSettings CGuiManager::GetFaderSettings() const
{
    SGuiFaderSettings settings;
    settings.id = m_fader.GetId();
    settings.color = m_fader.GetColor();
    settings.inTime = m_fader.GetInTime();
    settings.outTime = m_fader.GetOutTime();
    return settings;
}

} // namespace Graphics::GUI
