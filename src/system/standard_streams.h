// The standard streams at the program's start.
#pragma once

namespace korvanel {

// Makes sure standard input, output and error exist, each opened on the null
// device when the program was started without it, so that no file the
// program opens later takes its place (console text would go into a page,
// or the prompt would read from the log). Writing to a closed pipe then
// fails like any other write instead of ending the program.
void open_standard_streams();

}  // namespace korvanel
