// The script error dialog and the error report of the application object.
#include "core/app/Application.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/StringTokenizer.h"
#include "core/foundation/WideFormat.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/UserFiles.h"

using Misc::Text::FormatWide;
using Misc::Text::WideToUtf8;

void CApplication::ShowScriptError(const std::wstring& message, const std::wstring& traceback) const
{
    const std::string editor = Platform::FindEditor(WideToUtf8(m_exeFolder));

    CStringTokenizer tokenizer(message);
    std::wstring file;
    std::wstring line;
    tokenizer.NextToken(L'|', file);
    tokenizer.NextToken(L'|', line);
    CleanPath(file, L"/");

    if (!file.empty() && !line.empty() && !editor.empty())
    {
        if (Platform::ShowMessageBox(WideToUtf8(message + L"\n\nDebug code now?"), WideToUtf8(m_appName),
                                     Platform::EMessageBoxButtons::YesNo) != Platform::kAnswerYes)
            return;
        std::wstring report = WriteErrorReport(message, traceback);
        if (!report.empty())
        {
            CleanPath(report, L"/");
            Platform::StartEditor(editor, WideToUtf8(report), std::string());
        }
        // Arguments go to the editor as they are, never through a shell: the
        // file name comes from the script's own error text.
        Platform::StartEditor(editor, WideToUtf8(file), WideToUtf8(line));
        return;
    }

    if (Platform::ShowMessageBox(WideToUtf8(message + L"\n\nCreate error report?"), WideToUtf8(m_appName),
                                 Platform::EMessageBoxButtons::OkCancel) != Platform::kAnswerOk)
        return;
    const std::wstring report = WriteErrorReport(message, traceback);
    if (!report.empty())
        Platform::OpenWithAssociatedProgram(WideToUtf8(report));
}

std::wstring CApplication::WriteErrorReport(const std::wstring& message, const std::wstring& traceback) const
{
    const std::wstring rule = L"==============================\n";
    std::wstring text;
    text += rule + L"ERROR REPORT\n" + rule + message + L"\n";
    if (!traceback.empty())
        text += traceback + L"\n";
    text += L"\n";
    text += rule + L"ENGINE INFORMATION\n" + rule;
    text += FormatWide(0, L"- %s %i.%i\n", m_appName.c_str(), m_majorVersion, m_minorVersion);
    text += FormatWide(0, L"- %s\n", m_appCopyright.c_str());
    text += FormatWide(0, L"- Build: %s %s %s %s\n", m_buildDate.c_str(), m_buildTime.c_str(),
                       m_buildNote1.c_str(), m_buildNote2.c_str());
    text += L"\n";
    return FromNativePath(Platform::WriteUserTempFile("ErrorReport.txt", WideToUtf8(text)));
}
