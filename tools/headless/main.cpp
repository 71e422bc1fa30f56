// torvane-headless: the game on a virtual clock, driven by a script of keys.
#include "headless/runner.h"

int main(int argc, char** argv) { return run_headless(argc, argv); }
