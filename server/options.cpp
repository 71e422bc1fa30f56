// Reading torvane-scores' options: every number is checked against its range.
#include "options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

bool number(std::string_view text, long low, long high, long& out) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high) return false;
  out = value;
  return true;
}

}  // namespace

const char* server_usage() {
  return "usage: torvane-scores --db FILE|postgresql://... [options]\n"
         "  --listen HOST:PORT        where to answer (default 127.0.0.1:8080; port 0: any free one)\n"
         "  --workers N               verification processes at once (default: one per core)\n"
         "  --verifier PATH           the torvane-verify program (default: beside this one, else\n"
         "                            ../lib/torvane-scores/ from this one's folder)\n"
         "  --web DIR                 serve the browser build from DIR under /play/\n"
         "  --max-queue N             games waiting before new ones get 503 (default 1000)\n"
         "  --rate N                  submissions and tickets a minute per address (default 30; 0: no limit)\n"
         "  --burst N                 of which at once (default 10)\n"
         "  --cpu-seconds N           CPU seconds a verification may take (default 60)\n"
         "  --max-frames N            pages a verified recording may show (default 60000)\n"
         "  --lease-seconds N         a job whose worker is silent this long is taken again (default 30)\n"
         "  --ticket-hours N          how long a ticket stays good (default 6)\n"
         "  --read-timeout N          seconds a client may keep the server waiting (default 5)\n"
         "  --accept-runner-recordings  tests only: verify recordings made by the headless runner\n"
         "  --runner-tickets-any-age    tests only: with the above, a runner's ranked game need not be\n"
         "                            younger than its ticket (the runner's clock is virtual)\n";
}

OptionsParse parse_server_options(int argc, const char* const* argv) {
  OptionsParse parse;
  ServerOptions& o = parse.options;
  auto fail = [&](const std::string& message) {
    parse.error = message;
    return parse;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      o.help = true;
      continue;
    }
    if (arg == "--accept-runner-recordings") {
      o.accept_runner_recordings = true;
      continue;
    }
    if (arg == "--runner-tickets-any-age") {
      o.runner_tickets_any_age = true;
      continue;
    }
    if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0) return fail(std::string(arg) + " needs a value");
    const std::string_view value = argv[++i];
    long n = 0;
    if (arg == "--db") {
      o.db = value;
    } else if (arg == "--listen") {
      const std::size_t colon = value.rfind(':');
      if (colon == std::string_view::npos || colon == 0 || !number(value.substr(colon + 1), 0, 65535, n))
        return fail("--listen wants HOST:PORT");
      o.host = value.substr(0, colon);
      o.port = static_cast<int>(n);
    } else if (arg == "--web") {
      o.web = value;
    } else if (arg == "--verifier") {
      o.verifier = value;
    } else {
      struct Range {
        const char* name;
        long low, high;
      };
      static constexpr Range kRanges[] = {
          {"--workers", 1, 256},           {"--max-queue", 1, 10000000}, {"--rate", 0, 1000000},
          {"--burst", 1, 1000000},         {"--cpu-seconds", 1, 3600},   {"--max-frames", 1, 10000000},
          {"--lease-seconds", 1, 86400},   {"--ticket-hours", 1, 24 * 30}, {"--read-timeout", 1, 600}};
      const Range* range = nullptr;
      for (const Range& r : kRanges)
        if (arg == r.name) range = &r;
      if (!range) return fail("unknown option " + std::string(arg));
      if (!number(value, range->low, range->high, n))
        return fail(std::string(arg) + " wants a whole number from " + std::to_string(range->low) + " to " +
                    std::to_string(range->high));
      if (arg == "--workers") o.workers = static_cast<int>(n);
      if (arg == "--max-queue") o.max_queue = n;
      if (arg == "--rate") o.rate_per_minute = static_cast<double>(n);
      if (arg == "--burst") o.rate_burst = static_cast<double>(n);
      if (arg == "--cpu-seconds") o.cpu_seconds = static_cast<int>(n);
      if (arg == "--max-frames") o.max_frames = n;
      if (arg == "--lease-seconds") o.lease_seconds = static_cast<int>(n);
      if (arg == "--ticket-hours") o.ticket_hours = static_cast<int>(n);
      if (arg == "--read-timeout") o.read_timeout_seconds = static_cast<int>(n);
    }
  }
  if (!o.help && o.db.empty()) return fail("--db is required");
  return parse;
}
