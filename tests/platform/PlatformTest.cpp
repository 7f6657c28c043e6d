#include "platform/DynamicLibrary.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/SystemInfo.h"
#include "platform/Thread.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

// A scratch folder, removed afterwards.
class CScratch
{
public:
    CScratch()
        : m_path(std::filesystem::temp_directory_path() / ("halvane-platform-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CScratch() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& Path() const { return m_path; }

    // Writes a shell script that records its arguments, one per line.
    std::string WriteRecorder(const std::string& name) const
    {
        const std::filesystem::path script = m_path / name;
        std::filesystem::create_directories(script.parent_path());
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.args.tmp\"\n"
                                 "mv \"$0.args.tmp\" \"$0.args\"\n";
        ::chmod(script.c_str(), 0755);
        return script.string();
    }

private:
    std::filesystem::path m_path;
};

std::string WaitForFile(const std::string& path)
{
    for (int attempt = 0; attempt < 500 && !std::filesystem::exists(path); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream stream(path);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

} // namespace

TEST(DynamicLibrary, LoadsASystemLibraryAndReportsFailures)
{
    Platform::CDynamicLibrary zlib;
    ASSERT_TRUE(zlib.Open("libz.so.1")) << zlib.GetError();
    using VersionFunction = const char* (*)();
    const auto version = reinterpret_cast<VersionFunction>(zlib.GetSymbol("zlibVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version()[0], '1');
    EXPECT_EQ(zlib.GetSymbol("noSuchFunction"), nullptr);
    EXPECT_FALSE(zlib.GetError().empty());

    Platform::CDynamicLibrary moved = std::move(zlib);
    EXPECT_TRUE(moved.IsOpen());
    EXPECT_FALSE(zlib.IsOpen());

    Platform::CDynamicLibrary missing;
    EXPECT_FALSE(missing.Open("libhalvane-does-not-exist.so"));
    EXPECT_FALSE(missing.GetError().empty());
    EXPECT_EQ(missing.GetSymbol("x"), nullptr);
}

TEST(Process, StartsWithAnArgumentVectorAndReapsTheChild)
{
    CScratch scratch;
    const std::string recorder = scratch.WriteRecorder("record");
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
    CScratch scratch;
    const std::string bundled = scratch.WriteRecorder("exe/Tools/SciTE/SciTE");
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
    const std::string chosen = scratch.WriteRecorder("my editor");
    CScopedEnvironment editor("HALVANE_EDITOR", chosen.c_str());
    ASSERT_EQ(Platform::FindEditor(exeFolder), chosen);

    ASSERT_TRUE(Platform::StartEditor(chosen, "/tmp/a b/main.lua", "12"));
    EXPECT_EQ(WaitForFile(chosen + ".args"), "-open:/tmp/a b/main.lua\n-goto:12\n");
    std::filesystem::remove(chosen + ".args");
    ASSERT_TRUE(Platform::StartEditor(chosen, "/tmp/ErrorReport.txt", ""));
    EXPECT_EQ(WaitForFile(chosen + ".args"), "-open:/tmp/ErrorReport.txt\n");
}

TEST(MessageBox, ForcedAndSafeAnswers)
{
    using Platform::EMessageBoxButtons;
    const struct
    {
        const char* forced;
        EMessageBoxButtons buttons;
        Platform::EMessageBoxAnswer answer;
    } cases[] = {
        // No terminal (tests run without one): the safe answer.
        {nullptr, EMessageBoxButtons::Ok, Platform::kAnswerOk},
        {nullptr, EMessageBoxButtons::OkCancel, Platform::kAnswerCancel},
        {nullptr, EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        {nullptr, EMessageBoxButtons::YesNoCancel, Platform::kAnswerCancel},
        {nullptr, EMessageBoxButtons::RetryCancel, Platform::kAnswerCancel},
        {"bogus", EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        // Forced answers.
        {"yes", EMessageBoxButtons::YesNo, Platform::kAnswerYes},
        {"YES", EMessageBoxButtons::YesNoCancel, Platform::kAnswerYes},
        {"no", EMessageBoxButtons::YesNoCancel, Platform::kAnswerNo},
        {"cancel", EMessageBoxButtons::YesNoCancel, Platform::kAnswerCancel},
        {"cancel", EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        {"ok", EMessageBoxButtons::OkCancel, Platform::kAnswerOk},
        {"yes", EMessageBoxButtons::OkCancel, Platform::kAnswerOk},
        {"no", EMessageBoxButtons::OkCancel, Platform::kAnswerCancel},
        {"ok", EMessageBoxButtons::RetryCancel, Platform::kAnswerRetry},
        {"no", EMessageBoxButtons::Ok, Platform::kAnswerOk},
    };
    if (::isatty(STDIN_FILENO) == 1)
        GTEST_SKIP() << "standard input is a terminal";
    for (const auto& c : cases)
    {
        CScopedEnvironment forced("HALVANE_MESSAGEBOX", c.forced);
        ::testing::internal::CaptureStderr();
        const auto answer =
            Platform::ShowMessageBox("main.lua|3|boom\n\nDebug code now?", "Halvane", c.buttons);
        const std::string shown = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << (c.forced ? c.forced : "(none)") << " " << static_cast<int>(c.buttons);
        EXPECT_EQ(shown.rfind("[Halvane] main.lua|3|boom\n\nDebug code now?\n-> ", 0), 0u) << shown;
    }
}

TEST(SystemInfo, ReportsThisMachine)
{
    EXPECT_EQ(Platform::GetOperatingSystemVersion().rfind("Linux ", 0), 0u);
    const uint32_t total = Platform::GetMemoryTotal();
    const uint32_t free = Platform::GetMemoryFree();
    EXPECT_GT(total, 0u);
    EXPECT_GT(free, 0u);
    EXPECT_LE(free, total);
    (void)Platform::GetProcessorSpeedMHz(); // 0 is allowed where the system does not tell
    EXPECT_GE(Platform::GetProcessorCount(), 1u);
    EXPECT_GT(Platform::GetCurrentThreadId(), 0u);
}
