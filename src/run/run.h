#pragma once

#include <filesystem>

#include "console/console.h"

namespace korvanel {

// One whole run in the working directory `dir`: read the log, write one
// analysis page per part and the chat transcript, then wait for a key.
// Returns the exit status: 0 for a normal run or a quit at the prompt, 1
// after a fatal error or when the console input ends at the prompt.
int run_korvanel(Console& console, const std::filesystem::path& dir);

}  // namespace korvanel
