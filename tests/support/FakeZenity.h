#pragma once

// A stand-in for zenity on the PATH, with a display, for one scope. It
// writes its arguments (one a line) to Arguments() and answers with the
// text and exit status given by Answer.

#include "support/ScopedEnvironment.h"
#include "support/TestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class CFakeZenity
{
public:
    CFakeZenity()
    {
        const std::string script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (m_folder / "arguments") +
                                   "'\ncat '" + (m_folder / "answer") + "'\nexit $(cat '" +
                                   (m_folder / "status") + "')\n";
        const std::string program = m_folder.Write("zenity", script);
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        Answer("", 1);
        const char* path = std::getenv("PATH");
        m_path = std::make_unique<CScopedEnvironment>(
            "PATH", (m_folder.Path().string() + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str());
        m_display = std::make_unique<CScopedEnvironment>("DISPLAY", ":99");
    }
    ~CFakeZenity()
    {
        // The environment is restored before the folder goes.
        m_display.reset();
        m_path.reset();
    }
    CFakeZenity(const CFakeZenity&) = delete;
    CFakeZenity& operator=(const CFakeZenity&) = delete;

    // What the next run prints and its exit status (1: cancelled).
    void Answer(const std::string& output, int status)
    {
        m_folder.Write("answer", output);
        m_folder.Write("status", std::to_string(status));
    }

    // The arguments of the last run; empty when it did not run.
    std::string Arguments() const { return m_folder.Read("arguments"); }

    void ForgetArguments() const
    {
        std::error_code error;
        std::filesystem::remove(m_folder.Path() / "arguments", error);
    }

private:
    CTestFolder m_folder;
    std::unique_ptr<CScopedEnvironment> m_path;
    std::unique_ptr<CScopedEnvironment> m_display;
};
