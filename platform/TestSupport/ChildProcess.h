// Test support: programs started without a shell, with their standard error discarded
// and their standard output on a given descriptor (or discarded).
// Thread: the test's.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace ChildProcess {

// Starts the program (looked up on PATH); its process id, or -1. `closeFd` is closed in
// the child (the reading end of a pipe whose writing end is `stdoutFd`).
inline pid_t spawn(std::vector<std::string> args, int stdoutFd = -1, int closeFd = -1) {
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (closeFd >= 0)
        posix_spawn_file_actions_addclose(&actions, closeFd);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs the program to its end: its exit status, or -1.
inline int run(std::vector<std::string> args) {
    pid_t pid = spawn(std::move(args));
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the program to its end and returns what it printed.
inline std::string output(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    pid_t pid = spawn(std::move(args), fds[1], fds[0]);
    close(fds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        out.append(buffer, size_t(n));
    close(fds[0]);
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    return out;
}

} // namespace ChildProcess
