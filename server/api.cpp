// The API's routes. Every refusal is answered with a JSON {"error": ...} and a status that
// says which kind it is: 400 junk, 404 no such game, 409 a ticket that cannot be used, 413
// too large, 422 a recording this server never verifies, 429 too fast, 503 queue full.
#include "api.h"

#include <openssl/sha.h>

#include <cstdio>
#include <random>

#include <nlohmann/json.hpp>

#include "names.h"
#include "pages.h"
#include "recording_checks.h"
#include "workers.h"

namespace {

using nlohmann::json;

void reply(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump() + "\n", "application/json");
}

void refuse(httplib::Response& res, int status, const std::string& why) { reply(res, status, {{"error", why}}); }

std::string sha256_hex(const std::string& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  std::string hex;
  char two[3];
  for (unsigned char b : digest) {
    std::snprintf(two, sizeof two, "%02x", b);
    hex += two;
  }
  return hex;
}

std::string iso_time(std::int64_t ms) {
  const std::time_t t = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

json game_json(const GameRow& g) {
  json out = {{"id", g.id}, {"status", g.status}};
  if (g.status == "verified") {
    out["score"] = g.score;
    out["name"] = g.name;
    out["date"] = iso_time(g.received_ms);
    out["seconds"] = g.seconds;
    out["ranked"] = g.ranked;
  } else if (g.status == "rejected") {
    out["reason"] = g.reason;
  }
  return out;
}

bool rate_ok(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
  int retry = 0;
  if (c.rate.take(req.remote_addr, retry)) return true;
  res.set_header("Retry-After", std::to_string(retry));
  refuse(res, 429, "too many requests from this address");
  return false;
}

bool is_hex(const std::string& s, std::size_t length) {
  if (s.size() != length) return false;
  for (char ch : s)
    if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'))) return false;
  return true;
}

// The first day of this month (UTC) in Unix milliseconds.
std::int64_t month_start_ms(std::int64_t now) {
  std::time_t t = static_cast<std::time_t>(now / 1000);
  std::tm tm{};
  gmtime_r(&t, &tm);
  tm.tm_mday = 1;
  tm.tm_hour = tm.tm_min = tm.tm_sec = 0;
  return static_cast<std::int64_t>(timegm(&tm)) * 1000;
}

bool whole_param(const httplib::Request& req, const char* name, long low, long high, long& out) {
  if (!req.has_param(name)) return true;
  const std::string text = req.get_param_value(name);
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stol(text);
  return out >= low && out <= high;
}

void post_game(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
  if (!rate_ok(c, req, res)) return;
  if (req.body.size() > c.options.body_limit) return refuse(res, 413, "a recording is at most 512 KB");
  const std::string name = req.get_param_value("name");
  if (req.has_param("name") && !valid_player_name(name))
    return refuse(res, 400, "a name is 1 to 16 letters and digits");
  const std::string ticket = req.get_param_value("ticket");
  if (req.has_param("ticket") && !is_hex(ticket, 32)) return refuse(res, 400, "not a ticket");

  // What can never be verified is refused at the door, before it takes a place in the queue.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(req.body.data());
  const ReplayParse parse = parse_replay(std::span<const std::uint8_t>(bytes, req.body.size()));
  if (!parse.error.empty()) return refuse(res, 400, "not a recording: " + parse.error);
  if (std::string problem = recording_problem(parse.data); !problem.empty()) return refuse(res, 422, problem);
  if (parse.data.runner_made && !c.options.accept_runner_recordings)
    return refuse(res, 422, "made by the headless runner, not played");

  Submission s;
  s.hash = sha256_hex(req.body);
  s.bytes = req.body;
  s.sent_name = name;
  s.ticket = ticket;
  s.client = req.remote_addr;
  s.now_ms = now_ms();
  if (c.store.queue_length() >= c.options.max_queue) {
    res.set_header("Retry-After", "30");
    return refuse(res, 503, "the verification queue is full");
  }
  const SubmitResult r = c.store.submit(s, std::int64_t{c.options.ticket_hours} * 3600 * 1000);
  if (!r.ticket_error.empty()) return refuse(res, 409, r.ticket_error);
  if (!r.existing) c.queued();
  reply(res, r.existing ? 200 : 202, {{"id", r.id}, {"status", r.status}});
}

void get_table(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
  long limit = 20, offset = 0;
  if (!whole_param(req, "limit", 1, 100, limit) || !whole_param(req, "offset", 0, 1000000, offset))
    return refuse(res, 400, "limit is 1 to 100, offset 0 to 1000000");
  const std::string period = req.has_param("period") ? req.get_param_value("period") : "all";
  if (period != "all" && period != "month") return refuse(res, 400, "period is all or month");
  const std::string ranked_text = req.has_param("ranked") ? req.get_param_value("ranked") : "yes";
  if (ranked_text != "yes" && ranked_text != "no") return refuse(res, 400, "ranked is yes or no");
  const std::int64_t since = period == "month" ? month_start_ms(now_ms()) : 0;
  json entries = json::array();
  long rank = offset;
  for (const GameRow& g : c.store.table(ranked_text == "yes", since, static_cast<int>(limit), static_cast<int>(offset))) {
    json e = game_json(g);
    e["rank"] = ++rank;
    entries.push_back(e);
  }
  reply(res, 200, {{"period", period}, {"ranked", ranked_text == "yes"}, {"entries", entries}});
}

void post_ticket(ApiContext& c, const httplib::Request& req, httplib::Response& res) {
  if (!rate_ok(c, req, res)) return;
  std::random_device random;
  std::string id;
  char two[3];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(two, sizeof two, "%02x", static_cast<unsigned>(random() & 0xFF));
    id += two;
  }
  // Whole seconds: the game's clock and seed start exactly there.
  const std::int64_t origin = 1 + static_cast<std::int64_t>(random() % 999999999u);
  const Ticket t = c.store.issue_ticket(id, origin, now_ms());
  reply(res, 201, {{"ticket", t.id}, {"origin", t.origin}, {"expires", iso_time(t.issued_ms + std::int64_t{c.options.ticket_hours} * 3600000)}});
}

}  // namespace

void install_routes(httplib::Server& server, ApiContext& c) {
  server.Post("/api/v1/games", [&c](const httplib::Request& req, httplib::Response& res) { post_game(c, req, res); });
  server.Get(R"(/api/v1/games/(\d{1,18}))", [&c](const httplib::Request& req, httplib::Response& res) {
    const std::optional<GameRow> g = c.store.game(std::stoll(req.matches[1]));
    if (!g) return refuse(res, 404, "no such game");
    reply(res, 200, game_json(*g));
  });
  server.Get(R"(/api/v1/games/(\d{1,18})/recording)", [&c](const httplib::Request& req, httplib::Response& res) {
    const std::string id = req.matches[1];
    const std::optional<std::string> bytes = c.store.recording(std::stoll(id));
    if (!bytes) return refuse(res, 404, "no such game");
    res.set_header("Content-Disposition", "attachment; filename=\"torvane-" + id + ".tvr\"");
    res.set_content(*bytes, "application/octet-stream");
  });
  server.Get("/api/v1/table", [&c](const httplib::Request& req, httplib::Response& res) { get_table(c, req, res); });
  server.Post("/api/v1/tickets", [&c](const httplib::Request& req, httplib::Response& res) { post_ticket(c, req, res); });
  server.Get("/healthz", [&c](const httplib::Request&, httplib::Response& res) {
    c.store.queue_length();  // the database answers
    res.set_content("ok\n", "text/plain");
  });
  server.Get("/metrics", [&c](const httplib::Request&, httplib::Response& res) {
    res.set_content(metrics_text(c.store.counts()), "text/plain; version=0.0.4");
  });
  server.Get("/", [&c](const httplib::Request&, httplib::Response& res) {
    res.set_content(table_page(c.store.table(true, 0, 100, 0), c.store.table(false, 0, 100, 0), !c.options.web.empty()),
                    "text/html; charset=utf-8");
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr e) {
    std::string what = "internal error";
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      std::fprintf(stderr, "torvane-scores: %s\n", ex.what());
    } catch (...) {
    }
    refuse(res, 500, what);
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) {
      // The HTTP library also refuses a form body over 8 KB: a recording sent as a form.
      if (res.status == 413) refuse(res, 413, "a recording is at most 512 KB, sent as application/octet-stream");
      else if (res.status == 404) refuse(res, 404, "no such page");
    }
  });
}
