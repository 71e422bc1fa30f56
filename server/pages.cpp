// The world table as plain HTML (no scripts, no outside resources) and the metrics text.
#include "pages.h"

#include <cstdio>
#include <ctime>

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string iso_date(std::int64_t ms) {
  const std::time_t t = static_cast<std::time_t>(ms / 1000);
  std::tm tm{};
  gmtime_r(&t, &tm);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
  return text;
}

namespace {

void rows(std::string& out, const std::vector<GameRow>& games, bool play_served) {
  if (games.empty()) {
    out += "<p>No games yet.</p>\n";
    return;
  }
  out += "<table>\n<tr><th>#</th><th>Name</th><th>Score</th><th>Length</th><th>Date</th><th>Game</th></tr>\n";
  int place = 0;
  for (const GameRow& g : games) {
    const std::string id = std::to_string(g.id);
    char length[32];
    std::snprintf(length, sizeof length, "%d:%02d", static_cast<int>(g.seconds) / 60, static_cast<int>(g.seconds) % 60);
    out += "<tr><td>" + std::to_string(++place) + "</td><td>" + html_escape(g.name) + "</td><td>" +
           std::to_string(g.score) + "</td><td>" + length + "</td><td>" + iso_date(g.received_ms) + "</td><td>";
    // Watching opens the browser build served beside the table with this game's recording.
    if (play_served) out += "<a href=\"/play/?watch=" + id + "\">watch</a> ";
    out += "<a href=\"/api/v1/games/" + id + "/recording\">recording</a></td></tr>\n";
  }
  out += "</table>\n";
}

}  // namespace

std::string table_page(const std::vector<GameRow>& ranked, const std::vector<GameRow>& unranked, bool play_served) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Torvane: the world table</title>\n<style>\n"
      "body{background:#000;color:#e7e7e7;font-family:monospace;margin:2em auto;max-width:48em}\n"
      "h1,h2{color:#9191ff}table{border-collapse:collapse;width:100%}\n"
      "td,th{padding:.2em .6em;text-align:left}tr:nth-child(even){background:#111}a{color:#c0c0ff}\n"
      "</style>\n</head>\n<body>\n<h1>Torvane: the world table</h1>\n"
      "<p>Every score here was replayed by this server from the game's own recording.";
  // The browser build is served beside the table: each game can be watched in it.
  if (play_served) out += " Watch any of them, or play, in <a href=\"/play/\">the game in the browser</a>.";
  out += "</p>\n<h2>Ranked</h2>\n";
  rows(out, ranked, play_served);
  out += "<h2>Unranked</h2>\n<p>Games sent without a ticket: verified, but not played against the server's "
         "clock.</p>\n";
  rows(out, unranked, play_served);
  out += "</body>\n</html>\n";
  return out;
}

std::string metrics_text(const Counts& c) {
  char sum[64], cpu[64];
  std::snprintf(sum, sizeof sum, "%.3f", c.verify_seconds_sum);
  std::snprintf(cpu, sizeof cpu, "%.3f", c.verify_cpu_seconds_sum);
  std::string out;
  out += "# HELP torvane_queue_length Games waiting for verification.\n# TYPE torvane_queue_length gauge\n";
  out += "torvane_queue_length " + std::to_string(c.queued) + "\n";
  out += "# HELP torvane_verifications_running Games being replayed now.\n# TYPE torvane_verifications_running gauge\n";
  out += "torvane_verifications_running " + std::to_string(c.running) + "\n";
  out += "# HELP torvane_games Games by their verification's outcome.\n# TYPE torvane_games counter\n";
  out += "torvane_games{status=\"verified\"} " + std::to_string(c.verified) + "\n";
  out += "torvane_games{status=\"rejected\"} " + std::to_string(c.rejected) + "\n";
  out += "# HELP torvane_verification_seconds Wall time spent replaying games.\n"
         "# TYPE torvane_verification_seconds summary\n";
  out += "torvane_verification_seconds_sum " + std::string(sum) + "\n";
  out += "torvane_verification_seconds_count " + std::to_string(c.verified + c.rejected) + "\n";
  out += "# HELP torvane_verification_cpu_seconds_total CPU time the verifiers spent replaying games.\n"
         "# TYPE torvane_verification_cpu_seconds_total counter\n";
  out += "torvane_verification_cpu_seconds_total " + std::string(cpu) + "\n";
  return out;
}
