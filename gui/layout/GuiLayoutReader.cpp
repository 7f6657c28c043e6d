// Reading GUI layouts: files and their includes, the blocks every element
// shares (id and name, position, tooltip, tab stops, alignment, children)
// and the GUI's own blocks (fader, skin, fonts, sprites). The kinds' own
// blocks are read beside their writers.

#include "gui/layout/GuiLayoutReader.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/FileStd.h"
#include "core/io/FileVersions.h"
#include "core/io/Serializable.h"
#include "gui/layout/GuiLayoutKinds.h"
#include "gui/layout/IGuiLayoutHost.h"
#include "gui/layout/LayoutArchive.h"
#include "gui/manager/GuiColorConversion.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiEventQueue.h"

#include <irrlicht.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <vector>

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::GUI
{

using Layout::ReadKeyFloats;
using Layout::Require;

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

int32_t CGuiLayoutReader::ReadElementIdName(IArchive& archive)
{
    return m_host.RegisterElementName(ReadElementIdNameText(archive), 0);
}

std::wstring CGuiLayoutReader::ReadElementIdNameText(IArchive& archive)
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

CRect CGuiLayoutReader::ReadElementPosition(IArchive& archive, const wchar_t* method)
{
    float values[4] = {};
    ReadKeyFloats(archive, "-Position", values, 4, method);
    return CRect(values[0], values[1], values[2], values[3]);
}

// ---- shortcuts and tooltips -------------------------------------------------

bool CGuiLayoutReader::ReadShortcut(IArchive& archive, uint32_t eventType, const std::wstring& name)
{
    if (!archive.TestToken("-Shortcut"))
        return false;
    std::string text;
    Require(archive.ReadString(text), "-Shortcut");
    return m_host.AddShortcutText(text, name, eventType, false) > 0;
}

bool CGuiLayoutReader::ReadToolTip(IArchive& archive, gui::IGUIElement* element)
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
    m_host.SetElementToolTip(element, text);
    return true;
}

// ---- reading ----------------------------------------------------------------

// Makes an element the GUI parent for a scope. The previous parent is held
// meanwhile and is the parent again afterwards, also after an error, unless
// it left the GUI meanwhile (an event subscriber may remove it).
class CGuiLayoutReader::CParentScope
{
public:
    CParentScope(IGuiLayoutHost& host, gui::IGUIElement* element)
        : m_manager(host), m_previous(host.GetGuiParent())
    {
        if (m_previous != nullptr)
            m_previous->grab();
        m_manager.SetGuiParent(element);
    }
    ~CParentScope()
    {
        m_manager.SetGuiParent(m_manager.IsAttached(m_previous) ? m_previous : nullptr);
        if (m_previous != nullptr)
            m_previous->drop();
    }
    CParentScope(const CParentScope&) = delete;
    CParentScope& operator=(const CParentScope&) = delete;

private:
    IGuiLayoutHost& m_manager;
    gui::IGUIElement* m_previous;
};

bool CGuiLayoutReader::ReadUnder(gui::IGUIElement* element, IArchive& archive)
{
    const CParentScope scope(m_host, element);
    return Read(archive);
}

bool CGuiLayoutReader::LoadUnder(const std::wstring& fileName, gui::IGUIElement* parent)
{
    const CGuiEventQueue::CHold events(m_host.GetEventQueue());
    const CParentScope scope(m_host, parent);
    return Load(fileName);
}

CGuiLayoutReader::CReadLevel::CReadLevel(CGuiLayoutReader& reader, const wchar_t* method)
    : m_depth(reader.m_readDepth)
{
    if (m_depth >= kMaxLayoutDepth)
        throw CKVOError::Format(L"[CGuiManager::%s] Layout nested deeper than %i levels", method,
                                kMaxLayoutDepth);
    ++m_depth;
}

bool CGuiLayoutReader::Read(IArchive& archive)
{
    const CReadLevel level(*this, L"Read");

    if (archive.IsVersionAtLeast(FileVersion::kFader) && archive.TestToken("Fader{"))
    {
        ReadFader(archive);
        archive.ExpectToken("}");
    }
    if (archive.TestToken("Gui{"))
        ReadElements(archive);
    return true;
}

void CGuiLayoutReader::ReadElements(IArchive& archive)
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
            m_host.ReadSkin(archive);
        }
        else if (block == "Font" || block == "Fonts")
        {
            m_host.ReadFonts(archive);
        }
        else if (block == "Sprites")
        {
            m_host.ReadSpriteBank(archive);
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
            element = m_host.GetElement(ReadElementIdNameText(archive), false);
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

void CGuiLayoutReader::ReadElementBlocks(IArchive& archive, gui::IGUIElement* element)
{
    // Held while its blocks load: a subscriber of an event raised meanwhile
    // may remove it.
    const CGuiElementHold hold(element);
    ReadToolTip(archive, element);
    ReadTabStopInfo(archive, element);
    ReadAlignmentInfo(archive, element);
    ReadUnder(element, archive);
}

void CGuiLayoutReader::ReadDetachedBlocks(IArchive& archive)
{
    // The blocks of an element that does not exist are read into a hidden
    // stand-in, which then goes with everything read below it.
    gui::IGUIEnvironment* environment = m_host.GetGuiEnvironment();
    if (environment == nullptr)
        throw CKVOError(L"[CGuiManager::Read] Gui manager not initialised.");
    gui::IGUIElement* standIn =
        environment->addStaticText(L"", core::rect<s32>(0, 0, 0, 0), false, false, m_host.GetGuiParent(), -1);
    standIn->setVisible(false);
    const CGuiElementHold hold(standIn);
    struct SRemove
    {
        IGuiLayoutHost& host;
        gui::IGUIElement* element;
        ~SRemove()
        {
            host.RemoveChildren(element);
            element->remove();
        }
    } remove{m_host, standIn};
    ReadElementBlocks(archive, standIn);
}

void CGuiLayoutReader::ReadTabStopInfo(IArchive& archive, gui::IGUIElement* element)
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
        if (NameIsInteger(m_host.GetElementName(element->getID(), false), number))
        {
            tabOrder = number;
            if (number < 0)
                tabStop = false;
        }
    }
    m_host.SetElementTabStop(element, tabStop);
    m_host.SetElementTabGroup(element, tabGroup);
    m_host.SetElementTabOrder(element, tabOrder);
}

void CGuiLayoutReader::ReadAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
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
    m_host.SetElementAlignment(element, alignment[0], alignment[1], alignment[2], alignment[3]);
    m_host.SetElementMinSize(element, minSize[0], minSize[1]);
    m_host.SetElementMaxSize(element, maxSize[0], maxSize[1]);
    m_host.SetElementClipped(element, clipped);
}

void CGuiLayoutReader::ReadFader(IArchive& archive)
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
    m_host.SetFader(id, color, static_cast<uint32_t>(inTime), static_cast<uint32_t>(outTime));
}

void CGuiLayoutReader::ReadTooltipInfo(IArchive& archive)
{
    // The tooltip look of older layouts; the skin draws tooltips now.
    bool background = false;
    Require(archive.ReadKeyBool("-Background", background), "-Background");
    CNamedColor backColor(0, 0, 0, 0, "-BackColor");
    Require(backColor.Read(archive), "-BackColor");
    CNamedColor textColor(0, 0, 0, 0, "-TextColor");
    Require(textColor.Read(archive), "-TextColor");
}

// ---- files ------------------------------------------------------------------

bool CGuiLayoutReader::Load(const std::wstring& fileName)
{
    const CGuiEventQueue::CHold events(m_host.GetEventQueue());
    m_host.GetGuiParent();
    CApplication* application = m_host.GetLayoutApplication();
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
        file.get(), false, Layout::kLayoutTypeName, Misc::Serialization::kSerialMinimumVersion,
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

void CGuiLayoutReader::Include(const std::wstring& fileName)
{
    // Files that include others more than once would load an exponential
    // number of times: one load includes a bounded number in all.
    if (++m_includeCount > kMaxIncludesPerLoad)
        throw CKVOError::Format(L"[CGuiManager::Load] Too many included gui definitions (more than %i): %s",
                                kMaxIncludesPerLoad, fileName.c_str());
    Load(fileName);
}

} // namespace Graphics::GUI
