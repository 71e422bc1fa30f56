// Ignoring SIGXFSZ, so a file-size limit fails a write instead of killing the game.
#include "system/file_size_signal.h"

#include <csignal>

void ignore_file_size_signal() { std::signal(SIGXFSZ, SIG_IGN); }
