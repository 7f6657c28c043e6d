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

// Layouts read their nested GUIs recursively; deeper nesting than this is
// taken for a damaged or hostile file rather than run out of stack.

const CGuiManager::SElementKind kElementKinds[] = {
    {"Button", 0, &CGuiManager::ReadButton, &CGuiManager::WriteButton},
    {"Checkbox", 1, &CGuiManager::ReadCheckBox, &CGuiManager::WriteCheckBox},
    {"Combobox", 2, &CGuiManager::ReadComboBox, &CGuiManager::WriteComboBox},
    {"EditText", 5, &CGuiManager::ReadEditBox, &CGuiManager::WriteEditBox},
    {"Image", 9, &CGuiManager::ReadImage, &CGuiManager::WriteImage},
    {"Scrollbar", 14, &CGuiManager::ReadScrollBar, &CGuiManager::WriteScrollBar},
    {"TabControl", 18, &CGuiManager::ReadTabControl, &CGuiManager::WriteTabControl},
    {"Toolbar", 20, &CGuiManager::ReadToolbar, &CGuiManager::WriteToolbar},
    {"Spinbox", 15, &CGuiManager::ReadSpinBox, &CGuiManager::WriteSpinBox},
    {"Menu", 4, &CGuiManager::ReadMenu, &CGuiManager::WriteMenu},
    {"ContextMenu", 3, &CGuiManager::ReadContextMenu, &CGuiManager::WriteMenu},
    {"List", 10, &CGuiManager::ReadListBox, &CGuiManager::WriteListBox},
    {"Text", 16, &CGuiManager::ReadStaticText, &CGuiManager::WriteStaticText},
    {"Text2", 16, &CGuiManager::ReadStaticText, &CGuiManager::WriteStaticText},
    {"Tab", 17, &CGuiManager::ReadTab, &CGuiManager::WriteTab},
    {"TabColor", 17, &CGuiManager::ReadTab, &CGuiManager::WriteTab},
    {"TabPage", 17, &CGuiManager::ReadTab, &CGuiManager::WriteTab},
    {"Table", 19, &CGuiManager::ReadTable, &CGuiManager::WriteTable},
};

const CGuiManager::SElementKind* FindKindByName(const std::string& name)
{
    for (const CGuiManager::SElementKind& kind : kElementKinds)
    {
        if (name == kind.blockName)
            return &kind;
    }
    return nullptr;
}

const CGuiManager::SElementKind* FindKindByType(int32_t type)
{
    for (const CGuiManager::SElementKind& kind : kElementKinds)
    {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

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

const CGuiManager::SElementKind* CGuiManager::GetElementKinds(size_t& count)
{
    count = sizeof(kElementKinds) / sizeof(kElementKinds[0]);
    return kElementKinds;
}

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

bool CGuiManager::WriteElementIdName(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    if (const std::wstring* name = FindElementName(element->getID()))
        return archive.WriteKeyWString("-IdName", *name);
    return archive.WriteKeyInt("-Id", element->getID());
}

bool CGuiManager::WriteElementPosition(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    const core::rect<s32> rect = element->getRelativePosition();
    float x1 = static_cast<float>(rect.UpperLeftCorner.X);
    float y1 = static_cast<float>(rect.UpperLeftCorner.Y);
    float x2 = static_cast<float>(rect.LowerRightCorner.X);
    float y2 = static_cast<float>(rect.LowerRightCorner.Y);
    if (UsesRelativeCoordinates(archive))
    {
        x1 = PixelsToFraction(x1, GetScreenWidth());
        x2 = PixelsToFraction(x2, GetScreenWidth());
        y1 = PixelsToFraction(y1, GetScreenHeight());
        y2 = PixelsToFraction(y2, GetScreenHeight());
    }
    return WriteKeyFloats(archive, "-Position", {x1, y1, x2, y2});
}

CRect CGuiManager::ReadElementPosition(IArchive& archive, const wchar_t* method)
{
    float values[4] = {};
    ReadKeyFloats(archive, "-Position", values, 4, method);
    return CRect(values[0], values[1], values[2], values[3]);
}

bool CGuiManager::WriteElementLabel(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return false;
    return archive.WriteKeyWString("-Label", GetElementText(element));
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

bool CGuiManager::WriteShortcut(const std::wstring& name, IArchive& archive)
{
    const CGuiShortcuts::Binding* binding = m_shortcuts.FindOf(name);
    return binding == nullptr || archive.WriteKeyString("-Shortcut", CGuiShortcuts::Text(binding->first));
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

bool CGuiManager::WriteToolTip(gui::IGUIElement* element, IArchive& archive)
{
    if (!HasElementToolTip(element))
        return true;
    return WriteBlockStart(archive, "Tooltip{") &&
           archive.WriteKeyWString("-Label", GetElementToolTip(element)) && WriteBlockEnd(archive);
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
        const SElementKind* kind = FindKindByName(block);
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

// ---- writing ----------------------------------------------------------------

bool CGuiManager::WriteFader(IArchive& archive)
{
    const CNamedColor color(m_fader.GetColor(), "-Color");
    return archive.WriteString("-Id") && archive.WriteSpaces(1) && archive.WriteLong(m_fader.GetId()) &&
           archive.EndLine(0) && color.Write(archive) && archive.WriteString("-InTime") &&
           archive.WriteSpaces(1) && archive.WriteLong(static_cast<int32_t>(m_fader.GetInTime())) &&
           archive.EndLine(0) && archive.WriteString("-OutTime") && archive.WriteSpaces(1) &&
           archive.WriteLong(static_cast<int32_t>(m_fader.GetOutTime())) && archive.EndLine(0);
}

bool CGuiManager::Write(IArchive& archive)
{
    gui::IGUIElement* parent = GetGuiParent();
    if (parent == nullptr)
        return true;
    const bool fader = WriteBlockStart(archive, "Fader{") && WriteFader(archive) && WriteBlockEnd(archive);
    return WriteChildren(archive, parent) && fader;
}

bool CGuiManager::WriteOneElement(IArchive& archive, gui::IGUIElement* element)
{
    if (element == nullptr)
        return true;
    const bool written = WriteBlockStart(archive, "Gui{") && WriteElement(archive, element);
    return WriteBlockEnd(archive) && written;
}

bool CGuiManager::WriteChildren(IArchive& archive, gui::IGUIElement* element)
{
    std::vector<gui::IGUIElement*> children;
    for (gui::IGUIElement* child : element->getChildren())
        children.push_back(child);
    bool ok = WriteBlockStart(archive, "Gui{");
    for (gui::IGUIElement* child : children)
        ok = WriteElement(archive, child) && ok;
    return WriteBlockEnd(archive) && ok;
}

bool CGuiManager::WriteElement(IArchive& archive, gui::IGUIElement* element)
{
    const std::wstring name = GetElementName(element->getID(), false);
    if (name.find(L"__GuiInternal__") != std::wstring::npos || element->isSubElement())
        return true;
    const SElementKind* kind = FindKindByType(GetElementType(element));
    if (kind == nullptr || kind->writer == nullptr)
        return true;
    bool ok = WriteBlockStart(archive, (std::string(kind->blockName) + "{").c_str());
    ok = ok && (this->*(kind->writer))(archive, element);
    ok = ok && WriteToolTip(element, archive) && WriteTabStopInfo(archive, element) &&
         WriteAlignmentInfo(archive, element) && WriteChildren(archive, element);
    return WriteBlockEnd(archive) && ok;
}

bool CGuiManager::WriteTabStopInfo(IArchive& archive, gui::IGUIElement* element)
{
    return WriteBlockStart(archive, "TabStopInfo{") &&
           archive.WriteKeyBool("-TabStop", GetElementTabStop(element)) &&
           archive.WriteKeyBool("-TabGroup", GetElementTabGroup(element)) &&
           archive.WriteKeyInt("-TabOrder", GetElementTabOrder(element)) && WriteBlockEnd(archive);
}

bool CGuiManager::WriteAlignmentInfo(IArchive& archive, gui::IGUIElement* element)
{
    const bool relative = UsesRelativeCoordinates(archive);
    const auto size = [&](uint32_t pixels, uint32_t screen)
    { return relative ? PixelsToFraction(pixels, screen) : static_cast<float>(pixels); };
    IrrlichtGui::SElementLayout layout;
    IrrlichtGui::ReadElementLayout(m_device, element, layout);
    bool ok = WriteBlockStart(archive, "AlignmentInfo{") && archive.WriteString("-Alignment");
    for (int32_t value : {layout.alignLeft, layout.alignTop, layout.alignRight, layout.alignBottom})
        ok = ok && archive.WriteSpaces(1) && archive.WriteInt(value);
    ok = ok && archive.EndLine(0) &&
         WriteKeyFloats(
             archive, "-MinSize",
             {size(layout.minWidth, GetScreenWidth()), size(layout.minHeight, GetScreenHeight())}) &&
         WriteKeyFloats(
             archive, "-MaxSize",
             {size(layout.maxWidth, GetScreenWidth()), size(layout.maxHeight, GetScreenHeight())}) &&
         archive.WriteKeyBool("-Clipped", IsElementClipped(element));
    return ok && WriteBlockEnd(archive);
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

bool CGuiManager::Save(const std::wstring& fileName, const std::string& mode, bool useRelativeCoordinates,
                       gui::IGUIElement* element)
{
    m_guiFile = fileName;
    Logger()->Write(Logger()->GetSystemLevel(), false, L"[CGuiManager::Save] Saving %s...", fileName.c_str());
    const auto save = [&](auto& archive)
    {
        if (!archive.IsOpen())
            return false;
        archive.GetDataBag().SetBool(L"useRelativeCoordinates", useRelativeCoordinates);
        const bool written = element != nullptr ? WriteOneElement(archive, element) : Write(archive);
        return archive.Close() && written;
    };
    const bool compressed = mode == "COMPRESSED";
    if (compressed || mode == "BINARY")
    {
        Misc::Serialization::CArchiveBin archive(fileName, true, kLayoutTypeName,
                                                 Misc::Serialization::kSerialVersion, nullptr, compressed);
        return save(archive);
    }
    Misc::Serialization::CArchiveText archive(fileName, true, kLayoutTypeName,
                                              Misc::Serialization::kSerialVersion, nullptr, mode.c_str());
    return save(archive);
}

} // namespace Graphics::GUI
