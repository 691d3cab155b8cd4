#pragma once
// A command run through the shell as a person runs it, for the host's tests: its exit
// status and what it printed on both streams, in the order it printed it.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct ProgramRun {
    int status; // -1 when the command did not exit by itself
    std::string out;
};

inline ProgramRun runCommand(const std::string& command) {
    ProgramRun run{-1, ""};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
