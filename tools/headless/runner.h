#pragma once
// torvane-headless from command line to exit code.

// Parses the arguments and the script, then runs the game (or the asset dump) on the
// headless backend. Bad input: a message on stderr and 2, with nothing run.
int run_headless(int argc, char** argv);
