// The halvane program end to end: exit codes, the bundled example and the
// script error dialog's answers with a fake editor.
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <csignal>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct SResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

class Program : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_folder / "tmp");
        // Reports go to the test's own folder; no answer is typed.
        m_environment = {{"TMPDIR", (m_folder / "tmp").string()},
                         {"HALVANE_MESSAGEBOX", "no"},
                         {"HALVANE_EDITOR", "/nonexistent/halvane-test-editor"}};
    }

    // Runs halvane with the arguments in the test folder and waits for it.
    SResult Run(const std::vector<std::string>& arguments) { return Wait(Start(arguments)); }

    // Starts halvane with the arguments in the test folder; 0 when it
    // could not start.
    pid_t Start(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry)
        {
            const std::string text = *entry;
            if (m_environment.count(text.substr(0, text.find('='))) == 0)
                environment.push_back(text);
        }
        for (const auto& [name, value] : m_environment)
            environment.push_back(name + "=" + value);

        std::vector<std::string> strings{HALVANE_BINARY};
        strings.insert(strings.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& text : strings)
            argv.push_back(text.data());
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& text : environment)
            envp.push_back(text.data());
        envp.push_back(nullptr);

        const std::string out = (m_folder / "stdout.txt").string();
        const std::string err = (m_folder / "stderr.txt").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (m_mergeOutput)
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
        else
            posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addchdir_np(&actions, m_folder.c_str());
        pid_t child = 0;
        if (posix_spawn(&child, HALVANE_BINARY, &actions, nullptr, argv.data(), envp.data()) != 0)
            child = 0;
        posix_spawn_file_actions_destroy(&actions);
        return child;
    }

    // Waits for a started halvane; a death by a signal reads as 1000 + the
    // signal's number.
    SResult Wait(pid_t child)
    {
        SResult result;
        if (child != 0)
        {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR)
            {
            }
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        }
        result.out = ReadAll(m_folder / "stdout.txt");
        result.err = m_mergeOutput ? std::string() : ReadAll(m_folder / "stderr.txt");
        return result;
    }

    // Waits up to ten seconds for a file to appear.
    static bool AwaitFile(const fs::path& path)
    {
        for (int attempt = 0; attempt < 1000 && !fs::exists(path); ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fs::exists(path);
    }

    // An editor that notes each argument on a line of its own, one call per
    // file "call-<pid>.txt" in the folder given.
    std::string FakeEditor(const fs::path& calls)
    {
        fs::create_directories(calls);
        const fs::path editor = m_folder / "editor.sh";
        WriteFile(editor, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + calls.string() +
                              "/call-'$$.tmp\n"
                              "mv '" +
                              calls.string() + "/call-'$$.tmp '" + calls.string() + "/call-'$$.txt\n");
        fs::permissions(editor, fs::perms::owner_all);
        return editor.string();
    }

    // The calls the fake editor noted, waiting for the expected count (the
    // editor runs on after halvane has ended).
    static std::vector<std::string> EditorCalls(const fs::path& calls, size_t expected)
    {
        std::vector<std::string> found;
        for (int attempt = 0; attempt < 500; ++attempt)
        {
            found.clear();
            for (const fs::directory_entry& entry : fs::directory_iterator(calls))
                if (entry.path().extension() == ".txt")
                    found.push_back(ReadAll(entry.path()));
            if (found.size() >= expected)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    CTestFolder m_scratch;
    const fs::path m_folder = m_scratch.Path();
    std::map<std::string, std::string> m_environment;
    // Standard error into the same file as standard output, as a pipe to
    // both would have it.
    bool m_mergeOutput = false;
};

TEST_F(Program, ExitCodes)
{
    WriteFile(m_folder / "scripts" / "fine.lua", "function fine() end");
    fs::create_directories(m_folder / "folder.lua");
    struct Case
    {
        std::vector<std::string> arguments;
        int exitCode;
    };
    const Case cases[] = {
        {{}, 2},
        {{"folder.lua"}, 2},
        {{"absent.lua"}, 2},
        {{"scripts/fine.lua"}, 0},
        // Names written on Windows: found as scripts open, without case.
        {{"SCRIPTS/Fine.LUA"}, 0},
        {{(m_folder / "scripts" / "fine.lua").string(), "extra"}, 0},
    };
    for (const Case& c : cases)
    {
        const SResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << (c.arguments.empty() ? "" : c.arguments[0]) << "\n"
                                               << result.err;
        // The log console is hidden: what went wrong is on standard error,
        // with the path as given.
        EXPECT_EQ(result.out, "");
        if (c.exitCode == 2)
        {
            EXPECT_NE(result.err.find("[Usage] "), std::string::npos) << result.err;
            if (!c.arguments.empty())
            {
                EXPECT_NE(result.err.find("not found: " + c.arguments[0] + "\n"), std::string::npos)
                    << result.err;
            }
        }
    }
}

TEST_F(Program, WithoutAScriptExitsWith2AndPrintsTheUsageOnStandardError)
{
    const SResult result = Run({});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string("[Usage] ") + HALVANE_BINARY + " script_entry_file\n");
}

TEST_F(Program, PrintedOutputComesBeforeTheErrorText)
{
    WriteFile(m_folder / "fails.lua", "print('printed first')\nerror('then the error')\n");
    m_mergeOutput = true;
    const SResult result = Run({"fails.lua"});
    const size_t printed = result.out.find("printed first");
    ASSERT_NE(printed, std::string::npos) << result.out;
    EXPECT_LT(printed, result.out.find("then the error")) << result.out;
}

TEST_F(Program, TheBundledExampleRuns)
{
    const SResult result = Run({HALVANE_SOURCE_DIR "/examples/hello/main.lua", "one", "", "three"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Hello from Halvane"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("12 script interfaces published"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  2: nil\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("state 'loop'\nThe loop ran "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Skin: METALLIC, 1 sprite(s) in the bank"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("GUI: 'sound' is now on"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("GUI: 3 controls, the caption reads 'Hello from Halvane'"), std::string::npos)
        << result.out;
    // The world: boxes fall onto the ground and come to rest on it.
    EXPECT_NE(result.out.find("World: 4 units, "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  box 3 rests at height 0.5"), std::string::npos) << result.out;
    // The animated model it ships.
    EXPECT_NE(result.out.find("Model: bobber.x, 40 frames, joint Top"), std::string::npos) << result.out;
}

// A signal ends the running loop as a window close would: the run
// returns, the state goes on, the quit event goes out at shutdown; the exit
// code is the shell's for the signal. A second signal ends the program at
// once, even in a script that never returns.
TEST_F(Program, ASignalEndsTheLoopAndTheProgramShutsDown)
{
    WriteFile(m_folder / "saves.lua", R"(
local function write(name, text)
    local file = assert(io.open(name, "w"))
    file:write(text)
    file:close()
end
function saves(mode)
    IEvents:subscribeClose(function() write("saved.txt", "saved on quit") end, nil, 0)
    local ready = false
    IEvents:subscribeTick(function()
        if not ready then write("ready.txt", "") ready = true end
    end, nil, 0)
    IApp:run(0)
    write("after.txt", "the run returned")
    -- Later runs end at once.
    IApp:run(0)
    if mode == "hang" then
        write("hanging.txt", "")
        while true do end
    end
end
)");
    struct Case
    {
        const char* mode;
        int signal;
    };
    for (const Case& c :
         {Case{"end", SIGTERM}, Case{"end", SIGINT}, Case{"end", SIGHUP}, Case{"hang", SIGTERM}})
    {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.signal));
        for (const char* name : {"ready.txt", "after.txt", "saved.txt", "hanging.txt"})
            fs::remove(m_folder / name);
        const pid_t child = Start({"saves.lua", c.mode});
        ASSERT_NE(child, 0);
        ASSERT_TRUE(AwaitFile(m_folder / "ready.txt"));
        ::kill(child, c.signal);
        if (std::string(c.mode) == "hang")
        {
            ASSERT_TRUE(AwaitFile(m_folder / "hanging.txt"));
            ::kill(child, c.signal);
            const SResult result = Wait(child);
            EXPECT_EQ(result.exitCode, 1000 + c.signal) << result.err;
            EXPECT_FALSE(fs::exists(m_folder / "saved.txt"));
            continue;
        }
        const SResult result = Wait(child);
        EXPECT_EQ(result.exitCode, 128 + c.signal) << result.err;
        EXPECT_EQ(ReadAll(m_folder / "after.txt"), "the run returned");
        EXPECT_EQ(ReadAll(m_folder / "saved.txt"), "saved on quit");
    }
}

TEST_F(Program, DebuggingOpensTheReportAndTheScriptAtTheLineWithoutAShell)
{
    // The script's name comes from script-controlled text: were it handed to
    // a shell, the command in it would run.
    const fs::path script = m_folder / "it's $(touch pwned); x.lua";
    WriteFile(script, "local a = 1\n\nfunction OnStateRun()\n    error('boom')\nend\n");
    const fs::path calls = m_folder / "calls";
    m_environment["HALVANE_EDITOR"] = FakeEditor(calls);
    m_environment["HALVANE_MESSAGEBOX"] = "yes";

    const SResult result = Run({script.string()});
    EXPECT_EQ(result.exitCode, 1);
    const std::string message = script.string() + "|4|boom";
    EXPECT_NE(result.err.find(message + "\n\nDebug code now?"), std::string::npos) << result.err;

    const fs::path report = m_folder / "tmp" / "ErrorReport.txt";
    std::vector<std::string> expected = {"-open:" + report.string() + "\n",
                                         "-open:" + script.string() + "\n-goto:4\n"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(EditorCalls(calls, 2), expected);
    EXPECT_FALSE(fs::exists(m_folder / "pwned"));
    EXPECT_FALSE(fs::exists(script.parent_path() / "pwned"));

    // Below the message the Lua traceback, innermost call first.
    EXPECT_EQ(ReadAll(report),
              "==============================\nERROR REPORT\n==============================\n" + message +
                  "\nstack traceback:\n\t[C]: in function 'error'\n\t" + script.string() +
                  ":4: in function <" + script.string() +
                  ":3>\n\n==============================\nENGINE INFORMATION\n"
                  "==============================\n"
                  "- Halvane 2010: 3D Engine 3.16\n"
                  "- Copyright (c) 2010 The Halvane makers\n"
                  "- Build: Jan 14 2010 14:32:15  \n\n");
}

// An error in a callback is raised again at the line that called into the
// engine (IApp:run); the report names the callback's own file and line,
// and the traceback on standard error leads from it to the state function.
TEST_F(Program, ACallbackErrorNamesTheCallbackAndShowsTheTraceback)
{
    const fs::path helper = m_folder / "helper.lua";
    WriteFile(helper, "function onTick()\n    local t = nil\n    return t.field\nend\n");
    const fs::path script = m_folder / "game.lua";
    WriteFile(script, "dofile('helper.lua')\nfunction game()\n    IEvents:subscribeTick(onTick, nil, 0)\n"
                      "    IApp:run(0)\nend\n");
    const SResult result = Run({"game.lua"});
    EXPECT_EQ(result.exitCode, 1);
    // dofile names the chunk by the path it was given.
    const std::string message = "helper.lua|3|attempt to index local 't' (a nil value)";
    const std::string traceback =
        "stack traceback:\n\thelper.lua:3: in function <helper.lua:1>\n\t[C]: in function 'run'\n\t" +
        script.string() + ":4: in function <" + script.string() + ":2>\n";
    EXPECT_NE(result.err.find(message + "\n" + traceback), std::string::npos) << result.err;
    // The dialog's text is the message alone.
    EXPECT_NE(result.err.find("] " + message + "\n\nCreate error report?"), std::string::npos) << result.err;
}

// A script without a state function runs its chunk and ends with 0; one
// line on standard error says which functions were looked for.
TEST_F(Program, AnEntryScriptWithoutAStateFunctionSaysWhatWasLookedFor)
{
    WriteFile(m_folder / "level.lua", "print('the chunk ran')\nfunction other() end\n");
    const SResult result = Run({"level.lua"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "the chunk ran\n");
    EXPECT_EQ(result.err, "[halvane] " + (m_folder / "level.lua").string() +
                              " ran without a state function: no global function 'level', 'OnStateRun_level' "
                              "or 'OnStateRun'\n");
}

TEST_F(Program, TheReportIsWrittenOnlyWhenAsked)
{
    WriteFile(m_folder / "fails.lua", "function fails() error({}) end");
    const fs::path report = m_folder / "tmp" / "ErrorReport.txt";
    // No desktop opener to start: the report is only written.
    m_environment["PATH"] = "/nonexistent";
    struct Case
    {
        const char* answer;
        bool written;
    };
    for (const Case& c : {Case{"no", false}, Case{"cancel", false}, Case{"ok", true}})
    {
        m_environment["HALVANE_MESSAGEBOX"] = c.answer;
        const SResult result = Run({"fails.lua"});
        EXPECT_EQ(result.exitCode, 1) << c.answer;
        EXPECT_NE(result.err.find("(error object is not a string)\n\nCreate error report?"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(fs::exists(report), c.written) << c.answer;
        if (c.written)
        {
            const std::string start = "==============================\nERROR REPORT\n"
                                      "==============================\n"
                                      "(error object is not a string)\n"
                                      "stack traceback:\n\t[C]: in function 'error'\n";
            EXPECT_EQ(ReadAll(report).substr(0, start.size()), start);
        }
    }
}

TEST_F(Program, AnErrorOutsideAnyScriptEndsWithItsMessage)
{
    // A kernel file that claims more bytes than it gives: the engine cannot
    // read it whole, and that error escapes every script call.
    const char* const file = "/sys/kernel/mm/transparent_hugepage/enabled";
    if (!fs::exists(file) || fs::file_size(file) <= ReadAll(file).size())
        GTEST_SKIP() << "no short-reading kernel file here";
    const SResult result = Run({file});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("[halvane] Unhandled error: [LuaUtilities::LoadFile] Failed to read data"),
              std::string::npos)
        << result.err;
}

} // namespace
