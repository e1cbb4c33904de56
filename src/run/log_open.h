// Finding and opening the log to read.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "console/console.h"

namespace korvanel {

// The log being read: its file, its path, and its name as the pages show it.
struct OpenedLog {
    std::FILE* file = nullptr;
    std::filesystem::path path;
    std::string shown;
};

// Opens the log in `dir`: "chat.log", then the name with ".log" appended
// (names of at most 59 characters), then asks for another name until one
// opens. Quitting at the prompt throws QuitRun.
OpenedLog open_log(const std::filesystem::path& dir, Console& console);

}  // namespace korvanel
