// The command-line host: renders audio through the effect, lists its presets and
// saves and restores its state (see HostCommands.h).
#include "HostCommands.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        program = std::filesystem::absolute(argv[0]);
    return runHost(arguments, program.string(), std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
