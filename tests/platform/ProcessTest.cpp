#include "platform/Process.h"

#include "support/ScopedEnvironment.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace
{

// Writes a shell script that records its arguments, one per line, into
// "<script>.args".
std::string WriteRecorder(const CTestFolder& folder, const std::string& name)
{
    const std::string script =
        folder.Write(name, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args.tmp\"\n"
                           "mv \"$0.args.tmp\" \"$0.args\"\n");
    ::chmod(script.c_str(), 0755);
    return script;
}

std::string WaitForFile(const std::string& path)
{
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(path); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream stream(path);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

} // namespace

TEST(Process, StartsWithAnArgumentVectorAndReapsTheChild)
{
    CTestFolder scratch;
    const std::string recorder = WriteRecorder(scratch, "record");
    int child = 0;
    // Shell characters reach the program as they are.
    ASSERT_TRUE(Platform::StartProcess(recorder, {"a b", "$HOME", "'; rm -rf x", ""}, &child));
    EXPECT_EQ(WaitForFile(recorder + ".args"), "a b\n$HOME\n'; rm -rf x\n\n");

    // The child is reaped: once gone it leaves no zombie behind.
    bool gone = false;
    for (int attempt = 0; attempt < 500 && !gone; ++attempt)
    {
        gone = ::kill(child, 0) != 0 && errno == ESRCH;
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone);

    EXPECT_FALSE(Platform::StartProcess("halvane-no-such-program", {}));
    EXPECT_FALSE(Platform::StartProcess((scratch.Path() / "missing").string(), {}));
    EXPECT_FALSE(Platform::StartProcess("", {}));
}

TEST(Process, EditorChoiceAndCommandLine)
{
    CTestFolder scratch;
    const std::string bundled = WriteRecorder(scratch, "exe/Tools/SciTE/SciTE");
    const std::string exeFolder = (scratch.Path() / "exe").string();
    {
        CScopedEnvironment editor("HALVANE_EDITOR", nullptr);
        EXPECT_EQ(Platform::FindEditor(exeFolder), bundled);
        EXPECT_EQ(Platform::FindEditor(exeFolder + "/"), bundled);
    }
    {
        // The variable wins, even when it names nothing.
        CScopedEnvironment editor("HALVANE_EDITOR", "/nonexistent/halvane-test-editor");
        EXPECT_EQ(Platform::FindEditor(exeFolder), "");
    }
    const std::string chosen = WriteRecorder(scratch, "my editor");
    CScopedEnvironment editor("HALVANE_EDITOR", chosen.c_str());
    ASSERT_EQ(Platform::FindEditor(exeFolder), chosen);

    ASSERT_TRUE(Platform::StartEditor(chosen, "/tmp/a b/main.lua", "12"));
    EXPECT_EQ(WaitForFile(chosen + ".args"), "-open:/tmp/a b/main.lua\n-goto:12\n");
    std::filesystem::remove(chosen + ".args");
    ASSERT_TRUE(Platform::StartEditor(chosen, "/tmp/ErrorReport.txt", ""));
    EXPECT_EQ(WaitForFile(chosen + ".args"), "-open:/tmp/ErrorReport.txt\n");
}
