#pragma once
// torvane-scores' command line.
#include <cstdint>
#include <string>

struct ServerOptions {
  std::string db;                       // an SQLite file or a postgresql:// address
  std::string host = "127.0.0.1";
  int port = 8080;                      // 0: any free port (printed at start)
  int workers = 0;                      // 0: one per core
  std::string verifier;                 // "": beside this program, else ../lib/torvane-scores/
  std::string web;                      // the browser build's folder, served under /play/
  std::size_t body_limit = 512 * 1024;
  std::int64_t max_queue = 1000;
  double rate_per_minute = 30, rate_burst = 10;
  int cpu_seconds = 60;
  long max_frames = 60000;
  int lease_seconds = 30;
  int ticket_hours = 6;
  int read_timeout_seconds = 5;
  bool accept_runner_recordings = false;  // tests only
  bool runner_tickets_any_age = false;    // tests only: the runner's clock is virtual
  bool help = false;
};

struct OptionsParse {
  ServerOptions options;
  std::string error;
};

OptionsParse parse_server_options(int argc, const char* const* argv);
const char* server_usage();
