#pragma once

// Runs another program for a benchmark and waits for it.

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

// Starts the program (looked up on the PATH) with standard error on the
// null device and standard output into `output` (the null device without
// one); its exit status, or -1 when it did not start or did not exit.
inline int RunProgram(const std::vector<const char*>& arguments, std::string* output = nullptr)
{
    int pipeEnds[2] = {-1, -1};
    if (output != nullptr && pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output != nullptr)
    {
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    }
    else
    {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const char* argument : arguments)
        argv.push_back(const_cast<char*>(argument));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output != nullptr)
    {
        close(pipeEnds[1]);
        char block[4096];
        ssize_t read = 0;
        while (started == 0 && (read = ::read(pipeEnds[0], block, sizeof block)) != 0)
        {
            if (read > 0)
                output->append(block, static_cast<size_t>(read));
            else if (errno != EINTR)
                break;
        }
        close(pipeEnds[0]);
    }
    if (started != 0)
        return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
    {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
