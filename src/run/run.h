#pragma once

#include <filesystem>
#include <vector>

#include "console/console.h"

namespace korvanel {

// One whole run without arguments in the working directory `dir`: read the
// log, write one analysis page per part and the chat transcript, then wait
// for a key. Returns the exit status: 0 for a normal run or a quit at the
// prompt, 1 after a fatal error or when the console input ends at the prompt.
int run_korvanel(Console& console, const std::filesystem::path& dir);

// A run with the command line's arguments (the program name left out), in
// the working directory. Usage errors go to standard error with status 2;
// --help and --version print their text with status 0; otherwise the run
// goes as above, with the log, the pages' folder and the exit wait as the
// arguments say.
int run_command_line(Console& console, const std::vector<std::filesystem::path::string_type>& args);

// The same with `dir` standing for the working directory: a relative LOG
// or DIR is taken from there.
int run_command_line(Console& console, const std::vector<std::filesystem::path::string_type>& args,
                     const std::filesystem::path& dir);

}  // namespace korvanel
