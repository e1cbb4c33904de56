// Finding and opening the log to read.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "console/console.h"
#include "system/file_state.h"

namespace korvanel {

// The log being read: its file and what the system said of it when it
// opened, its path, its name as the pages show it, the folder it lies in,
// and its file name without folders as the program's texts show it.
struct OpenedLog {
    std::FILE* file = nullptr;
    std::optional<FileState> state;
    std::filesystem::path path;
    std::string shown;
    std::filesystem::path folder;
    std::string shown_file_name;
};

// Opens the log in `dir`: "chat.log", then the name with ".log" appended
// (names of at most 59 characters), then asks for another name until one
// opens. Quitting at the prompt throws QuitRun.
OpenedLog open_log(const std::filesystem::path& dir, Console& console);

// Opens the log named on the command line (`given`, relative to `dir`
// unless absolute): a regular file that opens, or a fatal error. The pages
// show its file name without folders, cut to 63 bytes.
OpenedLog open_given_log(const std::filesystem::path& dir, const std::filesystem::path::string_type& given);

}  // namespace korvanel
