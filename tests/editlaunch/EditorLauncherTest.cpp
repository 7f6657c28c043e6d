#include "core/foundation/CommandLine.h"
#include "editlaunch/EditorLauncher.h"
#include "platform/Process.h"

#include "support/ScopedEnvironment.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace
{

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The launcher is built beside halvane.
std::string LauncherPath()
{
    return (std::filesystem::path(HALVANE_BINARY).parent_path() / "editlaunch").string();
}

// A stand-in editor: a script that records its arguments (NUL-separated)
// into a file once it has run.
std::string WriteRecordingEditor(const CTestFolder& folder, const std::string& name,
                                 const std::string& record)
{
    folder.Write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + record +
                           ".part'\n/bin/mv '" + record + ".part' '" + record + "'\n");
    const std::string path = folder / name;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// The arguments the stand-in recorded, waiting for it (it runs on after
// the launcher has ended); empty when it never ran.
std::vector<std::string> RecordedArguments(const CTestFolder& folder, const std::string& record)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(folder / record) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string bytes = folder.Read(record);
    std::vector<std::string> arguments;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
        arguments.push_back(bytes.substr(start, end - start));
    return arguments;
}

// Runs the launcher to its end; true when it exits with 0.
bool RunLauncher(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string output;
    return Platform::RunForOutput(program, arguments, output);
}

} // namespace

// Whole command lines as the system hands them to the launcher, through
// the splitter and the launcher's path rules.
TEST(EditorLauncherTest, FileArgumentFromTheCommandLine)
{
    const struct
    {
        const wchar_t* commandLine;
        const wchar_t* file;
    } cases[] = {
        {L"editlaunch D:\\Scripts\\\\game.lua", L"D:/Scripts/game.lua"},
        {L"editlaunch \"D:\\My Scripts\\a.lua\"", L"D:/My Scripts/a.lua"},
        // Two quotes, abc and a quote split into "abc; the leading quote
        // takes the last character with it.
        {L"editlaunch \"\"abc\"", L"ab"},
        {L"editlaunch \\\\server\\share\\a.lua", L"/server/share/a.lua"},
        {L"editlaunch first.lua second.lua third.lua", L"first.lua"},
        {L"editlaunch", L""},
        {L"editlaunch \"\"", L""},
        {L"editlaunch \"\"\"", L""},
        {L"editlaunch \"unterminated path.lua", L"unterminated path.lua"},
        {L"\"C:\\Program Files\\editlaunch.exe\" \"C:\\a b\\c.lua\" -x", L"C:/a b/c.lua"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorFileArgument(CCommandLine(c.commandLine)), c.file) << Narrow(c.commandLine);
}

TEST(EditorLauncherTest, TheEditorGetsThePathAsOneArgument)
{
    CTestFolder folder;
    const std::string editor = WriteRecordingEditor(folder, "editor.sh", folder / "record");
    const CScopedEnvironment chosen("HALVANE_EDITOR", editor.c_str());
    const std::string trap = folder / "shell-ran";
    const struct
    {
        std::vector<std::string> arguments;
        std::string open;
    } cases[] = {
        {{"/games/My Scripts/it's \"quoted\"; $(touch " + trap + ") `touch " + trap + "` | & > x.lua"},
         "-open:/games/My Scripts/it's \"quoted\"; $(touch " + trap + ") `touch " + trap + "` | & > x.lua"},
        {{"C:\\Scripts\\\\sc\xc3\xa8ne.lua"}, "-open:C:/Scripts/sc\xc3\xa8ne.lua"},
        // A name in another encoding (Latin-1 "é") reaches the editor as
        // the same bytes, not as a replacement character.
        {{"C:\\sc\xe9ne\\a\xff.lua"}, "-open:C:/sc\xe9ne/a\xff.lua"},
        {{"\"quoted.lua\""}, "-open:quoted.lua"},
        {{"first.lua", "second.lua"}, "-open:first.lua"},
        {{}, "-open:"},
        {{"-goto:12"}, "-open:-goto:12"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.open);
        std::filesystem::remove(folder / "record");
        ASSERT_TRUE(RunLauncher(LauncherPath(), c.arguments));
        EXPECT_EQ(RecordedArguments(folder, "record"), std::vector<std::string>{c.open});
    }
    EXPECT_FALSE(std::filesystem::exists(trap));
}

// HALVANE_EDITOR may name a program on the PATH, as a shell would find it.
TEST(EditorLauncherTest, AChosenEditorWithoutAFolderIsFoundOnThePath)
{
    CTestFolder folder;
    std::filesystem::create_directories(folder / "bin");
    WriteRecordingEditor(folder, "bin/my-editor", folder / "record");
    const CScopedEnvironment chosen("HALVANE_EDITOR", "my-editor");
    const CScopedEnvironment path("PATH", (folder / "bin").c_str());
    ASSERT_TRUE(RunLauncher(LauncherPath(), {"a.lua"}));
    EXPECT_EQ(RecordedArguments(folder, "record"), std::vector<std::string>{"-open:a.lua"});
}

TEST(EditorLauncherTest, FindsTheEditorBesideItself)
{
    // A copy of the launcher in a folder that bundles the editor, with no
    // editor chosen and none on the PATH.
    CTestFolder folder;
    std::filesystem::create_directories(folder / "Tools/SciTE");
    WriteRecordingEditor(folder, "Tools/SciTE/SciTE", folder / "record");
    std::filesystem::copy_file(LauncherPath(), folder / "editlaunch");
    const CScopedEnvironment chosen("HALVANE_EDITOR", nullptr);
    const CScopedEnvironment path("PATH", "/nonexistent");
    ASSERT_TRUE(RunLauncher(folder / "editlaunch", {"a\\b.lua"}));
    EXPECT_EQ(RecordedArguments(folder, "record"), std::vector<std::string>{"-open:a/b.lua"});
}

TEST(EditorLauncherTest, ExitsWithZeroWhenTheEditorCannotBeStarted)
{
    CTestFolder folder;
    folder.Write("not-executable", "#!/bin/sh\ntouch '" + (folder / "ran") + "'\n");
    folder.Write("bad-interpreter", "#!/nonexistent/interpreter\n");
    std::filesystem::permissions(folder / "bad-interpreter", std::filesystem::perms::owner_all);
    for (const std::string& editor : {std::string("/nonexistent/halvane-test-editor"),
                                      folder / "not-executable", folder / "bad-interpreter"})
    {
        SCOPED_TRACE(editor);
        const CScopedEnvironment chosen("HALVANE_EDITOR", editor.c_str());
        EXPECT_TRUE(RunLauncher(LauncherPath(), {"game.lua"}));
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "ran"));
}
