#pragma once

#include <filesystem>
#include <vector>

#include "console/console.h"
#include "report/page_sink.h"
#include "run/log_reader.h"

namespace korvanel {

// What a run takes from the machine it runs on: how the log is read, and
// where the pages go (none: files in the pages' folder, put in place
// together once all are written).
struct RunEnvironment {
    ReaderOptions reader = ReaderOptions::for_this_machine();
    PageSink* pages = nullptr;
};

// A whole run with the command line's arguments (the program name left
// out), `dir` standing for the working directory (a relative LOG or DIR is
// taken from there). Usage errors go to standard error with status 2;
// --help and --version print their text with status 0; otherwise the run
// reads the log, writes one analysis page per part and the chat
// transcript, then waits for a key (unless --no-wait). Returns the exit
// status: 0 for a normal run or a quit at the prompt, 1 after a fatal error
// or when the console input ends at the prompt.
int run_command_line(Console& console, const std::vector<std::filesystem::path::string_type>& args,
                     const std::filesystem::path& dir = std::filesystem::path("."),
                     const RunEnvironment& environment = {});

}  // namespace korvanel
