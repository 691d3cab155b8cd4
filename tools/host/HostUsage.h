#pragma once
// What the host's commands print for --help: the whole program, or one command with
// its options and their defaults. Any thread; constant texts.

#include <string>

// The usage of `command` ("render", "editor", "presets", "state"); the program's
// overview for any other.
const char* hostUsage(const std::string& command);
