#pragma once

// A stand-in for zenity on the PATH, with a display, for one scope. It
// writes its arguments (one a line) to Arguments() and answers with the
// text and exit status given by Answer.

#include "support/ScopedEnvironment.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

class CFakeZenity
{
public:
    CFakeZenity()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("halvane-zenity-" + std::to_string(::getpid()) + "-" + std::to_string(++Counter())))
    {
        std::filesystem::create_directories(m_folder);
        const std::filesystem::path program = m_folder / "zenity";
        std::ofstream(program) << "#!/bin/sh\n"
                               << "printf '%s\\n' \"$@\" > '" << (m_folder / "arguments").string() << "'\n"
                               << "cat '" << (m_folder / "answer").string() << "'\n"
                               << "exit $(cat '" << (m_folder / "status").string() << "')\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        Answer("", 1);
        const char* path = std::getenv("PATH");
        m_path = std::make_unique<CScopedEnvironment>(
            "PATH", (m_folder.string() + ":" + (path != nullptr ? path : "/usr/bin:/bin")).c_str());
        m_display = std::make_unique<CScopedEnvironment>("DISPLAY", ":99");
    }
    ~CFakeZenity()
    {
        m_display.reset();
        m_path.reset();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CFakeZenity(const CFakeZenity&) = delete;
    CFakeZenity& operator=(const CFakeZenity&) = delete;

    // What the next run prints and its exit status (1: cancelled).
    void Answer(const std::string& output, int status)
    {
        std::ofstream(m_folder / "answer", std::ios::binary) << output;
        std::ofstream(m_folder / "status") << status;
    }

    // The arguments of the last run; empty when it did not run.
    std::string Arguments() const
    {
        std::ifstream file(m_folder / "arguments", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    void ForgetArguments() const
    {
        std::error_code error;
        std::filesystem::remove(m_folder / "arguments", error);
    }

private:
    static int& Counter()
    {
        static int counter = 0;
        return counter;
    }

    std::filesystem::path m_folder;
    std::unique_ptr<CScopedEnvironment> m_path;
    std::unique_ptr<CScopedEnvironment> m_display;
};
