#pragma once

#include "core/foundation/LogConsole.h"
#include "core/foundation/Timer.h"
#include "core/io/FileSystem.h"
#include "core/io/Language.h"
#include "core/io/Options.h"

#include <cstdint>
#include <string>
#include <vector>

class IFile;

// What belongs to the running program as a whole: its product information,
// the executable's path, the log console, the option store, the virtual file
// system, the language store and the clock. The engine object creates it
// first and deletes it last. Most operations forward to the stores and the
// file system for the script interface; lookups answer with empty text,
// false or null, never an error.
class CApplication
{
public:
    CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;
    virtual ~CApplication();

    // Product information.
    void SetAppName(const std::wstring& name) { m_appName = name; }
    const std::wstring& GetAppName() const { return m_appName; }
    void SetAppCopyright(const std::wstring& copyright) { m_appCopyright = copyright; }
    const std::wstring& GetAppCopyright() const { return m_appCopyright; }
    void SetAppWebsite(const std::wstring& website) { m_appWebsite = website; }
    const std::wstring& GetAppWebsite() const { return m_appWebsite; }
    void SetAppMajorVersion(int32_t version) { m_majorVersion = version; }
    int32_t GetAppMajorVersion() const { return m_majorVersion; }
    void SetAppMinorVersion(int32_t version) { m_minorVersion = version; }
    int32_t GetAppMinorVersion() const { return m_minorVersion; }
    // The two further build texts, printed after the build time.
    void SetAppBuildNote(const std::wstring& first, const std::wstring& second)
    {
        m_buildNote1 = first;
        m_buildNote2 = second;
    }
    const std::wstring& GetAppBuildNote1() const { return m_buildNote1; }
    const std::wstring& GetAppBuildNote2() const { return m_buildNote2; }
    void SetAppBuildDate(const std::wstring& date) { m_buildDate = date; }
    const std::wstring& GetAppBuildDate() const { return m_buildDate; }
    void SetAppBuildTime(const std::wstring& time) { m_buildTime = time; }
    const std::wstring& GetAppBuildTime() const { return m_buildTime; }

    // Stores the path and, as the executable folder, its folder part with
    // the trailing separator.
    void SetExePath(const std::wstring& path);
    const std::wstring& GetExePath() const { return m_exePath; }
    const std::wstring& GetExeFolder() const { return m_exeFolder; }

    // Milliseconds since start-up, wrapping around: the main loop's clock.
    uint32_t GetTime() const;

    // Console.
    // Shows the log console and prints the engine information block on it.
    // The code pages are accepted and not used (the console is UTF-8).
    void ShowConsoleWindow(uint32_t outputCodePage, uint32_t inputCodePage);
    void HideConsoleWindow();
    // Sets the console's title while it is visible; returns true.
    bool SetConsoleCaption(const std::wstring& caption);
    // The last caption set while the console was visible.
    const std::wstring& GetConsoleCaption() const { return m_consoleCaption; }
    bool IsConsoleWindowVisible() const { return m_consoleVisible; }
    // The engine information block as PrintEngineInfo prints it.
    std::wstring GetEngineInfo() const;
    // Prints the engine information block on the log console.
    void PrintEngineInfo() const;

    // Options, each stored under the key "[section][key]".
    // Loads the file found by its name or with ".kvocfg".
    bool LoadOptions(const std::wstring& file);
    // mode: "COMPRESSED", "BINARY" or a text encoding name.
    bool SaveOptions(const std::wstring& file, const std::string& mode);
    bool ClearOptions();
    // True when the option is gone.
    bool ClearOption(const std::wstring& section, const std::wstring& key);
    bool OptionExists(const std::wstring& section, const std::wstring& key) const;
    // The value; "", 0, 0.0 or false when the option is missing.
    std::wstring GetOption(const std::wstring& section, const std::wstring& key) const;
    int32_t GetOptionInt(const std::wstring& section, const std::wstring& key) const;
    float GetOptionFloat(const std::wstring& section, const std::wstring& key) const;
    bool GetOptionBool(const std::wstring& section, const std::wstring& key) const;
    void SetOption(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void SetOptionInt(const std::wstring& section, const std::wstring& key, int32_t value);
    void SetOptionFloat(const std::wstring& section, const std::wstring& key, float value);
    void SetOptionBool(const std::wstring& section, const std::wstring& key, bool value);

    // Translations.
    // Loads the file found by its name or with ".kvolanguage"; the file's
    // path becomes the translator file name when it loads.
    bool LoadTranslations(const std::wstring& file);
    const std::wstring& GetTranslatorFilename() const { return m_translatorFilename; }
    bool SaveTranslations(const std::wstring& file, const std::string& mode);
    // The translation of a "#section#code" text, or the text itself.
    std::wstring Translate(const std::wstring& code) const;

    // Files and search paths. A folder argument limits a lookup to that
    // folder alone; an empty one searches the application's file system.
    bool AddSearchPath(const std::wstring& folder, bool recursive, int32_t key);
    bool AddSearchZip(const std::wstring& zipFile, bool retryFileNames, int32_t key,
                      const std::string& password);
    void ClearSearchPaths(int32_t key);
    void ClearAllSearchPaths();
    // Extracts the zip file's entries that are not there yet into the output
    // folder ("./" when empty), adds the folder as a search path and returns
    // it. Existing files are never overwritten (a name that matches one
    // only by case included). Entries are held to the size and ratio limits
    // of entries read into memory, and the whole extraction to a total; a
    // zip that cannot be read, a wrong password, a damaged entry or sizes
    // past the limits give "" and add nothing.
    std::wstring AddSearchZipDecompressed(const std::wstring& zipFile, const std::wstring& outputFolder,
                                          bool recursive, int32_t key, const std::string& password);
    // The name itself when it is a file on disk (matched as opening matches
    // it, without regard to case), else the full path of its
    // first match; with fallback, then the first match of its bare file name.
    // "" when nothing is found.
    std::wstring GetFilenameFromFileSystem(const std::wstring& name, const std::wstring& folder = L"",
                                           bool fallback = true) const;
    // The folder part of the name's lookup (with fallback).
    std::wstring FindFileFolder(const std::wstring& name) const;
    // Opens the name, else the name followed by each extension in order.
    // Returns a new file (the caller drops it) or null.
    IFile* OpenFile(const std::wstring& name, const std::vector<std::wstring>& extensions = {},
                    const std::wstring& folder = L"") const;
    // Fills the list with the matches of ";"-separated patterns, in order:
    // for each pattern the pattern itself when it is a file on disk, then its
    // matches through the search paths (bare names with namesOnly). Returns
    // the number of entries.
    size_t GetFilenameListFromFileSystem(const std::wstring& patterns, std::vector<std::wstring>& list,
                                         bool namesOnly, const std::wstring& folder = L"") const;

    // Script errors.
    // The script error dialog. A message "file|line|text" that names the
    // script and the line offers to debug in the external editor (when one
    // exists): Yes writes the error report and opens the report and then the
    // script at the line in the editor. Any other message, or no editor,
    // offers the error report, opened with its associated program on OK.
    // The traceback (Lua's, or empty) goes into the report below the
    // message; the dialog shows the message alone.
    void ShowScriptError(const std::wstring& message, const std::wstring& traceback = std::wstring()) const;
    // Writes "ErrorReport.txt" (the message, the traceback when there is
    // one, and the engine information) to the user's temporary folder;
    // returns its path, or "" when it could not be written.
    std::wstring WriteErrorReport(const std::wstring& message,
                                  const std::wstring& traceback = std::wstring()) const;

    CFileSystem& GetFileSystem() { return m_fileSystem; }
    const CFileSystem& GetFileSystem() const { return m_fileSystem; }
    COptions& GetOptions() { return m_options; }
    CLanguage& GetLanguage() { return m_language; }

private:
    // Runs the action on the search scope: the application's file system, or
    // a file system over the folder alone.
    template <class Action> auto WithScope(const std::wstring& folder, Action action) const;

    std::wstring m_appName;
    std::wstring m_appCopyright;
    std::wstring m_appWebsite;
    int32_t m_majorVersion = 99;
    int32_t m_minorVersion = 88;
    std::wstring m_buildNote1;
    std::wstring m_buildNote2;
    std::wstring m_buildDate;
    std::wstring m_buildTime;
    std::wstring m_exePath;
    std::wstring m_exeFolder;
    CLogConsole m_console;
    bool m_consoleVisible = false;
    std::wstring m_consoleCaption;
    COptions m_options;
    mutable CFileSystem m_fileSystem;
    CLanguage m_language;
    std::wstring m_translatorFilename;
    CTimer m_timer;
};
