#pragma once
// Runs one test of this test program in a copy of it placed in a folder of its own,
// which is then the copy's main bundle: how the tests see what a program does when a
// bundle or an asset is missing (the program ends) or present (a test passes).

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

struct ProbeResult {
    bool succeeded; // exited with status 0
    std::string errors;
};

// Copies this program into `folder` and runs the test `testName` there with the
// environment `environment` ("NAME=value") and nothing else.
inline ProbeResult runProbeCopy(const std::filesystem::path& folder, const std::string& testName,
                                std::string environment) {
    namespace fs = std::filesystem;
    const fs::path copy = folder / "probe", errors = folder / "probe.stderr";
    fs::copy_file("/proc/self/exe", copy, fs::copy_options::overwrite_existing);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::string filter = "--gtest_filter=" + testName;
    std::vector<char*> argv{const_cast<char*>(copy.c_str()), filter.data(), nullptr};
    std::vector<char*> envp{environment.data(), nullptr};
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, copy.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    std::stringstream text;
    text << std::ifstream(errors).rdbuf();
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, text.str()};
}
