// Finding and opening the log to read.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "console/console.h"

namespace korvanel {

// Opens the log: the name, then the name with ".log" appended (names of at
// most 59 characters), then asks for another name until one opens. `name`
// becomes the name actually opened. Quitting at the prompt throws QuitRun.
std::FILE* open_log(std::string& name, const std::filesystem::path& dir, Console& console);

}  // namespace korvanel
