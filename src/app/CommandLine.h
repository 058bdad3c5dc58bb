#pragma once

#include <optional>

// Runs the command named by the arguments over the engine list beside the program, every row checked, with
// no window: what a box would say goes to standard output, a failure also to standard error. Returns the exit
// code (0 all done, 1 something not done, 2 a usage error, with the usage and nothing written), or nothing
// when there are no arguments and the window is to start.
std::optional<int> RunCommandLine(int argc, char* argv[]);
