#include "core/app/Application.h"

#include "core/foundation/PathUtilities.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/StringTokenizer.h"
#include "core/foundation/TimeStamp.h"
#include "core/io/DiskPath.h"
#include "core/io/File.h"
#include "core/io/SaveFile.h"
#include "core/io/ZipReader.h"
#include "platform/Console.h"

#include <algorithm>
#include <vector>

namespace
{

// The most that one extraction may write, in declared entry sizes (each
// entry is also held to the limits of entries read into memory).
constexpr uint64_t kMaxExtractedTotal = static_cast<uint64_t>(kZipMaxEntrySize);

std::wstring OptionKey(const std::wstring& section, const std::wstring& key)
{
    return L"[" + section + L"][" + key + L"]";
}

} // namespace

// The system timer resolution needs no raising here: the clock and the
// sleeps are precise to the millisecond as they are.
CApplication::CApplication() : m_fileSystem(nullptr, true, false) {}

CApplication::~CApplication() = default;

void CApplication::SetExePath(const std::wstring& path)
{
    m_exePath = path;
    m_exeFolder = ExtractFilenameComponents(path, true, true, false, false);
}

uint32_t CApplication::GetTime() const
{
    // 64-bit milliseconds narrowed last, so the clock never loses precision.
    return static_cast<uint32_t>(m_timer.GetTime());
}

void CApplication::ShowConsoleWindow(uint32_t outputCodePage, uint32_t inputCodePage)
{
    m_console.Show(outputCodePage, inputCodePage);
    PrintEngineInfo();
    m_consoleVisible = true;
}

void CApplication::HideConsoleWindow()
{
    m_console.Hide();
    m_consoleVisible = false;
}

bool CApplication::SetConsoleCaption(const std::wstring& caption)
{
    if (m_consoleVisible)
    {
        m_console.SetTitle(caption.c_str());
        m_consoleCaption = caption;
    }
    return true;
}

std::wstring CApplication::GetEngineInfo() const
{
    const std::wstring dashes(60, L'-');
    std::wstring text;
    text += dashes + L"\n";
    text += L"- " + m_appName + L" " + std::to_wstring(m_majorVersion) + L"." +
            std::to_wstring(m_minorVersion) + L"\n";
    text += L"- " + m_appCopyright + L"\n";
    text += dashes + L"\n";
    text +=
        L"- Build: " + m_buildDate + L" " + m_buildTime + L" " + m_buildNote1 + L" " + m_buildNote2 + L"\n";
    // The local time ends in its own line break.
    text += L"- Run: " + Misc::Text::CurrentLocalTime();
    text += L"- Visit " + m_appWebsite + L" for more information...\n";
    text += dashes + L"\n";
    return text;
}

void CApplication::PrintEngineInfo() const
{
    Platform::WriteConsole(Misc::Text::WideToUtf8(GetEngineInfo()));
}

bool CApplication::LoadOptions(const std::wstring& file)
{
    CFilePtr opened(OpenFile(file, {L".kvocfg"}));
    if (!opened)
        return false;
    return m_options.Load(opened.get());
}

bool CApplication::SaveOptions(const std::wstring& file, const std::string& mode)
{
    return m_options.Save(file, mode.c_str());
}

bool CApplication::ClearOptions()
{
    m_options.Clear();
    return true;
}

bool CApplication::ClearOption(const std::wstring& section, const std::wstring& key)
{
    const std::wstring name = OptionKey(section, key);
    m_options.Delete(name);
    return !m_options.Exists(name);
}

bool CApplication::OptionExists(const std::wstring& section, const std::wstring& key) const
{
    return m_options.Exists(OptionKey(section, key));
}

std::wstring CApplication::GetOption(const std::wstring& section, const std::wstring& key) const
{
    std::wstring value;
    m_options.Get(OptionKey(section, key), value);
    return value;
}

int32_t CApplication::GetOptionInt(const std::wstring& section, const std::wstring& key) const
{
    int32_t value = 0;
    m_options.GetInt(OptionKey(section, key), value);
    return value;
}

float CApplication::GetOptionFloat(const std::wstring& section, const std::wstring& key) const
{
    float value = 0.0f;
    m_options.GetFloat(OptionKey(section, key), value);
    return value;
}

bool CApplication::GetOptionBool(const std::wstring& section, const std::wstring& key) const
{
    bool value = false;
    m_options.GetBool(OptionKey(section, key), value);
    return value;
}

void CApplication::SetOption(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    m_options.Set(OptionKey(section, key), value);
}

void CApplication::SetOptionInt(const std::wstring& section, const std::wstring& key, int32_t value)
{
    m_options.SetInt(OptionKey(section, key), value);
}

void CApplication::SetOptionFloat(const std::wstring& section, const std::wstring& key, float value)
{
    m_options.SetFloat(OptionKey(section, key), value);
}

void CApplication::SetOptionBool(const std::wstring& section, const std::wstring& key, bool value)
{
    m_options.SetBool(OptionKey(section, key), value);
}

bool CApplication::LoadTranslations(const std::wstring& file)
{
    CFilePtr opened(OpenFile(file, {L".kvolanguage"}));
    if (!opened)
        return false;
    const bool loaded = m_language.Load(opened.get());
    if (loaded)
        m_translatorFilename = opened->GetPath();
    return loaded;
}

bool CApplication::SaveTranslations(const std::wstring& file, const std::string& mode)
{
    return m_language.Save(file, mode.c_str());
}

std::wstring CApplication::Translate(const std::wstring& code) const
{
    std::wstring text;
    if (m_language.Translate(code, text))
        return text;
    return code;
}

bool CApplication::AddSearchPath(const std::wstring& folder, bool recursive, int32_t key)
{
    return m_fileSystem.AddSearchPath(folder, recursive, key);
}

bool CApplication::AddSearchZip(const std::wstring& zipFile, bool retryFileNames, int32_t key,
                                const std::string& password)
{
    return m_fileSystem.AddSearchZip(zipFile, retryFileNames, key, password);
}

void CApplication::ClearSearchPaths(int32_t key)
{
    m_fileSystem.RemoveSearchPaths(key);
}

void CApplication::ClearAllSearchPaths()
{
    m_fileSystem.RemoveAllSearchPaths();
}

std::wstring CApplication::AddSearchZipDecompressed(const std::wstring& zipFile,
                                                    const std::wstring& outputFolder, bool recursive,
                                                    int32_t key, const std::string& password)
{
    std::wstring folder = L"./";
    if (!outputFolder.empty())
    {
        folder = outputFolder + L"/";
        CleanPath(folder, L"/");
    }

    // A zip that cannot be read, a wrong password, a damaged entry or sizes
    // past the limits: the folder is not added and the empty path reports
    // the failure.
    ZipHandle* zip = ZipOpenFile(zipFile, password.empty() ? nullptr : password.c_str());
    if (zip == nullptr)
        return std::wstring();
    ZipSetBaseFolder(zip, folder);

    // Every size is checked before anything is written.
    ZipEntryRecord count;
    ZipGetItem(zip, -1, &count);
    std::vector<ZipEntryRecord> wanted;
    uint64_t total = 0;
    bool ok = true;
    for (int index = 0; ok && index < count.index; ++index)
    {
        ZipEntryRecord record;
        if (ZipGetItem(zip, index, &record) != kZipSuccess)
        {
            ok = false;
            break;
        }
        std::wstring target = folder + L"/" + record.name;
        CleanPath(target, L"/");
        // Existing files are kept, whatever the case of their names.
        if (record.name.empty() || FileExists(DiskPath::ResolveExistingPath(target)))
            continue;
        if (!(record.attributes & kZipAttributeDirectory))
        {
            total += static_cast<uint64_t>(std::max<int64_t>(record.uncompressedSize, 0));
            ok = ZipEntrySizeIsPlausible(record) && total <= kMaxExtractedTotal;
        }
        wanted.push_back(std::move(record));
    }
    for (size_t i = 0; ok && i < wanted.size(); ++i)
        ok = ZipUnzipToFile(zip, wanted[i].index, wanted[i].name) == kZipSuccess;
    ZipClose(zip);
    if (!ok)
        return std::wstring();
    m_fileSystem.AddSearchPath(folder, recursive, key);
    return folder;
}

template <class Action> auto CApplication::WithScope(const std::wstring& folder, Action action) const
{
    if (folder.empty())
        return action(m_fileSystem);
    CFileSystem scope(nullptr, false, false);
    scope.AddSearchPath(folder, false, 0);
    return action(scope);
}

std::wstring CApplication::GetFilenameFromFileSystem(const std::wstring& name, const std::wstring& folder,
                                                     bool fallback) const
{
    if (FileExists(DiskPath::ResolveExistingPath(name)))
        return name;
    return WithScope(folder,
                     [&](CFileSystem& scope)
                     {
                         CFileFinder finder(&scope, name);
                         if (scope.FindFirst(finder))
                             return finder.GetFilePath();
                         if (fallback)
                         {
                             finder.Reset(ExtractFilenameComponents(name, false, false, true, true));
                             if (scope.FindFirst(finder))
                                 return finder.GetFilePath();
                         }
                         return std::wstring();
                     });
}

std::wstring CApplication::FindFileFolder(const std::wstring& name) const
{
    const std::wstring path = GetFilenameFromFileSystem(name, L"", true);
    if (path.empty())
        return path;
    return ExtractFilenameComponents(path, true, true, false, false);
}

IFile* CApplication::OpenFile(const std::wstring& name, const std::vector<std::wstring>& extensions,
                              const std::wstring& folder) const
{
    // Without a name there is nothing to open (not even a file named after
    // an extension alone).
    if (name.empty())
        return nullptr;
    return WithScope(folder,
                     [&](CFileSystem& scope)
                     {
                         IFile* file = scope.OpenFile(name);
                         for (size_t i = 0; file == nullptr && i < extensions.size(); ++i)
                             file = scope.OpenFile(name + extensions[i]);
                         return file;
                     });
}

size_t CApplication::GetFilenameListFromFileSystem(const std::wstring& patterns,
                                                   std::vector<std::wstring>& list, bool namesOnly,
                                                   const std::wstring& folder) const
{
    list.clear();
    WithScope(folder,
              [&](CFileSystem& scope)
              {
                  CStringTokenizer tokenizer(patterns);
                  std::wstring pattern;
                  while (tokenizer.NextToken(L';', pattern))
                  {
                      if (FileExists(DiskPath::ResolveExistingPath(pattern)))
                          list.push_back(pattern);
                      CFileFinder finder(&scope, pattern);
                      for (bool found = scope.FindFirst(finder); found; found = finder.FindNext())
                          list.push_back(namesOnly ? finder.GetFileName() : finder.GetFilePath());
                  }
                  return 0;
              });
    return list.size();
}
