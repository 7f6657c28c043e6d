// Message boxes and the file-open dialog. Both close themselves when the
// user answers; their names then go stale, which the name lookup notices.

#include "core/foundation/CurrentDirectory.h"
#include "core/foundation/StringConversion.h"
#include "gui/manager/GuiManagerParts.h"
#include "gui/manager/ScreenCoordinates.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;

int32_t CGuiManager::AddMessageBox(const std::wstring& text, const std::wstring& caption, int32_t flags,
                                   int32_t id, bool single)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return 0;
    if (single && ElementIdExists(id))
        return id;
    m_environment->addMessageBox(caption.c_str(), text.c_str(), true, flags, GetGuiParent(), id);
    return id;
}

int32_t CGuiManager::AddMessageBoxNamed(const std::wstring& text, const std::wstring& caption, int32_t flags,
                                        const std::wstring& name, bool single)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return 0;
    if (single)
    {
        if (gui::IGUIElement* existing = GetElement(name, false))
            return existing->getID();
    }
    return AddMessageBox(text, caption, flags, RegisterElementName(name, 0), single);
}

int32_t CGuiManager::AddMessageBoxYesNo(const std::wstring& text, const std::wstring& caption,
                                        const std::wstring& name, bool single)
{
    return AddMessageBoxNamed(text, caption, gui::EMBF_YES | gui::EMBF_NO, name, single);
}

int32_t CGuiManager::AddMessageBoxOk(const std::wstring& text, const std::wstring& caption,
                                     const std::wstring& name, bool single)
{
    return AddMessageBoxNamed(text, caption, gui::EMBF_OK, name, single);
}

int32_t CGuiManager::AddMessageBoxOkCancel(const std::wstring& text, const std::wstring& caption,
                                           const std::wstring& name, bool single)
{
    return AddMessageBoxNamed(text, caption, gui::EMBF_OK | gui::EMBF_CANCEL, name, single);
}

gui::IGUIElement* CGuiManager::AddFileOpenDialogNamed(const std::wstring& title, bool modal,
                                                      const CRect& rect, const std::wstring& startFolder,
                                                      const std::wstring& name)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    const int32_t id = RegisterElementName(name, 0);
    return AddFileOpenDialog(id, title, modal, ScreenRectToPixelRect(rect), startFolder);
}

gui::IGUIElement* CGuiManager::AddFileOpenDialog(int32_t id, const std::wstring& title, bool modal,
                                                 const core::rect<s32>& pixelRect,
                                                 const std::wstring& startFolder)
{
    const CGuiEventQueue::CHold events(m_parts->events);
    if (m_environment == nullptr)
        return nullptr;
    // The dialog opens in the starting folder and puts back the directory
    // that was current before it when it goes: scripts that show it do not
    // find their relative paths moved. The folder is resolved here (by the
    // rules every path of ours follows) and handed to the dialog as found.
    std::string start;
    if (!startFolder.empty())
    {
        CCurrentDirectory current(L"", true);
        if (current.Set(startFolder))
            start = Misc::Text::WideToUtf8(current.Get());
    }
    ForgetClosedDialogs();
    // The folder is put back by the manager as soon as the first dialog has
    // left the GUI, not by the dialog's destructor: other holders (the
    // environment's hovered or focused element) can keep a closed dialog
    // alive, and its late restore would undo the folders of dialogs opened
    // since.
    const bool first = m_parts->restoringDialog == nullptr;
    std::string before;
    if (first && m_environment->getFileSystem() != nullptr)
        before = m_environment->getFileSystem()->getWorkingDirectory().c_str();
    gui::IGUIFileOpenDialog* dialog = m_environment->addFileOpenDialog(
        title.c_str(), modal, GetGuiParent(), id, false, start.empty() ? nullptr : start.data());
    if (dialog != nullptr)
    {
        SetElementRelativeRect(dialog, pixelRect);
        if (first)
        {
            dialog->grab();
            m_parts->restoringDialog = dialog;
            m_parts->folderBeforeDialogs = before;
        }
    }
    return dialog;
}

void CGuiManager::ForgetClosedDialogs()
{
    if (m_parts->restoringDialog != nullptr &&
        (m_environment == nullptr || !IsAttached(m_parts->restoringDialog)))
    {
        gui::IGUIElement* dialog = m_parts->restoringDialog;
        m_parts->restoringDialog = nullptr;
        dialog->drop();
        if (m_environment != nullptr && m_environment->getFileSystem() != nullptr &&
            !m_parts->folderBeforeDialogs.empty())
            m_environment->getFileSystem()->changeWorkingDirectoryTo(m_parts->folderBeforeDialogs.c_str());
        m_parts->folderBeforeDialogs.clear();
    }
}

} // namespace Graphics::GUI
